// The clock commands of the main window: show and set the panel clock.
#pragma once

#include <string>

#include "shell/Session.h"

namespace cfg {

// choice 4 shows, 5 sets; 1..3 do nothing here.
void ClockCommand(Session&, int choice);
void ShowPanelClock(Session&);
void SetPanelClock(Session&);
// Accepts a trimmed, non-empty text of digits only whose value lies in
// minimum..maximum.
bool ParseDigits(const std::string& text, int minimum, int maximum, int& value);

}  // namespace cfg
