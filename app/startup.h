// The decisions of the main window's start-up that need no window: how the
// saved auto-ATIS answer and the banner's left edge are read, where the ATIS
// file name goes, and the window caption.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/version.h"

namespace launcher {

// settings.ini "MAIN"/"autoatis" as the Final Setup box: only exactly "1"
// ticks it. "0", the empty text of a first run (before "Go" ever saved the
// answer), any other number and any other text leave it clear, so the
// automatic-ATIS notice is only ever announced when once asked for.
bool AutoAtisTicked(std::string_view saved);

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

// Writes "ATIS FILENAME" = programFolder + separator + "atis", named as the
// radar client in `radarFolder` opens it (its Windows path when it is a
// Windows program run by Wine), into section "RV 2.0" of the Windows folder's
// rvsb.ini, in Windows-1252. With an empty Windows folder nothing is written
// (see RadarSettingsFile). A failed write is ignored.
void WriteAtisFileName(std::string_view windowsFolder, std::string_view programFolder,
                       std::string_view radarFolder);

// The main window's caption: the caption it has, the edition title, " Edition
// Version ", major.minor.revision and the maker's notice after a blank, all
// joined with nothing in between.
std::string ComposeCaption(std::string_view current, std::string_view title,
                           ProgramVersion version = kProgramVersion,
                           std::string_view notice = kCopyrightNotice);

}  // namespace launcher
