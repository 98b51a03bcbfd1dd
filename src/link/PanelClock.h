// The clock commands of the main window: show and set the panel clock.
#pragma once

#include <string>

#include "shell/Session.h"

namespace cfg {

// The panel-clock entries of the "orologio" menu: choice 4 shows the
// clock, 5 sets it; other choices are left to the clock programmer. Returns
// the choice left for the clock programmer: 0 after 4 and 5, else `choice`.
int ClockCommand(Session&, int choice);
// Shows the panel clock until the user closes the window; done when the
// clock was read.
OpResult ShowPanelClock(Session&);
// Asks the new date and time, sends them and shows the clock; done when the
// panel took them and the clock was read back. Aborted when the user gave up.
OpResult SetPanelClock(Session&);
// Accepts a trimmed, non-empty text of digits only whose value lies in
// minimum..maximum.
bool ParseDigits(const std::string& text, int minimum, int maximum, int& value);

}  // namespace cfg
