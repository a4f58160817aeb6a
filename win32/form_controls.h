// The controls of one window, built from its form table as plain Windows
// controls and placed at the window's DPI: classes and styles, fonts, the
// fitting of captions and the growing of prompts, and the stacking of what
// overlaps.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/form_table.h"
#include "win32/folder_list.h"
#include "win32/form_kit.h"
#include "win32/picture.h"
#include "win32/reading_order.h"

namespace launcher::win32 {

struct Control {
    const ControlSpec* design = nullptr;
    HWND window = nullptr;
    int id = 0;
    HFONT font = nullptr;                 // the window's Fonts own it
    ShownPicture picture;                 // a picture's
    std::optional<int> leftTwips;         // the left the presenter gave it, over its table's
    bool listDropped = false;             // an editable list's drop-down is open
    LRESULT pickInHand = CB_ERR;          // the item of the pick in hand, of an editable list
    bool shown = true;                    // its own visibility; a hidden frame hides it too
    std::unique_ptr<FolderList> folders;  // a folder list's
};

class FormControls {
public:
    // Builds every control of `table` as a child of `parent`, placed at
    // `dpi`. A frame's controls are the window's children placed inside it:
    // a group box passes no messages on to children of its own.
    FormControls(const FormTable& table, HWND parent, int dpi);
    // After the parent window is gone: the controls' fonts and pictures.
    ~FormControls();
    FormControls(const FormControls&) = delete;
    FormControls& operator=(const FormControls&) = delete;

    int dpi() const { return dpi_; }
    int Pixels(int twips) const;
    // Sizes every font and places every control again at `dpi`.
    void Rescale(int dpi);
    // Shows `picture` in the picture control, grown with the window's DPI,
    // and takes it over; null leaves the control empty.
    void SetPicture(Control& control, HBITMAP picture);
    // After a list's items or a value label's text changed: the list drops
    // as wide as its widest item, the label's tooltip holds its whole text.
    void Refit(const Control& control);

    // By name; a name the window does not have is a programming error.
    Control& Named(std::string_view name);
    const Control& Named(std::string_view name) const;
    // By child id; null for one that is not a control of the window (a
    // list's own field, say).
    Control* FindById(int id);
    std::vector<Control>& all() { return controls_; }

private:
    void Build(Control& control);
    // Where the control lies and how large it is made: a list's height
    // includes its drop-down.
    RECT Box(const Control& control) const;
    void Place(const Control& control);
    // A list's field keeps the layout's height; its drop-down lies below.
    void SetFieldHeight(const Control& list) const;
    void FitCaption(Control& caption);
    void GrowToRightEdge(const Control& label) const;
    void FitDroppedList(const Control& list) const;
    void ShowWholeInTip(const Control& label);
    void Fit();
    void Stack();
    RECT TwipsRect(const ControlSpec& design) const;

    const FormTable& table_;
    HWND parent_;
    int dpi_;
    int scrollBar_;  // the system's scroll bar's width at dpi_
    kit::Fonts fonts_;
    // Text is measured here, in the controls' fonts: a window's own DC costs
    // a round trip to the window system each time.
    HDC measure_;
    std::vector<Control> controls_;  // in creation order
    std::map<std::string, std::size_t, std::less<>> byName_;
    ReaderAnnotations annotations_;
    HWND tips_ = nullptr;  // the value labels' tooltips, once one has text
};

}  // namespace launcher::win32
