// The loop tables that every loop view shares (and the zone editor reads):
// where each table of an analog loop module lives in the file set and in the
// panel, the row of the type threshold table a sensor type uses, the alarm
// window of a point, the names of the sensor types and the text that
// describes a point's logic.
//
// A module m (1 or 2) drives one loop of 200 points; point k of module m is
// shown as (m - 1) * 200 + k. Byte values of the loop tables are shown to the
// user multiplied by 16 (the panel's analog scale).
//
// The module/point reference tag of list lines is ModuleRefTag in
// link/Screen.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "config/Layout.h"
#include "shell/Session.h"

namespace cfg {

inline constexpr int kLoopModules = 2;
inline constexpr int kPointsPerModule = 200;
inline constexpr int kLoopTableBytes = 400;  // two bytes per point

// --- where the tables live ------------------------------------------------
// .CY2 offsets; for these the panel address is the offset plus 4096.
inline constexpr long kPanelTableBase = kMainPanelBase;
inline constexpr long kModuleDirectoryOffset = 430;
inline constexpr int kModuleDirectorySize = 64;
inline constexpr long kTypeThresholdOffset = 2912;
inline constexpr int kTypeThresholdSize = 56;
inline constexpr long kGroupTableOffset = 301;
inline constexpr int kGroupTableSize = 32;
// The loop status byte of module m is at this panel address + m - 1.
inline constexpr long kLoopStatusAddress = 10208;
// Address directory entries of the panel-only tables.
inline constexpr int kThresholdEntry = 4;  // type thresholds
inline constexpr int kLiveEntry = 5;       // live, + 800 min/max, + 1600 references
inline constexpr int kDescriptionEntry = 19;
// Image cells where the point tables of the current module are loaded.
inline constexpr int kPointConfigCell = 1;
inline constexpr int kPointParamCell = 500;

long PointConfigOffset(int module);  // 512 + (m - 1) * 400
long PointParamOffset(int module);   // 1312 + (m - 1) * 400
long ReferenceOffset(int module);    // 2112 + (m - 1) * 400

// Shown point number of index k (1..200) of module m.
inline int ShownPoint(int module, int index) { return (module - 1) * kPointsPerModule + index; }

// --- thresholds -------------------------------------------------------------

// The type threshold table: rows 1..14 of four values T0..T3.
struct TypeThresholdTable {
    std::array<std::array<int, 4>, 15> row{};  // row 0 unused
    // Takes 56 bytes (entry i = bytes 4(i-1)+1 .. 4i) from cells first..first+55.
    void Load(CellSpan cells, int first);
    const std::array<int, 4>& Row(int type) const;
};

// The row used for a type code: (t & 15) - 1 above 8, t & 7 otherwise, never
// below 1. Types 1..7 use rows 1..7, type 8 row 1, types 9..15 rows 8..14.
int ThresholdRow(int type);

// The alarm window of a point, in table bytes. A reading is inside when
// lo <= reading < up.
struct PointWindow {
    int lo = 0, mid = 0, hi = 0, up = 0;
};

// The window of a configured point of type `type` (the configured one, not
// the live naming type): Lo = T3, Mid = T0, Hi = T1, Up = T0; types 2 and 3
// compare their calibrated level x (point parameter byte 2) with T1: above it
// Up = x - (T1 - T2) and, when the point has a reference level (reference >=
// 0), Hi = the reference and Mid = Hi - (T1 - T0); otherwise Up = Mid. A
// type 10 whose variant is not 2 has Lo = 0.
PointWindow ComputeWindow(const TypeThresholdTable&, int type, int variant, int calibration, int reference);

// Reference level of index k (1..200): byte 4k of the module's reference
// table for k in 1..99, none (-1) otherwise. `table` holds bytes 1..400.
template <typename Table>
int ReferenceLevel(const Table& table, int index) {
    return index >= 1 && index <= 99 ? (table[4 * index] & 0xFF) : -1;
}

// "  16" style: a table byte times 16, right-justified in 4 columns.
std::string LoopValueText(int byteValue);

// --- names and texts --------------------------------------------------------

// The naming type of a point: the type code, or the live table's flag bits
// 7..6 (64, 128, 192) when they are set.
int NamingType(int type, int liveFlags);
// The 21-column list name of a type code (0..15 or a flag value 64/192).
std::string SensorTypeName(Session&, int type, int variant);
// The detail window's name of a type; `red` is set for a point that does not
// answer (64). Unknown types show "?????" padded to 22 characters.
std::string SensorDetailName(Session&, int type, int variant, bool& red);
// The logic number of a point: (byte 2 >> 5) + (byte 1 & 8).
int PointLogicNumber(int b1, int b2);
// The 44-character description of a point's logic. Points that are not
// type 10: the variant 1..5 names the alarm logic, then the logic number
// names the sensitivity (0 standard, 1..5 that level, 6 and up not valid).
// Type 10 (a module): the module and its function number, then the local
// point (points 1..200, place = index + 34) or the remote point (201..400,
// place = index + 49) it is tied to.
std::string SensorLogicText(Session&, int variant, bool type10, int number, int point);

}  // namespace cfg
