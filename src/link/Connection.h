// Connecting to the panel: address, identification, programming mode and the
// access code; and the busy area of the main window.
#pragma once

#include <string>

#include "shell/Session.h"

namespace cfg {

void ConnectPanel(Session&);
void AskPanelAddress(Session&);
void CheckPanelIdentity(Session&);
void EnterProgrammingMode(Session&);
void LeaveProgrammingMode(Session&, bool expectReply);
// Returns true when the user gave a code.
bool AskAccessCode(Session&);

void ShowBusy(Session&, const std::string& text);
void EndBusy(Session&, double waitCleared);

}  // namespace cfg
