// Section 4: the panel's general options (30 bytes at .CY2 offset 41), one
// list line per option with its value in words; a new value is chosen from
// the option's menu and written back at once, one byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/Screen.h"
#include "shell/Session.h"

namespace cfg {

inline constexpr int kOptionsOffset = 41;
inline constexpr int kOptionsLength = 30;
inline constexpr int kOptionsTitleText = 650;

// The section routine. In PrintMode::LinesOnly it only builds the lines (for the
// printout); Interactive opens the section for editing.
// The date is stamped once, when the user leaves after a change.
void OptionsSection(Session&, PrintMode mode, int option);
// The section's printed lines from a file set in memory.
bool PrintOptions(const FileSetImage&, const Texts&, int option, std::vector<std::string>& lines);
// Fills the page from image cells 41..70; for the printout the first line
// is the heading.
void RenderOptions(const Page&, bool print);
void BuildOptionsScreen(Session&, PrintMode mode);
// Runs the menu of option k (the byte at offset 41 + k) and writes the code
// chosen. Options 14..17 have a menu but no line. Returns true when written.
bool ChangeOption(Session&, int k);
// ChangeOption for the option on screen line `line`.
bool EditOptionLine(Session&, int line);

}  // namespace cfg
