#include "profile/codepage.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace launcher::codepage {
namespace {

struct Fit {
    std::uint16_t unit;
    std::uint8_t byte;
};

constexpr Fit kFits[] = {
#include "profile/windows_1252_table.inc"
};

// What bytes 0x80..0x9F stand for; 0xA0..0xFF are U+00A0..U+00FF.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t kInvalid = 0xFFFFFFFF;

char32_t DecodedByte(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

// The character that starts at `at`, advancing `at` past it; kInvalid (and
// one byte) for anything that is not well-formed UTF-8.
char32_t NextCharacter(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    int length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 1, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 2, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return kInvalid;
    }
    if (text.size() - at < static_cast<std::size_t>(length)) {
        return kInvalid;
    }
    for (int i = 0; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return kInvalid;
        }
        c = c << 6 | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return kInvalid;
    }
    at += length;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The byte WideCharToMultiByte gives for one UTF-16 unit, or '?'.
char EncodedUnit(char32_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<char>(unit);
    }
    const auto fit = std::lower_bound(std::begin(kFits), std::end(kFits), unit,
                                      [](const Fit& f, char32_t u) { return f.unit < u; });
    return fit != std::end(kFits) && fit->unit == unit ? static_cast<char>(fit->byte) : '?';
}

bool HasExactByte(char32_t c) {
    return c <= 0xFFFF && DecodedByte(static_cast<unsigned char>(EncodedUnit(c))) == c;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

bool IsUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        if (NextCharacter(bytes, at) == kInvalid) {
            return false;
        }
    }
    return true;
}

std::string FileTextToUtf8(std::string_view bytes) {
    if (IsUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        AppendUtf8(text, DecodedByte(static_cast<unsigned char>(byte)));
    }
    return text;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t c = NextCharacter(utf8, at);
        if (c == kInvalid) {
            bytes.push_back('?');
        } else if (c > 0xFFFF) {
            bytes.append("??");  // a surrogate pair: two units without a byte
        } else {
            bytes.push_back(EncodedUnit(c));
        }
    }
    return bytes;
}

bool FitsWindows1252(std::string_view utf8) {
    for (std::size_t at = 0; at < utf8.size();) {
        if (!HasExactByte(NextCharacter(utf8, at))) {
            return false;
        }
    }
    return true;
}

bool WritesUtf8(std::string_view fileBytes, std::string_view section, std::string_view key,
                std::string_view value) {
    // Line by line, so that a file with both kinds of text is seen as such.
    bool windowsText = false;
    for (std::size_t start = 0; start < fileBytes.size();) {
        std::size_t end = fileBytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = fileBytes.size();
        }
        const std::string_view line = fileBytes.substr(start, end - start);
        if (!IsAscii(line)) {
            if (IsUtf8(line)) {
                return true;
            }
            windowsText = true;
        }
        start = end + 1;
    }
    return !windowsText &&
           !(FitsWindows1252(section) && FitsWindows1252(key) && FitsWindows1252(value));
}

bool HasWindows1252Spelling(std::string_view section, std::string_view key) {
    return !(IsAscii(section) && IsAscii(key)) && FitsWindows1252(section) && FitsWindows1252(key);
}

}  // namespace launcher::codepage
