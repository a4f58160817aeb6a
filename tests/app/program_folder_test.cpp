#include "app/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

using Kind = LauncherCommand::Kind;

// Folders that hold config.ini, for the choice.
std::function<bool(const std::string&)> Holding(std::set<std::string> folders) {
    return [folders](const std::string& folder) { return folders.contains(folder); };
}

TEST(app_program_folder, NamedFolderIsTakenFromTheCurrentOneAndMustHoldConfig) {
    const auto both = Holding({"/home/c/atc/london", "/usr/bin", "/home/c"});
    EXPECT_EQ(ChooseProgramFolder("atc/london/", "/usr/bin", "/home/c", both).folder,
              "/home/c/atc/london");
    EXPECT_EQ(ChooseProgramFolder("../c/./atc/london", "/usr/bin", "/home/c", both).folder,
              "/home/c/atc/london");
    EXPECT_EQ(ChooseProgramFolder("/home/c/atc/london", "/usr/bin", "/tmp", both).folder,
              "/home/c/atc/london");
    const FolderChoice none = ChooseProgramFolder("/home/c/atc", "/usr/bin", "/home/c", both);
    EXPECT_EQ(none.folder, "");
    EXPECT_EQ(none.message,
              "The folder /home/c/atc holds no config.ini. Name the program folder that holds "
              "your INI files: radavue-launcher FOLDER");
}

TEST(app_program_folder, WithoutANameTheExecutablesFolderComesBeforeTheCurrentOne) {
    EXPECT_EQ(
        ChooseProgramFolder("", "/home/c/atc", "/home/c/x", Holding({"/home/c/atc", "/home/c/x"}))
            .folder,
        "/home/c/atc");
    EXPECT_EQ(ChooseProgramFolder("", "/usr/bin", "/home/c/x", Holding({"/home/c/x"})).folder,
              "/home/c/x");
    const FolderChoice root = ChooseProgramFolder("", "/", "/", Holding({""}));
    EXPECT_EQ(root.folder, "");
    EXPECT_EQ(root.message, "");
    const FolderChoice none = ChooseProgramFolder("", "/usr/bin", "/home/c", Holding({}));
    EXPECT_EQ(none.folder, "");
    EXPECT_EQ(none.message,
              "Neither the launcher's folder /usr/bin nor the current folder /home/c holds "
              "config.ini. Name the program folder that holds your INI files: "
              "radavue-launcher FOLDER");
}

TEST(app_program_folder, CommandLineTakesOneFolderOrOneOption) {
    const auto kind = [](std::vector<std::string> arguments) {
        return ReadCommandLine(arguments).kind;
    };
    EXPECT_EQ(kind({}), Kind::kOpen);
    EXPECT_EQ(ReadCommandLine({"atc/london"}).folder, "atc/london");
    EXPECT_EQ(ReadCommandLine({"--", "-odd"}).folder, "-odd");
    EXPECT_EQ(kind({"--help"}), Kind::kHelp);
    EXPECT_EQ(kind({"--version"}), Kind::kVersion);
    EXPECT_EQ(ReadCommandLine({"--add-to-menu", "x"}).kind, Kind::kAddToMenu);
    EXPECT_EQ(ReadCommandLine({"--remove-from-menu", "x"}).folder, "x");
    for (const std::vector<std::string>& wrong :
         std::vector<std::vector<std::string>>{{"a", "b"},
                                               {"-odd"},
                                               {""},
                                               {"--add-to-menu"},
                                               {"--add-to-menu", "a", "b"},
                                               {"--help", "a"}}) {
        EXPECT_EQ(kind(wrong), Kind::kWrong) << wrong[0];
    }
    EXPECT_EQ(ReadCommandLine({"--bogus"}).message, "Unknown option --bogus.\n" + UsageText());
}

