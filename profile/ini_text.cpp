#include "profile/ini_text.h"

#include <algorithm>
#include <cstring>

namespace launcher::ini {
namespace {

// Blanks trimmed around names and values in the file. Windows trims space, tab
// and VT; FF and DOS EOF (0x1A) are trimmed as Wine does, since no Windows
// result says otherwise.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view UpToNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

std::string_view TrimBlanks(std::string_view s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsBlank(s[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(s[end - 1])) {
        --end;
    }
    return s.substr(begin, end - begin);
}

// First CR or LF in [p, end), or end. Only ever asked for the end of one
// line, so a plain loop does.
const char* FindBreak(const char* p, const char* end) {
    while (p < end && !IsBreak(*p)) {
        ++p;
    }
    return p;
}

const char* SkipBlanks(const char* p, const char* end) {
    while (p < end && IsBlank(*p)) {
        ++p;
    }
    return p;
}

// The section a header line names: up to the first ']' or the line end.
std::string_view HeaderName(const char* open, const char* lineEnd) {
    std::string_view inside(open + 1, static_cast<std::size_t>(lineEnd - open - 1));
    return TrimBlanks(UpToNul(inside.substr(0, inside.find(']'))));
}

std::string_view KeyName(const char* begin, const char* equals) {
    return TrimBlanks(UpToNul(std::string_view(begin, static_cast<std::size_t>(equals - begin))));
}

// Outer blanks go, then one pair of matching outer quotes.
std::string_view CleanValue(std::string_view raw) {
    std::string_view v = TrimBlanks(UpToNul(raw));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return v;
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

}  // namespace

std::string_view TrimArgument(std::string_view name) {
    const std::size_t begin = name.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return {};
    }
    return name.substr(begin, name.find_last_not_of(' ') - begin + 1);
}

bool IsWritableName(std::string_view name) {
    return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string OneLineValue(std::string_view value) {
    std::string line(value);
    for (char& c : line) {
        if (c == '\r' || c == '\n' || c == '\0') {
            c = ' ';
        }
    }
    return line;
}

std::string_view CutValue(std::string_view value) {
    if (value.size() <= kMaxValueBytes) {
        return value;
    }
    std::size_t cut = kMaxValueBytes;
    if (IsContinuation(static_cast<unsigned char>(value[cut]))) {
        // Find the lead byte before the cut; back off to it only when it and
        // its continuation bytes really form one character across the cut.
        for (std::size_t back = 1; back <= 3; ++back) {
            const auto c = static_cast<unsigned char>(value[cut - back]);
            if (IsContinuation(c)) {
                continue;
            }
            const std::size_t lead = cut - back;
            const std::size_t length = SequenceLength(c);
            bool whole = length > back && lead + length <= value.size();
            for (std::size_t i = cut; whole && i < lead + length; ++i) {
                whole = IsContinuation(static_cast<unsigned char>(value[i]));
            }
            if (whole) {
                cut = lead;
            }
            break;
        }
    }
    return value.substr(0, cut);
}

namespace {

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

// The next place at or after a point that holds either of two byte values,
// found with memchr. The next hit of each value is kept, so a search that
// moves forward reads each byte at most once per value.
class NextOf {
public:
    NextOf(char a, char b, const char* end) : bytes_{a, b}, end_(end) {}

    const char* From(const char* from) {
        const char* next = end_;
        for (int i = 0; i < (bytes_[0] == bytes_[1] ? 1 : 2); ++i) {
            if (at_[i] == nullptr || at_[i] < from) {
                const void* found =
                    std::memchr(from, bytes_[i], static_cast<std::size_t>(end_ - from));
                at_[i] = found == nullptr ? end_ : static_cast<const char*>(found);
            }
            next = std::min(next, at_[i]);
        }
        return next;
    }

private:
    char bytes_[2];
    const char* at_[2] = {nullptr, nullptr};
    const char* end_;
};

// The offset of the key byte that is rarest, in either case, in a sample of
// the section ahead. A search stops at every occurrence of the byte it looks
// for, and the keys of one section tend to share most of their bytes.
std::size_t RarestOffset(std::string_view key, const char* from, const char* end) {
    constexpr std::ptrdiff_t kSample = 2048;
    const char* stop = end - from > kSample ? from + kSample : end;
    std::size_t count[256] = {};
    for (const char* c = from; c < stop && *c != '['; ++c) {
        ++count[static_cast<unsigned char>(*c)];
    }
    const auto rarity = [&](std::size_t at) {
        const auto lower = static_cast<unsigned char>(FoldAscii(key[at]));
        const auto upper = static_cast<unsigned char>(UpperAscii(key[at]));
        return count[lower] + (upper == lower ? 0 : count[upper]);
    };
    std::size_t rarest = 0;
    for (std::size_t at = 1; at < key.size(); ++at) {
        if (rarity(at) < rarity(rarest)) {
            rarest = at;
        }
    }
    return rarest;
}

// The lines of a section that matter: a header, which ends the section, and
// a line whose first non-blank bytes spell the key. memchr finds each '['
// and each occurrence of the key's rarest byte, in either case; only there is
// a line looked at. The empty key's lines start with '=' or a NUL (see
// KeyName).
class SectionLines {
public:
    SectionLines(std::string_view key, const char* base, const char* from, const char* end)
        : key_(key),
          base_(base),
          end_(end),
          open_('[', '[', end),
          offset_(key.empty() ? 0 : RarestOffset(key, from, end)),
          anchor_(key.empty() ? '=' : FoldAscii(key[offset_]),
                  key.empty() ? '\0' : UpperAscii(key[offset_]), end) {}

    // The first non-blank byte of the next line at or after `from` that is a
    // header or starts with the whole key, or end. An unfinished last line
    // holding only part of the key is not found.
    const char* Next(const char* from) {
        const char* header = open_.From(from);
        while (header < end_ && !StartsLine(header, base_)) {
            header = open_.From(header + 1);
        }
        for (const char* c = KeyFrom(from); c < header; c = KeyFrom(c + 1)) {
            if (StartsLine(c, base_) && HoldsKey(c)) {
                return c;
            }
        }
        return header;
    }

private:
    bool HoldsKey(const char* c) const {
        if (key_.empty()) {
            return *c == '=' || *c == '\0';
        }
        return static_cast<std::size_t>(end_ - c) >= key_.size() &&
               SameName(std::string_view(c, key_.size()), key_);
    }

    // The next place at or after `from` where the key's rarest byte stands
    // at its offset, or end.
    const char* KeyFrom(const char* from) {
        if (static_cast<std::size_t>(end_ - from) <= offset_) {
            return end_;
        }
        const char* hit = anchor_.From(from + offset_);
        return hit == end_ ? end_ : hit - offset_;
    }

    std::string_view key_;
    const char* base_;
    const char* end_;
    NextOf open_;
    std::size_t offset_;
    NextOf anchor_;
};

}  // namespace

bool NamesMatch(std::string_view a, std::string_view b) {
    return SameName(a, b);
}

LineParts SplitLine(std::string_view line) {
    const char* const end = line.data() + line.size();
    const char* const first = SkipBlanks(line.data(), end);
    const auto size = static_cast<std::size_t>(end - first);
    LineParts parts;
    if (first == end) {
        return parts;
    }
    const auto* equals = static_cast<const char*>(std::memchr(first, '=', size));
    if (*first == '[') {
        parts.kind = LineParts::Kind::kHeader;
        parts.name = HeaderName(first, end);
        parts.closed = std::memchr(first, ']', size) != nullptr;
    } else if (*first == ';') {
        parts.kind = LineParts::Kind::kComment;
    } else if (equals == nullptr) {
        parts.kind = LineParts::Kind::kNoKey;
    } else {
        parts.kind = LineParts::Kind::kKey;
        parts.name = KeyName(first, equals);
        parts.value =
            CleanValue(std::string_view(equals + 1, static_cast<std::size_t>(end - equals - 1)));
    }
    return parts;
}

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
        const char* lineEnd = FindBreak(open, end);
        if (lineEnd == end && !atEnd) {
            return NeedMore(static_cast<std::size_t>(BackOverBlanks(open, base) - base));
        }
        p = lineEnd;
        if (SameName(HeaderName(open, lineEnd), section_)) {
            inSection_ = true;
            return Status::kNeedMore;  // not looked at: the caller goes on in the section
        }
    }
}

bool ValueScanner::MayStartKey(char c) const {
    return key_.empty() ? c == '=' || c == '\0' : FoldAscii(c) == FoldAscii(key_.front());
}

ValueScanner::Status ValueScanner::ScanSection(const char* base, const char* p, const char* end,
                                               bool atEnd) {
    SectionLines lines(key_, base, p, end);
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
        const Status status =
            CheckLine(base, BackOverBlanks(first, base), first, lineEnd, end, atEnd);
        if (status != kNextLine) {
            return status;
        }
        p = lineEnd;
    }
}

