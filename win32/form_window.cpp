#include "win32/form_window.h"

#include <utility>

#include "form/layout_rules.h"
#include "profile/win32_text.h"
#include "win32/form_kit.h"
#include "win32/picture.h"

namespace launcher::win32 {

namespace {

constexpr wchar_t kClassName[] = L"RadavueLauncherForm";
// Posted to a discarded window: it goes once the event in hand is done.
// (MessageRouter posts WM_APP + 2 and + 3.)
constexpr UINT kDiscardMessage = WM_APP + 1;

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

DWORD StyleOf(WindowRole role) {
    // Only the main window can be minimized.
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN |
           (role == WindowRole::kMain ? WS_MINIMIZEBOX : 0);
}

}  // namespace

FormWindow::FormWindow(const FormTable& table, FormEvents& events) : table_(table) {
    RegisterFormClass(&FormWindow::Procedure);
    const DWORD style = StyleOf(table.role);
    // No owner: each window stands alone on the task bar and none stays
    // above another.
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, Utf8ToWide(table.caption).c_str(),
                              style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
    const int dpi = kit::WindowDpi(window_);
    background_ = table.background ? CreateSolidBrush(kit::ToColorRef(*table.background))
                                   : GetSysColorBrush(COLOR_BTNFACE);
    const RECT outer =
        kit::OuterRect(TwipsToPixels(table.clientWidth, dpi),
                       TwipsToPixels(table.clientHeight, dpi), style, WS_EX_CONTROLPARENT, dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    controls_ = std::make_unique<FormControls>(table, window_, dpi);
    router_ = std::make_unique<MessageRouter>(table, events, *controls_, window_, background_);
    // A window's timers run from its making on; the ids count from 1.
    for (std::size_t i = 0; i < table.timers.size(); ++i) {
        SetTimer(window_, i + 1, static_cast<UINT>(table.timers[i].intervalMs), nullptr);
    }
}

FormWindow::~FormWindow() {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    controls_.reset();  // their fonts, once no control draws with them
    if (table_.background) {
        DeleteObject(background_);
    }
}

Control& FormWindow::Find(std::string_view name) const {
    return controls_->Named(name);
}

HWND FormWindow::control(std::string_view name) const {
    return Find(name).window;
}

std::string FormWindow::Text(std::string_view name) const {
    const Control& control = Find(name);
    switch (control.design->kind) {
        case ControlKind::kFolderList:
            return control.folders->folder();
        case ControlKind::kDriveList:
            return WideToUtf8(kit::ListText(control.window, CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                            SendMessageW(control.window, CB_GETCURSEL, 0, 0)));
        case ControlKind::kPicture:
            return {};
        default:
            return WideToUtf8(kit::WindowText(control.window));
    }
}

void FormWindow::SetText(std::string_view name, std::string_view value) {
    Control& control = Find(name);
    const std::wstring text = Utf8ToWide(value);
    const MessageRouter::OwnChange own(*router_);
    switch (control.design->kind) {
        case ControlKind::kFolderList:
            control.folders->Open(value);
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
            kit::ShowStart(kit::FieldOf(control.window), false);
            break;
        case ControlKind::kTextBox:
            if (kit::WindowText(control.window) != text) {
                SetWindowTextW(control.window, text.c_str());
                kit::ShowStart(control.window, false);
            }
            break;
        default:
            // Labels are set only when they change, so they do not flicker at
            // each tick.
            if (kit::WindowText(control.window) != text) {
                SetWindowTextW(control.window, text.c_str());
                controls_->Refit(control);
            }
            break;
    }
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
    const MessageRouter::OwnChange own(*router_);
    for (const std::string& item : items) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    }
    controls_->Refit(Find(name));
}

void FormWindow::SetVisible(std::string_view name, bool visible) {
    Control& changed = Find(name);
    changed.shown = visible;
    // The controls of a frame are the window's own children, so they follow
    // their frame by hand, as they would inside it.
    for (const Control& control : controls_->all()) {
        if (&control != &changed && control.design->container != name) {
            continue;
        }
        const Control* frame = control.design->container.empty()
                                   ? nullptr
                                   : &controls_->Named(control.design->container);
        const bool effective = control.shown && (frame == nullptr || frame->shown);
        ShowWindow(control.window, effective ? SW_SHOWNA : SW_HIDE);
    }
}

void FormWindow::SetFocus(std::string_view name) {
    ::SetFocus(control(name));
}

void FormWindow::SetLeft(std::string_view name, int twips) {
    Find(name).leftTwips = twips;  // kept through a change of DPI
    HWND child = control(name);
    RECT box;
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&box), 2);
    SetWindowPos(child, nullptr, controls_->Pixels(twips), box.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::SetPicture(std::string_view name, const std::string& path) {
    // An unusable picture leaves the control empty.
    controls_->SetPicture(Find(name), LoadPicture(path, kit::BackgroundOf(table_)));
}

void FormWindow::PointAtDrive(std::string_view name, std::string_view drive) {
    Find(name).folders->PointAtDrive(drive);
}

std::string FormWindow::Caption() const {
    return WideToUtf8(kit::WindowText(window_));
}

void FormWindow::SetCaption(std::string_view caption) {
    SetWindowTextW(window_, Utf8ToWide(caption).c_str());
}

void FormWindow::SetOuterHeight(int twips) {
    RECT outer;
    GetWindowRect(window_, &outer);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, controls_->Pixels(twips),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::ShowModeless() {
    const bool first = !std::exchange(shownOnce_, true);
    if (CentresOnShowing(table_, first)) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
        RECT outer;
        GetWindowRect(window_, &outer);
        const RECT& area = monitor.rcWork;
        const Origin origin =
            CentredOrigin({area.left, area.top, area.right - area.left, area.bottom - area.top},
                          {outer.right - outer.left, outer.bottom - outer.top});
        SetWindowPos(window_, nullptr, origin.left, origin.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    router_->Discard();
    PostMessageW(window_, kDiscardMessage, 0, 0);
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
    return form != nullptr && !form->router_->discarded() ? form : nullptr;
}

bool FormWindow::PreTranslate(MSG& message) {
    return router_->PreTranslate(message);
}

LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr || form->router_ == nullptr) {
        return DefWindowProcW(window, message, w, l);
    }
    if (message == kDiscardMessage) {
        delete form;
        return 0;
    }
    return form->router_->Handle(message, w, l);
}

}  // namespace launcher::win32
