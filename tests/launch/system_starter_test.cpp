// Starts real programs: natively the demo's stand-in clients (shell scripts
// that log their start), and a stand-in client of our own that records its raw
// command line, cross-built under Wine and, natively, through Wine as a Linux
// controller runs the Windows clients. Each sits in a folder whose name holds
// a space.
#include "launch/system_starter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/scratch_folder.h"
#ifndef _WIN32
#include "tests/support/wine_prefix.h"
#endif

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
// once `complete` holds for it. Gives up after `seconds` with what is there.
template <typename Complete>
std::string WaitForRecord(const fs::path& file, Complete complete, int seconds = 10) {
    std::string text;
    for (int attempt = 0; attempt < seconds * 20; ++attempt) {
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
                    .ok());
    const std::string first = WaitForRecords(roger + ".log", 1);
    // An empty callsign leaves a trailing blank; doubled blanks give no empty argument.
    ASSERT_TRUE(
        starter_.Start({roger, " /join1  VS/EGLL_TWR /callsign "}, WindowShow::kNormal).ok());
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

    EXPECT_EQ(starter_.CheckStartable(rv).message(), "");
    ASSERT_TRUE(starter_.Start({rv, ""}, WindowShow::kMaximized).ok());

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

    const bool started = starter_.Start({Utf8(probe), ""}, WindowShow::kNormal).ok();
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

    // The check before any start finds all but what only running tells.
    const struct {
        std::string program;
        const char* reason;
        const char* checked;
    } cases[] = {
        {missing, "No such file or directory", "No such file or directory"},
        // Even for root: no execute bit at all.
        {plain, "Permission denied", "Permission denied"},
        {Utf8(scratch_.path()), "Permission denied", "it is a folder, not a program"},
        {garbage, "Exec format error", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(starter_.CheckStartable(c.program).message(), c.checked) << c.program;
        const Outcome result = starter_.Start({c.program, " /join1 x"}, WindowShow::kNormal);
        EXPECT_FALSE(result.ok()) << c.program;
        EXPECT_EQ(result.message(), "Cannot start \"" + c.program + "\": " + c.reason);
    }
}

// The Windows clients on Linux: our MinGW stand-in client under Wine.
class SystemStarterWine : public StartFixture {
protected:
    static void SetUpTestSuite() { prefix_ = new std::string(testing::ReadyWinePrefix()); }
    static void TearDownTestSuite() { delete prefix_; }

    void SetUp() override {
        StartFixture::SetUp();
        // The programs of one test lie in a folder of their own in the prefix.
        inside_ = fs::path(*prefix_) / "drive_c" / ("Test " + scratch_.path().filename().string());
        for (const char* name : kVariables) {
            previous_.emplace_back(name, Variable(name));
        }
        setenv("WINEPREFIX", prefix_->c_str(), 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : previous_) {
            Restore(name, value);
        }
        std::error_code ignored;
        fs::remove_all(inside_, ignored);
        StartFixture::TearDown();
    }

    std::string Install(const fs::path& target) {
        fs::create_directories(target.parent_path());
        fs::copy_file(LAUNCHER_WINE_STAND_IN, target);
        return Utf8(target);
    }
    // A Wine start takes a moment, longer on a busy machine.
    static std::string WaitForLog(const std::string& program) {
        return WaitForRecord(
            program + ".log", [](const std::string& text) { return !text.empty(); }, 60);
    }
    // A Linux path as Wine's drive Z: shows it.
    static std::string OnDriveZ(const fs::path& path) {
        std::string text = "Z:" + Utf8(path);
        std::replace(text.begin(), text.end(), '/', '\\');
        return text;
    }

    static std::optional<std::string> Variable(const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& value) {
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }

    static constexpr const char* kVariables[] = {"WINEPREFIX", "PATH",     "WINEDEBUG",
                                                 "LC_ALL",     "LC_CTYPE", "LANG"};
    static std::string* prefix_;
    fs::path inside_;
    std::vector<std::pair<const char*, std::optional<std::string>>> previous_;
};

std::string* SystemStarterWine::prefix_ = nullptr;

TEST_F(SystemStarterWine, VoiceClientInAPrefixRunsThereAndSeesItsCommandLineAsOnWindows) {
    const std::string roger = Install(inside_ / "Roger Wilco" / "roger.exe");
    // Whatever prefix the launcher itself was given, the client's own counts.
    const fs::path elsewhere = scratch_.path() / "other prefix";
    setenv("WINEPREFIX", Utf8(elsewhere).c_str(), 1);

    ASSERT_TRUE(starter_
                    .Start({roger, " /join1 VS/London Control /callsign Heathrow Tower"},
                           WindowShow::kNormal)
                    .ok());

    EXPECT_EQ(WaitForLog(roger), "command: \"C:\\" + inside_.filename().string() +
                                     "\\Roger Wilco\\roger.exe\" /join1 VS/London Control "
                                     "/callsign Heathrow Tower\n"
                                     "folder: " +
                                     OnDriveZ(workFolder_) + "\nshow: 1\n");
    EXPECT_FALSE(fs::exists(elsewhere));
}

TEST_F(SystemStarterWine, RadarClientOutsideAPrefixStartsMaximizedThroughDriveZ) {
    const std::string rv = Install(scratch_.path() / "Program Files" / "RV" / "rv.exe");

    EXPECT_EQ(starter_.CheckStartable(rv).message(), "");
    ASSERT_TRUE(starter_.Start({rv, ""}, WindowShow::kMaximized).ok());

    // Wine's start.exe puts a blank after the path even with no arguments.
    EXPECT_EQ(WaitForLog(rv), "command: \"" + OnDriveZ(rv) +
                                  "\" \nfolder: " + OnDriveZ(workFolder_) + "\nshow: 3\n");
}

TEST_F(SystemStarterWine, SettingsMayNameAnotherWine) {
    const std::string roger = Install(inside_ / "RW" / "roger.exe");
    // A Wine of the user's that records what it was asked.
    const std::string record = Utf8(scratch_.path() / "asked");
    fs::create_directories(scratch_.path() / "program folder");
    const std::string other =
        scratch_.Write("wine of mine",
                       "#!/bin/sh\n{ printf '%s\\n' \"$@\"; "
                       "echo \"$WINEPREFIX,$WINEDEBUG,$LC_ALL,$LC_CTYPE,$LANG\"; "
                       "} >'" +
                           record + "'\n");
    fs::permissions(other, fs::perms::owner_all);
    const std::string settings =
        scratch_.Write("program folder/settings.ini", "[MAIN]\r\nWINE=" + other + "\r\n");
    SystemProgramStarter starter(settings);
    // A user's Wine chatter setting stays; the character type becomes UTF-8.
    setenv("WINEDEBUG", "err+all", 1);
    unsetenv("LC_ALL");
    unsetenv("LC_CTYPE");
    setenv("LANG", "de_DE.ISO-8859-1", 1);

    ASSERT_TRUE(
        starter.Start({roger, " /join1  VS/EGLL_TWR /callsign "}, WindowShow::kMaximized).ok());

    // Runs of blanks and the trailing one cannot pass through Wine's argv.
    EXPECT_EQ(WaitForRecord(record, [](const std::string& text) { return !text.empty(); }),
              "start\n/b\n/max\nC:\\" + inside_.filename().string() +
                  "\\RW\\roger.exe\n/join1\nVS/EGLL_TWR\n/callsign\n" + *prefix_ +
                  ",err+all,,C.UTF-8,de_DE.ISO-8859-1\n");
}

TEST_F(SystemStarterWine, WindowsProgramWithoutWineIsReportedWithItsName) {
    const std::string rv = Install(scratch_.path() / "Program Files" / "RV" / "rv.exe");
    const std::string settings = scratch_.Write("settings.ini", "[MAIN]\r\nWINE=wine-9\r\n");
    const std::string missing = Utf8(scratch_.path() / "no wine" / "wine");
    fs::create_directories(scratch_.path() / "program folder");
    const std::string named =
        scratch_.Write("program folder/named.ini", "[MAIN]\r\nWINE=" + missing + "\r\n");
    // What runs the clients is not the downloaded folder's to decide.
    const std::string shell = scratch_.Write("shell.ini", "[MAIN]\r\nWINE=/bin/sh\r\n");
    const std::string planted = scratch_.Write("wine", "#!/bin/sh\n");
    fs::permissions(planted, fs::perms::owner_all);
    const std::string own = scratch_.Write("own.ini", "[MAIN]\r\nWINE=" + planted + "\r\n");
    setenv("PATH", Utf8(scratch_.path() / "empty").c_str(), 1);

    const struct {
        std::string settings;
        std::string reason;
    } cases[] = {
        {"", "Wine is needed to start it (no \"wine\" was found on PATH)"},
        {settings, "Wine is needed to start it (no \"wine-9\" was found on PATH)"},
        {named, "Wine (\"" + missing + "\") cannot run: No such file or directory"},
        {shell,
         "the \"WINE\" setting of settings.ini names \"/bin/sh\", which is not Wine: Wine's "
         "name begins with \"wine\""},
        {own, "the \"WINE\" setting of settings.ini names \"" + planted +
                  "\", a program inside the program folder: only a Wine of the system's runs the "
                  "clients"},
    };
    for (const auto& c : cases) {
        SystemProgramStarter starter(c.settings);
        EXPECT_EQ(starter.CheckStartable(rv).message(), "it is a Windows program, and " + c.reason);
        const Outcome result = starter.Start({rv, ""}, WindowShow::kMaximized);
        EXPECT_EQ(result.message(),
                  "Cannot start \"" + rv + "\": it is a Windows program, and " + c.reason);
    }
    EXPECT_FALSE(fs::exists(rv + ".log"));
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
                    .ok());

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

    EXPECT_EQ(starter_.CheckStartable(rv).message(), "");
    ASSERT_TRUE(starter_.Start({rv, ""}, WindowShow::kMaximized).ok());

    EXPECT_EQ(WaitForLog(rv), "command: \"" + rv + "\"\nfolder: " + workFolder_ +
                                  "\nshow: " + std::to_string(SW_SHOWMAXIMIZED) + "\n");
}

