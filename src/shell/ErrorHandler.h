// The shared run-time error handler.
#pragma once

#include <string>

#include "Session.h"

namespace cfg {

// Records `number` in LastErrorNumber and, unless QuietErrors is set, tells
// the user: 8002 invalid port, 8005 port already open, 8101..8103 a network
// port that is no address, cannot be reached or was lost, 57 a beep, 0 nothing,
// any other number a generic message with the number and description.
// Afterwards (not quiet, not 57) CloseBlocked and ScreenLocked are cleared
// and the handler waits 5 seconds.
void HandleRuntimeError(Session&, long number, const std::string& description);

}  // namespace cfg
