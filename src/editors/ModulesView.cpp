#include "ModulesView.h"

#include <array>
#include <vector>

#include "link/PanelCommands.h"
#include "link/Screen.h"
#include "loops/LoopTables.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Shell.h"
#include "shell/Text.h"
#include "transfer/SectionBlocks.h"

namespace cfg {

namespace {

constexpr int kButtonText = 492;
constexpr int kSummaryModules = 1119;
constexpr int kSummaryMismatched = 1120;
constexpr int kMarkExplained = 1121;
constexpr int kHowToQuestion = 1122;

// Texts of a kind: the name, the address label, the flag set / clear, the
// word before the point range.
struct KindTexts {
    int name, address, flagSet, flagClear, points;
};
constexpr std::array<KindTexts, 3> kConcentratorTexts{{
    {1123, 1124, 1125, 1126, 1127},
    {1128, 1129, 1130, 1131, 1132},
    {1133, 1134, 1135, 1136, 1137},
}};
constexpr int kLoopModuleName = 1138;
constexpr int kLoopModuleLabel = 1139;
constexpr int kLoopModulePoints = 1140;
constexpr const char* kUnknown = "???";

// List line columns.
constexpr int kKindColumn = 5;
constexpr int kAddressColumn = 28;
constexpr int kFlagColumn = 37;
constexpr int kMarkColumn = 54;  // " !!" over columns 54..56
constexpr int kRangeColumn = 58;  // up to column 80

// Detail window texts.
constexpr int kQuestioning = 493;
constexpr int kDetailTitle = 494;
constexpr int kNumberLabel = 495;
constexpr int kTypeLabel = 496;
constexpr int kVersionLabel = 497;
constexpr int kBusLabel = 498;
constexpr int kPointsLabel = 499;
constexpr int kCommunicationLabel = 500;
constexpr int kCommunicationGood = 501;
constexpr int kSupplyLabel = 503;
constexpr int kSupplyGood = 504;
constexpr int kSupplyFaulty = 505;
constexpr int kInputsHeading = 506;
constexpr int kInputLabel = 507;
constexpr int kFirstInputState = 508;  // 0 quiescent .. 4 disabled: 0508..0512
constexpr int kInputStates = 5;
constexpr int kOutputsHeading = 513;
constexpr int kOutputLabel = 514;
constexpr int kFirstOutputState = 515;  // 0 off, 1 on, 2 faulty: 0515..0517
constexpr int kOutputStates = 3;
constexpr int kErrorsLabel = 518;
constexpr int kEnclosureLabel = 519;
constexpr int kEnclosureClosed = 520;
constexpr int kEnclosureOpen = 521;
constexpr int kUpdatedLabel = 522;
constexpr int kRefreshHint = 523;
constexpr int kAskingState = 524;
constexpr int kReplyNotRecognised = 525;

// Module questions ("X" sub-commands). A concentrator is addressed with the
// loop letter "M" and its bus address as the first value.
constexpr int kConcentratorLoop = 'M' - 64;
constexpr int kAskState = 1;
constexpr int kAskModel = 9;
constexpr int kAskVersion = 10;
constexpr int kChannels = 8;

constexpr int kDetailRows = 26;
constexpr int kDetailColumns = 64;
constexpr int kLabelCol = 2;
constexpr int kValueCol = 26;
constexpr int kSecondChannelCol = 34;
constexpr double kRefreshSeconds = 2.0;

const KindTexts& TextsOf(ModuleKind kind) { return kConcentratorTexts[static_cast<std::size_t>(kind) - 1]; }

std::string RangeText(int first, int last) { return PadSpaces(3, first) + "-" + PadSpaces(3, last); }

std::string PointsText(const Texts& s, const ModuleSlot& m) {
    std::string text = GetText(s, TextsOf(m.kind).points) + " " + RangeText(m.FirstPoint(), m.LastPoint());
    if (m.kind != ModuleKind::Input) text += " [" + RangeText(m.FirstOutput(), m.LastOutput()) + "]";
    return text;
}

std::string LoopLetter(const ModuleSlot& m) { return std::string(1, static_cast<char>('A' + m.moduleNumber - 1)); }

}  // namespace

ModuleSlot ModuleSlot::Decode(int byte) {
    ModuleSlot m;
    m.byte = byte & 0xFF;
    m.moduleClass = (m.byte & 192) / 64;
    m.flag = (m.byte & 32) != 0;
    m.number = m.byte & 31;
    const int n = m.number;
    if (m.moduleClass == 0 && n >= 1 && n <= 15) {
        m.kind = ModuleKind::Input;
        m.moduleNumber = n;
    } else if (m.moduleClass == 2 && n + 16 < 32) {  // 128 + n: input concentrators 16..31
        m.kind = ModuleKind::Input;
        m.moduleNumber = n + 16;
    } else if (m.moduleClass == 0 && n >= 17 && n <= 24) {
        m.kind = ModuleKind::Output;
        m.moduleNumber = n;
    } else if (m.moduleClass == 0 && n >= 25 && n <= 31) {
        m.kind = ModuleKind::Mixed;
        m.moduleNumber = n;
    } else if (m.moduleClass == 1 && n >= 1 && n <= 4) {
        m.kind = ModuleKind::Loop;
        m.moduleNumber = n;
    }
    return m;
}

int ModuleSlot::FirstOutput() const {
    return kind == ModuleKind::Mixed ? 64 + (moduleNumber - 25) * 8 + 1 : (moduleNumber - 17) * 8 + 1;
}

bool ModuleMismatch(const ConfigState& s, const ModuleSlot& m) {
    if (!m.Concentrator()) return false;
    int configured = 0;
    for (int p = m.FirstPoint(); p <= m.LastPoint() && p <= kLoopPoints; ++p) {
        const PointEntry e = PointInImage(s, p);
        if (!e.Configured()) continue;
        ++configured;
        if (e.type != kTypeModule) return true;
        if (m.kind == ModuleKind::Input && e.IsOutputModule()) return true;
        if (m.kind == ModuleKind::Output && !e.IsOutputModule()) return true;
    }
    return configured == 0;
}

ModuleCounts BuildModulesScreen(Session& s, PrintMode mode) { return RenderModules(PageOf(s), mode == PrintMode::LinesOnly); }

ModuleCounts RenderModules(const Page& s, bool print) {
    ModuleCounts counts;
    ClearScreenLines(s);
    for (int slot = 1; slot <= kModuleDirectorySlots; ++slot) {
        const int byte = s.config.ConfigImage[kModuleDirectoryOffset + slot - 1];
        if (byte == 0) continue;
        const ModuleSlot m = ModuleSlot::Decode(byte);
        ++counts.modules;
        // Lines of a module that cannot be questioned are not selectable.
        const int line = NewScreenLine(s, static_cast<int16_t>(m.kind == ModuleKind::None ? 0 : 1),
                                       static_cast<int16_t>(slot));
        WriteScreenText(s, line, 1, PadSpaces(2, slot) + ":");
        if (m.Concentrator()) {
            const KindTexts& t = TextsOf(m.kind);
            WriteScreenField(s, line, kKindColumn, kAddressColumn - 2, GetText(s, t.name));
            WriteScreenField(s, line, kAddressColumn, kFlagColumn - 2,
                             GetText(s, t.address) + " " + PadSpaces(2, m.moduleNumber));
            WriteScreenField(s, line, kFlagColumn, kMarkColumn - 2, GetText(s, m.flag ? t.flagSet : t.flagClear));
            WriteScreenText(s, line, kRangeColumn, PointsText(s.texts, m));
            if (ModuleMismatch(s.config, m)) {
                WriteScreenText(s, line, kMarkColumn, " !!");
                ++counts.mismatched;
            }
        } else if (m.kind == ModuleKind::Loop) {
            WriteScreenField(s, line, kKindColumn, kAddressColumn - 2, GetText(s, kLoopModuleName));
            WriteScreenField(s, line, kAddressColumn, kMarkColumn - 1,
                             GetText(s, kLoopModuleLabel) + " " + LoopLetter(m));
            WriteScreenText(s, line, kRangeColumn, GetText(s, kLoopModulePoints));
        } else {
            WriteScreenText(s, line, kKindColumn, kUnknown);
        }
    }
    NewScreenLine(s);
    WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kSummaryModules) + " " + std::to_string(counts.modules));
    WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kSummaryMismatched) + " " + std::to_string(counts.mismatched));
    if (counts.mismatched > 0) WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kMarkExplained));
    if (!print) WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kHowToQuestion));
    return counts;
}

