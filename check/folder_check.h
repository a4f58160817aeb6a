// The check of a program folder for the people who prepare its INI files: it
// reads the folder as the launcher reads it and finds what a controller would
// otherwise only find on line, or never.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace launcher::check {

enum class Severity {
    kError,    // the launcher would hand on something wrong, or show nothing
    kWarning,  // something is lost, cut or left unused
    kNote,     // nothing wrong, but maybe not what was meant
};

struct Finding {
    std::string file;  // the file's name in the folder
    int line = 0;      // 0: the file as a whole
    Severity severity = Severity::kWarning;
    std::string message;

    bool operator==(const Finding&) const = default;
};

// Every finding about the INI files of `folder` (UTF-8), file by file in the
// order config.ini, freq.ini, voice.ini, autoatis.ini, var.ini, settings.ini,
// then by line. Relative paths in the files are taken from `folder`, where the
// launcher normally starts. Reads only: no file is ever written, and nothing
// but a regular file is opened, so a FIFO in the folder cannot hold it up.
std::vector<Finding> CheckProgramFolder(std::string_view folder);

// A frequency as the radar client expects it: NNN.NNN, a channel name of the
// civil airband from 118.000 to 136.990 (25 kHz channels and 8.33 kHz ones).
bool IsAirbandChannel(std::string_view frequency);

// A path that starts with two separators, "\\host\share" or "//host/share":
// on Windows a network share (or a device), reached with the controller's
// network credentials.
bool IsNetworkPath(std::string_view path);

// Whether the program a WINE setting names is called "wine..." ("wine64",
// "/opt/wine-staging/bin/wine"), as the launcher demands on Linux: no
// shell's or interpreter's name is.
bool NamesWine(std::string_view program);

}  // namespace launcher::check