ValueScanner::Status ValueScanner::CheckLine(const char* base, const char* lineStart,
                                             const char* first, const char* lineEnd,
                                             const char* end, bool atEnd) {
    const bool complete = lineEnd < end || atEnd;
    if (*first == '[') {
        return Status::kAbsent;  // the first matching section has ended
    }
    const auto* equals = *first == ';'
                             ? nullptr
                             : static_cast<const char*>(std::memchr(
                                   first, '=', static_cast<std::size_t>(lineEnd - first)));
    const bool otherKey =
        *first == ';' || (equals != nullptr && !SameName(KeyName(first, equals), key_));
    if (complete && (otherKey || equals == nullptr)) {
        return kNextLine;
    }
    if (otherKey) {
        skipLine_ = true;  // whatever follows on this line cannot matter
        return NeedMore(static_cast<std::size_t>(end - base));
    }
    if (!complete) {
        return NeedMore(static_cast<std::size_t>(lineStart - base));
    }
    value_ =
        CleanValue(std::string_view(equals + 1, static_cast<std::size_t>(lineEnd - equals - 1)));
    return Status::kFound;
}

std::string ReadValue(std::string_view text, std::string_view section, std::string_view key) {
    section = TrimArgument(section);
    key = TrimArgument(key);
    if (!IsWritableName(section) || !IsWritableName(key)) {
        return {};  // no line of a file can hold such a name
    }
    ValueScanner scanner(section, key);
    if (scanner.Scan(text, true) != ValueScanner::Status::kFound) {
        return {};
    }
    return std::string(CutValue(scanner.value()));
}

