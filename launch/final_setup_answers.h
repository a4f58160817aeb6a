// The three answers of the "Final Setup" dialog that "Go" saves in
// settings.ini and the next start offers again.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "profile/program_files.h"

namespace launcher {

struct FinalSetupAnswers {
    std::string runway;       // the runway text
    std::string onlineUntil;  // the online-until text
    std::string autoAtis;     // the auto-ATIS box as decimal text, "0" or "1"

    bool operator==(const FinalSetupAnswers&) const = default;
};

// One answer: its key in settings.ini, as "Go" writes it, and its field.
struct FinalSetupKey {
    IniKey key;
    std::string FinalSetupAnswers::*field;
};

// Saving and loading both walk this table, in the order "Go" writes.
inline constexpr std::array<FinalSetupKey, 3> kFinalSetupKeys{{
    {keys::kRunwayAnswer, &FinalSetupAnswers::runway},
    {keys::kOnlineUntilAnswer, &FinalSetupAnswers::onlineUntil},
    {keys::kAutoAtisAnswer, &FinalSetupAnswers::autoAtis},
}};

// The answers saved in `settingsFile`. One never saved (its key absent, as on
// a first run) keeps its value in `defaults`, the facility's default that the
// dialog's load put there; one saved empty is empty.
FinalSetupAnswers LoadFinalSetupAnswers(std::string_view settingsFile,
                                        const FinalSetupAnswers& defaults = {});

// Writes the three answers, changed or not, in table order. False when any
// write failed; the others are still made.
[[nodiscard]] bool SaveFinalSetupAnswers(const FinalSetupAnswers& answers,
                                         std::string_view settingsFile);

// A saved auto-ATIS answer as the box: only exactly "1" ticks it. "0", the
// empty text of a first run (before "Go" ever saved the answer), any other
// number and any other text leave it clear, so the automatic-ATIS notice is
// only ever announced when once asked for.
bool AutoAtisTicked(std::string_view saved);

}  // namespace launcher
