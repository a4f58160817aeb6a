// Prints, in UTF-8, the caption of the window that holds the keyboard focus
// on the Windows desktop it runs on, or nothing when no window does. Under
// Wine with no window manager the X input focus stays where it was when a
// program activates another window, so the scenarios ask Windows itself.
//
// usage: focus_probe.exe
#include <windows.h>

#include <cstdio>
#include <string>

#include "profile/win32_text.h"

int main() {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    // The thread of the foreground window: its focus is the keyboard's.
    if (!GetGUIThreadInfo(0, &thread) || thread.hwndFocus == nullptr) {
        return 0;
    }
    HWND window = GetAncestor(thread.hwndFocus, GA_ROOT);
    std::wstring caption(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    caption.resize(
        static_cast<std::size_t>(GetWindowTextW(window, caption.data(), int(caption.size()))));
    std::printf("%s\n", launcher::win32::WideToUtf8(caption).c_str());
    return 0;
}
