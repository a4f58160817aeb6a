// The user's preferences: one record for the whole run, stored in section
// "MAIN" of settings.ini, and the server lists that settings.ini offers for the
// two address fields.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

inline constexpr int kVoiceServerCount = 8;
inline constexpr int kRadarServerCount = 10;

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

// One stored field: its key in section "MAIN" and where it lives in the record.
struct PreferenceKey {
    std::string_view key;
    std::string Preferences::*field;
};

// Load and save both walk this table, so a field, its key and its place in the
// file's order are stated once.
inline constexpr std::array<PreferenceKey, 7> kPreferenceKeys{{
    {"WINDIR", &Preferences::windowsdir},
    {"RWIP", &Preferences::rwip},
    {"RDVIP", &Preferences::serverip},
    {"NAME", &Preferences::userName},
    {"RWDIR", &Preferences::rwdir},
    {"RDVDIR", &Preferences::rdvdir},
    {"DATE", &Preferences::datebox},
}};

// Replaces both server lists with keys "1".."8" of section "rwservers" and
// "1".."10" of section "rdvservers" of `file`; absent or empty keys give empty
// entries, so the lists always hold 8 and 10 entries.
void LoadServerLists(Preferences& preferences, std::string_view file);

// Sets every field to its value in section "MAIN" of `file`, empty when absent.
void LoadPreferences(Preferences& preferences, std::string_view file);

// Writes all seven fields into section "MAIN" of `file`, changed or not, empty
// or not. A failed write is ignored.
void SavePreferences(const Preferences& preferences, std::string_view file);

}  // namespace launcher
