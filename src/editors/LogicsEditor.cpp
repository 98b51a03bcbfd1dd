#include "LogicsEditor.h"

#include <fstream>
#include <string>
#include <vector>

#include "LogicTexts.h"
#include "config/Files.h"
#include "config/Layout.h"
#include "link/PanelCommands.h"
#include "link/Screen.h"
#include "transfer/Blocks.h"
#include "transfer/DateStamp.h"
#include "transfer/SectionBlocks.h"
#include "shell/Input.h"
#include "shell/Language.h"
#include "shell/ErrorHandler.h"
#include "shell/Messages.h"

namespace cfg {

namespace {

constexpr int kBlockField = 1;  // descriptor field of a block line
constexpr PanelEntry kPanelLogicEntry = PanelEntry::Logics;
constexpr PanelEntry kPanelLogicLengthEntry = PanelEntry::LogicsLength;
constexpr int kThresholdAboveAnds = 1560;

// Column where a defined block's line shows its output and conditions.
constexpr int kListDetailColumn = 30;

// Texts.
constexpr int kWrongSize = 1233, kWrongSizeHint = 1234;
constexpr int kMemoryFull = 1410, kMemoryFullHint = 1411;
constexpr int kFunctionBlock = 176;
constexpr int kLinkedOutput = 181;
constexpr int kUnsavedChanges = 194;
constexpr int kProgrammed = 195, kProgrammedOptional = 196, kBlockWord = 197;
constexpr int kFreeBlock = 198, kEmptyMark = 199;
constexpr int kConditionsFull = 243, kConditionsFullHint = 244;
constexpr int kCategoryBefore = 254;  // categories 1.. are texts 255..
constexpr int kAddCondition = 274, kChooseState = 280;
constexpr int kChooseZone = 275, kChoosePoint = 276, kChooseBlock = 277, kChooseClockChannel = 278, kChooseAuxInput = 279;
constexpr int kConditionTwice = 281, kChooseTypeFirst = 282, kNotSelectable = 283;
constexpr int kChooseAnd = 286, kChooseOr = 287;
constexpr int kDeleteCondition = 288, kChooseConditionFirst = 289, kDeleteBlock = 290;
constexpr int kCopyTitle = 291, kCopyPrompt = 292, kReplaceTarget = 293;
constexpr int kOutputTwice = 294, kOutputNumber = 295, kNoOutput = 296, kNoDelay = 297;
constexpr int kAreaEmptied = 303;

// --- reading and writing the area ----------------------------------------

bool RefuseSize(Session& s) {
    ShowAlert(s, GetText(s, kWrongSize), GetText(s, kWrongSizeHint));
    s.link.LinkStatus = status::kRefused;
    return false;
}

// The area's address in the open source, after checking its size.
bool LogicAddress(Session& s, long& address) {
    if (s.config.ConfigSource == ConfigSource::File) {
        std::fstream file;
        bool opened = false;
        {
            QuietFileErrors quiet(s);
            opened = OpenConfigPart(s, s.config.ConfigFileName, kLogicFile, file);
        }
        if (!opened) {
            ReportFileError(s);
            s.link.LinkStatus = status::kNoSource;
            return false;
        }
        if (FileLength(file) != kLogicAreaBytes) return RefuseSize(s);
        address = 0;
        return true;
    }
    if (s.config.ConfigSource == ConfigSource::Panel) {
        if (!ReadMemoryMap(s).Done()) return false;
        if (s.config.AddressDirectory[kPanelLogicLengthEntry] != kLogicStreamBytes) return RefuseSize(s);
        address = s.config.AddressDirectory[kPanelLogicEntry];
        return true;
    }
    s.link.LinkStatus = status::kNoSource;
    return false;
}

void ReadTable(const ConfigState& c, LogicEditorState& e) {
    std::vector<uint8_t> stream(kLogicStreamBytes);
    for (int i = 0; i < kLogicStreamBytes; ++i)
        stream[static_cast<std::size_t>(i)] = static_cast<uint8_t>(c.ConfigImage[i + 1] & 0xFF);
    e.table = ParseLogicStream(stream, &e.report);
    e.outputs = LogicOutputTable(e.table);
}

// --- the list ---------------------------------------------------------------

int CountOf(const LogicBlock& b, bool orList) {
    int n = 0;
    for (uint16_t c : b.conditions) n += IsOrCondition(c) == orList ? 1 : 0;
    return n;
}

// --- the block window -----------------------------------------------------------

// The conditions of one list (AND or OR) with their positions in the block.
std::vector<std::size_t> ListPositions(const LogicBlock& b, bool orList) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < b.conditions.size(); ++i)
        if (IsOrCondition(b.conditions[i]) == orList) at.push_back(i);
    return at;
}

