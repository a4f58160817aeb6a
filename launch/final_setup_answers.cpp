#include "launch/final_setup_answers.h"

#include "profile/ini.h"
#include "profile/program_files.h"

namespace launcher {

FinalSetupAnswers LoadFinalSetupAnswers(std::string_view settingsFile) {
    FinalSetupAnswers answers;
    for (const auto& [key, field] : kFinalSetupKeys) {
        answers.*field = ReadIni(sections::kFinalSetupAnswers, key, settingsFile);
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
