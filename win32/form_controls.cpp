#include "win32/form_controls.h"

// <windows.h> comes before the headers that build on it.
// clang-format off
#include <commctrl.h>
#include <oleacc.h>
// clang-format on

#include <algorithm>
#include <utility>

#include "form/layout_rules.h"
#include "profile/win32_text.h"
#include "win32/form_kit.h"
#include "win32/picture.h"

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

// Creation order is the order of the keyboard's Tab and of the readers'
// captions: a label that names a field comes right before it.
std::vector<const ControlSpec*> BuildOrder(const FormTable& table) {
    std::vector<const ControlSpec*> order = table.CreationOrder();
    for (const ControlSpec& design : table.controls) {
        if (design.captionOf.empty()) {
            continue;
        }
        std::erase(order, &design);
        const auto field = std::find_if(order.begin(), order.end(), [&](const ControlSpec* c) {
            return c->name == design.captionOf;
        });
        order.insert(field, &design);
    }
    return order;
}

// How much of `text` `dc`'s font needs, wrapped at `width` pixels.
RECT Needed(HDC dc, const std::wstring& text, int width) {
    RECT needed{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return needed;
}

}  // namespace

FormControls::FormControls(const FormTable& table, HWND parent, int dpi)
    : table_(table), parent_(parent), dpi_(dpi) {
    const std::vector<const ControlSpec*> order = BuildOrder(table);
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
    Annotate();
}

