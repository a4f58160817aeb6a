// The rules of the folder check that the golden report (program-folder.report)
// cannot show on its own: the frequency channels, how positions match their
// keys, the folder that cannot be read, Wine, and what a hostile folder
// carries: links, FIFOs, pictures the launcher never opens, network folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "check/folder_check.h"
#include "check/report.h"
#include "launch/system_starter.h"
#include "tests/support/scratch_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace launcher::check {

// Failures show findings as the report prints them.
void PrintTo(const Finding& finding, std::ostream* out);
void PrintTo(const Finding& finding, std::ostream* out) {
    *out << FormatFinding(finding);
}

namespace {

TEST(CheckTest, AirbandChannelsAreThe25And833KilohertzNames) {
    for (const char* channel :
         {"118.000", "118.005", "118.030", "121.500", "124.825", "127.105", "132.010", "136.990"}) {
        EXPECT_TRUE(IsAirbandChannel(channel)) << channel;
    }
    for (const char* other :
         {"117.975", "137.000", "136.995", "121.520", "118.001", "118.020", "118.032", "121.5",
          "121.5000", " 121.500", "121,500", "1215.00", "12a.500", ""}) {
        EXPECT_FALSE(IsAirbandChannel(other)) << other;
    }
}

TEST(CheckTest, NetworkPathsAndWineNames) {
    for (const char* path : {"\\\\host\\share", "//host/share", "\\/host", "\\\\?\\UNC\\h\\s"}) {
        EXPECT_TRUE(IsNetworkPath(path)) << path;
    }
    for (const char* path : {"C:\\Windows", "\\Windows", "/opt/wine", "windows", "\\", ""}) {
        EXPECT_FALSE(IsNetworkPath(path)) << path;
    }
    for (const char* wine : {"wine", "/opt/wine-staging/bin/WINE64", "sh/wine-stable"}) {
        EXPECT_TRUE(NamesWine(wine)) << wine;
    }
    for (const char* other :
         {"/bin/sh", "python3", "/opt/wine/bin/start", "C:\\wine\\wine.exe", ""}) {
        EXPECT_FALSE(NamesWine(other)) << other;
    }
}

const Finding kNoGroup{"config.ini", 0, Severity::kError,
                       "no group shows a position: every list of the main window stays empty"};

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
                            "position \"EGLL GND\" has no frequency in freq.ini: did you mean "
                            "\"EGLL_GND\" (freq.ini:4)?"},
                           {"config.ini", 7, Severity::kError,
                            "position \"EGLL_DEL\" has no frequency in freq.ini"},
                           {"freq.ini", 4, Severity::kNote, "no group shows \"EGLL_GND\""},
                       }));
}

// What hides a whole section comes first, as an error, and what follows
// from it names it, folded into one finding.
TEST_F(FolderCheckTest, CausesComeFirstAndNameWhatTheyExplain) {
    folder_.Write("config.ini",
                  "\xef\xbb\xbf[combo names]\r\n1=Heathrow\r\n[1 items]\r\n1=EGLL_TWR\r\n");
    folder_.Write("freq.ini", "[FREQ]\r\nEGLL_TWR=118.500\r\nEGLL_APP=119.725\r\n");
    folder_.Write("voice.ini", "[voice]\r\nEGLL_TWR=Heathrow Tower\r\n");
    EXPECT_EQ(
        Check(),
        (std::vector<Finding>{
            {"config.ini", 1, Severity::kError,
             "a UTF-8 byte-order mark spoils this first line, so its section "
             "[combo names] is never read and no group has a name, so the "
             "launcher shows none: save the file without one"},
            {"config.ini", 0, Severity::kError,
             "no group shows a position: every list of the main window stays "
             "empty (see config.ini:1)"},
            {"config.ini", 3, Severity::kWarning,
             "group 1 has no name in [combo names]: its positions are never shown "
             "(see config.ini:1)"},
            {"freq.ini", 2, Severity::kNote,
             "no group shows \"EGLL_TWR\" nor 1 more keys of [FREQ] (see "
             "config.ini:1)"},
            {"voice.ini", 2, Severity::kNote, "no group shows \"EGLL_TWR\" (see config.ini:1)"},
        }));
    folder_.Write("config.ini",
                  "[combo names]\r\n1=Heathrow\r\n[1 items]\r\n1=EGLL_TWR\r\n"
                  "2=EGLL_APP\r\n");
    folder_.Write("freq.ini", "[FREQS]\r\nEGLL_TWR=118.500\r\n");
    std::filesystem::remove(folder_.File("voice.ini"));
    std::filesystem::create_directory(folder_.path() / "voice.ini");
    EXPECT_EQ(Check(), (std::vector<Finding>{
                           {"freq.ini", 1, Severity::kError,
                            "section [FREQS] is never read, so no position has a frequency: did "
                            "you mean [FREQ]?"},
                           {"voice.ini", 0, Severity::kWarning,
                            "a folder stands in place of the file: the launcher cannot read it"},
                           {"config.ini", 4, Severity::kError,
                            "position \"EGLL_TWR\" and 1 more have no frequency in freq.ini (see "
                            "freq.ini:1)"},
                           {"config.ini", 4, Severity::kWarning,
                            "position \"EGLL_TWR\" and 1 more have no voice callsign in voice.ini "
                            "(see voice.ini)"},
                       }));
    std::filesystem::remove(folder_.File("config.ini"));
    folder_.Write("freq.ini", "[FREQ]\r\nEGLL_TWR=118.500\r\nEGLL_APP=119.725\r\n");
    EXPECT_EQ(Check().at(2), (Finding{"freq.ini", 2, Severity::kNote,
                                      "no group shows \"EGLL_TWR\" nor 1 more keys of [FREQ] (see "
                                      "config.ini)"}));
}

