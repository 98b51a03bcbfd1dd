#include "SuperiorOptionsEditor.h"

#include <array>
#include <string>
#include <vector>

#include "link/Link.h"
#include "link/Screen.h"
#include "shell/FileNames.h"
#include "shell/Input.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Text.h"
#include "transfer/DateStamp.h"
#include "transfer/SectionBlocks.h"

namespace cfg {

namespace {

constexpr int kTitleText = kSuperiorTitleText;
constexpr int kHeading = 962;
// The headings of the groups; group 4 (the on/off options) has none.
constexpr int kGeneralHeading = 968, kOperatingHeading = 997, kDiallerHeading = 1020, kNetworkHeading = 1023;
constexpr int kLast = kSuperiorOffset + kSuperiorLength - 1;  // 298
constexpr int kCode2Marker = 111;
constexpr int kCode2InUse = 85;
constexpr int kPhoneFirst = 159;
constexpr int kPhoneLength = 15;
constexpr int kPhoneComma = 44;
constexpr int kPhoneEnd = 99;
// The smallest data block the panel may be told to send (0 means 200).
constexpr int kSmallestBlock = 48;
constexpr int kRefusedText = 645;  // "Value not allowed."
constexpr int kBlockSizeRange = 608;  // the values a block size may take
constexpr int kPhoneRules = 1561;  // digits and commas, 15 at most
constexpr int kInvalid = 996;
constexpr int kOnOffQuestion = 641;
// The block-size line has no label id in the option table: its label is
// a text of its own, followed by two blanks like the panel's wording.
constexpr int kBlockSizeText = 1441;
constexpr int kPeripheralNames = 999;    // 999..1001: printer and the two others
constexpr int kPeripheralsPrompt = 610;
constexpr int kPeripheralQuestions = 611;  // 611..613, one for each peripheral
constexpr int kEnabled = 646, kDisabled = 647;
constexpr int kYes = 617, kNo = 618;
constexpr int kSpeedNames = 1076;        // 1076..1079: speed codes 1..4
constexpr int kNewCode2 = 573, kCode2InUseQuestion = 571, kCode2UnusedQuestion = 572;
constexpr int kMonthsPrompt = 642, kMonthsRange = 643;
constexpr const char* kNoBits = ".......................... ----";

enum class Kind {
    kAccessCode1, kAccessCode2, kSetting, kBlockSize, kPeripherals, kMaskA, kMaskB, kReplyTime, kPriority,
    kCount, kNumber, kPhone, kOnOff, kMaintenance, kMaintenanceMonths, kSpeed, kYesNo
};

struct FieldDef {
    int group;
    int item;
    int cell;
    int label;   // text id; 0 = the block-size label
    Kind kind;
    int text1;   // unit / zero text, by kind
    int text2;   // alternative / other text, by kind
    int prompt1, prompt2;
    int minimum, maximum;
    int prompt3 = 0;  // a third prompt line, where the field has one
};

// Line order. Group headings: 1 0968, 2 0997, 3 1020, 5 1023; group 4 has none.
constexpr std::array<FieldDef, 46> kFields{{
    {0, 1, 101, 963, Kind::kAccessCode1, 0, 964, 573, 0, 1, 999999},
    {0, 3, 112, 965, Kind::kAccessCode2, 966, 967, 573, 0, 1, 999999},
    {1, 1, 126, 969, Kind::kSetting, 970, 971, 589, 590, 1, 99},
    {1, 2, 127, 972, Kind::kSetting, 973, 974, 591, 592, 1, 99},
    {1, 3, 128, 975, Kind::kSetting, 976, 977, 593, 594, 1, 99},
    {1, 5, 130, 978, Kind::kSetting, 979, 980, 595, 596, 1, 99},
    {1, 7, 132, 981, Kind::kSetting, 982, 983, 597, 598, 1, 99},
    {1, 9, 134, 984, Kind::kSetting, 985, 986, 599, 600, 1, 99},
    {1, 10, 135, 987, Kind::kSetting, 988, 989, 601, 602, 1, 99},
    {1, 11, 136, 990, Kind::kSetting, 991, 992, 603, 604, 1, 99},
    {1, 13, 138, 993, Kind::kSetting, 994, 995, 605, 606, 1, 99},
    {1, 19, 144, 0, Kind::kBlockSize, 0, kInvalid, 607, 608, 0, 200},
    {2, 0, 147, 998, Kind::kPeripherals, 0, 0, 610, 0, 0, 7},
    {2, 1, 148, 1002, Kind::kMaskA, 0, 0, 614, 615, 0, 15},
    {2, 2, 149, 1003, Kind::kMaskB, 0, 0, 616, 615, 0, 3},
    {2, 3, 150, 1004, Kind::kReplyTime, 0, 1006, 619, 620, 1, 254},
    {2, 4, 151, 1007, Kind::kPriority, 1008, 1009, 621, 622, 1, 99},
    {2, 6, 153, 1010, Kind::kCount, 1011, 1012, 623, 624, 0, 99},
    {2, 7, 154, 1013, Kind::kCount, 1014, 1015, 625, 626, 0, 99},
    {2, 8, 155, 1016, Kind::kNumber, 0, kInvalid, 630, 643, 1, 99},
    {2, 9, 156, 1017, Kind::kNumber, 0, kInvalid, 631, 643, 1, 99},
    {2, 10, 157, 1018, Kind::kNumber, 0, kInvalid, 627, 628, 1, 99, 629},
    {2, 11, 158, 1019, Kind::kNumber, 0, kInvalid, 633, 644, 0, 255},
    {3, 1, 159, 1021, Kind::kPhone, 0, 1022, 632, kPhoneRules, 0, 0},
    {4, 1, 176, 1031, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 2, 177, 1032, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 3, 178, 1033, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 4, 179, 1034, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 5, 180, 1035, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 6, 181, 1036, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 7, 182, 1037, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 8, 183, 1038, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 9, 184, 1039, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 10, 185, 1040, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 11, 186, 1041, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 12, 187, 1042, Kind::kMaintenance, 0, 0, 641, 0, 0, 1},
    {4, 13, 187, 1043, Kind::kMaintenanceMonths, 0, 0, 642, 643, 1, 99},
    {4, 14, 188, 1044, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 15, 189, 1045, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 16, 190, 1046, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {4, 17, 191, 1047, Kind::kOnOff, 0, 0, 641, 0, 0, 1},
    {5, 1, 253, 1024, Kind::kSpeed, 0, 0, 634, 0, 1, 4},
    {5, 2, 254, 1025, Kind::kNumber, 0, kInvalid, 635, 644, 0, 255},
    {5, 3, 255, 1026, Kind::kNumber, 0, kInvalid, 636, 643, 1, 99},
    {5, 4, 256, 1027, Kind::kYesNo, 0, 0, 637, 0, 0, 1},
    {5, 5, 257, 1028, Kind::kYesNo, 0, 0, 638, 0, 0, 1},
}};
// The last two network choices follow the same pattern.
constexpr std::array<FieldDef, 2> kMoreFields{{
    {5, 6, 258, 1029, Kind::kYesNo, 0, 0, 639, 0, 0, 1},
    {5, 7, 259, 1030, Kind::kYesNo, 0, 0, 640, 0, 0, 1},
}};

constexpr int GroupHeading(int group) {
    return group == 1   ? kGeneralHeading
           : group == 2 ? kOperatingHeading
           : group == 3 ? kDiallerHeading
           : group == 5 ? kNetworkHeading
                        : 0;
}

std::vector<const FieldDef*> AllFields() {
    std::vector<const FieldDef*> all;
    for (const auto& f : kFields) all.push_back(&f);
    for (const auto& f : kMoreFields) all.push_back(&f);
    return all;
}

int Byte(const ConfigState& config, int cell) { return config.ConfigImage[cell] & 0xFF; }

// `text` right-aligned in a field of `width` characters filled with dots.
std::string DottedField(const std::string& text, int width) {
    const int length = static_cast<int>(Utf8Length(text));
    if (length >= width) return Utf8Left(text, static_cast<std::size_t>(width));
    return std::string(static_cast<std::size_t>(width - length), '.') + text;
}

std::string AccessCodeText(int length, int badText, const Texts& s) {
    if (length < 1 || length > 6) return GetText(s, badText);
    return DottedField(std::string(static_cast<std::size_t>(length), '*'), 20);
}

std::string MaskText(int value, int bits, const char* const* marks) {
    std::string text;
    for (int b = 0; b < bits; ++b)
        if (value & (1 << b)) text += marks[b];
    return text.empty() ? std::string(kNoBits) : DottedField(text, 32);
}

std::string ValueText(const Page& s, const FieldDef& f) {
    const int v = Byte(s.config, f.cell);
    auto inRange = [&] { return v >= f.minimum && v <= f.maximum; };
    switch (f.kind) {
    case Kind::kAccessCode1: return AccessCodeText(v, f.text2, s.texts);
    case Kind::kAccessCode2:
        if (Byte(s.config, kCode2Marker) != kCode2InUse) return GetText(s, f.text1);
        return AccessCodeText(v, f.text2, s.texts);
    case Kind::kSetting: return inRange() ? GetText(s, f.text1) + PadSpaces(3, v) : GetText(s, f.text2);
    case Kind::kBlockSize:
        if (v == 0) return "200 + 8 ";
        return v >= 48 && v <= 200 ? PadSpaces(3, v) + " + 8 " : GetText(s, f.text2);
    case Kind::kPeripherals: {
        std::string names;
        for (int b = 0; b < 3; ++b)
            if (v & (1 << b)) names += (names.empty() ? " " : ", ") + GetText(s, kPeripheralNames + b);
        return names.empty() ? std::string(kNoBits) : DottedField(names, 32);
    }
    case Kind::kMaskA: {
        static const char* const marks[] = {" ?????,", " ?????,", " ?????,", " ????? "};
        return MaskText(v, 4, marks);
    }
    case Kind::kMaskB: {
        static const char* const marks[] = {" ??????,", " ??????,"};
        return MaskText(v, 2, marks);
    }
    case Kind::kReplyTime: return inRange() ? PadSpaces(3, v) + "s" : GetText(s, f.text2);
    case Kind::kPriority: return v >= 1 && v <= 99 ? GetText(s, f.text1) + PadSpaces(3, v) : GetText(s, f.text2);
    case Kind::kCount:
        if (v == 0) return GetText(s, f.text1);
        return v <= 99 ? PadSpaces(6, v) : GetText(s, f.text2);
    case Kind::kNumber: return inRange() ? PadSpaces(6, v) : GetText(s, f.text2);
    case Kind::kPhone: {
        std::string number;
        for (int i = 0; i < kPhoneLength; ++i) {
            const int c = Byte(s.config, kPhoneFirst + i);
            if (c == kPhoneEnd) break;
            if (c <= 9) number += static_cast<char>('0' + c);
            else if (c == kPhoneComma) number += ',';
            else return GetText(s, f.text2);
        }
        return DottedField(number, 25);
    }
    case Kind::kOnOff: return v == 1 ? GetText(s, kEnabled) : v == 0 ? GetText(s, kDisabled) : GetText(s, kInvalid);
    case Kind::kMaintenance: return v == 0 ? GetText(s, kDisabled) : v <= 99 ? GetText(s, kEnabled) : GetText(s, kInvalid);
    case Kind::kMaintenanceMonths: return v == 0 ? " --" : v <= 99 ? PadSpaces(6, v) : GetText(s, kInvalid);
    case Kind::kSpeed: return inRange() ? GetText(s, kSpeedNames - 1 + v) : GetText(s, kInvalid);
    case Kind::kYesNo: return v == 1 ? GetText(s, kYes) : v == 0 ? GetText(s, kNo) : GetText(s, kInvalid);
    }
    return {};
}

std::string Prompt(Session& s, const FieldDef& f) {
    std::string p = GetText(s, f.prompt1);
    // The on/off question is the same for every option: the option's own
    // label, without its dot leader, comes first so the question names it.
    if (f.prompt1 == kOnOffQuestion && f.label > 0) {
        std::string label = GetText(s, f.label);
        while (!label.empty() && (label.back() == '.' || label.back() == ' ')) label.pop_back();
        p = label + "\n" + p;
    }
    if (f.prompt2 > 0) p += "\n" + GetText(s, f.prompt2);
    if (f.prompt3 > 0) p += "\n" + GetText(s, f.prompt3);
    return p;
}

// A list choice; returns the index, or -1 when cancelled.
int AskList(Session& s, const std::string& prompt, const std::vector<int>& items, int current) {
    ValueRequest request;
    request.kind = 3;
    request.title = GetText(s, kTitleText);
    request.prompt = prompt;
    for (int id : items) request.items.push_back(GetText(s, id));
    request.initialIndex = current >= 0 && current < static_cast<int>(items.size()) ? current : 0;
    ValueAnswer answer;
    if (AskValue(s, request, answer) != kInputConfirmed) return -1;
    return answer.index >= 0 && answer.index < static_cast<int>(items.size()) ? answer.index : -1;
}

bool AskWhole(Session& s, const std::string& prompt, int current, int minimum, int maximum, long& value) {
    return AskNumber(s, ValueTopic::Other, GetText(s, kTitleText), prompt, current, minimum, maximum, value) == kInputConfirmed;
}

// An on/off (or yes/no) choice: item 0 sets 1, item 1 sets 0.
int AskOnOff(Session& s, const std::string& prompt, int onText, int offText, int current) {
    const int chosen = AskList(s, prompt, {onText, offText}, current == 1 ? 0 : 1);
    return chosen < 0 ? -1 : chosen == 0 ? 1 : 0;
}

// The digits of the code stored at `cell` (length, then one digit per byte).
std::string StoredCode(Session& s, int cell) {
    const int length = Byte(s.config, cell);
    std::string digits;
    if (length < 1 || length > 6) return digits;
    for (int i = 1; i <= length; ++i) digits += static_cast<char>('0' + Byte(s.config, cell + i) % 10);
    return digits;
}

bool AskCode(Session& s, int cell, std::vector<Cell>& block, std::string& digits) {
    long value = 0;
    if (!AskWhole(s, GetText(s, kNewCode2), 0, 1, 999999, value)) return false;
    digits = NumberText(static_cast<double>(value));
    block[static_cast<std::size_t>(cell - kSuperiorOffset)] = static_cast<Cell>(digits.size());
    for (std::size_t i = 0; i < digits.size(); ++i)
        block[static_cast<std::size_t>(cell - kSuperiorOffset) + 1 + i] = static_cast<Cell>(digits[i] - '0');
    return true;
}

// Puts an accepted outcome into `block`; a refused one is explained.
bool Take(Session& s, const FieldOutcome& o, std::vector<Cell>& block) {
    if (!o.accepted) {
        ShowAlert(s, GetText(s, o.refusal), GetText(s, o.detail));
        return false;
    }
    for (const auto& [cell, value] : o.changes)
        block[static_cast<std::size_t>(cell - kSuperiorOffset)] = static_cast<Cell>(value);
    return true;
}

// Asks for the field's new value and puts it into `block` (cells 101..298).
// Returns false when nothing changes. `toolCode` receives the digits the
// tool must now send as its own access code ("" for no change).
bool AskField(Session& s, const FieldDef& f, std::vector<Cell>& block, std::string& toolCode) {
    auto set = [&](int cell, int value) { block[static_cast<std::size_t>(cell - kSuperiorOffset)] = static_cast<Cell>(value); };
    const int v = Byte(s.config, f.cell);
    long value = 0;
    switch (f.kind) {
    case Kind::kAccessCode1: {
        std::string digits;
        return AskCode(s, f.cell, block, digits);
    }
    case Kind::kAccessCode2: {
        if (Byte(s.config, kCode2Marker) == kCode2InUse) {
            if (s.ui->MessageBox(GetText(s, kTitleText), GetText(s, kCode2InUseQuestion), MsgButtons::YesNo, MsgIcon::Question) ==
                MsgAnswer::Yes) {
                set(kCode2Marker, 0);  // its digits stay
                return true;
            }
            if (!AskCode(s, f.cell, block, toolCode)) return false;
            return true;
        }
        if (s.ui->MessageBox(GetText(s, kTitleText), GetText(s, kCode2UnusedQuestion), MsgButtons::YesNo, MsgIcon::Question) !=
            MsgAnswer::Yes)
            return false;
        toolCode = StoredCode(s, f.cell);
        // No usable code stored: one has to be given before it is enabled.
        if (toolCode.empty() && !AskCode(s, f.cell, block, toolCode)) return false;
        set(kCode2Marker, kCode2InUse);
        return true;
    }
    case Kind::kBlockSize:
        if (!AskWhole(s, Prompt(s, f), v, 0, 200, value)) return false;
        return Take(s, ApplyBlockSize(f.cell, value), block);
    case Kind::kPeripherals: {
        int mask = v;
        for (int b = 0; b < 3; ++b) {
            const int on = AskOnOff(s, GetText(s, kPeripheralsPrompt) + "\n" + GetText(s, kPeripheralQuestions + b), kYes, kNo, (v >> b) & 1);
            if (on < 0) return false;
            mask = on ? (mask | (1 << b)) : (mask & ~(1 << b));
        }
        set(f.cell, mask);
        return true;
    }
    case Kind::kMaskA:
    case Kind::kMaskB:
        // Only the option's own bits change; the others are kept.
        if (!AskWhole(s, Prompt(s, f), v & f.maximum, 0, f.maximum, value)) return false;
        return Take(s, ApplyMask(f.cell, v, f.maximum, value), block);
    case Kind::kPhone: {
        ValueRequest request;
        request.kind = 2;
        request.title = GetText(s, kTitleText);
        request.prompt = Prompt(s, f);
        std::string current = ValueText(PageOf(s), f);
        request.initialText = current.find_first_not_of('.') == std::string::npos ? std::string() : current.substr(current.find_first_not_of('.'));
        if (current == GetText(s, f.text2)) request.initialText.clear();
        request.maxLength = kPhoneLength;
        ValueAnswer answer;
        if (AskValue(s, request, answer) != kInputConfirmed) return false;
        return Take(s, ApplyPhoneNumber(answer.text), block);
    }
    case Kind::kOnOff: {
        const int on = AskOnOff(s, Prompt(s, f), kEnabled, kDisabled, v);
        if (on < 0) return false;
        set(f.cell, on);
        return true;
    }
    case Kind::kMaintenance: {
        const int on = AskOnOff(s, Prompt(s, f), kEnabled, kDisabled, v >= 1 && v <= 99 ? 1 : 0);
        if (on < 0) return false;
        if (on == 0) {
            set(f.cell, 0);
        } else if (v < 1 || v > 99) {
            if (!AskWhole(s, GetText(s, kMonthsPrompt) + "\n" + GetText(s, kMonthsRange), 12, 1, 99, value)) return false;
            set(f.cell, static_cast<int>(value));
        }
        return true;
    }
    case Kind::kSpeed: {
        const int chosen = AskList(s, Prompt(s, f), {kSpeedNames, kSpeedNames + 1, kSpeedNames + 2, kSpeedNames + 3}, v - 1);
        if (chosen < 0) return false;
        set(f.cell, chosen + 1);
        return true;
    }
    case Kind::kYesNo: {
        const int on = AskOnOff(s, Prompt(s, f), kYes, kNo, v);
        if (on < 0) return false;
        set(f.cell, on);
        return true;
    }
    default:
        if (!AskWhole(s, Prompt(s, f), v, f.minimum, f.maximum, value)) return false;
        set(f.cell, static_cast<int>(value));
        return true;
    }
}

const FieldDef* FieldOf(Session& s, int line) {
    LineDescriptor d = DescriptorOf(s.screen, line);
    if (d.field == 0) return nullptr;
    for (const FieldDef* f : AllFields())
        if (f->group == d.field - 1 && f->item == d.value2) return f;
    return nullptr;
}

}  // namespace

void BuildSuperiorScreen(Session& s) { RenderSuperior(PageOf(s)); }

void RenderSuperior(const Page& s) {
    ClearScreenLines(s);
    WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kHeading));
    int group = 0;
    for (const FieldDef* f : AllFields()) {
        if (f->group != group) {
            group = f->group;
            NewScreenLine(s);
            NewScreenLine(s);
            if (GroupHeading(group) > 0) WriteScreenText(s, NewScreenLine(s), 1, GetText(s, GroupHeading(group)));
        }
        const int line = NewScreenLine(s, static_cast<int16_t>(f->group + 1), static_cast<int16_t>(f->item),
                                       static_cast<int16_t>(f->cell));
        const std::string label = f->label > 0 ? GetText(s, f->label) : GetText(s, kBlockSizeText) + "  ";
        std::string value = ValueText(s, *f);
        if (!value.empty() && value[0] != ' ' && value[0] != '.' && f->label > 0) value.insert(0, " ");
        WriteScreenText(s, line, 2, label + value);
    }
}

