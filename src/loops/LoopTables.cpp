#include "LoopTables.h"

#include <algorithm>

#include "link/Screen.h"
#include "shell/Language.h"
#include "shell/Text.h"

namespace cfg {

namespace {

constexpr int kUnknownTypeText = 1302;

// Texts of the logic description.
constexpr int kFirstVariantText = 846;  // variants 1..5: 0846..0850
constexpr int kInvalidSensitivityText = 851;
constexpr int kStandardSensitivityText = 852;
constexpr int kSensitivityText = 853;
constexpr int kModuleText = 854;
constexpr int kFunctionText = 855;
constexpr int kLocalPointText = 858;
constexpr int kRemotePointText = 859;
constexpr int kConnectedText = 860;

}  // namespace

PointEntry PointEntry::Decode(int byte1, int byte2) {
    PointEntry e;
    e.type = (byte1 >> 4) & 15;
    e.flag = (byte1 >> 3) & 1;
    e.variant = byte1 & 7;
    e.group = (byte2 & 31) + 1;
    e.options = (byte2 >> 5) & 7;
    return e;
}

PointEntry PointInImage(const ConfigState& c, int point) {
    const int cell = PointConfigCell(point);
    return PointEntry::Decode(c.ConfigImage[cell] & 0xFF, c.ConfigImage[cell + 1] & 0xFF);
}

int SensorTypeTextId(int type, int variant) {
    switch (type) {
    case 0: return 1293;
    case 1: return 1294;
    case 2: return 1295;
    case 3: return 1296;
    case 7: return 1297;
    case 9: return 1298;
    case 10: return variant == kOutputModuleVariant ? 1303 : 1299;
    case 11: return 1300;
    case 12: return 1301;
    case kTypeNotResponding: return 1304;
    case kTypeWrongDevice: return 1305;
    default: return kUnknownTypeText;
    }
}

std::string SensorTypeName(const Texts& s, int type, int variant) {
    return Utf8PadRight(GetText(s, SensorTypeTextId(type, variant)), kSensorNameWidth);
}

std::string SensorLogicText(const Texts& s, int variant, bool type10, int number, int point) {
    std::string text;
    if (!type10) {
        if (variant >= 1 && variant <= 5) text = GetText(s, kFirstVariantText + variant - 1);
        if (number >= 1 && number <= 5) text += GetText(s, kSensitivityText) + " " + std::to_string(number);
        else if (number == 0) text += GetText(s, kStandardSensitivityText);
        else text += GetText(s, kInvalidSensitivityText);
    } else {
        // The place a module point answers at: points of loop module 1 are
        // local to the panel, those of module 2 remote, each with its own
        // numbering offset.
        const bool local = point >= 1 && point <= kPointsPerModule;
        const int place = IndexInModule(point) + (local ? 34 : 49);
        text = GetText(s, kModuleText) + " " + std::to_string(number) + GetText(s, kFunctionText) +
               GetText(s, local ? kLocalPointText : kRemotePointText) + " " + std::to_string(place) +
               GetText(s, kConnectedText);
    }
    return Utf8PadRight(text, kSensorLogicWidth);
}

std::string PointLogicText(const Texts& s, const PointEntry& e, int point) {
    const bool module = e.type == kTypeModule;
    return SensorLogicText(s, e.variant, module, module ? e.ModuleFunction() : e.options, point);
}

LoopModuleMarks ReadLoopModuleMarks(const ConfigState& c) {
    LoopModuleMarks marks;
    for (int slot = 0; slot < kModuleDirectorySlots; ++slot) {
        const int code = c.ConfigImage[kModuleDirectoryOffset + slot];
        if (code >= 'A' && code <= 'C') marks.present[static_cast<std::size_t>(code - 'A' + 1)] = true;
    }
    return marks;
}

// --- the tables of a loop module's views ------------------------------------

namespace {

constexpr long kPointParamBase = 1312;
constexpr long kReferenceBase = 2112;
constexpr std::size_t kDetailUnknownWidth = 22;

// Detail-window text of a naming type; 0 where it shows "?????".
int DetailTextId(int type, int variant) {
    switch (type) {
    case 0: return 362;
    case 1: return 363;
    case 2: return 364;
    case 3: return 365;
    case 7: return 366;
    case 9: return 367;
    case 10: return variant == kOutputModuleVariant ? 374 : 372;
    case 11: return 369;
    case 12: return 370;
    case kTypeNotResponding: return 373;
    default: return 0;
    }
}

}  // namespace

long PointConfigOffset(int module) { return kPointConfigOffset + (module - 1) * kLoopTableBytes; }
long PointParamOffset(int module) { return kPointParamBase + (module - 1) * kLoopTableBytes; }
long ReferenceOffset(int module) { return kReferenceBase + (module - 1) * kLoopTableBytes; }

void TypeThresholdTable::Load(CellSpan cells, int first) {
    for (int i = 1; i <= 14; ++i)
        for (int j = 0; j < 4; ++j)
            row[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = cells[first + 4 * (i - 1) + j] & 0xFF;
}

const std::array<int, 4>& TypeThresholdTable::Row(int type) const {
    return row[static_cast<std::size_t>(ThresholdRow(type))];
}

int ThresholdRow(int type) {
    const int r = type > 8 ? (type & 15) - 1 : type & 7;
    return std::max(r, 1);
}

PointWindow ComputeWindow(const TypeThresholdTable& table, int type, int variant, int calibration, int reference) {
    const auto& t = table.Row(type);
    PointWindow w;
    w.lo = t[3];
    w.mid = t[0];
    w.hi = t[1];
    w.up = t[0];
    if (type == 2 || type == 3) {
        if (calibration > t[1]) {
            w.up = calibration - (t[1] - t[2]);
            if (reference >= 0) {
                w.hi = reference;
                w.mid = w.hi - (t[1] - t[0]);
            }
        } else {
            w.up = w.mid;
        }
    } else if (type == kTypeModule && variant != kOutputModuleVariant) {
        w.lo = 0;
    }
    return w;
}

std::string LoopValueText(int byteValue) { return PadSpaces(4, static_cast<long>(byteValue) * 16); }

int NamingType(int type, int liveFlags) {
    const int flags = liveFlags & 192;
    return flags != 0 ? flags : type;
}

std::string SensorDetailName(Session& s, int type, int variant, bool& red) {
    red = type == kTypeNotResponding;
    const int id = DetailTextId(type, variant);
    if (id == 0) return Utf8PadRight("?????", kDetailUnknownWidth);
    return GetText(s, id);
}

}  // namespace cfg
