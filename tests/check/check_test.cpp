// The rules of the folder check that the golden report (program-folder.report)
// cannot show on its own: the frequency channels, how positions match their
// keys, the folder that cannot be read, and Wine.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "check/folder_check.h"
#include "check/report.h"
#include "tests/support/scratch_folder.h"

namespace launcher::check {
namespace {

TEST(CheckTest, AirbandChannelsAreThe25And833KilohertzNames) {
    for (const char* channel : {"118.000", "121.500", "124.825", "127.105", "132.010", "136.990"}) {
        EXPECT_TRUE(IsAirbandChannel(channel)) << channel;
    }
    for (const char* other : {"117.975", "137.000", "136.995", "121.520", "121.5", "121.5000",
                              " 121.500", "121,500", "1215.00", "12a.500", ""}) {
        EXPECT_FALSE(IsAirbandChannel(other)) << other;
    }
}

class FolderCheckTest : public ::testing::Test {
protected:
    std::vector<Finding> Check() { return CheckProgramFolder(folder_.path().string()); }

    testing::ScratchFolder folder_;
};

// Never a missing frequency that the launcher would find, nor a found one it
// would miss: case, blanks and quotes aside, the exact text counts.
TEST_F(FolderCheckTest, PositionsMeetTheirKeysAsTheLauncherLooksThemUp) {
    folder_.Write("config.ini",
                  "[combo names]\r\n1=London\r\n[1 items]\r\n1=egll_twr\r\n2=\" EGLL_APP \"\r\n"
                  "3='EGLL GND'\r\n4=EGLL_DEL\r\n");
    folder_.Write("freq.ini",
                  "[freq]\r\nEGLL_TWR=118.500\r\n\tegll_app = 119.725\r\nEGLL_GND=121.900\r\n"
                  "EGLL_DEL=\r\n");
    folder_.Write("voice.ini",
                  "[VOICE]\r\nEGLL_TWR=Heathrow Tower\r\nEGLL_APP=Heathrow Approach\r\n"
                  "EGLL GND=Heathrow Ground\r\nEGLL_DEL=Heathrow Delivery\r\n");
    EXPECT_EQ(Check(), (std::vector<Finding>{
                           {"config.ini", 6, Severity::kError,
                            "position \"EGLL GND\" has no frequency in freq.ini"},
                           {"config.ini", 7, Severity::kError,
                            "position \"EGLL_DEL\" has no frequency in freq.ini"},
                           {"freq.ini", 4, Severity::kNote, "no group shows \"EGLL_GND\""},
                       }));
}

TEST_F(FolderCheckTest, AFolderWithoutFilesAndNoFolderAtAll) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCheck(folder_.path().string(), out, err), 1);
    EXPECT_EQ(out.str(),
              "config.ini: error: no such file: the launcher shows no groups\n"
              "1 error, 0 warnings, 0 notes\n");
    EXPECT_EQ(err.str(), "");

    const std::string missing = folder_.File("missing");
    out.str("");
    EXPECT_EQ(RunCheck(missing, out, err), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "radavue-launcher-check: " + missing + ": no such folder\n");
}

#ifndef _WIN32
TEST_F(FolderCheckTest, AWindowsClientNeedsAWineOnLinux) {
    std::filesystem::create_directory(folder_.path() / "radavue");
    folder_.Write("radavue/rv.exe", "MZ\x90");
    folder_.Write("settings.ini",
                  "[MAIN]\r\nRDVDIR=radavue\r\nWINE=/nonexistent/wine64\r\nDATE=USA\r\n");
    folder_.Write("config.ini", "");
    EXPECT_EQ(Check(), (std::vector<Finding>{
                           {"settings.ini", 2, Severity::kWarning,
                            "rv.exe is a Windows program, and no Wine (\"/nonexistent/wine64\") "
                            "is found to start it"},
                       }));
}
#endif

}  // namespace
}  // namespace launcher::check
