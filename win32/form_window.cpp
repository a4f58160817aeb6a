#include "win32/form_window.h"

#include "form/layout_rules.h"
#include "profile/win32_text.h"
#include "win32/form_kit.h"
#include "win32/picture.h"

namespace launcher::win32 {

namespace {

constexpr wchar_t kClassName[] = L"RadavueLauncherForm";
// Posted to a discarded window: it goes once the event in hand is done.
constexpr UINT kDiscardMessage = WM_APP + 1;
// Posted at a pick, for the list whose id it carries: the user's action in
// hand is over, so a later notification of the same item is a new pick.
constexpr UINT kPickDoneMessage = WM_APP + 2;
// Posted when a text box or an editable list takes the focus, for the control
// whose id it carries: an editable list selects its text only after telling
// of the focus.
constexpr UINT kFocusTakenMessage = WM_APP + 3;

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

FormWindow::FormWindow(const FormTable& table, FormEvents& events)
    : table_(table), events_(events) {
    RegisterFormClass(&FormWindow::Procedure);
    const DWORD style = StyleOf(table.role);
    // No owner: each window stands alone on the task bar and none stays
    // above another.
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, Utf8ToWide(table.caption).c_str(),
                              style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
    const int dpi = WindowDpi(window_);
    background_ = table.background ? CreateSolidBrush(ToColorRef(*table.background))
                                   : GetSysColorBrush(COLOR_BTNFACE);
    const RECT outer =
        OuterRect(TwipsToPixels(table.clientWidth, dpi), TwipsToPixels(table.clientHeight, dpi),
                  style, WS_EX_CONTROLPARENT, dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    controls_ = std::make_unique<FormControls>(table, window_, dpi);

    // The focus starts on the first control in tab order (Launch, Go, ...).
    const std::vector<const ControlSpec*> focus = table.FocusOrder();
    if (!focus.empty()) {
        lastFocus_ = control(focus.front()->name);
    }
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
    return *controls_->Find(name);
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
            return WideToUtf8(ListText(control.window, CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                       SendMessageW(control.window, CB_GETCURSEL, 0, 0)));
        case ControlKind::kPicture:
            return {};
        default:
            return WideToUtf8(WindowText(control.window));
    }
}

void FormWindow::SetText(std::string_view name, std::string_view value) {
    Control& control = Find(name);
    const std::wstring text = Utf8ToWide(value);
    setting_ = true;
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
            ShowStart(FieldOf(control.window), false);
            break;
        case ControlKind::kTextBox:
            if (WindowText(control.window) != text) {
                SetWindowTextW(control.window, text.c_str());
                ShowStart(control.window, false);
            }
            break;
        default:
            // Labels are set only when they change, so they do not flicker at
            // each tick.
            if (WindowText(control.window) != text) {
                SetWindowTextW(control.window, text.c_str());
                controls_->Refit(control);
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
    controls_->Refit(Find(name));
    setting_ = false;
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
                                   : controls_->Find(control.design->container);
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
    controls_->SetPicture(Find(name), LoadPicture(path, BackgroundOf(table_)));
}

void FormWindow::PointAtDrive(std::string_view name, std::string_view drive) {
    Find(name).folders->PointAtDrive(drive);
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
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, controls_->Pixels(twips),
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
    // Return in a folder list opens the highlighted folder, as a double-click
    // does; the dialog manager would take it for a default button.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        if (Control* list = controls_->FindById(GetDlgCtrlID(message.hwnd));
            list != nullptr && list->window == message.hwnd &&
            list->design->kind == ControlKind::kFolderList) {
            list->folders->OpenSelectedRow();
            return true;
        }
    }
    if (IsDialogMessageW(window_, &message) == FALSE) {
        return false;
    }
    // The dialog manager makes a push button the default one when the
    // keyboard moves to it, and Return would then press it: these windows
    // have none.
    for (const Control& control : controls_->all()) {
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
    if (form == nullptr || form->controls_ == nullptr) {
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
            const Control* control = controls_->FindById(GetDlgCtrlID(reinterpret_cast<HWND>(l)));
            SetTextColor(dc, control != nullptr && control->design->textColour
                                 ? ToColorRef(*control->design->textColour)
                                 : GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, BackgroundOf(table_));
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
            if (w >= 1 && w <= table_.timers.size() && !discarded_) {
                events_.OnTick(table_.timers[w - 1].name);
            }
            return 0;
        case WM_CLOSE:
            events_.OnClose();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(w) == WA_INACTIVE) {
                if (HWND focus = GetFocus(); focus != nullptr && IsChild(window_, focus)) {
                    lastFocus_ = focus;
                }
            } else if (lastFocus_ != nullptr && IsWindow(lastFocus_)) {
                ::SetFocus(lastFocus_);
                return 0;
            }
            return DefWindowProcW(window_, message, w, l);
        case WM_DPICHANGED: {
            controls_->Rescale(HIWORD(w));
            const RECT* suggested = reinterpret_cast<const RECT*>(l);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case kDiscardMessage:
            delete this;
            return 0;
        case kPickDoneMessage:
            if (Control* list = controls_->FindById(int(w)); list != nullptr) {
                list->pickInHand = CB_ERR;
                // The list has put the item in its field by now, the caret
                // after it.
                HWND field = FieldOf(list->window);
                ShowStart(field, GetFocus() == field);
            }
            return 0;
        case kFocusTakenMessage:
            if (const Control* control = controls_->FindById(int(w)); control != nullptr) {
                // Tab, or an editable list itself, selected the whole text
                // with the caret after it.
                HWND field = FieldOf(control->window);
                if (GetFocus() == field && WholeSelected(field)) {
                    ShowStart(field, true);
                }
            }
            return 0;
        default:
            return DefWindowProcW(window_, message, w, l);
    }
}

void FormWindow::Command(int id, int code) {
    Control* control = controls_->FindById(id);
    if (control == nullptr || setting_ || discarded_) {
        return;
    }
    const std::string& name = control->design->name;
    switch (control->design->kind) {
        case ControlKind::kButton:
            if (code == BN_CLICKED) {
                events_.OnClick(name);
            }
            break;
        case ControlKind::kTextBox:
            if (code == EN_CHANGE) {
                events_.OnTextChanged(name, WideToUtf8(WindowText(control->window)));
            } else if (code == EN_SETFOCUS || code == EN_KILLFOCUS) {
                FocusMoved(*control, code == EN_SETFOCUS);
            }
            break;
        case ControlKind::kEditableList:
            ListCommand(*control, code);
            break;
        case ControlKind::kFolderList:
            if (code == LBN_DBLCLK) {
                control->folders->OpenSelectedRow();
            }
            break;
        default:
            break;
    }
}

void FormWindow::FocusMoved(const Control& control, bool focused) {
    if (focused) {
        PostMessageW(window_, kFocusTakenMessage, WPARAM(control.id), 0);
    } else {
        // An editable list's field keeps showing its selection without the
        // focus; only the focused field shows one. A field left after typing
        // would go on showing the end of its text.
        ShowStart(FieldOf(control.window), false);
    }
}

void FormWindow::ListCommand(Control& list, int code) {
    const std::string& name = list.design->name;
    switch (code) {
        case CBN_DROPDOWN:
            list.listDropped = true;
            break;
        case CBN_CLOSEUP:
            list.listDropped = false;
            break;
        case CBN_SETFOCUS:
        case CBN_KILLFOCUS:
            FocusMoved(list, code == CBN_SETFOCUS);
            break;
        case CBN_EDITCHANGE:
            events_.OnTextChanged(name, WideToUtf8(WindowText(list.window)));
            break;
        case CBN_SELENDOK:
        case CBN_SELCHANGE: {
            // A pick: an item chosen from the dropped list, or moved to with
            // the keyboard on the closed one. Moving through an open list
            // picks nothing yet. The closed list tells of a move with both
            // notifications, in the system's order: one pick.
            if (code == CBN_SELCHANGE && list.listDropped) {
                break;
            }
            const LRESULT index = SendMessageW(list.window, CB_GETCURSEL, 0, 0);
            if (index < 0 || index == list.pickInHand) {
                break;
            }
            list.pickInHand = index;
            PostMessageW(window_, kPickDoneMessage, WPARAM(list.id), 0);
            // The field shows the item only after this notification.
            const std::wstring item = ListText(list.window, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
            setting_ = true;
            SetWindowTextW(list.window, item.c_str());
            setting_ = false;
            events_.OnTextChanged(name, WideToUtf8(item));
            events_.OnPick(name);
            break;
        }
        default:
            break;
    }
}

}  // namespace launcher::win32
