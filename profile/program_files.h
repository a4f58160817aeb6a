// The files of a program folder and of the radar client that the launcher
// reads or writes, and their sections, each spelt once. Section and key names
// match without regard to case; where the launcher writes a name that is not
// there yet, the spelling here is the one the file gets.
#pragma once

#include <string_view>

namespace launcher {

namespace files {
inline constexpr std::string_view kConfig = "config.ini";
inline constexpr std::string_view kFrequencies = "freq.ini";
inline constexpr std::string_view kVoiceCallsigns = "voice.ini";
inline constexpr std::string_view kAutoAtis = "autoatis.ini";
inline constexpr std::string_view kFinalSetupDefaults = "var.ini";
inline constexpr std::string_view kSettings = "settings.ini";
inline constexpr std::string_view kAtis = "atis";
inline constexpr std::string_view kRadarSettings = "rvsb.ini";  // in the Windows folder
}  // namespace files

namespace sections {
inline constexpr std::string_view kGeneral = "GENERAL";  // config.ini: title, website, pictures
inline constexpr std::string_view kGroupNames = "combo names";  // config.ini
inline constexpr std::string_view kFrequencies = "FREQ";        // freq.ini
inline constexpr std::string_view kVoiceCallsigns = "voice";    // voice.ini
inline constexpr std::string_view kAutoAtis = "AUTOATIS";       // autoatis.ini
inline constexpr std::string_view kMain = "MAIN";               // var.ini and settings.ini
// settings.ini: the Final Setup answers are written under this spelling.
inline constexpr std::string_view kFinalSetupAnswers = "main";
inline constexpr std::string_view kVoiceServers = "rwservers";   // settings.ini
inline constexpr std::string_view kRadarServers = "rdvservers";  // settings.ini
inline constexpr std::string_view kRadarClient = "RV 2.0";       // rvsb.ini
}  // namespace sections

}  // namespace launcher