std::string Splice::ApplyTo(std::string_view text) const {
    std::string out;
    out.reserve(text.size() - erase + insert.size());
    out.append(text.substr(0, offset)).append(insert).append(text.substr(offset + erase));
    return out;
}

std::optional<Splice> PlanWrite(std::string_view text, std::string_view section,
                                std::string_view key, std::string_view value) {
    section = TrimArgument(section);
    key = TrimArgument(key);
    if (!IsWritableName(section) || !IsWritableName(key)) {
        return std::nullopt;
    }
    const std::string line = OneLineValue(value);
    const char* const base = text.data();
    const char* const end = base + text.size();

    bool inSection = false;
    bool found = false;
    std::size_t anchor = 0;         // where a new key line of the section goes
    bool anchorTerminated = false;  // the line before the anchor ends in a break
    for (const char* p = base; p < end;) {
        const char* const lineEnd = FindBreak(p, end);
        const char* next = lineEnd;
        if (next < end) {
            next += (*next == '\r' && next + 1 < end && next[1] == '\n') ? 2 : 1;
        }
        const char* const first = SkipBlanks(p, lineEnd);
        p = next;
        if (first < lineEnd && *first == '[') {
            if (inSection) {
                break;
            }
            inSection = found = SameName(HeaderName(first, lineEnd), section);
        } else if (!inSection || first == lineEnd || *first == ';') {
            continue;
        } else if (const auto* equals = static_cast<const char*>(
                       std::memchr(first, '=', static_cast<std::size_t>(lineEnd - first)))) {
            if (SameName(KeyName(first, equals), key)) {
                const std::string_view old(equals + 1,
                                           static_cast<std::size_t>(lineEnd - equals - 1));
                if (TrimBlanks(old) == line) {
                    return Splice{};  // already there: leave the file alone
                }
                Splice splice{static_cast<std::size_t>(equals + 1 - base), old.size(), line};
                if (lineEnd == end) {
                    splice.insert += "\r\n";
                }
                return splice;
            }
        } else {
            continue;  // no '=': not a key line
        }
        anchor = static_cast<std::size_t>(next - base);
        anchorTerminated = lineEnd < end;
    }

    Splice splice;
    if (found) {
        splice.offset = anchor;
        if (!anchorTerminated) {
            splice.insert = "\r\n";
        }
    } else {
        splice.offset = text.size();
        if (!text.empty() && !IsBreak(text.back())) {
            splice.insert = "\r\n";
        }
        splice.insert.append("[").append(section).append("]\r\n");
    }
    splice.insert.append(key).append("=").append(line).append("\r\n");
    return splice;
}

}  // namespace launcher::ini
