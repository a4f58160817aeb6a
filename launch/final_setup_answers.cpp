#include "launch/final_setup_answers.h"

#include <algorithm>
#include <vector>

#include "profile/ini.h"
#include "profile/ini_text.h"
#include "profile/program_files.h"

namespace launcher {

FinalSetupAnswers LoadFinalSetupAnswers(std::string_view settingsFile,
                                        const FinalSetupAnswers& defaults) {
    // A value alone cannot tell an absent key from an empty one; the list of
    // keys can.
    const std::vector<std::string> saved = ReadIniKeys(sections::kFinalSetupAnswers, settingsFile);
    FinalSetupAnswers answers = defaults;
    for (const auto& [key, field] : kFinalSetupKeys) {
        const bool present =
            std::any_of(saved.begin(), saved.end(), [wanted = key](const std::string& name) {
                return ini::NamesMatch(ini::TrimArgument(name), wanted);
            });
        if (present) {
            answers.*field = ReadIni(sections::kFinalSetupAnswers, key, settingsFile);
        }
    }
    return answers;
}

void SaveFinalSetupAnswers(const FinalSetupAnswers& answers, std::string_view settingsFile) {
    for (const auto& [key, field] : kFinalSetupKeys) {
        WriteIni(sections::kFinalSetupAnswers, key, answers.*field, settingsFile);
    }
}

bool AutoAtisTicked(std::string_view saved) {
    return saved == "1";
}

}  // namespace launcher
