#include "prefs/preferences.h"

#include "profile/ini.h"
#include "profile/program_files.h"

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
    preferences.rwservers = ReadList(sections::kVoiceServers, kVoiceServerCount, file);
    preferences.rdvservers = ReadList(sections::kRadarServers, kRadarServerCount, file);
}

void LoadPreferences(Preferences& preferences, std::string_view file) {
    for (const PreferenceKey& entry : kPreferenceKeys) {
        preferences.*entry.field = ReadIni(sections::kMain, entry.key, file);
    }
}

void SavePreferences(const Preferences& preferences, std::string_view file) {
    for (const PreferenceKey& entry : kPreferenceKeys) {
        WriteIni(sections::kMain, entry.key, preferences.*entry.field, file);
    }
}

}  // namespace launcher
