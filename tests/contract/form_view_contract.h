// What every front end's window keeps of the FormView contract
// (form/form_view.h), checked once against each: what the presenter sets is
// never reported back, a pick reports the new text and then the pick, one
// pick for each keyboard move, typing is text and no pick, a click is a click;
// SetFocus moves the keyboard there, and a field shows its start as
// StartShown (form/layout_rules.h) says.
//
// A front end runs the contract by linking the form_view_contract library
// into a GoogleTest executable of its own, with a main that sets the front
// end up, and by defining MakeContractDriver.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "form/form_view.h"
#include "form/layout_rules.h"

namespace launcher {

// How a failed check shows a field's selection.
void PrintTo(const FieldSelection& shown, std::ostream* out);

namespace contract {

// The user's hands and eyes on one front end's windows.
class ContractDriver {
public:
    enum class Key { kDown, kUp, kTab };

    virtual ~ContractDriver() = default;

    // The front end's maker of windows.
    virtual FormMaker& Maker() = 0;
    // Shows `view` and waits until it is the active window, so that it has
    // the keyboard.
    virtual void ShowActive(FormView& view) = 0;
    // Runs what the window system has queued, so that all the user's input
    // so far has been handled and reported.
    virtual void ProcessEvents() = 0;

    // `key` pressed and released with the keyboard in `control` (a text box,
    // an editable list's field, a closed list), as the user would: Tab goes
    // on to the next control in tab order.
    virtual void PressKey(FormView& view, std::string_view control, Key key) = 0;
    // `text` typed into a text box or an editable list's field, at its caret.
    virtual void Type(FormView& view, std::string_view control, std::string_view text) = 0;
    // A click with the mouse on a button.
    virtual void Click(FormView& view, std::string_view control) = 0;

    // The control of `view` that has the keyboard focus (an editable list
    // when its field has it); "" when none has.
    virtual std::string Focused(const FormView& view) = 0;
    // Where a text box's or an editable list's field has its selection and
    // caret.
    virtual FieldSelection Selection(const FormView& view, std::string_view control) = 0;
};

// Defined by each front end's run of the contract.
std::unique_ptr<ContractDriver> MakeContractDriver();

}  // namespace contract
}  // namespace launcher
