// Every configuration section of the program, one row each: the table the
// main loop, the toolbars, the printout and the command line read.
#pragma once

#include "shell/Sections.h"

namespace cfg {

void RegisterSections(SectionTable&);

// Codes a toolbar button or a popup entry can send that have no section
// routine, on purpose: the main loop handles close itself.
inline constexpr int16_t kLoopHandledCodes[] = {kCloseCommand};

}  // namespace cfg
