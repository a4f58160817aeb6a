#include "profile/ini_line.h"

namespace launcher::ini {
namespace {

std::string_view UpToNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
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

std::string_view TrimArgument(std::string_view name) {
    const std::size_t begin = name.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return {};
    }
    return name.substr(begin, name.find_last_not_of(' ') - begin + 1);
}

// A plain loop: find_first_of calls the C library once for each byte of the
// name, and every lookup asks this.
bool IsWritableName(std::string_view name) {
    for (const char c : name) {
        if (IsBreak(c) || c == '\0') {
            return false;
        }
    }
    return true;
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

LineParts SplitLine(std::string_view line) {
    std::size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) {
        ++first;
    }
    const std::string_view rest = line.substr(first);
    LineParts parts;
    if (rest.empty()) {
        return parts;
    }
    if (rest.front() == '[') {
        parts.kind = LineParts::Kind::kHeader;
        const std::string_view inside = rest.substr(1);
        const std::size_t close = inside.find(']');
        parts.name = TrimBlanks(UpToNul(inside.substr(0, close)));
        parts.closed = close != std::string_view::npos;
        return parts;
    }
    if (rest.front() == ';') {
        parts.kind = LineParts::Kind::kComment;
        return parts;
    }
    const std::size_t equals = rest.find('=');
    if (equals == std::string_view::npos) {
        parts.kind = LineParts::Kind::kNoKey;
        return parts;
    }
    parts.kind = LineParts::Kind::kKey;
    parts.name = TrimBlanks(UpToNul(rest.substr(0, equals)));
    parts.rawValue = rest.substr(equals + 1);
    parts.value = CleanValue(parts.rawValue);
    return parts;
}

const char* FindBreak(const char* p, const char* end) {
    while (p < end && !IsBreak(*p)) {
        ++p;
    }
    return p;
}

}  // namespace launcher::ini
