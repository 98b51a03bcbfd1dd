// The small shell routines that every wait loop and section uses.
#pragma once

#include <cstdint>

#include "Session.h"

namespace cfg {

// Let pending window events run, then wait up to 10 ms; the wait ends at once
// when link input arrives.
void Yield(Session&);
// The rest of a routine that waits for the user and nothing else (the main
// loop with no command, a list waiting for a click): sleeps until a window
// event arrives, at most kIdleWaitMs, so that an idle program costs nothing.
// Falls back to Yield where the front end cannot wait on its events.
inline constexpr int kIdleWaitMs = 250;
void IdleYield(Session&);
// Yield until `seconds` have passed, PauseBreak is set, or the clock goes
// backwards (midnight). Clears PauseBreak on the way in and out.
void PauseSeconds(Session&, double seconds);
// Yield until `seconds` have passed or the clock goes backwards.
void WaitSeconds(Session&, double seconds);

void NextState(MainRegisters&);
void PrevState(MainRegisters&);

// Enables only Toolbar1 button `button` (1..17); 0 disables them all.
void LockToolbar(Session&, int button);
// crea, trasferisce, apre enabled; 4..17 disabled.
void ShowFileButtons(Session&);
// 1..3 disabled; 4..17 enabled.
void ShowSectionButtons(Session&);
void HideLoopDisplay(Session&);

inline constexpr int kToolbar1Buttons = 17;

}  // namespace cfg
