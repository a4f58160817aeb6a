// Starts real programs: natively the demo's stand-in clients (shell scripts
// that log their start), under Wine a stand-in client of our own that records
// its raw command line. Each sits in a folder whose name holds a space.
#include "launch/system_starter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/scratch_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace launcher {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Waits for an outside process to finish its record: the record is complete
// once `complete` holds for it. Gives up after ten seconds with what is there.
template <typename Complete>
std::string WaitForRecord(const fs::path& file, Complete complete) {
    std::string text;
    for (int attempt = 0; attempt < 200; ++attempt) {
        text = ReadAll(file);
        if (complete(text)) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return text;
}

// The started program gets the launcher's current folder, so each test runs
// in a folder of its own and puts the previous one back afterwards.
class StartFixture : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        fs::create_directories(scratch_.path() / "work dir");
        fs::current_path(scratch_.path() / "work dir");
        workFolder_ = Utf8(fs::current_path());
    }
    void TearDown() override { fs::current_path(previous_); }

    testing::ScratchFolder scratch_;
    std::string workFolder_;
    SystemProgramStarter starter_;

private:
    fs::path previous_;
};

TEST(SystemStarterClock, NowIsTheLocalDateOfTheSystemClock) {
    using namespace std::chrono;
    const sys_days today = floor<days>(system_clock::now());
    const LocalTime now = SystemClock().Now();

    const year_month_day date{year(now.year), month(unsigned(now.month)), day(unsigned(now.day))};
    ASSERT_TRUE(date.ok()) << now.year << "-" << now.month << "-" << now.day;
    // Time zones lie within a day of UTC.
    EXPECT_LE(std::abs((sys_days(date) - today).count()), 1);
    EXPECT_GE(now.hour, 0);
    EXPECT_LE(now.hour, 23);
    EXPECT_GE(now.minute, 0);
    EXPECT_LE(now.minute, 59);
}

#ifndef _WIN32

class SystemStarterPosix : public StartFixture {
protected:
    // Copies a demo stand-in client into "<scratch>/Program Files/<folder>".
    std::string Install(const char* demoPath, const char* folder, const char* name) {
        const fs::path target = scratch_.path() / "Program Files" / folder / name;
        fs::create_directories(target.parent_path());
        fs::copy_file(fs::path(LAUNCHER_DEMO_DIR) / demoPath, target);
        fs::permissions(target, fs::perms::owner_all);
        return Utf8(target);
    }

    // The stand-ins append one record per start, ending with a blank line.
    static std::string WaitForRecords(const std::string& log, int count) {
        return WaitForRecord(log, [count](const std::string& text) {
            size_t ends = 0;
            for (size_t at = text.find("\n\n"); at != std::string::npos;
                 at = text.find("\n\n", at + 2)) {
                ++ends;
            }
            return ends >= size_t(count);
        });
    }
};

TEST_F(SystemStarterPosix, VoiceClientGetsEachWordAsAnArgumentAndTheCurrentFolder) {
    const std::string roger = Install("rogerwilco/roger.exe", "RW", "roger.exe");

    ASSERT_TRUE(starter_
                    .Start({roger, " /join1 VS/London Control /callsign Heathrow Tower"},
                           WindowShow::kNormal)
                    .started());
    const std::string first = WaitForRecords(roger + ".log", 1);
    // An empty callsign leaves a trailing blank; doubled blanks give no empty argument.
    ASSERT_TRUE(
        starter_.Start({roger, " /join1  VS/EGLL_TWR /callsign "}, WindowShow::kNormal).started());
    const std::string both = WaitForRecords(roger + ".log", 2);

    const std::string head = "started: " + roger + "\nfolder: " + workFolder_ + "\n";
    EXPECT_EQ(both, head +
                        "arg: /join1\narg: VS/London\narg: Control\narg: /callsign\n"
                        "arg: Heathrow\narg: Tower\n\n" +
                        head + "arg: /join1\narg: VS/EGLL_TWR\narg: /callsign\n\n")
        << "first record alone: " << first;
}

