#include "app/position_selection.h"

#include <utility>

#include "catalogue/position_catalogue.h"

namespace launcher {

PositionSelection::PositionSelection(GroupTexts& groups, std::string_view programFolder)
    : PositionSelection(groups, [folder = std::string(programFolder)](const std::string& position) {
          return LookupFrequency(folder, position);
      }) {}

PositionSelection::PositionSelection(GroupTexts& groups, FrequencyLookup lookup)
    : groups_(groups), lookup_(std::move(lookup)) {}

void PositionSelection::ClearOtherGroups(int n) {
    for (int m = 1; m <= kGroupCount; ++m) {
        if (m != n) {
            groups_.SetText(m, {});
        }
    }
}

void PositionSelection::PollSelection() {
    // The highest non-empty group wins, so look from the top down and stop at
    // the first text found.
    for (int m = kGroupCount; m >= 1; --m) {
        std::string text = groups_.Text(m);
        if (!text.empty()) {
            selectedPosition_ = std::move(text);
            break;
        }
    }
    if (!selectedPosition_.empty()) {
        selectedFrequency_ = lookup_(selectedPosition_);
    }
}

}  // namespace launcher
