// Prints, in UTF-8, the text of each control of the shown top-level window
// whose caption starts with CAPTION_START, one a line: what a window shows,
// as Windows itself holds it (a group's name in its frame, for one). Nothing
// when no such window is shown.
//
// usage: window_texts.exe CAPTION_START
#include <windows.h>

#include <cstdio>
#include <string>

#include "profile/win32_text.h"

namespace {

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

struct Search {
    std::wstring start;
    HWND found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (IsWindowVisible(window) && TextOf(window).starts_with(search->start)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK Print(HWND control, LPARAM) {
    std::printf("%s\n", launcher::win32::WideToUtf8(TextOf(control)).c_str());
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    Search search{launcher::win32::Utf8ToWide(argv[1])};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
        EnumChildWindows(search.found, Print, 0);
    }
    return 0;
}
