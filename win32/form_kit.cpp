#include "win32/form_kit.h"

#include <map>

#include "form/layout_rules.h"
#include "profile/win32_text.h"

namespace launcher::win32::kit {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// Windows 10 and later; older systems and some Wine versions lack them.
template <typename Fn>
Fn User32(const char* name) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

bool FaceInstalledNow(const std::wstring& face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM flag) -> int {
            *reinterpret_cast<bool*>(flag) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// Asked once a face: every control of a window asks for one of three faces.
bool FaceInstalled(const std::wstring& face) {
    static std::map<std::wstring, bool> known;
    const auto found = known.find(face);
    if (found != known.end()) {
        return found->second;
    }
    return known[face] = FaceInstalledNow(face);
}

}  // namespace

int WindowDpi(HWND window) {
    static const auto getDpi = User32<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpi != nullptr) {
        if (const UINT dpi = getDpi(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

RECT OuterRect(int width, int height, DWORD style, DWORD exStyle, int dpi) {
    RECT rect{0, 0, width, height};
    static const auto adjust = User32<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    if (adjust != nullptr) {
        adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
    return rect;
}

Fonts::~Fonts() {
    for (const auto& [key, font] : made_) {
        DeleteObject(font);
    }
}

HFONT Fonts::Made(const LOGFONTW& font) {
    HFONT& made = made_[{font.lfFaceName, font.lfWeight, font.lfHeight}];
    if (made == nullptr) {
        made = CreateFontIndirectW(&font);
    }
    return made;
}

HFONT Fonts::Designed(const FontSpec& design, int dpi) {
    HFONT& designed = designed_[{design.face, design.points, design.bold, dpi}];
    if (designed == nullptr) {
        designed = Made(Described(design, dpi));
    }
    return designed;
}

LOGFONTW Fonts::Described(const FontSpec& design, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(design.points, dpi, 72);
    font.lfWeight = design.bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    std::wstring face = Utf8ToWide(design.face);
    if (!FaceInstalled(face)) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        face = metrics.lfMessageFont.lfFaceName;
    }
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    return font;
}

HFONT Fonts::Resized(HFONT font, int halfPoints, int dpi) {
    LOGFONTW resized{};
    GetObjectW(font, sizeof resized, &resized);
    resized.lfHeight = -MulDiv(halfPoints, dpi, 144);
    return Made(resized);
}

COLORREF ToColorRef(Rgb rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

COLORREF BackgroundOf(const FormTable& table) {
    return table.background ? ToColorRef(*table.background) : GetSysColor(COLOR_BTNFACE);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

HWND FieldOf(HWND control) {
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    return GetComboBoxInfo(control, &parts) != FALSE && parts.hwndItem != nullptr ? parts.hwndItem
                                                                                  : control;
}

bool WholeSelected(HWND field) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const int length = GetWindowTextLengthW(field);
    return length > 0 && start == 0 && end == DWORD(length);
}

void ShowStart(HWND field, bool selected) {
    const FieldSelection shown = StartShown(GetWindowTextLengthW(field), selected);
    // The caret is the selection's second end; the field scrolls to it.
    SendMessageW(field, EM_SETSEL, WPARAM(shown.anchor), LPARAM(shown.caret));
    SendMessageW(field, EM_SCROLLCARET, 0, 0);
}

std::wstring ListText(HWND list, UINT lengthMessage, UINT textMessage, LRESULT index) {
    if (index < 0) {
        return {};
    }
    const LRESULT length = SendMessageW(list, lengthMessage, WPARAM(index), 0);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, textMessage, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

}  // namespace launcher::win32::kit
