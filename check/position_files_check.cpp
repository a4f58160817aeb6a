#include <cctype>
#include <map>
#include <unordered_set>

#include "check/folder_checker.h"
#include "profile/ini_line.h"
#include "profile/program_files.h"

namespace launcher::check {

// Why no shown position can have a value in `section` of `file`; "" when
// each may. Says so first, once, as an error of `severity`.
std::string FolderCheck::WhyNoneRead(File& file, std::string_view section, Severity severity,
                                     const std::string& consequence) {
    if (!file.exists) {
        return AddCause(file.shown, 0, severity, NoSuchFile(file) + ": " + consequence);
    }
    if (!file.index) {
        return file.cause;
    }
    if (file.FindSection(section) != nullptr) {
        return "";
    }
    std::string hidden = HiddenSection(file, section, consequence);
    if (!hidden.empty()) {
        causes_.back().severity = severity;
        return hidden;
    }
    return AddCause(file.shown, 0, severity,
                    "no section [" + std::string(section) + "]: " + consequence);
}

// One finding for the positions that one cause leaves without a value.
void FolderCheck::AddFolded(Severity severity, const std::string& lack, const std::string& cause) {
    std::vector<const ShownPosition*> lacking;
    for (const ShownPosition& position : shown_) {
        if (!position.repeated) {
            lacking.push_back(&position);
        }
    }
    if (lacking.empty()) {
        return;
    }
    const std::string more =
        lacking.size() == 1 ? " has" : " and " + std::to_string(lacking.size() - 1) + " more have";
    Add(Get(kConfig).shown, lacking.front()->line, severity,
        "position " + Quoted(lacking.front()->text) + more + " " + lack + See(cause));
}

// A key that differs from `position` only in blanks, invisible characters
// or case: what was most likely meant.
std::string FolderCheck::LookAlike(const File& file, std::string_view section,
                                   std::string_view position) {
    // Letters and digits alone, case aside: no blank, separator or
    // invisible character (no-break space, soft hyphen, zero widths, BOM).
    const auto plain = [](std::string_view text) {
        std::string kept;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            const std::string_view rest = text.substr(i);
            if (rest.starts_with("\xc2\xa0") || rest.starts_with("\xc2\xad")) {
                ++i;
            } else if (rest.starts_with("\xef\xbb\xbf") ||
                       (rest.starts_with("\xe2\x80") && rest.size() > 2 &&
                        static_cast<unsigned char>(rest[2]) >= 0x8b &&
                        static_cast<unsigned char>(rest[2]) <= 0x8f)) {
                i += 2;
            } else if (c >= 0x80 || std::isalnum(c) != 0) {
                kept.push_back(static_cast<char>(std::tolower(c)));
            }
        }
        return kept;
    };
    // Built once a file, of the keys that look like some shown position.
    auto& lookAlikes = lookAlikes_[file.name];
    if (lookAlikes.empty()) {
        for (const ShownPosition& shown : shown_) {
            lookAlikes.emplace(plain(shown.text), nullptr);
        }
        if (const ListedSection* listed = file.FindSection(section)) {
            for (const ListedKey& key : listed->keys) {
                const auto alike = lookAlikes.find(plain(key.name));
                if (alike != lookAlikes.end() && alike->second == nullptr) {
                    alike->second = &key;
                }
            }
        }
    }
    const auto found = lookAlikes.find(plain(position));
    if (found == lookAlikes.end() || found->second == nullptr ||
        SamePosition(found->second->name, position)) {
        return "";
    }
    return ": did you mean " + Quoted(found->second->name) + " (" +
           Reference(file.shown, found->second->line) + ")?";
}

