// The system's side of ProgramStarter: what the launcher really uses outside
// tests. system_starter.cpp holds what both systems share,
// system_starter_posix.cpp and system_starter_win32.cpp the starts proper.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "launch/clock.h"
#include "launch/program_start.h"
#include "launch/wine.h"

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
// WineStartArguments give it, then the same arguments: the Wine named by key
// "WINE" of section "MAIN" of the settings file, else "wine" on PATH (see
// FindWine); with WINEPREFIX set to the Wine prefix that holds the program,
// if one outside the program folder does (wine::PrefixHolding).
//
// A failure names the program and gives the system's reason, in UTF-8.
class SystemProgramStarter final : public ProgramStarter {
public:
    // `settingsFile`: settings.ini, which may name the Wine to use; "" for none.
    explicit SystemProgramStarter(std::string settingsFile = {});

    Outcome Start(const CommandLine& command, WindowShow show) override;
    // A missing file or a folder fails; on Windows so does a file that is no
    // Windows program; elsewhere a native program needs the right to run, a
    // Windows program the Wine that Start would use.
    Outcome CheckStartable(const std::string& program) const override;

private:
    std::string settingsFile_;
};

// The failure of a start: "Cannot start "<program>": <reason>".
Outcome CannotStart(std::string_view program, std::string_view reason);

// What CheckStartable says of a folder.
inline constexpr std::string_view kFolderNotProgram = "it is a folder, not a program";

// The command line a Windows program sees: the program path in double quotes,
// then the argument text exactly as given.
std::string WindowsCommandLine(const CommandLine& command);

// The argument text cut at spaces; a run of spaces counts as one and no piece
// is empty. Quotes and backslashes are ordinary characters.
std::vector<std::string> SplitArguments(std::string_view arguments);

}  // namespace launcher
