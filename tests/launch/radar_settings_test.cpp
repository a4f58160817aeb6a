#include "launch/radar_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "profile/ini.h"
#include "profile/paths.h"
#include "tests/support/root_file_guard.h"
#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

#ifndef _WIN32
std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
#endif

// Named in lower case so that `ctest -R launch` selects these tests.
class launch_radar_settings : public ::testing::Test {
protected:
    std::string Read(const char* key) const {
        return ReadIni("RV 2.0", key, folder_.File("rvsb.ini"));
    }

    testing::ScratchFolder folder_;
};

TEST_F(launch_radar_settings, CreatesTheFileWithTheThreeKeysInOrder) {
    EXPECT_TRUE(WriteRadarSettings(folder_.path().string(), "EGLL_TWR", "", "10.0.0.7"));
    EXPECT_EQ(Read("CALLSIGN"), "EGLL_TWR");
    EXPECT_EQ(Read("COM 1 FREQ"), "");
    EXPECT_EQ(Read("SERVER IP"), "10.0.0.7");
#ifndef _WIN32  // our own writer's bytes
    EXPECT_EQ(Bytes(folder_.File("rvsb.ini")),
              "[RV 2.0]\r\nCALLSIGN=EGLL_TWR\r\nCOM 1 FREQ=\r\nSERVER IP=10.0.0.7\r\n");
#endif
}

TEST_F(launch_radar_settings, LaterLaunchesReplaceOnlyTheirKeys) {
    const std::string before =
        "[Display]\r\nCALLSIGN=keep\r\n\r\n"
        "[RV 2.0]\r\nATIS FILENAME=C:\\Launcher\\atis\r\ncallsign=OLD\r\n"
        "COM 1 FREQ=118.500\r\nSERVER IP=old\r\nZOOM=3\r\n";
    const std::string file = folder_.Write("rvsb.ini", before);
    EXPECT_TRUE(WriteRadarSettings(folder_.path().string(), "London Control", "127.100",
                                   "radar.example.net"));

    EXPECT_EQ(Read("CALLSIGN"), "London Control");
    EXPECT_EQ(Read("COM 1 FREQ"), "127.100");
    EXPECT_EQ(Read("SERVER IP"), "radar.example.net");
    EXPECT_EQ(Read("ATIS FILENAME"), "C:\\Launcher\\atis");
    EXPECT_EQ(Read("ZOOM"), "3");
    EXPECT_EQ(ReadIni("Display", "CALLSIGN", file), "keep");
#ifdef _WIN32
    GTEST_SKIP() << "the bytes are those of our own writer; Wine rewrites the whole file";
#else
    EXPECT_EQ(Bytes(file),
              "[Display]\r\nCALLSIGN=keep\r\n\r\n"
              "[RV 2.0]\r\nATIS FILENAME=C:\\Launcher\\atis\r\ncallsign=London Control\r\n"
              "COM 1 FREQ=127.100\r\nSERVER IP=radar.example.net\r\nZOOM=3\r\n");
#endif
}

#ifndef _WIN32
// The radar client reads its file in Windows-1252, even where the rest of the
// file was written by a Linux user in UTF-8.
TEST_F(launch_radar_settings, KeysAreWrittenInWindows1252) {
    const std::string file = folder_.Write("rvsb.ini", "[RV 2.0]\r\nNOTE=Z\xc3\xbcrich\r\n");
    EXPECT_TRUE(WriteRadarSettings(folder_.path().string(), "Z\xc3\xbcrich Tower", "118.100",
                                   "\xc5\x81\xc3\xb3\x64\xc5\xba.example.net"));  // Łódź

    EXPECT_EQ(Bytes(file),
              "[RV 2.0]\r\nNOTE=Z\xc3\xbcrich\r\nCALLSIGN=Z\xfcrich Tower\r\n"
              "COM 1 FREQ=118.100\r\nSERVER IP=L\xf3"
              "dz.example.net\r\n");
}
#endif

// An empty folder would name rvsb.ini in the root of the drive (or "/"); no
// Launch writes there. Should the file appear, the test fails and removes it.
TEST(launch_radar_settings_empty, EmptyWindowsFolderWritesNothing) {
    EXPECT_EQ(RadarSettingsFile(""), "");
    testing::ExpectNothingWrittenAtRoot(
        "rvsb.ini", [] { EXPECT_TRUE(WriteRadarSettings("", "EGLL_TWR", "118.500", "10.0.0.7")); });
}

// A Windows folder that is not there takes no file, and the write says so.
TEST_F(launch_radar_settings, AMissingWindowsFolderIsAFailedWrite) {
    const std::string missing = folder_.File("missing");
    EXPECT_FALSE(WriteRadarSettings(missing, "EGLL_TWR", "118.500", "10.0.0.7"));
    EXPECT_FALSE(WriteAtisFileName(missing, R"(C:\Launcher)", ""));
}

}  // namespace
}  // namespace launcher
