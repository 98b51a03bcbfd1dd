// Section 4: the panel's general options (30 bytes at .CY2 offset 41), one
// list line per option with its value in words; a new value is chosen from
// the option's menu and written back at once, one byte.
#pragma once

#include <cstdint>

#include "shell/Session.h"

namespace cfg {

inline constexpr int kOptionsOffset = 41;
inline constexpr int kOptionsLength = 30;
inline constexpr int kOptionsTitleText = 650;

// The section routine. printRequest > 0 only builds the lines (for the
// printout); 0 opens the section for editing.
// The date is stamped once, when the user leaves after a change.
void OptionsSection(Session&, int16_t& printRequest, int option);
// Fills the screen buffer from image cells 41..70; with printRequest > 0 the
// first line is the heading.
void BuildOptionsScreen(Session&, int16_t printRequest);
// Runs the menu of option k (the byte at offset 41 + k) and writes the code
// chosen. Options 14..17 have a menu but no line. Returns true when written.
bool ChangeOption(Session&, int k);
// ChangeOption for the option on screen line `line`.
bool EditOptionLine(Session&, int line);

}  // namespace cfg
