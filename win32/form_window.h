// A window built from any form table with plain Windows controls: the view
// its presenter reads and sets by control name. Its MessageRouter reports the
// user's actions, the timers' ticks and the close box to the presenter's
// FormEvents.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "form/form_table.h"
#include "form/form_view.h"
#include "win32/form_controls.h"
#include "win32/message_router.h"

namespace launcher::win32 {

class FormWindow final : public FormView {
public:
    // Builds every control of `table`, hidden, and starts its timers.
    // `table` and `events` must outlive the window; `events` hears nothing
    // while the window is being built.
    FormWindow(const FormTable& table, FormEvents& events);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND handle() const { return window_; }
    const FormTable& table() const { return table_; }
    // The control named `name`; a name the window does not have is a
    // programming error.
    HWND control(std::string_view name) const;
    // The window's dots per inch, 96 at 100 %.
    int dpi() const { return controls_->dpi(); }

    std::string Text(std::string_view name) const override;
    void SetText(std::string_view name, std::string_view value) override;
    int Value(std::string_view name) const override;
    void SetValue(std::string_view name, int value) override;
    void AddItems(std::string_view name, const std::vector<std::string>& items) override;
    void SetVisible(std::string_view name, bool visible) override;
    void SetLeft(std::string_view name, int twips) override;
    void SetFocus(std::string_view name) override;
    void SetPicture(std::string_view name, const std::string& path) override;
    void PointAtDrive(std::string_view name, std::string_view drive) override;
    std::string Caption() const override;
    void SetCaption(std::string_view caption) override;
    void SetOuterHeight(int twips) override;
    void ShowModeless() override;
    void Hide() override;
    void Discard() override;

    // The form whose top-level window is `window`, or null.
    static FormWindow* FromHandle(HWND window);

    // The message loop hands keyboard messages for this window here first,
    // for Tab, the arrow keys and mnemonics; true when it took the message.
    bool PreTranslate(MSG& message);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    Control& Find(std::string_view name) const;

    const FormTable& table_;
    HWND window_ = nullptr;
    HBRUSH background_ = nullptr;
    std::unique_ptr<FormControls> controls_;
    // Null while the controls are built: their messages are not the user's.
    std::unique_ptr<MessageRouter> router_;
    bool shownOnce_ = false;
};

}  // namespace launcher::win32
