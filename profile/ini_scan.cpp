#include "profile/ini_scan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "profile/ini_line.h"

namespace launcher::ini {
namespace {

const char* SkipBlanks(const char* p, const char* end) {
    while (p < end && IsBlank(*p)) {
        ++p;
    }
    return p;
}

// Where the blanks before `c` begin: the start of its line when `c` is the
// line's first non-blank byte.
const char* BackOverBlanks(const char* c, const char* base) {
    while (c > base && IsBlank(c[-1])) {
        --c;
    }
    return c;
}

bool StartsLine(const char* c, const char* base) {
    const char* start = BackOverBlanks(c, base);
    return start == base || IsBreak(start[-1]);
}

// The start of the last line in [base, end), which a piece may have cut.
const char* LastLineStart(const char* base, const char* end) {
    while (end > base && !IsBreak(end[-1])) {
        --end;
    }
    return end;
}

bool IsLetter(char c) {
    return FoldAscii(c) >= 'a' && FoldAscii(c) <= 'z';
}

char OtherCase(char c) {
    return static_cast<char>(c ^ 0x20);
}

// Names of a file's lines are trimmed, so a name with outer blanks matches none.
bool HasEdgeBlank(std::string_view name) {
    return !name.empty() && (IsBlank(name.front()) || IsBlank(name.back()));
}

// The places where the key may start, found by one search through the C
// library: the key's two anchor bytes as written (strstr), or one of them in
// the other case (memchr). Each search remembers how far it has looked, so a
// scan that moves forward reads each byte at most once per search.
class KeyHits {
public:
    // `back`: where in the key the searched bytes stand.
    KeyHits(std::string_view bytes, std::size_t back, const char* end)
        : size_(bytes.size()), back_(back), end_(end) {
        std::copy(bytes.begin(), bytes.end(), bytes_);
    }

    // The start of the next hit at or after `from` and before `limit`, or
    // limit. A byte is not looked for beyond the limit; a pair is looked for
    // up to its next hit.
    const char* From(const char* from, const char* limit) {
        if (static_cast<std::size_t>(limit - from) <= back_) {
            return limit;
        }
        const char* at = from + back_;
        const char* stop = static_cast<std::size_t>(end_ - limit) > back_ ? limit + back_ : end_;
        if (at > seen_) {
            seen_ = at;
            found_ = false;
        }
        if (!found_ && seen_ < stop) {
            const char* hit = size_ == 1 ? FindByte(seen_, stop) : FindPair(seen_);
            found_ = hit < end_;
            seen_ = found_ ? hit : size_ == 1 ? stop : end_;
        }
        return found_ && seen_ < stop ? seen_ - back_ : limit;
    }

private:
    const char* FindByte(const char* at, const char* stop) const {
        const void* hit = std::memchr(at, bytes_[0], static_cast<std::size_t>(stop - at));
        return hit == nullptr ? end_ : static_cast<const char*>(hit);
    }

    // strstr stops at the first NUL: a file's own NULs are stepped over, and
    // the one after the data ends the search.
    const char* FindPair(const char* at) const {
        while (at < end_) {
            if (const char* hit = std::strstr(at, bytes_)) {
                return hit;
            }
            at += std::strlen(at) + 1;
        }
        return end_;
    }

    char bytes_[3] = {};
    std::size_t size_;
    std::size_t back_;
    const char* end_;
    const char* seen_ = nullptr;  // no hit in what was searched before it
    bool found_ = false;          // seen_ is a hit
};

// The lines of a section that matter: a header, which ends the section, and
// a line whose first non-blank bytes spell the key in any case. A line that
// spells it holds the anchor pair as written, or one of its bytes in the
// other case; the searches for those and for '[' skip all other lines. The
// empty key's lines start with '=' or a NUL (see SplitLine).
class SectionLines {
public:
    SectionLines(std::string_view key, std::size_t anchor, const char* base, const char* end)
        : key_(key), base_(base), end_(end), headers_("[", 0, end) {
        if (key.empty()) {
            Add({"=", 1}, 0);
            Add({"\0", 1}, 0);
            return;
        }
        const std::string_view pair = key.substr(anchor, 2);
        Add(pair, anchor);
        for (std::size_t i = 0; i < pair.size(); ++i) {
            if (IsLetter(pair[i])) {
                const char other = OtherCase(pair[i]);
                Add({&other, 1}, anchor + i);
            }
        }
    }

