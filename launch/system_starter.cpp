#include "launch/system_starter.h"

#include <algorithm>
#include <ctime>

#ifdef _WIN32
#include <windows.h>

#include "profile/win32_text.h"
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#endif

namespace launcher {

namespace {

StartResult Failure(const std::string& program, const std::string& reason) {
    return {"Cannot start \"" + program + "\": " + reason};
}

#ifdef _WIN32

using win32::SystemErrorText;
using win32::Utf8ToWide;

#else

// Both children report a failure through the status pipe as an errno value;
// only async-signal-safe calls are allowed between fork and exec.
[[noreturn]] void ReportAndExit(int pipe, int error) {
    [[maybe_unused]] const ssize_t ignored = write(pipe, &error, sizeof error);
    _exit(127);
}

[[noreturn]] void RunDetached(char* const argv[], int status) {
    if (setsid() == -1) {
        ReportAndExit(status, errno);
    }
    const pid_t program = fork();
    if (program == -1) {
        ReportAndExit(status, errno);
    }
    if (program == 0) {
        // The launcher's blocked signals and open files are no business of
        // the program.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
#ifdef CLOSE_RANGE_CLOEXEC
        close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
        execv(argv[0], argv);
        ReportAndExit(status, errno);
    }
    // The program is left to init, which reaps it.
    _exit(0);
}

bool MakePipe(int ends[2]) {
#ifdef __linux__
    return pipe2(ends, O_CLOEXEC) == 0;
#else
    if (pipe(ends) != 0) {
        return false;
    }
    fcntl(ends[0], F_SETFD, FD_CLOEXEC);
    fcntl(ends[1], F_SETFD, FD_CLOEXEC);
    return true;
#endif
}

#endif

}  // namespace

std::string WindowsCommandLine(const CommandLine& command) {
    return "\"" + command.program + "\"" + command.arguments;
}

std::vector<std::string> SplitArguments(std::string_view arguments) {
    std::vector<std::string> pieces;
    size_t at = 0;
    while (at < arguments.size()) {
        const size_t start = arguments.find_first_not_of(' ', at);
        if (start == std::string_view::npos) {
            break;
        }
        const size_t end = std::min(arguments.find(' ', start), arguments.size());
        pieces.emplace_back(arguments.substr(start, end - start));
        at = end;
    }
    return pieces;
}

#ifdef _WIN32

StartResult SystemProgramStarter::Start(const CommandLine& command, WindowShow show) {
    const std::wstring program = Utf8ToWide(command.program);
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring line = Utf8ToWide(WindowsCommandLine(command));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show == WindowShow::kMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return Failure(command.program, SystemErrorText(GetLastError()));
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
}

#else

StartResult SystemProgramStarter::Start(const CommandLine& command, WindowShow) {
    // Everything the children need is built before fork.
    std::vector<std::string> arguments = SplitArguments(command.arguments);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(command.program.c_str()));
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int status[2];
    if (!MakePipe(status)) {
        return Failure(command.program, std::generic_category().message(errno));
    }
    const pid_t middle = fork();
    if (middle == -1) {
        const int error = errno;
        close(status[0]);
        close(status[1]);
        return Failure(command.program, std::generic_category().message(error));
    }
    if (middle == 0) {
        close(status[0]);
        RunDetached(argv.data(), status[1]);
    }
    close(status[1]);

    // The pipe closes without a word once the program runs: its end closes on
    // exec and the middle child's on exit.
    int error = 0;
    ssize_t got;
    do {
        got = read(status[0], &error, sizeof error);
    } while (got == -1 && errno == EINTR);
    close(status[0]);
    while (waitpid(middle, nullptr, 0) == -1 && errno == EINTR) {
    }
    if (got == sizeof error && error != 0) {
        return Failure(command.program, std::generic_category().message(error));
    }
    return {};
}

#endif

LocalTime SystemClock::Now() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

}  // namespace launcher
