#include "launch/atis.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace launcher {
namespace {

using Lines = std::vector<std::string>;

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The worked example: every optional line present.
LaunchDetails Example() {
    LaunchDetails details;
    details.dateStyle = "UK";
    details.position = "EGLL_TWR";
    details.now = {2024, 3, 6, 9, 5};
    details.voiceServer = "VS";
    details.runway = "Runway 27R in use";
    details.onlineUntil = "2100z";
    details.userName = "USER";
    details.autoAtis = 1;
    return details;
}

Lines ExampleLines(const LaunchDetails& details) {
    return BuildAtisLines(details, "Heathrow Tower", "INFO", "CHANNEL 2");
}

// Named in lower case so that `ctest -R launch` selects these tests.
class launch_atis : public ::testing::Test {
protected:
    testing::ScratchFolder folder_;
};

TEST_F(launch_atis, WorkedExampleGivesSixLinesAndTheirFile) {
    const Lines lines = ExampleLines(Example());
    EXPECT_EQ(lines, (Lines{"Heathrow Tower Information Alpha 60905", "Voice on VS/EGLL_TWR",
                            "Runway 27R in use", "Online Until 2100z",
                            "USER  -  For More info INFO", "AutoAtis is available on CHANNEL 2"}));

    const std::string file = AtisFilePath(folder_.path().string());
    ASSERT_EQ(WriteAtisFile(file, lines).message(), "");
    EXPECT_EQ(Bytes(file),
              "Heathrow Tower Information Alpha 60905\r\n"
              "Voice on VS/EGLL_TWR\r\n"
              "Runway 27R in use\r\n"
              "Online Until 2100z\r\n"
              "USER  -  For More info INFO\r\n"
              "AutoAtis is available on CHANNEL 2\r\n");
}

TEST_F(launch_atis, HeaderFollowsTheDateStyleExactly) {
    LaunchDetails details = Example();
    details.now = {2024, 1, 1, 0, 7};
    EXPECT_EQ(ExampleLines(details)[0], "Heathrow Tower Information Alpha 10007");

    details.now = {2024, 3, 6, 9, 5};
    EXPECT_EQ(BuildAtisLines(details, "", "INFO", "")[0], " Information Alpha 60905");

    // The "#" of the American date pattern is written as it stands.
    details.dateStyle = "USA";
    EXPECT_EQ(ExampleLines(details)[0], "EGLL_TWR Information Alpha#60905");

    for (const char* style : {"uk", "usa", "", " UK"}) {
        details.dateStyle = style;
        const Lines lines = ExampleLines(details);
        ASSERT_EQ(lines.size(), 6u) << style;
        EXPECT_EQ(lines[0], "") << style;
        EXPECT_EQ(lines[1], "Voice on VS/EGLL_TWR") << style;
    }
}

TEST_F(launch_atis, OptionalLinesAppearOnlyWithTheirText) {
    LaunchDetails details = Example();
    details.runway = "";
    details.onlineUntil = "";
    details.autoAtis = 0;
    EXPECT_EQ(ExampleLines(details),
              (Lines{"Heathrow Tower Information Alpha 60905", "Voice on VS/EGLL_TWR",
                     "USER  -  For More info INFO"}));

    details.runway = " ";  // blanks count as text and are kept
    details.onlineUntil = " 2100z ";
    EXPECT_EQ(ExampleLines(details),
              (Lines{"Heathrow Tower Information Alpha 60905", "Voice on VS/EGLL_TWR", " ",
                     "Online Until  2100z ", "USER  -  For More info INFO"}));

    details = Example();
    details.autoAtis = 1;
    EXPECT_EQ(BuildAtisLines(details, "Heathrow Tower", "INFO", "").size(), 5u);
    details.autoAtis = 0;
    EXPECT_EQ(ExampleLines(details).size(), 5u);
    details.autoAtis = 2;  // only a ticked box (1) asks for the notice
    EXPECT_EQ(ExampleLines(details).size(), 5u);

    // Empty inputs are used as they stand.
    EXPECT_EQ(BuildAtisLines(LaunchDetails{}, "", "", "CHANNEL 2"),
              (Lines{"", "Voice on /", "  -  For More info "}));

    // Pasted line breaks and other control characters make no lines of their own.
    details = Example();
    details.runway = "27R\r\n[RV 2.0]";
    details.onlineUntil = "\n";
    details.userName = "A\tB\x7f";
    EXPECT_EQ(ExampleLines(details),
              (Lines{"Heathrow Tower Information Alpha 60905", "Voice on VS/EGLL_TWR",
                     "27R  [RV 2.0]", "Online Until  ", "A B   -  For More info INFO",
                     "AutoAtis is available on CHANNEL 2"}));
}

TEST_F(launch_atis, LookupsComeFromTheProgramFolder) {
    folder_.Write("voice.ini", "[voice]\r\negll_twr=Heathrow Tower\r\n");
    folder_.Write("config.ini", "[GENERAL]\r\nWEBSITE=www.example.org\r\n");
    folder_.Write("autoatis.ini", "[AUTOATIS]\r\nEGLL_TWR=CHANNEL 2\r\n");
    LaunchDetails details = Example();
    details.programFolder = folder_.path().string();
    EXPECT_EQ(
        AtisLinesFor(details),
        (Lines{"Heathrow Tower Information Alpha 60905", "Voice on VS/EGLL_TWR",
               "Runway 27R in use", "Online Until 2100z", "USER  -  For More info www.example.org",
               "AutoAtis is available on CHANNEL 2"}));

    details.autoAtis = 0;
    details.dateStyle = "USA";
    std::filesystem::remove(folder_.path() / "voice.ini");
    EXPECT_EQ(
        AtisLinesFor(details),
        (Lines{"EGLL_TWR Information Alpha#60905", "Voice on VS/EGLL_TWR", "Runway 27R in use",
               "Online Until 2100z", "USER  -  For More info www.example.org"}));

    // Nothing configured: empty texts, not failures.
    details.dateStyle = "UK";
    details.autoAtis = 1;
    details.programFolder = (folder_.path() / "nowhere").string();
    const Lines lines = AtisLinesFor(details);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], " Information Alpha 60905");
    EXPECT_EQ(lines[4], "USER  -  For More info ");
}

