// The Linux launcher's command line: one installed launcher serves any number
// of program folders, each named on its command line or put in the desktop's
// menu as an entry of its own. The Windows launcher takes no option and keeps
// its executable's folder.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

struct LauncherCommand {
    enum class Kind { kOpen, kHelp, kVersion, kAddToMenu, kRemoveFromMenu, kWrong };
    Kind kind = Kind::kOpen;
    std::string folder;   // as given; empty for kOpen without a folder
    std::string message;  // for kWrong: what is wrong, with the usage
};

// The arguments after the program's name, with the toolkit's own options
// already taken out.
LauncherCommand ReadCommandLine(const std::vector<std::string>& arguments);

// The usage text --help prints.
std::string UsageText();

// The folder the launcher works in, or why there is none.
struct FolderChoice {
    std::string folder;   // absolute, without a trailing separator ("" for the root)
    std::string message;  // why there is none, saying how to name one; empty when there is
};

// `named` as given on the command line (relative ones from `currentFolder`);
// without it, the executable's folder when it holds config.ini (a launcher
// copied into its program folder keeps working), else the current folder
// when it holds config.ini. `holdsConfig` answers for an absolute folder.
FolderChoice ChooseProgramFolder(std::string_view named, std::string_view executableFolder,
                                 std::string_view currentFolder,
                                 const std::function<bool(const std::string&)>& holdsConfig);

// Whether `folder` holds config.ini as a file (a link to one counts).
bool FolderHoldsConfig(const std::string& folder);

// The menu entry of a program folder.
struct MenuEntry {
    std::string title;  // config.ini's TITLE; the folder's own name when empty
    std::string icon;   // an absolute picture file, or empty for the launcher's icon
};

// The entry's file name, unique to the absolute `folder`: the desktop takes
// it as the entry's id, so it holds only letters, digits, '-' and '_'.
std::string MenuEntryFileName(std::string_view folder);

// One argument of an Exec key, quoted as a desktop splits it back, with '%'
// doubled and the escapes of a string value applied over the quoting.
std::string QuoteExecArgument(std::string_view argument);

// The desktop entry that starts `executable` on `folder`.
std::string MenuEntryText(std::string_view executable, std::string_view folder,
                          const MenuEntry& entry);

// The folder user's menu entries go in: $XDG_DATA_HOME/applications, with
// ~/.local/share in place of an unset or relative XDG_DATA_HOME; empty when
// neither is known.
std::string MenuFolder(std::string_view xdgDataHome, std::string_view home);

// Carries out --help, --version, --add-to-menu and --remove-from-menu, with
// `executable` (absolute) as the program the entry starts; returns the exit
// status. config.ini's TITLE and LOGO come from the folder.
int RunMenuCommand(const LauncherCommand& command, std::string_view executable,
                   std::string_view currentFolder, std::string_view menuFolder, std::ostream& out,
                   std::ostream& err);

// For main before the toolkit starts, so they need no display: carries out
// the command line's options with this process's executable, current folder
// and environment. No value when the command line opens a window instead.
std::optional<int> RunOptionWithoutWindow(int argc, const char* const* argv);

}  // namespace launcher