bool EditSuperiorLine(Session& s, int line) {
    const FieldDef* f = FieldOf(s, line);
    if (!f) return false;
    std::vector<Cell> block;
    for (int cell = kSuperiorOffset; cell <= kLast; ++cell) block.push_back(s.config.ConfigImage[cell]);
    std::string toolCode;
    bool written = false;
    if (AskField(s, *f, block, toolCode)) {
        written = WriteSectionBytes(s, kSuperiorOffset, block);
        // From now on the panel asks for code 2: the next frames carry it.
        if (written && !toolCode.empty() && s.config.ConfigImage[kCode2Marker] == kCode2InUse)
            EncodeAccessCode(s.link, toolCode);
    }
    BuildSuperiorScreen(s);
    RefreshScreen(s);
    SelectScreenLine(s, line);
    return written;
}

void SuperiorOptionsSection(Session& s, PrintMode mode, int /*option*/) {
    if (!LoadSectionBlock(s, kSuperiorOffset, kSuperiorLength)) {
        EndSection(s);
        return;
    }
    BuildSuperiorScreen(s);
    if (mode == PrintMode::LinesOnly) {
        EndSection(s);
        return;
    }
    ShowEditScreen(s, GetText(s, kTitleText));
    RefreshScreen(s);
    if (SelectedScreenLine(s) == 0) MoveToEditableLine(s, +1);
    RunEditLoop(s, [&s](int line) {
        if (!EditSuperiorLine(s, line) || s.config.DateStamped) return;
        static_cast<void>(StampDate(s));
        // The block spans the identification: keep its new date in the
        // image, or the next write of the block would put the old one back.
        if (s.config.DateStamped)
            for (int i = 1; i <= kIdentBlockSize; ++i)
                s.config.ConfigImage[kIdentBlockOffset - 1 + i] = s.config.IdentBuffer[i];
    });
    EndSection(s);
}