TEST_F(SystemStarterPosix, RadarClientWithoutArgumentsGetsNone) {
    const std::string rv = Install("radavue/rv.exe", "RV", "rv.exe");

    ASSERT_TRUE(starter_.Start({rv, ""}, WindowShow::kMaximized).started());

    EXPECT_EQ(WaitForRecords(rv + ".log", 1),
              "started: " + rv + "\nfolder: " + workFolder_ + "\n\n");
}

TEST_F(SystemStarterPosix, ProgramRunsOnWithoutUsInASessionOfItsOwn) {
    // A probe that records its session and whether it got a file of ours, as
    // /proc shows them, then waits for the test to open a gate (or ten
    // seconds) before it says it is done.
    const fs::path probe = scratch_.path() / "Program Files" / "probe";
    fs::create_directories(probe.parent_path());
    const fs::path stat = scratch_.path() / "stat";
    const fs::path gate = scratch_.path() / "gate";
    const fs::path done = scratch_.path() / "done";
    std::ofstream(probe) << "#!/bin/sh\nd='" << Utf8(scratch_.path()) << "'\n"
                         << "read -r stat </proc/$$/stat\n"
                         << "if [ -e /proc/$$/fd/77 ]; then fd=inherited; else fd=closed; fi\n"
                         << "printf '%s\\n%s\\n' \"$stat\" \"$fd\" >\"$d/stat.part\"\n"
                         << "mv \"$d/stat.part\" \"$d/stat\"\n"
                         << "i=0\nwhile [ ! -e \"$d/gate\" ] && [ $i -lt 100 ]; do\n"
                         << "    sleep 0.1; i=$((i + 1))\ndone\n"
                         << ": >\"$d/done\"\n";
    fs::permissions(probe, fs::perms::owner_all);

    // A file the launcher holds open without close-on-exec.
    const int held = open("/dev/null", O_RDONLY);
    ASSERT_EQ(dup2(held, 77), 77);
    close(held);

    const bool started = starter_.Start({Utf8(probe), ""}, WindowShow::kNormal).started();
    close(77);
    ASSERT_TRUE(started);

    // Start did not wait for the program, which is still running and yet is
    // no child of ours; the process in between has been reaped.
    EXPECT_FALSE(fs::exists(done));
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);

#ifdef __linux__
    const std::string record =
        WaitForRecord(stat, [](const std::string& text) { return !text.empty(); });
    const size_t name = record.rfind(')');
    ASSERT_NE(name, std::string::npos) << record;
    // After the name: state, parent, process group, session; then the line
    // about our file.
    std::istringstream fields(record.substr(name + 1));
    std::string state, rest, descriptor;
    long parent = 0, group = 0, session = 0;
    fields >> state >> parent >> group >> session;
    std::getline(fields, rest);
    std::getline(fields, descriptor);
    ASSERT_TRUE(fields) << record;
    EXPECT_NE(session, long(getsid(0)));
    EXPECT_EQ(descriptor, "closed");
#endif

    std::ofstream(gate) << "open\n";
    WaitForRecord(done, [&done](const std::string&) { return fs::exists(done); });
}

TEST_F(SystemStarterPosix, ProgramThatCannotRunIsReportedWithItsNameAndTheReason) {
    const std::string missing = Utf8(scratch_.path() / "Program Files" / "RW" / "roger.exe");
    const std::string plain = scratch_.Write("plain file", "not a program\n");
    fs::permissions(plain, fs::perms::owner_read | fs::perms::owner_write);
    const std::string garbage = scratch_.Write("garbage",
                                               "\x7f"
                                               "ELF but not really");
    fs::permissions(garbage, fs::perms::owner_all);

    const struct {
        std::string program;
        const char* reason;
    } cases[] = {
        {missing, "No such file or directory"},
        {plain, "Permission denied"},  // even for root: no execute bit at all
        {Utf8(scratch_.path()), "Permission denied"},
        {garbage, "Exec format error"},
    };
    for (const auto& c : cases) {
        const StartResult result = starter_.Start({c.program, " /join1 x"}, WindowShow::kNormal);
        EXPECT_FALSE(result.started()) << c.program;
        EXPECT_EQ(result.error, "Cannot start \"" + c.program + "\": " + c.reason);
    }
}