    // The first non-blank byte of the next line at or after `from` that is a
    // header or starts with the whole key, or end. An unfinished last line
    // holding only part of the key is not found. The first search, for
    // the key as written, bounds the others.
    const char* Next(const char* from) {
        const char* found = end_;
        for (std::size_t i = 0; i < count_; ++i) {
            for (const char* c = keys_[i].From(from, found); c < found;
                 c = keys_[i].From(c + 1, found)) {
                if (StartsLine(c, base_) && HoldsKey(c)) {
                    found = c;
                    break;
                }
            }
        }
        for (const char* c = headers_.From(from, found); c < found;
             c = headers_.From(c + 1, found)) {
            if (StartsLine(c, base_)) {
                return c;
            }
        }
        return found;
    }

private:
    void Add(std::string_view bytes, std::size_t back) {
        keys_[count_++] = KeyHits(bytes, back, end_);
    }

    bool HoldsKey(const char* c) const {
        if (key_.empty()) {
            return *c == '=' || *c == '\0';
        }
        return static_cast<std::size_t>(end_ - c) >= key_.size() &&
               NamesMatch(std::string_view(c, key_.size()), key_);
    }

    std::string_view key_;
    const char* base_;
    const char* end_;
    KeyHits headers_;
    KeyHits keys_[3] = {{{}, 0, nullptr}, {{}, 0, nullptr}, {{}, 0, nullptr}};
    std::size_t count_ = 0;
};

}  // namespace

ValueScanner::ValueScanner(std::string_view section, std::string_view key)
    : section_(section),
      key_(key),
      nameless_(!IsWritableName(section) || !IsWritableName(key) || HasEdgeBlank(section) ||
                HasEdgeBlank(key)) {}

ValueScanner::Status ValueScanner::Scan(std::string_view data, bool atEnd) {
    const char* const base = data.data();
    const char* const end = base + data.size();
    const char* p = base;
    value_ = {};
    if (nameless_) {
        return Status::kAbsent;
    }
    if (skipLine_) {
        p = FindBreak(p, end);
        if (p == end) {
            return atEnd ? Status::kAbsent : NeedMore(data.size());
        }
        skipLine_ = false;
    }
    if (!inSection_) {
        const Status status = ScanHeaders(base, p, end, atEnd);
        if (!inSection_) {
            return status;
        }
    }
    return ScanSection(base, p, end, atEnd);
}

// Outside the wanted section only headers matter, and a header starts with
// '[': jump from one '[' to the next. Leaves `p` after the wanted header.
ValueScanner::Status ValueScanner::ScanHeaders(const char* base, const char*& p, const char* end,
                                               bool atEnd) {
    for (;;) {
        const auto* open =
            static_cast<const char*>(std::memchr(p, '[', static_cast<std::size_t>(end - p)));
        if (open == nullptr) {
            if (atEnd) {
                return Status::kAbsent;
            }
            // Back to where the unfinished last line starts, which may lie
            // before `p` when a '[' inside it was passed over: the next piece
            // must not take the middle of a line for its start.
            const char* last = LastLineStart(base, end);
            if (SkipBlanks(last, end) < end) {
                skipLine_ = true;  // the unfinished last line is no header
                return NeedMore(static_cast<std::size_t>(end - base));
            }
            return NeedMore(static_cast<std::size_t>(last - base));
        }
        if (!StartsLine(open, base)) {
            p = open + 1;  // a '[' inside a line
            continue;
        }
        const char* lineStart = BackOverBlanks(open, base);
        const char* lineEnd = FindBreak(open, end);
        if (lineEnd == end && !atEnd) {
            return NeedMore(static_cast<std::size_t>(lineStart - base));
        }
        p = lineEnd;
        const LineParts header =
            SplitLine(std::string_view(lineStart, static_cast<std::size_t>(lineEnd - lineStart)));
        if (NamesMatch(header.name, section_)) {
            inSection_ = true;
            return Status::kNeedMore;  // not looked at: the caller goes on in the section
        }
    }
}

bool ValueScanner::MayStartKey(char c) const {
    return key_.empty() ? c == '=' || c == '\0' : FoldAscii(c) == FoldAscii(key_.front());
}

// The two neighbouring key bytes that are rarest, in a sample of the section
// ahead: a search stops at every place that holds them as written, or one of
// them in the other case, and the keys of one section tend to share most of
// their bytes.
void ValueScanner::ChooseAnchor(const char* from, const char* end) {
    anchorChosen_ = true;
    if (key_.size() < 2) {
        return;
    }
    constexpr std::ptrdiff_t kSample = 1024;
    const char* stop = end - from > kSample ? from + kSample : end;
    std::uint32_t count[256] = {};
    std::uint64_t sampled = 0;
    for (const char* c = from; c < stop && *c != '['; ++c) {
        ++count[static_cast<unsigned char>(*c)];
        ++sampled;
    }
    const auto seen = [&](char c) { return count[static_cast<unsigned char>(c)]; };
    const auto otherCase = [&](char c) { return IsLetter(c) ? seen(OtherCase(c)) : 0; };
    // The places expected to hold the pair or either byte in the other case,
    // times the sample's size; a search for a letter's other case costs
    // about as much as a stop every 4 KiB even when it finds nothing.
    const auto stops = [&](std::size_t at) {
        const char a = key_[at];
        const char b = key_[at + 1];
        const auto letters = std::uint64_t{IsLetter(a)} + IsLetter(b);
        return std::uint64_t{seen(a)} * seen(b) + sampled * (otherCase(a) + otherCase(b)) +
               letters * sampled * sampled / 4096;
    };
    for (std::size_t at = 1; at + 1 < key_.size(); ++at) {
        if (stops(at) < stops(anchor_)) {
            anchor_ = at;
        }
    }
}

ValueScanner::Status ValueScanner::ScanSection(const char* base, const char* p, const char* end,
                                               bool atEnd) {
    if (!anchorChosen_) {
        ChooseAnchor(p, end);
    }
    SectionLines lines(key_, anchor_, base, end);
    for (;;) {
        const char* first = lines.Next(p);
        if (first == end) {
            if (atEnd) {
                return Status::kAbsent;
            }
            const char* last = LastLineStart(base, end);
            const char* lastFirst = SkipBlanks(last, end);
            if (lastFirst < end && *lastFirst != '[' && !MayStartKey(*lastFirst)) {
                skipLine_ = true;
                return NeedMore(static_cast<std::size_t>(end - base));
            }
            return NeedMore(static_cast<std::size_t>(last - base));
        }
        const char* lineEnd = FindBreak(first, end);
        const Status status = CheckLine(base, BackOverBlanks(first, base), lineEnd, end, atEnd);
        if (status != kNextLine) {
            return status;
        }
        p = lineEnd;
    }
}

ValueScanner::Status ValueScanner::CheckLine(const char* base, const char* lineStart,
                                             const char* lineEnd, const char* end, bool atEnd) {
    const bool complete = lineEnd < end || atEnd;
    const LineParts line =
        SplitLine(std::string_view(lineStart, static_cast<std::size_t>(lineEnd - lineStart)));
    switch (line.kind) {
        case LineParts::Kind::kHeader:
            return Status::kAbsent;  // the first matching section has ended
        case LineParts::Kind::kBlank:
        case LineParts::Kind::kNoKey:
            // A '=' may still come on the rest of the line.
            return complete ? kNextLine : NeedMore(static_cast<std::size_t>(lineStart - base));
        case LineParts::Kind::kComment:
        case LineParts::Kind::kKey:
            break;
    }
    if (line.kind == LineParts::Kind::kComment || !NamesMatch(line.name, key_)) {
        if (complete) {
            return kNextLine;
        }
        skipLine_ = true;  // whatever follows on this line cannot matter
        return NeedMore(static_cast<std::size_t>(end - base));
    }
    if (!complete) {
        return NeedMore(static_cast<std::size_t>(lineStart - base));
    }
    value_ = line.value;
    return Status::kFound;
}

std::string ReadValue(std::string_view text, std::string_view section, std::string_view key) {
    section = TrimArgument(section);
    key = TrimArgument(key);
    if (!IsWritableName(section) || !IsWritableName(key)) {
        return {};  // no line of a file can hold such a name
    }
    const std::string terminated(text);  // the scanner's search needs the NUL after it
    ValueScanner scanner(section, key);
    if (scanner.Scan(terminated, true) != ValueScanner::Status::kFound) {
        return {};
    }
    return std::string(CutValue(scanner.value()));
}

}  // namespace launcher::ini
