// The Windows clients on a POSIX system: telling a Windows program from a
// native one, the Wine that runs it, the Wine prefix it lives in, and paths
// as it sees them. Not built on Windows, where every program is a Windows
// program and every path a Windows path.
#pragma once

#include <string>
#include <string_view>

namespace launcher::wine {

// The program folder a settings file lies in: its folder; "" for a bare name.
std::string ProgramFolderOf(std::string_view settingsFile);

// A Windows executable starts with the PE "MZ" header; a missing or unreadable
// file is no Windows program (starting it fails the native way).
bool IsWindowsProgram(std::string_view path);

// Whether `folder` is a Wine prefix Wine has made: it holds "drive_c" and
// Wine's registry files, system.reg and user.reg.
bool IsWinePrefix(std::string_view folder);

// Whether `path` is `folder` or lies inside it, links resolved. False for an
// empty folder.
bool IsInsideFolder(std::string_view path, std::string_view folder);

// The nearest folder at or above `path`'s folder that is a Wine prefix
// (IsWinePrefix): the prefix a program installed there belongs to. A prefix
// at or inside `programFolder`, which came with a downloaded folder, is
// passed over. "" when there is none.
std::string PrefixHolding(std::string_view path, std::string_view programFolder = {});

// The prefix a Windows program runs in: the one that holds it, else the one
// Wine would use anyway ($WINEPREFIX, else $HOME/.wine).
std::string PrefixFor(std::string_view program, std::string_view programFolder = {});

// The Windows path of `path` for a program in `prefix`, worked out the way
// Wine does it: the drive of the prefix's "dosdevices" folder whose target is
// the nearest folder above the path ("C:\..." inside drive_c, "Z:\..." through
// the usual "z:" link to "/"), the rest with backslashes. A relative path is
// taken from the current folder. With no drive found (a prefix Wine has not
// made yet) it is Wine's default "Z:" for "/". Names that Windows cannot hold
// (with '\', ':' or '*') are not mapped to Wine's short names.
std::string WindowsPath(std::string_view path, std::string_view prefix);

// `path` as the client program `program` sees it: its Windows path in the
// program's prefix when `program` is a Windows program, else `path` itself.
std::string PathForClient(std::string_view path, std::string_view program,
                          std::string_view programFolder = {});

// The executable file `name` names: itself when it holds a '/', else the
// first one of that name in the folders of `searchPath` (a $PATH value) that
// does not lie inside `excludedFolder`. "" when there is none.
std::string FindProgram(std::string_view name, std::string_view searchPath,
                        std::string_view excludedFolder = {});

}  // namespace launcher::wine

namespace launcher {

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

}  // namespace launcher
