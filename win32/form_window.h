// A window built from its form table with plain Windows controls: one child
// window per control, found by name, moving values between the controls and
// the presenter that runs the window. The five windows derive from it and
// only route their events.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "form/form_table.h"
#include "form/form_view.h"

namespace launcher::win32 {

class FormWindow : public FormView {
public:
    // Builds every control of `table`, hidden; `table` must outlive the
    // window.
    explicit FormWindow(const FormTable& table);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND handle() const { return window_; }
    const FormTable& table() const { return table_; }
    // The control named `name`; a name the window does not have is a
    // programming error.
    HWND control(std::string_view name) const;
    // The window's dots per inch, 96 at 100 %.
    int dpi() const { return dpi_; }

    std::string Text(std::string_view control) const override;
    void SetText(std::string_view control, std::string_view text) override;
    int Value(std::string_view control) const override;
    void SetValue(std::string_view control, int value) override;
    void AddItems(std::string_view control, const std::vector<std::string>& items) override;
    void SetVisible(std::string_view control, bool visible) override;
    void SetLeft(std::string_view control, int twips) override;
    void SetPicture(std::string_view control, const std::string& path) override;
    void PointAtDrive(std::string_view folderList, std::string_view drive) override;
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

protected:
    // The user's actions, each reported once; what the window sets itself
    // is never reported back.
    virtual void OnClick(std::string_view /*button*/) {}
    // An item was picked from an editable list's drop-down (never typing).
    virtual void OnPick(std::string_view /*list*/) {}
    // The text of a text box or an editable list changed, typed or picked.
    virtual void OnTextChanged(std::string_view /*control*/, const std::string& /*text*/) {}
    virtual void OnTimer(std::string_view /*timer*/) {}
    // The close box or the system menu closed the window.
    virtual void OnClose() {}

    // Starts the table's timers; a window's timers run from its load on.
    void StartTimers();

private:
    struct Control {
        const ControlSpec* design = nullptr;
        HWND window = nullptr;
        int id = 0;
        HFONT font = nullptr;
        HBITMAP picture = nullptr;
        bool listDropped = false;              // an editable list's drop-down is open
        bool shown = true;                     // its own visibility; a hidden frame hides it too
        std::string folder;                    // a folder list's open folder
        std::string drive;                     // the drive a folder list was pointed at
        std::vector<std::string> folderPaths;  // a folder list's rows
    };

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    void Build(Control& control);
    void Command(int id, int code);
    void FitCaption(Control& caption);
    void Place(const Control& control, int widthTwips, int heightTwips);
    RECT TwipsRect(const ControlSpec& design) const;
    int Pixels(int twips) const;
    Control* Find(std::string_view name);
    const Control* Find(std::string_view name) const;
    Control* FindById(int id);
    bool OpenFolder(Control& list, const std::string& folder);

    const FormTable& table_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    HBRUSH background_ = nullptr;
    std::vector<Control> controls_;  // in creation order
    std::map<std::string, std::size_t, std::less<>> byName_;
    // True while the window sets a control itself, so that the change is
    // not reported as the user's.
    bool setting_ = false;
    bool shownOnce_ = false;
    bool discarded_ = false;
    // The control that had the keyboard focus when the window was last left,
    // given it back when the window is active again, as dialogs do.
    HWND lastFocus_ = nullptr;
};

}  // namespace launcher::win32
