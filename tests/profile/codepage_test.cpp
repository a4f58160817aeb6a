// Text in INI files made on Windows (Windows-1252) and on Linux (UTF-8): the
// conversions themselves, held against the Windows functions when cross-built,
// and what ReadIni / WriteIni make of such files in our own backend.
#include "profile/codepage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "prefs/preferences.h"
#include "profile/ini.h"
#include "tests/support/scratch_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace launcher {
namespace {

using codepage::FileTextToUtf8;
using codepage::Utf8ToWindows1252;

TEST(CodepageTest, FileTextIsUtf8WhenItCanBeAndWindows1252Otherwise) {
    EXPECT_EQ(FileTextToUtf8("Z\xfcrich"), "Z\xc3\xbcrich");
    EXPECT_EQ(FileTextToUtf8("Z\xc3\xbcrich"), "Z\xc3\xbcrich");
    EXPECT_EQ(FileTextToUtf8("plain"), "plain");
    // 0x80 and the undefined 0x81, as MultiByteToWideChar gives them; never U+FFFD.
    EXPECT_EQ(FileTextToUtf8("\x80\x81\x9f\xff"), "\xe2\x82\xac\xc2\x81\xc5\xb8\xc3\xbf");
    // Not UTF-8 as a whole: overlong, surrogate, cut off.
    EXPECT_EQ(FileTextToUtf8("\xc0\xaf"), "\xc3\x80\xc2\xaf");
    EXPECT_EQ(FileTextToUtf8("\xed\xa0\x80"), "\xc3\xad\xc2\xa0\xe2\x82\xac");
    EXPECT_EQ(FileTextToUtf8("J\xc3"), "J\xc3\x83");
}

TEST(CodepageTest, Windows1252BytesAreExactThenBestFitThenQuestionMarks) {
    EXPECT_EQ(Utf8ToWindows1252("J\xc3\xbcrgen"), "J\xfcrgen");
    EXPECT_EQ(Utf8ToWindows1252("\xe2\x82\xac 5"), "\x80 5");
    EXPECT_EQ(Utf8ToWindows1252("\xc2\x81"), "\x81");
    // "Łódź": Ł and ź by best fit, ó exact.
    EXPECT_EQ(Utf8ToWindows1252("\xc5\x81\xc3\xb3\x64\xc5\xba"),
              "L\xf3"
              "dz");
    EXPECT_EQ(Utf8ToWindows1252("\xe6\x97\xa5\xe6\x9c\xac"), "??");  // 日本
    EXPECT_EQ(Utf8ToWindows1252("\xf0\x9f\x98\x80"), "??");          // one emoji, two units
    EXPECT_EQ(Utf8ToWindows1252("a\xff"
                                "b"),
              "a?b");

    EXPECT_TRUE(codepage::FitsWindows1252("J\xc3\xbcrgen \xe2\x82\xac"));
    EXPECT_FALSE(codepage::FitsWindows1252("\xc5\x81\xc3\xb3"));
    EXPECT_FALSE(codepage::FitsWindows1252("\xc2\x80"));  // U+0080 becomes "?"
}

#ifdef _WIN32
// Every UTF-16 unit and every byte, against the system's own conversions.
TEST(CodepageTest, MatchesTheWindowsConversionsForEveryCharacter) {
    for (unsigned unit = 1; unit <= 0xFFFF; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            continue;
        }
        const wchar_t wide = static_cast<wchar_t>(unit);
        char expected[4] = {};
        const int size = WideCharToMultiByte(1252, 0, &wide, 1, expected, 4, nullptr, nullptr);
        char utf8[4] = {};
        const int utf8Size = WideCharToMultiByte(CP_UTF8, 0, &wide, 1, utf8, 4, nullptr, nullptr);
        ASSERT_EQ(Utf8ToWindows1252(std::string(utf8, utf8Size)), std::string(expected, size))
            << "U+" << std::hex << unit;
    }
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const char ansi = static_cast<char>(byte);
        wchar_t wide = 0;
        ASSERT_EQ(MultiByteToWideChar(1252, 0, &ansi, 1, &wide, 1), 1);
        char utf8[4] = {};
        const int utf8Size = WideCharToMultiByte(CP_UTF8, 0, &wide, 1, utf8, 4, nullptr, nullptr);
        EXPECT_EQ(FileTextToUtf8(std::string(1, ansi)), std::string(utf8, utf8Size))
            << "byte " << std::hex << byte;
    }
}
#else

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class IniTextTest : public ::testing::Test {
protected:
    testing::ScratchFolder folder_;
};

