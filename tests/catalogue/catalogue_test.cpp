#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "catalogue/folder_values.h"
#include "catalogue/position_catalogue.h"
#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

using Entries = std::vector<std::string>;

class CatalogueTest : public ::testing::Test {
protected:
    std::string WriteConfig(const std::string& text) { return folder_.Write("config.ini", text); }

    // A catalogue whose listed groups are named "G<n>" and hold one entry each.
    PositionCatalogue LoadWithEntriesIn(std::initializer_list<int> groups) {
        std::string names = "[combo names]\r\n";
        std::string items;
        for (int n : groups) {
            names += std::to_string(n) + "=G" + std::to_string(n) + "\r\n";
            // Appended piece by piece: GCC 12 at -O3 takes "[" + std::string for an
            // overlapping copy (-Wrestrict).
            items.append("[").append(std::to_string(n)).append(" items]\r\n1=P");
            items.append(std::to_string(n)).append("\r\n");
        }
        return LoadPositionCatalogue(WriteConfig(names + items));
    }

    testing::ScratchFolder folder_;
};

TEST_F(CatalogueTest, MissingOrEmptyFileGivesThirtyUnnamedGroups) {
    for (const PositionCatalogue& catalogue : {LoadPositionCatalogue(folder_.File("absent.ini")),
                                               LoadPositionCatalogue(WriteConfig(""))}) {
        for (int n = 1; n <= kGroupCount; ++n) {
            EXPECT_EQ(catalogue.group(n).number, n);
            EXPECT_EQ(catalogue.group(n).name, "");
            EXPECT_TRUE(catalogue.group(n).entries.empty());
        }
        EXPECT_EQ(CatalogueWindowHeight(catalogue), 4980);
    }
}

TEST_F(CatalogueTest, EntriesCloseGapsKeepOrderAndDuplicates) {
    const PositionCatalogue catalogue = LoadPositionCatalogue(
        WriteConfig("[Combo Names]\r\n1=London\r\n"
                    "[1 ITEMS]\r\n4=EGLL_APP\r\n1=EGLL_DEL\r\n2=EGLL_GND\r\n3=\r\n"
                    "7=EGLL_GND\r\n15=EGLL_CTR\r\n16=EGLL_FSS\r\n"));
    EXPECT_EQ(catalogue.group(1).name, "London");
    EXPECT_EQ(catalogue.group(1).entries,
              (Entries{"EGLL_DEL", "EGLL_GND", "EGLL_APP", "EGLL_GND", "EGLL_CTR"}));
}

TEST_F(CatalogueTest, OnlyNamedGroupsAreReadAndOnlyKeysUpToThirty) {
    const PositionCatalogue catalogue =
        LoadPositionCatalogue(WriteConfig("[combo names]\r\n2=   \r\n3=Named\r\n31=Ignored\r\n"
                                          "[2 items]\r\n1=NEVER_READ\r\n"
                                          "[4 items]\r\n1=ALSO_NEVER\r\n"));
    EXPECT_EQ(catalogue.group(2).name, "");  // blanks only: unnamed
    EXPECT_TRUE(catalogue.group(2).entries.empty());
    EXPECT_EQ(catalogue.group(3).name, "Named");
    EXPECT_TRUE(catalogue.group(3).entries.empty());  // named without entries is still offered
    EXPECT_TRUE(catalogue.group(4).entries.empty());
    PositionCatalogue expected;
    expected.group(3).name = "Named";
    EXPECT_EQ(catalogue, expected);
}

TEST_F(CatalogueTest, HeightRevealsRowsDownToLastFirstGroupWithEntries) {
    EXPECT_EQ(CatalogueWindowHeight(LoadWithEntriesIn({1})), 4980);
    EXPECT_EQ(CatalogueWindowHeight(LoadWithEntriesIn({1, 6})), 5865);
    EXPECT_EQ(CatalogueWindowHeight(LoadWithEntriesIn({11})), 6690);
    EXPECT_EQ(CatalogueWindowHeight(LoadWithEntriesIn({16})), 7320);
    EXPECT_EQ(CatalogueWindowHeight(LoadWithEntriesIn({21})), 8295);
    // The last rule that applies wins, whatever the rows in between hold.
    EXPECT_EQ(CatalogueWindowHeight(LoadWithEntriesIn({6, 26})), 9045);
    // Only the first group of a row counts.
    EXPECT_EQ(CatalogueWindowHeight(LoadWithEntriesIn({7, 10, 12, 20, 25, 30})), 4980);
}

