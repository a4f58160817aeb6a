// Single-value access to INI profile files.
//
// Every call is one complete lookup or update of the file on disk: nothing is
// cached between calls. Text is UTF-8 in and out; on Windows it is converted to
// and from the ANSI code page at the API boundary. Elsewhere our own reader and
// writer follow what GetPrivateProfileStringA / WritePrivateProfileStringA do
// on Windows (not Wine).
//
// Out of scope: UTF-16 files and the 65,536-character length wrap of Windows.
#pragma once

#include <string>
#include <string_view>

namespace launcher {

// The value of `key` in `section` of `file`, cleaned as Windows cleans it (outer
// blanks and one pair of outer quotes removed) and cut to at most 254 bytes
// without splitting a UTF-8 character. An absent file, section or key and an
// empty value all give "". Never throws.
std::string ReadIni(std::string_view section, std::string_view key, std::string_view file) noexcept;

// Stores `value` under `key` in `section` of `file`, creating the file or the
// section when missing and leaving every other byte of the file as it was.
// A failed write (missing folder, read-only file, ...) is silently ignored.
// Never throws.
void WriteIni(std::string_view section, std::string_view key, std::string_view value,
              std::string_view file) noexcept;

}  // namespace launcher
