// The ATIS text that "Go" hands to the radar client: its lines, the INI
// lookups they need, and the file "atis" in the program folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "launch/clock.h"
#include "profile/paths.h"
#include "profile/program_files.h"

namespace launcher {

// The values "Go" works from, read from the windows when it is pressed. Every
// text is used as it stands: nothing is trimmed or checked.
struct LaunchDetails {
    std::string position;     // the selected position
    std::string runway;       // free text on the runway in use; may be empty
    std::string onlineUntil;  // free text on the time on line until; may be empty
    int autoAtis = 0;         // the auto-ATIS box: only 1 asks for the notice
    std::string dateStyle;    // "UK" or "USA" select a header; any other text none
    std::string voiceServer;
    std::string userName;
    std::string voiceFolder;    // holds roger.exe
    std::string radarFolder;    // holds rv.exe
    std::string programFolder;  // the launcher's own folder, without a trailing separator
    LocalTime now;

    bool operator==(const LaunchDetails&) const = default;
};

// The ATIS file's lines, three to six, without line ends: the header (empty
// unless the date style is exactly "UK" or "USA"), "Voice on ...", the runway
// text and "Online Until ..." when not empty, the user name with the website,
// and "AutoAtis is available on ..." when the flag is 1 and the text is not
// empty. Control characters (a pasted line break, a tab) become blanks, so
// each line stays one line. Reads no file.
std::vector<std::string> BuildAtisLines(const LaunchDetails& details,
                                        std::string_view voiceCallsign, std::string_view website,
                                        std::string_view autoAtisText);

// BuildAtisLines with its texts looked up in the program folder: the voice
// callsign in voice.ini (only for the "UK" header), the website in config.ini,
// and the auto-ATIS notice in autoatis.ini (only when the flag is 1).
std::vector<std::string> AtisLinesFor(const LaunchDetails& details);

// program folder + separator + "atis": the file the radar client reads.
inline std::string AtisFilePath(std::string_view programFolder) {
    return InFolder(programFolder, files::kAtis);
}

// The name of the ATIS file as the radar client in `radarFolder` opens it: on
// Windows AtisFilePath itself, its folder in short form where the ANSI code
// page cannot spell it (win32::PathForAnsiReader); elsewhere its Windows path
// when the radar client is a Windows program run by Wine (see
// wine::PathForClient).
std::string AtisFileNameForRadarClient(std::string_view programFolder,
                                       std::string_view radarFolder);

// Creates or replaces `path` (UTF-8) whole with `lines`, each followed by CR
// LF. On Windows the text is converted to the ANSI code page, characters it
// lacks becoming its default character; elsewhere it is written as it stands.
// The replacement is atomic, so the radar client never reads half a file.
// A failure's message names the file and gives the system's reason. Never
// throws: running out of memory is a failure too.
Outcome WriteAtisFile(std::string_view path, const std::vector<std::string>& lines) noexcept;

// What "Go" writes: AtisLinesFor(details) into AtisFilePath(program folder),
// as WriteAtisFile does; on a system other than Windows, when the radar client
// is a Windows program, in Windows-1252 as WideCharToMultiByte makes it.
Outcome WriteAtisFileFor(const LaunchDetails& details) noexcept;

}  // namespace launcher