LogicBlockView ViewOf(Session& s, const LogicBlock& b, int number) {
    LogicBlockView v;
    v.blockName = LogicBlockName(number);
    for (uint16_t c : b.conditions) (IsOrCondition(c) ? v.orLines : v.andLines).push_back(ConditionText(s, c, false));
    v.threshold = b.Type() == 1 ? std::to_string(b.Threshold()) : "-";
    v.output = LogicOutputText(s, b.OutputNumber());
    v.activationDelay = b.ActivationDelay() ? LogicDelayText(s, b.ActivationDelay()) : GetText(s, kNoDelay);
    v.deactivation = LogicDeactivationText(s, b.Deactivation());
    v.sentence = b.Defined() ? LogicBlockSentence(s, b) : GetText(s, kFreeBlock) + PadZeros(2, number) + GetText(s, kEmptyMark);
    v.fields = LogicFieldsText(b);
    return v;
}

// Words the table must still take for `b` to become `after`.
int GrowthOf(const LogicBlock& before, int afterWords) { return afterWords - (before.Defined() ? before.Words() : 0); }

bool CheckCapacity(Session& s, const LogicTable& t, int extraWords) {
    if (LogicFits(t, extraWords)) return true;
    ShowAlert(s, GetText(s, kMemoryFull), GetText(s, kMemoryFullHint));
    return false;
}

// Writes the block back into the table the way the editor stores every
// block: header bit 15 set, W1 with the condition count.
void StoreBlock(LogicEditorState& e, LogicBlock& b, int number) {
    b.header = MakeLogicHeader(number, b.Type(), b.Threshold());
    b.w1 = static_cast<uint16_t>((b.conditions.size() & 31) << 11 | (b.w1 & 0x7FF));
    e.table[number] = b;
    e.outputs = LogicOutputTable(e.table);
    e.modified = true;
}

bool Confirm(Session& s, int textId) {
    return s.ui->MessageBox(GetText(s, kFunctionBlock), GetText(s, textId), MsgButtons::YesNo, MsgIcon::Question) ==
           MsgAnswer::Yes;
}

void Tell(Session& s, int textId) {
    s.ui->MessageBox(GetText(s, kFunctionBlock), GetText(s, textId), MsgButtons::Ok, MsgIcon::Exclamation);
}

}  // namespace

ConditionOutcome RoomForCondition(const LogicTable& t, const LogicBlock& b, int number) {
    ConditionOutcome o;
    if (number < 1 || number > kLogicBlockCount) return o;  // no such block, nothing to say
    if (static_cast<int>(b.conditions.size()) >= kLogicMaxConditions) {
        o.refusal = kConditionsFull;
        o.detail = kConditionsFullHint;
    } else if (!LogicFits(t, GrowthOf(t[number], b.Words() + 1))) {
        o.refusal = kMemoryFull;
        o.detail = kMemoryFullHint;
    } else {
        o.accepted = true;
    }
    return o;
}

int ChooserEntryRefusal(int entry) {
    if (entry < 1 || entry > kChooserEntries) return kChooseTypeFirst;
    return ChooserObjects(entry) == LogicObjectKind::None ? kNotSelectable : 0;
}

ConditionOutcome ApplyCondition(const LogicTable& t, const LogicBlock& b, int number, const ConditionChoice& c) {
    ConditionOutcome o = RoomForCondition(t, b, number);
    if (!o.accepted) return o;
    o.accepted = false;
    if (const int refusal = ChooserEntryRefusal(c.entry); refusal != 0) {
        o.refusal = refusal;
        return o;
    }
    // The item dialogs offer 1..count only: another item has nothing to say.
    const LogicObjectRange& range = ObjectRange(ChooserObjects(c.entry));
    if (c.item < 1 || c.item > range.count) return o;
    const uint16_t word = MakeCondition(c.entry - 1, range.first + c.item - 1, c.orList, c.negated);
    if (HasCondition(b, word)) {
        o.refusal = kConditionTwice;
        return o;
    }
    o.accepted = true;
    o.word = word;
    return o;
}

