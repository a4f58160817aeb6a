// The "Final Setup" dialog's controls as designed.
#pragma once

#include <string_view>

#include "form/form_table.h"

namespace launcher {

// The controls the Final Setup dialog's presenter reaches, by their names.
namespace form2 {
inline constexpr std::string_view kRunway = "rwy";
inline constexpr std::string_view kOnlineUntil = "addinfo";
inline constexpr std::string_view kAutoAtis = "Check1";
inline constexpr std::string_view kGo = "Command1";
}  // namespace form2

const FormTable& Form2Table();

}  // namespace launcher
