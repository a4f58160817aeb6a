// The contract of ReadIni / WriteIni, run against the backend of the build:
// our own reader and writer natively, the Windows profile functions when
// cross-built (under Wine here; Wine's own deviations are skipped by name).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "profile/ini.h"
#include "profile/ini_detail.h"
#include "tests/support/scratch_folder.h"

#ifdef _WIN32
#include <windows.h>

#include "profile/file_replace.h"
#include "profile/paths.h"
#include "profile/win32_text.h"
#else
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace launcher {
namespace {

namespace fs = std::filesystem;

bool UnderWine() {
#ifdef _WIN32
    static const bool wine =
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
#else
    return false;
#endif
}

#define SKIP_ON_WINE(why)                                  \
    if (UnderWine()) {                                     \
        GTEST_SKIP() << "Wine differs from Windows: " why; \
    }

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Fixture(const std::string& name) {
    return Bytes(LAUNCHER_INI_FIXTURES "/" + name);
}

struct Lookup {
    const char* section;
    const char* key;
    std::string expected;
};

class IniTest : public ::testing::Test {
protected:
    // A scratch copy of tests/profile/fixtures/<edgeCase>.ini.
    std::string CopyFixture(const std::string& edgeCase) {
        return folder_.Write(edgeCase + ".ini", Fixture(edgeCase + ".ini"));
    }

    void ExpectLookups(const std::string& file, const std::vector<Lookup>& lookups) {
        for (const Lookup& l : lookups) {
            EXPECT_EQ(ReadIni(l.section, l.key, file), l.expected)
                << "[" << l.section << "] " << l.key;
        }
    }

    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_.path())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    testing::ScratchFolder folder_;
};

// --- Reading ---------------------------------------------------------------

TEST_F(IniTest, AbsentFileSectionKeyAndEmptyValueAllReadEmpty) {
    EXPECT_EQ(ReadIni("s", "k", folder_.File("missing.ini")), "");
    EXPECT_EQ(ReadIni("s", "k", folder_.Write("empty.ini", "")), "");
    const std::string file = CopyFixture("case-and-blanks");
    ExpectLookups(file, {{"nosuch", "LOGO", ""},
                         {"GENERAL", "nosuch", ""},
                         {"Spaced", "empty", ""},
                         {"Spaced", "blank", ""}});
}

TEST_F(IniTest, NamesMatchIgnoringCaseAndOuterBlanks) {
    ExpectLookups(CopyFixture("case-and-blanks"),
                  {{"GENERAL", "LOGO", "logo.bmp"},
                   {"general", "logo", "logo.bmp"},  // the second [general] is never searched
                   {"Spaced", "key one", "value with  inner  blanks"},
                   {"  Spaced ", " key one  ", "value with  inner  blanks"},
                   {"spaced", "eq", "a=b=c"},
                   {"padded name", "k", "padded"}});
}

TEST_F(IniTest, OnePairOfMatchingOuterQuotesIsRemoved) {
    ExpectLookups(CopyFixture("quotes"), {{"q", "double", "quoted"},
                                          {"q", "single", "single"},
                                          {"q", "keep", "  inner blanks  "},
                                          {"q", "outer", "x"},
                                          {"q", "nested", "'both'"},
                                          {"q", "mismatched", "\"x'"},
                                          {"q", "left", "\"x"},
                                          {"q", "lone", "\""},
                                          {"q", "empty", ""},
                                          {"q", "middle", "a\"b\"c"}});
}

TEST_F(IniTest, OnlyLinesStartingWithSemicolonAreComments) {
    ExpectLookups(CopyFixture("comments"), {{"c", "hidden", ""},
                                            {"c", "indented", ""},
                                            {"c", "hash#", "3"},
                                            {"c", "#k", "4"},
                                            {"c", "inline", "v ; not a comment"},
                                            {"c", "justtext", ""},
                                            {"c", "after", "5"}});
}

TEST_F(IniTest, CommentIsNotFoundUnderItsOwnText) {
    SKIP_ON_WINE("it stores comment lines as keys");
    ExpectLookups(CopyFixture("comments"), {{"c", ";hidden", ""}, {"c", ";indented", ""}});
}

TEST_F(IniTest, FirstSectionAndFirstKeyWin) {
    ExpectLookups(
        CopyFixture("duplicates"),
        {{"d", "k", "first"}, {"D", "K", "first"}, {"d", "only", ""}, {"other", "x", "1"}});
}

TEST_F(IniTest, KeyListsHoldTheFirstSectionsKeysAndNoComments) {
    using Keys = std::vector<std::string>;
    const std::string duplicates = CopyFixture("duplicates");
    EXPECT_EQ(ReadIniKeys("D", duplicates), (Keys{"k", "K"}));
    EXPECT_EQ(ReadIniKeys(" other ", duplicates), Keys{"x"});
    EXPECT_EQ(ReadIniKeys("Spaced", CopyFixture("case-and-blanks")),
              (Keys{"key one", "empty", "blank", "eq"}));
    const Keys comments = ReadIniKeys("c", CopyFixture("comments"));
    for (const char* key : {"hash#", "#k", "inline", "after"}) {
        EXPECT_NE(std::find(comments.begin(), comments.end(), key), comments.end()) << key;
    }
    for (const char* hidden : {";hidden", ";indented", "hidden", "indented"}) {
        EXPECT_EQ(std::find(comments.begin(), comments.end(), hidden), comments.end()) << hidden;
    }
    EXPECT_EQ(ReadIniKeys("nosuch", duplicates), Keys{});
    EXPECT_EQ(ReadIniKeys("d", folder_.File("missing.ini")), Keys{});
}

TEST_F(IniTest, HeaderNameEndsAtFirstBracketOrLineEnd) {
    SKIP_ON_WINE("it ends a header at the last ']' and ignores one without ']'");
    ExpectLookups(CopyFixture("header-brackets"), {{"a", "k", "first bracket"},
                                                   {"a]b", "k", ""},
                                                   {"open", "k", "no closing bracket"},
                                                   {"x", "k", ""},
                                                   {"x", "after", "x"},
                                                   {"[nested", "k", "nested"},
                                                   {"", "k", "empty name"}});
}

TEST_F(IniTest, KeysBeforeTheFirstHeaderAreUnreachable) {
    SKIP_ON_WINE("it serves them as section \"\"");
    ExpectLookups(CopyFixture("keys-before-first-section"),
                  {{"", "top", ""}, {"", "", ""}, {"s", "top", ""}, {"s", "k", "v"}});
}

TEST_F(IniTest, ArgumentsLoseSpacesButNotTabs) {
    SKIP_ON_WINE("it strips every kind of blank from the arguments");
    ExpectLookups(CopyFixture("case-and-blanks"),
                  {{"\tSpaced", "key one", ""}, {"Spaced", "key one\t", ""}});
}

TEST_F(IniTest, LinesEndAtCrLfOrCrLf) {
    ExpectLookups(
        CopyFixture("line-ends-mixed"),
        {{"crlf", "k", "1"}, {"lf", "k", "2"}, {"cr", "k", "3"}, {"last", "k", "no final break"}});
}

TEST_F(IniTest, NulEndsTheNameOrValueItIsIn) {
    ExpectLookups(CopyFixture("nul-bytes"), {{"n", "k", "a"}, {"n", "na", "cut name"}});
    EXPECT_EQ(ReadIni("n", std::string("na\0me", 5), CopyFixture("nul-bytes")), "");
}

// Wine ends such a name at the NUL too, but keeps the blanks before it.
TEST_F(IniTest, NulEndsANameLikeALineEndBlanksBeforeItIncluded) {
    SKIP_ON_WINE("it keeps the blanks before a NUL in a name");
    const char bytes[] = "[rv \0 2.0]\r\nkey \0x=v\r\n";
    const std::string file = folder_.Write("nul-names.ini", std::string(bytes, sizeof bytes - 1));
    ExpectLookups(file, {{"rv", "key", "v"}, {"rv ", "key", "v"}, {"rv 2.0", "key", ""}});
}

TEST_F(IniTest, LongValueIsCutTo254Bytes) {
    const std::string file = folder_.Write(
        "long.ini", "[l]\r\nv300=" + std::string(300, 'x') + "\r\nv254=" + std::string(254, 'y') +
                        "\r\nquoted=\"" + std::string(300, 'z') + "\"\r\n");
    EXPECT_EQ(ReadIni("l", "v300", file), std::string(254, 'x'));
    EXPECT_EQ(ReadIni("l", "v254", file), std::string(254, 'y'));
    EXPECT_EQ(ReadIni("l", "quoted", file), std::string(254, 'z'));
}

TEST_F(IniTest, FileLargerThanOneReadIsSearchedToItsEnd) {
    // Section headers, long lines and the answer all beyond the first 64 KiB.
    std::string text = "[pad]\r\n";
    for (int i = 0; text.size() < 65530; ++i) {
        text += "key" + std::to_string(i) + "=" + std::string(40, 'p') + "\r\n";
    }
    text += "[straddling header]\r\nk=found\r\n[long]\r\nk=" + std::string(100000, 'l') +
            "\r\nafter=x\r\n[last]\r\nk=end";
    const std::string file = folder_.Write("big.ini", text);
    ExpectLookups(file, {{"straddling header", "k", "found"},
                         {"long", "k", std::string(254, 'l')},
                         {"long", "after", "x"},
                         {"last", "k", "end"},
                         {"pad", "key100", std::string(40, 'p')},
                         {"pad", "nosuch", ""}});
}

// --- Writing ---------------------------------------------------------------

TEST_F(IniTest, WritesBuildANewFileInCallOrder) {
    const std::string file = folder_.File("new.ini");
    EXPECT_TRUE(WriteIni("s", "k", "v", file));
    EXPECT_EQ(Bytes(file), "[s]\r\nk=v\r\n");
    EXPECT_TRUE(WriteIni("RV 2.0", "CALLSIGN", "EGLL_TWR", file));
    EXPECT_TRUE(WriteIni("S", "second", "2", file));
    EXPECT_EQ(Bytes(file), "[s]\r\nk=v\r\nsecond=2\r\n[RV 2.0]\r\nCALLSIGN=EGLL_TWR\r\n");
}

TEST_F(IniTest, WrittenTextReadsBack) {
    const std::string file = folder_.File("round.ini");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Launcher", "Launcher"},
        {"C:\\Apps\\rv.exe", "C:\\Apps\\rv.exe"},
        {"a=b ; not a comment", "a=b ; not a comment"},
        {"Z\xc3\xbcrich", "Z\xc3\xbcrich"},
        {"", ""},
        {"  padded  ", "padded"},
        {"\"  kept  \"", "  kept  "},
        {std::string(300, 'x'), std::string(254, 'x')},
    };
    for (const auto& [written, read] : cases) {
        EXPECT_TRUE(WriteIni("MAIN", "value", written, file));
        EXPECT_EQ(ReadIni("main", "VALUE", file), read) << written;
    }
}

