#include "profile/ini_text.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LAUNCHER_INI_AVX2 1
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
            const char* last = end;
            while (last > base && !IsBreak(last[-1])) {
                --last;
            }
            if (SkipBlanks(last, end) < end) {
                skipLine_ = true;  // the unfinished last line is no header
                return NeedMore(static_cast<std::size_t>(end - base));
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

// Inside the section, a line matters only if it is a header (the section
// ends) or its key starts with the key's first byte. NextCandidate finds such
// lines without looking at every line.
ValueScanner::Status ValueScanner::ScanSection(const char* base, const char* p, const char* end,
                                               bool atEnd) {
    for (;;) {
        const char* first = NextCandidate(p, base, end);
        if (first == end) {
            if (atEnd) {
                return Status::kAbsent;
            }
            const char* last = end;
            while (last > base && !IsBreak(last[-1])) {
                --last;
            }
            const char* lastFirst = SkipBlanks(last, end);
            if (lastFirst < end && *lastFirst != '[' && !MayStartKey(*lastFirst)) {
                skipLine_ = true;
                return NeedMore(static_cast<std::size_t>(end - base));
            }
            return NeedMore(static_cast<std::size_t>(last - base));
        }
        const char* lineStart = first;
        while (lineStart > base && IsBlank(lineStart[-1])) {
            --lineStart;
        }
        if (lineStart > base && !IsBreak(lineStart[-1])) {
            p = first + 1;  // not the start of a line
            continue;
        }
        const char* lineEnd = FindBreak(first, end);
        const Status status = CheckLine(base, lineStart, first, lineEnd, end, atEnd);
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

namespace {

// (byte | fold) == want: ASCII letters match in either case.
struct ByteMatch {
    unsigned char fold;
    unsigned char want;
};

ByteMatch MatchOf(char c) {
    const auto u = static_cast<unsigned char>(FoldAscii(c));
    return u >= 'a' && u <= 'z' ? ByteMatch{0x20, u} : ByteMatch{0, u};
}

bool Matches(ByteMatch m, char c) {
    return (static_cast<unsigned char>(c) | m.fold) == m.want;
}

// Could start a line: the byte before it is a line break or a blank (or
// another control byte; the caller checks).
bool AfterSpace(const char* c, const char* base) {
    return c == base || static_cast<unsigned char>(c[-1]) <= 0x20;
}

// Where a block scan stopped: at the first candidate, or where fewer bytes
// are left than a block needs.
struct Blocks {
    const char* at;
    bool found;
};

// The key bytes a candidate must show at their offsets from its first byte.
struct Anchors {
    std::size_t midOffset;
    std::size_t lastOffset;
    ByteMatch first;
    ByteMatch mid;
    ByteMatch last;
};

// The candidate test of NextCandidate on 16 or 32 bytes at once. Most
// blocks hold no line that matters, and the middle and last key bytes (or a
// '[') rule out two blocks at a time with the fewest operations; a block they
// let through gets the whole test. Reads one byte before `c`, so c > base.
template <typename Vector, typename Ops>
Blocks ScanBlocks(const char* c, const char* end, const Anchors& a) {
    const Vector space = Ops::Splat(0x20);
    const Vector open = Ops::Splat('[');
    const Vector firstFold = Ops::Splat(static_cast<char>(a.first.fold));
    const Vector firstWant = Ops::Splat(static_cast<char>(a.first.want));
    const Vector midFold = Ops::Splat(static_cast<char>(a.mid.fold));
    const Vector midWant = Ops::Splat(static_cast<char>(a.mid.want));
    const Vector lastFold = Ops::Splat(static_cast<char>(a.last.fold));
    const Vector lastWant = Ops::Splat(static_cast<char>(a.last.want));
    const auto rough = [&](const char* at) {
        return Ops::And(Ops::Equal(Ops::Or(Ops::Load(at + a.midOffset), midFold), midWant),
                        Ops::Equal(Ops::Or(Ops::Load(at + a.lastOffset), lastFold), lastWant));
    };
    constexpr auto kBlock = static_cast<std::ptrdiff_t>(sizeof(Vector));
    const auto lastOffset = static_cast<std::ptrdiff_t>(a.lastOffset);
    while (end - c >= lastOffset + kBlock) {
        if (end - c >= lastOffset + 2 * kBlock) {
            const Vector open2 =
                Ops::Or(Ops::Equal(Ops::Load(c), open), Ops::Equal(Ops::Load(c + kBlock), open));
            if (Ops::Mask(Ops::Or(Ops::Or(rough(c), rough(c + kBlock)), open2)) == 0) {
                c += 2 * kBlock;
                continue;
            }
        }
        const Vector before = Ops::Load(c - 1);
        const Vector here = Ops::Load(c);
        const Vector spaced = Ops::Equal(Ops::Min(before, space), before);
        const Vector key = Ops::And(Ops::Equal(Ops::Or(here, firstFold), firstWant), rough(c));
        const auto mask = Ops::Mask(Ops::And(spaced, Ops::Or(key, Ops::Equal(here, open))));
        if (mask != 0) {
            return {c + __builtin_ctz(mask), true};
        }
        c += kBlock;
    }
    return {c, false};
}

#if defined(__SSE2__)
struct Sse2 {
    static __m128i Splat(char c) { return _mm_set1_epi8(c); }
    static __m128i Load(const char* p) {
        __m128i v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static __m128i Min(__m128i a, __m128i b) { return _mm_min_epu8(a, b); }
    static __m128i Equal(__m128i a, __m128i b) { return _mm_cmpeq_epi8(a, b); }
    static __m128i And(__m128i a, __m128i b) { return _mm_and_si128(a, b); }
    static __m128i Or(__m128i a, __m128i b) { return _mm_or_si128(a, b); }
    static unsigned Mask(__m128i a) { return static_cast<unsigned>(_mm_movemask_epi8(a)); }
};
#endif

#if defined(LAUNCHER_INI_AVX2)
// ScanBlocks on 32 bytes, spelt out in one function: the target attribute
// does not reach into a template's instances, and 32-byte vectors kept out of
// memory spare MinGW's misaligned stack.
__attribute__((target("avx2"))) Blocks ScanBlocksAvx2(const char* c, const char* end,
                                                      const Anchors& a) {
    const __m256i space = _mm256_set1_epi8(0x20);
    const __m256i open = _mm256_set1_epi8('[');
    const __m256i firstFold = _mm256_set1_epi8(static_cast<char>(a.first.fold));
    const __m256i firstWant = _mm256_set1_epi8(static_cast<char>(a.first.want));
    const __m256i midFold = _mm256_set1_epi8(static_cast<char>(a.mid.fold));
    const __m256i midWant = _mm256_set1_epi8(static_cast<char>(a.mid.want));
    const __m256i lastFold = _mm256_set1_epi8(static_cast<char>(a.last.fold));
    const __m256i lastWant = _mm256_set1_epi8(static_cast<char>(a.last.want));
    const auto lastOffset = static_cast<std::ptrdiff_t>(a.lastOffset);
    const auto midOffset = static_cast<std::ptrdiff_t>(a.midOffset);
    while (end - c >= lastOffset + 32) {
        __m256i here;
        __m256i middle;
        __m256i tail;
        if (end - c >= lastOffset + 64) {
            __m256i here2;
            __m256i middle2;
            __m256i tail2;
            std::memcpy(&here, c, sizeof here);
            std::memcpy(&middle, c + midOffset, sizeof middle);
            std::memcpy(&tail, c + lastOffset, sizeof tail);
            std::memcpy(&here2, c + 32, sizeof here2);
            std::memcpy(&middle2, c + 32 + midOffset, sizeof middle2);
            std::memcpy(&tail2, c + 32 + lastOffset, sizeof tail2);
            const __m256i rough =
                _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(middle, midFold), midWant),
                                 _mm256_cmpeq_epi8(_mm256_or_si256(tail, lastFold), lastWant));
            const __m256i rough2 =
                _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(middle2, midFold), midWant),
                                 _mm256_cmpeq_epi8(_mm256_or_si256(tail2, lastFold), lastWant));
            const __m256i open2 =
                _mm256_or_si256(_mm256_cmpeq_epi8(here, open), _mm256_cmpeq_epi8(here2, open));
            if (_mm256_movemask_epi8(_mm256_or_si256(_mm256_or_si256(rough, rough2), open2)) == 0) {
                c += 64;
                continue;
            }
        }
        __m256i before;
        std::memcpy(&before, c - 1, sizeof before);
        std::memcpy(&here, c, sizeof here);
        std::memcpy(&middle, c + midOffset, sizeof middle);
        std::memcpy(&tail, c + lastOffset, sizeof tail);
        const __m256i spaced = _mm256_cmpeq_epi8(_mm256_min_epu8(before, space), before);
        const __m256i key = _mm256_and_si256(
            _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(here, firstFold), firstWant),
                             _mm256_cmpeq_epi8(_mm256_or_si256(middle, midFold), midWant)),
            _mm256_cmpeq_epi8(_mm256_or_si256(tail, lastFold), lastWant));
        const auto mask = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_and_si256(spaced, _mm256_or_si256(key, _mm256_cmpeq_epi8(here, open)))));
        if (mask != 0) {
            return {c + __builtin_ctz(mask), true};
        }
        c += 32;
    }
    return {c, false};
}
#endif

