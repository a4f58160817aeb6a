// Placeholder until the portable reader and writer land.
#include "profile/ini.h"

namespace launcher {

std::string ReadIni(std::string_view, std::string_view, std::string_view) noexcept { return {}; }

void WriteIni(std::string_view, std::string_view, std::string_view, std::string_view) noexcept {}

}  // namespace launcher
