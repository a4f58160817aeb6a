// <windows.h> comes before the headers that build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
// clang-format on

#include "app/launcher_run.h"
#include "win32/form_maker.h"
#include "win32/system_world.h"

namespace {

// DLLs load from System32 only, never from the program folder or the current
// one: a downloaded program folder may hold a DLL named like a system one.
// SetDefaultDllDirectories is reached by name, as Windows 7 without
// KB2533623 lacks it.
void LoadLibrariesFromSystemOnly() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll"); kernel != nullptr) {
        if (const auto set = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
            set != nullptr) {
            set(LOAD_LIBRARY_SEARCH_SYSTEM32);
        }
    }
    SetDllDirectoryW(L"");
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LoadLibrariesFromSystemOnly();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The pictures are read through the Windows Imaging Component.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    launcher::win32::SystemProgramLocation location;
    launcher::win32::SystemProgramEnder ender;
    launcher::win32::SystemVolumeList volumes;
    launcher::win32::SystemErrorReporter errors;
    launcher::win32::FormMaker windows;
    const auto runEvents = [&ender]() -> int {
        MSG message;
        while (!ender.HasEnded() && GetMessageW(&message, nullptr, 0, 0) > 0) {
            // Tab, the arrow keys and Alt+Down go to the window the message is for.
            if (auto* window =
                    launcher::win32::FormWindow::FromHandle(GetAncestor(message.hwnd, GA_ROOT));
                window != nullptr && window->PreTranslate(message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // The windows go with the process; no handler of theirs runs again.
        ExitProcess(0);
    };
    // The executable's own folder always exists: no location problem to tell.
    ExitProcess(
        UINT(launcher::RunLauncher({location, {}, ender, volumes, errors}, windows, runEvents)));
}
