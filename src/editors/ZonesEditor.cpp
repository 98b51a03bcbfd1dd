#include "ZonesEditor.h"

#include <string>
#include <vector>

#include "transfer/SectionBlocks.h"
#include "transfer/DateStamp.h"
#include "link/Screen.h"
#include "shell/Input.h"
#include "shell/Language.h"
#include "shell/Text.h"

namespace cfg {

namespace {

constexpr int kPointsHeading = 1053;
constexpr int kSensorLabel = 1054;  // loop addresses 1..100
constexpr int kModuleLabel = 1208;  // loop addresses 101..200
constexpr int kZonesHeading = 1055;
constexpr int kZoneTypeLabel = 1056;
constexpr int kLoopFaultsHeading = 1063;
constexpr int kLoopFaultLabel = 1064;
constexpr int kModule1Text = 1065;
constexpr int kModule2Text = 1066;
constexpr int kZoneActivatedText = 1067;

// Prompts of the line editors.
constexpr int kEditPointTitle = 1150;
constexpr int kPointNumberText = 1151;
constexpr int kChooseZoneOrType = 1152;
constexpr int kPointZoneTitle = 1153;
constexpr int kPointZonePrompt = 1154;
constexpr int kPointZoneHint = 1155;
constexpr int kPointTypeTitle = 1156;
constexpr int kPointTypePrompt = 1157;
constexpr int kVariantTitle = 1168;
constexpr int kVariantPrompt = 1169;
constexpr int kVariantHint = 1170;
constexpr int kLoopFaultTitle = 1171;
constexpr int kLoopFaultPrompt = 1172;
constexpr int kLoopFaultHint = 1173;
constexpr int kZoneTypeCaption1 = 1174;
constexpr int kZoneTypeCaption2 = 1175;  // carries the list
constexpr int kZoneTypeCaption3 = 1176;
constexpr int kSensitivityTitle = 1183;
constexpr int kSensitivityPrompt = 1184;
constexpr int kFunctionTitle = 1185;
constexpr int kFunctionPrompt = 1186;
constexpr int kClearPointQuestion = 1189;
constexpr int kClearPointDetail = 1190;
constexpr int kZoneNumberText = 1192;

constexpr int kDialogTop = 2300;
constexpr int kDialogLeft = 800;

// Point line columns.
constexpr int kLabelColumn = 6;
constexpr int kZoneColumn = 14;
constexpr int kTypeColumn = 17;
constexpr int kLogicColumn = 39;
constexpr int kLogicLastColumn = 67;  // a blank, then the reference tag
// Zone lines: the label and the type share a dotted field of this width.
constexpr int kZoneTypeField = 36;
constexpr int kZoneTypeColumn = 7;

// Where a loop module's points begin to be modules rather than sensors.
constexpr int kFirstModuleAddress = 101;

// The types the point-type choice offers, in its order (texts 1158..1167).
struct PointTypeChoice {
    int type;
    int variant;  // -1: the variant is asked after the type
};
constexpr std::array<PointTypeChoice, 10> kPointTypes{{
    {0, 0}, {1, -1}, {2, -1}, {3, -1}, {7, -1}, {9, -1}, {10, 1}, {10, kOutputModuleVariant}, {11, -1}, {12, -1},
}};
constexpr int kFirstPointTypeText = 1158;

std::string Lines(Session& s, std::initializer_list<int> ids) {
    std::string text;
    for (int id : ids) {
        if (!text.empty()) text += "\n";
        text += GetText(s, id);
    }
    return text;
}

// `label`, a run of dots and " value" in exactly `width` characters; a
// value too long for the field keeps its first characters.
std::string DottedField(const std::string& label, const std::string& value, int width) {
    const auto w = static_cast<std::size_t>(width);
    const std::size_t used = Utf8Length(label) + 1 + Utf8Length(value);
    if (used >= w) return Utf8PadRight(label + " " + value, w);
    return label + std::string(w - used, '.') + " " + value;
}

int ZoneTypeText(int value) {
    for (const ZoneType& z : kZoneTypes)
        if (z.value == value) return z.listText;
    return kOtherZoneTypeText;
}

std::string PointLabel(const Texts& s, int point) {
    return GetText(s, IndexInModule(point) < kFirstModuleAddress ? kSensorLabel : kModuleLabel);
}

void BuildPointLine(const Page& s, int point) {
    const PointEntry e = PointInImage(s.config, point);
    const int line = NewScreenLine(s, kPointLine, static_cast<int16_t>(point),
                                   static_cast<int16_t>(e.type == kTypeModule ? kTypeModule : 0));
    WriteScreenText(s, line, 1, PadSpaces(3, point) + ": ");
    WriteScreenField(s, line, kLabelColumn, kZoneColumn - 1, PointLabel(s.texts, point));
    WriteScreenText(s, line, kZoneColumn, PadSpaces(2, e.group));
    WriteScreenText(s, line, kTypeColumn, SensorTypeName(s.texts, e.type, e.variant));
    // A free point has no logic to describe.
    if (e.Configured()) WriteScreenField(s, line, kLogicColumn, kLogicLastColumn, PointLogicText(s.texts, e, point));
    TagModuleRef(s, ModuleOfPoint(point), IndexInModule(point));
}

void BuildZoneLine(const Page& s, int zone) {
    const int value = s.config.ConfigImage[kFirstZoneCell + zone - 1];
    const int line = NewScreenLine(s, kZoneLine, static_cast<int16_t>(zone));
    WriteScreenText(s, line, 1, PadSpaces(2, zone) + " : ");
    WriteScreenText(s, line, kZoneTypeColumn,
                    DottedField(GetText(s, kZoneTypeLabel), GetText(s, ZoneTypeText(value)), kZoneTypeField));
}

// Entries 1..8 report the faults of loop module 1, entries 9..16 those of
// module 2. When the module directory does not declare that module, " !!"
// follows the module's name: the entry can never be raised as configured.
void BuildLoopFaultLine(const Page& s, int entry, const LoopModuleMarks& marks) {
    const int module = entry <= kLoopFaultEntries / 2 ? 1 : 2;
    const int zone = s.config.ConfigImage[kFirstLoopFaultCell + entry - 1];
    const int line = NewScreenLine(s, kLoopFaultLine, static_cast<int16_t>(entry));
    std::string text = PadSpaces(2, entry) + " " + GetText(s, kLoopFaultLabel) + " (" +
                       GetText(s, module == 1 ? kModule1Text : kModule2Text) + ")";
    if (!marks.present[static_cast<std::size_t>(module)]) text += " !!";
    // 0 or a value above 32 activates no zone.
    text += zone >= 1 && zone <= kZoneCount ? ": " + PadSpaces(2, zone) + GetText(s, kZoneActivatedText) : ": --";
    WriteScreenText(s, line, 1, text);
}

// Writes the whole block at `offset` with `cell` changed to `value`. The
// image takes the new value only once the source holds it.
bool WriteBlockWith(Session& s, int offset, int size, const std::vector<std::pair<int, int>>& changes) {
    std::vector<Cell> block(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i) block[static_cast<std::size_t>(i)] = s.config.ConfigImage[offset + i];
    for (auto [cell, value] : changes) block[static_cast<std::size_t>(cell - offset)] = static_cast<Cell>(value);
    return WriteSectionBytes(s, offset, block);
}

ValueRequest NumberRequest(Session& s, int title, const std::string& prompt, long initial, int minimum,
                           int maximum) {
    ValueRequest r;
    r.kind = 1;
    r.title = GetText(s, title);
    r.prompt = prompt;
    r.initialText = std::to_string(initial);
    r.minimum = minimum;
    r.maximum = maximum;
    r.top = kDialogTop;
    r.left = kDialogLeft;
    return r;
}

// Asks a whole number; false when the user cancelled.
bool AskWhole(Session& s, const ValueRequest& r, int& value) {
    ValueAnswer answer;
    if (AskValue(s, r, answer) != kInputConfirmed) return false;
    value = static_cast<int>(answer.number);
    return true;
}

std::string PointHeading(Session& s, int point) {
    return GetText(s, kPointNumberText) + " " + std::to_string(point) + " - " + PointLabel(s.texts, point);
}

// The zone of the point: 1..32, only the zone bits change.
bool AskPointGroup(Session& s, int point, PointEntry& e) {
    int zone = 0;
    ValueRequest r = NumberRequest(s, kPointZoneTitle,
                                   PointHeading(s, point) + "\n" + Lines(s, {kPointZonePrompt, kPointZoneHint}),
                                   e.group, 1, kZoneCount);
    if (!AskWhole(s, r, zone)) return false;
    e.group = zone;
    return true;
}

int PointTypeIndex(const PointEntry& e) {
    for (std::size_t i = 0; i < kPointTypes.size(); ++i) {
        const PointTypeChoice& c = kPointTypes[i];
        if (c.type != e.type) continue;
        if (c.type != kTypeModule || (c.variant == kOutputModuleVariant) == e.IsOutputModule())
            return static_cast<int>(i);
    }
    return 0;
}

// The type of the point, then what the type needs (the rules: ClearedPoint,
// AsModule, AsSensor): no device after a confirmation; for a module its
// function number; for any other type its variant and sensitivity.
bool AskPointType(Session& s, int point, PointEntry& e) {
    ValueRequest r;
    r.kind = 3;
    r.title = GetText(s, kPointTypeTitle);
    r.prompt = PointHeading(s, point) + "\n" + GetText(s, kPointTypePrompt);
    for (std::size_t i = 0; i < kPointTypes.size(); ++i)
        r.items.push_back(GetText(s, kFirstPointTypeText + static_cast<int>(i)));
    r.initialIndex = PointTypeIndex(e);
    r.top = kDialogTop;
    r.left = kDialogLeft;
    ValueAnswer answer;
    if (AskValue(s, r, answer) != kInputConfirmed) return false;
    if (answer.index < 0 || answer.index >= static_cast<int>(kPointTypes.size())) return false;
    const PointTypeChoice& choice = kPointTypes[static_cast<std::size_t>(answer.index)];

    if (choice.type == kTypeFree) {
        if (!e.Configured()) return true;
        if (s.ui->MessageBox(GetText(s, kEditPointTitle), Lines(s, {kClearPointQuestion, kClearPointDetail}),
                             MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
            return false;
        e = ClearedPoint(e);
        return true;
    }
    if (choice.type == kTypeModule) {
        int function = 0;
        if (!AskWhole(s, NumberRequest(s, kFunctionTitle, PointHeading(s, point) + "\n" + GetText(s, kFunctionPrompt),
                                       ModuleFunctionOffered(e), 0, 15),
                      function))
            return false;
        e = AsModule(e, choice.variant == kOutputModuleVariant, function);
        return true;
    }
    int variant = 0, sensitivity = 0;
    if (!AskWhole(s, NumberRequest(s, kVariantTitle,
                                   PointHeading(s, point) + "\n" + Lines(s, {kVariantPrompt, kVariantHint}),
                                   VariantOffered(e, choice.type), 1, 5),
                  variant))
        return false;
    if (!AskWhole(s, NumberRequest(s, kSensitivityTitle, PointHeading(s, point) + "\n" + GetText(s, kSensitivityPrompt),
                                   SensitivityOffered(e), 0, 5),
                  sensitivity))
        return false;
    e = AsSensor(e, choice.type, variant, sensitivity);
    return true;
}

ListSection ZonesList() {
    // The zone block and the module directory first, then the point block.
    return {.titleText = kZonesTitleText,
            .blocks = {{kZoneBlockOffset, kZoneBlockSize},
                       {kModuleDirectoryOffset, kModuleDirectorySlots},
                       {kPointConfigOffset, kPointConfigSize}},
            .build = [](const Page& p, bool) { RenderZones(p); },
            .edit = EditZonesLine,
            .stamp = DateStampPolicy::AfterEachWrite};
}

}  // namespace

void BuildZonesScreen(Session& s) { RenderZones(PageOf(s)); }

void RenderZones(const Page& s) {
    const LoopModuleMarks marks = ReadLoopModuleMarks(s.config);
    ClearScreenLines(s);
    WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kPointsHeading));
    for (int p = 1; p <= kLoopPoints; ++p) BuildPointLine(s, p);
    NewScreenLine(s);
    WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kZonesHeading));
    for (int z = 1; z <= kZoneCount; ++z) BuildZoneLine(s, z);
    NewScreenLine(s);
    WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kLoopFaultsHeading));
    for (int e = 1; e <= kLoopFaultEntries; ++e) BuildLoopFaultLine(s, e, marks);
}

