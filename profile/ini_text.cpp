#include "profile/ini_text.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// First CR or LF in [p, end), or end. The hot loop of every lookup inside a
// section, so it looks at 16 bytes at a time where it can.
const char* FindBreak(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        __m128i block;
        std::memcpy(&block, p, sizeof block);
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
        if (mask != 0) {
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        }
        p += 16;
    }
#endif
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

ValueScanner::Status ValueScanner::Scan(std::string_view data, bool atEnd) {
    const char* const base = data.data();
    const char* const end = base + data.size();
    const char* p = base;
    value_ = {};
    if (skipLine_) {
        p = FindBreak(p, end);
        if (p == end) {
            return atEnd ? Status::kAbsent : NeedMore(data.size());
        }
        skipLine_ = false;
    }
    for (;;) {
        if (!inSection_) {
            // Outside the wanted section only headers matter, and a header
            // starts with '[': jump from one '[' to the next.
            const auto* open =
                static_cast<const char*>(std::memchr(p, '[', static_cast<std::size_t>(end - p)));
            if (open == nullptr) {
                if (atEnd) {
                    return Status::kAbsent;
                }
                const char* last = end;
                while (last > p && !IsBreak(last[-1])) {
                    --last;
                }
                if (SkipBlanks(last, end) < end) {
                    skipLine_ = true;  // the unfinished last line is no header
                    return NeedMore(data.size());
                }
                return NeedMore(static_cast<std::size_t>(last - base));
            }
            const char* lineStart = open;
            while (lineStart > base && IsBlank(lineStart[-1])) {
                --lineStart;
            }
            if (lineStart > base && !IsBreak(lineStart[-1])) {
                p = open + 1;  // a '[' inside a line
                continue;
            }
            const char* lineEnd = FindBreak(open, end);
            if (lineEnd == end && !atEnd) {
                return NeedMore(static_cast<std::size_t>(lineStart - base));
            }
            inSection_ = SameName(HeaderName(open, lineEnd), section_);
            p = lineEnd;
            continue;
        }

        while (p < end && IsBreak(*p)) {
            ++p;
        }
        if (p == end) {
            return atEnd ? Status::kAbsent : NeedMore(data.size());
        }
        const char* const lineStart = p;
        const char* const lineEnd = FindBreak(p, end);
        const bool complete = lineEnd < end || atEnd;
        const char* const first = SkipBlanks(lineStart, lineEnd);
        p = lineEnd;
        if (first == lineEnd) {
            if (!complete) {
                return NeedMore(static_cast<std::size_t>(lineStart - base));
            }
            continue;
        }
        if (*first == '[') {
            return Status::kAbsent;  // the first matching section has ended
        }
        // A key line of another name fails on its first byte, as almost all
        // lines of a section do; a comment never matches.
        const bool hopeless =
            *first == ';' || (key_.empty() ? *first != '=' && *first != '\0'
                                           : FoldAscii(*first) != FoldAscii(key_.front()));
        if (hopeless) {
            if (!complete) {
                skipLine_ = true;
                return NeedMore(data.size());
            }
            continue;
        }
        const auto* equals = static_cast<const char*>(
            std::memchr(first, '=', static_cast<std::size_t>(lineEnd - first)));
        if (equals == nullptr) {
            if (!complete) {
                return NeedMore(static_cast<std::size_t>(lineStart - base));
            }
            continue;
        }
        if (!SameName(KeyName(first, equals), key_)) {
            if (!complete) {
                skipLine_ = true;
                return NeedMore(data.size());
            }
            continue;
        }
        if (!complete) {
            return NeedMore(static_cast<std::size_t>(lineStart - base));
        }
        value_ = CleanValue(
            std::string_view(equals + 1, static_cast<std::size_t>(lineEnd - equals - 1)));
        return Status::kFound;
    }
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
