// The main window's controls as designed, before its load handler runs.
#pragma once

#include <string>
#include <string_view>

#include "form/form_table.h"

namespace launcher {

inline constexpr int kForm1TimerMs = 100;

// The controls the main window's presenter reaches, by their names.
namespace form1 {
inline constexpr std::string_view kLaunch = "Command1";
inline constexpr std::string_view kExit = "Command2";
inline constexpr std::string_view kPreferences = "Command3";
inline constexpr std::string_view kSelected = "selected";  // the selected position
inline constexpr std::string_view kFrequency = "comfreq";  // its frequency
inline constexpr std::string_view kTitle = "accname";
inline constexpr std::string_view kWebsite = "wwwaddy";
inline constexpr std::string_view kBanner = "Image1";
inline constexpr std::string_view kCorner = "Image2";
inline constexpr std::string_view kPoll = "Timer1";
}  // namespace form1

// "Combo7" and "Frame7" for group 7, 1..30; made once, since the 100 ms poll
// asks for all thirty.
const std::string& ComboName(int group);
const std::string& FrameName(int group);
// The group whose list is named `combo` ("Combo7": 7), or 0.
int GroupOfCombo(std::string_view combo);

const FormTable& Form1Table();

}  // namespace launcher
