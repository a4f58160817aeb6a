// A stand-in client for the Windows start tests: records how it was started in
// "<its own path>.log", in UTF-8, one item a line:
//   command: the command line exactly as GetCommandLineW() gives it
//   folder: its current folder
//   show: the window show style it was handed, or "none"
// Named rv.exe, it then does what the radar client does: it looks for "ATIS
// FILENAME" in section "RV 2.0" of rvsb.ini in the Windows folder; when that
// is set, it adds
//   atis: that value, read in the ANSI code page
//   code page: the ANSI code page
// and copies the file it names, byte for byte, to "<its own path>.atis".
// Each start's record goes after those of earlier starts. The records are
// written beside it and renamed into place, so a reader never sees half of
// one.
#include <windows.h>

#include <string>

#include "profile/win32_text.h"

using launcher::win32::AnsiToUtf8;
using launcher::win32::WideToUtf8;

namespace {

bool WriteWhole(const std::wstring& path, const std::string& bytes) {
    const std::wstring partial = path + L".part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok && MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// The bytes of a file opened for reading, or none when it could not be.
std::string ReadWhole(HANDLE file) {
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    return bytes;
}

}  // namespace

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

    std::string record = "command: " + WideToUtf8(GetCommandLineW()) +
                         "\nfolder: " + WideToUtf8(folder) + "\nshow: " + show + "\n";

    // A file name without a folder is the Windows folder's, as for the radar client.
    const bool radar = _wcsicmp(self.substr(self.find_last_of(L"\\/") + 1).c_str(), L"rv.exe") == 0;
    char atis[MAX_PATH] = {};
    const DWORD atisLength =
        radar ? GetPrivateProfileStringA("RV 2.0", "ATIS FILENAME", "", atis, MAX_PATH, "rvsb.ini")
              : 0;
    if (atisLength > 0) {
        record += "atis: " + AnsiToUtf8(std::string(atis, atisLength)) +
                  "\ncode page: " + std::to_string(GetACP()) + "\n";
        if (!WriteWhole(self + L".atis",
                        ReadWhole(CreateFileA(atis, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)))) {
            return 1;
        }
    }
    const std::wstring log = self + L".log";
    const std::string earlier =
        ReadWhole(CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    return WriteWhole(log, earlier + record) ? 0 : 1;
}
