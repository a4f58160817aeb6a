#include "prefs/preferences.h"

#include "profile/ini.h"

namespace launcher {

namespace {

std::vector<std::string> ReadList(std::string_view section, int count, std::string_view file) {
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int key = 1; key <= count; ++key) {
        entries.push_back(ReadIni(section, std::to_string(key), file));
    }
    return entries;
}

}  // namespace

void LoadServerLists(Preferences& preferences, std::string_view file) {
    // Replaced rather than appended to: a second load must not grow the lists
    // past their fixed length.
    preferences.rwservers = ReadList(kVoiceServersSection, kVoiceServerCount, file);
    preferences.rdvservers = ReadList(kRadarServersSection, kRadarServerCount, file);
}

void LoadPreferences(Preferences& preferences, std::string_view file) {
    for (const PreferenceKey& entry : kPreferenceKeys) {
        preferences.*entry.field = ReadIni(kPreferencesSection, entry.key, file);
    }
}

void SavePreferences(const Preferences& preferences, std::string_view file) {
    for (const PreferenceKey& entry : kPreferenceKeys) {
        WriteIni(kPreferencesSection, entry.key, preferences.*entry.field, file);
    }
}

}  // namespace launcher
