#include <algorithm>

#include "check/folder_checker.h"
#include "profile/codepage.h"
#include "profile/ini_line.h"

namespace launcher::check {

void FolderCheck::CheckText(File& file) {
    if (!file.exists) {
        return;
    }
    const Severity loss =
        file.name == kConfig || file.name == kFreq ? Severity::kError : Severity::kWarning;
    if (file.link) {
        Add(file.shown, 0, Severity::kError,
            LinkFinding(*file.link,
                        "User Preferences and Final Setup keep nothing; the check reads "
                        "none of it"));
        return;
    }
    if (!file.refusal.empty()) {
        file.cause = AddCause(file.shown, 0, loss,
                              file.refusal + ": the launcher cannot read it" + Unread(file.name));
        return;
    }
    const std::string_view bytes = file.bytes;
    if (reading_ == Reading::kWindows && bytes.starts_with("\xff\xfe")) {
        // Windows reads a file with this mark as Unicode.
        file.listing = ini::ListIni(Utf16LeToUtf8(bytes.substr(2)));
    } else {
        file.listing = ini::ListIni(bytes);
    }
    if (file.listing->utf16) {
        file.listing.reset();
        file.cause =
            AddCause(file.shown, 1, loss,
                     (reading_ == Reading::kLinux
                          ? "UTF-16 text, which the Linux launcher does not read"
                          : "UTF-16 text without the byte-order mark FF FE, which Windows reads as "
                            "ANSI and finds nothing in") +
                         std::string(Unread(file.name)) + ": save the file as ANSI (Windows-1252)");
        return;
    }
    file.index.emplace(*file.listing);
    if (reading_ == Reading::kWindows && !bytes.starts_with("\xff\xfe")) {
        CheckUtf8ForWindows(file, bytes);
    }
    file.spoilt = SpoiltSection(bytes);
    CheckFileText(file.shown, *file.listing, *file.index, file.spoilt, findings_);
    file.bytes.clear();
    file.bytes.shrink_to_fit();
}

// Windows reads a file's bytes in its code page, Windows-1252 for the
// languages of Western Europe: UTF-8 beyond ASCII comes out garbled.
void FolderCheck::CheckUtf8ForWindows(const File& file, std::string_view bytes) {
    int number = 0;
    int lines = 0;
    int first = 0;
    std::string_view sample;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
        const std::string_view line = bytes.substr(at, end - at);
        at = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        ++number;
        const bool beyondAscii = std::any_of(
            line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        if (beyondAscii && codepage::IsUtf8(line) &&
            !(number == 1 && line.starts_with("\xef\xbb\xbf"))) {
            ++lines;
            if (first == 0) {
                first = number;
                sample = line;
            }
        }
    }
    if (first == 0) {
        return;
    }
    // The first word beyond ASCII, as each reads it.
    std::size_t start = 0;
    while (start < sample.size() && static_cast<unsigned char>(sample[start]) < 0x80) {
        ++start;
    }
    start = sample.find_last_of(" =\t", start) == std::string_view::npos
                ? 0
                : sample.find_last_of(" =\t", start) + 1;
    const std::string_view word = sample.substr(start, sample.find_first_of(" \t=", start) - start);
    std::string garbled;
    for (const char c : word) {
        garbled += codepage::FileTextToUtf8(std::string_view(&c, 1));
    }
    Add(file.shown, first, Severity::kWarning,
        "UTF-8 text" +
            (lines > 1 ? " on " + std::to_string(lines) + " lines, the first this one" : "") +
            ": Windows reads the file in its code page, so " + Quoted(word) + " shows as " +
            Quoted(garbled) + "; save the file as ANSI (Windows-1252)");
}

// Where `file` hides `section` from the launcher, the finding that says so
// becomes an error saying what is lost, and a cause; "" when nothing hides
// it. A byte-order mark on its header, or a header a letter or two off.
std::string FolderCheck::HiddenSection(const File& file, std::string_view section,
                                       const std::string& consequence) {
    if (!file.listing) {
        return "";
    }
    std::string name = "[";
    name.append(section).append("]");
    if (!file.spoilt.empty() && ini::NamesMatch(file.spoilt, section)) {
        return Promote(file, 1,
                       "a UTF-8 byte-order mark spoils this first line, so its section " + name +
                           " is never read and " + consequence + ": save the file without one");
    }
    for (const ListedSection& listed : file.listing->sections) {
        // Names of other lengths are ruled out before any comparison.
        const std::size_t shorter = std::min(listed.name.size(), section.size());
        const std::size_t longer = std::max(listed.name.size(), section.size());
        if (longer - shorter <= 2 && file.FindSection(listed.name) == &listed &&
            !NearMiss(listed.name, {std::string(section)}).empty()) {
            std::string cause =
                Promote(file, listed.line,
                        "section [" + Escaped(listed.name) + "] is never read, so " + consequence +
                            ": did you mean " + name + "?");
            // Its entries are what the misspelt section hides.
            for (const ListedKey& key : listed.keys) {
                hidden_.emplace(FoldedName(ini::TrimArgument(key.value)), cause);
            }
            return cause;
        }
    }
    return "";
}

// The text check's finding on that line, now an error and a cause.
std::string FolderCheck::Promote(const File& file, int line, std::string message) {
    const auto found = std::find_if(findings_.begin(), findings_.end(), [&](const Finding& f) {
        return f.file == file.shown && f.line == line;
    });
    if (found != findings_.end()) {
        findings_.erase(found);
    }
    return AddCause(file.shown, line, Severity::kError, std::move(message));
}

}  // namespace launcher::check
