// How a function block reads: the text of one condition (shared by the
// block window and the printout), the block as a sentence, the values of
// its settings and the printout lines of the whole logic.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "LogicBlocks.h"
#include "shell/Session.h"

namespace cfg {

// The object a condition names: its range's text and item number
// ("Zona 3", "Blocco funzionale BF07", "Allarme generale"). Zones of the
// fault range read as zone exclusions (text 314) under category 3, clock
// channels as switched off (text 329) under any category but 9.
std::string ConditionObjectText(Session&, uint16_t word);
// The full text: [AND |OR ]object (category) ATTIVO|NON ATTIVO. The AND/OR
// word (texts 306/307, by bit 14) only with withLogic.
std::string ConditionText(Session&, uint16_t word, bool withLogic);

// " BF07".
std::string LogicBlockName(int number);
// A delay of `steps` half-seconds: "2,5 s" with the language's decimal mark.
std::string LogicDelayText(Session&, int steps);
// "nessuna" or the output number.
std::string LogicOutputText(Session&, int output);
// Latched, pulse, or the delay with its duration.
std::string LogicDeactivationText(Session&, int value);
// The type's name (texts 178/179); an unknown code shows its number.
std::string LogicTypeText(Session&, int type);

// The block as one sentence: which output turns on, after which delay, on
// which combination of conditions, and how it turns off.
std::string LogicBlockSentence(Session&, const LogicBlock&);
// The record's words in hexadecimal: "H 8107  W1 1004  W2 000A".
std::string LogicFieldsText(const LogicBlock&);

// The printout of the logic (the printout puts heading text 88 above it):
// every defined block with its settings and conditions (texts 176..191), or
// text 192 when none is.
std::vector<std::string> LogicReportLines(Session&, const LogicTable&);

}  // namespace cfg
