// The layout rules both front ends draw by: twips to pixels, the room a
// caption has and the size it steps down to, when a text fits its box, how
// far a one-line prompt may grow, where a window opens and where a field's
// caret goes so that it shows the start of its text. The front ends only
// measure text in the face at hand and ask the system for its work area.
#pragma once

#include <functional>

namespace launcher {

struct ControlSpec;
struct FormTable;

// Twips to pixels at `dpi` dots per inch, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi = 96) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

// The width in twips a caption may fill: its own, or less where the field it
// names lies across its right part.
int CaptionRoomTwips(const FormTable& table, const ControlSpec& caption);

// The width in twips a label may fill: its own, or less where a caption (a
// label naming a field) begins across its right part, so that a long text
// set into it is cut at its own edge and never paints over that caption.
int LabelRoomTwips(const FormTable& table, const ControlSpec& label);

// Whether a label shows a value the program fills in (a position, a
// frequency, a title) rather than a designed text: it has neither a text of
// its own nor a field it names. Its text may be of any length, so its whole
// text is also in its tooltip.
bool ShowsAValue(const ControlSpec& label);

// The width in pixels of a list's drop-down: its field's, or wider where its
// widest item needs more (`widestText`, plus `margins` the list leaves either
// side of an item, plus its vertical scroll bar), so that every item shows
// whole: alike names that differ only in their middle or end stay apart.
int DroppedListWidth(int fieldWidth, int widestText, int margins, int scrollBar);

// A width and a height, in twips or in pixels as the function says.
struct Extent {
    int width = 0;
    int height = 0;

    bool operator==(const Extent&) const = default;
};

// Whether a text that word-wraps to `needed` pixels in a face whose lines
// reach `descent` pixels below their base line fits `box`: as wide at most,
// and as high at most once the last line loses only the tails of its
// descenders, for it still reads.
bool TextFits(Extent needed, int descent, Extent box);

// The captions were laid out for a narrow face. Where the face at hand is
// wider, a caption steps down in half points from its designed size, to 6
// points at the least, rather than lose its end: the first size that `fits`,
// or 6 points.
int CaptionHalfPoints(const ControlSpec& caption, const std::function<bool(int halfPoints)>& fits);

// The width of a one-line label that needs `needed` pixels: at least its
// designed `width`, at most up to the client area's right edge (`room` pixels
// from its left edge), never less than designed.
int GrownWidth(int width, int needed, int room);

// The room a growing prompt has from its own top left corner, in twips: to
// the client area's right edge, and down to the first control below it that
// lies across that width (or the client area's bottom edge).
Extent PromptRoomTwips(const FormTable& table, const ControlSpec& prompt);

// The size in pixels of a prompt that grows where the face at hand is wider
// than the designed one: first wider, up to the room's width, for its one line
// (`oneLine` pixels); where even that is too narrow, taller, up to the room's
// height, for the lines it wraps to at that width (`wrappedHeight(width)`
// pixels), so that it shows whole rather than lose its end. Never smaller
// than designed.
Extent GrownPrompt(Extent designed, Extent room, int oneLine,
                   const std::function<int(int width)>& wrappedHeight);

// A place and size on the screen, in pixels.
struct ScreenArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A window's top left corner, outer frame included, in pixels.
struct Origin {
    int left = 0;
    int top = 0;

    bool operator==(const Origin&) const = default;
};

// Whether a window is centred as it is shown: one whose table says so, on its
// first showing only. Later showings keep where the user put it; the other
// windows open where the system places new windows.
bool CentresOnShowing(const FormTable& table, bool firstShowing);

// Where a window of outer size `window` lies centred in `workArea` (the
// screen less its task bars); a window larger than the area overhangs it on
// both sides alike.
Origin CentredOrigin(ScreenArea workArea, Extent window);

// Where a single-line field's selection starts (`anchor`) and its caret
// stands, in characters.
struct FieldSelection {
    int anchor = 0;
    int caret = 0;

    bool operator==(const FieldSelection&) const = default;
};

// How a field shows its text after a pick, a load, a set text, the focus
// coming in or going out (typing leaves its end shown): from its start, as a
// list shows a picked item, whatever the length. A field that keeps its text
// selected (`selected`: the focused one, picked from or tabbed into, where
// typing replaces the text) has all of it selected back from the end to the
// caret at the start; any other has the caret at the start and nothing
// selected, for only the focused field shows a selection.
FieldSelection StartShown(int length, bool selected);

}  // namespace launcher