// Windows finds a file in any case and reads UTF-16 with its mark; the
// Linux launcher does neither.
TEST_F(FolderCheckTest, FileNamesAndUtf16ByEachReading) {
    folder_.Write("config.ini", "[combo names]\r\n1=Heathrow\r\n[1 items]\r\n1=EGLL_TWR\r\n");
    folder_.Write("FREQ.INI", "[FREQ]\r\nEGLL_TWR=118.500\r\n");
    folder_.Write("voice.ini", "[voice]\r\nEGLL_TWR=Heathrow Tower\r\n");
    folder_.Write("var.ini", std::string("\xff\xfe[\0M\0A\0I\0N\0]\0\r\0\n\0R\0W\0Y\0=\0x\0", 26));
    EXPECT_EQ(Check(), std::vector<Finding>{});
#ifndef _WIN32  // a Windows file system finds names in any case
    EXPECT_EQ(CheckProgramFolder(folder_.path().string(), Reading::kLinux),
              (std::vector<Finding>{
                  {"freq.ini", 0, Severity::kError,
                   "no such file (\"FREQ.INI\" is there, but the Linux launcher matches the case "
                   "of file names): no position has a frequency"},
                  {"var.ini", 1, Severity::kWarning,
                   "UTF-16 text, which the Linux launcher does not read: save the file as ANSI "
                   "(Windows-1252)"},
                  {"config.ini", 4, Severity::kError,
                   "position \"EGLL_TWR\" has no frequency in freq.ini (see freq.ini)"},
              }));
#endif
}

TEST_F(FolderCheckTest, AFolderWithoutFilesAndNoFolderAtAll) {
    std::ostringstream out;
    std::ostringstream err;
    const std::string folder = folder_.path().string();
    EXPECT_EQ(RunCheck(folder, out, err), 1);
    EXPECT_EQ(out.str(), folder + std::string(testing::kSeparator) +
                             "config.ini: error: no such file: the launcher shows no groups\n" +
                             "1 error, 0 warnings, 0 notes in " + folder +
                             ", as the Windows launcher reads it\n");
    EXPECT_EQ(err.str(), "");

    const std::string missing = folder_.File("missing");
    out.str("");
    EXPECT_EQ(RunCheck(missing, out, err), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "radavue-launcher-check: " + missing + ": no such folder\n");
    // Several folders: the worst status; with no file there, no error left.
    folder_.Write("config.ini", "[combo names]\r\n1=Heathrow\r\n[1 items]\r\n1=EGLL_TWR\r\n");
    folder_.Write("freq.ini", "[FREQ]\r\nEGLL_TWR=118.500\r\n");
    EXPECT_EQ(RunCheck({folder, missing}, Options{}, out, err), 2);
    Options strict;
    EXPECT_EQ(RunCheck({folder}, strict, out, err), 0);
    strict.warningsAsErrors = true;
    EXPECT_EQ(RunCheck({folder}, strict, out, err), 1);  // voice.ini is missing
}

#ifndef _WIN32
TEST_F(FolderCheckTest, AWindowsClientNeedsAWineOnLinux) {
    std::filesystem::create_directory(folder_.path() / "radavue");
    folder_.Write("radavue/rv.exe", "MZ\x90");
    folder_.Write("settings.ini",
                  "[MAIN]\r\nRDVDIR=radavue\r\nWINE=/nonexistent/wine64\r\nDATE=USA\r\n");
    folder_.Write("config.ini", "");
    EXPECT_EQ(CheckProgramFolder(folder_.path().string(), Reading::kLinux),
              (std::vector<Finding>{
                  kNoGroup,
                  {"settings.ini", 2, Severity::kWarning,
                   "rv.exe is a Windows program, and no Wine (\"/nonexistent/wine64\") "
                   "is found to start it"},
                  {"settings.ini", 3, Severity::kWarning,
                   "WINE \"/nonexistent/wine64\": a folder that is shared should not "
                   "decide which program starts the Windows clients; leave the key out, "
                   "and each machine uses its own Wine"},
              }));
}

