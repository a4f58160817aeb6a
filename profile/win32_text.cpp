#include "profile/win32_text.h"

#include <vector>

namespace launcher::win32 {
namespace {

std::wstring ToWide(std::string_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), wide);
    return out;
}

std::string FromWide(std::wstring_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int narrow =
        WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), narrow, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
    return ToWide(utf8, CP_UTF8);
}

std::string WideToUtf8(std::wstring_view wide) {
    return FromWide(wide, CP_UTF8);
}

std::string Utf8ToAnsi(std::string_view utf8) {
    return FromWide(ToWide(utf8, CP_UTF8), CP_ACP);
}

std::string AnsiToUtf8(std::string_view ansi) {
    return FromWide(ToWide(ansi, CP_ACP), CP_UTF8);
}

std::wstring AnsiToWide(std::string_view ansi) {
    return ToWide(ansi, CP_ACP);
}

std::string WideToAnsi(std::wstring_view wide) {
    return FromWide(wide, CP_ACP);
}

bool FitsAnsiCodePage(std::string_view utf8) {
    return AnsiToUtf8(Utf8ToAnsi(utf8)) == utf8;
}

std::string PathForAnsiReader(std::string_view path) {
    if (FitsAnsiCodePage(path)) {
        return std::string(path);
    }
    const std::wstring wide = Utf8ToWide(path);
    const std::size_t nameStart = wide.find_last_of(L"\\/") + 1;
    if (nameStart == 0) {
        return std::string(path);
    }
    const std::wstring folder = wide.substr(0, nameStart - 1);
    std::wstring shortFolder(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetShortPathNameW(folder.c_str(), shortFolder.data(), DWORD(shortFolder.size()));
        if (length == 0) {
            return std::string(path);
        }
        if (length < shortFolder.size()) {
            shortFolder.resize(length);
            break;
        }
        shortFolder.resize(length);  // the size it needs, its NUL included
    }
    // Only the names the code page cannot spell take their short form: the
    // rest of the path stays as the user knows it.
    const auto names = [](const std::wstring& text) {
        std::vector<std::wstring> parts;
        for (std::size_t start = 0;;) {
            const std::size_t end = text.find_first_of(L"\\/", start);
            parts.push_back(text.substr(start, end - start));
            if (end == std::wstring::npos) {
                return parts;
            }
            start = end + 1;
        }
    };
    const std::vector<std::wstring> longNames = names(folder);
    const std::vector<std::wstring> shortNames = names(shortFolder);
    std::wstring spelt;
    if (longNames.size() == shortNames.size()) {
        for (std::size_t i = 0; i < longNames.size(); ++i) {
            spelt += FitsAnsiCodePage(WideToUtf8(longNames[i])) ? longNames[i] : shortNames[i];
            spelt += L'\\';
        }
    } else {
        spelt = shortFolder + L'\\';
    }
    const std::string result = WideToUtf8(spelt + wide.substr(nameStart));
    return FitsAnsiCodePage(result) ? result : std::string(path);
}

std::string SystemErrorText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring_view message(text, text != nullptr ? length : 0);
    while (!message.empty() &&
           (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
        message.remove_suffix(1);
    }
    std::string reason =
        message.empty() ? "system error " + std::to_string(code) : WideToUtf8(message);
    LocalFree(text);
    return reason;
}

}  // namespace launcher::win32
