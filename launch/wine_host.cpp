#include "launch/wine_host.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "launch/wine.h"
#include "profile/ini.h"
#include "profile/program_files.h"

namespace launcher::wine {
namespace {

namespace fs = std::filesystem;

fs::path Absolute(std::string_view path) {
    std::error_code error;
    fs::path absolute = fs::absolute(fs::path(path), error);
    return (error ? fs::path(path) : absolute).lexically_normal();
}

struct Drive {
    char letter;
    dev_t device;
    ino_t inode;
};

// The prefix's drives in letter order, each by the folder it leads to.
std::vector<Drive> DrivesOf(const fs::path& prefix) {
    std::vector<Drive> drives;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(prefix / "dosdevices", error)) {
        const std::string name = entry.path().filename().string();
        struct stat target {};
        if (name.size() != 2 || name[1] != ':' || name[0] < 'a' || name[0] > 'z' ||
            ::stat(entry.path().c_str(), &target) != 0 || !S_ISDIR(target.st_mode)) {
            continue;
        }
        drives.push_back({static_cast<char>(name[0] - 'a' + 'A'), target.st_dev, target.st_ino});
    }
    std::sort(drives.begin(), drives.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    return drives;
}

std::string WithBackslashes(std::string text) {
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

}  // namespace

std::string ProgramFolderOf(std::string_view settingsFile) {
    const std::size_t slash = settingsFile.rfind('/');
    return slash == std::string_view::npos ? std::string()
                                           : std::string(settingsFile.substr(0, slash));
}

bool IsWindowsProgram(std::string_view path) {
    std::ifstream file{std::string(path), std::ios::binary};
    char header[2] = {};
    return file.read(header, 2) && header[0] == 'M' && header[1] == 'Z';
}

bool IsWinePrefix(std::string_view folder) {
    std::error_code error;
    const fs::path prefix(folder);
    return fs::is_directory(prefix / "drive_c", error) &&
           fs::is_regular_file(prefix / "system.reg", error) &&
           fs::is_regular_file(prefix / "user.reg", error);
}

bool IsInsideFolder(std::string_view path, std::string_view folder) {
    if (folder.empty()) {
        return false;
    }
    std::error_code error;
    const fs::path inner = fs::weakly_canonical(Absolute(path), error);
    const fs::path outer = fs::weakly_canonical(Absolute(folder), error);
    if (outer.empty() || inner.empty()) {
        return false;
    }
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
        if (o->empty()) {
            continue;  // the empty name a trailing separator leaves
        }
        if (i == inner.end() || *i != *o) {
            return false;
        }
    }
    return true;
}

std::string PrefixHolding(std::string_view path, std::string_view programFolder) {
    const fs::path absolute = Absolute(path);
    for (fs::path folder = absolute.parent_path();; folder = folder.parent_path()) {
        if (IsWinePrefix(folder.string()) && !IsInsideFolder(folder.string(), programFolder)) {
            return folder.string();
        }
        if (folder == folder.root_path() || folder.empty()) {
            return {};
        }
    }
}

std::string PrefixFor(std::string_view program, std::string_view programFolder) {
    std::string prefix = PrefixHolding(program, programFolder);
    if (!prefix.empty()) {
        return prefix;
    }
    if (const char* set = std::getenv("WINEPREFIX"); set != nullptr && *set != '\0') {
        return set;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.wine";
}

std::string WindowsPath(std::string_view path, std::string_view prefix) {
    fs::path folder = Absolute(path);
    if (folder.filename().empty() && folder != folder.root_path()) {
        folder = folder.parent_path();  // "/a/b/" is the folder "/a/b"
    }
    const std::vector<Drive> drives = DrivesOf(fs::path(prefix));
    // From the whole path up to "/": the nearest folder that is a drive wins,
    // and of two drives on one folder the first letter.
    std::string rest;
    for (;;) {
        struct stat status {};
        if (::stat(folder.c_str(), &status) == 0) {
            for (const Drive& drive : drives) {
                if (drive.device == status.st_dev && drive.inode == status.st_ino) {
                    return std::string{drive.letter, ':', '\\'} + rest;
                }
            }
        }
        if (folder == folder.root_path() || folder.empty()) {
            break;
        }
        rest = folder.filename().string() + (rest.empty() ? "" : "\\" + rest);
        folder = folder.parent_path();
    }
    return "Z:" + WithBackslashes(Absolute(path).string());
}

std::string PathForClient(std::string_view path, std::string_view program,
                          std::string_view programFolder) {
    if (!IsWindowsProgram(program)) {
        return std::string(path);
    }
    return WindowsPath(path, PrefixFor(program, programFolder));
}

std::string FindProgram(std::string_view name, std::string_view searchPath,
                        std::string_view excludedFolder) {
    if (name.empty()) {
        return {};
    }
    if (name.find('/') != std::string_view::npos) {
        return std::string(name);
    }
    for (std::size_t start = 0; start <= searchPath.size();) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string_view::npos) {
            end = searchPath.size();
        }
        // An empty entry is the current folder, as for the shell.
        const std::string_view folder = searchPath.substr(start, end - start);
        std::string candidate =
            (folder.empty() ? std::string(".") : std::string(folder)) + "/" + std::string(name);
        struct stat status {};
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0 && !IsInsideFolder(candidate, excludedFolder)) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

}  // namespace launcher::wine

namespace launcher {

WineFound FindWine(std::string_view settingsFile) {
    WineFound found;
    found.named = settingsFile.empty()
                      ? std::string()
                      : ReadIni(keys::kWine.section, keys::kWine.key, settingsFile);
    if (found.named.empty()) {
        found.named = "wine";
    }
    const std::string folder = wine::ProgramFolderOf(settingsFile);
    const std::string setting = "the \"" + std::string(keys::kWine.key) + "\" setting of " +
                                std::string(keys::kWine.file) + " names \"" + found.named + "\"";
    if (!NamesWine(found.named)) {
        found.refusal = setting + ", which is not Wine: Wine's name begins with \"wine\"";
        return found;
    }
    const char* path = std::getenv("PATH");
    found.path = wine::FindProgram(found.named, path != nullptr ? path : "", folder);
    if (!found.path.empty() && wine::IsInsideFolder(found.path, folder)) {
        found.path.clear();
        found.refusal = setting +
                        ", a program inside the program folder: only a Wine of the system's runs "
                        "the clients";
    }
    return found;
}

}  // namespace launcher
