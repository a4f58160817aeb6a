// The "Preferences" dialog and the two folder browse dialogs as designed.
#pragma once

#include <string_view>

#include "form/form_table.h"

namespace launcher {

// The controls the Preferences dialog's presenter reaches, by their names.
namespace form4 {
inline constexpr std::string_view kVoiceServer = "rwip";
inline constexpr std::string_view kRadarServer = "serverip";
inline constexpr std::string_view kName = "userName";
inline constexpr std::string_view kRadarFolder = "rdvdir";
inline constexpr std::string_view kVoiceFolder = "rwdir";
inline constexpr std::string_view kWindowsFolder = "windowsdir";
inline constexpr std::string_view kDateStyle = "datebox";
inline constexpr std::string_view kOk = "Command1";
inline constexpr std::string_view kCancel = "Command2";
inline constexpr std::string_view kBrowseRadar = "Command3";
inline constexpr std::string_view kBrowseVoice = "Command4";
}  // namespace form4

// Those of either folder browse dialog.
namespace browse {
inline constexpr std::string_view kPrompt = "Label1";
inline constexpr std::string_view kDrives = "Drive1";
inline constexpr std::string_view kFolders = "Dir1";
inline constexpr std::string_view kOk = "Command1";
inline constexpr std::string_view kCancel = "Command2";
inline constexpr std::string_view kDrivePoll = "Timer1";
}  // namespace browse

const FormTable& Form4Table();
const FormTable& Form5Table();  // the radar client's folder
const FormTable& Form6Table();  // the voice client's folder

}  // namespace launcher
