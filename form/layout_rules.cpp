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

}  // namespace launcher
