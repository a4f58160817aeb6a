#include "win32/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>

#include "profile/win32_text.h"
#include "win32/picture.h"

namespace launcher::win32 {

namespace {

constexpr wchar_t kClassName[] = L"RadavueLauncherForm";
// Posted to a discarded window: it goes once the event in hand is done.
constexpr UINT kDiscardMessage = WM_APP + 1;
constexpr int kFirstControlId = 100;
// How far an editable list's drop-down reaches below its field.
constexpr int kDropDownTwips = 2400;

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// Windows 10 and later; older systems and some Wine versions lack them.
template <typename Fn>
Fn User32(const char* name) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

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

// The face the table names at its size, or the system's message face at that
// size when the machine lacks it.
HFONT MakeFont(const FontSpec& design, int dpi) {
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
    return CreateFontIndirectW(&font);
}

COLORREF ToColorRef(Rgb rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
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

void RegisterFormClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.hInstance = GetModuleHandleW(nullptr);
        form.lpszClassName = kClassName;
        form.lpfnWndProc = procedure;
        form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        form.hIcon = LoadIconW(form.hInstance, MAKEINTRESOURCEW(1));
        return RegisterClassExW(&form) != 0;
    }();
    (void)registered;
}

// Every control's folder path without a trailing separator but on a root.
std::wstring Trimmed(std::wstring path) {
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) {
        path.pop_back();
    }
    return path;
}

}  // namespace

