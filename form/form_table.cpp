#include "form/form_table.h"

#include <algorithm>
#include <utility>

#include "base/expect.h"

namespace launcher {

ControlSpec MakeControl(std::string_view name, ControlKind kind, std::string caption, int left,
                        int top, int width, int height, int tabIndex, std::string_view container) {
    ControlSpec control;
    control.name = name;
    control.kind = kind;
    control.container = container;
    control.caption = std::move(caption);
    control.left = left;
    control.top = top;
    control.width = width;
    control.height = height;
    control.tabIndex = tabIndex;
    return control;
}

ControlSpec CaptionOf(ControlSpec label, std::string_view field) {
    label.captionOf = field;
    return label;
}

ControlSpec DescribedBy(ControlSpec control, std::string_view label) {
    control.describedBy = label;
    return control;
}

ControlSpec Styled(ControlSpec control, FontSpec font, std::optional<Rgb> textColour,
                   TextAlign align) {
    control.font = font;
    control.textColour = textColour;
    control.align = align;
    return control;
}

const ControlSpec& FormTable::Control(std::string_view wanted) const {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [wanted](const ControlSpec& c) { return c.name == wanted; });
    LAUNCHER_EXPECT(found != controls.end());
    return *found;
}

std::vector<const ControlSpec*> FormTable::CreationOrder() const {
    std::vector<const ControlSpec*> order;
    for (const ControlSpec& control : controls) {
        order.push_back(&control);
    }
    // Stable, so pictures keep the table's order among themselves.
    std::stable_sort(order.begin(), order.end(), [](const ControlSpec* a, const ControlSpec* b) {
        return a->tabIndex < b->tabIndex;
    });
    return order;
}

std::vector<const ControlSpec*> FormTable::FocusOrder() const {
    std::vector<const ControlSpec*> order = CreationOrder();
    std::erase_if(order, [](const ControlSpec* control) {
        return control->tabIndex == kNoTabIndex || control->kind == ControlKind::kFrame ||
               control->kind == ControlKind::kLabel || control->kind == ControlKind::kPicture;
    });
    return order;
}

}  // namespace launcher
