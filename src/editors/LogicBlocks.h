// The programmable logic of the panel as data: 80 function blocks kept in the
// panel's logic area, a stream of records of 16-bit words (high byte first)
// followed by a 16-bit checksum. No session, no files: the editor, the
// printout and the fuzz target all work on these routines.
//
// Record: H, W1, W2, then W1 >> 11 condition words.
//   H   bits 0..6   block number 1..80 (a header word of 0 ends the stream)
//       bits 8..9   type: 0 AND/OR logic, 1 threshold AND
//       bits 10..13 AND threshold 0..15
//       bit 14      the block's option flag (shown as read; a block the
//                   editor stores has it clear)
//       bit 15      set on every block the editor stores
//   W1  bits 0..7   output mask: bit b selects output b + 1 of the group
//       bits 8..10  output group 0..7
//       bits 11..15 number of conditions 0..31
//   W2  bits 0..7   activation delay in 0.5 s steps (0 = none)
//       bits 8..15  deactivation: 0 latched until reset, 201 pulse, any other
//                   value a delay of that many 0.5 s steps
//
// Robust loading (the panel is the authority; keep what can be kept):
//  - the stream ends at a header whose block number is 0 (a header word of
//    0 among them) or when the next header would start at byte 1960 or
//    later;
//  - a record whose words would run past byte 1960 is dropped and ends the
//    stream (nothing after it can be trusted to be a record boundary);
//  - a record whose block number is above 80 is skipped: its length is
//    known from W1, so the records after it still load;
//  - a block number given again replaces the earlier record.
// A table loaded this way always compiles back into at most 1960 bytes, and
// the compiled stream loads back to the same table.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace cfg {

inline constexpr int kLogicStreamBytes = 1960;   // bytes 1..1960 of the area
inline constexpr int kLogicAreaBytes = 1962;     // with the checksum
inline constexpr int kLogicBlockCount = 80;
inline constexpr int kLogicMaxConditions = 31;
inline constexpr int kLogicOutputs = 64;
inline constexpr uint16_t kConditionCompareMask = 0x3FFF;  // duplicates ignore bits 14, 15

// Deactivation byte values.
inline constexpr int kDeactivationLatched = 0;
inline constexpr int kDeactivationPulse = 201;
inline constexpr int kMaxDelaySteps = 200;  // the duration lists offer 1..200 half-seconds

struct LogicBlock {
    uint16_t header = 0;
    uint16_t w1 = 0;
    uint16_t w2 = 0;
    std::vector<uint16_t> conditions;  // in stream order, AND and OR mixed (bit 14)

    bool Defined() const { return header != 0; }
    int Number() const { return header & 0x7F; }
    int Type() const { return (header >> 8) & 3; }
    int Threshold() const { return (header >> 10) & 15; }
    bool OptionFlag() const { return (header & 0x4000) != 0; }
    bool StoredFlag() const { return (header & 0x8000) != 0; }
    int OutputGroup() const { return (w1 >> 8) & 7; }
    int OutputMask() const { return w1 & 0xFF; }
    // group * 8 + the highest set bit of the mask counted from 1; 0 = none.
    int OutputNumber() const;
    int ActivationDelay() const { return w2 & 0xFF; }
    int Deactivation() const { return (w2 >> 8) & 0xFF; }
    // Words the record takes in the stream.
    int Words() const { return 3 + static_cast<int>(conditions.size()); }
};

// Rows 1..80 are the blocks; row 0 is never used.
struct LogicTable {
    std::array<LogicBlock, kLogicBlockCount + 1> rows{};

    LogicBlock& operator[](int n) { return rows.at(static_cast<std::size_t>(n)); }
    const LogicBlock& operator[](int n) const { return rows.at(static_cast<std::size_t>(n)); }
    bool operator==(const LogicTable&) const;
};

bool operator==(const LogicBlock&, const LogicBlock&);