TEST_F(IniTest, LineBreaksInAValueCannotAddKeysOrSections) {
    const std::string file = folder_.File("inject.ini");
    EXPECT_TRUE(WriteIni("s", "k", std::string("a\r\nevil=1\r\n[t]\nx=2\rnul\0=3", 25), file));
    ExpectLookups(file, {{"s", "k", "a  evil=1  [t] x=2 nul =3"},
                         {"s", "evil", ""},
                         {"t", "x", ""},
                         {"s", "nul", ""}});
}

TEST_F(IniTest, NamesWithLineBreaksOrNulAreRefused) {
    const std::string missing = folder_.File("missing.ini");
    const std::string existing = folder_.Write("existing.ini", "[s]\r\nk=v\r\n");
    const std::vector<std::pair<std::string, std::string>> names = {
        {"s\r\n[evil]", "k"},
        {"s]\n[t", "k"},
        {"s", "k\r\nevil"},
        {"s", "evil\r"},
        {std::string("s\0t", 3), "k"},
        {"s", std::string("k\0", 2)},
    };
    for (const auto& [section, key] : names) {
        EXPECT_FALSE(detail::WriteIniReported(section, key, "v2", missing));
        EXPECT_FALSE(detail::WriteIniReported(section, key, "v2", existing));
    }
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(Bytes(existing), "[s]\r\nk=v\r\n");
}

