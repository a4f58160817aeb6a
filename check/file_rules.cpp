#include "check/file_rules.h"

#include <algorithm>

#include "catalogue/position_catalogue.h"
#include "profile/ini_text.h"
#include "profile/program_files.h"

namespace launcher::check {
namespace {

using ini::IniListing;
using ini::ListedKey;
using ini::ListedSection;

// A section the launcher reads, and its keys; none listed: any key, a
// position's text.
struct SectionRead {
    std::string name;
    std::vector<std::string> keys;
};

std::vector<SectionRead> SectionsRead(std::string_view file) {
    if (file == kConfig) {
        std::vector<SectionRead> sections = {
            {"GENERAL", {"LOGOLEFT", "LOGO", "BACK", "TITLE", "WEBSITE"}},
            {"combo names", Numbers(kGroupCount)},
        };
        for (int group = 1; group <= kGroupCount; ++group) {
            sections.push_back({std::to_string(group) + " items", Numbers(kEntriesPerGroup)});
        }
        return sections;
    }
    if (file == kFreq) {
        return {{"FREQ", {}}};
    }
    if (file == kVoice) {
        return {{"voice", {}}};
    }
    if (file == kAutoAtis) {
        return {{"AUTOATIS", {}}};
    }
    if (file == kVar) {
        return {{"MAIN", {"RWY", "ADDINFO"}}};
    }
    // The preferences, the last Final Setup answers, the Wine to use on
    // Linux, and the two server lists.
    SectionRead main{std::string(sections::kMain), {"RWY", "ADDITIONAL", "autoatis", "WINE"}};
    for (const PreferenceKey& key : kPreferenceKeys) {
        main.keys.emplace_back(key.key);
    }
    return {main,
            {std::string(sections::kVoiceServers), Numbers(kVoiceServerCount)},
            {std::string(sections::kRadarServers), Numbers(kRadarServerCount)}};
}

class TextCheck {
public:
    TextCheck(std::string_view file, const IniListing& listing, std::vector<Finding>& findings)
        : file_(file), listing_(listing), findings_(findings) {}

    void Run() {
        if (listing_.utf16) {
            Add(1, Severity::kWarning,
                "UTF-16 text, which only Windows reads, and only with a byte-order mark: save "
                "the file as ANSI (Windows-1252)");
            return;
        }
        // The mark spoils line 1 for Windows; what that line then looks like
        // is no news of its own.
        const int spoilt = listing_.byteOrderMark ? 1 : 0;
        if (spoilt != 0) {
            Add(1, Severity::kWarning,
                "a UTF-8 byte-order mark spoils this first line: save the file without one");
        }
        for (int line : listing_.linesNotText) {
            Add(line, Severity::kWarning, "text that is neither UTF-8 nor Windows-1252");
        }
        for (int line : listing_.linesWithoutKey) {
            if (line != spoilt) {
                Add(line, Severity::kWarning,
                    "no \"=\" on this line: the launcher takes it for no key at all");
            }
        }
        for (const ListedKey& key : listing_.keysBeforeFirstSection) {
            if (key.line != spoilt) {
                Add(key.line, Severity::kWarning,
                    "key " + Quoted(key.name) + " stands before any section and is never read");
            }
        }
        const std::vector<SectionRead> read = SectionsRead(file_);
        for (const ListedSection& section : listing_.sections) {
            const std::string name = "[" + section.name + "]";
            if (!section.closed) {
                Add(section.line, Severity::kWarning,
                    "section header " + Quoted("[" + section.name) + " has no \"]\"");
            }
            const ListedSection* first = listing_.FindSection(section.name);
            if (first != &section) {
                Add(section.line, Severity::kWarning,
                    "section " + name + " again: only the one at line " +
                        std::to_string(first->line) + " is read");
                continue;
            }
            const auto rule = std::find_if(read.begin(), read.end(), [&](const SectionRead& r) {
                return ini::NamesMatch(r.name, section.name);
            });
            if (rule == read.end()) {
                Add(section.line, Severity::kWarning, "section " + name + " is never read");
                continue;
            }
            for (const ListedKey& key : section.keys) {
                CheckKey(section, *rule, key);
            }
        }
    }

private:
    void Add(int line, Severity severity, std::string message) {
        findings_.push_back({std::string(file_), line, severity, std::move(message)});
    }

    void CheckKey(const ListedSection& section, const SectionRead& rule, const ListedKey& key) {
        const ListedKey* first = listing_.Find(section.name, key.name);
        if (first != &key) {
            Add(key.line, Severity::kWarning,
                "key " + Quoted(key.name) + " again in [" + section.name + "]: the one at line " +
                    std::to_string(first->line) + " is read");
            return;
        }
        if (!rule.keys.empty() &&
            std::none_of(rule.keys.begin(), rule.keys.end(),
                         [&](const std::string& k) { return ini::NamesMatch(k, key.name); })) {
            Add(key.line, Severity::kWarning,
                "key " + Quoted(key.name) + " in [" + section.name + "] is never read");
            return;
        }
        if (key.valueBytes > ini::kMaxValueBytes) {
            Add(key.line, Severity::kWarning,
                "the value of " + Quoted(key.name) + " is " + std::to_string(key.valueBytes) +
                    " bytes long: the launcher reads its first " +
                    std::to_string(ini::kMaxValueBytes));
        }
    }

    std::string_view file_;
    const IniListing& listing_;
    std::vector<Finding>& findings_;
};

}  // namespace

std::string Quoted(std::string_view text) {
    // Appended piece by piece: GCC 12 at -O3 takes "\"" + std::string for an
    // overlapping copy (-Wrestrict).
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

std::vector<std::string> Numbers(int count) {
    std::vector<std::string> keys;
    for (int n = 1; n <= count; ++n) {
        keys.push_back(std::to_string(n));
    }
    return keys;
}

void CheckFileText(std::string_view file, const IniListing& listing,
                   std::vector<Finding>& findings) {
    TextCheck(file, listing, findings).Run();
}

}  // namespace launcher::check
