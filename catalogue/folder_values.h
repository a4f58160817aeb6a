// Single values of a program folder as the launcher and the folder check both
// take them: a position's frequency, and the banner's left edge.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// The frequency of a position from the program folder's freq.ini, read afresh.
std::string LookupFrequency(std::string_view programFolder, const std::string& position);

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

}  // namespace launcher
