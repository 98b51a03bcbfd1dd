// The loop tables that several sections share: where the module directory
// and the point configuration of the two loop modules sit in the image, how
// a point's two configuration bytes decode, the names of the sensor types
// and the text that describes a point's logic.
#pragma once

#include <array>
#include <string>

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
PointEntry PointInImage(const Session&, int point);

// Text id of the list name of a sensor type (the live flags 64 and 192
// included); any code without a name gives the "unknown" text.
int SensorTypeTextId(int type, int variant);
// The list name: that text padded with blanks and cut to 21 characters.
inline constexpr int kSensorNameWidth = 21;
std::string SensorTypeName(Session&, int type, int variant);

// What a point does, in 44 characters. Points that are not modules: the
// variant's text (1..5) followed by the sensitivity (the second value,
// 0 standard, 1..5 a level, 6 and above invalid). Module points (type10):
// the function number and the point it is connected to.
inline constexpr int kSensorLogicWidth = 44;
std::string SensorLogicText(Session&, int variant, bool type10, int number, int point);
// The same for a decoded point.
std::string PointLogicText(Session&, const PointEntry&, int point);

// Which loop modules the module directory (image cells 430..493) declares:
// the codes 65, 66 and 67 ("A", "B", "C") mark modules 1, 2 and 3.
struct LoopModuleMarks {
    std::array<bool, 4> present{};  // index 1..3
    bool operator==(const LoopModuleMarks&) const = default;
};
LoopModuleMarks ReadLoopModuleMarks(const Session&);

}  // namespace cfg