namespace {

ListSection ModulesList() {
    // OK questions the chosen module; the view never writes.
    return {.titleText = kModulesTitleText,
            .okText = kButtonText,
            .blocks = {{kModuleDirectoryOffset, kModuleDirectorySlots}, {kPointConfigOffset, kPointConfigSize}},
            .build = [](const Page& p, bool print) { RenderModules(p, print); },
            .edit =
                [](Session& ss, int line) {
                    const LineDescriptor d = DescriptorOf(ss.screen, line);
                    if (d.field != 0) ShowModuleDetail(ss, d.value2);
                    return false;
                },
            .stamp = DateStampPolicy::Never};
}

}  // namespace

void ModulesSection(Session& s, PrintMode mode, int /*option*/) {
    RunListSection(s, ModulesList(), mode);
}

bool PrintModules(const FileSetImage& set, const Texts& texts, int /*option*/, std::vector<std::string>& lines) {
    return PrintListSection(ModulesList(), set, texts, lines);
}

namespace {

// One question to the module; the answer's values, or nothing when the
// module did not answer (the error has been reported).
bool AskModule(Session& s, int loop, int sub, int value, std::vector<int>& values) {
    auto& buf = s.link.LoopCommand;
    buf.Fill(0);
    buf[1] = 2;
    buf[2] = static_cast<int16_t>(sub);
    buf[3] = static_cast<int16_t>(value);
    const int16_t savedLoop = s.link.LoopNumber;
    s.link.LoopNumber = static_cast<int16_t>(loop);
    const OpResult sent = SendLoopCommand(s, true);
    s.link.LoopNumber = savedLoop;
    if (!sent.Done()) return false;
    values.clear();
    for (int i = 0; i < buf[1]; ++i) values.push_back(buf[2 + i] & 0xFF);
    return true;
}

std::string AnswerText(const std::vector<int>& values) {
    std::string text;
    for (int v : values) text += static_cast<char>(v >= 32 && v < 127 ? v : ' ');
    while (!text.empty() && text.back() == ' ') text.pop_back();
    while (!text.empty() && text.front() == ' ') text.erase(text.begin());
    return text.empty() ? kUnknown : text;
}

struct DetailWindow {
    Session& s;
    Ui& ui;
    void Row(int row, int label, const std::string& value, ScreenColor color = ScreenColor::Default) {
        ui.WriteScreen(row, kLabelCol, GetText(s, label), ScreenColor::Default);
        ui.WriteScreen(row, kValueCol, value, color);
    }
    // A state code as its text; "???" outside the known codes.
    std::string StateText(int code, int first, int count) {
        return code >= 0 && code < count ? GetText(s, first + code) : kUnknown;
    }
    static ScreenColor StateColor(int code) { return code == 0 ? ScreenColor::Green : ScreenColor::Red; }
    void Channels(int headingRow, int heading, int label, const std::vector<int>& states, int first, int count) {
        ui.WriteScreen(headingRow, kLabelCol, GetText(s, heading), ScreenColor::Default);
        for (int i = 0; i < kChannels; ++i) {
            const int row = headingRow + 1 + i / 2;
            const int col = i % 2 == 0 ? kLabelCol + 2 : kSecondChannelCol;
            const bool known = i < static_cast<int>(states.size());
            const int code = known ? states[static_cast<std::size_t>(i)] : -1;
            const std::string text = GetText(s, label) + " " + std::to_string(i + 1) + ": ";
            ui.WriteScreen(row, col, text, ScreenColor::Default);
            ui.WriteScreen(row, col + static_cast<int>(Utf8Length(text)), StateText(code, first, count) + "   ",
                           code >= 0 && code < count ? StateColor(code) : ScreenColor::Default);
        }
    }
};

// The state answer of a concentrator: supply, enclosure, communication
// errors, then 8 input states (input and mixed kinds) and 8 output states
// (output and mixed kinds).
void ShowState(DetailWindow& w, const ModuleSlot& m, const std::vector<int>* values) {
    const bool inputs = m.kind != ModuleKind::Output;
    const bool outputs = m.kind != ModuleKind::Input;
    const std::size_t expected = 3 + (inputs ? kChannels : 0) + (outputs ? kChannels : 0);
    const bool decoded = values && values->size() == expected;
    auto at = [&](std::size_t i) { return decoded ? (*values)[i] : -1; };

    w.Row(8, kCommunicationLabel, GetText(w.s, decoded ? kCommunicationGood : kReplyNotRecognised),
          decoded ? ScreenColor::Green : ScreenColor::Red);
    const int supply = at(0), enclosure = at(1);
    w.Row(9, kSupplyLabel, supply == 0 ? GetText(w.s, kSupplyGood) : supply == 1 ? GetText(w.s, kSupplyFaulty) : kUnknown,
          supply == 1 ? ScreenColor::Red : ScreenColor::Default);
    w.Row(10, kEnclosureLabel,
          enclosure == 0 ? GetText(w.s, kEnclosureClosed) : enclosure == 1 ? GetText(w.s, kEnclosureOpen) : kUnknown,
          enclosure == 1 ? ScreenColor::Red : ScreenColor::Default);
    w.Row(11, kErrorsLabel, decoded ? PadSpaces(3, at(2)) : kUnknown);

    std::vector<int> in, out;
    std::size_t next = 3;
    if (decoded && inputs)
        for (int i = 0; i < kChannels; ++i) in.push_back(at(next++));
    if (decoded && outputs)
        for (int i = 0; i < kChannels; ++i) out.push_back(at(next++));
    int row = 13;
    if (inputs) {
        w.Channels(row, kInputsHeading, kInputLabel, in, kFirstInputState, kInputStates);
        row += 6;
    }
    if (outputs) w.Channels(row, kOutputsHeading, kOutputLabel, out, kFirstOutputState, kOutputStates);

    const DateTime now = w.s.clock->Now();
    w.Row(kDetailRows - 1, kUpdatedLabel, PadZeros(2, now.hour) + ":" + PadZeros(2, now.minute) + ":" + PadZeros(2, now.second));
}

}  // namespace

