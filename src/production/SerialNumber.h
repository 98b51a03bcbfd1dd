// Serial numbering on the production line: the connected panel receives the
// next serial number and today's production date. The last number given is
// kept in a two-line counter file in the program folder; where that file is
// missing the function does not exist.
#pragma once

#include <cstdint>
#include <string>

#include "shell/Session.h"

namespace cfg {

inline constexpr int16_t kSerialNumberCode = 255;
inline constexpr const char* kCounterFileName = "VIMO_SYS.SRZ";
// Where the panel keeps them: 10 and 8 character codes.
inline constexpr long kSerialNumberAddress = 4315;
inline constexpr int kSerialNumberLength = 10;
inline constexpr long kProductionDateAddress = 4325;
inline constexpr int kProductionDateLength = 8;
// The first characters of a number are a fixed prefix, the rest a counter.
inline constexpr int kSerialPrefixLength = 6;

struct CounterFile {
    std::string lastNumber;  // line 1
    std::string lastDate;    // line 2
};

std::string CounterFilePath(const Session&);
// Reads the counter file quietly: false, with nothing said, when it cannot
// be opened.
bool ReadCounterFile(Session&, CounterFile&);

// The next number after `last`: its prefix, then the counter plus one as four
// digits (9999 is followed by 0000).
std::string ProposeSerialNumber(const std::string& last);
// "dd/mm/yy".
std::string ProductionDateText(const DateTime&);
// The trimmed entry with leading zeros to 10 characters (its last 10 when
// longer).
std::string PadSerialNumber(const std::string& entry);

// "dd/mm/yy" (or with "\") naming a day of the calendar, year 20yy.
bool ValidProductionDate(const std::string& date);
// The field whose entry is rejected (kSerialNumberField, kSerialDateField),
// or -1 when both are good. The number as typed: at most 10 characters
// when trimmed, and the counter (characters 7..10 once padded) digits; the
// date a real one, see ValidProductionDate.
int CheckSerialEntry(const std::string& numberEntry, const std::string& date);

// Whether the counter file can be rewritten with `content` (the file opens
// for writing and its folder takes a new file of that content); a failure
// is reported.
bool CounterFileWritable(Session&, const std::string& content);
// Checks that the counter file can be rewritten (refused, and the panel left
// alone, when not), writes the number, then (only if that worked) the date
// to the panel, and only when both worked rewrites the counter file. Done
// when all was done; a failure has been reported.
OpResult WriteSerialNumber(Session&, const std::string& paddedNumber, const std::string& date);

// Offered only with the panel open and the counter file present; probes the
// file without a word.
bool SerialNumberGuard(Session&, int16_t& option);
// Identity, proposal, the form, the writes. Done when the panel and the
// counter file took the new number; aborted when the form was cancelled or
// the counter file is missing.
OpResult NumberPanel(Session&);
// The section routine of code 255: NumberPanel.
void SerialNumberSection(Session&, PrintMode mode, int option);

}  // namespace cfg
