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

// Whose reading of the files the check applies: most folders are made for
// Windows controllers, and are often prepared or checked elsewhere.
enum class Reading {
    kWindows,  // file names in any case, UTF-16 with its mark, Windows paths
    kLinux,    // the Linux launcher's: names with their case, UTF-8 or Windows-1252
};

struct Finding {
    std::string file;  // the file's name in the folder
    int line = 0;      // 0: the file as a whole
    Severity severity = Severity::kWarning;
    std::string message;

    bool operator==(const Finding&) const = default;
};

// Every finding about the INI files of `folder` (UTF-8): first those that
// explain others (which name them: "see freq.ini:1"), then the rest; each
// part file by file in the order config.ini, freq.ini, voice.ini,
// autoatis.ini, var.ini, settings.ini, atis, then by line. Relative paths in
// the files are taken from `folder`, where the launcher normally starts.
// Reads only: no file is ever written, each is read once, and nothing but a
// regular file is opened, so a FIFO in the folder cannot hold it up.
std::vector<Finding> CheckProgramFolder(std::string_view folder,
                                        Reading reading = Reading::kWindows);

// A frequency as the radar client expects it: NNN.NNN, a channel name of the
// civil airband from 118.000 to 136.990: a 25 kHz channel (118.025), or an
// 8.33 kHz channel's name, 5, 10 or 15 kHz above one (118.030).
bool IsAirbandChannel(std::string_view frequency);

// A path that starts with two separators, "\\host\share" or "//host/share":
// on Windows a network share (or a device), reached with the controller's
// network credentials.
bool IsNetworkPath(std::string_view path);

}  // namespace launcher::check
