// What the windows ask of the world outside the program. The real program
// passes system-backed implementations; tests pass a scratch folder and
// recorders.
#pragma once

#include <string>

#include "launch/clock.h"
#include "launch/program_start.h"
#include "prefs/volumes.h"

namespace launcher {

class ProgramLocation {
public:
    virtual ~ProgramLocation() = default;
    // The folder of the launcher's own executable, without a trailing separator.
    virtual std::string ProgramFolder() const = 0;
};

class ProgramEnder {
public:
    virtual ~ProgramEnder() = default;
    // Ends the whole program at once: every window goes, no further handler
    // runs and nothing is saved.
    virtual void EndProgram() = 0;
};

class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    // Tells the user of an error, and returns once the user has seen it.
    virtual void ReportError(const std::string& message) = 0;
};

// Bundled so that a window takes one argument however many services it needs.
struct OutsideWorld {
    const ProgramLocation& location;
    ProgramEnder& ender;
    const VolumeList& volumes;  // for the folder browse dialogs
    const Clock& clock;         // the time in the ATIS header
    ProgramStarter& starter;    // the voice and radar clients
    ErrorReporter& errors;
};

}  // namespace launcher