Blocks CandidateBlocks(const char* c, const char* end, const Anchors& a) {
#if defined(LAUNCHER_INI_AVX2)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) {
        return ScanBlocksAvx2(c, end, a);
    }
#endif
#if defined(__SSE2__)
    return ScanBlocks<__m128i, Sse2>(c, end, a);
#else
    return {c, false};
#endif
}

bool IsAlnum(char c) {
    return (c >= '0' && c <= '9') || (FoldAscii(c) >= 'a' && FoldAscii(c) <= 'z');
}

}  // namespace

// Keys of one file tend to share their first bytes (a region letter) and
// their last ones (a few repeated suffixes), so first and last byte alone let
// many lines through. The byte that ends the first word (the second L of
// EGLL in EGLL_N_TWR) is the one that changes from one key to the next in
// such families; a key of one word has no such byte and gets its middle.
std::size_t ValueScanner::MidOffset(std::string_view key) {
    std::size_t word = 1;
    while (word < key.size() && IsAlnum(key[word])) {
        ++word;
    }
    return word > 1 && word + 1 < key.size() ? word - 1 : key.size() / 2;
}

// The first byte at or after `from` that may be the first non-blank byte of a
// line starting a header or the key: it follows a byte <= 0x20, and it is '['
// or the key's first byte with the key's middle and last bytes where they
// belong. Every line that matters is found; the caller weeds out the rest.
const char* ValueScanner::NextCandidate(const char* from, const char* base, const char* end) const {
    const char* c = from;
    if (key_.empty()) {
        for (; c < end; ++c) {
            if (AfterSpace(c, base) && (*c == '[' || MayStartKey(*c))) {
                return c;
            }
        }
        return end;
    }
    const Anchors anchors{midOffset_, key_.size() - 1, MatchOf(key_.front()),
                          MatchOf(key_[midOffset_]), MatchOf(key_.back())};
    const auto candidate = [&](const char* x) {
        return AfterSpace(x, base) &&
               (*x == '[' || (Matches(anchors.first, *x) &&
                              (end - x <= static_cast<std::ptrdiff_t>(anchors.lastOffset) ||
                               (Matches(anchors.mid, x[anchors.midOffset]) &&
                                Matches(anchors.last, x[anchors.lastOffset])))));
    };
    if (c == base && c < end) {
        if (candidate(c)) {
            return c;
        }
        ++c;
    }
    const Blocks blocks = CandidateBlocks(c, end, anchors);
    if (blocks.found) {
        return blocks.at;
    }
    c = blocks.at;
    for (; c < end; ++c) {
        if (candidate(c)) {
            return c;
        }
    }
    return end;
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
