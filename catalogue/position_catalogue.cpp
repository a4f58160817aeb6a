#include "catalogue/position_catalogue.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "profile/ini.h"

namespace launcher {

PositionCatalogue::PositionCatalogue() {
    for (int n = 1; n <= kGroupCount; ++n) {
        group(n).number = n;
    }
}

namespace {

// Whether `keys` holds `key`, as ReadIni matches names.
bool Listed(const std::vector<std::string>& keys, const std::string& key) {
    return std::any_of(keys.begin(), keys.end(), [&](const std::string& listed) {
        return std::equal(listed.begin(), listed.end(), key.begin(), key.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) ==
                   std::tolower(static_cast<unsigned char>(b));
        });
    });
}

}  // namespace

// Keys the file does not have are not looked up: each lookup reads the file
// again, which under Wine is most of the start-up's own work.
PositionCatalogue LoadPositionCatalogue(std::string_view configFile) {
    PositionCatalogue catalogue;
    const std::vector<std::string> named = ReadIniKeys(rules::kGroupNames.section, configFile);
    for (PositionGroup& group : catalogue.groups) {
        const std::string number = std::to_string(group.number);
        if (!Listed(named, number)) {
            continue;
        }
        group.name = ReadIni(rules::kGroupNames.section, number, configFile);
        if (group.name.empty()) {
            continue;  // an unnamed group's items are never read
        }
        const std::string section = NumberedSection(rules::kGroupItems, group.number);
        const std::vector<std::string> items = ReadIniKeys(section, configFile);
        for (int k = 1; k <= kEntriesPerGroup; ++k) {
            const std::string key = std::to_string(k);
            if (!Listed(items, key)) {
                continue;
            }
            std::string entry = ReadIni(section, key, configFile);
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
