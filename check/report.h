// The report of the folder check as the command prints it.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "check/folder_check.h"

namespace launcher::check {

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
