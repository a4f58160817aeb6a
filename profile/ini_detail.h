// Internals of the INI backends that the developer tool and the tests need.
#pragma once

#include <string_view>

namespace launcher::detail {

// WriteIni with its outcome: false when nothing was written (a refused name,
// a missing folder, a read-only file, any I/O error). True also when the value
// was already there and the file was left alone.
bool WriteIniReported(std::string_view section, std::string_view key, std::string_view value,
                      std::string_view file) noexcept;

}  // namespace launcher::detail
