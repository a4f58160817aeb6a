// The least a Win32 program with one shown window takes: the floor for the
// Windows launcher's start to its first shown window and for its peak working
// set (measure-windows.sh, measure-start.sh). A 650 by 446 window, as the
// launcher's main window on the demo folder, ended by its close box.
//
// Built as bare_win32_furnished, with the launcher's manifest (common
// controls 6), and given a picture file, the window also shows a line of text
// and that picture, read as the launcher reads its pictures: the floor of any
// window of styled controls that shows text and a picture.
#include <windows.h>

#ifdef FURNISHED
#include <string>

#include "win32/picture.h"
#endif

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
#ifdef FURNISHED
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND text = CreateWindowExW(0, L"STATIC", L"Bare window", WS_CHILD | WS_VISIBLE, 8, 8, 200, 16,
                                window, nullptr, instance, nullptr);
    SendMessageW(text, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (__argc > 1) {
        HWND picture = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_BITMAP, 8,
                                       32, 0, 0, window, nullptr, instance, nullptr);
        SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP,
                     LPARAM(launcher::win32::LoadPicture(__argv[1], GetSysColor(COLOR_BTNFACE))));
    }
#endif
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