bool EditPoint(Session& s, int point) {
    if (point < 1 || point > kLoopPoints) return false;
    const PointEntry before = PointInImage(s, point);

    SensorInputRequest request;
    request.title = GetText(s, kEditPointTitle);
    request.prompt = PointHeading(s, point) + "\n" + PadSpaces(2, before.group) + "  " +
                     SensorTypeName(s, before.type, before.variant) + "\n";
    if (before.Configured()) request.prompt += PointLogicText(s, before, point);
    request.prompt += "\n" + GetText(s, kChooseZoneOrType);
    const int action = s.ui->AskSensorInput(request);

    // OK changes both: the zone first, then the type.
    PointEntry e = before;
    switch (action) {
    case kSensorInputGroup:
        if (!AskPointGroup(s, point, e)) return false;
        break;
    case kSensorInputType:
        if (!AskPointType(s, point, e)) return false;
        break;
    case kSensorInputOk:
        if (!AskPointGroup(s, point, e) || !AskPointType(s, point, e)) return false;
        break;
    default: return false;
    }
    if (e.Byte1() == before.Byte1() && e.Byte2() == before.Byte2()) return false;

    const int cell = PointConfigCell(point);
    const bool written =
        WriteBlockWith(s, kPointConfigOffset, kPointConfigSize, {{cell, e.Byte1()}, {cell + 1, e.Byte2()}});
    return written;
}

