#include "app/program_folder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <system_error>

#include "app/version.h"
#include "form/picture_file.h"
#include "profile/file_replace.h"
#include "profile/ini.h"
#include "profile/paths.h"
#include "profile/program_files.h"

namespace launcher {

namespace {

constexpr std::string_view kProgram = "radavue-launcher";

std::string WithUsage(std::string_view problem) {
    return std::string(problem) + "\n" + UsageText();
}

// `folder` made absolute against `currentFolder`, with "." and ".." resolved
// by name (a link stays as named) and without a trailing separator.
std::string AbsoluteFolder(std::string_view folder, std::string_view currentFolder) {
    std::filesystem::path path = FileSystemPath(folder);
    if (!path.is_absolute()) {
        path = FileSystemPath(currentFolder) / path;
    }
    const std::u8string normal = path.lexically_normal().u8string();
    std::string text(normal.begin(), normal.end());
    // The root folder becomes "", as ProgramLocation spells folders.
    while (!text.empty() && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

bool HasControlCharacter(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return true;
        }
    }
    return false;
}

// The escapes of a desktop entry's string value: backslash, and control
// characters, which a menu cannot show, as blanks.
std::string StringValue(std::string_view text) {
    std::string value;
    for (const char c : text) {
        if (c == '\\') {
            value += "\\\\";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            value += ' ';
        } else {
            value += c;
        }
    }
    // A leading blank would be taken for the blank after '='.
    if (!value.empty() && value.front() == ' ') {
        value.replace(0, 1, "\\s");
    }
    return value;
}

// The executable stays unquoted when nothing in it needs quoting, as a
// desktop's own entries spell it.
std::string ExecProgram(std::string_view executable) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`%=";
    if (executable.find_first_of(kReserved) == std::string_view::npos) {
        return std::string(executable);
    }
    return QuoteExecArgument(executable);
}

std::string ConfigFile(std::string_view folder) {
    return InFolder(folder, files::kConfig);
}

}  // namespace

std::string UsageText() {
    return "usage: radavue-launcher [FOLDER]\n"
           "       radavue-launcher --add-to-menu FOLDER\n"
           "       radavue-launcher --remove-from-menu FOLDER\n"
           "       radavue-launcher --help | --version\n"
           "Opens the launcher on the program folder FOLDER, the folder that holds\n"
           "config.ini and the other INI files. Without FOLDER: the launcher's own\n"
           "folder when it holds config.ini, else the current folder.\n";
}

LauncherCommand ReadCommandLine(const std::vector<std::string>& arguments) {
    using Kind = LauncherCommand::Kind;
    if (arguments.empty()) {
        return {};
    }
    const std::string& first = arguments[0];
    if (first == "--help" || first == "-h" || first == "--version") {
        if (arguments.size() > 1) {
            return {Kind::kWrong, "", WithUsage(first + " takes no argument.")};
        }
        return {first == "--version" ? Kind::kVersion : Kind::kHelp, "", ""};
    }
    if (first == "--add-to-menu" || first == "--remove-from-menu") {
        if (arguments.size() != 2 || arguments[1].empty()) {
            return {Kind::kWrong, "", WithUsage(first + " takes one FOLDER.")};
        }
        return {first == "--add-to-menu" ? Kind::kAddToMenu : Kind::kRemoveFromMenu, arguments[1],
                ""};
    }
    // "--" ends the options, for a folder whose name starts with '-'.
    const std::size_t at = first == "--" ? 1 : 0;
    if (at == 0 && first.starts_with('-')) {
        return {Kind::kWrong, "", WithUsage("Unknown option " + first + ".")};
    }
    if (arguments.size() > at + 1) {
        return {Kind::kWrong, "", WithUsage("Name one FOLDER only.")};
    }
    if (arguments.size() == at + 1 && arguments[at].empty()) {
        return {Kind::kWrong, "", WithUsage("The FOLDER named is empty.")};
    }
    return {Kind::kOpen, arguments.size() == at + 1 ? arguments[at] : "", ""};
}

FolderChoice ChooseProgramFolder(std::string_view named, std::string_view executableFolder,
                                 std::string_view currentFolder,
                                 const std::function<bool(const std::string&)>& holdsConfig) {
    if (!named.empty()) {
        std::string folder = AbsoluteFolder(named, currentFolder);
        if (!holdsConfig(folder)) {
            return {"", "The folder " + folder +
                            " holds no config.ini. Name the program folder that holds "
                            "your INI files: radavue-launcher FOLDER"};
        }
        return {std::move(folder), ""};
    }
    for (const std::string_view candidate : {executableFolder, currentFolder}) {
        if (!candidate.empty()) {
            std::string folder = AbsoluteFolder(candidate, currentFolder);
            if (holdsConfig(folder)) {
                return {std::move(folder), ""};
            }
        }
    }
    return {"", "Neither the launcher's folder " + std::string(executableFolder) +
                    " nor the current folder " + std::string(currentFolder) +
                    " holds config.ini. Name the program folder that holds your INI "
                    "files: radavue-launcher FOLDER"};
}

std::string MenuEntryFileName(std::string_view folder) {
    // The folder's own name, for a person reading the menu folder, and a hash
    // of the whole path, so two folders of one name get two entries.
    const std::size_t slash = folder.find_last_of('/');
    const std::string_view name =
        slash == std::string_view::npos ? folder : folder.substr(slash + 1);
    std::string readable;
    for (const char c : name) {
        if (readable.size() == 32) {
            break;
        }
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        readable += plain ? c : '_';
    }
    std::uint32_t hash = 2166136261u;  // FNV-1a: the same on every machine and run
    for (const char c : folder) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(hash));
    return std::string(kProgram) + "-" + readable + "-" + hex + ".desktop";
}

std::string QuoteExecArgument(std::string_view argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    quoted += '"';
    // The string value's own escape is undone first, so each backslash of
    // the quoting is doubled again.
    std::string value;
    for (const char c : quoted) {
        value += c;
        if (c == '\\') {
            value += '\\';
        }
    }
    return value;
}

std::string MenuEntryText(std::string_view executable, std::string_view folder,
                          const MenuEntry& entry) {
    std::string title = entry.title;
    if (title.find_first_not_of(" \t") == std::string::npos) {
        const std::size_t slash = folder.find_last_of('/');
        title = std::string(slash == std::string_view::npos ? folder : folder.substr(slash + 1));
    }
    std::string text = "[Desktop Entry]\nType=Application\nVersion=1.4\n";
    text += "Name=" + StringValue(title) + "\n";
    text += "Comment=Radavue Launcher on " + StringValue(folder) + "\n";
    text += "Exec=" + ExecProgram(executable) + " " + QuoteExecArgument(folder) + "\n";
    text += "Icon=" + (entry.icon.empty() ? std::string(kProgram) : StringValue(entry.icon)) + "\n";
    text += "Terminal=false\nCategories=Game;Simulation;\n";
    return text;
}

std::string MenuFolder(std::string_view xdgDataHome, std::string_view home) {
    if (xdgDataHome.starts_with('/')) {
        return InFolder(AbsoluteFolder(xdgDataHome, "/"), "applications");
    }
    if (home.starts_with('/')) {
        return AbsoluteFolder(std::string(home) + "/.local/share/applications", "/");
    }
    return "";
}

int RunMenuCommand(const LauncherCommand& command, std::string_view executable,
                   std::string_view currentFolder, std::string_view menuFolder, std::ostream& out,
                   std::ostream& err) {
    using Kind = LauncherCommand::Kind;
    switch (command.kind) {
        case Kind::kHelp:
            out << UsageText();
            return 0;
        case Kind::kVersion:
            out << kProgram << ' ' << kProgramVersion.majorNumber << '.'
                << kProgramVersion.minorNumber << '.' << kProgramVersion.revision << '\n';
            return 0;
        case Kind::kWrong:
            err << command.message;
            return 2;
        case Kind::kOpen:
            return 2;
        case Kind::kAddToMenu:
        case Kind::kRemoveFromMenu:
            break;
    }
    if (menuFolder.empty()) {
        err << "radavue-launcher: neither XDG_DATA_HOME nor HOME names the menu's folder.\n";
        return 1;
    }
    const bool adding = command.kind == Kind::kAddToMenu;
    const std::string folder = AbsoluteFolder(command.folder, currentFolder);
    const std::string file = InFolder(menuFolder, MenuEntryFileName(folder));
    std::error_code error;
    if (!adding) {
        if (!std::filesystem::remove(FileSystemPath(file), error)) {
            err << "radavue-launcher: "
                << (error ? "could not remove " + file + ": " + error.message()
                          : "the menu has no entry for " + folder)
                << '\n';
            return 1;
        }
        out << "Removed " << folder << " from the menu.\n";
        return 0;
    }
    if (HasControlCharacter(folder) || HasControlCharacter(executable)) {
        err << "radavue-launcher: a menu entry cannot name a folder whose name holds a line "
               "break or another control character.\n";
        return 1;
    }
    if (!FolderHoldsConfig(folder)) {
        err << "radavue-launcher: the folder " << folder << " holds no config.ini.\n";
        return 1;
    }
    MenuEntry entry;
    entry.title = ReadIni(keys::kTitle, folder);
    const std::string logo = PicturePath(folder, ReadIni(keys::kLogo, folder));
    if (!logo.empty() && logo.starts_with('/') && !HasControlCharacter(logo) &&
        ReadPictureFile(logo)) {
        entry.icon = logo;
    }
    std::filesystem::create_directories(FileSystemPath(menuFolder), error);
    const ReplaceResult written =
        ReplaceFileContents(file, MenuEntryText(executable, folder, entry));
    if (!written.ok()) {
        err << "radavue-launcher: could not write " << file << ": " << written.Reason() << '\n';
        return 1;
    }
    out << "Added " << folder << " to the menu: " << file << '\n';
    return 0;
}

bool FolderHoldsConfig(const std::string& folder) {
    std::error_code error;
    return std::filesystem::is_regular_file(FileSystemPath(ConfigFile(folder)), error);
}

std::optional<int> RunOptionWithoutWindow(int argc, const char* const* argv) {
    const LauncherCommand command =
        ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (command.kind == LauncherCommand::Kind::kOpen ||
        command.kind == LauncherCommand::Kind::kWrong) {
        // A wrong one may still hold the toolkit's options: the window's
        // command line, with those taken out, tells.
        return std::nullopt;
    }
    std::error_code error;
    const std::u8string executable = std::filesystem::canonical("/proc/self/exe", error).u8string();
    const std::u8string current = std::filesystem::current_path(error).u8string();
    const char* const dataHome = std::getenv("XDG_DATA_HOME");
    const char* const home = std::getenv("HOME");
    return RunMenuCommand(command, std::string(executable.begin(), executable.end()),
                          std::string(current.begin(), current.end()),
                          MenuFolder(dataHome ? dataHome : "", home ? home : ""), std::cout,
                          std::cerr);
}

}  // namespace launcher