namespace {

// Shows why a condition was refused: an alert with its hint, or a note.
void TellRefusal(Session& s, const ConditionOutcome& o) {
    if (o.refusal == 0) return;
    if (o.detail != 0)
        ShowAlert(s, GetText(s, o.refusal), GetText(s, o.detail));
    else
        Tell(s, o.refusal);
}

// Adds an AND (orList false) or an OR condition: asks for the category and
// the object, then applies the rule.
void AddCondition(Session& s, LogicEditorState& e, LogicBlock& b, int number, bool orList) {
    if (const ConditionOutcome room = RoomForCondition(e.table, b, number); !room.accepted) {
        TellRefusal(s, room);
        return;
    }

    LogicConditionRequest request;
    request.prompt = GetText(s, orList ? kChooseOr : kChooseAnd);
    for (int entry = 1; entry <= kChooserEntries; ++entry) request.categories.push_back(GetText(s, kCategoryBefore + entry));
    LogicConditionAnswer answer;
    for (;;) {
        answer = s.ui->AskLogicCondition(request);
        if (!answer.confirmed) return;
        const int refusal = ChooserEntryRefusal(answer.entry);
        if (refusal == 0) break;
        Tell(s, refusal);
    }

    const LogicObjectKind kind = ChooserObjects(answer.entry);
    const LogicObjectRange& range = ObjectRange(kind);
    int item = 0;
    if (kind == LogicObjectKind::PanelState) {
        ValueRequest r;
        r.kind = 3;
        r.title = GetText(s, kAddCondition);
        r.prompt = GetText(s, kChooseState);
        for (int object = range.first; object <= range.last; ++object)
            r.items.push_back(ConditionObjectText(s, static_cast<uint16_t>(object)));
        ValueAnswer a;
        if (AskValue(s, r, a) != kInputConfirmed) return;
        item = a.index + 1;
    } else {
        int prompt = kChooseZone;
        if (kind == LogicObjectKind::Point) prompt = kChoosePoint;
        if (kind == LogicObjectKind::Block) prompt = kChooseBlock;
        if (kind == LogicObjectKind::ClockChannel) prompt = kChooseClockChannel;
        if (kind == LogicObjectKind::AuxInput) prompt = kChooseAuxInput;
        long value = 0;
        if (AskNumber(s, ValueTopic::Other, GetText(s, kAddCondition), GetText(s, prompt), 1, 1, range.count, value) != kInputConfirmed) return;
        item = static_cast<int>(value);
    }

    const ConditionOutcome added = ApplyCondition(e.table, b, number, {answer.entry, item, orList, answer.option == 2});
    if (!added.accepted) {
        TellRefusal(s, added);
        return;
    }
    b.conditions.push_back(added.word);
    StoreBlock(e, b, number);
}

void DeleteCondition(Session& s, LogicEditorState& e, LogicBlock& b, int number, const LogicCommand& c) {
    std::vector<std::size_t> at = ListPositions(b, c.listCode == 1);
    if (c.listCode == 0 || c.index < 0 || static_cast<std::size_t>(c.index) >= at.size()) {
        Tell(s, kChooseConditionFirst);
        return;
    }
    if (!Confirm(s, kDeleteCondition)) return;
    b.conditions.erase(b.conditions.begin() + static_cast<std::ptrdiff_t>(at[static_cast<std::size_t>(c.index)]));
    StoreBlock(e, b, number);
}

void ChangeSettings(Session& s, LogicEditorState& e, LogicBlock& b, int number) {
    if (!b.Defined() && !CheckCapacity(s, e.table, 3)) return;
    LogicSettingsRequest r;
    r.outputEntries.push_back(GetText(s, kNoOutput));
    for (int o = 1; o <= kLogicOutputs; ++o) r.outputEntries.push_back(GetText(s, kOutputNumber) + " " + std::to_string(o));
    r.activationEntries.push_back(GetText(s, kNoDelay));
    for (int d = 1; d <= 255; ++d) r.activationEntries.push_back(LogicDelayText(s, d));
    // Durations 1..200 half-seconds; a value above the pulse code that the
    // panel holds gets its own last entry, so that it survives an OK.
    std::vector<int> durations;
    for (int d = 1; d <= kMaxDelaySteps; ++d) durations.push_back(d);
    if (b.Deactivation() > kDeactivationPulse) durations.push_back(b.Deactivation());
    for (int d : durations) r.durationEntries.push_back(LogicDelayText(s, d));
    for (int t = 0; t <= 15; ++t) r.thresholdEntries.push_back(std::to_string(t));

    r.type = b.Type() == 1 ? 1 : 0;
    r.threshold = b.Threshold();
    r.output = b.OutputNumber();
    r.activation = b.ActivationDelay();
    int deact = b.Deactivation();
    r.deactivationOption = deact == kDeactivationLatched ? 2 : deact == kDeactivationPulse ? 1 : 0;
    r.duration = 0;
    for (std::size_t i = 0; i < durations.size(); ++i)
        if (durations[i] == deact) r.duration = static_cast<int>(i);

    LogicSettingsAnswer a = s.ui->AskLogicSettings(r);
    if (!a.confirmed) return;
    // A threshold above the AND conditions is kept (the conditions may be
    // added next); the installer is told that the block cannot turn on
    // until then.
    if (a.type == 1 && a.threshold > CountOf(b, false)) Tell(s, kThresholdAboveAnds);
    int output = a.output >= 0 && a.output <= kLogicOutputs ? a.output : 0;
    if (output != 0 && e.outputs[static_cast<std::size_t>(output)] != 0 &&
        e.outputs[static_cast<std::size_t>(output)] != number)
        Tell(s, kOutputTwice);
    int deactivation = kDeactivationLatched;
    if (a.deactivationOption == 1) deactivation = kDeactivationPulse;
    if (a.deactivationOption == 0 && a.duration >= 0 && static_cast<std::size_t>(a.duration) < durations.size())
        deactivation = durations[static_cast<std::size_t>(a.duration)];
    int type = a.type == 1 ? 1 : 0;
    b.header = MakeLogicHeader(number, type, type == 1 ? a.threshold : 0);
    // A new output replaces group and mask; the same output keeps the
    // mask as read (it may carry more bits than the one shown).
    if (output != b.OutputNumber()) b.w1 = MakeLogicW1(output, static_cast<int>(b.conditions.size()));
    b.w2 = MakeLogicW2(a.activation, deactivation);
    StoreBlock(e, b, number);
}

void CopyBlock(Session& s, LogicEditorState& e, const LogicBlock& b, int number) {
    if (!b.Defined()) return;
    long target = 0;
    if (AskNumber(s, ValueTopic::Other, GetText(s, kCopyTitle), GetText(s, kCopyPrompt), number, 1, kLogicBlockCount, target) != kInputConfirmed) return;
    int to = static_cast<int>(target);
    if (to == number) return;
    if (e.table[to].Defined() && !Confirm(s, kReplaceTarget)) return;
    if (!CheckCapacity(s, e.table, GrowthOf(e.table[to], b.Words()))) return;
    LogicBlock copy = b;
    StoreBlock(e, copy, to);
}

void DeleteBlock(Session& s, LogicEditorState& e, LogicBlock& b, int number) {
    if (!b.Defined() || !Confirm(s, kDeleteBlock)) return;
    b = LogicBlock{};
    e.table[number] = b;
    e.outputs = LogicOutputTable(e.table);
    e.modified = true;
}

}  // namespace

