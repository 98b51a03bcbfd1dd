#include "loops/LoopTables.h"

#include <algorithm>

#include "link/Screen.h"
#include "shell/Language.h"
#include "shell/Text.h"

namespace cfg {

namespace {

constexpr long kPointConfigBase = kPointsOffset;
constexpr long kPointParamBase = 1312;
constexpr long kReferenceBase = 2112;
constexpr std::size_t kListNameWidth = 21;
constexpr std::size_t kDetailUnknownWidth = 22;
constexpr std::size_t kLogicWidth = 44;

// List and detail texts of a naming type; 0 where the detail window shows
// "?????".
struct TypeTexts {
    int list;
    int detail;
};

TypeTexts TextsOf(int type, int variant) {
    switch (type) {
    case 0: return {1293, 362};
    case 1: return {1294, 363};
    case 2: return {1295, 364};
    case 3: return {1296, 365};
    case 7: return {1297, 366};
    case 9: return {1298, 367};
    case 10: return variant == 2 ? TypeTexts{1303, 374} : TypeTexts{1299, 372};
    case 11: return {1300, 369};
    case 12: return {1301, 370};
    case 64: return {1304, 373};
    case 192: return {1305, 0};
    default: return {1302, 0};
    }
}

}  // namespace

long PointConfigOffset(int module) { return kPointConfigBase + (module - 1) * kLoopTableBytes; }
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
    } else if (type == 10 && variant != 2) {
        w.lo = 0;
    }
    return w;
}

std::string LoopValueText(int byteValue) { return PadSpaces(4, static_cast<long>(byteValue) * 16); }

int NamingType(int type, int liveFlags) {
    const int flags = liveFlags & 192;
    return flags != 0 ? flags : type;
}

std::string SensorTypeName(Session& s, int type, int variant) {
    return Utf8PadRight(GetText(s, TextsOf(type, variant).list), kListNameWidth);
}

std::string SensorDetailName(Session& s, int type, int variant, bool& red) {
    red = type == 64;
    const TypeTexts texts = TextsOf(type, variant);
    if (texts.detail == 0) return Utf8PadRight("?????", kDetailUnknownWidth);
    return GetText(s, texts.detail);
}

int PointLogicNumber(int b1, int b2) { return ((b2 & 0xFF) >> 5) + (b1 & 8); }

std::string SensorLogicText(Session& s, int variant, bool type10, int number, int point) {
    std::string text;
    if (!type10) {
        if (variant >= 1 && variant <= 5) text = GetText(s, 845 + variant);
        if (number == 0) text += GetText(s, 852);
        else if (number < 6) text += GetText(s, 853) + std::to_string(number);
        else text += GetText(s, 851);
    } else {
        const bool local = point >= 1 && point <= kPointsPerModule;
        const int index = local ? point : point - kPointsPerModule;
        text = GetText(s, 854) + GetText(s, 855) + " " + std::to_string(number) + GetText(s, local ? 858 : 859) +
               std::to_string(index + (local ? 34 : 49)) + GetText(s, 860);
    }
    return Utf8PadRight(text, kLogicWidth);
}

}  // namespace cfg
