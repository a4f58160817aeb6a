// The kit every Win32 window draws with: the window's DPI, the fonts the
// tables name (or the system's where the machine lacks one), the colours, and
// text at the API's edge.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "form/form_table.h"

namespace launcher::win32::kit {

// The window's dots per inch, 96 at 100 %.
int WindowDpi(HWND window);

// The outer rectangle of a window whose client area is `width` by `height`
// pixels at `dpi`.
RECT OuterRect(int width, int height, DWORD style, DWORD exStyle, int dpi);

// The fonts of one window's controls, each made once and shared by every
// control that draws with it: most controls of a window use one font. Freed
// with the cache, once no control draws with them.
class Fonts {
public:
    Fonts() = default;
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    // The face the table names at its size, or the system's message face at
    // that size when the machine lacks it.
    HFONT Designed(const FontSpec& design, int dpi);
    // `font`'s face at `halfPoints` half points.
    HFONT Resized(HFONT font, int halfPoints, int dpi);

private:
    static LOGFONTW Described(const FontSpec& design, int dpi);
    HFONT Made(const LOGFONTW& font);

    // By face, weight and height; and the designs asked for, by their face,
    // points and weight at a DPI.
    std::map<std::tuple<std::wstring, LONG, LONG>, HFONT> made_;
    std::map<std::tuple<std::string_view, int, bool, int>, HFONT> designed_;
};

COLORREF ToColorRef(Rgb rgb);
// The window's background: the table's, or the system's face colour.
COLORREF BackgroundOf(const FormTable& table);

std::wstring WindowText(HWND window);

// The text field of an editable list, or the text box itself.
HWND FieldOf(HWND control);
// Whether all of `field`'s text, and there is some, is selected.
bool WholeSelected(HWND field);
// Puts `field`'s caret at the start of its text, so that the field shows its
// beginning; `selected` keeps all of the text selected (the focused field).
void ShowStart(HWND field, bool selected);
// The text of item `index` of a list or combo box; "" for no item.
std::wstring ListText(HWND list, UINT lengthMessage, UINT textMessage, LRESULT index);

}  // namespace launcher::win32::kit
