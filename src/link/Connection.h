// Connecting to the panel: address, identification, programming mode and the
// access code; and the busy area of the main window.
#pragma once

#include <string>

#include "shell/Session.h"

namespace cfg {

OpResult ConnectPanel(Session&);
OpResult AskPanelAddress(Session&);
OpResult CheckPanelIdentity(Session&);
OpResult EnterProgrammingMode(Session&);
void LeaveProgrammingMode(Session&, bool expectReply);
// Returns true when the user gave a code.
bool AskAccessCode(Session&);

void ShowBusy(Session&, const std::string& text);
void EndBusy(Session&, double waitCleared);

// One command made of many block operations (a whole-configuration receive
// or send). Each block ends its busy spell, which would stop the abort timer
// and forget a click on the abort button; inside this scope both carry over
// from block to block, so the button appears once the command has lasted the
// timer's interval and a click stops the command whichever block runs.
class LongOperation {
public:
    explicit LongOperation(Session&);
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

private:
    Session& s_;
};

}  // namespace cfg