bool EmptyIfDamaged(ConfigState& c) {
    auto& image = c.ConfigImage;
    uint16_t sum = LogicChecksum(image, 1, kLogicStreamBytes);
    if ((image[1961] & 0xFF) == (sum >> 8) && (image[1962] & 0xFF) == (sum & 0xFF)) return false;
    for (int i = 1; i <= kLogicStreamBytes; ++i) image[i] = 0;
    image[1961] = 255;
    image[1962] = 255;
    return true;
}

void RenderLogicReport(const Page& s) {
    LogicEditorState e;
    ReadTable(s.config, e);
    ClearScreenLines(s);
    for (const std::string& text : LogicReportLines(s.texts, e.table)) {
        int line = NewScreenLine(s);
        if (line == 0) break;
        WriteScreenText(s, line, 1, text);
    }
}

bool PrintLogics(const FileSetImage& set, const Texts& texts, int /*option*/, std::vector<std::string>& lines) {
    // A logic file of another size is refused, as when the section opens it.
    const std::size_t kind = static_cast<std::size_t>(PartKindOf(kLogicFile));
    if (!set.present[kind] || set.parts[kind].size() != static_cast<std::size_t>(kLogicAreaBytes)) return false;
    return PrintFromImage(
        texts, lines,
        [&set](ConfigState& c) {
            if (!ReadImageBlock(set, kLogicFile, 0, kLogicAreaBytes, 1, c.ConfigImage) ||
                !ReadImageBlock(set, kMainFile, kLogicFlagOffset, 1, kLogicSideCell, c.ConfigImage))
                return false;
            EmptyIfDamaged(c);
            return true;
        },
        RenderLogicReport);
}

