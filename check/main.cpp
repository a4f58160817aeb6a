// radavue-launcher-check [FOLDER]: the report of a program folder's INI files,
// the current folder when none is given.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "check/report.h"

#ifdef _WIN32
#include <windows.h>

#include "profile/win32_text.h"
#endif

namespace {

int Check(int argc, const std::string* arguments) {
    if (argc > 2 || (argc == 2 && (arguments[1] == "--help" || arguments[1] == "-h"))) {
        (argc > 2 ? std::cerr : std::cout) << "usage: radavue-launcher-check [FOLDER]\n";
        return argc > 2 ? 2 : 0;
    }
    return launcher::check::RunCheck(argc == 2 ? arguments[1] : ".", std::cout, std::cerr);
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
