#include "launch/radar_settings.h"

#include "profile/ini.h"
#include "profile/paths.h"

namespace launcher {

void WriteRadarSettings(std::string_view windowsFolder, std::string_view position,
                        std::string_view frequency, std::string_view server) {
    WriteIni(kRadarSettingsSection, "CALLSIGN", position,
             InFolder(windowsFolder, kRadarSettingsFileName));
    WriteIni(kRadarSettingsSection, "COM 1 FREQ", frequency,
             InFolder(windowsFolder, kRadarSettingsFileName));
    WriteIni(kRadarSettingsSection, "SERVER IP", server,
             InFolder(windowsFolder, kRadarSettingsFileName));
}

}  // namespace launcher
