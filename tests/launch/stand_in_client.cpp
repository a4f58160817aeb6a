// A stand-in client for the Windows start tests: records how it was started in
// "<its own path>.log", in UTF-8, one item a line:
//   command: the command line exactly as GetCommandLineW() gives it
//   folder: its current folder
//   show: the window show style it was handed, or "none"
// The record is written beside it and renamed into place, so a reader never
// sees half of it.
#include <windows.h>

#include <string>

#include "profile/win32_text.h"

using launcher::win32::WideToUtf8;

int main() {
    std::wstring self(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, self.data(), DWORD(self.size()))) == self.size()) {
        self.resize(self.size() * 2);
    }
    self.resize(length);

    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const std::string show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0
                                 ? std::to_string(startup.wShowWindow)
                                 : std::string("none");

    const std::string record = "command: " + WideToUtf8(GetCommandLineW()) +
                               "\nfolder: " + WideToUtf8(folder) + "\nshow: " + show + "\n";
    const std::wstring log = self + L".log";
    const std::wstring partial = log + L".part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, record.data(), DWORD(record.size()), &written, nullptr) &&
                    written == record.size();
    CloseHandle(file);
    if (!ok || !MoveFileExW(partial.c_str(), log.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return 1;
    }
    return 0;
}
