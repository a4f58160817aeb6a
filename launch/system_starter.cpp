#include "launch/system_starter.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#ifdef _WIN32
#include <windows.h>

#include "profile/win32_text.h"
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "launch/wine_host.h"
#include "profile/ini.h"

extern char** environ;
#endif

namespace launcher {

namespace {

StartResult Failure(const std::string& program, const std::string& reason) {
    return {"Cannot start \"" + program + "\": " + reason};
}

constexpr const char* kFolderNotProgram = "it is a folder, not a program";

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

bool NamesWine(std::string_view named) {
    const std::size_t slash = named.rfind('/');
    std::string name(named.substr(slash == std::string_view::npos ? 0 : slash + 1));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.starts_with("wine");
}

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

SystemProgramStarter::SystemProgramStarter(std::string settingsFile)
    : settingsFile_(std::move(settingsFile)) {}

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

std::string SystemProgramStarter::CheckStartable(const std::string& program) const {
    const std::wstring path = Utf8ToWide(program);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return SystemErrorText(GetLastError());
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return kFolderNotProgram;
    }
    DWORD type = 0;
    if (!GetBinaryTypeW(path.c_str(), &type)) {
        const DWORD error = GetLastError();
        // The system's own text for a bad program holds a "%1" to fill in.
        return error == ERROR_SUCCESS || error == ERROR_BAD_EXE_FORMAT
                   ? "it is not a program that Windows can start"
                   : SystemErrorText(error);
    }
    return {};
}

#else

namespace {

// What exec gets: the file to run, its arguments and its environment.
struct Invocation {
    std::string executable;
    std::vector<std::string> arguments;  // argv, from argv[0]
    std::vector<std::string> environment;
    std::string wine;  // the Wine that runs a Windows program, else ""
};

bool IsVariable(const std::string& entry, std::string_view name) {
    return entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 &&
           entry[name.size()] == '=';
}

// The value of `name` in `environment`, or null.
const char* Variable(const std::vector<std::string>& environment, std::string_view name) {
    for (const std::string& entry : environment) {
        if (IsVariable(entry, name)) {
            return entry.c_str() + name.size() + 1;
        }
    }
    return nullptr;
}

void SetVariable(std::vector<std::string>& environment, std::string_view name,
                 std::string_view value) {
    std::erase_if(environment,
                  [name](const std::string& entry) { return IsVariable(entry, name); });
    environment.push_back(std::string(name) + "=" + std::string(value));
}

bool NamesUtf8(const char* locale) {
    std::string name = locale != nullptr ? locale : "";
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.find("utf-8") != std::string::npos || name.find("utf8") != std::string::npos;
}

// Wine decodes its argv in the character set of the locale its environment
// names (not the one this process switched to), and our text is UTF-8. Only
// the character type changes: C.UTF-8 gives Wine code page 1252.
void MakeCharactersUtf8(std::vector<std::string>& environment) {
    const char* all = Variable(environment, "LC_ALL");
    if (all != nullptr && *all != '\0') {
        if (!NamesUtf8(all)) {
            SetVariable(environment, "LC_ALL", "C.UTF-8");
        }
        return;
    }
    const char* type = Variable(environment, "LC_CTYPE");
    if (type == nullptr || *type == '\0') {
        type = Variable(environment, "LANG");
    }
    if (!NamesUtf8(type)) {
        SetVariable(environment, "LC_CTYPE", "C.UTF-8");
    }
}

// "wine start /b [/max] <Windows path>": start.exe hands the window show style
// on, which a bare "wine program" cannot, and keeps our current folder; /b
// keeps a console program on start's console instead of opening one of
// Wine's. The client's command line is its quoted Windows path, a blank and
// the arguments joined by single blanks: Wine builds it from argv, so runs of
// blanks and a trailing blank cannot reach it, a '"' reaches it as \", and
// with no arguments the line ends in that blank.
void RunUnderWine(Invocation& run, const std::string& program, WindowShow show,
                  const std::string& programFolder) {
    const std::string holding = wine::PrefixHolding(program, programFolder);
    const std::string prefix = holding.empty() ? wine::PrefixFor(program) : holding;
    run.executable = run.wine;
    run.arguments = {run.wine, "start", "/b"};
    if (show == WindowShow::kMaximized) {
        run.arguments.emplace_back("/max");
    }
    run.arguments.push_back(wine::WindowsPath(program, prefix));
    if (!holding.empty()) {
        SetVariable(run.environment, "WINEPREFIX", holding);
    }
    // Wine's notes on what it has not implemented are no business of the
    // launcher's terminal; a WINEDEBUG the user set stays.
    if (Variable(run.environment, "WINEDEBUG") == nullptr) {
        run.environment.emplace_back("WINEDEBUG=-all");
    }
    MakeCharactersUtf8(run.environment);
}

// The Wine that runs Windows programs (FindWine); "" when there is none, with
// `reason` saying so.
std::string WineOrReason(const std::string& settingsFile, std::string& reason) {
    const WineFound found = FindWine(settingsFile);
    if (!found.refusal.empty()) {
        reason = "it is a Windows program, and " + found.refusal;
    } else if (found.path.empty()) {
        reason = "it is a Windows program, and Wine is needed to start it (no \"" + found.named +
                 "\" was found on PATH)";
    }
    return found.path;
}

// The program folder: the folder of its settings.ini.
std::string ProgramFolderOf(std::string_view settingsFile) {
    const std::size_t slash = settingsFile.rfind('/');
    return slash == std::string_view::npos ? std::string()
                                           : std::string(settingsFile.substr(0, slash));
}

std::string WineCannotRun(const std::string& wine, int error) {
    return "it is a Windows program, and Wine (\"" + wine +
           "\") cannot run: " + std::generic_category().message(error);
}

}  // namespace

WineFound FindWine(std::string_view settingsFile) {
    WineFound found;
    found.named = settingsFile.empty() ? std::string() : ReadIni("MAIN", "WINE", settingsFile);
    const bool set = !found.named.empty();
    if (!set) {
        found.named = "wine";
    }
    const std::string folder = ProgramFolderOf(settingsFile);
    const std::string setting =
        "the \"WINE\" setting of settings.ini names \"" + found.named + "\"";
    if (!NamesWine(found.named)) {
        found.refusal = setting + ", which is not Wine: Wine's name begins with \"wine\"";
        return found;
    }
    const char* path = std::getenv("PATH");
    found.path = wine::FindProgram(found.named, path != nullptr ? path : "", folder);
    if (!found.path.empty() && wine::IsInsideFolder(found.path, folder)) {
        found.path.clear();
        found.refusal = setting +
                        ", a program inside the program folder: only a Wine of the system's runs "
                        "the clients";
    }
    return found;
}

StartResult SystemProgramStarter::Start(const CommandLine& command, WindowShow show) {
    // Everything the children need is built before fork.
    Invocation run;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        run.environment.emplace_back(*variable);
    }
    if (wine::IsWindowsProgram(command.program)) {
        std::string reason;
        run.wine = WineOrReason(settingsFile_, reason);
        if (run.wine.empty()) {
            return Failure(command.program, reason);
        }
        RunUnderWine(run, command.program, show, ProgramFolderOf(settingsFile_));
    } else {
        run.executable = command.program;
        run.arguments = {command.program};
    }
    for (std::string& piece : SplitArguments(command.arguments)) {
        run.arguments.push_back(std::move(piece));
    }

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

