#include "LogicTexts.h"

#include <array>
#include <cstdio>

#include "link/Screen.h"
#include "shell/Language.h"

namespace cfg {

namespace {

// Texts of the sentence and of the condition.
constexpr int kTextInvalid = 305;
constexpr int kTextAnd = 306;
constexpr int kTextOr = 307;
constexpr int kTextNotActive = 308;
constexpr int kTextActive = 309;
constexpr int kTextTurnsOn = 245;
constexpr int kTextAfter = 246;
constexpr int kTextWhen = 247;
constexpr int kTextDecimalMark = 248;
constexpr int kTextAtLeast = 249;
constexpr int kTextOf = 250;
constexpr int kTextOff = 251;
constexpr int kTextLatched = 252;
constexpr int kTextPulse = 253;
constexpr int kTextAfterClear = 254;
constexpr int kTextNoOutputBlock = 330;
constexpr int kTextNot = 331;
constexpr int kTextNever = 332;
constexpr int kTextOutputNumber = 295;
constexpr int kTextFirstCategory = 255;
constexpr int kTextNoOutput = 182;
constexpr int kTextZone = 310, kTextPoint = 311, kTextBlock = 312;
constexpr int kTextZoneOther = 313, kTextZoneInFault = 314;  // 314 for category 3
constexpr int kTextAuxInput = 327;
constexpr int kTextClockChannel = 328, kTextClockChannelOther = 329;  // 328 for category 9

// Texts of a block's listing.
constexpr int kTextFunctionBlock = 176, kTextType = 177;
constexpr int kTextAndOr = 178, kTextThresholdAnd = 179, kTextThreshold = 180;
constexpr int kTextLinkedOutput = 181;
constexpr int kTextActivationDelay = 183, kTextDeactivationDelay = 184;
constexpr int kTextLatch = 185, kTextPulseOff = 186, kTextDelay = 187, kTextHalfSeconds = 188;
constexpr int kTextAndConditions = 189, kTextOrConditions = 190;
constexpr int kTextNoConditions = 191, kTextNoBlocks = 192;

// Objects 195..206, one text each.
constexpr std::array<int, 12> kPanelStateTexts{315, 316, 317, 326, 318, 319, 320, 321, 322, 323, 324, 325};

std::string Category(const Texts& s, uint16_t word) {
    int code = ConditionCategory(word);
    // Code 8 is the chooser's separator line: no name.
    if (code + 1 == kChooserSeparator) return {};
    return GetText(s, kTextFirstCategory + code);
}

// [NOT ]object (category), as the sentence names a condition.
std::string ShortCondition(const Texts& s, uint16_t word) {
    std::string text = (word & kConditionNot) ? GetText(s, kTextNot) + " " : std::string();
    text += ConditionObjectText(s, word);
    std::string category = Category(s, word);
    if (!category.empty()) text += " (" + category + ")";
    return text;
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
    std::string out;
    for (const auto& p : parts) {
        if (!out.empty()) out += separator;
        out += p;
    }
    return out;
}

}  // namespace

std::string ConditionObjectText(const Texts& s, uint16_t word) {
    int object = ConditionObject(word);
    int item = ObjectItem(object);
    int category = ConditionCategory(word);
    switch (ObjectKindOf(object)) {
    case LogicObjectKind::Zone: return GetText(s, kTextZone) + " " + std::to_string(item);
    case LogicObjectKind::Block: return GetText(s, kTextBlock) + PadZeros(2, item);
    case LogicObjectKind::ZoneFault: return GetText(s, category == 3 ? kTextZoneInFault : kTextZoneOther) + " " + std::to_string(item);
    case LogicObjectKind::PanelState: return GetText(s, kPanelStateTexts[static_cast<std::size_t>(item - 1)]);
    case LogicObjectKind::ClockChannel: return GetText(s, category == 9 ? kTextClockChannel : kTextClockChannelOther) + " " + std::to_string(item);
    case LogicObjectKind::AuxInput: return GetText(s, kTextAuxInput) + " " + std::to_string(item);
    case LogicObjectKind::Point: return GetText(s, kTextPoint) + " " + std::to_string(item);
    case LogicObjectKind::None: break;
    }
    return GetText(s, kTextInvalid);
}

std::string ConditionText(const Texts& s, uint16_t word, bool withLogic) {
    std::string text;
    if (withLogic) text = GetText(s, IsOrCondition(word) ? kTextOr : kTextAnd) + " ";
    text += ConditionObjectText(s, word);
    std::string category = Category(s, word);
    if (!category.empty()) text += " (" + category + ")";
    text += " " + GetText(s, (word & kConditionNot) ? kTextNotActive : kTextActive);
    return text;
}

std::string LogicBlockName(int number) { return " BF" + PadZeros(2, number); }

std::string LogicDelayText(const Texts& s, int steps) {
    std::string text = std::to_string(steps / 2);
    if (steps % 2) text += GetText(s, kTextDecimalMark) + "5";
    return text + " s";
}

std::string LogicOutputText(const Texts& s, int output) {
    return output == 0 ? GetText(s, kTextNoOutput) : std::to_string(output);
}

std::string LogicDeactivationText(const Texts& s, int value) {
    if (value == kDeactivationLatched) return GetText(s, kTextLatch);
    if (value == kDeactivationPulse) return GetText(s, kTextPulseOff);
    return GetText(s, kTextDelay) + " " + LogicDelayText(s, value);
}

std::string LogicTypeText(const Texts& s, int type) {
    if (type == 0) return GetText(s, kTextAndOr);
    if (type == 1) return GetText(s, kTextThresholdAnd);
    return std::to_string(type);
}

std::string LogicBlockSentence(const Texts& s, const LogicBlock& b) {
    std::vector<std::string> ands, ors;
    for (uint16_t c : b.conditions) (IsOrCondition(c) ? ors : ands).push_back(ShortCondition(s, c));

    std::string sentence = b.OutputNumber() ? GetText(s, kTextOutputNumber) + " " + std::to_string(b.OutputNumber())
                                            : GetText(s, kTextNoOutputBlock);
    sentence += GetText(s, kTextTurnsOn);
    if (b.ActivationDelay() > 0) sentence += GetText(s, kTextAfter) + " " + LogicDelayText(s, b.ActivationDelay());
    if (ands.empty() && ors.empty()) {
        sentence += " " + GetText(s, kTextNever);
    } else {
        sentence += GetText(s, kTextWhen) + " ";
        std::vector<std::string> terms;
        if (!ands.empty()) {
            if (b.Type() == 1) {
                terms.push_back(GetText(s, kTextAtLeast) + " " + std::to_string(b.Threshold()) + GetText(s, kTextOf) +
                                " (" + Join(ands, ", ") + ")");
            } else {
                std::string all = Join(ands, " " + GetText(s, kTextAnd) + " ");
                terms.push_back(ands.size() > 1 && !ors.empty() ? "(" + all + ")" : all);
            }
        }
        for (const auto& o : ors) terms.push_back(o);
        sentence += Join(terms, " " + GetText(s, kTextOr) + " ") + ".";
    }
    sentence += " " + GetText(s, kTextOff);
    switch (b.Deactivation()) {
    case kDeactivationLatched: sentence += GetText(s, kTextLatched); break;
    case kDeactivationPulse: sentence += GetText(s, kTextPulse); break;
    default: sentence += " " + LogicDelayText(s, b.Deactivation()) + GetText(s, kTextAfterClear); break;
    }
    return sentence;
}

std::string LogicFieldsText(const LogicBlock& b) {
    char text[64];
    std::snprintf(text, sizeof text, "H %04X  W1 %04X  W2 %04X", b.header, b.w1, b.w2);
    std::string out = text;
    for (uint16_t c : b.conditions) {
        std::snprintf(text, sizeof text, "  %04X", c);
        out += text;
    }
    return out;
}

std::vector<std::string> LogicReportLines(const Texts& s, const LogicTable& t) {
    std::vector<std::string> lines;
    bool any = false;
    for (int n = 1; n <= kLogicBlockCount; ++n) {
        const LogicBlock& b = t[n];
        if (!b.Defined()) continue;
        any = true;
        std::string head = GetText(s, kTextFunctionBlock) + LogicBlockName(n) + "   " + GetText(s, kTextType) + " " + LogicTypeText(s, b.Type());
        if (b.Type() == 1) head += "   " + GetText(s, kTextThreshold) + " " + std::to_string(b.Threshold());
        lines.push_back(head);
        lines.push_back("   " + GetText(s, kTextLinkedOutput) + " " + LogicOutputText(s, b.OutputNumber()));
        lines.push_back("   " + GetText(s, kTextActivationDelay) + " " + std::to_string(b.ActivationDelay()) + GetText(s, kTextHalfSeconds) + "   " +
                        GetText(s, kTextDeactivationDelay) + " " +
                        (b.Deactivation() == kDeactivationLatched || b.Deactivation() == kDeactivationPulse
                             ? LogicDeactivationText(s, b.Deactivation())
                             : GetText(s, kTextDelay) + " " + std::to_string(b.Deactivation()) + GetText(s, kTextHalfSeconds)));
        for (bool orList : {false, true}) {
            lines.push_back("   " + GetText(s, orList ? kTextOrConditions : kTextAndConditions));
            bool none = true;
            for (uint16_t c : b.conditions) {
                if (IsOrCondition(c) != orList) continue;
                none = false;
                lines.push_back("      " + ConditionText(s, c, false));
            }
            if (none) lines.push_back("      " + GetText(s, kTextNoConditions));
        }
    }
    if (!any) lines.push_back(GetText(s, kTextNoBlocks));
    return lines;
}

}  // namespace cfg