TEST_F(IniTest, MissingFolderCreatesNothing) {
    const std::string file = (folder_.path() / "nodir" / "sub" / "test.ini").string();
    EXPECT_FALSE(detail::WriteIniReported("s", "k", "v", file));
    EXPECT_EQ(ReadIni("s", "k", file), "");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{});
}

TEST_F(IniTest, ReadOnlyFileIsLeftAlone) {
    const std::string file = folder_.Write("ro.ini", "[s]\r\nk=v\r\n");
#ifdef _WIN32
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
#else
    // Also as root, who could write it: Windows refuses read-only files to everyone.
    ::chmod(file.c_str(), 0444);
#endif
    EXPECT_FALSE(detail::WriteIniReported("s", "k", "new", file));
    EXPECT_FALSE(detail::WriteIniReported("t", "k", "v", file));
    EXPECT_EQ(Bytes(file), "[s]\r\nk=v\r\n");
    EXPECT_EQ(ReadIni("s", "k", file), "v");
#ifdef _WIN32
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
}

// Each write fixture <edge-case>.ini, after the writes listed here, must equal
// <edge-case>.after byte for byte.
struct GoldenEdit {
    const char* edgeCase;
    std::vector<std::vector<std::string>> writes;  // section, key, value
    bool ourChoice = false;  // Windows' exact bytes are unverified: holds for our writer only
};

