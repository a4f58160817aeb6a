// Windows programs on Linux: which programs they are, their Wine prefix, and
// paths as they see them, checked against Wine's own winepath.
#include "launch/wine_host.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "launch/atis.h"
#include "launch/wine.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/wine_prefix.h"

namespace launcher {
namespace {

namespace fs = std::filesystem;

class WineHostTest : public ::testing::Test {
protected:
    // A prefix as Wine lays it out: drive_c, and dosdevices with c: and z:.
    void SetUp() override {
        prefix_ = scratch_.path() / "wine prefix";
        fs::create_directories(prefix_ / "drive_c" / "Program Files" / "Radavue");
        fs::create_directories(prefix_ / "dosdevices");
        fs::create_directory_symlink("../drive_c", prefix_ / "dosdevices" / "c:");
        fs::create_directory_symlink("/", prefix_ / "dosdevices" / "z:");
        for (const char* registry : {"system.reg", "user.reg"}) {
            scratch_.Write("wine prefix/" + std::string(registry), "WINE REGISTRY Version 2\n");
        }
        fs::create_directories(scratch_.path() / "launcher");
    }

    std::string Windows(const fs::path& path) const {
        return wine::WindowsPath(path.string(), prefix_.string());
    }

    testing::ScratchFolder scratch_;
    fs::path prefix_;
};

TEST_F(WineHostTest, WindowsProgramsAreTheOnesWithThePeHeader) {
    EXPECT_TRUE(wine::IsWindowsProgram(scratch_.Write("rv.exe", "MZ\x90")));
    EXPECT_FALSE(wine::IsWindowsProgram(scratch_.Write("shell.exe", "#!/bin/sh\n")));
    EXPECT_FALSE(wine::IsWindowsProgram(scratch_.Write("short.exe", "M")));
    EXPECT_FALSE(wine::IsWindowsProgram(scratch_.File("missing.exe")));
    EXPECT_FALSE(wine::IsWindowsProgram(scratch_.path().string()));
}

TEST_F(WineHostTest, ProgramsInsideAPrefixBelongToIt) {
    const fs::path rv = prefix_ / "drive_c" / "Program Files" / "Radavue" / "rv.exe";
    EXPECT_EQ(wine::PrefixHolding(rv.string()), prefix_.string());
    EXPECT_EQ(wine::PrefixHolding((prefix_ / "drive_c" / "x.exe").string()), prefix_.string());
    EXPECT_EQ(wine::PrefixHolding(scratch_.File("rv.exe")), "");

    // A downloaded folder's "drive_c" is no prefix: not without Wine's
    // registry, and not inside the program folder even with it.
    const fs::path folder = scratch_.path() / "launcher";
    fs::create_directories(folder / "drive_c" / "RV");
    const std::string planted = (folder / "drive_c" / "RV" / "rv.exe").string();
    EXPECT_EQ(wine::PrefixHolding(planted), "");
    scratch_.Write("launcher/system.reg", "");
    scratch_.Write("launcher/user.reg", "");
    EXPECT_EQ(wine::PrefixHolding(planted), folder.string());
    EXPECT_EQ(wine::PrefixHolding(planted, folder.string()), "");
    EXPECT_EQ(wine::PrefixHolding(planted, (folder / "drive_c").string()), folder.string());
    // A program folder inside a real prefix keeps that prefix.
    EXPECT_EQ(wine::PrefixHolding(rv.string(), (prefix_ / "drive_c").string()), prefix_.string());
}

TEST_F(WineHostTest, PathsMapThroughTheNearestDrive) {
    const fs::path c = prefix_ / "drive_c";
    EXPECT_EQ(Windows(c / "Program Files" / "Radavue" / "rv.exe"),
              R"(C:\Program Files\Radavue\rv.exe)");
    EXPECT_EQ(Windows(c), R"(C:\)");
    // Not there yet (the ATIS file before the first Go), or not normal.
    EXPECT_EQ(Windows(c / "Launcher" / "atis"), R"(C:\Launcher\atis)");
    EXPECT_EQ(Windows(c / "windows" / ".." / "users" / "atis"), R"(C:\users\atis)");
    EXPECT_EQ(wine::WindowsPath("/usr/bin/", prefix_.string()), R"(Z:\usr\bin)");
    EXPECT_EQ(wine::WindowsPath("/", prefix_.string()), R"(Z:\)");

    // A drive reached through a link of its own is still that drive.
    fs::create_directory_symlink(c, scratch_.path() / "shortcut");
    EXPECT_EQ(Windows(scratch_.path() / "shortcut" / "atis"), R"(C:\atis)");
}

TEST_F(WineHostTest, WithoutDrivesPathsTakeWinesDefaultZ) {
    const testing::ScratchFolder bare;
    EXPECT_EQ(wine::WindowsPath("/srv/launcher/atis", bare.path().string()),
              R"(Z:\srv\launcher\atis)");
}

TEST_F(WineHostTest, TheAtisFileIsNamedAsTheRadarClientOpensIt) {
    const fs::path radar = prefix_ / "drive_c" / "Program Files" / "Radavue";
    const fs::path launcher = prefix_ / "drive_c" / "Launcher";
    testing::ScratchFolder write;
    write.Write("rv.exe", "MZ");

    // A Windows radar client in the prefix; the launcher in and out of it.
    fs::copy_file(write.File("rv.exe"), radar / "rv.exe");
    EXPECT_EQ(AtisFileNameForRadarClient(launcher.string(), radar.string()), R"(C:\Launcher\atis)");
    // A native radar client reads the path as it stands.
    const fs::path native = scratch_.path() / "native";
    fs::create_directories(native);
    scratch_.Write("native/rv.exe", "#!/bin/sh\n");
    EXPECT_EQ(AtisFileNameForRadarClient(launcher.string(), native.string()),
              launcher.string() + "/atis");
}

TEST_F(WineHostTest, ProgramsAreFoundOnThePath) {
    const std::string folder = (scratch_.path() / "bin").string();
    fs::create_directories(folder);
    scratch_.Write("bin/wine", "#!/bin/sh\n");
    scratch_.Write("bin/plain", "not executable\n");
    fs::permissions(folder + "/wine", fs::perms::owner_all);

    EXPECT_EQ(wine::FindProgram("wine", "/nonexistent:" + folder), folder + "/wine");
    EXPECT_EQ(wine::FindProgram("plain", folder), "");
    EXPECT_EQ(wine::FindProgram("wine", ""), "");
    EXPECT_EQ(wine::FindProgram("/opt/wine/bin/wine", ""), "/opt/wine/bin/wine");
    EXPECT_EQ(wine::FindProgram("", folder), "");
    // A PATH entry that leads into the program folder is passed over.
    EXPECT_EQ(wine::FindProgram("wine", folder + ":/nonexistent", scratch_.path().string()), "");
    EXPECT_EQ(wine::FindProgram("wine", folder, scratch_.File("launcher")), folder + "/wine");
}

// What Wine is handed: start.exe's argv, and our environment with a UTF-8
// character type, quiet unless the user asked otherwise.
TEST(WineRules, StartGetsTheShowAndTheEnvironmentAUtf8CharacterType) {
    EXPECT_EQ(
        WineStartArguments("/usr/bin/wine", R"(C:\RV\rv.exe)", WindowShow::kMaximized),
        (std::vector<std::string>{"/usr/bin/wine", "start", "/b", "/max", R"(C:\RV\rv.exe)"}));
    EXPECT_EQ(WineStartArguments("wine", "Z:\\r.exe", WindowShow::kNormal),
              (std::vector<std::string>{"wine", "start", "/b", "Z:\\r.exe"}));

    const struct {
        std::vector<std::string> ours;
        const char* prefix;
        std::vector<std::string> wines;
    } cases[] = {
        {{}, "", {"WINEDEBUG=-all", "LC_CTYPE=C.UTF-8"}},
        {{"LANG=en_GB.UTF-8"}, "", {"LANG=en_GB.UTF-8", "WINEDEBUG=-all"}},
        {{"LC_CTYPE=", "LANG=C.utf8"}, "", {"LC_CTYPE=", "LANG=C.utf8", "WINEDEBUG=-all"}},
        {{"LC_ALL=de_DE.ISO-8859-1", "LANG=C.UTF-8", "WINEDEBUG=err+all"},
         "",
         {"LANG=C.UTF-8", "WINEDEBUG=err+all", "LC_ALL=C.UTF-8"}},
        {{"LC_ALL=C.UTF-8", "LC_CTYPE=POSIX"},
         "",
         {"LC_ALL=C.UTF-8", "LC_CTYPE=POSIX", "WINEDEBUG=-all"}},
        {{"WINEPREFIX=/home/jo/.wine", "LC_CTYPE=POSIX", "WINEDEBUG="},
         "/opt/clients",
         {"WINEDEBUG=", "WINEPREFIX=/opt/clients", "LC_CTYPE=C.UTF-8"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WineEnvironment(c.ours, c.prefix), c.wines) << c.ours.size() << " " << c.prefix;
    }
}

// Our mapping against Wine's own, in a prefix Wine made.
TEST(WineHostAgainstWine, WindowsPathsAgreeWithWinepath) {
    const std::string prefix = testing::ReadyWinePrefix();
    const fs::path inside = fs::path(prefix) / "drive_c" / "Program Files" / "Test Radar";
    fs::create_directories(inside);
    const testing::ScratchFolder outside;
    for (const fs::path& path : {inside / "rv.exe", inside / "not yet" / "atis",
                                 outside.path() / "work dir" / "atis", fs::path("/usr/bin")}) {
        const std::string command =
            "WINEDEBUG=-all WINEPREFIX='" + prefix + "' winepath -w '" + path.string() + "'";
        std::array<char, 4096> line{};
        const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
        ASSERT_NE(pipe, nullptr);
        ASSERT_NE(std::fgets(line.data(), line.size(), pipe.get()), nullptr) << command;
        std::string expected = line.data();
        expected.erase(expected.find_last_not_of("\r\n") + 1);
        EXPECT_EQ(wine::WindowsPath(path.string(), prefix), expected) << path;
    }
    fs::remove_all(inside);
}

}  // namespace
}  // namespace launcher
