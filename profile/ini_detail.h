// Internals of the INI backends that the developer tool and the tests need.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "profile/ini.h"

namespace launcher::detail {

// WriteIni with its outcome: false when nothing was written (a refused name,
// a missing folder, a read-only file, any I/O error). True also when the value
// was already there and the file was left alone.
bool WriteIniReported(std::string_view section, std::string_view key, std::string_view value,
                      std::string_view file, IniText text = IniText::kAsTheFileHolds) noexcept;

#ifndef _WIN32
// ReadIni and WriteIniReported on the file's bytes as they stand, with no code
// page: the byte rules alone, which the ini-oracle holds against Windows.
std::string ReadIniBytes(std::string_view section, std::string_view key,
                         std::string_view file) noexcept;
bool WriteIniBytes(std::string_view section, std::string_view key, std::string_view value,
                   std::string_view file) noexcept;
#endif

#ifdef _WIN32
// How many of `size` bytes in `codePage` end on a whole character: a value cut
// by the API's buffer may end in the first half of a double-byte character,
// or of a UTF-8 sequence when the ANSI code page is UTF-8.
std::size_t WholeCharacterPrefix(const char* bytes, std::size_t size, unsigned codePage) noexcept;
#endif

}  // namespace launcher::detail
