// The check of a program folder for the people who prepare its INI files: it
// reads the folder as the launcher reads it and finds what a controller would
// otherwise only find on line, or never.
#pragma once

#include <ostream>
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
// launcher normally starts. Reads only: no file is ever written.
std::vector<Finding> CheckProgramFolder(std::string_view folder);

// A frequency as the radar client expects it: NNN.NNN, a channel name of the
// civil airband from 118.000 to 136.990 (25 kHz channels and 8.33 kHz ones).
bool IsAirbandChannel(std::string_view frequency);

// "config.ini:12: error: message", or "config.ini: error: message" for the
// file as a whole: the form compilers use, which editors jump from.
std::string FormatFinding(const Finding& finding);

// "1 error, 2 warnings, 0 notes".
std::string Summary(const std::vector<Finding>& findings);

// The command: the report of `folder` on `out`, one line a finding and the
// summary last, or on `err` why the folder cannot be read. Returns the exit
// status: 0 without errors, 1 with, 2 when the folder cannot be read.
int RunCheck(std::string_view folder, std::ostream& out, std::ostream& err);

}  // namespace launcher::check
