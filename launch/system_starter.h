// The system's side of ProgramStarter and Clock: what the launcher really uses
// outside tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "launch/clock.h"
#include "launch/program_start.h"

namespace launcher {

// Starts a program and returns as soon as it runs or has failed to start; the
// program inherits the launcher's current folder and outlives it.
//
// Windows: CreateProcessW with the program's path as the module to run, so
// nothing along a path with blanks (C:\Program.exe for C:\Program Files\...)
// can be run in its place; the child's command line is WindowsCommandLine().
// No handles are inherited; `show` is the window's first show style.
//
// Elsewhere: the program runs in a session of its own, detached so that no
// zombie is left behind, with no shell involved. A native program gets argv =
// the program path followed by SplitArguments(arguments), and `show` is
// ignored. A Windows program (see wine::IsWindowsProgram) runs under Wine as
// "wine start /b [/max] <its Windows path> <the same arguments>": the Wine named
// by key "WINE" of section "MAIN" of the settings file, else "wine" on PATH
// (see FindWine); with WINEPREFIX set to the Wine prefix that holds the
// program, if one outside the program folder does (wine::PrefixHolding).
//
// A failure names the program and gives the system's reason, in UTF-8.
class SystemProgramStarter final : public ProgramStarter {
public:
    // `settingsFile`: settings.ini, which may name the Wine to use; "" for none.
    explicit SystemProgramStarter(std::string settingsFile = {});

    StartResult Start(const CommandLine& command, WindowShow show) override;
    // A missing file or a folder fails; on Windows so does a file that is no
    // Windows program; elsewhere a native program needs the right to run, a
    // Windows program the Wine that Start would use.
    std::string CheckStartable(const std::string& program) const override;

private:
    std::string settingsFile_;
};

// The local date and time of the system clock and time zone: on Windows the
// system's own (GetLocalTime), whatever TZ says; elsewhere localtime_r's.
class SystemClock final : public Clock {
public:
    LocalTime Now() const override;
};

// Whether the program a WINE setting names is Wine: "wine", "wine64",
// "wine-stable", "/opt/wine-staging/bin/wine", a program whose own name
// begins with "wine" (letter case aside), which no shell's or interpreter's
// does. Also the folder check's rule, on every platform.
bool NamesWine(std::string_view named);

#ifndef _WIN32
// The Wine that starts a Windows program: the one key "WINE" of section
// "MAIN" of `settingsFile` names ("wine" when it names none), looked for as
// wine::FindProgram looks on $PATH. The settings file lies in the program
// folder, which comes from the internet: what runs the clients is the user's
// choice, not the folder's. So a program inside that folder (named, or
// reached through an entry of $PATH) is never taken, and a WINE whose name
// does not begin with "wine" (a shell, say) is refused.
struct WineFound {
    std::string named;
    std::string path;     // "" when there is none, or it is refused
    std::string refusal;  // why `named` may not run the clients; "" when it may
};
WineFound FindWine(std::string_view settingsFile);
#endif

// The command line a Windows program sees: the program path in double quotes,
// then the argument text exactly as given.
std::string WindowsCommandLine(const CommandLine& command);

// The argument text cut at spaces; a run of spaces counts as one and no piece
// is empty. Quotes and backslashes are ordinary characters.
std::vector<std::string> SplitArguments(std::string_view arguments);

}  // namespace launcher
