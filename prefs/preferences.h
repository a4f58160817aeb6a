// The user's preferences: one record for the whole run, stored in section
// "MAIN" of settings.ini, and the server lists that settings.ini offers for the
// two address fields.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "prefs/form_tables.h"
#include "profile/program_files.h"

namespace launcher {

inline constexpr int kVoiceServerCount = rules::kVoiceServers.keys;
inline constexpr int kRadarServerCount = rules::kRadarServers.keys;

// The voice server offered before any settings are loaded.
inline constexpr std::string_view kDefaultVoiceServer = "voice.example.net";

// Every field is text used as it stands: nothing is trimmed or checked. The
// initial values are what the Preferences dialog shows when it is created.
struct Preferences {
    std::string rwip{kDefaultVoiceServer};  // voice server address
    std::string serverip;                   // radar network server address
    std::string userName;
    std::string rdvdir;         // folder of the radar client
    std::string rwdir;          // folder of the voice client
    std::string windowsdir;     // folder of the radar client's rvsb.ini
    std::string datebox{"UK"};  // "UK" or "USA" select a date style; any other text none

    std::vector<std::string> rwservers;   // kVoiceServerCount entries once loaded
    std::vector<std::string> rdvservers;  // kRadarServerCount entries once loaded

    friend bool operator==(const Preferences&, const Preferences&) = default;
};

// One preference: its key, its field, the Preferences window's control that
// shows it, and the caption that window gives it, which messages quote.
struct PreferenceRow {
    IniKey key;
    std::string Preferences::*field;
    std::string_view control;
    std::string_view caption;
};

// Load, save, the window and the folder check all walk this table, so a
// field, its key, its control, its caption and its place in the file's order
// are stated once.
inline constexpr std::array<PreferenceRow, 7> kPreferences{{
    {keys::kWindowsFolder, &Preferences::windowsdir, form4::kWindowsFolder, "WIN Directory"},
    {keys::kVoiceServer, &Preferences::rwip, form4::kVoiceServer, "RW IP"},
    {keys::kRadarServer, &Preferences::serverip, form4::kRadarServer, "Server IP"},
    {keys::kUserName, &Preferences::userName, form4::kName, "Name"},
    {keys::kVoiceFolder, &Preferences::rwdir, form4::kVoiceFolder, "RW Directory"},
    {keys::kRadarFolder, &Preferences::rdvdir, form4::kRadarFolder, "Rdv Directory"},
    {keys::kDateStyle, &Preferences::datebox, form4::kDateStyle, "Date Format"},
}};

// The row of `field`; every string field but the server lists has one.
constexpr const PreferenceRow& PreferenceOf(std::string Preferences::*field) {
    for (const PreferenceRow& row : kPreferences) {
        if (row.field == field) {
            return row;
        }
    }
    return kPreferences.front();  // not reached for a field of the table
}

// Replaces both server lists with keys "1".."8" of section "rwservers" and
// "1".."10" of section "rdvservers" of `file`; absent or empty keys give empty
// entries, so the lists always hold 8 and 10 entries.
void LoadServerLists(Preferences& preferences, std::string_view file);

// Sets every field to its value in section "MAIN" of `file`, empty when absent.
void LoadPreferences(Preferences& preferences, std::string_view file);

// Writes all seven fields into section "MAIN" of `file`, changed or not, empty
// or not. False when any write failed; the others are still made.
[[nodiscard]] bool SavePreferences(const Preferences& preferences, std::string_view file);

}  // namespace launcher