bool PrintSuperiorOptions(const FileSetImage& set, const Texts& texts, int /*option*/, std::vector<std::string>& lines) {
    return PrintListSection({.blocks = {{kSuperiorOffset, kSuperiorLength}}, .build = [](const Page& p, bool) {
                                 RenderSuperior(p);
                             }},
                            set, texts, lines);
}

FieldOutcome ApplyBlockSize(int cell, long value) {
    if (value >= 1 && value < kSmallestBlock) return {.refusal = kRefusedText, .detail = kBlockSizeRange};
    return {.accepted = true, .changes = {{cell, static_cast<int>(value)}}};
}

FieldOutcome ApplyMask(int cell, int current, int bits, long value) {
    return {.accepted = true, .changes = {{cell, (current & ~bits) | (static_cast<int>(value) & bits)}}};
}

FieldOutcome ApplyPhoneNumber(const std::string& text) {
    const std::string number = Trim(text);
    if (number.size() > kPhoneLength || number.find_first_not_of("0123456789,") != std::string::npos)
        return {.refusal = kRefusedText, .detail = kPhoneRules};
    FieldOutcome o{.accepted = true};
    for (std::size_t i = 0; i < number.size(); ++i)
        o.changes.emplace_back(kPhoneFirst + static_cast<int>(i), number[i] == ',' ? kPhoneComma : number[i] - '0');
    if (number.size() < kPhoneLength) o.changes.emplace_back(kPhoneFirst + static_cast<int>(number.size()), kPhoneEnd);
    return o;
}

}  // namespace cfg
