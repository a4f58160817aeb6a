// Starting another program without waiting for it. The windows reach the
// system's implementation through the ProgramStarter interface, so tests can
// record what would have been started.
#pragma once

#include <string>

#include "base/outcome.h"

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

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts `command` with the launcher's current folder and returns at once:
    // Ok once the program runs, else a message that names the program and
    // gives the system's reason.
    virtual Outcome Start(const CommandLine& command, WindowShow show) = 0;
    // Whether `program` exists and this system can start it, asked before
    // anything is started. A failure's message is the reason alone, without
    // the path: the caller puts it in a sentence of its own.
    virtual Outcome CheckStartable(const std::string& program) const = 0;
};

}  // namespace launcher
