#include "win32/message_router.h"

#include <string>

#include "profile/win32_text.h"
#include "win32/form_kit.h"

namespace launcher::win32 {

namespace {

// Posted at a pick, for the list whose id it carries: the user's action in
// hand is over, so a later notification of the same item is a new pick.
constexpr UINT kPickDoneMessage = WM_APP + 2;
// Posted when a text box or an editable list takes the focus, for the control
// whose id it carries: an editable list selects its text only after telling
// of the focus.
constexpr UINT kFocusTakenMessage = WM_APP + 3;

}  // namespace

MessageRouter::MessageRouter(const FormTable& table, FormEvents& events, FormControls& controls,
                             HWND window, HBRUSH background)
    : table_(table),
      events_(events),
      controls_(controls),
      window_(window),
      background_(background) {
    const std::vector<const ControlSpec*> focus = table.FocusOrder();
    if (!focus.empty()) {
        lastFocus_ = controls_.Named(focus.front()->name).window;
    }
}

bool MessageRouter::PreTranslate(MSG& message) {
    // Return in a folder list opens the highlighted folder, as a double-click
    // does; the dialog manager would take it for a default button.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        if (Control* list = controls_.FindById(GetDlgCtrlID(message.hwnd));
            list != nullptr && list->window == message.hwnd &&
            list->design->kind == ControlKind::kFolderList) {
            list->folders->OpenSelectedRow();
            return true;
        }
    }
    if (IsDialogMessageW(window_, &message) == FALSE) {
        return false;
    }
    // Tab into an editable list selects all of its text, as into a text box;
    // the list itself does so only the first time it has the focus.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB) {
        HWND field = GetFocus();
        if (const Control* list = controls_.FindById(GetDlgCtrlID(GetParent(field)));
            list != nullptr && list->window == GetParent(field) &&
            list->design->kind == ControlKind::kEditableList) {
            SendMessageW(field, EM_SETSEL, 0, -1);
        }
    }
    // The dialog manager makes a push button the default one when the
    // keyboard moves to it, and Return would then press it: these windows
    // have none.
    for (const Control& control : controls_.all()) {
        if (control.design->kind == ControlKind::kButton &&
            (SendMessageW(control.window, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0) {
            SendMessageW(control.window, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        }
    }
    return true;
}

LRESULT MessageRouter::Handle(UINT message, WPARAM w, LPARAM l) {
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
            const Control* control = controls_.FindById(GetDlgCtrlID(reinterpret_cast<HWND>(l)));
            SetTextColor(dc, control != nullptr && control->design->textColour
                                 ? kit::ToColorRef(*control->design->textColour)
                                 : GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, kit::BackgroundOf(table_));
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
            controls_.Rescale(HIWORD(w));
            const RECT* suggested = reinterpret_cast<const RECT*>(l);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case kPickDoneMessage:
            if (Control* list = controls_.FindById(int(w)); list != nullptr) {
                list->pickInHand = CB_ERR;
                // The list has put the item in its field by now, the caret
                // after it.
                HWND field = kit::FieldOf(list->window);
                kit::ShowStart(field, GetFocus() == field);
            }
            return 0;
        case kFocusTakenMessage:
            if (const Control* control = controls_.FindById(int(w)); control != nullptr) {
                // Tab, or an editable list itself, selected the whole text
                // with the caret after it.
                HWND field = kit::FieldOf(control->window);
                if (GetFocus() == field && kit::WholeSelected(field)) {
                    kit::ShowStart(field, true);
                }
            }
            return 0;
        default:
            return DefWindowProcW(window_, message, w, l);
    }
}

void MessageRouter::Command(int id, int code) {
    Control* control = controls_.FindById(id);
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
                events_.OnTextChanged(name, WideToUtf8(kit::WindowText(control->window)));
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

void MessageRouter::FocusMoved(const Control& control, bool focused) {
    if (focused) {
        PostMessageW(window_, kFocusTakenMessage, WPARAM(control.id), 0);
    } else {
        // An editable list's field keeps showing its selection without the
        // focus; only the focused field shows one. A field left after typing
        // would go on showing the end of its text.
        kit::ShowStart(kit::FieldOf(control.window), false);
    }
}

void MessageRouter::ListCommand(Control& list, int code) {
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
            events_.OnTextChanged(name, WideToUtf8(kit::WindowText(list.window)));
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
            const std::wstring item =
                kit::ListText(list.window, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
            {
                const OwnChange own(*this);
                SetWindowTextW(list.window, item.c_str());
            }
            events_.OnTextChanged(name, WideToUtf8(item));
            events_.OnPick(name);
            break;
        }
        default:
            break;
    }
}

}  // namespace launcher::win32
