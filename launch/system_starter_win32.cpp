// Windows: the program runs through CreateProcessW (see system_starter.h).
#include <windows.h>

#include "launch/system_starter.h"
#include "profile/win32_text.h"

namespace launcher {

using win32::SystemErrorText;
using win32::Utf8ToWide;

Outcome SystemProgramStarter::Start(const CommandLine& command, WindowShow show) {
    const std::wstring program = Utf8ToWide(command.program);
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring line = Utf8ToWide(WindowsCommandLine(command));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show == WindowShow::kMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return CannotStart(command.program, SystemErrorText(GetLastError()));
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Outcome::Ok();
}

Outcome SystemProgramStarter::CheckStartable(const std::string& program) const {
    const std::wstring path = Utf8ToWide(program);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return Outcome::Failed(SystemErrorText(GetLastError()));
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Outcome::Failed(std::string(kFolderNotProgram));
    }
    DWORD type = 0;
    if (!GetBinaryTypeW(path.c_str(), &type)) {
        const DWORD error = GetLastError();
        // The system's own text for a bad program holds a "%1" to fill in.
        return Outcome::Failed(error == ERROR_SUCCESS || error == ERROR_BAD_EXE_FORMAT
                                   ? "it is not a program that Windows can start"
                                   : SystemErrorText(error));
    }
    return Outcome::Ok();
}

}  // namespace launcher
