// The least a Win32 program with one shown window takes: the floor for the
// Windows launcher's start to its first shown window and for its peak working
// set (bench/measure-windows.sh). A 650 by 446 window, as the launcher's main
// window on the demo folder, ended by its close box.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSEXW bare{};
    bare.cbSize = sizeof bare;
    bare.hInstance = instance;
    bare.lpszClassName = L"BareWindow";
    bare.lpfnWndProc = Procedure;
    bare.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassExW(&bare);
    HWND window =
        CreateWindowExW(0, bare.lpszClassName, L"Bare window",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                        CW_USEDEFAULT, 650, 446, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
