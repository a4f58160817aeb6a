// Every section and key of an INI file with its line number, read by the same
// rules as ReadIni: for telling the people who prepare the files which line a
// value comes from, and which lines the launcher never sees.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher::ini {

struct ListedKey {
    std::string name;  // UTF-8, as ReadIni matches it
    // What ReadIni gives when this is the line it reads: cleaned, cut and in
    // UTF-8, as the platform's ReadIni converts it.
    std::string value;
    std::size_t valueBytes = 0;  // the cleaned value in the file, before the cut
    int line = 0;
};

struct ListedSection {
    std::string name;
    int line = 0;
    bool closed = true;  // the header has its ']'
    std::vector<ListedKey> keys;
};

struct IniListing {
    std::vector<ListedSection> sections;            // in file order, a repeated one again
    std::vector<ListedKey> keysBeforeFirstSection;  // never read
    std::vector<int> linesWithoutKey;               // neither blank, comment, header nor key
    std::vector<int> linesNotText;                  // neither UTF-8 nor Windows-1252
    bool byteOrderMark = false;                     // a UTF-8 one, part of line 1 for Windows
    bool utf16 = false;

    // The section ReadIni searches for `section`: the first of that name.
    const ListedSection* FindSection(std::string_view section) const;
    // The line ReadIni(section, key, file) reads its value from; null when
    // it reads none.
    const ListedKey* Find(std::string_view section, std::string_view key) const;
};

IniListing ListIni(std::string_view bytes);

// The listing of the file at `path` (UTF-8); nothing when it cannot be read.
std::optional<IniListing> ListIniFile(std::string_view path);

}  // namespace launcher::ini
