// The report of the folder check as the command prints it: for people at a
// terminal, for CI logs and code-scanning, and for other programs.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "check/folder_check.h"

namespace launcher::check {

enum class Format {
    kText,    // "demo/config.ini:12: error: message", as compilers print it
    kJson,    // one object: the reading, the findings, the counts
    kSarif,   // SARIF 2.1.0, for code-scanning upload
    kGithub,  // GitHub Actions workflow commands: "::error file=...,line=...::message"
};

struct Options {
    Format format = Format::kText;
    Reading reading = Reading::kWindows;
    bool warningsAsErrors = false;
    bool quiet = false;   // no notes
    bool colour = false;  // text only: the severity in colour
};

// `file` of the folder as given on the command line, as a report names it:
// "~/atc/config.ini"; the bare name for the current folder ".".
std::string FileOfFolder(std::string_view folder, std::string_view file);

// "config.ini:12: error: message", or "config.ini: error: message" for the
// file as a whole: the form compilers use, which editors jump from.
std::string FormatFinding(const Finding& finding);

// "1 error, 2 warnings, 0 notes".
std::string Summary(const std::vector<Finding>& findings);

// The command: the report of each of `folders` on `out` in `options.format`,
// and on `err` why a folder cannot be read. Returns the exit status, the
// worst of the folders': 0 clean (warnings and notes allowed), 1 with errors
// (or warnings, with warningsAsErrors), 2 when a folder cannot be read.
int RunCheck(const std::vector<std::string>& folders, const Options& options, std::ostream& out,
             std::ostream& err);

// One folder, as text, by the Windows reading.
int RunCheck(std::string_view folder, std::ostream& out, std::ostream& err);

}  // namespace launcher::check
