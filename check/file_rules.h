// What the launcher reads of each INI file of a program folder, and what every
// one of them is checked for, whatever it holds.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "check/folder_check.h"
#include "check/folder_files.h"
#include "prefs/preferences.h"
#include "profile/ini_listing.h"
#include "profile/program_files.h"

namespace launcher::check {

// The files, in the order the report gives them.
inline constexpr std::array<std::string_view, 6> kFiles = {
    files::kConfig,   files::kFrequencies,        files::kVoiceCallsigns,
    files::kAutoAtis, files::kFinalSetupDefaults, files::kSettings,
};
inline constexpr std::string_view kConfig = kFiles[0];
inline constexpr std::string_view kFreq = kFiles[1];
inline constexpr std::string_view kVoice = kFiles[2];
inline constexpr std::string_view kAutoAtis = kFiles[3];
inline constexpr std::string_view kVar = kFiles[4];

// A name or value as a message quotes it, what cannot be seen escaped.
std::string Quoted(std::string_view text);

// UTF-8 text with control, blank-like and invisible characters written as
// "\u00A0" and bytes that are no UTF-8 as "\xFF": "EGLL_GND\u00A0".
std::string Escaped(std::string_view text);

// The one of `candidates` that `name` most likely misspells (a letter or two
// off, case aside; a number never stands for another); "" when none does.
std::string NearMiss(std::string_view name, const std::vector<std::string>& candidates);

// The section a UTF-8 byte-order mark hides on the first line of `bytes`;
// "" when none.
std::string SpoiltSection(std::string_view bytes);

// "1" to `count`: the keys of a numbered list.
std::vector<std::string> Numbers(int count);

// The findings about `file`'s text: a byte-order mark (and `spoilt`, the
// section it hides), text neither
// UTF-8 nor Windows-1252; and about lines the launcher never reads (no '=',
// before any section, a repeated section or key, a section or key it does not
// ask for), a header without ']', and values it cuts.
void CheckFileText(std::string_view file, const ini::IniListing& listing, const ListingIndex& index,
                   std::string_view spoilt, std::vector<Finding>& findings);

}  // namespace launcher::check
