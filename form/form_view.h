// How a presenter sees its window: controls reached by name, the window's
// caption, height and visibility. Each front end implements it over the
// controls it built from the window's form table; tests implement it with a
// recorder.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

class FormView {
public:
    virtual ~FormView() = default;

    // A label's, frame's or button's caption, a text box's text, an editable
    // list's field, a folder list's open folder, a drive list's current drive.
    virtual std::string Text(std::string_view control) const = 0;
    // Sets what Text reads. An editable list's field takes the text with no
    // item selected; a folder list opens the folder (an unusable one leaves
    // the list as it was); a drive list makes the drive current.
    virtual void SetText(std::string_view control, std::string_view text) = 0;

    // A check box's value: 0 clear, 1 ticked.
    virtual int Value(std::string_view control) const = 0;
    virtual void SetValue(std::string_view control, int value) = 0;

    // Appends to a list's items; the field's text stays and no item becomes
    // selected.
    virtual void AddItems(std::string_view control, const std::vector<std::string>& items) = 0;

    virtual void SetVisible(std::string_view control, bool visible) = 0;
    // Gives a control the keyboard focus, as a click into it would.
    virtual void SetFocus(std::string_view control) = 0;
    // Moves a control's left edge, in twips; its other edges keep their place
    // relative to it.
    virtual void SetLeft(std::string_view control, int twips) = 0;
    // Shows the picture file at `path` at its own size, read only through
    // ReadPictureFile (form/picture_file.h). An empty path, a missing file or
    // one that is not a picture leave the control without a picture.
    virtual void SetPicture(std::string_view control, const std::string& path) = 0;
    // Points a folder list at a drive: another drive than the one it shows
    // opens that drive's root; the drive it is on keeps the open folder.
    virtual void PointAtDrive(std::string_view folderList, std::string_view drive) = 0;

    virtual std::string Caption() const = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    // The window's outer height, title bar and borders included, in twips;
    // width and position stay.
    virtual void SetOuterHeight(int twips) = 0;

    // Shows the window modeless, or brings it to the front when it is
    // visible (restored when minimized), with what it holds.
    virtual void ShowModeless() = 0;
    virtual void Hide() = 0;
    // Closes the window for good. The view deletes itself once the event in
    // hand is done, so a window may be discarded from its own handler; the
    // caller gives up ownership.
    virtual void Discard() = 0;
};

struct FormTable;

// What a window tells the presenter that runs it: the user's actions, each
// reported once (what the presenter sets itself is never reported back), the
// ticks of its timers and its close box.
class FormEvents {
public:
    virtual ~FormEvents() = default;
    virtual void OnClick(std::string_view /*button*/) {}
    // An item was picked from an editable list's drop-down (never typing).
    virtual void OnPick(std::string_view /*list*/) {}
    // The text of a text box or an editable list changed, typed or picked.
    virtual void OnTextChanged(std::string_view /*control*/, const std::string& /*text*/) {}
    virtual void OnTick(std::string_view /*timer*/) {}
    // The close box or the system menu closed the window.
    virtual void OnClose() {}
};

// Makes a window for any table, hidden, its timers running, reporting to
// `events`. The window only keeps `events` for later: it must not call it
// while being made. `table` and `events` must outlive the window.
class FormMaker {
public:
    virtual ~FormMaker() = default;
    virtual std::unique_ptr<FormView> Make(const FormTable& table, FormEvents& events) = 0;
};

// Drops `view` the way Discard says: never deleted in the middle of its own
// event.
inline void Discard(std::unique_ptr<FormView> view) {
    if (view != nullptr) {
        view.release()->Discard();
    }
}

}  // namespace launcher
