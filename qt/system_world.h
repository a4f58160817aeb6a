// The outside world as the real program meets it.
#pragma once

#include <QObject>
#include <string>

#include "app/outside_world.h"

namespace launcher {

// A modal message box, its text also on the standard error stream; returns
// when the user has closed it.
class SystemErrorReporter final : public ErrorReporter {
public:
    void ReportError(const std::string& message) override;
};

class SystemProgramLocation final : public ProgramLocation {
public:
    std::string ProgramFolder() const override;
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

}  // namespace launcher