bool LoadLogicArea(Session& s, LogicEditorState& e) {
    e = LogicEditorState{};
    long address = 0;
    if (!LogicAddress(s, address)) return false;
    if (!ReadBlock(s, address, kLogicAreaBytes, kLogicFile, 1, s.config.ConfigImage).Done()) return false;
    long side = SectionAddress(s, kLogicFlagOffset);
    if (!ReadBlock(s, side, 1, kMainFile, kLogicSideCell, s.config.ConfigImage).Done()) return false;

    if (EmptyIfDamaged(s.config)) {
        e.modified = true;
        e.reset = true;
    }
    ReadTable(s.config, e);
    return true;
}

bool StoreLogicArea(Session& s, LogicEditorState& e) {
    std::vector<uint8_t> area = CompileLogicArea(e.table);
    auto& image = s.config.ConfigImage;
    for (int i = 0; i < kLogicAreaBytes; ++i) image[i + 1] = area[static_cast<std::size_t>(i)];
    long address = s.config.ConfigSource == ConfigSource::Panel ? s.config.AddressDirectory[kPanelLogicEntry] : 0;
    if (s.config.ConfigSource != ConfigSource::File && s.config.ConfigSource != ConfigSource::Panel) {
        s.link.LinkStatus = status::kNoSource;
        return false;
    }
    for (int i = 1; i <= kLogicAreaBytes; ++i) s.config.TransferBuffer[i] = image[i];
    if (!WriteBlock(s, address, kLogicAreaBytes, kLogicFile, s.config.TransferBuffer).Done()) return false;
    e.modified = false;
    return true;
}

void BuildLogicList(Session& s, LogicEditorState& e) {
    ClearScreenLines(s);
    e.outputs = LogicOutputTable(e.table);
    for (int n = 1; n <= kLogicBlockCount; ++n) {
        const LogicBlock& b = e.table[n];
        int line = NewScreenLine(s, kBlockField, static_cast<int16_t>(n));
        if (!b.Defined()) {
            WriteScreenText(s, line, 1, GetText(s, kFreeBlock) + PadZeros(2, n) + GetText(s, kEmptyMark));
            continue;
        }
        WriteScreenText(s, line, 1, GetText(s, b.OptionFlag() ? kProgrammedOptional : kProgrammed) + GetText(s, kBlockWord) + PadZeros(2, n));
        std::string detail = GetText(s, kLinkedOutput) + " " + LogicOutputText(s, b.OutputNumber()) + "   AND " +
                             std::to_string(CountOf(b, false)) + "  OR " + std::to_string(CountOf(b, true));
        WriteScreenText(s, line, kListDetailColumn, detail);
    }
}

void EditLogicBlock(Session& s, LogicEditorState& e, int number) {
    if (number < 1 || number > kLogicBlockCount) return;
    LogicBlock b = e.table[number];
    for (;;) {
        s.ui->ShowLogicBlock(ViewOf(s, b, number));
        LogicCommand c = s.ui->WaitLogicCommand();
        switch (c.word) {
        case kLogicAddOr: AddCondition(s, e, b, number, true); break;
        case kLogicAddAnd: AddCondition(s, e, b, number, false); break;
        case kLogicSettings: ChangeSettings(s, e, b, number); break;
        case kLogicCopyBlock: CopyBlock(s, e, b, number); break;
        case kLogicDeleteCondition: DeleteCondition(s, e, b, number, c); break;
        case kLogicDeleteBlock: DeleteBlock(s, e, b, number); break;
        default:
            s.ui->CloseLogicBlock();
            return;
        }
    }
}

void LogicsSection(Session& s, PrintMode mode, int /*option*/) {
    LogicEditorState e;
    if (!LoadLogicArea(s, e)) {
        EndSection(s);
        return;
    }
    if (mode == PrintMode::LinesOnly) {
        RenderLogicReport(PageOf(s));
        EndSection(s);
        return;
    }
    if (e.reset) Tell(s, kAreaEmptied);
    BuildLogicList(s, e);
    ShowEditScreen(s, GetText(s, kLogicsTitleText));
    RefreshScreen(s);
    if (SelectedScreenLine(s) == 0) MoveToEditableLine(s, +1);
    RunEditLoop(s, [&](int line) {
        LineDescriptor d = DescriptorOf(s.screen, line);
        if (d.field != kBlockField) return;
        EditLogicBlock(s, e, d.value2);
        BuildLogicList(s, e);
        RefreshScreen(s);
    });
    if (e.modified) {
        if (StoreLogicArea(s, e)) {
            if (!s.config.DateStamped) static_cast<void>(StampDate(s));
        } else {
            ShowAlert(s, GetText(s, kUnsavedChanges), std::string());
        }
    }
    EndSection(s);
}

}  // namespace cfg
