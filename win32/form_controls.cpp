#include "win32/form_controls.h"

// <windows.h> comes before the headers that build on it.
// clang-format off
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <utility>

#include "base/expect.h"
#include "form/layout_rules.h"
#include "profile/win32_text.h"

namespace launcher::win32 {

namespace {

constexpr int kFirstControlId = 100;
// How far an editable list's drop-down reaches below its field.
constexpr int kDropDownTwips = 2400;
// The room a dropped list leaves either side of an item's text, with its
// border, in pixels at 96 DPI.
constexpr int kItemMarginPixels = 4;

// A label the presenter fills (a position, a frequency, a title): its text
// may be of any length, so it ends in an ellipsis where cut and the whole
// text is in its tooltip. Readers read the window text, which stays whole.
struct WindowClass {
    const wchar_t* name = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
};

WindowClass ClassFor(const ControlSpec& design) {
    WindowClass made;
    switch (design.kind) {
        case ControlKind::kFrame:
            made.name = L"BUTTON";
            made.style |= BS_GROUPBOX;
            // Drawn after the controls inside it, so it never paints over them.
            made.exStyle |= WS_EX_TRANSPARENT;
            break;
        case ControlKind::kLabel:
            // Captions come from INI files and picks: "&" is a character. A
            // label that lies under another one never paints over it.
            made.style |= SS_NOPREFIX | WS_CLIPSIBLINGS |
                          (design.align == TextAlign::kCentre ? SS_CENTER : SS_LEFT);
            if (ShowsAValue(design)) {
                // SS_NOTIFY: the label takes the mouse, for its tooltip.
                made.style |= SS_ENDELLIPSIS | SS_NOTIFY;
            }
            break;
        case ControlKind::kTextBox:
            made.name = L"EDIT";
            made.style |= WS_TABSTOP | ES_AUTOHSCROLL;
            made.exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::kEditableList:
            made.name = L"COMBOBOX";
            made.style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
            break;
        case ControlKind::kCheckBox:
            made.name = L"BUTTON";
            made.style |= WS_TABSTOP | BS_AUTOCHECKBOX;
            break;
        case ControlKind::kButton:
            // A push button, never a default one: Return presses nothing.
            made.name = L"BUTTON";
            made.style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::kPicture:
            made.style |= SS_BITMAP;
            break;
        case ControlKind::kDriveList:
            made.name = L"COMBOBOX";
            made.style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
            break;
        case ControlKind::kFolderList:
            made.name = L"LISTBOX";
            made.style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            made.exStyle |= WS_EX_CLIENTEDGE;
            break;
    }
    return made;
}

// The width of the system's scroll bar at `dpi`: the system measures it at
// the screen's DPI, fixed for the session.
int ScrollBarWidth(int dpi) {
    static const int screenDpi = [] {
        HDC screen = GetDC(nullptr);
        const int found = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return found;
    }();
    return MulDiv(GetSystemMetrics(SM_CXVSCROLL), dpi, screenDpi);
}

bool IsList(const ControlSpec& design) {
    return design.kind == ControlKind::kEditableList || design.kind == ControlKind::kDriveList;
}

// How much of `text` `dc`'s font needs, wrapped at `width` pixels.
RECT Needed(HDC dc, const std::wstring& text, int width) {
    RECT needed{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return needed;
}

}  // namespace

FormControls::FormControls(const FormTable& table, HWND parent, int dpi)
    : table_(table),
      parent_(parent),
      dpi_(dpi),
      scrollBar_(ScrollBarWidth(dpi)),
      measure_(CreateCompatibleDC(nullptr)) {
    const std::vector<const ControlSpec*> order = ReadingOrder(table);
    controls_.reserve(order.size());
    for (const ControlSpec* design : order) {
        Control& control = controls_.emplace_back();
        control.design = design;
        control.id = kFirstControlId + static_cast<int>(controls_.size()) - 1;
        byName_.emplace(design->name, controls_.size() - 1);
    }
    for (Control& control : controls_) {
        Build(control);
    }
    Fit();
    Stack();
}

FormControls::~FormControls() {
    if (tips_ != nullptr) {
        DestroyWindow(tips_);
    }
    DeleteDC(measure_);
}

int FormControls::Pixels(int twips) const {
    return TwipsToPixels(twips, dpi_);
}

RECT FormControls::TwipsRect(const ControlSpec& design) const {
    int left = design.left;
    int top = design.top;
    if (!design.container.empty()) {
        const ControlSpec& frame = table_.Control(design.container);
        left += frame.left;
        top += frame.top;
    }
    return RECT{Pixels(left), Pixels(top), Pixels(left + design.width),
                Pixels(top + design.height)};
}

Control& FormControls::Named(std::string_view name) {
    const auto found = byName_.find(name);
    LAUNCHER_EXPECT(found != byName_.end());
    return controls_[found->second];
}

const Control& FormControls::Named(std::string_view name) const {
    const auto found = byName_.find(name);
    LAUNCHER_EXPECT(found != byName_.end());
    return controls_[found->second];
}

Control* FormControls::FindById(int id) {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(controls_.size())) {
        return nullptr;
    }
    return &controls_[static_cast<std::size_t>(index)];
}

void FormControls::Build(Control& control) {
    const ControlSpec& design = *control.design;
    const WindowClass made = ClassFor(design);
    const std::wstring caption =
        design.kind == ControlKind::kEditableList ? std::wstring() : Utf8ToWide(design.caption);
    // Made where it lies: a move after the making costs as much again.
    const RECT box = Box(control);
    control.window = CreateWindowExW(made.exStyle, made.name, caption.c_str(), made.style, box.left,
                                     box.top, box.right - box.left, box.bottom - box.top, parent_,
                                     reinterpret_cast<HMENU>(INT_PTR(control.id)),
                                     GetModuleHandleW(nullptr), nullptr);
    control.font = fonts_.Designed(design.font, dpi_);
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(control.font), FALSE);
    if (IsList(design)) {
        SetFieldHeight(control);
        if (design.kind == ControlKind::kEditableList) {
            for (const std::string& item : design.items) {
                SendMessageW(control.window, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
            }
            SetWindowTextW(control.window, Utf8ToWide(design.caption).c_str());
        }
        FitDroppedList(control);
    } else if (design.kind == ControlKind::kFolderList) {
        control.folders = std::make_unique<FolderList>(control.window);
    }
    annotations_.Annotate(table_, design, control.window);
}

RECT FormControls::Box(const Control& control) const {
    const ControlSpec& design = *control.design;
    RECT box = TwipsRect(design);
    if (control.leftTwips) {
        OffsetRect(&box, Pixels(*control.leftTwips) - Pixels(design.left), 0);
    }
    if (design.kind == ControlKind::kLabel && !design.growsToRightEdge) {
        ControlSpec room = design;
        room.width = LabelRoomTwips(table_, design);
        box.right = TwipsRect(room).right + (box.left - TwipsRect(design).left);
    }
    if (IsList(design)) {
        box.bottom += Pixels(kDropDownTwips);
    }
    return box;
}

void FormControls::Place(const Control& control) {
    const RECT box = Box(control);
    if (control.design->kind == ControlKind::kPicture && !control.picture.empty()) {
        // A picture's size is its own, grown with the DPI (ShowPicture).
        SetWindowPos(control.window, nullptr, box.left, box.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    SetWindowPos(control.window, nullptr, box.left, box.top, box.right - box.left,
                 box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (IsList(*control.design)) {
        SetFieldHeight(control);
        FitDroppedList(control);
    }
}

void FormControls::SetFieldHeight(const Control& list) const {
    // The field keeps the height of the layout; the list drops below it.
    // Left to the font, a field grows less than the layout with the DPI.
    SendMessageW(list.window, CB_SETITEMHEIGHT, WPARAM(-1), Pixels(list.design->height) - 6);
}

void FormControls::Refit(const Control& control) {
    if (IsList(*control.design)) {
        FitDroppedList(control);
    } else if (ShowsAValue(*control.design)) {
        ShowWholeInTip(control);
    }
}

void FormControls::FitDroppedList(const Control& list) const {
    HGDIOBJ old = SelectObject(measure_, list.font);
    int widest = 0;
    const LRESULT count = SendMessageW(list.window, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const std::wstring item = kit::ListText(list.window, CB_GETLBTEXTLEN, CB_GETLBTEXT, i);
        SIZE size{};
        GetTextExtentPoint32W(measure_, item.c_str(), int(item.size()), &size);
        widest = std::max(widest, int(size.cx));
    }
    SelectObject(measure_, old);
    const RECT field = Box(list);
    const int width = DroppedListWidth(field.right - field.left, widest,
                                       MulDiv(kItemMarginPixels, dpi_, 96), scrollBar_);
    SendMessageW(list.window, CB_SETDROPPEDWIDTH, WPARAM(width), 0);
}

void FormControls::ShowWholeInTip(const Control& label) {
    std::wstring text = kit::WindowText(label.window);
    if (tips_ == nullptr) {
        if (text.empty()) {
            return;
        }
        const INITCOMMONCONTROLSEX tipClass{sizeof tipClass, ICC_BAR_CLASSES};
        InitCommonControlsEx(&tipClass);
        tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent_,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent_;
    tool.uId = reinterpret_cast<UINT_PTR>(label.window);
    tool.lpszText = text.data();
    // Added afresh: one way whether or not the label had a tool.
    SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormControls::Fit() {
    for (Control& control : controls_) {
        if (!control.design->captionOf.empty()) {
            FitCaption(control);
        }
        if (control.design->growsToRightEdge) {
            GrowToRightEdge(control);
        }
    }
}

void FormControls::FitCaption(Control& caption) {
    const int width = Pixels(CaptionRoomTwips(table_, *caption.design));
    const int height = Pixels(caption.design->height);
    const std::wstring text = Utf8ToWide(caption.design->caption);
    const int halfPoints = CaptionHalfPoints(*caption.design, [&](int size) {
        HGDIOBJ old = SelectObject(measure_, fonts_.Resized(caption.font, size, dpi_));
        const RECT needed = Needed(measure_, text, width);
        TEXTMETRICW metrics{};
        GetTextMetricsW(measure_, &metrics);
        SelectObject(measure_, old);
        return TextFits({int(needed.right), int(needed.bottom)}, int(metrics.tmDescent),
                        {width, height});
    });
    if (halfPoints != caption.design->font.points * 2) {
        caption.font = fonts_.Resized(caption.font, halfPoints, dpi_);
        // A window not shown yet is drawn whole when it shows.
        SendMessageW(caption.window, WM_SETFONT, reinterpret_cast<WPARAM>(caption.font),
                     IsWindowVisible(parent_));
    }
}

void FormControls::GrowToRightEdge(const Control& label) const {
    const RECT box = TwipsRect(*label.design);
    const Extent room = PromptRoomTwips(table_, *label.design);
    HDC dc = measure_;
    HGDIOBJ old = SelectObject(dc, label.font);
    const std::wstring text = kit::WindowText(label.window);
    SIZE needed{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &needed);
    // Two pixels more, so the last character is not clipped by the static's
    // own rounding.
    const Extent grown = GrownPrompt(
        {box.right - box.left, box.bottom - box.top}, {Pixels(room.width), Pixels(room.height)},
        needed.cx + 2, [&](int width) { return int(Needed(dc, text, width - 2).bottom); });
    SelectObject(dc, old);
    if (grown == Extent{box.right - box.left, box.bottom - box.top}) {
        return;  // placed at that size already
    }
    SetWindowPos(label.window, nullptr, 0, 0, grown.width, grown.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormControls::Stack() {
    // Where two labels overlap, the later one lies above the earlier, as the
    // layout was drawn; labels take no focus, so Tab is not moved.
    const std::vector<const ControlSpec*> designed = table_.CreationOrder();
    for (std::size_t i = 0; i < designed.size(); ++i) {
        for (std::size_t j = i + 1; j < designed.size(); ++j) {
            if (designed[i]->kind != ControlKind::kLabel ||
                designed[j]->kind != ControlKind::kLabel) {
                continue;
            }
            const RECT a = TwipsRect(*designed[i]);
            const RECT b = TwipsRect(*designed[j]);
            RECT both;
            if (!IntersectRect(&both, &a, &b)) {
                continue;
            }
            HWND lower = Named(designed[i]->name).window;
            HWND upper = Named(designed[j]->name).window;
            HWND above = GetWindow(lower, GW_HWNDPREV);
            SetWindowPos(upper, above != nullptr ? above : HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    // Pictures lie under everything else.
    for (const Control& control : controls_) {
        if (control.design->kind == ControlKind::kPicture) {
            SetWindowPos(control.window, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

void FormControls::Rescale(int dpi) {
    dpi_ = dpi;
    scrollBar_ = ScrollBarWidth(dpi);
    for (Control& control : controls_) {
        control.font = fonts_.Designed(control.design->font, dpi_);
        SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(control.font), TRUE);
        Place(control);
        control.picture.Rescale(control.window, dpi_);
    }
    Fit();
}

void FormControls::SetPicture(Control& control, HBITMAP picture) {
    control.picture.Set(control.window, picture, dpi_);
}

}  // namespace launcher::win32
