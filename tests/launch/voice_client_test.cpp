#include "launch/voice_client.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

class RecordingStarter : public ProgramStarter {
public:
    explicit RecordingStarter(std::string error = {}) : error_(std::move(error)) {}

    Outcome Start(const CommandLine& command, WindowShow show) override {
        started.emplace_back(command, show);
        return error_.empty() ? Outcome::Ok() : Outcome::Failed(error_);
    }
    Outcome CheckStartable(const std::string&) const override { return Outcome::Ok(); }

    std::vector<std::pair<CommandLine, WindowShow>> started;

private:
    std::string error_;
};

// Named in lower case so that `ctest -R launch` selects these tests.
class launch_voice_client : public ::testing::Test {
protected:
    testing::ScratchFolder folder_;
};

TEST_F(launch_voice_client, CommandLineIsThePiecesUnquoted) {
    const CommandLine example =
        BuildVoiceCommandLine(R"(C:\RW)", "VS", "EGLL_TWR", "Heathrow Tower");
    EXPECT_EQ(example.arguments, " /join1 VS/EGLL_TWR /callsign Heathrow Tower");
#ifdef _WIN32
    EXPECT_EQ(example.Text(), R"(C:\RW\roger.exe /join1 VS/EGLL_TWR /callsign Heathrow Tower)");
#else
    EXPECT_EQ(example.Text(), R"(C:\RW/roger.exe /join1 VS/EGLL_TWR /callsign Heathrow Tower)");
#endif

    // A trailing separator is kept, and blanks in any piece stand unquoted.
    const CommandLine spaced =
        BuildVoiceCommandLine(R"(C:\Roger Wilco\)", "vs", "London Control", " London  Control ");
#ifdef _WIN32
    EXPECT_EQ(spaced.program, R"(C:\Roger Wilco\\roger.exe)");
#else
    EXPECT_EQ(spaced.program, R"(C:\Roger Wilco\/roger.exe)");
#endif
    EXPECT_EQ(spaced.arguments, " /join1 vs/London Control /callsign  London  Control ");
}

TEST_F(launch_voice_client, EmptyVoiceFolderLeavesTheProgramAtTheRoot) {
    const CommandLine line = BuildVoiceCommandLine("", "VS", "EGLL_TWR", "Heathrow Tower");
#ifdef _WIN32
    EXPECT_EQ(line.Text(), R"(\roger.exe /join1 VS/EGLL_TWR /callsign Heathrow Tower)");
#else
    EXPECT_EQ(line.Text(), "/roger.exe /join1 VS/EGLL_TWR /callsign Heathrow Tower");
#endif
}

TEST_F(launch_voice_client, StartLooksUpTheCallsignAndShowsTheWindowNormally) {
    folder_.Write("voice.ini", "[VOICE]\r\nlondon control=London Control Radio\r\n");
    RecordingStarter starter;
    const Outcome result =
        StartVoiceClient(starter, folder_.path().string(), "VS", "London Control", R"(C:\RW)");
    EXPECT_TRUE(result.ok());
    ASSERT_EQ(starter.started.size(), 1u);
#ifdef _WIN32
    EXPECT_EQ(starter.started[0].first.program, R"(C:\RW\roger.exe)");
#else
    EXPECT_EQ(starter.started[0].first.program, R"(C:\RW/roger.exe)");
#endif
    EXPECT_EQ(starter.started[0].first.arguments,
              " /join1 VS/London Control /callsign London Control Radio");
    EXPECT_EQ(starter.started[0].second, WindowShow::kNormal);
}

TEST_F(launch_voice_client, StartWithoutVoiceIniStillStartsAndPassesFailuresOn) {
    RecordingStarter starter("The system cannot find the file specified.");
    const Outcome result =
        StartVoiceClient(starter, folder_.path().string(), "VS", "EGLL_TWR", R"(C:\RW)");
    EXPECT_EQ(result.message(), "The system cannot find the file specified.");
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].first.arguments, " /join1 VS/EGLL_TWR /callsign ");
}

TEST_F(launch_voice_client, RadarCommandLineHasNoArguments) {
#ifdef _WIN32
    EXPECT_EQ(RadarCommandLine(R"(D:\Radavue)"), (CommandLine{R"(D:\Radavue\rv.exe)", ""}));
    EXPECT_EQ(RadarCommandLine("").Text(), R"(\rv.exe)");
#else
    EXPECT_EQ(RadarCommandLine(R"(D:\Radavue)"), (CommandLine{R"(D:\Radavue/rv.exe)", ""}));
    EXPECT_EQ(RadarCommandLine("").Text(), "/rv.exe");
#endif
}

}  // namespace
}  // namespace launcher