    const auto failed = [&](int error) {
        if (run.wine.empty()) {
            return Failure(command.program, std::generic_category().message(error));
        }
        return Failure(command.program, WineCannotRun(run.wine, error));
    };
    int status[2];
    if (!MakePipe(status)) {
        return failed(errno);
    }
    const pid_t middle = fork();
    if (middle == -1) {
        const int error = errno;
        close(status[0]);
        close(status[1]);
        return failed(error);
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
    if (got == sizeof error && error != 0) {
        return failed(error);
    }
    return {};
}

std::string SystemProgramStarter::CheckStartable(const std::string& program) const {
    struct stat file {};
    if (stat(program.c_str(), &file) != 0) {
        return std::generic_category().message(errno);
    }
    if (S_ISDIR(file.st_mode)) {
        return kFolderNotProgram;
    }
    if (wine::IsWindowsProgram(program)) {
        std::string reason;
        const std::string wine = WineOrReason(settingsFile_, reason);
        if (!wine.empty() && access(wine.c_str(), X_OK) != 0) {
            return WineCannotRun(wine, errno);
        }
        return reason;
    }
    if (access(program.c_str(), X_OK) != 0) {
        return std::generic_category().message(errno);
    }
    return {};
}

#endif

LocalTime SystemClock::Now() const {
#ifdef _WIN32
    // The system's own time zone: the C runtime would read TZ, which many
    // Unix-like shells on Windows set to names it does not know, and take
    // UTC for them.
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
#else
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
#endif
}

}  // namespace launcher