#else

class SystemStarterWindows : public StartFixture {
protected:
    // Copies our stand-in client to "<scratch>\<relative>".
    std::string Install(const fs::path& relative) {
        const fs::path target = scratch_.path() / relative;
        fs::create_directories(target.parent_path());
        fs::copy_file(fs::path(LAUNCHER_STAND_IN_CLIENT), target);
        return Utf8(target);
    }

    void TearDown() override {
        StartFixture::TearDown();
        // A stand-in may still be ending, and Windows keeps a running
        // program's file: give it a moment before the folder goes.
        for (int attempt = 0; attempt < 50; ++attempt) {
            std::error_code error;
            fs::remove_all(scratch_.path(), error);
            if (!error) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }

    static std::string WaitForLog(const std::string& program) {
        return WaitForRecord(program + ".log",
                             [](const std::string& text) { return !text.empty(); });
    }

    // Where Windows would look first for an unquoted "<scratch>\Program Files\...".
    std::string Decoy() { return Install("Program.exe"); }
};

TEST_F(SystemStarterWindows, VoiceClientSeesItsQuotedPathAndTheArgumentsAsGiven) {
    const std::string roger = Install(fs::path("Program Files") / "RW" / "roger.exe");
    const std::string decoy = Decoy();

    ASSERT_TRUE(starter_
                    .Start({roger, " /join1 VS/London Control /callsign Heathrow Tower"},
                           WindowShow::kNormal)
                    .started());

    EXPECT_EQ(WaitForLog(roger), "command: \"" + roger +
                                     "\" /join1 VS/London Control /callsign Heathrow Tower\n"
                                     "folder: " +
                                     workFolder_ + "\nshow: " + std::to_string(SW_SHOWNORMAL) +
                                     "\n");
    EXPECT_FALSE(fs::exists(decoy + ".log")) << "the decoy ran";
}

// Proves the decoy above stands where it matters: the same start without the
// module name and without quotes runs it.
TEST_F(SystemStarterWindows, UnquotedStartWithoutModuleNameWouldRunTheDecoy) {
    const std::string roger = Install(fs::path("Program Files") / "RW" / "roger.exe");
    const std::string decoy = Decoy();
    std::wstring line = (scratch_.path() / "Program Files" / "RW" / "roger.exe").wstring() +
                        L" /join1 VS/London Control";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    EXPECT_THAT(WaitForLog(decoy), StartsWith("command: " + Utf8(scratch_.path())));
    EXPECT_FALSE(fs::exists(roger + ".log"));
}

TEST_F(SystemStarterWindows, RadarClientSeesOnlyItsQuotedPathAndStartsMaximized) {
    const std::string rv = Install(fs::path("Program Files") / "RV" / "rv.exe");

    ASSERT_TRUE(starter_.Start({rv, ""}, WindowShow::kMaximized).started());

    EXPECT_EQ(WaitForLog(rv), "command: \"" + rv + "\"\nfolder: " + workFolder_ +
                                  "\nshow: " + std::to_string(SW_SHOWMAXIMIZED) + "\n");
}

TEST_F(SystemStarterWindows, MissingProgramIsReportedWithItsNameAndTheReason) {
    const std::string missing = Utf8(scratch_.path() / "Program Files" / "RW" / "roger.exe");

    const StartResult result = starter_.Start({missing, " /join1 x"}, WindowShow::kNormal);

    EXPECT_FALSE(result.started());
    EXPECT_THAT(result.error, StartsWith("Cannot start \"" + missing + "\": "));
    EXPECT_GT(result.error.size(), ("Cannot start \"" + missing + "\": ").size());
    EXPECT_EQ(result.error.find('\n'), std::string::npos);
}

#endif

}  // namespace
}  // namespace launcher
