// The messages of a window built from a form table: the user's actions on its
// controls, its timers' ticks and its close box reported to the presenter's
// FormEvents, once each (a list tells of one pick with two notifications),
// and none of the changes the window makes itself; its colours; and the
// keyboard, with the focus given back as dialogs do.
#pragma once

#include <windows.h>

#include "form/form_table.h"
#include "form/form_view.h"
#include "win32/form_controls.h"

namespace launcher::win32 {

class MessageRouter {
public:
    // `table`, `events` and `controls` must outlive the router. The focus
    // starts on the first control in tab order.
    MessageRouter(const FormTable& table, FormEvents& events, FormControls& controls, HWND window,
                  HBRUSH background);
    MessageRouter(const MessageRouter&) = delete;
    MessageRouter& operator=(const MessageRouter&) = delete;

    // While one lives, the window changes its controls itself: what they
    // tell of the change is not the user's.
    class OwnChange {
    public:
        explicit OwnChange(MessageRouter& router) : router_(router) { router_.setting_ = true; }
        ~OwnChange() { router_.setting_ = false; }
        OwnChange(const OwnChange&) = delete;
        OwnChange& operator=(const OwnChange&) = delete;

    private:
        MessageRouter& router_;
    };

    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    // Keyboard messages for the window, before they are dispatched: Tab, the
    // arrow keys and mnemonics; true when it took the message.
    bool PreTranslate(MSG& message);
    // From now on nothing is reported.
    void Discard() { discarded_ = true; }
    bool discarded() const { return discarded_; }

private:
    void Command(int id, int code);
    void ListCommand(Control& list, int code);
    // A text box or an editable list took the focus or lost it.
    void FocusMoved(const Control& control, bool focused);

    const FormTable& table_;
    FormEvents& events_;
    FormControls& controls_;
    HWND window_;
    HBRUSH background_;
    bool setting_ = false;
    bool discarded_ = false;
    // The control that had the keyboard focus when the window was last left,
    // given it back when the window is active again, as dialogs do.
    HWND lastFocus_ = nullptr;
};

}  // namespace launcher::win32
