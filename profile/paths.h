// Joining a folder and a file name the way the platform spells paths.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace launcher {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// folder + separator + name. The folder is taken without a trailing separator,
// so an empty folder names the root ("\rvsb.ini" on Windows).
inline std::string InFolder(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).push_back(kPathSeparator);
    path.append(name);
    return path;
}

// A UTF-8 path as std::filesystem takes it; from a plain string, MinGW's would
// read it in the ANSI code page.
inline std::filesystem::path FileSystemPath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace launcher
