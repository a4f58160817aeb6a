#include "launch/radar_settings.h"

#include "launch/atis.h"
#include "profile/ini.h"
#include "profile/paths.h"
#include "profile/program_files.h"

namespace launcher {

std::string RadarSettingsFile(std::string_view windowsFolder) {
    return windowsFolder.empty() ? std::string() : InFolder(windowsFolder, files::kRadarSettings);
}

bool WriteRadarSettings(std::string_view windowsFolder, std::string_view position,
                        std::string_view frequency, std::string_view server) {
    const std::string file = RadarSettingsFile(windowsFolder);
    if (file.empty()) {
        return true;  // nothing configured, nothing to write
    }
    // The radar client is a Windows program: its file is Windows-1252.
    const auto write = [&](const IniKey& key, std::string_view value) {
        return WriteIni(key.section, key.key, value, file, IniText::kWindows1252);
    };
    const bool callsign = write(keys::kCallsign, position);
    const bool frequencyWritten = write(keys::kComFrequency, frequency);
    const bool serverWritten = write(keys::kServerAddress, server);
    return callsign && frequencyWritten && serverWritten;
}

bool WriteAtisFileName(std::string_view windowsFolder, std::string_view programFolder,
                       std::string_view radarFolder) {
    const std::string file = RadarSettingsFile(windowsFolder);
    return file.empty() || WriteIni(keys::kAtisFileName.section, keys::kAtisFileName.key,
                                    AtisFileNameForRadarClient(programFolder, radarFolder), file,
                                    IniText::kWindows1252);
}

}  // namespace launcher
