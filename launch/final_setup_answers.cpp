#include "launch/final_setup_answers.h"

#include <algorithm>
#include <vector>

#include "profile/ini.h"
#include "profile/ini_line.h"

namespace launcher {

FinalSetupAnswers LoadFinalSetupAnswers(std::string_view settingsFile,
                                        const FinalSetupAnswers& defaults) {
    // A value alone cannot tell an absent key from an empty one; the list of
    // keys can.
    const std::vector<std::string> saved =
        ReadIniKeys(kFinalSetupKeys.front().key.section, settingsFile);
    FinalSetupAnswers answers = defaults;
    for (const auto& [key, field] : kFinalSetupKeys) {
        const bool present =
            std::any_of(saved.begin(), saved.end(), [wanted = key.key](const std::string& name) {
                return ini::NamesMatch(ini::TrimArgument(name), wanted);
            });
        if (present) {
            answers.*field = ReadIni(key.section, key.key, settingsFile);
        }
    }
    return answers;
}

bool SaveFinalSetupAnswers(const FinalSetupAnswers& answers, std::string_view settingsFile) {
    bool saved = true;
    for (const auto& [key, field] : kFinalSetupKeys) {
        saved = WriteIni(key.section, key.key, answers.*field, settingsFile) && saved;
    }
    return saved;
}

bool AutoAtisTicked(std::string_view saved) {
    return saved == "1";
}

}  // namespace launcher