TEST_F(IniTextTest, WindowsMadeSettingsReadRightAndOkWritesThemBackInWindows1252) {
    // As the Preferences dialog's OK saves them: all seven keys, one changed.
    const std::string file = folder_.Write(
        "settings.ini", "[MAIN]\r\nWINDIR=C:\\WINDOWS\r\nNAME=J\xfcrgen\r\nDATE=UK\r\n");
    Preferences preferences;
    LoadPreferences(preferences, file);
    EXPECT_EQ(preferences.userName, "J\xc3\xbcrgen");
    preferences.serverip = "radar.example.net";

    EXPECT_TRUE(SavePreferences(preferences, file));

    EXPECT_EQ(Bytes(file),
              "[MAIN]\r\nWINDIR=C:\\WINDOWS\r\nNAME=J\xfcrgen\r\nDATE=UK\r\n"
              "RWIP=\r\nRDVIP=radar.example.net\r\nRWDIR=\r\nRDVDIR=\r\n");
}

TEST_F(IniTextTest, EachFileKeepsItsOwnText) {
    const struct {
        const char* name;
        const char* section;
        std::string before;
        std::string value;
        std::string after;
    } cases[] = {
        // A Linux user's UTF-8 file stays UTF-8.
        {"utf8", "1 items", "[1 items]\n1=Z\xc3\xbcrich\n", "J\xc3\xbcrgen",
         "[1 items]\n1=Z\xc3\xbcrich\nk=J\xc3\xbcrgen\r\n"},
        // ASCII so far: as Windows writes it.
        {"ascii", "s", "[s]\r\n", "J\xc3\xbcrgen", "[s]\r\nk=J\xfcrgen\r\n"},
        // ASCII so far, and Windows-1252 has no "Ł": UTF-8 keeps it.
        {"ascii-beyond", "s", "[s]\r\n", "\xc5\x81ukasz", "[s]\r\nk=\xc5\x81ukasz\r\n"},
        // A Windows-1252 file stays one: "Ł" by best fit, as Windows does.
        {"windows-beyond", "s", "[s]\r\na=\xe9t\xe9\r\n", "\xc5\x81ukasz",
         "[s]\r\na=\xe9t\xe9\r\nk=Lukasz\r\n"},
        // Both kinds of text: UTF-8, so nothing is lost.
        {"mixed", "s", "[s]\r\na=\xe9t\xe9\r\nb=\xc3\xa9t\xc3\xa9\r\n", "\xc5\x81ukasz",
         "[s]\r\na=\xe9t\xe9\r\nb=\xc3\xa9t\xc3\xa9\r\nk=\xc5\x81ukasz\r\n"},
    };
    for (const auto& c : cases) {
        const std::string file = folder_.Write(c.name, c.before);
        EXPECT_TRUE(WriteIni(c.section, "k", c.value, file));
        EXPECT_EQ(Bytes(file), c.after) << c.name;
    }
}

TEST_F(IniTextTest, MixedFileReadsEveryValueRight) {
    const std::string file =
        folder_.Write("mixed.ini", "[s]\r\na=\xe9t\xe9\r\nb=\xc3\xa9t\xc3\xa9\r\nc=\x80\x81\r\n");
    EXPECT_EQ(ReadIni("s", "a", file), "\xc3\xa9t\xc3\xa9");
    EXPECT_EQ(ReadIni("s", "b", file), "\xc3\xa9t\xc3\xa9");
    EXPECT_EQ(ReadIni("s", "c", file), "\xe2\x82\xac\xc2\x81");
}

TEST_F(IniTextTest, NamesSpelledInWindows1252AreFoundAndKept) {
    // freq.ini made on Windows, looked up by a position the window shows in UTF-8.
    const std::string file = folder_.Write("freq.ini", "[FREQ]\r\nZ\xfcrich Tower=118.100\r\n");
    EXPECT_EQ(ReadIni("FREQ", "Z\xc3\xbcrich Tower", file), "118.100");
    EXPECT_EQ(ReadIni("FREQ", "Z\xc3\x9cRICH TOWER", file), "");  // ASCII case only, as Windows

    EXPECT_TRUE(WriteIni("FREQ", "Z\xc3\xbcrich Tower", "118.105", file));
    EXPECT_EQ(Bytes(file), "[FREQ]\r\nZ\xfcrich Tower=118.105\r\n");
}

TEST_F(IniTextTest, FilesForWindowsProgramsAreAlwaysWindows1252) {
    const std::string file = folder_.Write("rvsb.ini", "[RV 2.0]\r\nNOTE=Z\xc3\xbcrich\r\n");
    EXPECT_TRUE(
        WriteIni("RV 2.0", "CALLSIGN", "M\xc3\xbcnchen \xc5\x81", file, IniText::kWindows1252));
    EXPECT_EQ(Bytes(file), "[RV 2.0]\r\nNOTE=Z\xc3\xbcrich\r\nCALLSIGN=M\xfcnchen L\r\n");
}

#endif

}  // namespace
}  // namespace launcher
