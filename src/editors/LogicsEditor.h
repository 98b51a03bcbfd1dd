// Section 7: the programmable logics and outputs. The logic area (1962
// bytes: the .UY2 file, or the panel's area at address directory entry 16
// with the length in entry 17) is loaded whole, shown as a list of the 80
// function blocks, edited block by block in the function-block window, and
// written back whole when the section is left with changes.
#pragma once

#include <array>
#include <cstdint>

#include "LogicBlocks.h"
#include "link/Screen.h"
#include "shell/Session.h"

namespace cfg {

// The .CY2 byte read together with the logic area (offset 39, panel 4135)
// is kept in image cell 2039, clear of the area's cells 1..1962, and
// carried as read: the logic editor does not change it.
inline constexpr int kLogicSideCell = 2039;

// What the editor holds while the section is open.
struct LogicEditorState {
    LogicTable table;
    std::array<int, kLogicOutputs + 1> outputs{};  // output -> block
    bool modified = false;                         // the area must be stored on leaving
    bool reset = false;                            // the checksum did not match
    LogicLoadReport report;
};

inline constexpr int kLogicsTitleText = 193;

// The section routine. In PrintMode::LinesOnly it only loads and builds the printout
// lines into the screen buffer; Interactive opens the section for editing.
void LogicsSection(Session&, PrintMode mode, int option);
// The printout lines of the logic in image cells 1..1960.
void RenderLogicReport(const Page&);
// The section's printed lines from a file set in memory.
bool PrintLogics(const FileSetImage&, const Texts&, int option, std::vector<std::string>& lines);
// A logic area (image cells 1..1962) whose checksum does not match is
// emptied: bytes 1..1960 zero, checksum 255 255. True when it was.
bool EmptyIfDamaged(ConfigState&);

// Reads the area of the open source into image cells 1..1962 (and the side
// byte), checks the checksum and parses the blocks. A .UY2 of another size
// than 1962 bytes, or a panel whose area is not 1960 bytes long, is refused
// with texts 1233/1234. A checksum mismatch empties the area (bytes 1..1960
// zero, checksum 255 255) and marks it modified. False when nothing loaded.
bool LoadLogicArea(Session&, LogicEditorState&);
// Compiles the table into image cells 1..1962 with its checksum and writes
// the area to the open source. True when written.
bool StoreLogicArea(Session&, LogicEditorState&);

// The rule of adding a condition to a block's AND or OR list, apart from
// the dialogs that choose it. `b` is block `number` as being edited (the
// table still holds it as it was stored).
struct ConditionChoice {
    int entry = 0;         // the chooser's entry 1..16 (category entry - 1)
    int item = 0;          // 1..count of the objects the entry offers
    bool orList = false;   // the OR list (else the AND list)
    bool negated = false;  // holds while the object is NOT in the state
};
struct ConditionOutcome {
    bool accepted = false;
    uint16_t word = 0;            // the condition word to append
    int refusal = 0, detail = 0;  // text ids: an alert with its hint, or a
                                  // note alone (detail 0); none for an item
                                  // the dialogs never offer
    bool operator==(const ConditionOutcome&) const = default;
};
// Whether the block may take one more condition at all: at most 31 in its
// two lists together, and the table must still fit the area with one word
// more.
ConditionOutcome RoomForCondition(const LogicTable&, const LogicBlock& b, int number);
// Why a chooser entry cannot be taken (a text id), 0 when it can: outside
// 1..16, or an entry that offers no objects (the separator).
int ChooserEntryRefusal(int entry);
// The whole rule: room, the entry, the item in its range, and no condition
// on the same object and state already in the block, in either list,
// negated or not.
ConditionOutcome ApplyCondition(const LogicTable&, const LogicBlock& b, int number, const ConditionChoice&);

// One list line per block 1..80 (descriptor field 1, value 2 the block).
void BuildLogicList(Session&, LogicEditorState&);
// Runs the function-block window for block `number` until it is closed.
void EditLogicBlock(Session&, LogicEditorState&, int number);

}  // namespace cfg
