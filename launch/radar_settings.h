// What the launcher hands to the radar client in its settings file rvsb.ini:
// the ATIS file's name at every start, the position, its frequency and the
// server at every Launch. No other key of the file is touched.
#pragma once

#include <string>
#include <string_view>

namespace launcher {

// windowsFolder + separator + "rvsb.ini", or "" for an empty folder. An empty
// Windows folder (nothing configured) would name "rvsb.ini" in the root of the
// current drive, or "/" elsewhere: a file outside every configured folder,
// which no radar client reads. Every writer of rvsb.ini skips it instead.
std::string RadarSettingsFile(std::string_view windowsFolder);

// Writes "CALLSIGN", "COM 1 FREQ" and "SERVER IP", in that order, into section
// "RV 2.0" of RadarSettingsFile(windowsFolder), creating the file or the
// section when missing and leaving every other key alone, in Windows-1252
// (IniText::kWindows1252) as the radar client reads it. With an empty Windows
// folder nothing is written. False when any write failed; the others are
// still made.
[[nodiscard]] bool WriteRadarSettings(std::string_view windowsFolder, std::string_view position,
                                      std::string_view frequency, std::string_view server);

// Writes "ATIS FILENAME" = programFolder + separator + "atis", named as the
// radar client in `radarFolder` opens it (its Windows path when it is a
// Windows program run by Wine), into section "RV 2.0" of the Windows folder's
// rvsb.ini, in Windows-1252. With an empty Windows folder nothing is written
// (see RadarSettingsFile). False when the write failed.
[[nodiscard]] bool WriteAtisFileName(std::string_view windowsFolder, std::string_view programFolder,
                                     std::string_view radarFolder);

}  // namespace launcher
