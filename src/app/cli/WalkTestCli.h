// loop MODULE walktest [--minutes N] [--csv FILE] [--pdf FILE] [--continue]:
// the walk test from the command line. It prints each newly tested point as
// it happens and a summary at the end; it ends when every configured point
// has been tested, after N minutes, or on Ctrl+C.
#pragma once

#include <string>

#include "app/cli/CliUi.h"
#include "loops/LoopSection.h"
#include "shell/Session.h"

namespace cfg::cli {

struct WalkTestOptions {
    int minutes = 0;  // 0 = no limit
    std::string csv, pdf;
    bool continueLast = false;
    bool yes = false;
};

// Checks the files before anything talks to the panel: an existing file
// needs --yes, a PDF needs a front end that can write one. "" when good.
std::string CheckWalkTestFiles(const WalkTestOptions&, bool canWritePdf);
// Runs the walk test on a connected panel whose module is identified.
// Returns 0 when every configured point was tested, 1 otherwise.
// Ctrl+C (the front end's interrupt) ends it.
int RunWalkTestCommand(Session&, CliUi&, LoopContext&, const WalkTestOptions&);

}  // namespace cfg::cli
