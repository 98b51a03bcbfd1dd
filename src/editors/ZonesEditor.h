// Section 2: sensor logic, zones and loop faults. One list line per loop
// point (its zone and type), per zone (its zone type) and per loop-fault
// entry (the zone it activates); a change is written back at once, the
// whole block it belongs to.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "loops/LoopTables.h"
#include "link/Screen.h"
#include "shell/Session.h"

namespace cfg {

// The zone block: zone types at cells 301..332, loop-fault entries at
// 351..366 (the bytes between are kept as read).
inline constexpr int kZoneBlockOffset = 301;
inline constexpr int kZoneBlockSize = 66;
inline constexpr int kZoneCount = 32;
inline constexpr int kFirstZoneCell = 301;
inline constexpr int kLoopFaultEntries = 16;
inline constexpr int kFirstLoopFaultCell = 351;

// Line descriptors: the first element says what the line shows.
inline constexpr int16_t kPointLine = 1;
inline constexpr int16_t kZoneLine = 2;
inline constexpr int16_t kLoopFaultLine = 3;

// Zone types in the order the zone-type choice offers them (positions 1..9).
struct ZoneType {
    int value;
    int listText;    // the type as the zone's line shows it
    int choiceText;  // the type in the choice
};
inline constexpr std::array<ZoneType, 9> kZoneTypes{{
    {0, 1057, 1177}, {1, 1058, 1178}, {2, 1218, 1218}, {3, 1059, 1179}, {4, 1220, 1220},
    {17, 1060, 1180}, {18, 1219, 1219}, {19, 1061, 1181}, {20, 1223, 1221},
}};
// Any other zone type value reads as this text and is kept as it is.
inline constexpr int kOtherZoneTypeText = 1062;
inline constexpr int kZonesTitleText = 845;

// The section routine. In PrintMode::LinesOnly it only builds the lines (for the
// printout); Interactive opens the section for editing.
void ZonesSection(Session&, PrintMode mode, int option);
// The section's printed lines from a file set in memory.
bool PrintZones(const FileSetImage&, const Texts&, int option, std::vector<std::string>& lines);
// Fills the page from the image: points, zones, loop faults, and which loop
// modules the module directory (cells 430..493) declares.
void RenderZones(const Page&);
void BuildZonesScreen(Session&);
// The line editor: dispatches on the line's descriptor. Returns true when a
// block was written.
bool EditZonesLine(Session&, int line);

// The rules of a point's type, apart from the dialogs that ask for it.
// No device: everything but the zone is cleared.
PointEntry ClearedPoint(const PointEntry&);
// A module (type 10), input or output (variant 2; an input module keeps its
// variant unless it was 0 or 2, then 1), with its function number 0..15 in
// the option bits and bit 3.
PointEntry AsModule(const PointEntry&, bool output, int function);
// Any other type with its variant 1..5 and sensitivity 0..5 (the option
// bits); bit 3 is kept, only a module's function number writes it.
PointEntry AsSensor(const PointEntry&, int type, int variant, int sensitivity);
// What the dialogs offer first: the point's own values where it has them.
int ModuleFunctionOffered(const PointEntry&);
int VariantOffered(const PointEntry&, int type);  // else 2 for a call point, 1 for the rest
int SensitivityOffered(const PointEntry&);

// The single edits, each writing its block when the value changed.
bool EditPoint(Session&, int point);
bool EditZoneType(Session&, int zone);
bool EditLoopFault(Session&, int entry);

}  // namespace cfg
