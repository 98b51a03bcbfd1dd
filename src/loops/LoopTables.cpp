#include "LoopTables.h"

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

PointEntry PointInImage(const Session& s, int point) {
    const int cell = PointConfigCell(point);
    return PointEntry::Decode(s.config.ConfigImage[cell] & 0xFF, s.config.ConfigImage[cell + 1] & 0xFF);
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

std::string SensorTypeName(Session& s, int type, int variant) {
    return Utf8PadRight(GetText(s, SensorTypeTextId(type, variant)), kSensorNameWidth);
}

std::string SensorLogicText(Session& s, int variant, bool type10, int number, int point) {
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

std::string PointLogicText(Session& s, const PointEntry& e, int point) {
    const bool module = e.type == kTypeModule;
    return SensorLogicText(s, e.variant, module, module ? e.ModuleFunction() : e.options, point);
}

LoopModuleMarks ReadLoopModuleMarks(const Session& s) {
    LoopModuleMarks marks;
    for (int slot = 0; slot < kModuleDirectorySlots; ++slot) {
        const int code = s.config.ConfigImage[kModuleDirectoryOffset + slot];
        if (code >= 'A' && code <= 'C') marks.present[static_cast<std::size_t>(code - 'A' + 1)] = true;
    }
    return marks;
}

}  // namespace cfg