TEST_F(CatalogueTest, NamedFirstGroupWithoutEntriesDoesNotGrowTheWindow) {
    const PositionCatalogue catalogue = LoadPositionCatalogue(
        WriteConfig("[combo names]\r\n21=Row five\r\n26=Row six\r\n[21 items]\r\n1=X\r\n"));
    EXPECT_EQ(catalogue.group(26).name, "Row six");
    EXPECT_EQ(CatalogueWindowHeight(catalogue), 8295);
}

TEST_F(CatalogueTest, FullCatalogueLoadsEveryEntry) {
    std::string text = "[combo names]\r\n";
    for (int g = 1; g <= kGroupCount; ++g) {
        text += std::to_string(g) + "=Group " + std::to_string(g) + "\r\n";
    }
    for (int g = 1; g <= kGroupCount; ++g) {
        text += "[" + std::to_string(g) + " items]\r\n";
        for (int k = 1; k <= kEntriesPerGroup; ++k) {
            text += std::to_string(k) + "=P" + std::to_string(g) + "_" + std::to_string(k) + "\r\n";
        }
    }
    const PositionCatalogue catalogue = LoadPositionCatalogue(WriteConfig(text));
    for (int g = 1; g <= kGroupCount; ++g) {
        ASSERT_EQ(catalogue.group(g).entries.size(), 15u) << g;
        EXPECT_EQ(catalogue.group(g).entries.back(), "P" + std::to_string(g) + "_15");
    }
    EXPECT_EQ(CatalogueWindowHeight(catalogue), 9045);
}

TEST(catalogue_folder_values, ReadsFreqIniAfreshIgnoringCaseOfSectionAndKey) {
    testing::ScratchFolder folder;
    const std::string programFolder = folder.path().string();
    EXPECT_EQ(LookupFrequency(programFolder, "EGLL_TWR"), "");  // no freq.ini at all
    folder.Write("freq.ini", "[freq]\r\negll_twr = 118.500 \r\n");
    EXPECT_EQ(LookupFrequency(programFolder, "EGLL_TWR"), "118.500");
    folder.Write("freq.ini", "[FREQ]\r\nEGLL_TWR=118.700\r\n");
    EXPECT_EQ(LookupFrequency(programFolder, "EGLL_TWR"), "118.700");
    EXPECT_EQ(LookupFrequency(programFolder, "EGKK_TWR"), "");
}

TEST(catalogue_folder_values, LogoLeftIsTwipsInPixelsRoundedToTheNearest) {
    EXPECT_EQ(LogoLeftPixels("0"), 0);
    EXPECT_EQ(LogoLeftPixels("1500"), 100);
    EXPECT_EQ(LogoLeftPixels("7"), 0);
    EXPECT_EQ(LogoLeftPixels("22.5"), 2);
    EXPECT_EQ(LogoLeftPixels("-30"), -2);
    EXPECT_EQ(LogoLeftPixels("1.5e3"), 100);
    EXPECT_EQ(LogoLeftPixels("3e38"), 16777215);
    EXPECT_EQ(LogoLeftPixels("-3e38"), -16777215);
}

// What a conversion of text to a number reads on Windows: blanks around the
// number (a quoted value such as " 120" keeps them), a plus sign, a bare
// decimal point and a signed exponent in either case.
TEST(catalogue_folder_values, LogoLeftReadsTheNumberBetweenBlanksWithEitherSign) {
    EXPECT_EQ(LogoLeftPixels(" 120"), 8);
    EXPECT_EQ(LogoLeftPixels("120 "), 8);
    EXPECT_EQ(LogoLeftPixels("\t 120 \t"), 8);
    EXPECT_EQ(LogoLeftPixels("+120"), 8);
    EXPECT_EQ(LogoLeftPixels("  -30  "), -2);
    EXPECT_EQ(LogoLeftPixels("15."), 1);
    EXPECT_EQ(LogoLeftPixels(".15E+3"), 10);
    EXPECT_EQ(LogoLeftPixels("+1500e-1"), 10);
}

TEST(catalogue_folder_values, LogoLeftThatIsNoNumberKeepsTheDesignedEdge) {
    for (const char* text :
         {"",  "   ", "x",  "120x", "x120", "1 20", "120 x", "+-120", "++120",    "- 120", "+",
          ".", "e3",  "1e", "1e+",  "1,5",  "0x10", "nan",   "+inf",  "infinity", "1e39"}) {
        EXPECT_EQ(LogoLeftPixels(text), std::nullopt) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace launcher
