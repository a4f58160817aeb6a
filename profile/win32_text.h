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

// The ANSI code page's own conversions, as the system's A functions make them
// on the way to and from their W twins.
std::wstring AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::wstring_view wide);

// Whether `utf8` comes back unchanged from the ANSI code page: only then does
// a path mean the same file to a function or a file that takes 8-bit text.
bool FitsAnsiCodePage(std::string_view utf8);

// `path` (UTF-8) as a program that reads paths in the ANSI code page can open
// it: the path itself when the code page can spell it, else with each folder
// name the code page cannot spell in the short (8.3) form the file system
// keeps for it, so the folder must exist. The path itself when there is no
// such short form (short names may be turned off on a volume).
std::string PathForAnsiReader(std::string_view path);

// The system's wording for `code` in UTF-8, without the line end it comes
// with; "system error <code>" when the system has none.
std::string SystemErrorText(DWORD code);

}  // namespace launcher::win32
