// Section 8: the texts of the panel's display (.MY2), all four groups in one
// list. Choosing an entry opens the message-input dialog; the new text is
// written back at once. The dialog's range entry gives one text to a run of
// entries of the same group, and the section's two extra buttons export the
// texts to a CSV file and import them from one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/Screen.h"
#include "shell/Session.h"

namespace cfg {

inline constexpr int kDisplayTitleText = 531;

// The section routine. In PrintMode::LinesOnly it only builds the lines (for the
// printout); Interactive opens the section for editing.
void DisplaySection(Session&, PrintMode mode, int option = 0);
// Fills the screen buffer from ConfigImage: per group its heading and one
// line per entry, 458 lines. Descriptor: field = group (0 for a heading),
// value2 = entry number, value3 = the entry's file offset.
void BuildDisplayScreen(Session&);
void RenderDisplay(const Page&);
// The section's printed lines from a file set in memory.
bool PrintDisplay(const FileSetImage&, const Texts&, int option, std::vector<std::string>& lines);
// Runs the message-input dialog for screen line `line` and writes the text
// (or the range). Returns true when something was written.
bool EditDisplayLine(Session&, int line);

}  // namespace cfg
