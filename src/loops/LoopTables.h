// The loop tables that several sections share: where the module directory
// and the point configuration of the two loop modules sit in the image, how
// a point's two configuration bytes decode, the names of the sensor types
// and the text that describes a point's logic.
#pragma once

#include <array>
#include <string>

#include "config/Layout.h"
#include "shell/Session.h"

namespace cfg {

// .CY2 offsets; the panel holds them at 4096 + offset. The image keeps them
// at cell = offset.
inline constexpr int kModuleDirectoryOffset = 430;
inline constexpr int kModuleDirectorySlots = 64;
inline constexpr int kPointConfigOffset = 512;
inline constexpr int kPointsPerModule = 200;
inline constexpr int kLoopPoints = 2 * kPointsPerModule;
inline constexpr int kPointConfigSize = 2 * kLoopPoints;  // both modules, two bytes a point

// Sensor type codes (bits 7..4 of a point's first byte) with a name of their own.
inline constexpr int kTypeFree = 0;
inline constexpr int kTypeManualCallPoint = 9;
inline constexpr int kTypeModule = 10;        // input or output module on the loop
inline constexpr int kOutputModuleVariant = 2;  // type 10 with this variant drives an output
// Live flags that replace the type for naming.
inline constexpr int kTypeNotResponding = 64;
inline constexpr int kTypeWrongDevice = 192;

// Shown point number p (1..400): loop module 1 holds 1..200, module 2 201..400.
inline int ModuleOfPoint(int point) { return point > kPointsPerModule ? 2 : 1; }
inline int IndexInModule(int point) { return point - (ModuleOfPoint(point) - 1) * kPointsPerModule; }
// Image cell of the first configuration byte of point p (the second follows).
inline int PointConfigCell(int point) { return kPointConfigOffset + 2 * (point - 1); }

// A point's two configuration bytes, decoded. The fields cover every bit, so
// Encode() gives back exactly the bytes that were decoded.
struct PointEntry {
    int type = 0;        // byte 1, bits 7..4 (0 = no device)
    int flag = 0;        // byte 1, bit 3
    int variant = 0;     // byte 1, bits 2..0
    int group = 1;       // byte 2, bits 4..0, plus 1: the zone 1..32
    int options = 0;     // byte 2, bits 7..5

    static PointEntry Decode(int byte1, int byte2);
    int Byte1() const { return (type & 15) << 4 | (flag & 1) << 3 | (variant & 7); }
    int Byte2() const { return (options & 7) << 5 | ((group - 1) & 31); }
    bool Configured() const { return type != kTypeFree; }
    bool IsOutputModule() const { return type == kTypeModule && variant == kOutputModuleVariant; }
    // The function number of a module point (type 10): byte 2 bits 7..5 plus
    // byte 1 bit 3 as its fourth bit, 0..15.
    int ModuleFunction() const { return options + 8 * flag; }
};

// The entry of point p (1..400) in ConfigImage.
PointEntry PointInImage(const ConfigState&, int point);
inline PointEntry PointInImage(const Session& s, int point) { return PointInImage(s.config, point); }

// Text id of the list name of a sensor type (the live flags 64 and 192
// included); any code without a name gives the "unknown" text.
int SensorTypeTextId(int type, int variant);
// The list name: that text padded with blanks and cut to 21 characters.
inline constexpr int kSensorNameWidth = 21;
std::string SensorTypeName(const Texts&, int type, int variant);
inline std::string SensorTypeName(Session& s, int type, int variant) { return SensorTypeName(s.texts, type, variant); }

// What a point does, in 44 characters. Points that are not modules: the
// variant's text (1..5) followed by the sensitivity (the second value,
// 0 standard, 1..5 a level, 6 and above invalid). Module points (type10):
// the function number and the point it is connected to.
inline constexpr int kSensorLogicWidth = 44;
std::string SensorLogicText(const Texts&, int variant, bool type10, int number, int point);
// The same for a decoded point.
std::string PointLogicText(const Texts&, const PointEntry&, int point);
inline std::string PointLogicText(Session& s, const PointEntry& e, int point) { return PointLogicText(s.texts, e, point); }

// Which loop modules the module directory (image cells 430..493) declares:
// the codes 65, 66 and 67 ("A", "B", "C") mark modules 1, 2 and 3.
struct LoopModuleMarks {
    std::array<bool, 4> present{};  // index 1..3
    bool operator==(const LoopModuleMarks&) const = default;
};
LoopModuleMarks ReadLoopModuleMarks(const ConfigState&);
inline LoopModuleMarks ReadLoopModuleMarks(const Session& s) { return ReadLoopModuleMarks(s.config); }

// --- the tables of a loop module's views ------------------------------------
// A module m (1 or 2) drives one loop of 200 points; point k of module m is
// shown as (m - 1) * 200 + k. Byte values of the loop tables are shown to the
// user multiplied by 16 (the panel's analog scale).

inline constexpr int kLoopModules = 2;
inline constexpr int kLoopTableBytes = 400;  // two bytes per point of one module

// .CY2 offsets; for these the panel address is the offset plus 4096.
inline constexpr long kPanelTableBase = kMainPanelBase;
inline constexpr long kTypeThresholdOffset = 2912;
inline constexpr int kTypeThresholdSize = 56;
inline constexpr long kGroupTableOffset = 301;
inline constexpr int kGroupTableSize = 32;
// The loop status byte of module m is at this panel address + m - 1.
inline constexpr long kLoopStatusAddress = 10208;
// Address directory entries of the panel-only tables.
inline constexpr PanelEntry kThresholdEntry = PanelEntry::Thresholds;
inline constexpr PanelEntry kLiveEntry = PanelEntry::Live;  // live, + 800 min/max, + 1600 references
inline constexpr PanelEntry kDescriptionEntry = PanelEntry::Descriptions;
// Image cells where the loop views load the point tables of their module.
inline constexpr int kPointConfigCell = 1;
inline constexpr int kPointParamCell = 500;

long PointConfigOffset(int module);  // 512 + (m - 1) * 400
long PointParamOffset(int module);   // 1312 + (m - 1) * 400
long ReferenceOffset(int module);    // 2112 + (m - 1) * 400

// Shown point number of index k (1..200) of module m.
inline int ShownPoint(int module, int index) { return (module - 1) * kPointsPerModule + index; }

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

// The naming type of a point: the type code, or the live table's flag bits
// 7..6 (64, 128, 192) when they are set.
int NamingType(int type, int liveFlags);
// The detail window's name of a type; `red` is set for a point that does not
// answer (64). Unknown types show "?????" padded to 22 characters.
std::string SensorDetailName(Session&, int type, int variant, bool& red);

}  // namespace cfg
