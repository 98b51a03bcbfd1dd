// Section 5: the advanced options, one 198-byte block of the main file
// (.CY2 offset 101, image cells 101..298): the panel's access codes, the
// general numeric settings, the operating options and masks, the dialler's
// number, further on/off options and the panel network. One line per field;
// a change is written back as the whole block. Every byte that no field
// names is written back as it was read.
//
// Layout by image cell (one byte per field unless said otherwise):
//   101        access code 1: length 1..6, then its digits (102..107)
//   111        85 = access code 2 in use
//   112        access code 2: length 1..6, then its digits (113..118)
//   126..138   nine general settings 1..99 (126 127 128 130 132 134 135 136 138)
//   144        largest data block the panel sends to a PC: 48..200, 0 = 200
//   147        installed peripherals, bits 0..2 (printer, dialler, network)
//   148        reserved options A, bits 0..3
//   149        reserved options B, bits 0..1
//   150        reply time to remote commands, 1..254 s
//   151        network priority 1..99
//   153        repeaters connected 0..99
//   154        panels in the network 0..99
//   155..158   mains failure delay, rings before answering, call repeat
//              interval (1..99 each), output re-arm delay (0..255)
//   159..173   the dialler's number: digits 0..9, 44 for a comma, 99 ends it
//   176..191   further options, 0 off / 1 on, except 187: the maintenance
//              reminder, 0 off or its interval in months 1..99 (two lines:
//              the reminder and its interval)
//   192..236   the identification block (not shown here; carried)
//   253..259   panel network: speed code 1..4 (9600..1200), polling time
//              (tenths of a second), attempts before a fault 1..99, then four
//              yes/no choices (1 yes, 0 no)
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "link/Screen.h"
#include "shell/Session.h"

namespace cfg {

inline constexpr int kSuperiorOffset = 101;
inline constexpr int kSuperiorLength = 198;

inline constexpr int kSuperiorTitleText = 568;

// The section routine. In PrintMode::LinesOnly it only builds the lines (for the
// printout); Interactive opens the section for editing.
void SuperiorOptionsSection(Session&, PrintMode mode, int option = 0);
// Fills the screen buffer from image cells 101..298. Descriptor: field =
// group + 1 (group 0 the access codes), value2 = item in the group,
// value3 = the field's image cell.
void RenderSuperior(const Page&);
void BuildSuperiorScreen(Session&);
// The rules of the fields, apart from the dialogs that ask for the values:
// what a value given for a field does to the block (image cell -> byte), or
// the texts of the alert that refuses it.
struct FieldOutcome {
    bool accepted = false;
    std::vector<std::pair<int, int>> changes;
    int refusal = 0, detail = 0;  // text ids of the refusal's alert
    bool operator==(const FieldOutcome&) const = default;
};
// The largest data block the panel sends: 0 (which means 200) or 48..200
// bytes. 1..47 is refused.
FieldOutcome ApplyBlockSize(int cell, long value);
// An option mask: only the field's own bits take the value; the others
// keep what `current` holds.
FieldOutcome ApplyMask(int cell, int current, int bits, long value);
// The dialler's number (blanks around it ignored): digits and commas (a
// pause, stored as 44), at most 15; a shorter number ends with 99. Anything
// else is refused.
FieldOutcome ApplyPhoneNumber(const std::string& text);

// The section's printed lines from a file set in memory.
bool PrintSuperiorOptions(const FileSetImage&, const Texts&, int option, std::vector<std::string>& lines);
// Runs the line editor of screen line `line`; returns true when the block
// was written.
bool EditSuperiorLine(Session&, int line);

}  // namespace cfg