void PrintTo(const GoldenEdit& edit, std::ostream* out) {
    *out << edit.edgeCase;
}

class IniGoldenTest : public IniTest, public ::testing::WithParamInterface<GoldenEdit> {};

TEST_P(IniGoldenTest, ChangesOnlyTheTargetLine) {
    SKIP_ON_WINE("it rewrites the whole file on every write");
    const GoldenEdit& edit = GetParam();
#ifdef _WIN32
    if (edit.ourChoice) {
        GTEST_SKIP() << "bytes chosen for our own writer; the system's are unverified";
    }
#endif
    const std::string file = CopyFixture(edit.edgeCase);
    for (const auto& w : edit.writes) {
        EXPECT_TRUE(detail::WriteIniReported(w[0], w[1], w[2], file));
    }
    EXPECT_EQ(Bytes(file), Fixture(std::string(edit.edgeCase) + ".after"));
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, IniGoldenTest,
    ::testing::Values(
        GoldenEdit{"replace-keeps-other-bytes", {{"Main", "LOGO", "y"}}, true},
        GoldenEdit{"new-key-after-last-key-line", {{"s", "c", "3"}, {"empty", "k", "v"}}, true},
        GoldenEdit{"no-final-line-break", {{"s", "k2", "v2"}, {"t", "k", "v"}}},
        GoldenEdit{"duplicate-sections-and-keys",
                   {{"d", "k", "changed"}, {"d", "only", "added to first copy"}}},
        GoldenEdit{"lf-and-cr-line-ends", {{"lf", "k", "new"}, {"cr", "k", "new"}}, true},
        GoldenEdit{"nul-bytes-kept", {{"t", "x", "2"}}},
        GoldenEdit{"trailing-blank-lines", {{"new", "k", "v"}}, true},
        GoldenEdit{"utf8-bom-is-not-special", {{"s", "k", "caf\xc3\xa9"}}, true},
        GoldenEdit{"same-value-untouched", {{"Main", "logo", "x"}}, true}),
    [](const ::testing::TestParamInfo<GoldenEdit>& param) {
        std::string name;
        for (const char* c = param.param.edgeCase; *c != '\0'; ++c) {
            name += *c == '-' ? '_' : *c;
        }
        return name;
    });

// --- Cut values on the Windows backend -------------------------------------

#ifdef _WIN32
TEST(IniWin32Test, CutValueEndsOnAWholeCharacterInEveryCodePage) {
    const std::string ascii(254, 'a');
    EXPECT_EQ(detail::WholeCharacterPrefix(ascii.data(), 254, 1252), 254u);
    // UTF-8 as the ANSI code page: an unfinished sequence at the end goes.
    const std::string euroCut = std::string(252, 'a') + "\xe2\x82";
    EXPECT_EQ(detail::WholeCharacterPrefix(euroCut.data(), 254, CP_UTF8), 252u);
    const std::string euroWhole = std::string(251, 'a') + "\xe2\x82\xac";
    EXPECT_EQ(detail::WholeCharacterPrefix(euroWhole.data(), 254, CP_UTF8), 254u);
    // Shift-JIS: a lead byte whose trail byte was cut off goes; a trail byte
    // that looks like a lead byte stays.
    const std::string leadCut = std::string(253, 'a') + "\x82";
    EXPECT_EQ(detail::WholeCharacterPrefix(leadCut.data(), 254, 932), 253u);
    const std::string pairs = std::string(250, 'a') + "\x82\xa0\x82\x82";
    EXPECT_EQ(detail::WholeCharacterPrefix(pairs.data(), 254, 932), 254u);
}

// --- Folders the ANSI code page cannot spell --------------------------------

