#include "profile/ini_listing.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "profile/codepage.h"
#include "profile/ini_line.h"
#include "profile/paths.h"

#ifdef _WIN32
#include <windows.h>

#include "profile/ini_detail.h"
#include "profile/win32_text.h"
#endif

namespace launcher::ini {
namespace {

#ifdef _WIN32
// The system's profile functions give the ANSI code page's bytes, cut by
// their buffer where ini_win32.cpp cuts them.
std::string NameAsRead(std::string_view name) {
    return win32::AnsiToUtf8(name);
}

std::string ValueAsRead(std::string_view value) {
    std::size_t size = std::min(value.size(), kMaxValueBytes);
    if (size == kMaxValueBytes) {
        size = detail::WholeCharacterPrefix(value.data(), size, GetACP());
    }
    return win32::AnsiToUtf8(value.substr(0, size));
}
#else
std::string NameAsRead(std::string_view name) {
    return codepage::FileTextToUtf8(name);
}

std::string ValueAsRead(std::string_view value) {
    return codepage::FileTextToUtf8(CutValue(value));
}
#endif

// Not UTF-8, and a byte that Windows-1252 leaves undefined.
bool IsNeitherUtf8NorWindows1252(std::string_view line) {
    return line.find_first_of("\x81\x8d\x8f\x90\x9d") != std::string_view::npos &&
           !codepage::IsUtf8(line);
}

}  // namespace

const ListedSection* IniListing::FindSection(std::string_view section) const {
    section = TrimArgument(section);
    if (!IsWritableName(section)) {
        return nullptr;
    }
    const auto found = std::find_if(sections.begin(), sections.end(), [&](const ListedSection& s) {
        return NamesMatch(s.name, section);
    });
    return found == sections.end() ? nullptr : &*found;
}

const ListedKey* IniListing::Find(std::string_view section, std::string_view key) const {
    const ListedSection* found = FindSection(section);
    key = TrimArgument(key);
    if (found == nullptr || !IsWritableName(key)) {
        return nullptr;
    }
    // Only the first section of the name is searched, even when a later one
    // holds the key.
    const auto line = std::find_if(found->keys.begin(), found->keys.end(),
                                   [&](const ListedKey& k) { return NamesMatch(k.name, key); });
    return line == found->keys.end() ? nullptr : &*line;
}

IniListing ListIni(std::string_view bytes) {
    IniListing listing;
    listing.byteOrderMark = bytes.starts_with("\xef\xbb\xbf");
    // With a BOM, or without one as the first character's second byte.
    listing.utf16 = bytes.starts_with("\xff\xfe") || bytes.starts_with("\xfe\xff") ||
                    (bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0'));
    int number = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
        const std::string_view line = bytes.substr(at, end - at);
        at = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        ++number;
        if (IsNeitherUtf8NorWindows1252(line)) {
            listing.linesNotText.push_back(number);
        }
        const LineParts parts = SplitLine(line);
        switch (parts.kind) {
            case LineParts::Kind::kBlank:
            case LineParts::Kind::kComment:
                break;
            case LineParts::Kind::kNoKey:
                listing.linesWithoutKey.push_back(number);
                break;
            case LineParts::Kind::kHeader:
                listing.sections.push_back({NameAsRead(parts.name), number, parts.closed, {}});
                break;
            case LineParts::Kind::kKey: {
                ListedKey key{NameAsRead(parts.name), ValueAsRead(parts.value), parts.value.size(),
                              number};
                (listing.sections.empty() ? listing.keysBeforeFirstSection
                                          : listing.sections.back().keys)
                    .push_back(std::move(key));
                break;
            }
        }
    }
    return listing;
}

std::optional<IniListing> ListIniFile(std::string_view path) {
    std::ifstream in(FileSystemPath(path), std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (!in.is_open() || in.bad()) {
        return std::nullopt;
    }
    return ListIni(bytes);
}

}  // namespace launcher::ini
