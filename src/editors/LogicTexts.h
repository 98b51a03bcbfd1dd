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
std::string ConditionObjectText(const Texts&, uint16_t word);
inline std::string ConditionObjectText(Session& s, uint16_t word) { return ConditionObjectText(s.texts, word); }
// The full text: [AND |OR ]object (category) ATTIVO|NON ATTIVO. The AND/OR
// word (texts 306/307, by bit 14) only with withLogic.
std::string ConditionText(const Texts&, uint16_t word, bool withLogic);
inline std::string ConditionText(Session& s, uint16_t word, bool withLogic) {
    return ConditionText(s.texts, word, withLogic);
}

// " BF07".
std::string LogicBlockName(int number);
// A delay of `steps` half-seconds: "2,5 s" with the language's decimal mark.
std::string LogicDelayText(const Texts&, int steps);
inline std::string LogicDelayText(Session& s, int steps) { return LogicDelayText(s.texts, steps); }
// "nessuna" or the output number.
std::string LogicOutputText(const Texts&, int output);
inline std::string LogicOutputText(Session& s, int output) { return LogicOutputText(s.texts, output); }
// Latched, pulse, or the delay with its duration.
std::string LogicDeactivationText(const Texts&, int value);
inline std::string LogicDeactivationText(Session& s, int value) { return LogicDeactivationText(s.texts, value); }
// The type's name (texts 178/179); an unknown code shows its number.
std::string LogicTypeText(const Texts&, int type);
inline std::string LogicTypeText(Session& s, int type) { return LogicTypeText(s.texts, type); }

// The block as one sentence: which output turns on, after which delay, on
// which combination of conditions, and how it turns off.
std::string LogicBlockSentence(const Texts&, const LogicBlock&);
inline std::string LogicBlockSentence(Session& s, const LogicBlock& b) { return LogicBlockSentence(s.texts, b); }
// The record's words in hexadecimal: "H 8107  W1 1004  W2 000A".
std::string LogicFieldsText(const LogicBlock&);

// The printout of the logic (the printout puts heading text 88 above it):
// every defined block with its settings and conditions (texts 176..191), or
// text 192 when none is.
std::vector<std::string> LogicReportLines(const Texts&, const LogicTable&);
inline std::vector<std::string> LogicReportLines(Session& s, const LogicTable& t) {
    return LogicReportLines(s.texts, t);
}

}  // namespace cfg
