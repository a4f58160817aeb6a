// POSIX: the program runs through fork and exec, a Windows program under
// Wine (see system_starter.h).
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <system_error>

#include "launch/system_starter.h"
#include "launch/wine.h"
#include "launch/wine_host.h"

// POSIX declares it in no header; glibc does in <unistd.h>, but only as an
// extension.
extern char** environ;  // NOLINT(readability-redundant-declaration)

namespace launcher {
namespace {

// Both children report a failure through the status pipe as an errno value;
// only async-signal-safe calls are allowed between fork and exec.
[[noreturn]] void ReportAndExit(int pipe, int error) {
    [[maybe_unused]] const ssize_t ignored = write(pipe, &error, sizeof error);
    _exit(127);
}

[[noreturn]] void RunDetached(const char* executable, char* const argv[], char* const envp[],
                              int status) {
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
        execve(executable, argv, envp);
        ReportAndExit(status, errno);
    }
    // The program is left to init, which reaps it.
    _exit(0);
}

[[nodiscard]] bool MakePipe(int ends[2]) {
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

// What exec gets: the file to run, its arguments and its environment.
struct Invocation {
    std::string executable;
    std::vector<std::string> arguments;  // argv, from argv[0]
    std::vector<std::string> environment;
    std::string wine;  // the Wine that runs a Windows program, else ""
};

std::vector<std::string> OurEnvironment() {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        environment.emplace_back(*variable);
    }
    return environment;
}

// The client's command line is its quoted Windows path, a blank and the
// arguments joined by single blanks: Wine builds it from argv, so runs of
// blanks and a trailing blank cannot reach it, a '"' reaches it as \", and
// with no arguments the line ends in that blank.
void RunUnderWine(Invocation& run, const std::string& program, WindowShow show,
                  const std::string& programFolder) {
    const std::string holding = wine::PrefixHolding(program, programFolder);
    const std::string prefix = holding.empty() ? wine::PrefixFor(program) : holding;
    run.executable = run.wine;
    run.arguments = WineStartArguments(run.wine, wine::WindowsPath(program, prefix), show);
    run.environment = WineEnvironment(std::move(run.environment), holding);
}

// The Wine that runs Windows programs (FindWine), or why there is none.
struct WineOrReason {
    std::string wine;    // "" when there is none
    std::string reason;  // "" when there is one
};

WineOrReason WineFor(const std::string& settingsFile) {
    const WineFound found = FindWine(settingsFile);
    if (!found.refusal.empty()) {
        return {{}, "it is a Windows program, and " + found.refusal};
    }
    if (found.path.empty()) {
        return {{},
                "it is a Windows program, and Wine is needed to start it (no \"" + found.named +
                    "\" was found on PATH)"};
    }
    return {found.path, {}};
}

std::string WineCannotRun(const std::string& wine, int error) {
    return "it is a Windows program, and Wine (\"" + wine +
           "\") cannot run: " + std::generic_category().message(error);
}

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

// Runs `run` detached; the errno value of a failed start, else 0.
int Launch(Invocation& run) {
    std::vector<char*> argv;
    for (std::string& argument : run.arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& variable : run.environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);

    int status[2];
    if (!MakePipe(status)) {
        return errno;
    }
    const pid_t middle = fork();
    if (middle == -1) {
        const int error = errno;
        close(status[0]);
        close(status[1]);
        return error;
    }
    if (middle == 0) {
        close(status[0]);
        RunDetached(run.executable.c_str(), argv.data(), envp.data(), status[1]);
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
    return got == sizeof error ? error : 0;
}

}  // namespace

Outcome SystemProgramStarter::Start(const CommandLine& command, WindowShow show) {
    // Everything the children need is built before fork.
    Invocation run;
    run.environment = OurEnvironment();
    if (wine::IsWindowsProgram(command.program)) {
        const WineOrReason found = WineFor(settingsFile_);
        if (found.wine.empty()) {
            return CannotStart(command.program, found.reason);
        }
        run.wine = found.wine;
        RunUnderWine(run, command.program, show, wine::ProgramFolderOf(settingsFile_));
    } else {
        run.executable = command.program;
        run.arguments = {command.program};
    }
    for (std::string& piece : SplitArguments(command.arguments)) {
        run.arguments.push_back(std::move(piece));
    }
    if (const int error = Launch(run); error != 0) {
        return CannotStart(command.program,
                           run.wine.empty() ? SystemReason(error) : WineCannotRun(run.wine, error));
    }
    return Outcome::Ok();
}

Outcome SystemProgramStarter::CheckStartable(const std::string& program) const {
    struct stat file {};
    if (stat(program.c_str(), &file) != 0) {
        return Outcome::Failed(SystemReason(errno));
    }
    if (S_ISDIR(file.st_mode)) {
        return Outcome::Failed(std::string(kFolderNotProgram));
    }
    if (wine::IsWindowsProgram(program)) {
        const WineOrReason found = WineFor(settingsFile_);
        if (found.wine.empty()) {
            return Outcome::Failed(found.reason);
        }
        if (access(found.wine.c_str(), X_OK) != 0) {
            return Outcome::Failed(WineCannotRun(found.wine, errno));
        }
        return Outcome::Ok();
    }
    if (access(program.c_str(), X_OK) != 0) {
        return Outcome::Failed(SystemReason(errno));
    }
    return Outcome::Ok();
}

}  // namespace launcher