void ShowModuleDetail(Session& s, int slot) {
    if (slot < 1 || slot > kModuleDirectorySlots) return;
    const ModuleSlot m = ModuleSlot::Decode(s.config.ConfigImage[kModuleDirectoryOffset + slot - 1]);
    if (m.kind == ModuleKind::None) return;
    if (s.config.ConfigSource != ConfigSource::Panel) {
        ShowNotConnected(s);
        return;
    }
    Ui& ui = *s.ui;
    DetailWindow w{s, ui};
    s.events.ScreenDismissed = false;
    s.events.PauseBreak = false;
    ui.OpenScreen(GetText(s, kDetailTitle), kDetailRows, kDetailColumns);
    ui.WriteScreen(1, kLabelCol, GetText(s, kQuestioning), ScreenColor::Default);

    // A concentrator answers at "M" with its bus address; a loop module at its
    // own loop letter.
    const int loop = m.Concentrator() ? kConcentratorLoop : m.moduleNumber;
    const int address = m.Concentrator() ? m.BusAddress() : 0;
    std::vector<int> model, version;
    if (!AskModule(s, loop, kAskModel, address, model) || !AskModule(s, loop, kAskVersion, address, version)) {
        ui.CloseScreen();
        return;
    }
    ui.ClearScreen();
    w.Row(2, kNumberLabel, m.Concentrator() ? PadSpaces(2, m.moduleNumber) : LoopLetter(m));
    const int name = m.Concentrator() ? TextsOf(m.kind).name : kLoopModuleLabel;
    w.Row(3, kTypeLabel, GetText(s, name) + "  (" + AnswerText(model) + ")");
    w.Row(4, kVersionLabel, AnswerText(version));
    w.Row(5, kBusLabel, m.Concentrator() ? "M" + PadZeros(3, address) : LoopLetter(m));
    w.Row(6, kPointsLabel, m.Concentrator() ? PointsText(s.texts, m) : GetText(s, kLoopModulePoints));
    if (!m.Concentrator()) {
        w.Row(8, kCommunicationLabel, GetText(s, kCommunicationGood), ScreenColor::Green);
    }

    // The state of a concentrator, asked again every two seconds until the
    // window is closed.
    bool first = true;
    double last = 0;
    while (m.Concentrator() && !s.events.ScreenDismissed && !s.events.PauseBreak && (first || ui.ScreenOpen())) {
        const double now = s.clock->SecondsSinceMidnight();
        if (first || now < last || now - last >= kRefreshSeconds) {
            ui.WriteScreen(kDetailRows, kLabelCol, GetText(s, kAskingState), ScreenColor::Gray);
            std::vector<int> state;
            if (!AskModule(s, kConcentratorLoop, kAskState, address, state)) {
                ui.CloseScreen();
                return;
            }
            ShowState(w, m, &state);
            ui.WriteScreen(kDetailRows, kLabelCol, Utf8PadRight(GetText(s, kRefreshHint), kDetailColumns - 2),
                           ScreenColor::Gray);
            last = now;
            first = false;
            // A front end without a lasting window has seen the answers.
            if (!ui.ScreenOpen()) break;
        }
        Yield(s);
    }
    while (!m.Concentrator() && !s.events.ScreenDismissed && !s.events.PauseBreak && ui.ScreenOpen()) Yield(s);
    s.events.PauseBreak = false;
    if (ui.ScreenOpen()) ui.CloseScreen();
}

}  // namespace cfg