bool EditZoneType(Session& s, int zone) {
    if (zone < 1 || zone > kZoneCount) return false;
    const int cell = kFirstZoneCell + zone - 1;
    const int current = s.config.ConfigImage[cell];

    ValueRequest r;
    r.kind = 3;
    r.title = GetText(s, kZoneNumberText) + " " + std::to_string(zone);
    r.prompt = Lines(s, {kZoneTypeCaption1, kZoneTypeCaption2, kZoneTypeCaption3});
    r.initialIndex = 0;
    for (std::size_t k = 0; k < kZoneTypes.size(); ++k) {
        r.items.push_back(std::to_string(k + 1) + "  " + GetText(s, kZoneTypes[k].choiceText));
        if (kZoneTypes[k].value == current) r.initialIndex = static_cast<int>(k);
    }
    r.top = kDialogTop;
    r.left = kDialogLeft;
    ValueAnswer answer;
    if (AskValue(s, r, answer) != kInputConfirmed) return false;
    if (answer.index < 0 || answer.index >= static_cast<int>(kZoneTypes.size())) return false;
    const int value = kZoneTypes[static_cast<std::size_t>(answer.index)].value;
    if (value == current) return false;

    const bool written = WriteBlockWith(s, kZoneBlockOffset, kZoneBlockSize, {{cell, value}});
    return written;
}

