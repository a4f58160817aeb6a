// Windows backend: thin wrappers over the system's profile functions, with
// UTF-8 converted to and from the ANSI code page at the boundary. Our own
// checks come first where the API itself is unsafe: names that would split
// into lines, line breaks inside values, read-only files, and a value cut in
// the middle of a character.
#include <windows.h>

#include <string>
#include <vector>

#include "profile/ini.h"
#include "profile/ini_detail.h"
#include "profile/ini_text.h"
#include "profile/win32_text.h"

namespace launcher {
namespace {

using win32::AnsiToUtf8;
using win32::Utf8ToAnsi;

constexpr DWORD kBufferSize = 255;

std::string ReadThroughApi(std::string_view section, std::string_view key, std::string_view file) {
    if (!ini::IsWritableName(section) || !ini::IsWritableName(key)) {
        return {};  // a NUL would shorten the name the API sees
    }
    char buffer[kBufferSize] = {};
    const DWORD copied =
        GetPrivateProfileStringA(Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(), "", buffer,
                                 kBufferSize, Utf8ToAnsi(file).c_str());
    std::size_t size = copied;
    if (size >= kBufferSize - 1) {
        size = detail::WholeCharacterPrefix(buffer, size, GetACP());
    }
    return AnsiToUtf8(std::string_view(buffer, size));
}

bool WriteThroughApi(std::string_view section, std::string_view key, std::string_view value,
                     std::string_view file) {
    // The API would write line breaks raw and let them add keys or sections.
    if (!ini::IsWritableName(section) || !ini::IsWritableName(key)) {
        return false;
    }
    const std::string path = Utf8ToAnsi(file);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;  // an administrator's write would otherwise go through
    }
    return WritePrivateProfileStringA(Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(),
                                      Utf8ToAnsi(ini::OneLineValue(value)).c_str(),
                                      path.c_str()) != FALSE;
}

}  // namespace

namespace detail {

std::size_t WholeCharacterPrefix(const char* bytes, std::size_t size, unsigned codePage) noexcept {
    if (codePage == CP_UTF8) {
        // Back off over an unfinished sequence at the end, if there is one.
        std::size_t lead = size;
        while (lead > 0 && size - lead < 4 &&
               (static_cast<unsigned char>(bytes[lead - 1]) & 0xC0) == 0x80) {
            --lead;
        }
        if (lead == 0) {
            return size;
        }
        const auto c = static_cast<unsigned char>(bytes[lead - 1]);
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > size - lead + 1 ? lead - 1 : size;
    }
    CPINFO info;
    if (GetCPInfo(codePage, &info) == FALSE || info.MaxCharSize != 2) {
        return size;
    }
    std::size_t i = 0;
    while (i < size) {
        i += IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[i])) != FALSE ? 2 : 1;
    }
    return i > size ? size - 1 : size;  // a lead byte whose second half was cut
}

bool WriteIniReported(std::string_view section, std::string_view key, std::string_view value,
                      std::string_view file, IniText) noexcept {
    try {
        return WriteThroughApi(section, key, value, file);
    } catch (...) {
        return false;
    }
}

}  // namespace detail

std::string ReadIni(std::string_view section, std::string_view key,
                    std::string_view file) noexcept {
    try {
        return ReadThroughApi(section, key, file);
    } catch (...) {
        return {};
    }
}

std::vector<std::string> ReadIniKeys(std::string_view section, std::string_view file) noexcept {
    try {
        // Trimmed as a lookup trims it: Wine's list takes the name as given.
        section = ini::TrimArgument(section);
        if (!ini::IsWritableName(section)) {
            return {};
        }
        const std::string name = Utf8ToAnsi(section);
        const std::string path = Utf8ToAnsi(file);
        // Without a key the API copies every key name, each ended by a NUL;
        // a list that does not fit comes back cut, two bytes short of full.
        std::string names(4096, '\0');
        DWORD copied = 0;
        for (;;) {
            copied = GetPrivateProfileStringA(name.c_str(), nullptr, "", names.data(),
                                              DWORD(names.size()), path.c_str());
            if (copied + 2 < names.size()) {
                break;
            }
            names.resize(names.size() * 4);
        }
        std::vector<std::string> keys;
        for (std::size_t start = 0; start < copied;) {
            const std::size_t end = names.find('\0', start);
            keys.push_back(AnsiToUtf8(std::string_view(names).substr(start, end - start)));
            start = end + 1;
        }
        return keys;
    } catch (...) {
        return {};
    }
}

void WriteIni(std::string_view section, std::string_view key, std::string_view value,
              std::string_view file, IniText) noexcept {
    detail::WriteIniReported(section, key, value, file);
}

}  // namespace launcher
