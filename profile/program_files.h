// Every file, section and key the launcher reads or writes, each spelt once:
// the files of a program folder and of the radar client, their sections, one
// row for each key the launcher names, and a rule for the keys it numbers or
// takes from a position. The folder check checks the files against these same
// rows. Section and key names match without regard to case; where the
// launcher writes a name that is not there yet, the spelling here is the one
// the file gets.
#pragma once

#include <string>
#include <string_view>

#include "profile/ini.h"
#include "profile/paths.h"

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
// config.ini: a group's positions lie in "<group number> items".
inline constexpr std::string_view kGroupItems = " items";
inline constexpr std::string_view kFrequencies = "FREQ";      // freq.ini
inline constexpr std::string_view kVoiceCallsigns = "voice";  // voice.ini
inline constexpr std::string_view kAutoAtis = "AUTOATIS";     // autoatis.ini
inline constexpr std::string_view kMain = "MAIN";             // var.ini and settings.ini
// settings.ini: the Final Setup answers are written under this spelling.
inline constexpr std::string_view kFinalSetupAnswers = "main";
inline constexpr std::string_view kVoiceServers = "rwservers";   // settings.ini
inline constexpr std::string_view kRadarServers = "rdvservers";  // settings.ini
inline constexpr std::string_view kRadarClient = "RV 2.0";       // rvsb.ini
}  // namespace sections

// One key of one section of one file.
struct IniKey {
    std::string_view file;
    std::string_view section;
    std::string_view key;
};

namespace keys {
// config.ini: the window's branding.
inline constexpr IniKey kLogoLeft{files::kConfig, sections::kGeneral, "LOGOLEFT"};
inline constexpr IniKey kLogo{files::kConfig, sections::kGeneral, "LOGO"};
inline constexpr IniKey kBack{files::kConfig, sections::kGeneral, "BACK"};
inline constexpr IniKey kTitle{files::kConfig, sections::kGeneral, "TITLE"};
inline constexpr IniKey kWebsite{files::kConfig, sections::kGeneral, "WEBSITE"};

// var.ini: the facility's Final Setup defaults.
inline constexpr IniKey kDefaultRunway{files::kFinalSetupDefaults, sections::kMain, "RWY"};
inline constexpr IniKey kDefaultOnlineUntil{files::kFinalSetupDefaults, sections::kMain, "ADDINFO"};

// settings.ini: the preferences, in the order they are written.
inline constexpr IniKey kWindowsFolder{files::kSettings, sections::kMain, "WINDIR"};
inline constexpr IniKey kVoiceServer{files::kSettings, sections::kMain, "RWIP"};
inline constexpr IniKey kRadarServer{files::kSettings, sections::kMain, "RDVIP"};
inline constexpr IniKey kUserName{files::kSettings, sections::kMain, "NAME"};
inline constexpr IniKey kVoiceFolder{files::kSettings, sections::kMain, "RWDIR"};
inline constexpr IniKey kRadarFolder{files::kSettings, sections::kMain, "RDVDIR"};
inline constexpr IniKey kDateStyle{files::kSettings, sections::kMain, "DATE"};
// settings.ini: the Wine that starts the Windows clients on Linux.
inline constexpr IniKey kWine{files::kSettings, sections::kMain, "WINE"};
// settings.ini: the last Final Setup answers, in the order Go writes them.
inline constexpr IniKey kRunwayAnswer{files::kSettings, sections::kFinalSetupAnswers, "rwy"};
inline constexpr IniKey kOnlineUntilAnswer{files::kSettings, sections::kFinalSetupAnswers,
                                           "additional"};
inline constexpr IniKey kAutoAtisAnswer{files::kSettings, sections::kFinalSetupAnswers, "autoatis"};

// rvsb.ini: what the radar client is handed.
inline constexpr IniKey kAtisFileName{files::kRadarSettings, sections::kRadarClient,
                                      "ATIS FILENAME"};
inline constexpr IniKey kCallsign{files::kRadarSettings, sections::kRadarClient, "CALLSIGN"};
inline constexpr IniKey kComFrequency{files::kRadarSettings, sections::kRadarClient, "COM 1 FREQ"};
inline constexpr IniKey kServerAddress{files::kRadarSettings, sections::kRadarClient, "SERVER IP"};

// Every row above, file by file.
// clang-format off
inline constexpr IniKey kAll[] = {
    kLogoLeft, kLogo, kBack, kTitle, kWebsite,
    kDefaultRunway, kDefaultOnlineUntil,
    kWindowsFolder, kVoiceServer, kRadarServer, kUserName, kVoiceFolder, kRadarFolder, kDateStyle,
    kWine, kRunwayAnswer, kOnlineUntilAnswer, kAutoAtisAnswer,
    kAtisFileName, kCallsign, kComFrequency, kServerAddress};
// clang-format on
}  // namespace keys

// Keys named by a rule rather than one by one: "1" to `keys`, or, with `keys`
// 0, any key, a position's text. With `sections` 0 they lie in `section`;
// else in each of the sections "1" + `section` to `sections` + `section`.
struct IniKeyRule {
    std::string_view file;
    std::string_view section;
    int keys = 0;
    int sections = 0;
};

namespace rules {
inline constexpr IniKeyRule kGroupNames{files::kConfig, sections::kGroupNames, 30};
inline constexpr IniKeyRule kGroupItems{files::kConfig, sections::kGroupItems, 15, 30};
inline constexpr IniKeyRule kFrequencies{files::kFrequencies, sections::kFrequencies};
inline constexpr IniKeyRule kVoiceCallsigns{files::kVoiceCallsigns, sections::kVoiceCallsigns};
inline constexpr IniKeyRule kAutoAtis{files::kAutoAtis, sections::kAutoAtis};
inline constexpr IniKeyRule kVoiceServers{files::kSettings, sections::kVoiceServers, 8};
inline constexpr IniKeyRule kRadarServers{files::kSettings, sections::kRadarServers, 10};

// Every rule above.
inline constexpr IniKeyRule kAll[] = {kGroupNames, kGroupItems,   kFrequencies, kVoiceCallsigns,
                                      kAutoAtis,   kVoiceServers, kRadarServers};
}  // namespace rules

// Section `number` of a rule with numbered sections: "3 items".
inline std::string NumberedSection(const IniKeyRule& rule, int number) {
    return std::to_string(number).append(rule.section);
}

// The value of `row` in its file in `folder`, as ReadIni reads it.
inline std::string ReadIni(const IniKey& row, std::string_view folder) {
    return ReadIni(row.section, row.key, InFolder(folder, row.file));
}

}  // namespace launcher
