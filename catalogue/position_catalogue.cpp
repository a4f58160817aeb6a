#include "catalogue/position_catalogue.h"

#include <string>

#include "profile/ini.h"
#include "profile/program_files.h"

namespace launcher {

PositionCatalogue::PositionCatalogue() {
    for (int n = 1; n <= kGroupCount; ++n) {
        group(n).number = n;
    }
}

PositionCatalogue LoadPositionCatalogue(std::string_view configFile) {
    PositionCatalogue catalogue;
    for (PositionGroup& group : catalogue.groups) {
        group.name = ReadIni(sections::kGroupNames, std::to_string(group.number), configFile);
        if (group.name.empty()) {
            continue;  // an unnamed group's items are never read
        }
        const std::string section = std::to_string(group.number) + " items";
        for (int k = 1; k <= kEntriesPerGroup; ++k) {
            std::string entry = ReadIni(section, std::to_string(k), configFile);
            if (!entry.empty()) {
                group.entries.push_back(std::move(entry));
            }
        }
    }
    return catalogue;
}

int CatalogueWindowHeight(const PositionCatalogue& catalogue) {
    // Only the first group of each row counts, and a later row overrides an
    // earlier one, so a gap in the rows above does not matter.
    struct RowRule {
        int firstGroup;
        int height;
    };
    static constexpr RowRule kRows[] = {
        {6, 5865}, {11, 6690}, {16, 7320}, {21, 8295}, {26, 9045},
    };
    int height = 4980;
    for (const RowRule& row : kRows) {
        if (!catalogue.group(row.firstGroup).entries.empty()) {
            height = row.height;
        }
    }
    return height;
}

}  // namespace launcher
