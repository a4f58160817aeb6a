#include "app/position_selection.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

namespace launcher {
namespace {

// Thirty plain strings stand in for the group fields.
class ArrayGroups final : public GroupTexts {
public:
    std::array<std::string, 30> texts;
    std::string Text(int group) const override { return texts.at(group - 1); }
    void SetText(int group, const std::string& text) override { texts.at(group - 1) = text; }
};

class PositionSelectionTest : public ::testing::Test {
protected:
    ArrayGroups groups_;
    std::map<std::string, std::string> frequencies_{{"EGLL_TWR", "118.500"},
                                                    {"EGKK_APP", "126.825"}};
    int lookups_ = 0;
    PositionSelection selection_{groups_, [this](const std::string& position) {
                                     ++lookups_;
                                     auto found = frequencies_.find(position);
                                     return found == frequencies_.end() ? "" : found->second;
                                 }};

    void Pick(int group, const std::string& item) {
        groups_.SetText(group, item);
        selection_.ClearOtherGroups(group);
    }
};

TEST_F(PositionSelectionTest, NothingIsSelectedOrLookedUpBeforeTheFirstText) {
    selection_.PollSelection();
    EXPECT_EQ(selection_.selectedPosition(), "");
    EXPECT_EQ(selection_.selectedFrequency(), "");
    EXPECT_EQ(lookups_, 0);
}

TEST_F(PositionSelectionTest, PickEmptiesEveryOtherGroupAndShowsAtTheNextPoll) {
    groups_.texts.fill("stale");
    Pick(3, "EGKK_APP");
    Pick(7, "EGLL_TWR");
    for (int m = 1; m <= 30; ++m) {
        EXPECT_EQ(groups_.Text(m), m == 7 ? "EGLL_TWR" : "") << "group " << m;
    }
    EXPECT_EQ(selection_.selectedPosition(), "");  // only the poll moves the selection
    selection_.PollSelection();
    EXPECT_EQ(selection_.selectedPosition(), "EGLL_TWR");
    EXPECT_EQ(selection_.selectedFrequency(), "118.500");
}

TEST_F(PositionSelectionTest, HighestGroupWithTextWinsAndTypingEmptiesNothing) {
    Pick(3, "EGKK_APP");
    groups_.SetText(2, "typed low");
    selection_.PollSelection();
    EXPECT_EQ(selection_.selectedPosition(), "EGKK_APP");
    EXPECT_EQ(selection_.selectedFrequency(), "126.825");

    groups_.SetText(12, "EGLL_TW");
    selection_.PollSelection();
    EXPECT_EQ(groups_.Text(3), "EGKK_APP");
    EXPECT_EQ(selection_.selectedPosition(), "EGLL_TW");
    EXPECT_EQ(selection_.selectedFrequency(), "");  // typed text is looked up like any other
    groups_.SetText(12, "EGLL_TWR");
    selection_.PollSelection();
    EXPECT_EQ(selection_.selectedFrequency(), "118.500");
}

TEST_F(PositionSelectionTest, SelectionNeverReturnsToEmptyAndIsLookedUpEveryTick) {
    Pick(5, "EGLL_TWR");
    selection_.PollSelection();
    groups_.SetText(5, "");
    frequencies_["EGLL_TWR"] = "118.700";  // the file changed meanwhile
    selection_.PollSelection();
    EXPECT_EQ(selection_.selectedPosition(), "EGLL_TWR");
    EXPECT_EQ(selection_.selectedFrequency(), "118.700");
    frequencies_.erase("EGLL_TWR");
    selection_.PollSelection();
    EXPECT_EQ(selection_.selectedFrequency(), "");
    EXPECT_EQ(lookups_, 3);
}

}  // namespace
}  // namespace launcher
