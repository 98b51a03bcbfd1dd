// The panel's display texts (.MY2, 7280 bytes; in the panel at 24576 + file
// offset): four groups of 16-character entries, one character per byte,
// blank-filled on the right. This file holds what the display editor, the
// CSV export / import and the command line share: where each entry lives,
// which characters the display can show, and how changed entries are
// written back in as few blocks as possible.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "shell/Session.h"
#include "transfer/SectionBlocks.h"

namespace cfg {

inline constexpr int kDisplayTextLength = 16;
inline constexpr int kDisplayTextGroups = 4;

struct DisplayTextGroup {
    int number;     // 1..4
    int offset;     // .MY2 offset of entry 1; entry n at offset + (n - 1) * 16
    int entries;    // entries shown and edited
    int loadBytes;  // bytes read with the group (group 4 reads 7 entries' room)
    int heading;    // text id of the list heading
    int label;      // text id before the entry number
    int title;      // text id of the dialog title (followed by the number)
    int prompt;     // text id of the dialog prompt; 0 = none
};

const std::array<DisplayTextGroup, kDisplayTextGroups>& DisplayTextGroups();
// The group with this number, or nullptr.
const DisplayTextGroup* FindDisplayTextGroup(int group);
// .MY2 offset of entry `entry` (1-based) of the group.
inline int DisplayEntryOffset(const DisplayTextGroup& g, int entry) {
    return g.offset + (entry - 1) * kDisplayTextLength;
}

// The display shows every byte from 32 up: printable ASCII, its own signs at
// 127..159 and the Latin-1 letters and signs 160..255. Only the control
// codes below 32 cannot be shown.
bool DisplayShowsByte(int byte);

// The 16 characters of the entry at `offset` in ConfigImage, as UTF-8; a
// byte the display cannot show reads as `unshown` (the list shows '?', the
// dialog and the CSV file a blank).
std::string DisplayEntryText(const ConfigState&, int offset, char unshown);
inline std::string DisplayEntryText(const Session& s, int offset, char unshown) {
    return DisplayEntryText(s.config, offset, unshown);
}

// Turns a UTF-8 text into the display's bytes, blank-filled or cut to 16
// characters. A character the display cannot show makes it fail: `bad` then
// holds that character (UTF-8) and `bytes` is unchanged.
bool DisplayTextBytes(const std::string& utf8, std::vector<Cell>& bytes, std::string& bad);
// Number of characters of a UTF-8 text (what the 16-character limit counts).
int DisplayTextLengthOf(const std::string& utf8);

// The text of entry k (0-based) of a range filled from `text`. When
// `countUp` is set and the text ends with a number (blanks after it are
// ignored), that number goes up by k: "ROOM 1" gives "ROOM 1", "ROOM 2", ...
// Leading zeros keep the number's width ("LINE 08", "LINE 09", "LINE 10").
// A number that outgrows 16 characters cuts the words before it, never the
// number. Without a number, or without countUp, every entry gets the text.
std::string RangeEntryText(const std::string& text, int k, bool countUp);

// The blocks of the four groups: what LoadDisplayTexts reads.
std::vector<SectionBlock> DisplayTextBlocks();
// Reads the four groups of the open source into ConfigImage at cell = file
// offset. False (LinkStatus not 255, already reported) when a block failed.
bool LoadDisplayTexts(Session&);

// Writes the entries of `entries` (file offset -> 16 bytes): entries that
// follow each other in the file go as one block (up to 250 entries, what
// the transfer buffer holds). ConfigImage follows each block that was
// written. Returns the number of blocks written, or -1 when a block failed
// (the blocks before it stay written).
// `written`, when given, receives the offset of every entry written.
int WriteDisplayEntries(Session&, const std::map<int, std::vector<Cell>>& entries,
                        std::vector<int>* written = nullptr);

}  // namespace cfg
