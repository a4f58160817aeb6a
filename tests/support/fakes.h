// Fakes of the outside world for the window tests: each records what it was
// asked, or answers with what the test set.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/outside_world.h"
#include "launch/clock.h"
#include "launch/program_start.h"
#include "prefs/volumes.h"

namespace launcher::testing {

class FakeLocation final : public ProgramLocation {
public:
    std::string folder;
    std::string ProgramFolder() const override { return folder; }
};

class FakeVolumes final : public VolumeList {
public:
    std::vector<std::string> volumes;
    std::string working;
    std::vector<std::string> Volumes() const override { return volumes; }
    std::string WorkingFolder() const override { return working; }
};

class RecordingEnder final : public ProgramEnder {
public:
    int calls = 0;
    void EndProgram() override { ++calls; }
};

class FixedClock final : public Clock {
public:
    LocalTime now;
    explicit FixedClock(LocalTime time = {}) : now(time) {}
    LocalTime Now() const override { return now; }
};

// Records every start asked for; a program whose path ends in `missing`
// is not there, for the check and the start alike.
class RecordingStarter final : public ProgramStarter {
public:
    std::vector<std::pair<std::string, WindowShow>> starts;
    std::string missing;

    Outcome Start(const CommandLine& command, WindowShow show) override {
        starts.emplace_back(command.Text(), show);
        if (!missing.empty() && command.program.ends_with(missing)) {
            return Outcome::Failed(command.program + ": No such file or directory");
        }
        return Outcome::Ok();
    }
    Outcome CheckStartable(const std::string& program) const override {
        return !missing.empty() && program.ends_with(missing)
                   ? Outcome::Failed("No such file or directory")
                   : Outcome::Ok();
    }
};

class RecordingErrors final : public ErrorReporter {
public:
    std::vector<std::string> messages;
    void ReportError(const std::string& message) override { messages.push_back(message); }
};

}  // namespace launcher::testing
