#include "prefs/preferences.h"

#include "profile/ini.h"

namespace launcher {

namespace {

std::vector<std::string> ReadList(const IniKeyRule& list, std::string_view file) {
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(list.keys));
    for (int key = 1; key <= list.keys; ++key) {
        entries.push_back(ReadIni(list.section, std::to_string(key), file));
    }
    return entries;
}

}  // namespace

void LoadServerLists(Preferences& preferences, std::string_view file) {
    // Replaced rather than appended to: a second load must not grow the lists
    // past their fixed length.
    preferences.rwservers = ReadList(rules::kVoiceServers, file);
    preferences.rdvservers = ReadList(rules::kRadarServers, file);
}

void LoadPreferences(Preferences& preferences, std::string_view file) {
    for (const PreferenceRow& row : kPreferences) {
        preferences.*row.field = ReadIni(row.key.section, row.key.key, file);
    }
}

bool SavePreferences(const Preferences& preferences, std::string_view file) {
    bool saved = true;
    for (const PreferenceRow& row : kPreferences) {
        saved = WriteIni(row.key.section, row.key.key, preferences.*row.field, file) && saved;
    }
    return saved;
}

}  // namespace launcher
