#include "TimesEditor.h"

#include <array>
#include <string>

#include "transfer/SectionBlocks.h"
#include "link/Screen.h"
#include "shell/Input.h"
#include "shell/Language.h"

namespace cfg {

namespace {

constexpr int kPrintHeading = 1081;
constexpr int kValueColumn = 46;  // labels fill the columns before it

// How a value in the shown range reads: [text] number [unit][unit text].
struct ValueFormat {
    int textBefore;    // text id, 0 for none
    int width;         // the number right-aligned in this many characters
    const char* unit;  // literal unit
    int unitText;      // text id of the unit, 0 for none
};

struct TimeItem {
    int16_t item;       // the item number the descriptor carries
    int label;          // text id
    int indent;         // blanks before the label
    int cell;           // image cell = .CY2 offset (panel 4096 + cell)
    int shownMin, shownMax;
    ValueFormat shown;
    const char* zeroLiteral;  // what 0 reads, when 0 has its own reading
    int zeroText;
    int otherText;            // any value outside the shown range
    std::array<int, 5> prompts;  // input texts, 0 = unused
    int acceptMin, acceptMax;    // range the dialog accepts
};

// Items 10, 13 and 14 have no line; cells 33, 37, 38 and 40 are kept as read.
constexpr std::array<TimeItem, 12> kTimes{{
    // item label ind cell shown      format                 zero       other prompts                         accepted
    {1, 1082, 1, 25, 1, 99, {0, 6, "s", 0}, nullptr, 0, 1084, {793, 794, 795, 796, 0}, 2, 99},
    {2, 1085, 1, 26, 1, 120, {0, 6, "", 1086}, nullptr, 0, 1087, {797, 798, 799, 800, 0}, 2, 120},
    {3, 1088, 1, 27, 1, 240, {0, 6, "s", 0}, nullptr, 0, 1090, {801, 802, 803, 804, 0}, 2, 240},
    {4, 1091, 1, 28, 1, 240, {0, 6, "", 1092}, nullptr, 0, 1093, {805, 806, 807, 808, 0}, 2, 240},
    {5, 1094, 1, 29, 1, 240, {0, 6, "", 1095}, nullptr, 0, 1096, {809, 810, 811, 812, 0}, 2, 240},
    {6, 1097, 1, 30, 1, 240, {0, 6, "", 1098}, nullptr, 0, 1099, {813, 814, 815, 816, 0}, 2, 240},
    {7, 1100, 4, 36, 1, 250, {1101, 6, "", 0}, " -- ", 0, 1102, {817, 818, 819, 820, 821}, 0, 250},
    {8, 1103, 1, 31, 1, 240, {0, 6, "", 1104}, nullptr, 0, 1105, {822, 823, 824, 825, 0}, 2, 240},
    {9, 1106, 1, 32, 1, 240, {0, 6, "", 1107}, nullptr, 0, 1108, {826, 827, 828, 829, 0}, 2, 240},
    {11, 1109, 1, 34, 1, 240, {1111, 3, "", 0}, nullptr, 1110, 1112, {830, 831, 832, 833, 0}, 0, 240},
    {12, 1113, 1, 35, 1, 100, {0, 6, "", 1114}, nullptr, 0, 1115, {834, 835, 836, 837, 0}, 2, 100},
    {15, 1116, 1, 39, 1, 240, {0, 6, "", 1117}, nullptr, 0, 1118, {838, 839, 840, 841, 0}, 1, 240},
}};

const TimeItem* FindItem(int item) {
    for (const auto& t : kTimes)
        if (t.item == item) return &t;
    return nullptr;
}

std::string TextOrEmpty(const Texts& s, int id) { return id > 0 ? GetText(s, id) : std::string(); }

std::string ValueText(const Texts& s, const TimeItem& t, int value) {
    if (value >= t.shownMin && value <= t.shownMax) {
        const ValueFormat& f = t.shown;
        std::string before = TextOrEmpty(s, f.textBefore);
        const std::string number = PadSpaces(f.width, value);
        // Texts lose their trailing blanks when the language file is loaded:
        // a number as wide as its field would touch the text ("every240").
        if (!before.empty() && before.back() != ' ' && !number.empty() && number.front() != ' ') before += ' ';
        return before + number + f.unit + TextOrEmpty(s, f.unitText);
    }
    if (value == 0 && t.zeroLiteral) return t.zeroLiteral;
    if (value == 0 && t.zeroText > 0) return GetText(s, t.zeroText);
    return GetText(s, t.otherText);
}

std::string Prompt(Session& s, const TimeItem& t) {
    std::string prompt;
    for (int id : t.prompts) {
        if (id == 0) continue;
        if (!prompt.empty()) prompt += "\n";
        prompt += GetText(s, id);
    }
    return prompt;
}

ListSection TimesList() {
    return {.titleText = kTimesTitleText,
            .blocks = {{kTimesOffset, kTimesLength}},
            .build = RenderTimes,
            .edit = EditTime,
            .stamp = DateStampPolicy::AfterEachWrite};
}

}  // namespace

void RenderTimes(const Page& s, bool print) {
    ClearScreenLines(s);
    if (print) WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kPrintHeading));
    for (const auto& t : kTimes) {
        int line = NewScreenLine(s, 1, t.item);
        int labelColumn = 1 + t.indent;
        WriteScreenField(s, line, labelColumn, kValueColumn - 1, GetText(s, t.label));
        WriteScreenText(s, line, kValueColumn, ValueText(s.texts, t, s.config.ConfigImage[t.cell]));
    }
}

void BuildTimesScreen(Session& s, PrintMode mode) { RenderTimes(PageOf(s), mode == PrintMode::LinesOnly); }

bool EditTime(Session& s, int line) {
    LineDescriptor d = DescriptorOf(s.screen, line);
    const TimeItem* t = d.field != 0 ? FindItem(d.value2) : nullptr;
    if (!t) return false;

    ValueRequest request;
    request.kind = 1;
    request.title = GetText(s, kTimesTitleText);
    request.prompt = Prompt(s, *t);
    request.initialText = std::to_string(s.config.ConfigImage[t->cell]);
    request.minimum = t->acceptMin;
    request.maximum = t->acceptMax;
    request.top = kValueDialogTop;
    request.left = kValueDialogLeft;
    ValueAnswer answer;
    if (AskValue(s, request, answer) != kInputConfirmed) return false;

    return WriteSectionBytes(s, t->cell, {static_cast<Cell>(answer.number)});
}

void TimesSection(Session& s, PrintMode mode, int /*option*/) {
    RunListSection(s, TimesList(), mode);
}

bool PrintTimes(const FileSetImage& set, const Texts& texts, int /*option*/, std::vector<std::string>& lines) {
    return PrintListSection(TimesList(), set, texts, lines);
}

}  // namespace cfg
