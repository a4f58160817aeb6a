#include <algorithm>

#include "check/folder_checker.h"
#include "profile/ini_line.h"
#include "profile/program_files.h"

namespace launcher::check {

// The groups as the main window shows them, and their positions.
void FolderCheck::CheckGroups() {
    const File& config = Get(kConfig);
    if (!config.exists) {
        groupsCause_ = AddCause(kConfig, 0, Severity::kError,
                                NoSuchFile(config) + ": the launcher shows no groups");
        return;
    }
    if (!config.index) {
        groupsCause_ = config.cause;  // which says that it shows no groups
        return;
    }
    std::string cause;
    if (config.FindSection(sections::kGroupNames) == nullptr) {
        cause = HiddenSection(config, sections::kGroupNames,
                              "no group has a name, so the launcher shows none");
    }
    groupsCause_ = cause;
    PositionCatalogue catalogue;
    for (PositionGroup& group : catalogue.groups) {
        const std::string number = std::to_string(group.number);
        group.name = config.Value(sections::kGroupNames, number);
        const std::string items = NumberedSection(rules::kGroupItems, group.number);
        if (group.name.empty()) {
            const ListedSection* section = config.FindSection(items);
            const bool listed =
                section != nullptr &&
                std::any_of(section->keys.begin(), section->keys.end(), [&](const ListedKey& k) {
                    return !k.value.empty() && config.Find(items, k.name) == &k &&
                           EntryNumber(k.name) > 0;
                });
            if (listed) {
                Add(config.shown, section->line, Severity::kWarning,
                    "group " + number +
                        " has no name in [combo names]: its positions are never shown" +
                        See(groupsCause_));
            }
            continue;
        }
        // The entries skip empty keys.
        std::vector<int> lines;
        for (int k = 1; k <= kEntriesPerGroup; ++k) {
            const ListedKey* entry = config.Find(items, std::to_string(k));
            if (entry != nullptr && !entry->value.empty()) {
                group.entries.push_back(entry->value);
                lines.push_back(entry->line);
            }
        }
        if (group.entries.empty()) {
            const std::string hidden =
                config.FindSection(items) != nullptr
                    ? ""
                    : HiddenSection(
                          config, items,
                          "group " + number + " " + Quoted(group.name) + " shows no position");
            if (hidden.empty()) {
                Add(config.shown, config.LineOf(sections::kGroupNames, number), Severity::kNote,
                    "group " + number + " " + Quoted(group.name) +
                        " has no positions: its list stays empty");
            } else if (cause.empty()) {
                cause = hidden;
            }
            continue;
        }
        for (std::size_t i = 0; i < group.entries.size(); ++i) {
            AddShown({group.entries[i], group.number, lines[i]});
        }
    }
    CheckWindowEdge(config, catalogue, cause);
}

// A key of "<n> items" the catalogue reads: 1 to 15; 0 for any other.
int FolderCheck::EntryNumber(std::string_view key) {
    for (int k = 1; k <= kEntriesPerGroup; ++k) {
        if (ini::NamesMatch(key, std::to_string(k))) {
            return k;
        }
    }
    return 0;
}

// The window shows the rows down to the last one whose first group has
// positions (see CatalogueWindowHeight): groups below lie out of sight.
void FolderCheck::CheckWindowEdge(const File& config, const PositionCatalogue& catalogue,
                                  const std::string& cause) {
    constexpr int kGroupsPerRow = 5;
    int rows = 1;
    for (int row = 2; row * kGroupsPerRow <= kGroupCount; ++row) {
        if (!catalogue.group((row - 1) * kGroupsPerRow + 1).entries.empty()) {
            rows = row;
        }
    }
    bool anyShown = false;
    for (const PositionGroup& group : catalogue.groups) {
        if (group.entries.empty()) {
            continue;
        }
        const int row = (group.number - 1) / kGroupsPerRow + 1;
        if (row <= rows) {
            anyShown = true;
            continue;
        }
        const std::string number = std::to_string(group.number);
        Add(config.shown, config.LineOf(sections::kGroupNames, number), Severity::kWarning,
            "group " + number + " " + Quoted(group.name) + " lies in row " + std::to_string(row) +
                ", below the window's edge: the window shows that row only when group " +
                std::to_string((row - 1) * kGroupsPerRow + 1) + " has a position");
    }
    if (!anyShown) {
        Add(config.shown, 0, Severity::kError,
            "no group shows a position: every list of the main window stays empty" + See(cause));
    }
}

void FolderCheck::AddShown(ShownPosition position) {
    for (const ShownPosition& earlier : shown_) {
        if (SamePosition(earlier.text, position.text)) {
            Add(Get(kConfig).shown, position.line, Severity::kWarning,
                "position " + Quoted(position.text) + " is already in group " +
                    std::to_string(earlier.group) + " (line " + std::to_string(earlier.line) + ")");
            position.repeated = true;
            break;
        }
    }
    shown_.push_back(std::move(position));
}

// As the launcher's lookups match a position with a key.
bool FolderCheck::SamePosition(std::string_view a, std::string_view b) {
    return ini::NamesMatch(ini::TrimArgument(a), ini::TrimArgument(b));
}

}  // namespace launcher::check
