// The command line's backups list and comparison of two configurations.
#pragma once

#include <iosfwd>
#include <string>

#include "app/cli/CliUi.h"
#include "shell/Session.h"

namespace cfg::cli {

// "backups": the backup sets of the backups folder, newest first, one a
// line. Returns the exit status (0).
int ListBackupsCommand(Session&, std::ostream& out);

// "compare A [B]": two file sets, or A and the connected panel when B is
// "". The report goes to `output` ("" or "-" = `out`). Returns 0 when the
// two are equal, 1 when they differ, 2 when they could not be compared.
int CompareCommandLine(Session&, CliUi&, const std::string& first, const std::string& second,
                       const std::string& output, std::ostream& out);

}  // namespace cfg::cli
