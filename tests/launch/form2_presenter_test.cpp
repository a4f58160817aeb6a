#include "launch/form2_presenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/fake_form_view.h"
#include "tests/support/fakes.h"
#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

// A starter that notes, at each start, what the sequence had written by then.
class ProbingStarter final : public ProgramStarter {
public:
    struct Probe {
        std::string command;
        WindowShow show;
        std::string settings;  // settings.ini at that moment
        std::string atis;      // the ATIS file at that moment
        std::string rvsb;      // rvsb.ini at that moment
        int endsBefore;        // how often the program had been ended
    };

    ProbingStarter(const testing::ScratchFolder& folder, const testing::RecordingEnder& ender)
        : folder_(folder), ender_(ender) {}

    std::vector<Probe> starts;
    std::string missing;       // a program whose path ends so is not there
    std::string failsToStart;  // one that is there but fails as it starts

    Outcome Start(const CommandLine& command, WindowShow show) override {
        starts.push_back({command.Text(), show, testing::ReadBytes(folder_.File("settings.ini")),
                          testing::ReadBytes(folder_.File("atis")),
                          testing::ReadBytes(folder_.File("rvsb.ini")), ender_.calls});
        const bool fails = Ends(command.program, missing) || Ends(command.program, failsToStart);
        return fails ? Outcome::Failed(command.program + ": No such file or directory")
                     : Outcome::Ok();
    }
    Outcome CheckStartable(const std::string& program) const override {
        return Ends(program, missing) ? Outcome::Failed("No such file or directory")
                                      : Outcome::Ok();
    }

private:
    static bool Ends(const std::string& s, const std::string& end) {
        return !end.empty() && s.ends_with(end);
    }
    const testing::ScratchFolder& folder_;
    const testing::RecordingEnder& ender_;
};

class launch_form2_presenter : public ::testing::Test {
protected:
    launch_form2_presenter() {
        preferences_.datebox = "UK";
        preferences_.rwip = "VS";
        preferences_.userName = "USER";
        preferences_.rwdir = folder_.File("rw");
        preferences_.rdvdir = folder_.File("rdv");
        preferences_.windowsdir = folder_.path().string();
        preferences_.serverip = "RS";
        folder_.Write("voice.ini", "[voice]\r\negll_twr=Heathrow Tower\r\n");
        folder_.Write("config.ini", "[GENERAL]\r\nWEBSITE=INFO\r\n");
        folder_.Write("autoatis.ini", "[AUTOATIS]\r\nEGLL_TWR=CHANNEL 2\r\n");
    }

    Form2Presenter& Dialog() {
        if (!presenter_) {
            presenter_ = std::make_unique<Form2Presenter>(
                maker_,
                FinalSetupWorld{
                    folder_.path().string(), [this] { return selected_; },
                    [this] { return frequency_; }, preferences_, clock_, starter_,
                    [this](const std::string& message) { errors_.ReportError(message); },
                    [this] { ender_.EndProgram(); }},
                [this] { dropped_ = true; });
        }
        return *presenter_;
    }
    testing::FakeFormView& View() { return *maker_.Last("Form2"); }

    // The worked example's answers.
    void Answer() {
        View().At("rwy").text = "Runway 27R in use";
        View().At("addinfo").text = "2100z";
        View().At("Check1").value = 1;
    }

    std::string In(std::string_view folder, std::string_view name) const {
        return folder_.File(folder) + std::string(testing::kSeparator) + std::string(name);
    }

    testing::ScratchFolder folder_;
    Preferences preferences_;
    std::string selected_ = "EGLL_TWR";
    std::string frequency_ = "118.500";
    testing::FixedClock clock_{{2024, 3, 6, 9, 5}};
    testing::RecordingEnder ender_;
    testing::RecordingErrors errors_;
    ProbingStarter starter_{folder_, ender_};
    testing::FakeFormMaker maker_;
    bool dropped_ = false;
    std::unique_ptr<Form2Presenter> presenter_;
};

TEST_F(launch_form2_presenter, LoadFillsTheTextBoxesFromVarIniAndLeavesTheBoxClear) {
    folder_.Write("var.ini", "[main]\r\nrwy=09L\r\naddinfo=until late\r\n");
    Dialog();
    EXPECT_EQ(View().Text("rwy"), "09L");
    EXPECT_EQ(View().Text("addinfo"), "until late");
    EXPECT_EQ(View().Value("Check1"), 0);
    EXPECT_FALSE(View().visible);
}

