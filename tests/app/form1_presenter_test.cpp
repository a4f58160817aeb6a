#include "app/form1_presenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/form1_table.h"
#include "app/launcher_run.h"
#include "profile/ini.h"
#include "tests/support/fake_form_view.h"
#include "tests/support/fakes.h"
#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

using testing::IndexOf;

// A main window over a scratch program folder, its dialogs made by a
// recording maker, the outside world faked.
class app_form1_presenter : public ::testing::Test {
protected:
    app_form1_presenter() {
        location_.folder = folder_.path().string();
        volumes_.volumes = {location_.folder};
        volumes_.working = location_.folder;
        std::filesystem::create_directory(folder_.path() / "win");
    }

    std::string File(std::string_view name) const { return folder_.File(name); }
    std::string Windows() const { return File("win"); }
    std::string Rvsb() const { return File("win") + std::string(testing::kSeparator) + "rvsb.ini"; }

    Form1Presenter& Loaded() {
        presenter_.Form_Load();
        return presenter_;
    }
    testing::FakeFormView& Form2() { return *maker_.Last("Form2"); }
    testing::FakeFormView& Form4() { return *maker_.Last("Form4"); }

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

TEST_F(app_form1_presenter, StartUpRunsItsEightStepsInOrder) {
    folder_.Write("settings.ini", "[MAIN]\r\nWINDIR=" + Windows() +
                                      "\r\nNAME=Jo\r\nautoatis=1\r\nRWY=27R\r\nADDITIONAL=2100z\r\n"
                                      "[rwservers]\r\n1=rw1\r\n[rdvservers]\r\n10=rdv10\r\n");
    folder_.Write("var.ini", "[MAIN]\r\nRWY=from var\r\nADDINFO=var until\r\n");
    folder_.Write(
        "config.ini",
        "[GENERAL]\r\nLOGOLEFT=300\r\nLOGO=logo.png\r\nBACK=back.png\r\nTITLE=Tower\r\n"
        "WEBSITE=www.example.org\r\n[combo names]\r\n6=Gatwick\r\n[6 items]\r\n1=EGKK_TWR\r\n");
    // When Final Setup is made, the ATIS file name must already be written.
    std::string rvsbWhenForm2Made;
    maker_.onMake = [&](const std::string& name) {
        if (name == "Form2") {
            rvsbWhenForm2Made = testing::ReadBytes(Rvsb());
        }
    };

    Loaded();
    const testing::Log& log = maker_.log;

    // 2: Preferences made with its server lists, 3: the saved fields.
    const int form4Made = IndexOf(log, "Form4.Made");
    const int lists = IndexOf(log, "Form4.AddItems serverip=10");
    const int name = IndexOf(log, "Form4.SetText userName=Jo");
    // 5: Final Setup made, its own load, then the saved answers.
    const int form2Made = IndexOf(log, "Form2.Made");
    const int ownLoad = IndexOf(log, "Form2.SetText rwy=from var");
    const int ticked = IndexOf(log, "Form2.SetValue Check1=1");
    const int runway = IndexOf(log, "Form2.SetText rwy=27R");
    const int until = IndexOf(log, "Form2.SetText addinfo=2100z");
    // 6: branding, 7: caption, 8: catalogue and height, last.
    const int left = IndexOf(log, "Form1.SetLeft Image1=300");
    // The pictures lie in the program folder, wherever the launcher was started from.
    const std::string in = location_.folder + std::string(testing::kSeparator);
    const int logo = IndexOf(log, "Form1.SetPicture Image1=" + in + "logo.png");
    const int back = IndexOf(log, "Form1.SetPicture Image2=" + in + "back.png");
    const int title = IndexOf(log, "Form1.SetText accname=Tower");
    const int web = IndexOf(log, "Form1.SetText wwwaddy=www.example.org");
    const int caption = IndexOf(log,
                                "Form1.SetCaption=Radavue Launcher Tower Edition Version 4.0.6 "
                                "(c) 2026 Radavue Launcher developers");
    const int hidden = IndexOf(log, "Form1.SetVisible Frame1=0");
    const int shown = IndexOf(log, "Form1.SetVisible Frame6=1");
    const int height = IndexOf(log, "Form1.SetOuterHeight=5865");
    for (const int step : {form4Made, lists, name, form2Made, ownLoad, ticked, runway, until, left,
                           logo, back, title, web, caption, hidden, shown, height}) {
        ASSERT_GE(step, 0) << ::testing::PrintToString(log);
    }
    EXPECT_LT(form4Made, lists);
    EXPECT_LT(lists, name);
    EXPECT_LT(name, form2Made);
    EXPECT_LT(form2Made, ownLoad);
    EXPECT_LT(ownLoad, ticked);
    EXPECT_LT(ticked, runway);
    EXPECT_LT(runway, until);
    EXPECT_LT(until, left);
    EXPECT_LT(left, logo);
    EXPECT_LT(logo, back);
    EXPECT_LT(back, title);
    EXPECT_LT(title, web);
    EXPECT_LT(web, caption);
    EXPECT_LT(caption, hidden);
    EXPECT_LT(hidden, shown);
    EXPECT_EQ(height, static_cast<int>(log.size()) - 1);

    // 4: rvsb.ini holds the ATIS file's name, from the Windows folder just loaded.
    EXPECT_EQ(rvsbWhenForm2Made, "[RV 2.0]\r\nATIS FILENAME=" + location_.folder +
                                     std::string(testing::kSeparator) + "atis\r\n");
    EXPECT_EQ(Form4().At("rwip").items,
              (std::vector<std::string>{"rw1", "", "", "", "", "", "", ""}));
    EXPECT_EQ(Form4().At("serverip").items.back(), "rdv10");
    // Absent keys empty their fields, the design-time "UK" included.
    EXPECT_EQ(Form4().Text("datebox"), "");
    EXPECT_EQ(Form4().Text("rwip"), "");
    EXPECT_FALSE(Form2().visible);
    EXPECT_FALSE(Form4().visible);
    EXPECT_EQ(form1_.At("Combo6").items, (std::vector<std::string>{"EGKK_TWR"}));
    EXPECT_EQ(form1_.Text("Combo6"), "");
}

TEST_F(app_form1_presenter, WithoutConfigIniEveryFrameHidesAndTheWindowIsLow) {
    Loaded();
    for (int n = 1; n <= kGroupCount; ++n) {
        EXPECT_FALSE(form1_.At(FrameName(n)).visible) << n;
    }
    EXPECT_EQ(form1_.outerHeight, 4980);
    EXPECT_EQ(form1_.Text("accname"), "");
    EXPECT_EQ(form1_.Caption(),
              "Radavue Launcher  Edition Version 4.0.6 (c) 2026 Radavue Launcher developers");
    // With no Windows folder nothing is written anywhere; no file appears
    // in the program folder either.
    EXPECT_TRUE(std::filesystem::is_empty(folder_.path() / "win"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(app_form1_presenter, NamedRowStarterWithoutEntriesShowsButDoesNotGrowTheWindow) {
    folder_.Write("config.ini",
                  "[combo names]\r\n21=Approach\r\n26=Centre\r\n[21 items]\r\n1=EGLL_APP\r\n");
    Loaded();
    EXPECT_TRUE(form1_.At("Frame26").visible);
    EXPECT_EQ(form1_.Text("Frame26"), "Centre");
    EXPECT_EQ(form1_.outerHeight, 8295);
}

TEST_F(app_form1_presenter, APickEmptiesTheOtherGroupsAndTheNextTickShowsIt) {
    folder_.Write("freq.ini", "[FREQ]\r\negll_twr=118.500\r\nEGKK_TWR=124.225\r\n");
    Loaded();
    form1_.At("Combo3").text = "EGKK_TWR";
    presenter_.Timer1_Timer();
    EXPECT_EQ(form1_.Text("selected"), "EGKK_TWR");
    EXPECT_EQ(form1_.Text("comfreq"), "124.225");

    form1_.At("Combo7").text = "EGLL_TWR";
    presenter_.Combo_Click(7);
    EXPECT_EQ(form1_.Text("Combo3"), "");
    EXPECT_EQ(form1_.Text("Combo7"), "EGLL_TWR");
    // Until the next tick the labels show the earlier pick, and so does what
    // a Launch pressed now hands on.
    EXPECT_EQ(form1_.Text("selected"), "EGKK_TWR");
    presenter_.form4().OnTextChanged("windowsdir", Windows());
    presenter_.Command1_Click();
    EXPECT_NE(testing::ReadBytes(Rvsb()).find("CALLSIGN=EGKK_TWR\r\nCOM 1 FREQ=124.225\r\n"),
              std::string::npos);

    presenter_.Timer1_Timer();
    EXPECT_EQ(form1_.Text("selected"), "EGLL_TWR");
    EXPECT_EQ(form1_.Text("comfreq"), "118.500");  // the key's case does not matter

    // Picking what a group already shows changes nothing that shows.
    const std::size_t before = maker_.log.size();
    presenter_.Combo_Click(7);
    presenter_.Timer1_Timer();
    for (std::size_t i = before; i < maker_.log.size(); ++i) {
        const std::string& entry = maker_.log[i];
        EXPECT_TRUE(entry.ends_with("=") || entry == "Form1.SetText selected=EGLL_TWR" ||
                    entry == "Form1.SetText comfreq=118.500")
            << entry;
    }
    EXPECT_EQ(form1_.Text("Combo7"), "EGLL_TWR");
}

TEST_F(app_form1_presenter, WithNothingSelectedTheTickLeavesTheFrequencyAlone) {
    Loaded();
    form1_.At("comfreq").text = "121.500";  // as a Launch before any pick may leave it
    presenter_.Timer1_Timer();
    EXPECT_EQ(form1_.Text("selected"), "");
    EXPECT_EQ(form1_.Text("comfreq"), "121.500");
}

TEST_F(app_form1_presenter, LaunchShowsFinalSetupAndHandsOnWhatTheFieldsHoldNow) {
    folder_.Write("settings.ini", "[MAIN]\r\nWINDIR=" + Windows() + "\r\nRDVIP=saved.example\r\n");
    folder_.Write("freq.ini", "[FREQ]\r\nEGLL_TWR=118.500\r\n");
    folder_.Write("var.ini", "[MAIN]\r\nRWY=09L\r\n");
    Loaded();
    form1_.At("selected").text = "EGLL_TWR";
    // An edit left with Cancel is in force at once.
    presenter_.form4().OnTextChanged("serverip", "edited.example");
    presenter_.form4().Command2_Click();

    presenter_.Command1_Click();
    EXPECT_TRUE(Form2().visible);
    EXPECT_EQ(form1_.Text("comfreq"), "118.500");
    EXPECT_EQ(testing::ReadBytes(Rvsb()), "[RV 2.0]\r\nATIS FILENAME=" + location_.folder +
                                              std::string(testing::kSeparator) +
                                              "atis\r\nCALLSIGN=EGLL_TWR\r\nCOM 1 FREQ=118.500\r\n"
                                              "SERVER IP=edited.example\r\n");
    EXPECT_NE(testing::ReadBytes(File("settings.ini")).find("RDVIP=saved.example"),
              std::string::npos);

    // Launch again: the same dialog, brought to the front.
    Form2().At("rwy").text = "typed";
    presenter_.Command1_Click();
    EXPECT_EQ(maker_.Made("Form2"), 1);
    EXPECT_EQ(Form2().shows, 2);
    EXPECT_EQ(Form2().Text("rwy"), "typed");

    // The close box drops it; the next Launch makes it afresh from var.ini.
    presenter_.form2()->Form_Unload();
    EXPECT_EQ(presenter_.form2(), nullptr);
    presenter_.Command1_Click();
    EXPECT_EQ(maker_.Made("Form2"), 2);
    EXPECT_EQ(Form2().Text("rwy"), "09L");
    EXPECT_EQ(Form2().Text("addinfo"), "");
    EXPECT_EQ(Form2().Value("Check1"), 0);
    EXPECT_TRUE(Form2().visible);
}

TEST_F(app_form1_presenter, AFirstRunOffersTheFacilitysDefaultsAndLaunchNeedsAPosition) {
    folder_.Write("config.ini",
                  "[combo names]\r\n3=Tower\r\n7=Ground\r\n[3 items]\r\n1=EGLL_TWR\r\n");
    folder_.Write("var.ini", "[MAIN]\r\nRWY=Runway 27R in use\r\nADDINFO=2100z\r\n");
    // No settings.ini yet, save one answer saved empty.
    folder_.Write("settings.ini", "[main]\r\nadditional=\r\n");
    Loaded();
    EXPECT_EQ(Form2().Text("rwy"), "Runway 27R in use");
    EXPECT_EQ(Form2().Text("addinfo"), "");

    const std::size_t before = maker_.log.size();
    presenter_.Command1_Click();
    EXPECT_EQ(errors_.messages, std::vector<std::string>{"Pick your position first."});
    EXPECT_EQ(std::vector<std::string>(maker_.log.begin() + long(before), maker_.log.end()),
              std::vector<std::string>{"Form1.SetFocus Combo3="});
    EXPECT_FALSE(Form2().visible);

    // A Windows folder first set in this run gets the ATIS file's name at Launch.
    presenter_.form4().OnTextChanged("windowsdir", Windows());
    form1_.At("selected").text = "EGLL_TWR";
    presenter_.Command1_Click();
    EXPECT_TRUE(Form2().visible);
    EXPECT_EQ(testing::ReadBytes(Rvsb()),
              "[RV 2.0]\r\nATIS FILENAME=" + location_.folder + std::string(testing::kSeparator) +
                  "atis\r\nCALLSIGN=EGLL_TWR\r\nCOM 1 FREQ=\r\nSERVER IP=\r\n");
}

TEST_F(app_form1_presenter, ExitAndTheCloseBoxEndAtOnceAndSaveNothing) {
    const std::string settings = "[MAIN]\r\nWINDIR=" + Windows() + "\r\nNAME=Saved\r\n";
    folder_.Write("settings.ini", settings);
    Loaded();
    presenter_.Command3_Click();
    EXPECT_TRUE(Form4().visible);
    presenter_.form4().OnTextChanged("userName", "Edited");
    form1_.At("selected").text = "EGLL_TWR";
    presenter_.Command1_Click();
    const std::string rvsb = testing::ReadBytes(Rvsb());

    presenter_.Command2_Click();
    EXPECT_EQ(ender_.calls, 1);
    // The main window closed while Final Setup is open: no client starts
    // and nothing is written beyond what Launch wrote.
    presenter_.Form_Unload();
    EXPECT_EQ(ender_.calls, 2);
    EXPECT_TRUE(starter_.starts.empty());
    EXPECT_EQ(testing::ReadBytes(File("settings.ini")), settings);
    EXPECT_EQ(testing::ReadBytes(Rvsb()), rvsb);
    EXPECT_FALSE(std::filesystem::exists(File("atis")));
}

// The run both mains hand their pieces to.
TEST(app_launcher_run, LocationProblemIsToldAndNoWindowIsMade) {
    testing::FakeLocation location;
    testing::RecordingEnder ender;
    testing::FakeVolumes volumes;
    testing::RecordingErrors errors;
    testing::FakeFormMaker windows;
    bool ran = false;

    EXPECT_EQ(RunLauncher({location, "No config.ini here.", ender, volumes, errors}, windows,
                          [&ran] {
                              ran = true;
                              return 0;
                          }),
              2);
    EXPECT_EQ(errors.messages, std::vector<std::string>{"No config.ini here."});
    EXPECT_TRUE(windows.log.empty());
    EXPECT_FALSE(ran);
}

TEST(app_launcher_run, MainWindowShowsLoadedAloneThenEventsRunToTheEnd) {
    testing::ScratchFolder folder;
    folder.Write("config.ini", "[GENERAL]\r\nTITLE=Tower\r\n");
    testing::FakeLocation location;
    location.folder = folder.path().string();
    testing::RecordingEnder ender;
    testing::FakeVolumes volumes;
    testing::RecordingErrors errors;
    testing::FakeFormMaker windows;

    const int status = RunLauncher({location, "", ender, volumes, errors}, windows, [&] {
        // The dialogs wait until they are first shown.
        EXPECT_EQ(windows.log.back(), "Form1.Show");
        EXPECT_EQ(windows.Made("Form1"), 1);
        EXPECT_EQ(windows.Made("Form2") + windows.Made("Form4"), 0);
        EXPECT_EQ(windows.Last("Form1")->Text(form1::kTitle), "Tower");
        windows.EventsOf("Form1").OnClick(form1::kExit);
        EXPECT_EQ(ender.calls, 1);
        return 7;
    });

    EXPECT_EQ(status, 7);
    EXPECT_TRUE(errors.messages.empty());
}

}  // namespace
}  // namespace launcher