FormControls::~FormControls() {
    if (annotations_ != nullptr) {
        const MSAAPROPID props[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
        for (const Control& control : controls_) {
            annotations_->ClearHwndProps(control.window, DWORD(OBJID_CLIENT), CHILDID_SELF, props,
                                         2);
        }
        annotations_->Release();
    }
    if (tips_ != nullptr) {
        DestroyWindow(tips_);
    }
    for (Control& control : controls_) {
        if (control.font != nullptr) {
            DeleteObject(control.font);
        }
        if (control.picture != nullptr) {
            DeleteObject(control.picture);
        }
        if (control.scaledPicture != nullptr) {
            DeleteObject(control.scaledPicture);
        }
    }
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

Control* FormControls::Find(std::string_view name) {
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : &controls_[found->second];
}

const Control* FormControls::Find(std::string_view name) const {
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : &controls_[found->second];
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
    control.window = CreateWindowExW(made.exStyle, made.name, caption.c_str(), made.style, 0, 0, 0,
                                     0, parent_, reinterpret_cast<HMENU>(INT_PTR(control.id)),
                                     GetModuleHandleW(nullptr), nullptr);
    control.font = MakeFont(design.font, dpi_);
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(control.font), FALSE);
    Place(control);
    if (design.kind == ControlKind::kEditableList) {
        for (const std::string& item : design.items) {
            SendMessageW(control.window, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
        }
        SetWindowTextW(control.window, Utf8ToWide(design.caption).c_str());
        FitDroppedList(control);
    } else if (design.kind == ControlKind::kFolderList) {
        control.folders = std::make_unique<FolderList>(control.window);
    }
}

void FormControls::Place(const Control& control) {
    const ControlSpec& design = *control.design;
    RECT box = TwipsRect(design);
    if (control.leftTwips) {
        OffsetRect(&box, Pixels(*control.leftTwips) - Pixels(design.left), 0);
    }
    if (design.kind == ControlKind::kPicture && control.picture != nullptr) {
        // A picture's size is its own, grown with the DPI (ShowPicture).
        SetWindowPos(control.window, nullptr, box.left, box.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    if (design.kind == ControlKind::kLabel && !design.growsToRightEdge) {
        ControlSpec room = design;
        room.width = LabelRoomTwips(table_, design);
        box.right = TwipsRect(room).right + (box.left - TwipsRect(design).left);
    }
    int height = box.bottom - box.top;
    if (design.kind == ControlKind::kEditableList || design.kind == ControlKind::kDriveList) {
        height += Pixels(kDropDownTwips);
    }
    SetWindowPos(control.window, nullptr, box.left, box.top, box.right - box.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (design.kind == ControlKind::kEditableList || design.kind == ControlKind::kDriveList) {
        // The field keeps the height of the layout; the list drops below it.
        // Left to the font, a field grows less than the layout with the DPI.
        SendMessageW(control.window, CB_SETITEMHEIGHT, WPARAM(-1), Pixels(design.height) - 6);
        FitDroppedList(control);
    }
}

void FormControls::Refit(const Control& control) {
    if (control.design->kind == ControlKind::kEditableList ||
        control.design->kind == ControlKind::kDriveList) {
        FitDroppedList(control);
    } else if (ShowsAValue(*control.design)) {
        ShowWholeInTip(control);
    }
}

void FormControls::FitDroppedList(const Control& list) {
    HDC dc = GetDC(list.window);
    HGDIOBJ old = SelectObject(dc, list.font);
    int widest = 0;
    const LRESULT count = SendMessageW(list.window, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const std::wstring item = ListText(list.window, CB_GETLBTEXTLEN, CB_GETLBTEXT, i);
        SIZE size{};
        GetTextExtentPoint32W(dc, item.c_str(), int(item.size()), &size);
        widest = std::max(widest, int(size.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(list.window, dc);
    // The system's scroll bar is measured at the screen's DPI.
    HDC screen = GetDC(nullptr);
    const int screenDpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    RECT field;
    GetWindowRect(list.window, &field);
    const int width =
        DroppedListWidth(field.right - field.left, widest, MulDiv(kItemMarginPixels, dpi_, 96),
                         MulDiv(GetSystemMetrics(SM_CXVSCROLL), dpi_, screenDpi));
    SendMessageW(list.window, CB_SETDROPPEDWIDTH, WPARAM(width), 0);
}

void FormControls::ShowWholeInTip(const Control& label) {
    std::wstring text = WindowText(label.window);
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
    HDC dc = GetDC(caption.window);
    const int halfPoints = CaptionHalfPoints(*caption.design, [&](int size) {
        HFONT candidate = ResizedFont(caption.font, size, dpi_);
        HGDIOBJ old = SelectObject(dc, candidate);
        const RECT needed = Needed(dc, text, width);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        DeleteObject(candidate);
        // A last line that loses only the tails of its descenders still reads.
        return needed.right <= width && needed.bottom - metrics.tmDescent <= height;
    });
    ReleaseDC(caption.window, dc);
    if (halfPoints != caption.design->font.points * 2) {
        HFONT font = ResizedFont(caption.font, halfPoints, dpi_);
        SendMessageW(caption.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        DeleteObject(caption.font);
        caption.font = font;
    }
}

void FormControls::GrowToRightEdge(const Control& label) {
    const RECT box = TwipsRect(*label.design);
    const Extent room = PromptRoomTwips(table_, *label.design);
    HDC dc = GetDC(label.window);
    HGDIOBJ old = SelectObject(dc, label.font);
    const std::wstring text = WindowText(label.window);
    SIZE needed{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &needed);
    // Two pixels more, so the last character is not clipped by the static's
    // own rounding.
    const Extent grown = GrownPrompt(
        {box.right - box.left, box.bottom - box.top}, {Pixels(room.width), Pixels(room.height)},
        needed.cx + 2, [&](int width) { return int(Needed(dc, text, width - 2).bottom); });
    SelectObject(dc, old);
    ReleaseDC(label.window, dc);
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
            HWND lower = Find(designed[i]->name)->window;
            HWND above = GetWindow(lower, GW_HWNDPREV);
            SetWindowPos(Find(designed[j]->name)->window, above != nullptr ? above : HWND_TOP, 0, 0,
                         0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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

void FormControls::Annotate() {
    // Readers take a field's name from the label created before it; a
    // control with no caption on screen, or one whose caption needs more, is
    // annotated. Where the system has no annotations, readers go without.
    for (const Control& control : controls_) {
        const ControlSpec& design = *control.design;
        if (design.accessibleName.empty() && design.describedBy.empty()) {
            continue;
        }
        if (annotations_ == nullptr &&
            FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices,
                                    reinterpret_cast<void**>(&annotations_)))) {
            annotations_ = nullptr;
            return;
        }
        if (!design.accessibleName.empty()) {
            annotations_->SetHwndPropStr(control.window, DWORD(OBJID_CLIENT), CHILDID_SELF,
                                         PROPID_ACC_NAME,
                                         Utf8ToWide(design.accessibleName).c_str());
        }
        if (!design.describedBy.empty()) {
            annotations_->SetHwndPropStr(
                control.window, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_DESCRIPTION,
                Utf8ToWide(table_.Control(design.describedBy).caption).c_str());
        }
    }
}

void FormControls::Rescale(int dpi) {
    dpi_ = dpi;
    for (Control& control : controls_) {
        HFONT font = MakeFont(control.design->font, dpi_);
        SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        DeleteObject(control.font);
        control.font = font;
        Place(control);
        if (control.picture != nullptr) {
            ShowPicture(control, control.picture);
        }
    }
    Fit();
}

void FormControls::SetPicture(Control& control, HBITMAP picture) {
    HBITMAP previous = std::exchange(control.picture, picture);
    ShowPicture(control, previous);
    if (previous != nullptr) {
        DeleteObject(previous);
    }
}

void FormControls::ShowPicture(Control& control, HBITMAP previous) {
    // At 96 DPI the picture shows exactly as drawn.
    HBITMAP scaled =
        control.picture != nullptr && dpi_ != 96 ? ScaledPicture(control.picture, dpi_) : nullptr;
    HBITMAP shown = scaled != nullptr ? scaled : control.picture;
    // The control takes the size of what it shows. Common controls 6 show a
    // copy of a bitmap with alpha and hand the copy back here: it is ours.
    auto* old = reinterpret_cast<HBITMAP>(
        SendMessageW(control.window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown)));
    if (old != nullptr && old != previous && old != control.scaledPicture) {
        DeleteObject(old);
    }
    if (control.scaledPicture != nullptr) {
        DeleteObject(control.scaledPicture);
    }
    control.scaledPicture = scaled;
}

}  // namespace launcher::win32
