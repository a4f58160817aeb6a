// The decisions of the main window's start-up that need no window: how the
// banner's left edge is read, and the window caption.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/version.h"

namespace launcher {

// config.ini "GENERAL"/"LOGOLEFT", a left edge in twips as a single-precision
// number, in device-independent pixels (twips / 15, rounded to the nearest).
// Read as Windows converts text to a number: any blanks (spaces and tabs),
// an optional "+" or "-", digits with an optional "." and decimal digits (at
// least one digit in all, so "15." and ".5" count), an optional exponent of
// "e" or "E", an optional sign and digits, any blanks; "+120", " -30 " and
// "1.5E+3" are numbers. Anything else gives no value and the banner keeps its
// designed edge: an empty or blank text, text before or after the number, a
// blank inside it ("- 120", "1 20"), a decimal comma, hexadecimal, "inf" or
// "nan", or a value beyond single precision ("1e39"). Edges beyond what a
// window can place (16,777,215 pixels either way) are held at that limit.
std::optional<int> LogoLeftPixels(std::string_view twips);

// The main window's caption: the caption it has, the edition title, " Edition
// Version ", major.minor.revision and the maker's notice after a blank, all
// joined with nothing in between.
std::string ComposeCaption(std::string_view current, std::string_view title,
                           ProgramVersion version = kProgramVersion,
                           std::string_view notice = kCopyrightNotice);

}  // namespace launcher
