// The main window's caption, a decision of its start-up that needs no window.
#pragma once

#include <string>
#include <string_view>

#include "app/version.h"

namespace launcher {

// The main window's caption: the caption it has, the edition title, " Edition
// Version ", major.minor.revision and the maker's notice after a blank, all
// joined with nothing in between.
std::string ComposeCaption(std::string_view current, std::string_view title,
                           ProgramVersion version = kProgramVersion,
                           std::string_view notice = kCopyrightNotice);

}  // namespace launcher
