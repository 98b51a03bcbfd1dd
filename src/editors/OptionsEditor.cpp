#include "OptionsEditor.h"

#include <array>
#include <string>
#include <vector>

#include "transfer/SectionBlocks.h"
#include "link/Screen.h"
#include "shell/Language.h"

namespace cfg {

namespace {

constexpr int kPrintHeading = 869;
constexpr int kCurrentValueText = 789;  // "current value:" line of the menus
constexpr int kLabelColumn = 2;
constexpr int kValueColumn = 40;
constexpr int kValueLastColumn = 68;    // the reference tag follows

struct OptionRow {
    int16_t k;          // the option's byte is at offset 41 + k
    int label;          // text id; 0 = the option has no line
    int firstValue;     // text of code 0; code c reads text firstValue + c
    int valueCount;     // codes that have their own text
    int otherText;      // any other code
    int menuTitle, prompt1, prompt2;
    int firstItem;      // menu item i (0-based) sets code i
    int itemCount;
};

// In list order. Options 0, 1, 7, 9, 10 and the bytes after 25 are kept as read.
constexpr std::array<OptionRow, 21> kOptions{{
    // k  label values    other  menu texts        items
    {2, 870, 871, 4, 875, 651, 652, 653, 654, 4},
    {3, 876, 877, 4, 881, 658, 659, 660, 661, 4},
    {4, 882, 883, 2, 885, 665, 666, 667, 668, 2},
    {5, 886, 887, 4, 891, 670, 671, 672, 673, 5},
    {6, 892, 893, 2, 895, 678, 679, 680, 681, 3},
    {8, 896, 897, 8, 905, 684, 685, 686, 687, 9},
    {11, 906, 907, 2, 909, 696, 697, 698, 699, 3},
    {12, 910, 911, 8, 919, 702, 703, 704, 705, 9},
    {13, 920, 921, 2, 923, 714, 715, 716, 717, 2},
    {14, 0, 0, 0, 0, 719, 720, 721, 722, 2},
    {15, 0, 0, 0, 0, 724, 725, 726, 727, 2},
    {16, 0, 0, 0, 0, 729, 730, 731, 732, 2},
    {17, 0, 0, 0, 0, 734, 735, 736, 737, 2},
    {18, 924, 925, 6, 931, 739, 740, 741, 742, 6},
    {19, 932, 933, 3, 936, 748, 749, 750, 751, 4},
    {20, 937, 938, 2, 940, 755, 756, 757, 758, 3},
    {21, 941, 942, 2, 944, 761, 762, 763, 764, 2},
    {22, 945, 946, 6, 952, 766, 767, 768, 769, 7},
    {23, 953, 954, 2, 956, 776, 777, 778, 779, 3},
    {24, 957, 958, 3, 961, 782, 783, 784, 785, 4},
    {25, 1210, 1211, 4, 1215, 1430, 1431, 1432, 1433, 4},
}};

const OptionRow* FindOption(int k) {
    for (const auto& o : kOptions)
        if (o.k == k) return &o;
    return nullptr;
}

int CellOf(const OptionRow& o) { return kOptionsOffset + o.k; }

// The option's value in words; an option without a line reads as its code.
std::string ValueText(const Texts& t, const OptionRow& o, int code) {
    if (o.label == 0) return std::to_string(code);
    if (code >= 0 && code < o.valueCount) return GetText(t, o.firstValue + code);
    return GetText(t, o.otherText);
}

ListSection OptionsList() {
    return {.titleText = kOptionsTitleText,
            .blocks = {{kOptionsOffset, kOptionsLength}},
            .build = RenderOptions,
            .edit = EditOptionLine,
            .stamp = DateStampPolicy::OnLeaveIfWritten};
}

}  // namespace

void RenderOptions(const Page& s, bool print) {
    ClearScreenLines(s);
    if (print) WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kPrintHeading));
    for (const auto& o : kOptions) {
        if (o.label == 0) continue;
        int code = s.config.ConfigImage[CellOf(o)];
        int line = NewScreenLine(s, 1, o.k);
        WriteScreenField(s, line, kLabelColumn, kValueColumn - 1, GetText(s, o.label));
        WriteScreenField(s, line, kValueColumn, kValueLastColumn, ValueText(s.texts, o, code));
        TagModuleRef(s, CellOf(o), code);
    }
}

void BuildOptionsScreen(Session& s, PrintMode mode) { RenderOptions(PageOf(s), mode == PrintMode::LinesOnly); }

bool ChangeOption(Session& s, int k) {
    const OptionRow* o = FindOption(k);
    if (!o) return false;
    int code = s.config.ConfigImage[CellOf(*o)];

    ChoiceRequest menu;
    menu.title = GetText(s, o->menuTitle);
    menu.prompts = {GetText(s, o->prompt1), GetText(s, o->prompt2),
                    GetText(s, kCurrentValueText) + " " + ValueText(s.texts, *o, code)};
    for (int i = 0; i < o->itemCount; ++i) menu.items.push_back(GetText(s, o->firstItem + i));
    menu.current = (code >= 0 && code < o->itemCount) ? code : 0;
    menu.top = kValueDialogTop;
    menu.left = kValueDialogLeft;
    int chosen = s.ui->AskChoice(menu);
    if (chosen < 0 || chosen >= o->itemCount) return false;

    return WriteSectionBytes(s, CellOf(*o), {static_cast<Cell>(chosen)});
}

bool EditOptionLine(Session& s, int line) {
    LineDescriptor d = DescriptorOf(s.screen, line);
    if (d.field == 0) return false;
    return ChangeOption(s, d.value2);
}

void OptionsSection(Session& s, PrintMode mode, int /*option*/) {
    RunListSection(s, OptionsList(), mode);
}

bool PrintOptions(const FileSetImage& set, const Texts& texts, int /*option*/, std::vector<std::string>& lines) {
    return PrintListSection(OptionsList(), set, texts, lines);
}

}  // namespace cfg
