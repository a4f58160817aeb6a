// The position groups offered on the main window, read from config.ini.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "profile/program_files.h"

namespace launcher {

inline constexpr int kGroupCount = rules::kGroupNames.keys;
inline constexpr int kEntriesPerGroup = rules::kGroupItems.keys;
static_assert(rules::kGroupItems.sections == kGroupCount);

struct PositionGroup {
    int number = 0;    // 1..30: the group always shows in Frame<number> / Combo<number>
    std::string name;  // empty: the slot is unnamed and not offered
    std::vector<std::string> entries;

    bool operator==(const PositionGroup&) const = default;
};

struct PositionCatalogue {
    std::array<PositionGroup, kGroupCount> groups;  // groups[n - 1] is group n

    PositionCatalogue();
    const PositionGroup& group(int number) const { return groups.at(number - 1); }
    PositionGroup& group(int number) { return groups.at(number - 1); }

    bool operator==(const PositionCatalogue&) const = default;
};

// Reads the group names from "combo names" and the entries of each named group
// from "<n> items". Never fails: an absent file gives 30 unnamed groups.
PositionCatalogue LoadPositionCatalogue(std::string_view configFile);

// Outer height of the main window, in twips, revealing the rows down to the
// last row whose first group has entries.
int CatalogueWindowHeight(const PositionCatalogue& catalogue);

}  // namespace launcher
