// Text at the Windows API boundary: the system speaks UTF-16 or the ANSI code
// page, the launcher speaks UTF-8. Built on Windows only.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace launcher::win32 {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// Characters the ANSI code page lacks become its default character.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

// The system's wording for `code` in UTF-8, without the line end it comes
// with; "system error <code>" when the system has none.
std::string SystemErrorText(DWORD code);

}  // namespace launcher::win32
