#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "launch/final_setup_answers.h"
#include "launch/radar_settings.h"
#include "profile/ini.h"
#include "profile/paths.h"
#include "tests/support/root_file_guard.h"
#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

TEST(app_startup, OnlyExactlyOneTicksTheAutoAtisBox) {
    EXPECT_TRUE(AutoAtisTicked("1"));
    for (const char* saved : {"0", "", "x", "2", "-1", "01", " 1", "1.0", "1x"}) {
        EXPECT_FALSE(AutoAtisTicked(saved)) << '"' << saved << '"';
    }
}

TEST(app_startup, CaptionJoinsItsPartsWithNothingInBetween) {
    EXPECT_EQ(ComposeCaption("Radavue Launcher ", "Demo", {4, 0, 6}, "(c) Us"),
              "Radavue Launcher Demo Edition Version 4.0.6 (c) Us");
    EXPECT_EQ(ComposeCaption("Radavue Launcher ", "", {10, 2, 30}, "(c) Us"),
              "Radavue Launcher  Edition Version 10.2.30 (c) Us");
}

TEST(app_startup, CaptionCarriesTheProjectVersionAndTheNotice) {
    EXPECT_EQ(ComposeCaption("Radavue Launcher ", "Demo"),
              "Radavue Launcher Demo Edition Version 4.0.6 (c) 2026 Radavue Launcher developers");
}

TEST(app_startup, AtisFileNameGoesIntoTheWindowsFoldersRadarSettings) {
    testing::ScratchFolder windows;
    const std::string file = windows.Write("rvsb.ini",
                                           "[RV 2.0]\r\nCALLSIGN=EGLL_TWR\r\nATIS FILENAME=old\r\n"
                                           "[Display]\r\nZOOM=3\r\n");
    EXPECT_TRUE(WriteAtisFileName(windows.path().string(), R"(C:\Launcher)", ""));
    EXPECT_EQ(ReadIni("RV 2.0", "ATIS FILENAME", file), InFolder(R"(C:\Launcher)", "atis"));
    EXPECT_EQ(ReadIni("RV 2.0", "CALLSIGN", file), "EGLL_TWR");
    EXPECT_EQ(ReadIni("Display", "ZOOM", file), "3");
}

// An unchecked empty folder would name rvsb.ini in the root of the drive (or
// "/"). Should it ever appear there, the test fails and removes it again.
TEST(app_startup, EmptyWindowsFolderWritesNoAtisFileName) {
    testing::ExpectNothingWrittenAtRoot(
        "rvsb.ini", [] { EXPECT_TRUE(WriteAtisFileName("", R"(C:\Launcher)", "")); });
}

}  // namespace
}  // namespace launcher
