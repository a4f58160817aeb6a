#include "check/file_rules.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "catalogue/position_catalogue.h"
#include "check/folder_files.h"
#include "profile/codepage.h"
#include "profile/ini_line.h"
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

// The section of `rows`, with their keys.
SectionRead Read(std::initializer_list<IniKey> rows) {
    SectionRead read{std::string(rows.begin()->section), {}};
    for (const IniKey& row : rows) {
        read.keys.emplace_back(row.key);
    }
    return read;
}

SectionRead Read(const IniKeyRule& rule) {
    return {std::string(rule.section), Numbers(rule.keys)};
}

std::vector<SectionRead> SectionsRead(std::string_view file) {
    if (file == kConfig) {
        std::vector<SectionRead> sections = {
            Read({keys::kLogoLeft, keys::kLogo, keys::kBack, keys::kTitle, keys::kWebsite}),
            Read(rules::kGroupNames),
        };
        for (int group = 1; group <= rules::kGroupItems.sections; ++group) {
            sections.push_back(
                {NumberedSection(rules::kGroupItems, group), Numbers(rules::kGroupItems.keys)});
        }
        return sections;
    }
    for (const IniKeyRule& rule : {rules::kFrequencies, rules::kVoiceCallsigns, rules::kAutoAtis}) {
        if (file == rule.file) {
            return {Read(rule)};
        }
    }
    if (file == kVar) {
        return {Read({keys::kDefaultRunway, keys::kDefaultOnlineUntil})};
    }
    // The last Final Setup answers, the Wine to use on Linux, the
    // preferences, and the two server lists. The answers' section matches
    // the preferences' one; a near miss is suggested as the check has always
    // spelt the first two, in capitals.
    const auto capitals = [](std::string_view key) {
        std::string upper(key);
        // The table's keys are ASCII; no locale is asked.
        for (char& c : upper) {
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
        return upper;
    };
    SectionRead main{std::string(sections::kMain),
                     {capitals(keys::kRunwayAnswer.key), capitals(keys::kOnlineUntilAnswer.key),
                      std::string(keys::kAutoAtisAnswer.key), std::string(keys::kWine.key)}};
    for (const PreferenceRow& row : kPreferences) {
        main.keys.emplace_back(row.key.key);
    }
    return {main, Read(rules::kVoiceServers), Read(rules::kRadarServers)};
}

class TextCheck {
public:
    TextCheck(std::string_view file, const IniListing& listing, const ListingIndex& index,
              std::string_view spoilt, std::vector<Finding>& findings)
        : file_(file), listing_(listing), index_(index), spoilt_(spoilt), findings_(findings) {}

    void Run() {
        const std::vector<SectionRead> read = SectionsRead(FoldedName(file_));
        // The mark spoils line 1 for Windows; what that line then looks like
        // is no news of its own.
        const int spoilt = listing_.byteOrderMark ? 1 : 0;
        if (spoilt != 0) {
            std::string message = "a UTF-8 byte-order mark spoils this first line";
            if (!spoilt_.empty()) {
                message += ", so its section [" + std::string(spoilt_) + "] is never read";
            }
            Add(1, Severity::kWarning, message + ": save the file without one");
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
        // The keys of a section the mark hides are that section's loss.
        for (const ListedKey& key : listing_.keysBeforeFirstSection) {
            if (key.line != spoilt && spoilt_.empty()) {
                Add(key.line, Severity::kWarning,
                    "key " + Quoted(key.name) + " stands before any section and is never read");
            }
        }
        for (const ListedSection& section : listing_.sections) {
            const std::string name = "[" + section.name + "]";
            if (!section.closed) {
                Add(section.line, Severity::kWarning,
                    "section header " + Quoted("[" + section.name) + " has no \"]\"");
            }
            const ListedSection* first = index_.FindSection(section.name);
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
                std::vector<std::string> names;
                names.reserve(read.size());
                for (const SectionRead& r : read) {
                    names.push_back(r.name);
                }
                const std::string meant = NearMiss(section.name, names);
                Add(section.line, Severity::kWarning,
                    "section " + name + " is never read" +
                        (meant.empty() ? "" : ": did you mean [" + meant + "]?"));
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
        if (!index_.IsFirstKey(key)) {
            const ListedKey* first = index_.Find(section.name, key.name);
            Add(key.line, Severity::kWarning,
                "key " + Quoted(key.name) + " again in [" + section.name + "]: the one at line " +
                    std::to_string(first->line) + " is read");
            return;
        }
        if (!rule.keys.empty() &&
            std::none_of(rule.keys.begin(), rule.keys.end(),
                         [&](const std::string& k) { return ini::NamesMatch(k, key.name); })) {
            const std::string meant = NearMiss(key.name, rule.keys);
            Add(key.line, Severity::kWarning,
                "key " + Quoted(key.name) + " in [" + section.name + "] is never read" +
                    (meant.empty() ? "" : ": did you mean " + Quoted(meant) + "?"));
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
    const ListingIndex& index_;
    std::string_view spoilt_;
    std::vector<Finding>& findings_;
};

}  // namespace

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(Escaped(text)).push_back('"');
    return quoted;
}

std::string Escaped(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    char code[16];
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        const unsigned char lead = byte(0);
        std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
        char32_t c = length == 1   ? lead
                     : length == 2 ? lead & 0x1F
                     : length == 3 ? lead & 0x0F
                                   : lead & 0x07;
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= text.size() || (byte(k) & 0xC0) != 0x80) {
                length = 0;
                break;
            }
            c = c << 6 | (byte(k) & 0x3F);
        }
        if (length == 0) {
            std::snprintf(code, sizeof code, "\\x%02X", lead);
            shown.append(code);
            ++i;
            continue;
        }
        // What a reader cannot see, or cannot tell from a blank.
        const bool invisible = c < 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xAD ||
                               (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F) ||
                               (c >= 0x205F && c <= 0x2064) || c == 0x3000 || c == 0xFEFF;
        if (invisible) {
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
            shown.append(code);
        } else {
            shown.append(text.substr(i, length));
        }
        i += length;
    }
    return shown;
}

