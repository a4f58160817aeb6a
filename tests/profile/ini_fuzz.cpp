// libFuzzer target over the INI byte rules: any file bytes, section, key and
// value. Checks that nothing crashes, that a lookup gives what a plain walk
// over the lines gives, for any names and for the file's own names spelt in
// other cases, that a file read in pieces gives the answer of the whole file,
// that the listing of a file says what a lookup of each listed key reads, and
// that a write touches nothing but the target key's line (or adds one line,
// or one section) and reads back.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "profile/codepage.h"
#include "profile/ini_edit.h"
#include "profile/ini_line.h"
#include "profile/ini_listing.h"
#include "profile/ini_scan.h"

namespace {

using launcher::ini::ValueScanner;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "ini_fuzz: %s\n", what);
        std::abort();
    }
}

std::string ScanInPieces(std::string_view text, std::string_view section, std::string_view key,
                         std::size_t piece) {
    ValueScanner scanner(launcher::ini::TrimArgument(section), launcher::ini::TrimArgument(key));
    std::string held;
    for (std::size_t next = 0;;) {
        const std::string_view more = text.substr(next, piece);
        next += more.size();
        held += more;
        switch (scanner.Scan(held, more.empty())) {
            case ValueScanner::Status::kFound:
                return std::string(launcher::ini::CutValue(scanner.value()));
            case ValueScanner::Status::kAbsent:
                return {};
            case ValueScanner::Status::kNeedMore:
                held.erase(0, scanner.consumed());
        }
    }
}

// The lookup by its plain definition, line by line: the first header of the
// section's name, then in it the first key line of the key's name.
std::string PlainLookup(std::string_view text, std::string_view section, std::string_view key) {
    using launcher::ini::LineParts;
    section = launcher::ini::TrimArgument(section);
    key = launcher::ini::TrimArgument(key);
    if (!launcher::ini::IsWritableName(section) || !launcher::ini::IsWritableName(key)) {
        return {};
    }
    bool inSection = false;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        const LineParts line = launcher::ini::SplitLine(text.substr(at, end - at));
        at = end + 1;
        if (line.kind == LineParts::Kind::kHeader) {
            if (inSection) {
                return {};
            }
            inSection = launcher::ini::NamesMatch(line.name, section);
        } else if (inSection && line.kind == LineParts::Kind::kKey &&
                   launcher::ini::NamesMatch(line.name, key)) {
            return std::string(launcher::ini::CutValue(line.value));
        }
    }
    return {};
}

// `name` with the letters whose bit in `flips` is set in the other case.
std::string Flipped(std::string_view name, std::uint32_t flips) {
    std::string out(name);
    for (std::size_t i = 0; i < out.size() && i < 32; ++i) {
        const char folded = static_cast<char>(out[i] | 0x20);
        if ((flips >> i & 1) != 0 && folded >= 'a' && folded <= 'z') {
            out[i] = static_cast<char>(out[i] ^ 0x20);
        }
    }
    return out;
}

void CheckLookup(std::string_view text, std::string_view section, std::string_view key,
                 std::size_t piece) {
    const std::string plain = PlainLookup(text, section, key);
    Check(launcher::ini::ReadValue(text, section, key) == plain, "lookup differs from the lines");
    Check(ScanInPieces(text, section, key, piece) == plain, "read in pieces differs");
}

// Lookups of the file's own sections and keys, in other cases: the ones a
// search for the key as written could miss.
void CheckOwnNames(std::string_view text, std::uint32_t flips, std::size_t piece) {
    using launcher::ini::LineParts;
    std::string_view section;
    int checked = 0;
    for (std::size_t at = 0; at < text.size() && checked < 8;) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        const LineParts line = launcher::ini::SplitLine(text.substr(at, end - at));
        at = end + 1;
        if (line.kind == LineParts::Kind::kHeader) {
            section = line.name;
        } else if (line.kind == LineParts::Kind::kKey) {
            CheckLookup(text, Flipped(section, flips), Flipped(line.name, flips >> 7), piece);
            ++checked;
        }
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

bool HasEdgeBlank(std::string_view s) {
    return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back()));
}

