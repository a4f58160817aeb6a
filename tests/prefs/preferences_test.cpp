#include "prefs/preferences.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "profile/ini.h"
#include "tests/support/scratch_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace launcher {
namespace {

using Entries = std::vector<std::string>;

// Wine's profile functions rewrite the whole file on every write, dropping
// blank lines and the blanks around values; Windows keeps both.
bool UnderWine() {
#ifdef _WIN32
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
#else
    return false;
#endif
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every stored field set to a distinct value, so a field saved under another
// field's key shows.
Preferences Filled() {
    Preferences preferences;
    preferences.windowsdir = R"(C:\WINDOWS)";
    preferences.rwip = "rw.example.org";
    preferences.serverip = "10.0.0.7";
    preferences.userName = "Jo Smith";
    preferences.rwdir = R"(C:\Program Files\RogerWilco)";
    preferences.rdvdir = R"(D:\Radavue)";
    preferences.datebox = "USA";
    return preferences;
}

// Named in lower case so that `ctest -R prefs` selects these tests.
class prefs_settings : public ::testing::Test {
protected:
    std::string settings() const { return folder_.File("settings.ini"); }
    std::string WriteSettings(const std::string& text) {
        return folder_.Write("settings.ini", text);
    }

    testing::ScratchFolder folder_;
};

TEST_F(prefs_settings, MissingFileGivesFullEmptyListsAndEmptyFields) {
    Preferences preferences;  // starts with the dialog's defaults in rwip and datebox
    LoadServerLists(preferences, settings());
    LoadPreferences(preferences, settings());

    EXPECT_EQ(preferences.rwservers, Entries(8));
    EXPECT_EQ(preferences.rdvservers, Entries(10));
    for (const PreferenceRow& row : kPreferences) {
        EXPECT_EQ(preferences.*row.field, "") << row.key.key;
    }
}

TEST_F(prefs_settings, ListsKeepKeyPositionsAndIgnoreKeysBeyondTheirLength) {
    WriteSettings(
        "[RWServers]\r\n5=rw5.example\r\n1=rw1.example\r\n2=rw2.example\r\n9=rw9.example\r\n"
        "[rdvservers]\r\n10=rdv10\r\n11=rdv11\r\n3=\r\n0=rdv0\r\n"
        "[MAIN]\r\n1=not a server\r\n");
    Preferences preferences;
    LoadServerLists(preferences, settings());

    EXPECT_EQ(preferences.rwservers,
              (Entries{"rw1.example", "rw2.example", "", "", "rw5.example", "", "", ""}));
    EXPECT_EQ(preferences.rdvservers, (Entries{"", "", "", "", "", "", "", "", "", "rdv10"}));

    // Loading again gives the same lists, never longer ones.
    LoadServerLists(preferences, settings());
    EXPECT_EQ(preferences.rwservers.size(), 8u);
    EXPECT_EQ(preferences.rdvservers.size(), 10u);
}

TEST_F(prefs_settings, LoadReplacesEveryFieldWithItsOwnKey) {
    WriteSettings(
        "[rwservers]\r\nNAME=wrong section\r\n"
        "[main]\r\nwindir=C:\\WINDOWS\r\nRwIp=rw.example.org\r\nRDVIP=10.0.0.7\r\n"
        "NAME=Jo Smith\r\nRWDIR=C:\\Program Files\\RogerWilco\r\nRDVDIR=D:\\Radavue\r\n"
        "DATE=USA\r\nRWY=27L\r\n");
    Preferences preferences;
    LoadPreferences(preferences, settings());
    EXPECT_EQ(preferences, Filled());

    // A key that has gone empties its field; the others are read again.
    WriteSettings("[MAIN]\r\nNAME=Al\r\n");
    LoadPreferences(preferences, settings());
    Preferences expected;
    for (const PreferenceRow& row : kPreferences) {
        expected.*row.field = "";
    }
    expected.userName = "Al";
    EXPECT_EQ(preferences, expected);
}

TEST_F(prefs_settings, SaveOnMissingFileCreatesMainWithAllKeysInOrder) {
    Preferences preferences = Filled();
    preferences.serverip = "";  // an empty field is still written
    EXPECT_TRUE(SavePreferences(preferences, settings()));

    EXPECT_EQ(Bytes(settings()),
              "[MAIN]\r\n"
              "WINDIR=C:\\WINDOWS\r\n"
              "RWIP=rw.example.org\r\n"
              "RDVIP=\r\n"
              "NAME=Jo Smith\r\n"
              "RWDIR=C:\\Program Files\\RogerWilco\r\n"
              "RDVDIR=D:\\Radavue\r\n"
              "DATE=USA\r\n");

    Preferences loaded;
    LoadPreferences(loaded, settings());
    EXPECT_EQ(loaded, preferences);

    // A folder that is not there takes no file, and the save says so.
    EXPECT_FALSE(SavePreferences(preferences, settings() + "-missing/settings.ini"));
}

TEST_F(prefs_settings, SaveTouchesOnlyTheSevenKeysOfAnExistingFile) {
    if (UnderWine()) {
        GTEST_SKIP() << "Wine rewrites the whole file";
    }
    WriteSettings(
        "; kept by hand\r\n"
        "[rwservers]\r\n1=rw1.example\r\nNAME=not mine\r\n"
        "\r\n"
        "[Main]\r\nrwy=27L\r\nname=Old Name\r\nadditional=2200z\r\nDATE=UK\r\nautoatis=1\r\n"
        "\r\n"
        "[rdvservers]\r\n1=rdv1\r\n");
    const std::string expected =
        "; kept by hand\r\n"
        "[rwservers]\r\n1=rw1.example\r\nNAME=not mine\r\n"
        "\r\n"
        "[Main]\r\nrwy=27L\r\nname=Jo Smith\r\nadditional=2200z\r\nDATE=USA\r\nautoatis=1\r\n"
        "WINDIR=C:\\WINDOWS\r\nRWIP=rw.example.org\r\nRDVIP=10.0.0.7\r\n"
        "RWDIR=C:\\Program Files\\RogerWilco\r\nRDVDIR=D:\\Radavue\r\n"
        "\r\n"
        "[rdvservers]\r\n1=rdv1\r\n";

    EXPECT_TRUE(SavePreferences(Filled(), settings()));
    EXPECT_EQ(Bytes(settings()), expected);
    // Saving unchanged fields again rewrites them where they now stand.
    EXPECT_TRUE(SavePreferences(Filled(), settings()));
    EXPECT_EQ(Bytes(settings()), expected);
}

TEST_F(prefs_settings, TextIsSavedAsTypedAndReadBackAsTheReaderCleansIt) {
    Preferences preferences = Filled();
    preferences.userName = "  Jo Smith  ";
    preferences.datebox = "uk";
    EXPECT_TRUE(SavePreferences(preferences, settings()));
    if (!UnderWine()) {
        EXPECT_NE(Bytes(settings()).find("\r\nNAME=  Jo Smith  \r\n"), std::string::npos);
    }
    EXPECT_EQ(preferences.userName, "  Jo Smith  ");

    Preferences loaded;
    LoadPreferences(loaded, settings());
    EXPECT_EQ(loaded.userName, "Jo Smith");
    EXPECT_EQ(loaded.datebox, "uk");
}

}  // namespace
}  // namespace launcher