TEST_F(launch_form2_presenter, GoSavesWritesStartsVoiceThenRadarThenEnds) {
    // As Launch left it, with a key of the radar client's own in between.
    const std::string rvsb =
        "[RV 2.0]\r\nCALLSIGN=EGLL_TWR\r\nRANGE RINGS=5\r\nCOM 1 FREQ=118.500\r\n"
        "SERVER IP=RS\r\n";
    folder_.Write("rvsb.ini", rvsb);
    Dialog();
    Answer();
    Dialog().Command1_Click();

    const std::string atis =
        "Heathrow Tower Information Alpha 60905\r\n"
        "Voice on VS/EGLL_TWR\r\n"
        "Runway 27R in use\r\n"
        "Online Until 2100z\r\n"
        "USER  -  For More info INFO\r\n"
        "AutoAtis is available on CHANNEL 2\r\n";
    ASSERT_EQ(starter_.starts.size(), 2u);
    const ProbingStarter::Probe& voice = starter_.starts[0];
    const ProbingStarter::Probe& radar = starter_.starts[1];
    EXPECT_EQ(voice.command,
              In("rw", "roger.exe") + " /join1 VS/EGLL_TWR /callsign Heathrow Tower");
    EXPECT_EQ(voice.show, WindowShow::kNormal);
    EXPECT_EQ(radar.command, In("rdv", "rv.exe"));
    EXPECT_EQ(radar.show, WindowShow::kMaximized);
    // The answers were saved, the ATIS text written and rvsb.ini brought up to
    // date before the first start; nothing ended yet.
    EXPECT_EQ(voice.settings,
              "[main]\r\nrwy=Runway 27R in use\r\nadditional=2100z\r\nautoatis=1\r\n");
    EXPECT_EQ(voice.atis, atis);
    EXPECT_EQ(voice.rvsb, rvsb);  // nothing picked since Launch, nothing changed
    EXPECT_EQ(voice.endsBefore, 0);
    EXPECT_EQ(radar.endsBefore, 0);
    EXPECT_EQ(ender_.calls, 1);
    EXPECT_TRUE(errors_.messages.empty());
}

TEST_F(launch_form2_presenter, GoReadsTheLiveRecordAndPositionWhenPressed) {
    folder_.Write("rvsb.ini",
                  "[RV 2.0]\r\nCALLSIGN=EGLL_TWR\r\nCOM 1 FREQ=118.500\r\n"
                  "SERVER IP=RS\r\n[DISPLAY]\r\nCOLOUR SCHEME=night\r\n");
    Dialog();
    View().At("Check1").value = 0;
    preferences_.datebox = "USA";  // edited after the dialog was made
    preferences_.serverip = "RS2";
    // Picked again after Launch, with the dialog open.
    selected_ = "London Control";
    frequency_ = "";
    Dialog().Command1_Click();
    ASSERT_EQ(starter_.starts.size(), 2u);
    EXPECT_EQ(starter_.starts[0].atis,
              "London Control Information Alpha#60905\r\n"
              "Voice on VS/London Control\r\n"
              "USER  -  For More info INFO\r\n");
    EXPECT_EQ(starter_.starts[0].command,
              In("rw", "roger.exe") + " /join1 VS/London Control /callsign ");
    // The radar client follows the same position before either client starts.
    EXPECT_EQ(starter_.starts[0].rvsb,
              "[RV 2.0]\r\nCALLSIGN=London Control\r\nCOM 1 FREQ=\r\nSERVER IP=RS2\r\n"
              "[DISPLAY]\r\nCOLOUR SCHEME=night\r\n");
    EXPECT_NE(testing::ReadBytes(folder_.File("settings.ini")).find("autoatis=0\r\n"),
              std::string::npos);
}

struct Failure {
    const char* name;
    bool atisBlocked;
    const char* missing;
    const char* failsToStart;
    std::size_t starts;  // how many starts were tried
    bool ends;           // only once a client runs does a failure end the launcher
};

class launch_form2_failure : public launch_form2_presenter,
                             public ::testing::WithParamInterface<Failure> {};