FormWindow::FormWindow(const FormTable& table) : table_(table) {
    RegisterFormClass(&FormWindow::Procedure);
    const bool dialog = table.name != "Form1";
    const DWORD style =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (dialog ? 0 : WS_MINIMIZEBOX);
    // No owner: each window stands alone on the task bar and none stays
    // above another.
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, Utf8ToWide(table.caption).c_str(),
                              style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
    dpi_ = WindowDpi(window_);
    background_ = table.background ? CreateSolidBrush(ToColorRef(*table.background))
                                   : GetSysColorBrush(COLOR_BTNFACE);

    const RECT outer = OuterRect(Pixels(table.clientWidth), Pixels(table.clientHeight), style,
                                 WS_EX_CONTROLPARENT, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Creation order is the order of the keyboard's Tab and of the readers'
    // captions: a label that names a field comes right before it.
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
    for (Control& control : controls_) {
        if (!control.design->captionOf.empty()) {
            FitCaption(control);
        }
    }
    // Where two labels overlap, the later one lies above the earlier, as the
    // layout was drawn; labels take no focus, so Tab is not moved.
    const std::vector<const ControlSpec*> designed = table.CreationOrder();
    for (std::size_t i = 0; i < designed.size(); ++i) {
        for (std::size_t j = i + 1; j < designed.size(); ++j) {
            if (designed[i]->kind != ControlKind::kLabel ||
                designed[j]->kind != ControlKind::kLabel) {
                continue;
            }
            RECT a = TwipsRect(*designed[i]);
            RECT b = TwipsRect(*designed[j]);
            RECT both;
            if (!IntersectRect(&both, &a, &b)) {
                continue;
            }
            HWND lower = control(designed[i]->name);
            HWND above = GetWindow(lower, GW_HWNDPREV);
            SetWindowPos(control(designed[j]->name), above != nullptr ? above : HWND_TOP, 0, 0, 0,
                         0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    // Pictures lie under everything else.
    for (const Control& control : controls_) {
        if (control.design->kind == ControlKind::kPicture) {
            SetWindowPos(control.window, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    // The focus starts on the first control in tab order (Launch, Go, ...).
    const std::vector<const ControlSpec*> focus = table.FocusOrder();
    if (!focus.empty()) {
        lastFocus_ = control(focus.front()->name);
    }
}

FormWindow::~FormWindow() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    for (Control& control : controls_) {
        if (control.font != nullptr) {
            DeleteObject(control.font);
        }
        if (control.picture != nullptr) {
            DeleteObject(control.picture);
        }
    }
    if (table_.background) {
        DeleteObject(background_);
    }
}

int FormWindow::Pixels(int twips) const {
    return TwipsToPixels(twips, dpi_);
}

RECT FormWindow::TwipsRect(const ControlSpec& design) const {
    int left = design.left;
    int top = design.top;
    // A frame's controls are the window's children placed inside it: a
    // group box passes no messages on to children of its own.
    if (!design.container.empty()) {
        const ControlSpec& frame = table_.Control(design.container);
        left += frame.left;
        top += frame.top;
    }
    return RECT{Pixels(left), Pixels(top), Pixels(left + design.width),
                Pixels(top + design.height)};
}

void FormWindow::Place(const Control& control, int widthTwips, int heightTwips) {
    const ControlSpec& design = *control.design;
    RECT box = TwipsRect(design);
    const int width = widthTwips >= 0 ? Pixels(widthTwips) : box.right - box.left;
    int height = heightTwips >= 0 ? Pixels(heightTwips) : box.bottom - box.top;
    if (design.kind == ControlKind::kEditableList || design.kind == ControlKind::kDriveList) {
        height += Pixels(kDropDownTwips);
    }
    SetWindowPos(control.window, nullptr, box.left, box.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::Build(Control& control) {
    const ControlSpec& design = *control.design;
    const wchar_t* className = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (design.kind) {
        case ControlKind::kFrame:
            className = L"BUTTON";
            style |= BS_GROUPBOX;
            // Drawn after the controls inside it, so it never paints over them.
            exStyle |= WS_EX_TRANSPARENT;
            break;
        case ControlKind::kLabel:
            // Captions come from INI files and picks: "&" is a character. A
            // label that lies under another one never paints over it.
            style |= SS_NOPREFIX | WS_CLIPSIBLINGS |
                     (design.align == TextAlign::kCentre ? SS_CENTER : SS_LEFT);
            break;
        case ControlKind::kTextBox:
            className = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::kEditableList:
            className = L"COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
            break;
        case ControlKind::kCheckBox:
            className = L"BUTTON";
            style |= WS_TABSTOP | BS_AUTOCHECKBOX;
            break;
        case ControlKind::kButton:
            // A push button, never a default one: Return presses nothing.
            className = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::kPicture:
            style |= SS_BITMAP;
            break;
        case ControlKind::kDriveList:
            className = L"COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
            break;
        case ControlKind::kFolderList:
            className = L"LISTBOX";
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
    }
    const std::wstring caption =
        design.kind == ControlKind::kEditableList ? std::wstring() : Utf8ToWide(design.caption);
    control.window = CreateWindowExW(exStyle, className, caption.c_str(), style, 0, 0, 0, 0,
                                     window_, reinterpret_cast<HMENU>(INT_PTR(control.id)),
                                     GetModuleHandleW(nullptr), nullptr);
    control.font = MakeFont(design.font, dpi_);
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(control.font), FALSE);
    Place(control, -1, -1);
    if (design.kind == ControlKind::kEditableList) {
        // The field keeps the height of the layout; the list drops below it.
        const int field = Pixels(design.height) - 6;
        SendMessageW(control.window, CB_SETITEMHEIGHT, WPARAM(-1), field);
        setting_ = true;
        for (const std::string& item : design.items) {
            SendMessageW(control.window, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
        }
        SetWindowTextW(control.window, Utf8ToWide(design.caption).c_str());
        setting_ = false;
    }
}

void FormWindow::FitCaption(Control& caption) {
    // The captions were laid out for a narrow face. Where the face at hand is
    // wider, a caption steps down in size rather than lose its end under the
    // field that overlaps its right part (or past its own edge).
    const RECT box = TwipsRect(*caption.design);
    const RECT field = TwipsRect(table_.Control(caption.design->captionOf));
    int width = box.right - box.left;
    if (field.top < box.bottom && field.bottom > box.top && field.left > box.left) {
        width = std::min<int>(width, field.left - box.left);
    }
    const std::wstring text = Utf8ToWide(caption.design->caption);
    HDC dc = GetDC(caption.window);
    for (int points = caption.design->font.points * 2; points >= 12; --points) {
        LOGFONTW font{};
        GetObjectW(caption.font, sizeof font, &font);
        font.lfHeight = -MulDiv(points, dpi_, 144);  // half points
        HFONT candidate = CreateFontIndirectW(&font);
        HGDIOBJ old = SelectObject(dc, candidate);
        RECT needed{0, 0, width, 0};
        DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        // A last line that loses only the tails of its descenders still reads.
        const bool fits =
            needed.right <= width && needed.bottom - metrics.tmDescent <= box.bottom - box.top;
        if (fits || points == 12) {
            if (points != caption.design->font.points * 2) {
                SendMessageW(caption.window, WM_SETFONT, reinterpret_cast<WPARAM>(candidate), TRUE);
                DeleteObject(caption.font);
                caption.font = candidate;
            } else {
                DeleteObject(candidate);
            }
            break;
        }
        DeleteObject(candidate);
    }
    ReleaseDC(caption.window, dc);
}

FormWindow::Control* FormWindow::Find(std::string_view name) {
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : &controls_[found->second];
}

const FormWindow::Control* FormWindow::Find(std::string_view name) const {
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : &controls_[found->second];
}

FormWindow::Control* FormWindow::FindById(int id) {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(controls_.size())) {
        return nullptr;
    }
    return &controls_[static_cast<std::size_t>(index)];
}

HWND FormWindow::control(std::string_view name) const {
    return Find(name)->window;
}

std::string FormWindow::Text(std::string_view name) const {
    const Control& control = *Find(name);
    switch (control.design->kind) {
        case ControlKind::kFolderList:
            return control.folder;
        case ControlKind::kDriveList:
            return WideToUtf8(ListText(control.window, CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                       SendMessageW(control.window, CB_GETCURSEL, 0, 0)));
        case ControlKind::kPicture:
            return {};
        default:
            return WideToUtf8(WindowText(control.window));
    }
}

void FormWindow::SetText(std::string_view name, std::string_view value) {
    Control& control = *Find(name);
    const std::wstring text = Utf8ToWide(value);
    setting_ = true;
    switch (control.design->kind) {
        case ControlKind::kFolderList:
            OpenFolder(control, std::string(value));
            break;
        case ControlKind::kDriveList:
            SendMessageW(control.window, CB_SETCURSEL,
                         WPARAM(SendMessageW(control.window, CB_FINDSTRINGEXACT, WPARAM(-1),
                                             reinterpret_cast<LPARAM>(text.c_str()))),
                         0);
            break;
        case ControlKind::kEditableList:
            SendMessageW(control.window, CB_SETCURSEL, WPARAM(-1), 0);
            SetWindowTextW(control.window, text.c_str());
            break;
        default:
            // Labels are set only when they change, so they do not flicker at
            // each tick.
            if (WindowText(control.window) != text) {
                SetWindowTextW(control.window, text.c_str());
            }
            break;
    }
    setting_ = false;
}

int FormWindow::Value(std::string_view name) const {
    return SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void FormWindow::SetValue(std::string_view name, int value) {
    SendMessageW(control(name), BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FormWindow::AddItems(std::string_view name, const std::vector<std::string>& items) {
    HWND list = control(name);
    // Adding items selects none and keeps an editable list's text.
    setting_ = true;
    for (const std::string& item : items) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    }
    setting_ = false;
}

void FormWindow::SetVisible(std::string_view name, bool visible) {
    Control& changed = *Find(name);
    changed.shown = visible;
    // The controls of a frame are the window's own children, so they follow
    // their frame by hand, as they would inside it.
    for (const Control& control : controls_) {
        if (&control != &changed && control.design->container != name) {
            continue;
        }
        const Control* frame =
            control.design->container.empty() ? nullptr : Find(control.design->container);
        const bool effective = control.shown && (frame == nullptr || frame->shown);
        ShowWindow(control.window, effective ? SW_SHOWNA : SW_HIDE);
    }
}

void FormWindow::SetLeft(std::string_view name, int twips) {
    HWND child = control(name);
    RECT box;
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&box), 2);
    SetWindowPos(child, nullptr, Pixels(twips), box.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::SetPicture(std::string_view name, const std::string& path) {
    Control& control = *Find(name);
    COLORREF background =
        table_.background ? ToColorRef(*table_.background) : GetSysColor(COLOR_BTNFACE);
    HBITMAP picture = LoadPicture(path, background);
    // The control takes the picture's own size; an unusable picture leaves
    // it empty.
    SendMessageW(control.window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    if (control.picture != nullptr) {
        DeleteObject(control.picture);
    }
    control.picture = picture;
}

bool FormWindow::OpenFolder(Control& list, const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    std::wstring full(MAX_PATH, L'\0');
    const DWORD length =
        GetFullPathNameW(Utf8ToWide(folder).c_str(), DWORD(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) {
        return false;
    }
    full.resize(length);
    full = Trimmed(full);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }

    std::vector<std::wstring> children;
    WIN32_FIND_DATAW found;
    const std::wstring pattern = full + (full.back() == L'\\' ? L"*" : L"\\*");
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    do {
        const std::wstring child = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && child != L"." &&
            child != L"..") {
            children.push_back(child);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(children.begin(), children.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) ==
               CSTR_LESS_THAN;
    });

    // The folders from the root down to the open one, then those inside it,
    // each indented one step further.
    std::vector<std::wstring> ancestors;
    for (std::wstring path = full;;) {
        ancestors.insert(ancestors.begin(), path);
        const std::size_t cut = path.find_last_of(L'\\');
        if (path.size() <= 3 || cut == std::wstring::npos) {
            break;
        }
        path = cut < 3 ? path.substr(0, 3) : path.substr(0, cut);
    }
    SendMessageW(list.window, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list.window, LB_RESETCONTENT, 0, 0);
    list.folderPaths.clear();
    int depth = 0;
    for (const std::wstring& ancestor : ancestors) {
        const std::size_t cut = ancestor.find_last_of(L'\\');
        const std::wstring name =
            depth == 0 || cut == std::wstring::npos ? ancestor : ancestor.substr(cut + 1);
        const std::wstring row = std::wstring(std::size_t(depth) * 2, L' ') + name;
        SendMessageW(list.window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        list.folderPaths.push_back(WideToUtf8(ancestor));
        ++depth;
    }
    const int open = depth - 1;
    for (const std::wstring& child : children) {
        const std::wstring row = std::wstring(std::size_t(depth) * 2, L' ') + child;
        SendMessageW(list.window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        list.folderPaths.push_back(WideToUtf8(full + (full.back() == L'\\' ? L"" : L"\\") + child));
    }
    SendMessageW(list.window, LB_SETCURSEL, WPARAM(open), 0);
    SendMessageW(list.window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list.window, nullptr, TRUE);
    list.folder = WideToUtf8(full);
    return true;
}

void FormWindow::PointAtDrive(std::string_view name, std::string_view drive) {
    Control& list = *Find(name);
    // Opening the root on every tick would undo the user's navigation. A
    // drive that cannot be read is tried again at the next tick, so a medium
    // put in later is found.
    if (drive.empty() || drive == list.drive) {
        return;
    }
    if (OpenFolder(list, std::string(drive))) {
        list.drive = drive;
    }
}

std::string FormWindow::Caption() const {
    return WideToUtf8(WindowText(window_));
}

void FormWindow::SetCaption(std::string_view caption) {
    SetWindowTextW(window_, Utf8ToWide(caption).c_str());
}

void FormWindow::SetOuterHeight(int twips) {
    RECT outer;
    GetWindowRect(window_, &outer);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, Pixels(twips),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::ShowModeless() {
    if (!shownOnce_) {
        shownOnce_ = true;
        // Centred when first shown; later showings keep where the user put
        // the window. The others open where the system places new windows.
        if (table_.centred) {
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
            RECT outer;
            GetWindowRect(window_, &outer);
            const RECT& area = monitor.rcWork;
            SetWindowPos(window_, nullptr,
                         area.left + (area.right - area.left - (outer.right - outer.left)) / 2,
                         area.top + (area.bottom - area.top - (outer.bottom - outer.top)) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (IsIconic(window_)) {
        ShowWindow(window_, SW_RESTORE);
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

void FormWindow::Hide() {
    ShowWindow(window_, SW_HIDE);
}

void FormWindow::Discard() {
    ShowWindow(window_, SW_HIDE);
    discarded_ = true;
    PostMessageW(window_, kDiscardMessage, 0, 0);
}

void FormWindow::StartTimers() {
    for (std::size_t i = 0; i < table_.timers.size(); ++i) {
        SetTimer(window_, i + 1, static_cast<UINT>(table_.timers[i].intervalMs), nullptr);
    }
}

FormWindow* FormWindow::FromHandle(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (lstrcmpW(name, kClassName) != 0) {
        return nullptr;
    }
    auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return form != nullptr && !form->discarded_ ? form : nullptr;
}

bool FormWindow::PreTranslate(MSG& message) {
    if (IsDialogMessageW(window_, &message) == FALSE) {
        return false;
    }
    // The dialog manager makes a push button the default one when the
    // keyboard moves to it, and Return would then press it: these windows
    // have none.
    for (const Control& control : controls_) {
        if (control.design->kind == ControlKind::kButton &&
            (SendMessageW(control.window, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0) {
            SendMessageW(control.window, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        }
    }
    return true;
}

LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr || form->window_ == nullptr) {
        return DefWindowProcW(window, message, w, l);
    }
    return form->Handle(message, w, l);
}

LRESULT FormWindow::Handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window_, &client);
            FillRect(reinterpret_cast<HDC>(w), &client, background_);
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(w);
            const auto id = GetDlgCtrlID(reinterpret_cast<HWND>(l));
            const Control* control = FindById(id);
            COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
            if (control != nullptr && control->design->textColour) {
                text = ToColorRef(*control->design->textColour);
            }
            SetTextColor(dc, text);
            SetBkColor(dc, table_.background ? ToColorRef(*table_.background)
                                             : GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(background_);
        }
        case WM_COMMAND:
            // Return and Esc reach here as IDOK and IDCANCEL from no control:
            // neither has a meaning of its own.
            if (l != 0) {
                Command(LOWORD(w), HIWORD(w));
            }
            return 0;
        case WM_TIMER:
            if (w >= 1 && w <= table_.timers.size()) {
                OnTimer(table_.timers[w - 1].name);
            }
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(w) == WA_INACTIVE) {
                if (HWND focus = GetFocus(); focus != nullptr && IsChild(window_, focus)) {
                    lastFocus_ = focus;
                }
            } else if (lastFocus_ != nullptr && IsWindow(lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            return DefWindowProcW(window_, message, w, l);
        case WM_DPICHANGED: {
            dpi_ = HIWORD(w);
            for (Control& control : controls_) {
                HFONT font = MakeFont(control.design->font, dpi_);
                SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
                DeleteObject(control.font);
                control.font = font;
                if (control.design->kind != ControlKind::kPicture) {
                    Place(control, -1, -1);
                }
            }
            for (Control& control : controls_) {
                if (!control.design->captionOf.empty()) {
                    FitCaption(control);
                }
            }
            const RECT* suggested = reinterpret_cast<const RECT*>(l);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case kDiscardMessage:
            delete this;
            return 0;
        default:
            return DefWindowProcW(window_, message, w, l);
    }
}

void FormWindow::Command(int id, int code) {
    Control* control = FindById(id);
    if (control == nullptr || setting_ || discarded_) {
        return;
    }
    const std::string& name = control->design->name;
    switch (control->design->kind) {
        case ControlKind::kButton:
            if (code == BN_CLICKED) {
                OnClick(name);
            }
            break;
        case ControlKind::kTextBox:
            if (code == EN_CHANGE) {
                OnTextChanged(name, WideToUtf8(WindowText(control->window)));
            }
            break;
        case ControlKind::kEditableList: {
            HWND list = control->window;
            switch (code) {
                case CBN_DROPDOWN:
                    control->listDropped = true;
                    break;
                case CBN_CLOSEUP:
                    control->listDropped = false;
                    break;
                case CBN_EDITCHANGE:
                    OnTextChanged(name, WideToUtf8(WindowText(list)));
                    break;
                case CBN_SELENDOK:
                case CBN_SELCHANGE: {
                    // A pick: an item chosen from the dropped list, or moved to
                    // with the keyboard on the closed one. Moving through an
                    // open list picks nothing yet.
                    if (code == CBN_SELCHANGE && control->listDropped) {
                        break;
                    }
                    const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
                    if (index < 0) {
                        break;
                    }
                    // The field shows the item only after this notification.
                    const std::wstring item = ListText(list, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
                    setting_ = true;
                    SetWindowTextW(list, item.c_str());
                    setting_ = false;
                    OnTextChanged(name, WideToUtf8(item));
                    OnPick(name);
                    break;
                }
                default:
                    break;
            }
            break;
        }
        case ControlKind::kFolderList:
            if (code == LBN_DBLCLK) {
                const LRESULT row = SendMessageW(control->window, LB_GETCURSEL, 0, 0);
                if (row >= 0 && std::size_t(row) < control->folderPaths.size()) {
                    const std::string folder = control->folderPaths[std::size_t(row)];
                    OpenFolder(*control, folder);
                }
            }
            break;
        default:
            break;
    }
}

}  // namespace launcher::win32
