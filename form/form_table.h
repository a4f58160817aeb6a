// A window as data: its controls, each with its kind, container, caption,
// place in twips and tab index. Every front end builds its windows from these
// tables, so a layout is written down once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

enum class ControlKind {
    kFrame,         // a group box; its caption is the group's title
    kLabel,         // plain text, never markup
    kTextBox,       // a single-line text field
    kEditableList,  // free text plus a drop-down list of items
    kCheckBox,
    kButton,   // never a default button: Return has no meaning of its own
    kPicture,  // a picture at its own size, never stretched
    kDriveList,
    kFolderList,
};

// An RGB colour as 0xRRGGBB.
using Rgb = std::uint32_t;

struct FontSpec {
    std::string_view face;
    int points = 8;
    bool bold = false;

    bool operator==(const FontSpec&) const = default;
};

// The face every window was designed with.
inline constexpr FontSpec kClassicFont{"MS Sans Serif", 8, false};

enum class TextAlign { kLeft, kCentre };

inline constexpr int kNoTabIndex = -1;

struct ControlSpec {
    std::string name{};  // the control's name, also its objectName
    ControlKind kind = ControlKind::kLabel;
    std::string container{};  // empty: the window itself; else a frame's name
    std::string caption{};    // caption or design-time text
    int left = 0;             // twips, inside the container
    int top = 0;
    int width = 0;
    int height = 0;
    int tabIndex = kNoTabIndex;  // pictures take none
    FontSpec font = kClassicFont;
    std::optional<Rgb> textColour{};  // the window's text colour when absent
    TextAlign align = TextAlign::kLeft;
    std::vector<std::string> items{};  // a list's design-time items
    std::string captionOf{};           // a label: the field it names, for readers
    // What readers announce a control by that has no caption on screen.
    std::string accessibleName{};
    // A label whose caption tells readers more of this control (two buttons
    // both read "Browse").
    std::string describedBy{};
    // A one-line label that may grow to the client area's right edge where
    // the face at hand is wider than the designed one.
    bool growsToRightEdge = false;
};

// A control in the window's own font and colours, left-aligned, as most are.
ControlSpec MakeControl(std::string_view name, ControlKind kind, std::string caption, int left,
                        int top, int width, int height, int tabIndex = kNoTabIndex,
                        std::string_view container = {});

// `label` as the caption that names `field` for screen readers.
ControlSpec CaptionOf(ControlSpec label, std::string_view field);

// `control` with its own font, text colour and alignment.
ControlSpec Styled(ControlSpec control, FontSpec font, std::optional<Rgb> textColour,
                   TextAlign align);

// `control` described for readers by the caption of the label `label`.
ControlSpec DescribedBy(ControlSpec control, std::string_view label);

struct TimerSpec {
    std::string name;
    int intervalMs = 0;
};

// The main window stands alone: it can be minimized and its close box ends
// the program. A dialog cannot be minimized and its closing never ends the
// program by itself.
enum class WindowRole { kMain, kDialog };

struct FormTable {
    std::string name;     // "Form1", ...
    std::string caption;  // the design-time window caption
    WindowRole role = WindowRole::kDialog;
    int clientWidth = 0;  // twips
    int clientHeight = 0;
    std::optional<Rgb> background;  // the system's window colour when absent
    bool centred = false;           // opens centred on the screen
    std::vector<ControlSpec> controls;
    std::vector<TimerSpec> timers;

    // The control named `wanted`; a name the window does not have is a
    // programming error.
    const ControlSpec& Control(std::string_view wanted) const;

    // The controls in the order a front end creates them, which is also their
    // stacking from the bottom up: pictures (which take no focus and lie
    // under everything) first, then the rest by tab index.
    std::vector<const ControlSpec*> CreationOrder() const;

    // The controls that can hold the focus, in tab order: by tab index,
    // leaving out frames, labels and pictures.
    std::vector<const ControlSpec*> FocusOrder() const;
};

}  // namespace launcher
