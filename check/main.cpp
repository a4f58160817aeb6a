// radavue-launcher-check [OPTION]... [FOLDER]...: the report of each program
// folder's INI files, the current folder when none is given.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/version.h"
#include "check/report.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "profile/win32_text.h"
#else
#include <unistd.h>
#endif

namespace {

using launcher::check::Format;
using launcher::check::Options;
using launcher::check::Reading;

constexpr std::string_view kUsage =
    "usage: radavue-launcher-check [OPTION]... [FOLDER]...\n"
    "Checks the INI files of each program FOLDER (the current folder when none is\n"
    "given) as the launcher reads them. Nothing is written.\n"
    "\n"
    "  --for windows|linux    whose reading to apply (default: windows)\n"
    "  --format=text|json|sarif|github\n"
    "                         the report's form (default: text)\n"
    "  --warnings-as-errors   exit 1 on warnings too\n"
    "  --quiet, -q            no notes\n"
    "  --version              the version, and nothing else\n"
    "  --help, -h             this text\n"
    "\n"
    "Exit status: 0 without errors, 1 with, 2 when a folder cannot be read or an\n"
    "option is wrong; the worst of all folders. Colour only on a terminal, and\n"
    "never with NO_COLOR set.\n";

// A console that takes colour codes; Windows' takes them once asked to.
bool OnTerminal() {
#ifdef _WIN32
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return _isatty(_fileno(stdout)) != 0 && GetConsoleMode(out, &mode) != 0 &&
           SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
#else
    return ::isatty(STDOUT_FILENO) != 0;
#endif
}

int Usage(std::string_view problem) {
    std::cerr << "radavue-launcher-check: " << problem << "\n" << kUsage;
    return 2;
}

int Check(int argc, const std::string* arguments) {
    // A report of a million lines is written through the stream's own buffer.
    std::ios::sync_with_stdio(false);
    Options options;
    options.colour = OnTerminal() && std::getenv("NO_COLOR") == nullptr;
    std::vector<std::string> folders;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnd || !argument.starts_with("-") || argument == "-") {
            folders.push_back(argument);
        } else if (argument == "--") {
            optionsEnd = true;
        } else if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (argument == "--version") {
            const auto& v = launcher::kProgramVersion;
            std::cout << "radavue-launcher-check " << v.majorNumber << "." << v.minorNumber << "."
                      << v.revision << "\n";
            return 0;
        } else if (argument == "--warnings-as-errors") {
            options.warningsAsErrors = true;
        } else if (argument == "--quiet" || argument == "-q") {
            options.quiet = true;
        } else if (argument.starts_with("--format=")) {
            const std::string format = argument.substr(9);
            if (format == "text") {
                options.format = Format::kText;
            } else if (format == "json") {
                options.format = Format::kJson;
            } else if (format == "sarif") {
                options.format = Format::kSarif;
            } else if (format == "github") {
                options.format = Format::kGithub;
            } else {
                return Usage("unknown format \"" + format + "\"");
            }
        } else if (argument == "--for" || argument.starts_with("--for=")) {
            std::string platform = argument.size() > 5 ? argument.substr(6) : "";
            if (argument == "--for" && ++i < argc) {
                platform = arguments[i];
            }
            if (platform == "windows") {
                options.reading = Reading::kWindows;
            } else if (platform == "linux") {
                options.reading = Reading::kLinux;
            } else {
                return Usage("--for takes windows or linux");
            }
        } else {
            return Usage("unknown option " + argument);
        }
    }
    if (folders.empty()) {
        folders.emplace_back(".");
    }
    options.colour = options.colour && options.format == Format::kText;
    return launcher::check::RunCheck(folders, options, std::cout, std::cerr);
}

}  // namespace

#ifdef _WIN32
// The folder's name may hold characters the ANSI code page lacks; the report
// is UTF-8, as the launcher's text is. MinGW's start-up code calls wmain
// (-municode) without declaring it.
int wmain(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(launcher::win32::WideToUtf8(argv[i]));
    }
    return Check(argc, arguments.data());
}
#else
int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv, argv + argc);
    return Check(argc, arguments.data());
}
#endif
