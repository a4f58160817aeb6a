#include "profile/ini_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "profile/ini_line.h"

namespace launcher::ini {
namespace {

bool IsLetter(char c) {
    return FoldAscii(c) >= 'a' && FoldAscii(c) <= 'z';
}

char OtherCase(char c) {
    return static_cast<char>(c ^ 0x20);
}

// How often the pair `a`, `b` stands as written in [from, stop), a sample
// of at most 65,535 bytes: a loop without exits, which the compiler makes
// into vector code, with a count as narrow as the sample allows.
std::uint64_t CountPair(const char* from, const char* stop, char a, char b) {
    std::uint16_t pairs = 0;
    for (const char* c = from; c + 1 < stop; ++c) {
        pairs = static_cast<std::uint16_t>(pairs + ((c[0] == a) & (c[1] == b)));
    }
    return pairs;
}

}  // namespace

const char* LastLineStart(const char* base, const char* end) {
    while (end > base && !IsBreak(end[-1])) {
        --end;
    }
    return end;
}

// Counted in a sample of the section ahead: a search stops at every place
// that holds the pair as written, or one of its bytes in the other case, and
// the keys of one section tend to share most of their bytes. The pair itself
// is counted, not guessed from its bytes: the lines of one name, such as an
// airport's eight positions, repeat its bytes close together, and a product
// of byte counts takes such bytes for common.
std::size_t RarestPair(std::string_view key, const char* from, const char* end) {
    constexpr std::ptrdiff_t kSample = 512;
    const char* stop = end - from > kSample ? from + kSample : end;
    if (const void* open = std::memchr(from, '[', static_cast<std::size_t>(stop - from))) {
        stop = static_cast<const char*>(open);
    }
    std::uint16_t count[256] = {};  // the sample is short
    for (const char* c = from; c < stop; ++c) {
        ++count[static_cast<unsigned char>(*c)];
    }
    const auto sampled = static_cast<std::uint64_t>(stop - from);
    const auto seen = [&](char c) { return count[static_cast<unsigned char>(c)]; };
    const auto otherCase = [&](char c) { return IsLetter(c) ? seen(OtherCase(c)) : 0; };
    // The places expected to hold the pair or either byte in the other case,
    // times the sample's size; a search for a letter's other case costs
    // about as much as a stop every 16 KiB even when it finds nothing. Pairs
    // the sample lacks look alike: the rarer bytes win.
    const auto stops = [&](std::size_t at) {
        const char a = key[at];
        const char b = key[at + 1];
        const auto letters = std::uint64_t{IsLetter(a)} + IsLetter(b);
        return CountPair(from, stop, a, b) * sampled + seen(a) + seen(b) +
               sampled * (otherCase(a) + otherCase(b)) + letters * sampled * sampled / 16384;
    };
    std::size_t rarest = 0;
    std::uint64_t fewest = stops(0);
    for (std::size_t at = 1; at + 1 < key.size(); ++at) {
        const std::uint64_t here = stops(at);
        if (here < fewest) {
            rarest = at;
            fewest = here;
        }
    }
    return rarest;
}

KeyHits::KeyHits(std::string_view bytes, std::size_t back, const char* end)
    : size_(bytes.size()), back_(back), end_(end) {
    std::copy(bytes.begin(), bytes.end(), bytes_);
}

const char* KeyHits::From(const char* from, const char* limit) {
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

const char* KeyHits::FindByte(const char* at, const char* stop) const {
    const void* hit = std::memchr(at, bytes_[0], static_cast<std::size_t>(stop - at));
    return hit == nullptr ? end_ : static_cast<const char*>(hit);
}

// strstr stops at the first NUL: a file's own NULs are stepped over, and the
// one after the data ends the search. A hit at or after end_ is the copy of
// the key the caller may put after the data (see ValueScanner::Scan).
const char* KeyHits::FindPair(const char* at) const {
    while (at < end_) {
        if (const char* hit = std::strstr(at, bytes_)) {
            return hit;
        }
        at += std::strlen(at) + 1;
    }
    return end_;
}

SectionLines::SectionLines(std::string_view key, std::size_t anchor, const char* base,
                           const char* end)
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

// The first search, for the key as written, bounds the others.
const char* SectionLines::Next(const char* from) {
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
    for (const char* c = headers_.From(from, found); c < found; c = headers_.From(c + 1, found)) {
        if (StartsLine(c, base_)) {
            return c;
        }
    }
    return found;
}

void SectionLines::Add(std::string_view bytes, std::size_t back) {
    keys_[count_++] = KeyHits(bytes, back, end_);
}

bool SectionLines::HoldsKey(const char* c) const {
    if (key_.empty()) {
        return *c == '=' || *c == '\0';
    }
    return static_cast<std::size_t>(end_ - c) >= key_.size() &&
           NamesMatch(std::string_view(c, key_.size()), key_);
}

}  // namespace launcher::ini
