// The keys "Launch" hands to the radar client in its settings file rvsb.ini.
#pragma once

#include <string_view>

namespace launcher {

inline constexpr std::string_view kRadarSettingsFileName = "rvsb.ini";
inline constexpr std::string_view kRadarSettingsSection = "RV 2.0";

// Writes "CALLSIGN", "COM 1 FREQ" and "SERVER IP", in that order, into section
// "RV 2.0" of windowsFolder + separator + "rvsb.ini", creating the file or the
// section when missing and leaving every other key alone. Nothing is checked:
// an empty folder names "rvsb.ini" in the root. Failed writes are ignored.
void WriteRadarSettings(std::string_view windowsFolder, std::string_view position,
                        std::string_view frequency, std::string_view server);

}  // namespace launcher
