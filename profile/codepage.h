// Text of INI files between the launcher (UTF-8) and files made by Windows
// programs (the 8-bit code page), for platforms without the Windows profile
// functions. The code page is Windows-1252, the one Wine uses for English and
// Western European locales; other code pages are not supported yet.
#pragma once

#include <string>
#include <string_view>

namespace launcher::codepage {

// Bytes read from a file: valid UTF-8 stays as it is, anything else is
// Windows-1252, decoded as MultiByteToWideChar does it (the five bytes that
// Windows-1252 leaves undefined become U+0081, U+008D, U+008F, U+0090 and
// U+009D). Never gives U+FFFD.
std::string FileTextToUtf8(std::string_view bytes);

// Windows-1252 bytes as WideCharToMultiByte(1252, 0, ...) makes them: exact
// where the code page has the character, else its best fit ("L" for "Ł"),
// else "?" (one per UTF-16 unit, so "??" for a character beyond U+FFFF).
// Bytes that are not UTF-8 become "?".
std::string Utf8ToWindows1252(std::string_view utf8);

// True when every character of `utf8` has a Windows-1252 byte of its own, so
// the bytes decode to the same text again.
bool FitsWindows1252(std::string_view utf8);

bool IsUtf8(std::string_view bytes);

// True when the names and value of a write go into `fileBytes` as UTF-8: the
// file already holds UTF-8 text beyond ASCII (on any line), or a text has a
// character that Windows-1252 lacks and no line holds Windows-1252 text yet.
// Otherwise they go in as Windows-1252, exactly as Windows would write them.
bool WritesUtf8(std::string_view fileBytes, std::string_view section, std::string_view key,
                std::string_view value);

// True when the section or key holds characters beyond ASCII and both have an
// exact Windows-1252 spelling: the names a Windows program would have written.
bool HasWindows1252Spelling(std::string_view section, std::string_view key);

}  // namespace launcher::codepage