void FolderCheck::CheckFrequencies() {
    File& freq = files_[1];
    if (!shown_.empty()) {
        const std::string cause = WhyNoneRead(freq, rules::kFrequencies.section, Severity::kError,
                                              "no position has a frequency");
        if (!cause.empty()) {
            AddFolded(Severity::kError, "no frequency in freq.ini", cause);
        } else {
            for (const ShownPosition& position : shown_) {
                if (!position.repeated &&
                    freq.Value(rules::kFrequencies.section, position.text).empty()) {
                    Add(Get(kConfig).shown, position.line, Severity::kError,
                        "position " + Quoted(position.text) + " has no frequency in freq.ini" +
                            LookAlike(freq, rules::kFrequencies.section, position.text));
                }
            }
        }
    }
    const ListedSection* section = freq.FindSection(rules::kFrequencies.section);
    for (std::size_t i = 0; section != nullptr && i < section->keys.size(); ++i) {
        const ListedKey& key = section->keys[i];
        if (freq.index->IsFirstKey(key) && !key.value.empty() && !IsAirbandChannel(key.value)) {
            Add(freq.shown, key.line, Severity::kWarning,
                "frequency " + Quoted(key.value) + " of " + Quoted(key.name) +
                    " is no airband channel as the radar client expects it: NNN.NNN from "
                    "118.000 to 136.990, a 25 kHz channel or an 8.33 kHz channel's name (5, "
                    "10 or 15 kHz above one)");
        }
    }
    NoteUnshown(freq, rules::kFrequencies.section);
}

void FolderCheck::CheckVoiceCallsigns() {
    File& voice = files_[2];
    if (!shown_.empty()) {
        const std::string cause =
            WhyNoneRead(voice, rules::kVoiceCallsigns.section, Severity::kWarning,
                        "the voice client joins every position with an empty callsign");
        if (!cause.empty()) {
            AddFolded(Severity::kWarning, "no voice callsign in voice.ini", cause);
        } else {
            for (const ShownPosition& position : shown_) {
                if (!position.repeated &&
                    voice.Value(rules::kVoiceCallsigns.section, position.text).empty()) {
                    Add(Get(kConfig).shown, position.line, Severity::kWarning,
                        "position " + Quoted(position.text) +
                            " has no voice callsign in voice.ini: the voice client would "
                            "join with an empty one" +
                            LookAlike(voice, rules::kVoiceCallsigns.section, position.text));
                }
            }
        }
    }
    NoteUnshown(voice, rules::kVoiceCallsigns.section);
}

// Keys of a file of positions that no group shows: read only for a
// position a controller types in. Folded into one when the groups are
// lost to one cause.
void FolderCheck::NoteUnshown(const File& file, std::string_view sectionName) {
    const ListedSection* section = file.FindSection(sectionName);
    if (section == nullptr) {
        return;
    }
    std::unordered_set<const ListedKey*> shown;
    for (const ShownPosition& position : shown_) {
        shown.insert(file.Find(sectionName, position.text));
    }
    std::vector<const ListedKey*> unshown;
    for (const ListedKey& key : section->keys) {
        if (!shown.contains(&key) && file.index->IsFirstKey(key)) {
            unshown.push_back(&key);
        }
    }
    // What one cause hides is one note; the rest a note each.
    std::map<std::string, std::vector<const ListedKey*>> byCause;
    for (const ListedKey* key : unshown) {
        const auto hidden = hidden_.find(FoldedName(key->name));
        const std::string& cause = !groupsCause_.empty()     ? groupsCause_
                                   : hidden != hidden_.end() ? hidden->second
                                                             : groupsCause_;
        if (cause.empty()) {
            Add(file.shown, key->line, Severity::kNote, "no group shows " + Quoted(key->name));
        } else {
            byCause[cause].push_back(key);
        }
    }
    for (const auto& [cause, keys] : byCause) {
        Add(file.shown, keys.front()->line, Severity::kNote,
            "no group shows " + Quoted(keys.front()->name) +
                (keys.size() == 1 ? ""
                                  : " nor " + std::to_string(keys.size() - 1) + " more keys of [" +
                                        section->name + "]") +
                See(cause));
    }
}

}  // namespace launcher::check
