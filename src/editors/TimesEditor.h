// Section 3: the panel's programmable times (20 bytes at .CY2 offset 21),
// one list line per time, each changed through the value-input dialog and
// written back at once, one byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/Screen.h"
#include "shell/Session.h"

namespace cfg {

inline constexpr int kTimesOffset = 21;
inline constexpr int kTimesLength = 20;
inline constexpr int kTimesTitleText = 792;

// The section routine. In PrintMode::LinesOnly it only builds the lines (for the
// printout); Interactive opens the section for editing. The date is stamped after
// each change.
void TimesSection(Session&, PrintMode mode, int option);
// The section's printed lines from a file set in memory.
bool PrintTimes(const FileSetImage&, const Texts&, int option, std::vector<std::string>& lines);
// Fills the page from image cells 21..40; for the printout the first line
// is the heading.
void RenderTimes(const Page&, bool print);
void BuildTimesScreen(Session&, PrintMode mode);
// Asks for a new value of the time on screen line `line` and writes it.
// Returns true when the time was written.
bool EditTime(Session&, int line);

}  // namespace cfg
