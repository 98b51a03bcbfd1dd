// Plugs the commands and section routines of the core boxes into a Session,
// so that the main loop can run them. Every front end calls this once.
#pragma once

#include "shell/Session.h"

namespace cfg {

void RegisterCoreCommands(Session&);

}  // namespace cfg
