// The launcher's run from start-up to end, one sequence for both front ends:
// each main sets up its process and toolkit, makes the pieces of the outside
// world only its toolkit can make, and hands them here.
#pragma once

#include <functional>
#include <string_view>

#include "app/outside_world.h"
#include "form/form_view.h"

namespace launcher {

// What a front end makes; the clock and the client starter are the core's.
struct FrontEndPieces {
    const ProgramLocation& location;
    // Why there is no program folder, fit to show the user; empty when there
    // is one.
    std::string_view locationProblem;
    ProgramEnder& ender;
    const VolumeList& volumes;
    ErrorReporter& errors;
};

// Tells a location problem and returns 2. Else makes the main window through
// `windows` (each window made when first shown), loads it, shows it unless
// the load ended the program (then returns 0), and returns what `runEvents`
// returns: it runs the toolkit's events until the program ends. Client starts
// read the Wine to use from settings.ini in the program folder.
int RunLauncher(const FrontEndPieces& pieces, FormMaker& windows,
                const std::function<int()>& runEvents);

}  // namespace launcher
