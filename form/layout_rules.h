// The layout rules both front ends draw by: twips to pixels, the room a
// caption has and the size it steps down to, and how far a one-line prompt
// may grow. The front ends only measure text in the face at hand.
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

// The captions were laid out for a narrow face. Where the face at hand is
// wider, a caption steps down in half points from its designed size, to 6
// points at the least, rather than lose its end: the first size that `fits`,
// or 6 points.
int CaptionHalfPoints(const ControlSpec& caption, const std::function<bool(int halfPoints)>& fits);

// The width of a one-line label that needs `needed` pixels: at least its
// designed `width`, at most up to the client area's right edge (`room` pixels
// from its left edge), never less than designed.
int GrownWidth(int width, int needed, int room);

}  // namespace launcher
