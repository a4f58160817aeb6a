// Wine, the program that runs the Windows clients on other systems: which
// name is Wine's, and what a started client is handed through it. Pure rules,
// built on every platform: the folder check applies NamesWine to a folder
// prepared for either system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "launch/program_start.h"

namespace launcher {

// Whether the program a WINE setting names is Wine: "wine", "wine64",
// "wine-stable", "/opt/wine-staging/bin/wine", a program whose own name
// begins with "wine" (letter case aside), which no shell's or interpreter's
// does. Also the folder check's rule, on every platform.
bool NamesWine(std::string_view named);

// argv for `wine` starting the program at `windowsPath`: "wine start /b
// [/max] <windowsPath>". start.exe hands the window show style on, which a
// bare "wine program" cannot, and keeps our current folder; /b keeps a
// console program on start's console instead of opening one of Wine's. The
// client's own arguments follow.
std::vector<std::string> WineStartArguments(const std::string& wine, const std::string& windowsPath,
                                            WindowShow show);

// `environment` (entries "NAME=value") as Wine is to get it: WINEPREFIX set
// to `prefix` unless that is empty; WINEDEBUG=-all unless one is set, as
// Wine's notes on what it has not implemented are no business of the
// launcher's terminal; and a locale whose character type is UTF-8, the
// character set Wine then decodes our UTF-8 argv in.
std::vector<std::string> WineEnvironment(std::vector<std::string> environment,
                                         std::string_view prefix);

}  // namespace launcher
