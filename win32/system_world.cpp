#include "win32/system_world.h"

#include <windows.h>

#include "profile/win32_text.h"

namespace launcher::win32 {

std::string SystemProgramLocation::ProgramFolder() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    // The folder without the file name; a program in a root folder gets "C:".
    path.resize(path.find_last_of(L'\\') == std::wstring::npos ? 0 : path.find_last_of(L'\\'));
    return WideToUtf8(path);
}

void SystemErrorReporter::ReportError(const std::string& message) {
    MessageBoxW(nullptr, Utf8ToWide(message).c_str(), L"Radavue Launcher",
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void SystemProgramEnder::EndProgram() {
    ended_ = true;
    PostQuitMessage(0);
}

std::vector<std::string> SystemVolumeList::Volumes() const {
    std::wstring drives(GetLogicalDriveStringsW(0, nullptr) + 1, L'\0');
    drives.resize(GetLogicalDriveStringsW(DWORD(drives.size()), drives.data()));
    std::vector<std::string> roots;
    for (std::size_t start = 0; start < drives.size();) {
        const std::size_t end = drives.find(L'\0', start);
        roots.push_back(WideToUtf8(drives.substr(start, end - start)));
        start = end + 1;
    }
    return roots;
}

std::string SystemVolumeList::WorkingFolder() const {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));
    return WideToUtf8(folder);
}

}  // namespace launcher::win32
