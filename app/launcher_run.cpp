#include "app/launcher_run.h"

#include "app/form1_presenter.h"
#include "form/lazy_form.h"
#include "launch/clock.h"
#include "launch/system_starter.h"
#include "profile/paths.h"
#include "profile/program_files.h"

namespace launcher {
namespace {

// The front end's ender, noting that the program was ended: an event loop
// started after the end would wait for an end that never comes again.
class WatchedEnder final : public ProgramEnder {
public:
    explicit WatchedEnder(ProgramEnder& ender) : ender_(ender) {}
    void EndProgram() override {
        ended_ = true;
        ender_.EndProgram();
    }
    bool ended() const { return ended_; }

private:
    ProgramEnder& ender_;
    bool ended_ = false;
};

}  // namespace

int RunLauncher(const FrontEndPieces& pieces, FormMaker& windows,
                const std::function<int()>& runEvents) {
    if (!pieces.locationProblem.empty()) {
        pieces.errors.ReportError(std::string(pieces.locationProblem));
        return 2;
    }
    WatchedEnder ender(pieces.ender);
    SystemClock clock;
    SystemProgramStarter starter(InFolder(pieces.location.ProgramFolder(), files::kSettings));
    LazyFormMaker maker(windows);
    Form1Presenter form1(maker,
                         {pieces.location, ender, pieces.volumes, clock, starter, pieces.errors});
    form1.Form_Load();
    if (ender.ended()) {
        return 0;
    }
    form1.view().ShowModeless();
    return runEvents();
}

}  // namespace launcher