// A write can only be read back under names that a header or key line can
// spell: no ']' in a section, no '=' in a key, no key that starts a comment
// or a header, no blanks the reader would trim.
bool Readable(std::string_view section, std::string_view key) {
    return section.find(']') == std::string_view::npos && !HasEdgeBlank(section) &&
           key.find('=') == std::string_view::npos && !HasEdgeBlank(key) &&
           (key.empty() || (key.front() != ';' && key.front() != '['));
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        return fold(x) == fold(y);
    });
}

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
}

// Names beyond ASCII are listed in UTF-8, which a lookup of the raw bytes
// cannot take.
void CheckListing(const std::string& text) {
    const launcher::ini::IniListing listing = launcher::ini::ListIni(text);
    for (const launcher::ini::ListedSection& section : listing.sections) {
        for (const launcher::ini::ListedKey& key : section.keys) {
            if (!IsAscii(section.name) || !IsAscii(key.name)) {
                continue;
            }
            const launcher::ini::ListedKey* read = listing.Find(section.name, key.name);
            Check(launcher::codepage::FileTextToUtf8(launcher::ini::ReadValue(
                      text, section.name, key.name)) == (read != nullptr ? read->value : ""),
                  "the listing differs from a lookup");
        }
    }
}

std::size_t CountBreaks(std::string_view s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(24);
    const std::string key = in.ConsumeRandomLengthString(24);
    const std::string value = in.ConsumeRandomLengthString(400);
    const std::string probeSection = in.ConsumeRandomLengthString(24);
    const std::string probeKey = in.ConsumeRandomLengthString(24);
    const std::size_t piece = in.ConsumeIntegralInRange<std::size_t>(1, 64);
    const auto flips = in.ConsumeIntegral<std::uint32_t>();
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::string before = launcher::ini::ReadValue(text, section, key);
    Check(before.size() <= launcher::ini::kMaxValueBytes, "value longer than 254 bytes");
    CheckLookup(text, section, key, piece);
    CheckOwnNames(text, flips, piece);
    CheckListing(text);

    const auto splice = launcher::ini::PlanWrite(text, section, key, value);
    const std::string_view s = launcher::ini::TrimArgument(section);
    const std::string_view k = launcher::ini::TrimArgument(key);
    Check(splice.has_value() ==
              (launcher::ini::IsWritableName(s) && launcher::ini::IsWritableName(k)),
          "refused a plain name or accepted one with a line break");
    if (!splice) {
        return 0;
    }
    Check(splice->offset + splice->erase <= text.size(), "splice outside the file");
    const std::string after = splice->ApplyTo(text);

    // Strip the common start and end: what is left of the old file must lie
    // inside one line, and at most one key line or one section may be new.
    std::size_t head = 0;
    while (head < text.size() && head < after.size() && text[head] == after[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < text.size() - head && tail < after.size() - head &&
           text[text.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    const std::string_view removed = std::string_view(text).substr(head, text.size() - head - tail);
    const std::string_view added = std::string_view(after).substr(head, after.size() - head - tail);
    Check(CountBreaks(removed) == 0, "a write removed a line break");
    Check(CountBreaks(added) <= 6, "a write added more than a section");

    if (!Readable(s, k)) {
        return 0;
    }
    const std::string stored = launcher::ini::OneLineValue(value);
    const std::string expected = launcher::ini::ReadValue("[s]\r\nk=" + stored, "s", "k");
    Check(launcher::ini::ReadValue(after, s, k) == expected, "written value does not read back");
    const std::string_view ps = launcher::ini::TrimArgument(probeSection);
    const std::string_view pk = launcher::ini::TrimArgument(probeKey);
    if (!SameName(ps, s) || !SameName(pk, k)) {
        Check(launcher::ini::ReadValue(after, probeSection, probeKey) ==
                  launcher::ini::ReadValue(text, probeSection, probeKey),
              "a write changed another key");
    }
    return 0;
}
