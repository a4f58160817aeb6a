// Every INI name the launcher asks for is a row of profile/program_files.h,
// or a key its rules allow: a start of the main window, a pick, Launch, the
// Preferences' OK and Final Setup's Go, with every lookup and write recorded.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/form1_presenter.h"
#include "profile/ini.h"
#include "profile/ini_line.h"
#include "profile/program_files.h"
#include "tests/support/fake_form_view.h"
#include "tests/support/fakes.h"
#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

struct Access {
    IniAccess access;
    std::string section;
    std::string key;
    std::string file;  // the file's name, without its folder
};

std::vector<Access> recorded;

void Record(IniAccess access, std::string_view section, std::string_view key,
            std::string_view file) {
    const std::size_t slash = file.find_last_of("/\\");
    recorded.push_back(
        {access, std::string(section), std::string(key),
         std::string(slash == std::string_view::npos ? file : file.substr(slash + 1))});
}

bool IsNumberUpTo(std::string_view key, int count) {
    for (int n = 1; n <= count; ++n) {
        if (ini::NamesMatch(key, std::to_string(n))) {
            return true;
        }
    }
    return false;
}

bool InTable(const Access& a) {
    const bool anyKey = a.access == IniAccess::kListKeys;
    for (const IniKey& row : keys::kAll) {
        if (a.file == row.file && ini::NamesMatch(a.section, row.section) &&
            (anyKey || ini::NamesMatch(a.key, row.key))) {
            return true;
        }
    }
    for (const IniKeyRule& rule : rules::kAll) {
        bool section = rule.sections == 0 && ini::NamesMatch(a.section, rule.section);
        for (int n = 1; n <= rule.sections; ++n) {
            section = section || ini::NamesMatch(a.section, NumberedSection(rule, n));
        }
        if (a.file == rule.file && section &&
            (anyKey || rule.keys == 0 || IsNumberUpTo(a.key, rule.keys))) {
            return true;
        }
    }
    return false;
}

std::string Shown(const Access& a) {
    return a.file + " [" + a.section + "] " + a.key;
}

class app_ini_names : public ::testing::Test {
protected:
    app_ini_names() {
        location_.folder = folder_.path().string();
        volumes_.volumes = {location_.folder};
        volumes_.working = location_.folder;
        std::filesystem::create_directory(folder_.path() / "win");
        recorded.clear();
        detail::iniObserver = &Record;
    }
    ~app_ini_names() override { detail::iniObserver = nullptr; }

    testing::ScratchFolder folder_;
    testing::FakeLocation location_;
    testing::RecordingEnder ender_;
    testing::FakeVolumes volumes_;
    testing::FixedClock clock_;
    testing::RecordingStarter starter_;
    testing::RecordingErrors errors_;
    testing::FakeFormMaker maker_;
    Form1Presenter presenter_{maker_,
                              OutsideWorld{location_, ender_, volumes_, clock_, starter_, errors_}};
    testing::FakeFormView& form1_ = *maker_.Last("Form1");
};

TEST_F(app_ini_names, EveryNameAStartALaunchAndGoAskForIsARowOfTheTable) {
    const std::string win = folder_.File("win");
    folder_.Write("settings.ini", "[MAIN]\r\nWINDIR=" + win + "\r\nRWDIR=" + win +
                                      "\r\nRDVDIR=" + win +
                                      "\r\nDATE=UK\r\nautoatis=1\r\n[rwservers]\r\n1=rw1\r\n");
    folder_.Write("var.ini", "[MAIN]\r\nRWY=27R\r\nADDINFO=2100z\r\n");
    folder_.Write("config.ini",
                  "[GENERAL]\r\nLOGOLEFT=300\r\nTITLE=Tower\r\nWEBSITE=www.example.org\r\n"
                  "[combo names]\r\n6=Gatwick\r\n[6 items]\r\n1=EGKK_TWR\r\n2=EGKK_GND\r\n");
    folder_.Write("freq.ini", "[FREQ]\r\nEGKK_TWR=124.225\r\n");
    folder_.Write("voice.ini", "[voice]\r\nEGKK_TWR=Gatwick Tower\r\n");
    folder_.Write("autoatis.ini", "[AUTOATIS]\r\nEGKK_TWR=128.475\r\n");

    presenter_.Form_Load();
    form1_.At("Combo6").text = "EGKK_TWR";
    presenter_.Combo_Click(6);
    presenter_.Timer1_Timer();
    presenter_.form4().Command1_Click();
    presenter_.Command1_Click();
    ASSERT_NE(presenter_.form2(), nullptr);
    presenter_.form2()->Command1_Click();
    ASSERT_EQ(errors_.messages, std::vector<std::string>{});
    ASSERT_EQ(ender_.calls, 1);  // Go went through to the end

    // Each kind of call was seen, so the recording reached both backends' calls.
    bool read = false, listed = false, written = false;
    for (const Access& a : recorded) {
        read = read || a.access == IniAccess::kRead;
        listed = listed || a.access == IniAccess::kListKeys;
        written = written || a.access == IniAccess::kWrite;
        EXPECT_TRUE(InTable(a)) << Shown(a);
    }
    EXPECT_TRUE(read && listed && written);
}

// The rules are exact: a number past a list's end, or a name near a row's,
// is no name of the table.
TEST(app_ini_names_rules, NamesOutsideTheTableAreNotInIt) {
    for (const Access& a : {
             Access{IniAccess::kRead, "rwservers", "9", "settings.ini"},
             Access{IniAccess::kRead, "31 items", "1", "config.ini"},
             Access{IniAccess::kRead, "6 items", "16", "config.ini"},
             Access{IniAccess::kRead, "GENERAL", "LOGOTOP", "config.ini"},
             Access{IniAccess::kWrite, "MAIN", "WINDIR", "var.ini"},
             Access{IniAccess::kListKeys, "combo name", "", "config.ini"},
         }) {
        EXPECT_FALSE(InTable(a)) << Shown(a);
    }
    EXPECT_TRUE(InTable({IniAccess::kRead, "main", "RWY", "settings.ini"}));
    EXPECT_TRUE(InTable({IniAccess::kRead, "30 ITEMS", "15", "config.ini"}));
    EXPECT_TRUE(InTable({IniAccess::kRead, "freq", "any position", "freq.ini"}));
}

}  // namespace
}  // namespace launcher