class IniWin32FolderTest : public IniTest {
protected:
    // A new folder of that name in the scratch folder; its UTF-8 path, or ""
    // when it cannot be made: under Wine a name reaches Linux in the Unix
    // locale's character set, which may lack its letters.
    std::string Folder(std::string_view utf8Name) {
        const std::string path = InFolder(folder_.path().string(), utf8Name);
        std::error_code error;
        return fs::create_directory(FileSystemPath(path), error) ? path : std::string();
    }
    static std::string Bytes(const std::string& utf8Path) {
        std::ifstream in(FileSystemPath(utf8Path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void Write(const std::string& utf8Path, const std::string& bytes) {
        std::ofstream(FileSystemPath(utf8Path), std::ios::binary) << bytes;
    }
};

// "\xc5\x81ukasz" is Lukasz with an L with stroke, which Windows-1252 lacks.
TEST_F(IniWin32FolderTest, FileReadsAndWritesAsInAPlainFolder) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the expected texts are Windows-1252's";
    }
    std::string high;
    for (int byte = 0x80; byte <= 0xff; ++byte) {
        high.push_back(char(byte));
    }
    const std::string bytes =
        "[Z\xfcrich]\r\nk\xe9=" + high + "\r\nlong=" + std::string(300, '\xe9') + "\r\n";
    const std::string lukaszFolder = Folder("\xc5\x81ukasz");
    if (lukaszFolder.empty()) {
        GTEST_SKIP() << "the Unix locale cannot spell the folder's name";
    }
    const std::string plain = InFolder(Folder("plain"), "test.ini");
    const std::string lukasz = InFolder(lukaszFolder, "test.ini");
    Write(plain, bytes);
    Write(lukasz, bytes);
    ASSERT_EQ(Bytes(lukasz), bytes);

    for (const std::string& file : {plain, lukasz}) {
        EXPECT_EQ(win32::Utf8ToAnsi(ReadIni("Z\xc3\xbcrich", "k\xc3\xa9", file)), high) << file;
        EXPECT_EQ(win32::Utf8ToAnsi(ReadIni("z\xc3\xbcrich", "long", file)),
                  std::string(254, '\xe9'))
            << file;
        // A name outside the code page becomes what the A functions make of it.
        EXPECT_TRUE(WriteIni("Z\xc3\xbcrich", "k\xc3\xa9", "\xe2\x82\xac \xc3\xbf", file));
        EXPECT_TRUE(WriteIni("Z\xc3\xbcrich",
                             "\xc5\x81\xc3\xb3"
                             "d\xc5\xba",
                             "x", file));
        EXPECT_EQ(ReadIni("Z\xc3\xbcrich", "k\xc3\xa9", file), "\xe2\x82\xac \xc3\xbf") << file;
        EXPECT_EQ(ReadIniKeys("Z\xc3\xbcrich", file).size(), 3u) << file;
    }
    EXPECT_EQ(Bytes(lukasz), Bytes(plain));
    EXPECT_EQ(ReadIniKeys("Z\xc3\xbcrich", lukasz), ReadIniKeys("Z\xc3\xbcrich", plain));

    const std::wstring wide = win32::Utf8ToWide(lukasz);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(detail::WriteIniReported("s", "k", "v", lukasz));
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Bytes(lukasz), Bytes(plain));
}

// The radar client reads the ATIS file's path from an 8-bit file.
TEST_F(IniWin32FolderTest, PathForAnsiReaderNamesTheSameFileInTheCodePage) {
    const std::string plain = InFolder(Folder("plain"), "atis");
    EXPECT_EQ(win32::PathForAnsiReader(plain), plain);
    for (const char* name : {"\xc5\x81ukasz", "\xce\x95\xce\xbb\xce\xad\xce\xbd\xce\xb7"}) {
        const std::string folder = Folder(name);
        if (folder.empty()) {
            GTEST_SKIP() << "the Unix locale cannot spell the folder's name";
        }
        const std::string atis = InFolder(folder, "atis");
        Write(atis, "text");
        const std::string path = win32::PathForAnsiReader(atis);
        // Only the name the code page cannot spell is short.
        const std::string parent = folder_.path().string() + "\\";
        ASSERT_TRUE(win32::FitsAnsiCodePage(path)) << path;
        EXPECT_EQ(path.substr(0, parent.size()), parent);
        EXPECT_LE(path.size(), parent.size() + 8 + 5);
        EXPECT_EQ(path.substr(path.size() - 5), "\\atis");
        EXPECT_EQ(testing::ReadBytes(win32::Utf8ToAnsi(path)), "text") << path;  // an 8-bit open
    }
    // No folder, no short form: the path stays as it is.
    const std::string missing = InFolder(InFolder(folder_.path().string(),
                                                  "\xc5\x81\xc3\xb3"
                                                  "d\xc5\xba"),
                                         "atis");
    EXPECT_EQ(win32::PathForAnsiReader(missing), missing);
}

