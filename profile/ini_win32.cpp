// Windows backend: thin wrappers over the system's profile functions, with
// UTF-8 converted to and from the ANSI code page at the boundary. Our own
// checks come first where the API itself is unsafe: names that would split
// into lines, line breaks inside values, read-only files, files that are
// links, and a value cut in the middle of a character.
#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "profile/ini.h"
#include "profile/ini_detail.h"
#include "profile/ini_line.h"
#include "profile/win32_text.h"

namespace launcher {
namespace {

using win32::AnsiToUtf8;
using win32::AnsiToWide;
using win32::Utf8ToAnsi;
using win32::WideToAnsi;

constexpr DWORD kBufferSize = 255;

// An INI file as the profile functions are handed it. A path the ANSI code
// page spells goes to the A functions as it always has; any other (a folder
// named in letters of another script) goes to the W functions, which alone
// reach it. Either way sections, keys and values take the ANSI code page's
// round trip the A functions give them, so the file's bytes mean the same.
class IniFile {
public:
    explicit IniFile(std::string_view path)
        : ansi_(Utf8ToAnsi(path)),
          wide_(win32::Utf8ToWide(path)),
          useAnsi_(AnsiToUtf8(ansi_) == path) {}

    DWORD Attributes() const { return GetFileAttributesW(wide_.c_str()); }

    // GetPrivateProfileStringA into `size` bytes at `buffer`, with "" as the
    // default; a null `key` lists the section's keys.
    DWORD Get(const std::string& section, const std::string* key, char* buffer, DWORD size) const {
        if (useAnsi_) {
            return GetPrivateProfileStringA(section.c_str(),
                                            key != nullptr ? key->c_str() : nullptr, "", buffer,
                                            size, ansi_.c_str());
        }
        // What the A function does around its W twin: the same number of
        // characters asked for, their ANSI bytes cut to one short of the
        // buffer and ended by a NUL.
        std::wstring wide(size, L'\0');
        const std::wstring wideKey = key != nullptr ? AnsiToWide(*key) : std::wstring();
        const DWORD copied = GetPrivateProfileStringW(AnsiToWide(section).c_str(),
                                                      key != nullptr ? wideKey.c_str() : nullptr,
                                                      L"", wide.data(), size, wide_.c_str());
        std::string bytes = WideToAnsi(std::wstring_view(wide).substr(0, copied));
        if (bytes.size() > size - 1) {
            bytes.resize(size - 1);
        }
        bytes.copy(buffer, bytes.size());
        buffer[bytes.size()] = '\0';
        return DWORD(bytes.size());
    }

    bool Write(const std::string& section, const std::string& key, const std::string& value) const {
        if (useAnsi_) {
            return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                              ansi_.c_str()) != FALSE;
        }
        return WritePrivateProfileStringW(AnsiToWide(section).c_str(), AnsiToWide(key).c_str(),
                                          AnsiToWide(value).c_str(), wide_.c_str()) != FALSE;
    }

private:
    std::string ansi_;
    std::wstring wide_;
    bool useAnsi_;
};

std::string ReadThroughApi(std::string_view section, std::string_view key, std::string_view file) {
    if (!ini::IsWritableName(section) || !ini::IsWritableName(key)) {
        return {};  // a NUL would shorten the name the API sees
    }
    char buffer[kBufferSize] = {};
    const std::string ansiKey = Utf8ToAnsi(key);
    const DWORD copied = IniFile(file).Get(Utf8ToAnsi(section), &ansiKey, buffer, kBufferSize);
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
    const IniFile ini(file);
    const DWORD attributes = ini.Attributes();
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        // An administrator's write would go through a read-only file; a link
        // in a downloaded folder may point at any file of the machine.
        return false;
    }
    return ini.Write(Utf8ToAnsi(section), Utf8ToAnsi(key), Utf8ToAnsi(ini::OneLineValue(value)));
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
    NoteIniAccess(IniAccess::kWrite, section, key, file);
    try {
        return WriteThroughApi(section, key, value, file);
    } catch (const std::bad_alloc&) {
        return false;  // the only throw of the conversions: written as nothing
    }
}

}  // namespace detail

std::string ReadIni(std::string_view section, std::string_view key,
                    std::string_view file) noexcept {
    detail::NoteIniAccess(IniAccess::kRead, section, key, file);
    try {
        return ReadThroughApi(section, key, file);
    } catch (const std::bad_alloc&) {
        return {};  // out of memory: read as "nothing configured"
    }
}

std::vector<std::string> ReadIniKeys(std::string_view section, std::string_view file) noexcept {
    detail::NoteIniAccess(IniAccess::kListKeys, section, {}, file);
    try {
        // Trimmed as a lookup trims it: Wine's list takes the name as given.
        section = ini::TrimArgument(section);
        if (!ini::IsWritableName(section)) {
            return {};
        }
        const std::string name = Utf8ToAnsi(section);
        const IniFile ini(file);
        // Without a key the API copies every key name, each ended by a NUL;
        // a list that does not fit comes back cut, two bytes short of full.
        std::string names(4096, '\0');
        DWORD copied = 0;
        for (;;) {
            copied = ini.Get(name, nullptr, names.data(), DWORD(names.size()));
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
    } catch (const std::bad_alloc&) {
        return {};  // out of memory: the section lists as absent
    }
}

bool WriteIni(std::string_view section, std::string_view key, std::string_view value,
              std::string_view file, IniText) noexcept {
    return detail::WriteIniReported(section, key, value, file);
}

}  // namespace launcher