// Nothing is written through a link, nor is the check held up by a FIFO.
TEST_F(FolderCheckTest, LinksWhereTheLauncherWritesAFifoWhereItReads) {
    namespace fs = std::filesystem;
    fs::create_directory(folder_.path() / "windows");
    fs::create_symlink("/etc/passwd", folder_.path() / "atis");
    fs::create_symlink("../nowhere.ini", folder_.path() / "windows" / "rvsb.ini");
    folder_.Write("settings.ini", "[MAIN]\r\nWINDIR=windows\r\n");
    ASSERT_EQ(::mkfifo(folder_.File("config.ini").c_str(), 0600), 0);
    const Finding atis{"atis", 0, Severity::kError,
                       "a symbolic link to \"/etc/passwd\" stands in place of the file: the "
                       "launcher never writes through a link, so Go fails with \"cannot create "
                       "the ATIS file\""};
    EXPECT_EQ(Check(),
              (std::vector<Finding>{
                  {"config.ini", 0, Severity::kError,
                   "a FIFO stands in place of the file: the launcher cannot read it, so it "
                   "shows no groups"},
                  {"settings.ini", 2, Severity::kError,
                   "rvsb.ini in Windows folder \"windows\" is a symbolic link to "
                   "\"../nowhere.ini\": the launcher never writes through a link, so "
                   "the radar client is never told where the ATIS file is"},
                  atis,
              }));
    fs::remove(folder_.path() / "settings.ini");
    fs::create_symlink("elsewhere.ini", folder_.path() / "settings.ini");
    EXPECT_EQ(Check().at(1), (Finding{"settings.ini", 0, Severity::kError,
                                      "a symbolic link to \"elsewhere.ini\" stands in place of "
                                      "the file: the launcher never writes through a link, so User "
                                      "Preferences and Final Setup keep nothing; the check reads "
                                      "none of it"}));
}
#endif

TEST_F(FolderCheckTest, PicturesTheLauncherNeverShows) {
    const auto check = [&](const std::string& logo, const std::string& back) {
        folder_.Write("config.ini", "[GENERAL]\r\nLOGO=" + logo + "\r\nBACK=" + back + "\r\n");
        return Check();
    };
    const auto finding = [](int line, Severity severity, const std::string& message) {
        return Finding{"config.ini", line, severity, message};
    };
    EXPECT_EQ(check("\\\\host\\share\\logo.png", "http://example.net/back.png"),
              (std::vector<Finding>{
                  kNoGroup,
                  finding(2, Severity::kError,
                          "LOGO picture \"\\\\host\\share\\logo.png\" is a network path: the "
                          "launcher never opens it, so the banner never shows (on Windows, "
                          "opening it would hand the controller's network credentials to that "
                          "host)"),
                  finding(3, Severity::kError,
                          "BACK picture \"http://example.net/back.png\" is a web address: the "
                          "launcher never opens it, so the corner picture never shows"),
              }));
    folder_.Write("wide.gif", std::string("GIF89a\x28\x23\x0a\0\0\0\0", 13));  // 9000 x 10
    std::filesystem::create_directory(folder_.path() / "folder.png");
    EXPECT_EQ(
        check("wide.gif", "folder.png"),
        (std::vector<Finding>{
            kNoGroup,
            finding(2, Severity::kWarning,
                    "LOGO picture \"wide.gif\" is 9000 by 10 pixels: the launcher shows "
                    "none over 8192 a side"),
            finding(3, Severity::kWarning, "BACK picture \"folder.png\" is a folder, not a file"),
        }));
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(folder_.File("back.fifo").c_str(), 0600), 0);
    std::filesystem::resize_file(folder_.Write("huge.bmp", "BM"), (64u << 20) + 1);
    EXPECT_EQ(
        check("huge.bmp", "back.fifo"),
        (std::vector<Finding>{
            kNoGroup,
            finding(2, Severity::kWarning,
                    "LOGO picture \"huge.bmp\" is 67108865 bytes long: the launcher reads "
                    "no picture over 64 MiB"),
            finding(3, Severity::kWarning, "BACK picture \"back.fifo\" is a FIFO, not a file"),
        }));
#endif
}

TEST_F(FolderCheckTest, ASharedSettingsFileNamesNoWineAndNoNetworkFolder) {
    folder_.Write("config.ini", "");
    folder_.Write(
        "settings.ini",
        "[MAIN]\r\nWINE=wine/wine64\r\nRWDIR=\\\\host\\voice\r\nWINDIR=//host/windows\r\n");
    EXPECT_EQ(Check(),
              (std::vector<Finding>{
                  kNoGroup,
                  {"settings.ini", 2, Severity::kError,
                   "WINE \"wine/wine64\" names a program inside the program folder, "
                   "which would run with the controller's rights: the launcher refuses it and "
                   "starts no Windows client"},
                  {"settings.ini", 3, Severity::kWarning,
                   "voice folder \"\\\\host\\voice\" is a network path: a folder that is "
                   "shared should not carry it; each machine names its own in User "
                   "Preferences"},
                  {"settings.ini", 4, Severity::kWarning,
                   "Windows folder \"//host/windows\" is a network path: a folder that is "
                   "shared should not carry it; each machine names its own in User "
                   "Preferences"},
              }));
}

}  // namespace
}  // namespace launcher::check
