#include "launch/radar_settings.h"

#include "launch/atis.h"
#include "profile/ini.h"
#include "profile/paths.h"
#include "profile/program_files.h"

namespace launcher {

std::string RadarSettingsFile(std::string_view windowsFolder) {
    return windowsFolder.empty() ? std::string() : InFolder(windowsFolder, files::kRadarSettings);
}

void WriteRadarSettings(std::string_view windowsFolder, std::string_view position,
                        std::string_view frequency, std::string_view server) {
    const std::string file = RadarSettingsFile(windowsFolder);
    if (file.empty()) {
        return;
    }
    // The radar client is a Windows program: its file is Windows-1252.
    const auto write = [&](std::string_view key, std::string_view value) {
        WriteIni(sections::kRadarClient, key, value, file, IniText::kWindows1252);
    };
    write(radar_keys::kCallsign, position);
    write(radar_keys::kFrequency, frequency);
    write(radar_keys::kServer, server);
}

void WriteAtisFileName(std::string_view windowsFolder, std::string_view programFolder,
                       std::string_view radarFolder) {
    const std::string file = RadarSettingsFile(windowsFolder);
    if (!file.empty()) {
        WriteIni(sections::kRadarClient, radar_keys::kAtisFileName,
                 AtisFileNameForRadarClient(programFolder, radarFolder), file,
                 IniText::kWindows1252);
    }
}

}  // namespace launcher