// What a desktop splits back from Exec: the string escapes first, then the
// quoting, and "%%" for '%'.
TEST(app_program_folder, ExecQuotesTheFolderUnderBothEscapeLayers) {
    EXPECT_EQ(QuoteExecArgument("/home/c/atc/new york"), R"("/home/c/atc/new york")");
    EXPECT_EQ(QuoteExecArgument(R"(/a"b`c$d\e%f)"), R"("/a\\"b\\`c\\$d\\\\e%%f")");
    EXPECT_EQ(MenuFolder("/data/", "/home/c"), "/data/applications");
    EXPECT_EQ(MenuFolder("relative", "/home/c"), "/home/c/.local/share/applications");
    EXPECT_EQ(MenuFolder("", ""), "");
    EXPECT_EQ(MenuEntryFileName("/home/c/atc/new york"),
              "radavue-launcher-new_york-8e277372.desktop");
    EXPECT_EQ(MenuEntryText("/usr/bin/radavue-launcher", "/home/c/atc/london",
                            {" Lon\\don\n", "/home/c/atc/london/logo.png"}),
              "[Desktop Entry]\nType=Application\nVersion=1.4\nName=\\sLon\\\\don \n"
              "Comment=Radavue Launcher on /home/c/atc/london\n"
              "Exec=/usr/bin/radavue-launcher \"/home/c/atc/london\"\n"
              "Icon=/home/c/atc/london/logo.png\nTerminal=false\nCategories=Game;Simulation;\n");
    EXPECT_EQ(MenuEntryText("/opt/my launcher", "/x/london", {"", ""}),
              "[Desktop Entry]\nType=Application\nVersion=1.4\nName=london\n"
              "Comment=Radavue Launcher on /x/london\n"
              "Exec=\"/opt/my launcher\" \"/x/london\"\n"
              "Icon=radavue-launcher\nTerminal=false\nCategories=Game;Simulation;\n");
}

TEST(app_program_folder, AddToMenuNamesTheTitleAndAPictureLogoAndRemoveTakesItAway) {
    const testing::ScratchFolder scratch;
    const std::string top = scratch.path().string();
    std::filesystem::create_directories(scratch.path() / "london");
    scratch.Write("london/config.ini", "[GENERAL]\r\nTITLE=London\r\nLOGO=logo.png\r\n");
    const std::string menu = top + "/menu/applications";
    const std::string entry = menu + "/" + MenuEntryFileName(top + "/london");
    std::ostringstream out, err;
    // LOGO is no picture yet: the launcher's own icon.
    scratch.Write("london/logo.png", "not a picture");
    ASSERT_EQ(RunMenuCommand({Kind::kAddToMenu, "london", ""}, "/usr/bin/x", top, menu, out, err),
              0)
        << err.str();
    EXPECT_NE(testing::ReadBytes(entry).find("\nName=London\n"), std::string::npos);
    EXPECT_NE(testing::ReadBytes(entry).find("\nIcon=radavue-launcher\n"), std::string::npos);
    scratch.Write("london/logo.png",
                  std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x10\0\0\0\x10"
                              "\x08\x06\0\0\0\0\0\0\0",
                              33));
    ASSERT_EQ(
        RunMenuCommand({Kind::kAddToMenu, top + "/london/", ""}, "/usr/bin/x", "/", menu, out, err),
        0);
    EXPECT_NE(testing::ReadBytes(entry).find("\nIcon=" + top + "/london/logo.png\n"),
              std::string::npos);

    EXPECT_EQ(RunMenuCommand({Kind::kAddToMenu, "nothing", ""}, "/usr/bin/x", top, menu, out, err),
              1);
    EXPECT_EQ(RunMenuCommand({Kind::kRemoveFromMenu, "london", ""}, "", top, menu, out, err), 0);
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_TRUE(std::filesystem::is_empty(menu));
    EXPECT_EQ(RunMenuCommand({Kind::kRemoveFromMenu, "london", ""}, "", top, menu, out, err), 1);
}

}  // namespace
}  // namespace launcher