TEST_F(SystemStarterWindows, MissingProgramIsReportedWithItsNameAndTheReason) {
    const std::string missing = Utf8(scratch_.path() / "Program Files" / "RW" / "roger.exe");

    const Outcome result = starter_.Start({missing, " /join1 x"}, WindowShow::kNormal);

    EXPECT_FALSE(result.ok());
    EXPECT_THAT(result.message(), StartsWith("Cannot start \"" + missing + "\": "));
    EXPECT_GT(result.message().size(), ("Cannot start \"" + missing + "\": ").size());
    EXPECT_EQ(result.message().find('\n'), std::string::npos);

    // The check before any start says the same, without the path.
    EXPECT_EQ(starter_.CheckStartable(missing).message(),
              result.message().substr(result.message().find(": ") + 2));
    EXPECT_EQ(starter_.CheckStartable(Utf8(scratch_.path())).message(),
              "it is a folder, not a program");
    EXPECT_EQ(starter_.CheckStartable(scratch_.Write("rv.exe", "not a program\r\n")).message(),
              "it is not a program that Windows can start");
}

// ctest runs this once more with TZ=America/New_York, a name the C runtime
// does not know.
TEST(SystemStarterClock, NowIsTheLocalTimeWindowsReportsWhateverTZSays) {
    const auto minute = [](const SYSTEMTIME& t) {
        return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute};
    };
    SYSTEMTIME before{}, after{};
    GetLocalTime(&before);
    const LocalTime now = SystemClock().Now();
    GetLocalTime(&after);
    // A minute may turn between the reads.
    EXPECT_TRUE(now == minute(before) || now == minute(after)) << now.hour << ":" << now.minute;
}

#endif

}  // namespace
}  // namespace launcher
