// The kit every Win32 window draws with: the window's DPI, the fonts the
// tables name (or the system's where the machine lacks one), the colours, and
// text at the API's edge.
#pragma once

#include <windows.h>

#include <string>

#include "form/form_table.h"

namespace launcher::win32 {

// The window's dots per inch, 96 at 100 %.
int WindowDpi(HWND window);

// The outer rectangle of a window whose client area is `width` by `height`
// pixels at `dpi`.
RECT OuterRect(int width, int height, DWORD style, DWORD exStyle, int dpi);

// The face the table names at its size, or the system's message face at that
// size when the machine lacks it. The caller owns the font.
HFONT MakeFont(const FontSpec& design, int dpi);
// `font`'s face at `halfPoints` half points. The caller owns the font.
HFONT ResizedFont(HFONT font, int halfPoints, int dpi);

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

}  // namespace launcher::win32
