// The "loop" command of cfgvimo-cli: what the loop views show, printed as
// text, once or every few seconds, and the loop module's actions.
//
//   loop [BASENAME] MODULE list | minmax | errors | current [--watch N]
//   loop MODULE autoconfig [--overwrite]      (writes: needs --yes)
//   loop MODULE reset-minmax | reset-errors   (writes: needs --yes)
//   loop MODULE walktest [--minutes N] [--csv FILE] [--pdf FILE] [--continue]
#pragma once

#include <string>
#include <vector>

#include "app/cli/CliUi.h"
#include "app/cli/WalkTestCli.h"
#include "shell/Session.h"

namespace cfg::cli {

struct LoopOptions {
    std::vector<std::string> words;  // after "loop"
    int watchSeconds = 0;            // 0 = once
    bool overwrite = false;
    bool yes = false;
    WalkTestOptions walk;            // walktest
    bool walkOptions = false;        // a walktest option was given
    bool canWritePdf = false;        // the front end lays out PDF files
};

// True when the command talks to the panel (no BASENAME before MODULE).
bool LoopNeedsPanel(const std::vector<std::string>& words);
// Checks the words; "" when they are good, else the usage error.
std::string CheckLoopWords(const LoopOptions&);
// Runs it; returns the exit status (0 done, 1 failed). Ctrl+C ends a
// --watch (exit 0) as it ends any other command: the panel is released.
int RunLoopCommand(Session&, CliUi&, const LoopOptions&);

}  // namespace cfg::cli
