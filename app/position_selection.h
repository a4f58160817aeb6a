// Keeps one position selected across the thirty group lists and follows its
// frequency. Knows nothing of windows: the group texts come through an
// accessor and the frequency through a lookup function.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "catalogue/folder_values.h"

namespace launcher {

// The current text of each group's field, 1..30. The fields themselves are the
// only store of these texts.
class GroupTexts {
public:
    virtual ~GroupTexts() = default;
    virtual std::string Text(int group) const = 0;
    virtual void SetText(int group, const std::string& text) = 0;
};

using FrequencyLookup = std::function<std::string(const std::string& position)>;

class PositionSelection {
public:
    // Looks frequencies up in programFolder's freq.ini.
    PositionSelection(GroupTexts& groups, std::string_view programFolder);
    PositionSelection(GroupTexts& groups, FrequencyLookup lookup);

    // A position was picked from group n's list: every other group empties.
    void ClearOtherGroups(int n);

    // One tick: the highest-numbered group holding text becomes the selected
    // position (kept when all are empty), and its frequency is looked up anew.
    void PollSelection();

    const std::string& selectedPosition() const { return selectedPosition_; }
    const std::string& selectedFrequency() const { return selectedFrequency_; }

private:
    GroupTexts& groups_;
    FrequencyLookup lookup_;
    std::string selectedPosition_;
    std::string selectedFrequency_;
};

}  // namespace launcher