TEST_F(launch_atis, FileIsReplacedWholeAndLeavesNothingElse) {
    const std::string file = folder_.File("atis");
    ASSERT_EQ(WriteAtisFile(file, ExampleLines(Example())).message(), "");
    ASSERT_EQ(
        WriteAtisFile(file, {"", "Voice on VS/EGLL_TWR", "USER  -  For More info "}).message(), "");
    EXPECT_EQ(Bytes(file), "\r\nVoice on VS/EGLL_TWR\r\nUSER  -  For More info \r\n");

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"atis"});
}

TEST_F(launch_atis, FailureNamesTheFileAndTheReason) {
    const std::string missing = (folder_.path() / "gone" / "atis").string();
    const std::string error = WriteAtisFile(missing, {"x"}).message();
    EXPECT_NE(error.find("\"" + missing + "\": "), std::string::npos) << error;
    EXPECT_GT(error.size(), error.find(missing) + missing.size() + 3) << "no reason: " << error;
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "gone"));

    // Windows refuses a read-only file even for an administrator; so do we.
    const std::string readOnly = folder_.Write("atis", "old\r\n");
    std::filesystem::permissions(readOnly,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_NE(WriteAtisFile(readOnly, {"new"}).message().find(readOnly), std::string::npos);
    EXPECT_EQ(Bytes(readOnly), "old\r\n");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
#ifndef _WIN32
    // A link in the folder's place of the file, live or dangling, is kept, and
    // what it names is neither changed nor created.
    std::filesystem::remove(readOnly);
    const std::string outside = folder_.Write("outside", "the user's own\n");
    for (const std::string& target : {outside, folder_.File("nowhere")}) {
        std::filesystem::create_symlink(target, readOnly);
        EXPECT_EQ(WriteAtisFile(readOnly, {"x"}).message(),
                  "Cannot write the ATIS file \"" + readOnly +
                      "\": it is a symbolic link, which the launcher never writes through");
        EXPECT_TRUE(std::filesystem::is_symlink(readOnly));
        std::filesystem::remove(readOnly);
    }
    EXPECT_EQ(Bytes(outside), "the user's own\n");
    EXPECT_FALSE(std::filesystem::exists(folder_.File("nowhere")));
#endif
}

TEST_F(launch_atis, TextIsWrittenInTheSystemCodePage) {
    const std::string file = folder_.File("atis");
    ASSERT_EQ(WriteAtisFile(file, {"Caf\xC3\xA9 \xE2\x82\xAC"}).message(), "");  // "Café €"
#ifdef _WIN32
    if (GetACP() != 1252) {
        GTEST_SKIP() << "expected bytes are for code page 1252, this system uses " << GetACP();
    }
    EXPECT_EQ(Bytes(file), "Caf\xE9 \x80\r\n");
#else
    EXPECT_EQ(Bytes(file), "Caf\xC3\xA9 \xE2\x82\xAC\r\n");
#endif
}

#ifndef _WIN32
// On Linux the ATIS file is for whichever radar client Go starts: a Windows
// one reads Windows-1252, a native one UTF-8.
TEST_F(launch_atis, FileIsWrittenInTheRadarClientsText) {
    LaunchDetails details = Example();
    details.dateStyle = "none";
    details.userName = "J\xc3\xbcrgen \xc5\x81";  // "Jürgen Ł"
    details.programFolder = folder_.path().string();
    details.radarFolder = (folder_.path() / "radar").string();
    std::filesystem::create_directories(details.radarFolder);
    const std::string atis = folder_.File("atis");
    const std::string lines =
        "\r\nVoice on VS/EGLL_TWR\r\nRunway 27R in use\r\nOnline Until 2100z\r\n";

    folder_.Write("radar/rv.exe", "MZ\x90");
    ASSERT_EQ(WriteAtisFileFor(details).message(), "");
    EXPECT_EQ(Bytes(atis), lines + "J\xfcrgen L  -  For More info \r\n");

    folder_.Write("radar/rv.exe", "#!/bin/sh\n");
    ASSERT_EQ(WriteAtisFileFor(details).message(), "");
    EXPECT_EQ(Bytes(atis), lines + "J\xc3\xbcrgen \xc5\x81  -  For More info \r\n");
}
#endif

}  // namespace
}  // namespace launcher