// Windows shows a symbolic link or a junction, dangling or not, as a reparse
// point. Wine 8 makes none (CreateSymbolicLinkW does nothing) and shows a Unix
// link as one only when it names a folder; a link to a file reads as the file.
TEST_F(IniWin32FolderTest, LinksAreNeverWrittenThrough) {
    const std::string target = folder_.Write("target.ini", "[s]\r\nk=v\r\n");
    const auto isLink = [](const std::string& path) {
        const DWORD attributes = GetFileAttributesW(win32::Utf8ToWide(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    };
    std::vector<std::string> links{LAUNCHER_FOLDER_LINK};
    const std::string link = folder_.File("link.ini");
    CreateSymbolicLinkW(win32::Utf8ToWide(link).c_str(), win32::Utf8ToWide(target).c_str(),
                        SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    if (isLink(link)) {
        links.push_back(link);
    }
    for (const std::string& path : links) {
        ASSERT_TRUE(isLink(path)) << path;
        const ReplaceResult result = ReplaceFileContents(path, "new");
        EXPECT_EQ(result.code, ReplaceResult::kRefusedLink) << path;
        EXPECT_EQ(result.Reason(),
                  "it is a symbolic link, which the launcher never writes through");
        EXPECT_FALSE(detail::WriteIniReported("s", "k", "new", path)) << path;
        EXPECT_TRUE(isLink(path)) << path;
    }
    EXPECT_EQ(Bytes(target), "[s]\r\nk=v\r\n");
}
#endif

// --- A sound writer (portable backend) --------------------------------------

#ifndef _WIN32
class IniReplaceTest : public IniTest {
protected:
    void SetUp() override { file_ = folder_.Write("settings.ini", "[MAIN]\r\nuserName=old\r\n"); }

    // Runs a write with the file size limited so that it fails half way.
    void WriteBeyondSizeLimit(bool dieOfIt) {
        const rlimit limit{40, 40};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, dieOfIt ? SIG_DFL : SIG_IGN);
        const bool written =
            detail::WriteIniReported("MAIN", "userName", std::string(100, 'n'), file_);
        EXPECT_FALSE(written);
    }

    void ExpectOldFileAlone() {
        EXPECT_EQ(Bytes(file_), "[MAIN]\r\nuserName=old\r\n");
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"settings.ini"});
    }

    std::string file_;
};

TEST_F(IniReplaceTest, FileKeepsItsPermissionsAndNoTemporaryFileStays) {
    ::chmod(file_.c_str(), 0640);
    EXPECT_TRUE(detail::WriteIniReported("MAIN", "userName", "new", file_));
    struct stat status {};
    ::stat(file_.c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"settings.ini"});
}

// A downloaded folder's link may name any file of the user's: never written
// through, though a folder above the file may be a link.
TEST_F(IniReplaceTest, SymbolicLinkInPlaceOfTheFileIsRefusedAndKept) {
    const std::string link = folder_.File("link.ini");
    fs::create_symlink(file_, link);
    const std::string before = testing::ReadBytes(file_);
    EXPECT_FALSE(detail::WriteIniReported("MAIN", "userName", "new", link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(testing::ReadBytes(file_), before);

    fs::create_directory_symlink(folder_.path(), folder_.File("linked-folder"));
    EXPECT_TRUE(detail::WriteIniReported("MAIN", "userName", "new",
                                         folder_.File("linked-folder/settings.ini")));
    EXPECT_EQ(ReadIni("MAIN", "userName", file_), "new");
}

TEST_F(IniReplaceTest, FailedWriteLeavesTheOldFileWhole) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WriteBeyondSizeLimit(false);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ExpectOldFileAlone();
}

TEST_F(IniReplaceTest, WriteKilledHalfWayLeavesTheOldFileWhole) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        WriteBeyondSizeLimit(true);  // SIGXFSZ ends the process inside write()
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
    ExpectOldFileAlone();
}
#endif

}  // namespace
}  // namespace launcher
