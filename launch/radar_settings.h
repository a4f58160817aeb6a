// The keys "Launch" hands to the radar client in its settings file rvsb.ini.
#pragma once

#include <string>
#include <string_view>

namespace launcher {

inline constexpr std::string_view kRadarSettingsFileName = "rvsb.ini";
inline constexpr std::string_view kRadarSettingsSection = "RV 2.0";

// windowsFolder + separator + "rvsb.ini", or "" for an empty folder. An empty
// Windows folder (nothing configured) would name "rvsb.ini" in the root of the
// current drive, or "/" elsewhere: a file outside every configured folder,
// which no radar client reads. Every writer of rvsb.ini skips it instead.
std::string RadarSettingsFile(std::string_view windowsFolder);

// Writes "CALLSIGN", "COM 1 FREQ" and "SERVER IP", in that order, into section
// "RV 2.0" of RadarSettingsFile(windowsFolder), creating the file or the
// section when missing and leaving every other key alone, in Windows-1252
// (IniText::kWindows1252) as the radar client reads it. With an empty Windows
// folder nothing is written. Failed writes are ignored.
void WriteRadarSettings(std::string_view windowsFolder, std::string_view position,
                        std::string_view frequency, std::string_view server);

}  // namespace launcher
