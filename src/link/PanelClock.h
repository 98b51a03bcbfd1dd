// The clock commands of the main window: show and set the panel clock.
#pragma once

#include <string>

#include "shell/Session.h"

namespace cfg {

// The panel-clock entries of the "orologio" menu: choice 4 shows the
// clock, 5 sets it; other choices are left to the clock programmer. Returns
// the choice left for the clock programmer: 0 after 4 and 5, else `choice`.
int ClockCommand(Session&, int choice);
void ShowPanelClock(Session&);
void SetPanelClock(Session&);
// Accepts a trimmed, non-empty text of digits only whose value lies in
// minimum..maximum.
bool ParseDigits(const std::string& text, int minimum, int maximum, int& value);

}  // namespace cfg