std::vector<std::string> Numbers(int count) {
    std::vector<std::string> keys;
    for (int n = 1; n <= count; ++n) {
        keys.push_back(std::to_string(n));
    }
    return keys;
}

void CheckFileText(std::string_view file, const IniListing& listing, const ListingIndex& index,
                   std::string_view spoilt, std::vector<Finding>& findings) {
    TextCheck(file, listing, index, spoilt, findings).Run();
}

std::string SpoiltSection(std::string_view bytes) {
    if (!bytes.starts_with("\xef\xbb\xbf")) {
        return "";
    }
    const std::string_view line = bytes.substr(3, bytes.find_first_of("\r\n") - 3);
    const ini::LineParts parts = ini::SplitLine(line);
    return parts.kind == ini::LineParts::Kind::kHeader ? codepage::FileTextToUtf8(parts.name) : "";
}

std::string NearMiss(std::string_view name, const std::vector<std::string>& candidates) {
    const std::string folded = FoldedName(name);
    const auto digits = [](std::string_view text) {
        return text.substr(0, std::min(text.find_first_not_of("0123456789"), text.size()));
    };
    // A number is a name of its own: "12 items" is no "2 items" mistyped,
    // nor is key "16" a "1".
    if (!digits(folded).empty() && digits(folded).size() == folded.size()) {
        return "";
    }
    std::string best;
    std::size_t bestDistance = folded.size() <= 4 ? 2 : 3;
    for (const std::string& candidate : candidates) {
        const std::string other = FoldedName(candidate);
        if (other == folded || digits(other) != digits(folded) ||
            (other.size() > folded.size() ? other.size() - folded.size()
                                          : folded.size() - other.size()) >= bestDistance) {
            continue;
        }
        // Levenshtein distance, one row at a time.
        std::vector<std::size_t> row(other.size() + 1);
        for (std::size_t j = 0; j < row.size(); ++j) {
            row[j] = j;
        }
        for (std::size_t i = 1; i <= folded.size(); ++i) {
            std::size_t diagonal = row[0];
            row[0] = i;
            for (std::size_t j = 1; j <= other.size(); ++j) {
                const std::size_t above = row[j];
                row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                                   diagonal + (folded[i - 1] == other[j - 1] ? 0 : 1)});
                diagonal = above;
            }
        }
        if (row.back() < bestDistance) {
            bestDistance = row.back();
            best = candidate;
        }
    }
    return best;
}

}  // namespace launcher::check
