// The six-state main loop.
#pragma once

#include "Session.h"

namespace cfg {

// The values of MainState.
namespace mainstate {
inline constexpr int16_t kReset = 0;           // forget the configuration
inline constexpr int16_t kHome = 1;            // the home screen
inline constexpr int16_t kFileCommand = 2;     // waiting for open / transfer / create
inline constexpr int16_t kConfigView = 3;      // show the open configuration
inline constexpr int16_t kSectionCommand = 4;  // waiting for a section
inline constexpr int16_t kRunSection = 5;      // run the section dispatched
inline constexpr int16_t kLast = kRunSection;
}  // namespace mainstate

// Runs the routine of the current state once, maps an invalid state to 0.
// Does not yield; RunMainLoop does.
void MainLoopTurn(Session&);
// Runs turns until `keepRunning` returns false, yielding after each.
template <typename Pred>
void RunMainLoop(Session& s, Pred keepRunning);

// The warning before the superior options: asked until the user answers
// Yes, then never again in this run. True when the section may open.
bool ConfirmSuperiorOptions(Session&);

// Sets the caption of the main window and the work-form title of the home
// screen ("CFG-Veltrano" and the version).
void SetHomeCaptions(Session&);

inline constexpr const char* kProgramName = "CFG-Veltrano";
inline constexpr const char* kProgramVersion = "1.3";
inline constexpr const char* kReleaseDate = "11/03/2005";

}  // namespace cfg

#include "Shell.h"

namespace cfg {
template <typename Pred>
void RunMainLoop(Session& s, Pred keepRunning) {
    s.main.MainState = mainstate::kReset;  // every run starts from the reset state
    while (keepRunning()) {
        MainLoopTurn(s);
        // Resting in states 2 and 4 with no command: only the user can wake it.
        if ((s.main.MainState == mainstate::kFileCommand || s.main.MainState == mainstate::kSectionCommand) &&
            s.main.SectionCommand == 0)
            IdleYield(s);
        else
            Yield(s);
    }
}
}  // namespace cfg
