// The outside world as the real program meets it.
#pragma once

#include <QObject>
#include <string>

#include "app/outside_world.h"

namespace launcher::qt {

// A modal message box, its text also on the standard error stream; returns
// when the user has closed it.
class SystemErrorReporter final : public ErrorReporter {
public:
    void ReportError(const std::string& message) override;
};

// The program folder the command line chooses (app/program_folder.h), read
// once the application object has taken out its own options.
class SystemProgramLocation final : public ProgramLocation {
public:
    SystemProgramLocation();
    std::string ProgramFolder() const override { return folder_; }
    // Why there is no program folder, for the user; empty when there is one.
    const std::string& Problem() const { return problem_; }

private:
    std::string folder_;
    std::string problem_;
};

// Stops the event loop and swallows every event from then on, so that neither
// a handler already queued nor a timer due in the same pass runs, and no
// window gets a close request in which it could save something.
class SystemProgramEnder final : public QObject, public ProgramEnder {
    Q_OBJECT
public:
    void EndProgram() override;
    // True once the program was ended; main then must not start the loop.
    bool HasEnded() const { return ended_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ended_ = false;
};

}  // namespace launcher::qt