bool EditLoopFault(Session& s, int entry) {
    if (entry < 1 || entry > kLoopFaultEntries) return false;
    const int cell = kFirstLoopFaultCell + entry - 1;
    const int current = s.config.ConfigImage[cell];
    // The dialog starts from the value held, even one it will not accept
    // (above 32), so the user sees what is there.
    int zone = 0;
    ValueRequest r = NumberRequest(s, kLoopFaultTitle,
                                   GetText(s, kLoopFaultTitle) + " " + std::to_string(entry) + "\n" +
                                       Lines(s, {kLoopFaultPrompt, kLoopFaultHint}),
                                   current, 0, kZoneCount);
    if (!AskWhole(s, r, zone) || zone == current) return false;

    const bool written = WriteBlockWith(s, kZoneBlockOffset, kZoneBlockSize, {{cell, zone}});
    return written;
}

bool EditZonesLine(Session& s, int line) {
    const LineDescriptor d = DescriptorOf(s.screen, line);
    switch (d.field) {
    case kPointLine: return EditPoint(s, d.value2);
    case kZoneLine: return EditZoneType(s, d.value2);
    case kLoopFaultLine: return EditLoopFault(s, d.value2);
    default: return false;
    }
}

void ZonesSection(Session& s, PrintMode mode, int /*option*/) {
    RunListSection(s, ZonesList(), mode);
}

bool PrintZones(const FileSetImage& set, const Texts& texts, int /*option*/, std::vector<std::string>& lines) {
    return PrintListSection(ZonesList(), set, texts, lines);
}

PointEntry ClearedPoint(const PointEntry& e) {
    PointEntry cleared;
    cleared.group = e.group;
    return cleared;
}

int ModuleFunctionOffered(const PointEntry& e) { return e.type == kTypeModule ? e.ModuleFunction() : 0; }

PointEntry AsModule(const PointEntry& e, bool output, int function) {
    PointEntry next = e;
    next.type = kTypeModule;
    if (output) next.variant = kOutputModuleVariant;
    else if (e.variant == 0 || e.variant == kOutputModuleVariant) next.variant = 1;
    next.options = function & 7;
    next.flag = (function >> 3) & 1;
    return next;
}

int VariantOffered(const PointEntry& e, int type) {
    if (e.variant >= 1 && e.variant <= 5) return e.variant;
    return type == kTypeManualCallPoint ? 2 : 1;
}

int SensitivityOffered(const PointEntry& e) { return e.type != kTypeModule && e.options <= 5 ? e.options : 0; }

PointEntry AsSensor(const PointEntry& e, int type, int variant, int sensitivity) {
    PointEntry next = e;
    next.type = type;
    next.variant = variant;
    next.options = sensitivity;
    return next;
}

}  // namespace cfg
