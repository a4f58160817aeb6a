// Finding, in a piece of a file, the lines a lookup must read (see
// ini_scan.h): pointers into one buffer whose first byte is `base`.
#pragma once

#include <cstddef>
#include <string_view>

#include "profile/ini_line.h"

namespace launcher::ini {

// Inline, as the search asks them at every place it stops.
inline const char* SkipBlanks(const char* p, const char* end) {
    while (p < end && IsBlank(*p)) {
        ++p;
    }
    return p;
}

// Where the blanks before `c` begin: the start of its line when `c` is the
// line's first non-blank byte.
inline const char* BackOverBlanks(const char* c, const char* base) {
    while (c > base && IsBlank(c[-1])) {
        --c;
    }
    return c;
}

inline bool StartsLine(const char* c, const char* base) {
    const char* start = BackOverBlanks(c, base);
    return start == base || IsBreak(start[-1]);
}

// The start of the last line in [base, end), which a piece may have cut.
const char* LastLineStart(const char* base, const char* end);

// The offset in `key` of the two neighbouring bytes to search the section
// ahead, [from, end), for (see SectionLines).
std::size_t RarestPair(std::string_view key, const char* from, const char* end);

// The places where the key may start, found by one search through the C
// library: the key's two anchor bytes as written (strstr), or one of them in
// the other case (memchr). Each search remembers how far it has looked, so a
// scan that moves forward reads each byte at most once per search. The data
// must be followed by a NUL.
class KeyHits {
public:
    // `back`: where in the key the searched bytes stand.
    KeyHits(std::string_view bytes, std::size_t back, const char* end);

    // The start of the next hit at or after `from` and before `limit`, or
    // limit. A byte is not looked for beyond the limit; a pair is looked for
    // up to its next hit.
    const char* From(const char* from, const char* limit);

private:
    const char* FindByte(const char* at, const char* stop) const;
    const char* FindPair(const char* at) const;

    char bytes_[3] = {};
    std::size_t size_;
    std::size_t back_;
    const char* end_;
    const char* seen_ = nullptr;  // no hit in what was searched before it
    bool found_ = false;          // seen_ is a hit
};

// The lines of a section that matter: a header, which ends the section, and
// a line whose first non-blank bytes spell the key in any case. A line that
// spells it holds the anchor pair (see RarestPair) as written, or one of its
// bytes in the other case; the searches for those and for '[' skip all other
// lines. The empty key's lines start with '=' or a NUL (see SplitLine).
class SectionLines {
public:
    SectionLines(std::string_view key, std::size_t anchor, const char* base, const char* end);

    // The first non-blank byte of the next line at or after `from` that is a
    // header or starts with the whole key, or end. An unfinished last line
    // holding only part of the key is not found.
    const char* Next(const char* from);

private:
    void Add(std::string_view bytes, std::size_t back);
    bool HoldsKey(const char* c) const;

    std::string_view key_;
    const char* base_;
    const char* end_;
    KeyHits headers_;
    KeyHits keys_[3] = {{{}, 0, nullptr}, {{}, 0, nullptr}, {{}, 0, nullptr}};
    std::size_t count_ = 0;
};

}  // namespace launcher::ini
