// Starting another program without waiting for it. The windows reach the
// system's implementation through the ProgramStarter interface, so tests can
// record what would have been started.
#pragma once

#include <string>

namespace launcher {

// A command line as the launcher composes it: the program's full path, then
// the argument text exactly as it follows the path (with its leading blank,
// if any). Text() is the whole line as written, nothing quoted.
struct CommandLine {
    std::string program;
    std::string arguments;

    std::string Text() const { return program + arguments; }
    bool operator==(const CommandLine&) const = default;
};

enum class WindowShow {
    kNormal,     // normal size and position, activated
    kMaximized,  // maximized, activated
};

// What came of a start: empty when the program runs, else the system's
// reason, fit to show the user.
struct StartResult {
    std::string error;

    bool started() const { return error.empty(); }
};

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts `command` with the launcher's current folder and returns at once.
    virtual StartResult Start(const CommandLine& command, WindowShow show) = 0;
    // Whether `program` exists and this system can start it, asked before
    // anything is started: "" when it can, else the reason, without the
    // path, fit to show the user.
    virtual std::string CheckStartable(const std::string& program) const = 0;
};

}  // namespace launcher