// What loading met besides good records.
struct LogicLoadReport {
    int records = 0;          // blocks loaded into the table
    int outOfRange = 0;       // skipped: block number above 80
    int duplicates = 0;       // records that replaced an earlier one of their number
    bool truncated = false;   // a record ran past byte 1960 and was dropped
};

// Parses bytes 1..1960 of the area (stream[0] is byte 1). A shorter span
// reads as if padded with zeros; bytes beyond 1960 are not looked at.
LogicTable ParseLogicStream(std::span<const uint8_t> stream, LogicLoadReport* report = nullptr);

// Bytes of the stream the table needs: 2 * sum over defined blocks of
// (3 + conditions), plus 2 * extraWords still to be added.
int LogicStreamSize(const LogicTable&, int extraWords = 0);
// Whether the table with extraWords more words still fits in 1960 bytes.
bool LogicFits(const LogicTable&, int extraWords = 0);

// The 1960 stream bytes of the table, blocks in number order, zero-filled.
// A table that does not fit is cut after the last whole record that fits
// (the editor's capacity check never lets that happen).
std::vector<uint8_t> CompileLogicStream(const LogicTable&);

// The 1962-byte area: stream plus its checksum (LogicChecksum), high byte
// first.
std::vector<uint8_t> CompileLogicArea(const LogicTable&);

// Output number 1..64 -> block that drives it (0 = none). Blocks are taken
// in number order, so when two blocks name one output the higher number wins.
std::array<int, kLogicOutputs + 1> LogicOutputTable(const LogicTable&);

// The header as the editor stores a block: number + type * 256 +
// threshold * 1024 + 32768 (bit 15 set, the option flag bit 14 clear).
uint16_t MakeLogicHeader(int number, int type, int threshold);
// Output 1..64 (0 = none) and the number of conditions.
uint16_t MakeLogicW1(int output, int conditionCount);
uint16_t MakeLogicW2(int activationDelay, int deactivation);

// Whether `block` already holds a condition equal to `word` under 0x3FFF.
bool HasCondition(const LogicBlock&, uint16_t word);

// --- condition words ------------------------------------------------------

// Condition word: bits 0..9 object, bits 10..13 category, bit 14 set for an
// OR condition (clear: AND), bit 15 set when the condition holds while the
// object is NOT in the state.
inline constexpr uint16_t kConditionOr = 0x4000;
inline constexpr uint16_t kConditionNot = 0x8000;

inline int ConditionObject(uint16_t word) { return word & 0x3FF; }
inline int ConditionCategory(uint16_t word) { return (word >> 10) & 15; }
inline bool IsOrCondition(uint16_t word) { return (word & kConditionOr) != 0; }
uint16_t MakeCondition(int category, int object, bool orCondition, bool negated);

// The kinds of object the one object numbering holds.
enum class LogicObjectKind { None, Zone, Block, ZoneFault, PanelState, ClockChannel, AuxInput, Point };

struct LogicObjectRange {
    LogicObjectKind kind;
    int first, last;  // object numbers
    int count;        // items 1..count
};

// The object numbering: zones 1..32 (objects 1..32), blocks 1..80 (33..112),
// zones for faults and exclusions (131..162), the 12 panel states
// (195..206), clock channels 1..8 (211..218), auxiliary inputs 1..4
// (219..222), points 1..384 (301..684).
const LogicObjectRange& ObjectRange(LogicObjectKind);
// The range an object number falls in; kind None when it is in none.
LogicObjectKind ObjectKindOf(int object);
// Item number within its range (1..count), 0 for None.
int ObjectItem(int object);

// Entries of the condition chooser (1..16, texts 255..270); the category
// code is the entry - 1. Entry 9 is a separator and cannot be chosen. Texts
// 271..273 name categories that would need a code above 15: they are not
// listed.
inline constexpr int kChooserEntries = 16;
inline constexpr int kChooserSeparator = 9;
// The kind of object chooser entry `entry` offers (None: not selectable).
LogicObjectKind ChooserObjects(int entry);

}  // namespace cfg
