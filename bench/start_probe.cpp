// Starts a Windows program again and again and measures, from the outside,
// how long it takes from CreateProcess to its first visible top-level window,
// and the peak working set it has reached a second later; then closes that
// window (as the close box does) and waits for the program to end. One line
// a run: "<milliseconds to the window> <peak working set in KiB>".
//
// usage: start_probe.exe RUNS PROGRAM
// The program starts in the current folder.
// <windows.h> comes before the headers that build on it.
// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

// The wide-character entry point (-municode): the program's path may hold
// any character.
int wmain(int argc, wchar_t* argv[]);
int wmain(int argc, wchar_t* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: start_probe.exe RUNS PROGRAM\n");
        return 2;
    }
    const int runs = std::wcstol(argv[1], nullptr, 10);
    const std::wstring program = argv[2];
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int run = 0; run < runs; ++run) {
        std::wstring line = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process)) {
            std::fprintf(stderr, "start_probe: cannot start the program (error %lu)\n",
                         GetLastError());
            return 1;
        }
        Search search{process.dwProcessId, nullptr};
        while (search.found == nullptr) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
                std::fprintf(stderr, "start_probe: the program ended before showing a window\n");
                return 1;
            }
            EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
            if (search.found == nullptr) {
                Sleep(1);  // a busy loop would take a core from the program
            }
        }
        LARGE_INTEGER shown;
        QueryPerformanceCounter(&shown);
        // Its pictures, timers and first paint come after the window shows.
        Sleep(1000);
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
        PostMessageW(search.found, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 1);
            std::fprintf(stderr, "start_probe: the program did not end on its close box\n");
            return 1;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::printf("%.1f %llu\n",
                    double(shown.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart),
                    static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024));
        std::fflush(stdout);
    }
    return 0;
}
