#include "launch/system_starter.h"

#include <algorithm>
#include <utility>

namespace launcher {

SystemProgramStarter::SystemProgramStarter(std::string settingsFile)
    : settingsFile_(std::move(settingsFile)) {}

Outcome CannotStart(std::string_view program, std::string_view reason) {
    return Outcome::Failed("Cannot start \"" + std::string(program) + "\": " + std::string(reason));
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

}  // namespace launcher
