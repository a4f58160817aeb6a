// The outside world as the real Windows program meets it.
#pragma once

#include <string>
#include <vector>

#include "app/outside_world.h"
#include "prefs/volumes.h"

namespace launcher::win32 {

class SystemProgramLocation final : public ProgramLocation {
public:
    // The executable's folder, without a trailing backslash.
    std::string ProgramFolder() const override;
};

// A message box; returns when the user has closed it.
class SystemErrorReporter final : public ErrorReporter {
public:
    void ReportError(const std::string& message) override;
};

// Ends the message loop: once ended, the loop dispatches no further message,
// so neither a queued handler nor a due timer runs, and no window gets a
// close request in which it could save something.
class SystemProgramEnder final : public ProgramEnder {
public:
    void EndProgram() override;
    bool HasEnded() const { return ended_; }

private:
    bool ended_ = false;
};

class SystemVolumeList final : public VolumeList {
public:
    // The drive letters, "C:\", "D:\", ...
    std::vector<std::string> Volumes() const override;
    std::string WorkingFolder() const override;
};

}  // namespace launcher::win32
