// The listing must say what ReadIni reads, line for line: the folder check
// reports by it.
#include "profile/ini_listing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "profile/ini.h"

namespace launcher::ini {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Corpus() {
    std::vector<fs::path> files;
    for (const char* folder : {LAUNCHER_INI_FIXTURES, LAUNCHER_INI_ORACLE_CASES}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() == ".ini") {
                files.push_back(entry.path());
            }
        }
    }
    return files;
}

// Files on which Wine's profile functions read otherwise than Windows, which
// the listing follows, by the rules of
// tests/profile/ini-differential/known-differences.txt; and the 65,536-byte
// length wrap of Windows, which our rules leave out (read-long-values).
bool WineReadsOtherwise(const fs::path& file) {
#ifdef _WIN32
    for (const char* name : {
             "header-brackets",            // wine_header_brackets
             "keys-before-first-section",  // wine_keys_before_first_header
             "read-keys-before-section",   // the same
             "write-keys-before-section",  // the same
             "read-empty-section-name",    // the same
             "read-bom-utf8",              // wine_utf8_bom
             "read-long-values",
         }) {
        if (file.stem() == name) {
            return true;
        }
    }
#endif
    (void)file;
    return false;
}

TEST(IniListingTest, EveryListedKeyReadsBackAsListed) {
    const std::vector<fs::path> files = Corpus();
    ASSERT_GT(files.size(), 40u);
    int compared = 0;
    for (const fs::path& file : files) {
        if (WineReadsOtherwise(file)) {
            continue;
        }
        const std::string path = file.string();
        const std::optional<IniListing> listing = ListIniFile(path);
        ASSERT_TRUE(listing) << path;
        std::vector<std::pair<std::string, std::string>> lookups;
        for (const ListedSection& section : listing->sections) {
            lookups.emplace_back(section.name, "no such key");
            for (const ListedKey& key : section.keys) {
                lookups.emplace_back(section.name, key.name);
            }
        }
        for (const ListedKey& key : listing->keysBeforeFirstSection) {
            lookups.emplace_back("", key.name);
        }
        for (const auto& [section, key] : lookups) {
            const ListedKey* read = listing->Find(section, key);
            EXPECT_EQ(ReadIni(section, key, path), read != nullptr ? read->value : "")
                << file.filename() << " [" << section << "] " << key;
            ++compared;
        }
    }
    EXPECT_GT(compared, 300);
}

TEST(IniListingTest, LinesAreNumberedAsEditorsNumberThem) {
    const IniListing listing = ListIni(
        "\xef\xbb\xbf[lost]\r\ntop=1\r\n; note\n[s]\rk = \"v\" \r\nnothing\r\n\r\n"
        "K=second\n[s\r\nk=third\r\n [ t ] \r\nlong=" +
        std::string(300, 'x') + "\r\nbad=\x81\xe9\r\n");
    EXPECT_TRUE(listing.byteOrderMark);
    EXPECT_FALSE(listing.utf16);
    EXPECT_EQ(listing.linesWithoutKey, (std::vector<int>{1, 6}));
    EXPECT_EQ(listing.linesNotText, (std::vector<int>{13}));
    ASSERT_EQ(listing.keysBeforeFirstSection.size(), 1u);
    EXPECT_EQ(listing.keysBeforeFirstSection[0].line, 2);
    ASSERT_EQ(listing.sections.size(), 3u);
    EXPECT_EQ(listing.sections[1].line, 9);
    EXPECT_FALSE(listing.sections[1].closed);
    EXPECT_EQ(listing.sections[2].name, "t");

    const ListedKey* k = listing.Find(" S ", "k");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->line, 5);
    EXPECT_EQ(k->value, "v");
    EXPECT_EQ(listing.sections[0].keys[1].line, 8);  // K=second, behind k
    const ListedKey* cut = listing.Find("t", "long");
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->line, 12);
    EXPECT_EQ(cut->valueBytes, 300u);
    EXPECT_EQ(cut->value, std::string(254, 'x'));
    EXPECT_EQ(listing.Find("lost", "top"), nullptr);

    EXPECT_TRUE(ListIni(std::string_view("[\0s\0]\0", 7)).utf16);
    EXPECT_TRUE(ListIni("\xff\xfe[\0").utf16);
    EXPECT_FALSE(ListIniFile(LAUNCHER_INI_FIXTURES "/no-such-file.ini"));
}

}  // namespace
}  // namespace launcher::ini
