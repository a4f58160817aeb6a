// The outside world of the picture tools: a fixed program folder, and a
// clock, starter, error report and ending that stand idle, since nothing is
// launched while windows are drawn.
#pragma once

#include <string>
#include <utility>

#include "app/outside_world.h"

namespace launcher::tools {

class FixedLocation final : public ProgramLocation {
public:
    explicit FixedLocation(std::string folder) : folder_(std::move(folder)) {}
    std::string ProgramFolder() const override { return folder_; }

private:
    std::string folder_;
};

// Nothing presses Exit while drawing; should it happen, the picture is still
// taken.
class NoEnding final : public ProgramEnder {
public:
    void EndProgram() override {}
};

class NoClock final : public Clock {
public:
    LocalTime Now() const override { return {}; }
};

class NoStarter final : public ProgramStarter {
public:
    Outcome Start(const CommandLine&, WindowShow) override {
        return Outcome::Failed("the picture tools start no program");
    }
    Outcome CheckStartable(const std::string&) const override {
        return Outcome::Failed("the picture tools start no program");
    }
};

class NoReporter final : public ErrorReporter {
public:
    void ReportError(const std::string&) override {}
};

}  // namespace launcher::tools
