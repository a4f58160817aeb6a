#include "launch/radar_settings.h"

#include "profile/ini.h"
#include "profile/paths.h"

namespace launcher {

std::string RadarSettingsFile(std::string_view windowsFolder) {
    return windowsFolder.empty() ? std::string() : InFolder(windowsFolder, kRadarSettingsFileName);
}

void WriteRadarSettings(std::string_view windowsFolder, std::string_view position,
                        std::string_view frequency, std::string_view server) {
    const std::string file = RadarSettingsFile(windowsFolder);
    if (file.empty()) {
        return;
    }
    // The radar client is a Windows program: its file is Windows-1252.
    WriteIni(kRadarSettingsSection, "CALLSIGN", position, file, IniText::kWindows1252);
    WriteIni(kRadarSettingsSection, "COM 1 FREQ", frequency, file, IniText::kWindows1252);
    WriteIni(kRadarSettingsSection, "SERVER IP", server, file, IniText::kWindows1252);
}

}  // namespace launcher