TEST_P(launch_form2_failure, ReportsOnceAndSkipsWhatWouldFollow) {
    const Failure& failure = GetParam();
    if (failure.atisBlocked) {
        // A folder where the file should go cannot be replaced by a file.
        std::filesystem::create_directory(folder_.File("atis"));
    }
    starter_.missing = failure.missing;
    starter_.failsToStart = failure.failsToStart;
    Dialog();
    Answer();
    Dialog().Command1_Click();
    EXPECT_EQ(starter_.starts.size(), failure.starts);
    EXPECT_EQ(errors_.messages.size(), 1u);
    EXPECT_EQ(ender_.calls, failure.ends ? 1 : 0);
    // What the settings stop is found before anything is saved or written;
    // a start that fails all the same comes after both.
    const bool checked = failure.starts > 0;
    EXPECT_EQ(std::filesystem::is_regular_file(folder_.File("atis")), checked);
    EXPECT_EQ(
        testing::ReadBytes(folder_.File("settings.ini")),
        checked ? "[main]\r\nrwy=Runway 27R in use\r\nadditional=2100z\r\nautoatis=1\r\n" : "");
}

INSTANTIATE_TEST_SUITE_P(EachFailingPart, launch_form2_failure,
                         ::testing::Values(Failure{"atis", true, "", "", 0, false},
                                           // A client not there: neither starts.
                                           Failure{"voiceMissing", false, "roger.exe", "", 0,
                                                   false},
                                           Failure{"radarMissing", false, "rv.exe", "", 0, false},
                                           Failure{"voice", false, "", "roger.exe", 1, false},
                                           Failure{"radar", false, "", "rv.exe", 2, true}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(launch_form2_presenter, ASettingErrorNamesTheFieldAndGoAfterTheFixGoesOnLine) {
    starter_.missing = ".exe";
    preferences_.rwdir = "";
    Dialog();
    Answer();
    Dialog().Command1_Click();
    ASSERT_EQ(errors_.messages.size(), 1u);
    EXPECT_EQ(errors_.messages[0],
              "Cannot start the voice client: its folder is not set.\n"
              "Set \"RW Directory\" in User Preferences to the folder that holds roger.exe.\n\n"
              "Cannot start the radar client: \"" +
                  In("rdv", "rv.exe") +
                  "\": No such file or directory.\n"
                  "Set \"Rdv Directory\" in User Preferences to the folder that holds rv.exe.\n\n"
                  "Nothing has been saved, written or started; Final Setup stays open for Go "
                  "once more.");
    EXPECT_EQ(ender_.calls, 0);
    EXPECT_FALSE(dropped_);

    // Set in Preferences while the dialog stays open with its answers.
    starter_.missing = "";
    preferences_.rwdir = folder_.File("rw");
    Dialog().Command1_Click();
    EXPECT_EQ(errors_.messages.size(), 1u);
    ASSERT_EQ(starter_.starts.size(), 2u);
    EXPECT_EQ(starter_.starts[0].atis.substr(starter_.starts[0].atis.find("Runway")),
              "Runway 27R in use\r\nOnline Until 2100z\r\nUSER  -  For More info INFO\r\n"
              "AutoAtis is available on CHANNEL 2\r\n");
    EXPECT_EQ(ender_.calls, 1);
}

#ifndef _WIN32
TEST_F(launch_form2_presenter, AnAtisFileThatIsALinkStopsGoBeforeAnything) {
    const std::string outside = folder_.Write("outside", "mine\n");
    std::filesystem::create_symlink(outside, folder_.File("atis"));
    Dialog();
    Dialog().Command1_Click();
    ASSERT_EQ(errors_.messages.size(), 1u);
    EXPECT_EQ(errors_.messages[0],
              "Cannot write the ATIS file \"" + folder_.File("atis") +
                  "\": it is a symbolic link, which the launcher never writes through.\n\n"
                  "Nothing has been saved, written or started; Final Setup stays open for Go "
                  "once more.");
    EXPECT_EQ(testing::ReadBytes(outside), "mine\n");
    EXPECT_TRUE(starter_.starts.empty());
}
#endif

TEST_F(launch_form2_presenter, TheCloseBoxDiscardsTheWindowAndTellsTheOwner) {
    Dialog();
    testing::FakeFormView& view = View();
    Dialog().Form_Unload();
    EXPECT_TRUE(view.discarded);
    EXPECT_TRUE(dropped_);
    presenter_.reset();  // what the owner does
    EXPECT_TRUE(starter_.starts.empty());
    EXPECT_FALSE(std::filesystem::exists(folder_.File("settings.ini")));
}

}  // namespace
}  // namespace launcher
