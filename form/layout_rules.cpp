#include "form/layout_rules.h"

#include <algorithm>

#include "form/form_table.h"

namespace launcher {

int CaptionRoomTwips(const FormTable& table, const ControlSpec& caption) {
    const ControlSpec& field = table.Control(caption.captionOf);
    const bool across = field.top < caption.top + caption.height &&
                        field.top + field.height > caption.top && field.left > caption.left;
    return across ? std::min(caption.width, field.left - caption.left) : caption.width;
}

int LabelRoomTwips(const FormTable& table, const ControlSpec& label) {
    int right = label.left + label.width;
    for (const ControlSpec& other : table.controls) {
        const bool across = other.top < label.top + label.height &&
                            other.top + other.height > label.top && other.left > label.left &&
                            other.left < right;
        if (!other.captionOf.empty() && other.container == label.container && across) {
            right = other.left;
        }
    }
    return right - label.left;
}

bool ShowsAValue(const ControlSpec& label) {
    return label.kind == ControlKind::kLabel && label.caption.empty() && label.captionOf.empty();
}

int DroppedListWidth(int fieldWidth, int widestText, int margins, int scrollBar) {
    return std::max(fieldWidth, widestText + 2 * margins + scrollBar);
}

bool TextFits(Extent needed, int descent, Extent box) {
    return needed.width <= box.width && needed.height - descent <= box.height;
}

int CaptionHalfPoints(const ControlSpec& caption, const std::function<bool(int halfPoints)>& fits) {
    constexpr int kSmallest = 12;
    for (int halfPoints = caption.font.points * 2; halfPoints > kSmallest; --halfPoints) {
        if (fits(halfPoints)) {
            return halfPoints;
        }
    }
    return kSmallest;
}

int GrownWidth(int width, int needed, int room) {
    return std::clamp(needed, width, std::max(width, room));
}

Extent PromptRoomTwips(const FormTable& table, const ControlSpec& prompt) {
    const int bottom = prompt.top + prompt.height;
    int below = table.clientHeight;
    for (const ControlSpec& other : table.controls) {
        const bool across =
            other.left < table.clientWidth && other.left + other.width > prompt.left;
        if (&other != &prompt && other.container == prompt.container && across &&
            other.top >= bottom) {
            below = std::min(below, other.top);
        }
    }
    return {table.clientWidth - prompt.left, below - prompt.top};
}

Extent GrownPrompt(Extent designed, Extent room, int oneLine,
                   const std::function<int(int width)>& wrappedHeight) {
    const int width = GrownWidth(designed.width, oneLine, room.width);
    if (oneLine <= width) {
        return {width, designed.height};
    }
    return {width, std::clamp(wrappedHeight(width), designed.height,
                              std::max(designed.height, room.height))};
}

bool CentresOnShowing(const FormTable& table, bool firstShowing) {
    return table.centred && firstShowing;
}

Origin CentredOrigin(ScreenArea workArea, Extent window) {
    return {workArea.left + (workArea.width - window.width) / 2,
            workArea.top + (workArea.height - window.height) / 2};
}

FieldSelection StartShown(int length, bool selected) {
    return selected ? FieldSelection{length, 0} : FieldSelection{0, 0};
}

}  // namespace launcher
