// The live diagnostic views of a loop module on the panel: recorded minimum
// and maximum, loop errors and state, line current, with their resets.
#include <algorithm>

#include "link/PanelCommands.h"
#include "link/Screen.h"
#include "loops/LoopSection.h"
#include "shell/Language.h"
#include "shell/Shell.h"
#include "shell/Text.h"

namespace cfg {

namespace {

constexpr uint32_t kMinMaxBackground = 16710628;  // 0xFEFBE4, a pale cream
constexpr double kMinMaxRefreshSeconds = 4.0;
constexpr double kErrorsSeconds = 2.0;
constexpr double kCurrentSeconds = 1.5;
constexpr int kCurrentLimit = 250;

// Texts.
constexpr int kMinMaxHeading = 200;
constexpr int kConfiguredSensors = 203;  // after the count
constexpr int kMinMaxTitle = 102;        // followed by the module number
constexpr int kCloseCaption = 103, kResetMinMaxCaption = 104, kResetMinMaxQuestion = 105;
constexpr int kErrorsTitle = 28;
constexpr int kResetErrorsRefused = 101, kResetErrorsQuestion = 42;
constexpr int kCountersHeading = 29;
constexpr int kCounterNames = 30;        // 30..33, one for each panel counter
constexpr int kLoopLabel = 34, kLoopNotOk = 36, kLoopOk = 37;
constexpr int kPointNumber = 376, kModuleNumber = 377;
constexpr int kCurrentTitle = 25;

bool LiveViewAllowed(const ConfigState& config, const LoopContext& c) { return config.ConfigSource == ConfigSource::Panel && c.Present(); }

std::string RecordedText(int value) { return value == 255 ? "...." : LoopValueText(value); }

}  // namespace

// --- minimum and maximum ---------------------------------------------------------

int BuildMinMaxList(Session& s, LoopContext& c) {
    ClearScreenLines(s);
    int line = NewScreenLine(s, 0);
    WriteScreenText(s, line, 1, GetText(s, kMinMaxHeading) + "  ");
    const auto& image = s.config.ConfigImage;
    int count = 0;
    for (int k = 1; k <= kPointsPerModule; ++k) {
        const int p = ShownPoint(c.module, k);
        const int b1 = image[kPointConfigCell + 2 * (k - 1)] & 0xFF;
        const int t = b1 >> 4;
        std::string text = PadSpaces(3, p) + ": ";
        if (t == 0) {
            line = NewScreenLine(s, 2, static_cast<int16_t>(p));
            WriteScreenText(s, line, 1, text + SensorTypeName(s, 0, 0));
            continue;
        }
        ++count;
        const PointWindow w = PointWindowOf(s, c, k, false);
        const int lo = c.minMax[2 * k - 1], hi = c.minMax[2 * k];
        text += SensorTypeName(s, NamingType(t, c.live[2 * k - 1]), b1 & 7) + " ";
        text += (lo != 255 && lo <= w.lo ? "!! " : "   ") + RecordedText(lo);
        text += (hi != 255 && hi >= w.up ? "!! " : "   ") + RecordedText(hi);
        text += "   [" + LoopValueText(w.lo) + ".." + LoopValueText(w.up) + "]  ";
        line = NewScreenLine(s, 1, static_cast<int16_t>(p));
        WriteScreenText(s, line, 1, text);
    }
    line = NewScreenLine(s, 0);
    WriteScreenText(s, line, 1, std::to_string(count) + GetText(s, kConfiguredSensors));
    c.configured = count;
    return count;
}

LoopPicture MinMaxPicture(const Session& s, const LoopContext& c) {
    LoopPicture pic;
    pic.kind = LoopPicture::Kind::Ranges;
    pic.module = c.module;
    const auto& image = s.config.ConfigImage;
    for (int k = 1; k <= kPointsPerModule; ++k) {
        LoopMark m;
        m.point = ShownPoint(c.module, k);
        m.configured = (image[kPointConfigCell + 2 * (k - 1)] & 0xF0) != 0;
        if (m.configured) {
            const PointWindow w = PointWindowOf(s, c, k, false);
            m.lo = w.lo;
            m.mid = w.mid;
            m.hi = w.hi;
            m.up = w.up;
            m.minimum = c.minMax[2 * k - 1];
            m.maximum = c.minMax[2 * k];
        }
        pic.marks.push_back(m);
    }
    return pic;
}

bool ResetMinMax(Session& s, LoopContext& c) {
    c.minMax.Fill(255);
    if (!ReadMemoryMap(s).Done()) return false;
    auto& buf = s.config.TransferBuffer;
    for (int i = 1; i <= kLoopTableBytes; ++i) buf[i] = 255;
    const long at = s.config.AddressDirectory[kLiveEntry] + 800 + (c.module - 1) * kLoopTableBytes;
    return WritePanelBlock(s, at, kLoopTableBytes, true, 1, buf).Done();
}

void ShowMinMax(Session& s, LoopContext& c) {
    if (!LiveViewAllowed(s.config, c)) return;
    // The min/max view asks the module nothing but its tables: no question
    // about address 0, which a module may refuse.
    if (!LoadLoopTables(s, c, false)) return;
    if (!ReadMinMaxTable(s, c)) return;
    BuildMinMaxList(s, c);

    LoopListSpec spec;
    spec.title = GetText(s, kMinMaxTitle) + " " + std::to_string(c.module);
    spec.closeCaption = GetText(s, kCloseCaption);
    spec.resetCaption = GetText(s, kResetMinMaxCaption);
    spec.background = kMinMaxBackground;
    s.ui->OpenLoopList(spec);
    s.ui->ShowLoopList(ScreenLines(s.screen), MinMaxPicture(s, c), 0, -1);

    double since = s.clock->SecondsSinceMidnight();
    for (;;) {
        Yield(s);
        if (s.events.AbortRequested) break;
        const LoopListInput in = s.ui->TakeLoopListInput();
        if (in.closed) break;
        if (in.activity) since = s.clock->SecondsSinceMidnight();
        const int point = ChosenPoint(s, c, in);
        if (point > 0) {
            if (!ReadLiveTable(s, c)) break;
            ShowPointDetail(s, c, point);
            since = s.clock->SecondsSinceMidnight();
            continue;
        }
        if (in.reset) {
            if (s.ui->MessageBox(GetText(s, kMinMaxTitle) + " " + std::to_string(c.module), GetText(s, kResetMinMaxQuestion),
                                 MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes) {
                if (!ResetMinMax(s, c)) break;
                BuildMinMaxList(s, c);
                s.ui->ShowLoopList(ScreenLines(s.screen), MinMaxPicture(s, c), 0, -1);
            }
            since = s.clock->SecondsSinceMidnight();
            continue;
        }
        const double elapsed = s.clock->SecondsSinceMidnight() - since;
        if (elapsed >= kMinMaxRefreshSeconds || elapsed < 0) {
            const int top = s.ui->LoopListTop(), selected = s.ui->LoopListSelected();
            if (!ReadMinMaxTable(s, c)) break;
            BuildMinMaxList(s, c);
            s.ui->ShowLoopList(ScreenLines(s.screen), MinMaxPicture(s, c), top, selected);
            since = s.clock->SecondsSinceMidnight();
        }
    }
    s.events.AbortRequested = false;
    s.ui->CloseLoopList();
}

// --- loop errors -----------------------------------------------------------------------

bool ReadLoopErrors(Session& s, const LoopContext& c, LoopErrors& out) {
    if (!LoopExchange(s, c.module, 137)) return false;
    for (int i = 0; i < 4; ++i) out.counters[static_cast<std::size_t>(i)] = AnswerByte(s.link, 2 + i);
    out.faultPoint = out.counters[3] >= 1 ? ShownPoint(c.module, out.counters[3]) : 0;
    auto& buf = s.config.TransferBuffer;
    if (!ReadPanelBlock(s, kLoopStatusAddress + c.module - 1, 1, 1, buf).Done()) return false;
    out.status = buf[1] & 0xFF;
    return true;
}

bool ResetLoopErrors(Session& s, const LoopContext& c) {
    const bool done = LoopExchange(s, c.module, 136, 0, false) && AnswerByte(s.link, 2) != 0;
    if (!done)
        s.ui->MessageBox(GetText(s, kErrorsTitle), GetText(s, kResetErrorsRefused), MsgButtons::Ok, MsgIcon::Exclamation);
    return done;
}

void ShowLoopErrors(Session& s, LoopContext& c) {
    if (!LiveViewAllowed(s.config, c)) return;
    Ui& ui = *s.ui;
    ui.OpenDiagWindow(GetText(s, kErrorsTitle), 8, 56, true);
    ui.WriteDiag(1, 2, GetText(s, kCountersHeading), ScreenColor::Default);
    for (int i = 0; i < 4; ++i) ui.WriteDiag(2 + i, 2, GetText(s, kCounterNames + i), ScreenColor::Default);
    ui.WriteDiag(7, 2, GetText(s, kLoopLabel), ScreenColor::Default);
    while (ui.DiagWindowOpen()) {
        LoopErrors e;
        if (!ReadLoopErrors(s, c, e)) break;
        for (int i = 0; i < 4; ++i) {
            const int v = e.counters[static_cast<std::size_t>(i)];
            ui.WriteDiag(2 + i, 19, PadSpaces(3, v), v == 0 ? ScreenColor::Green : ScreenColor::Red);
        }
        ui.WriteDiag(5, 22, std::string(34, ' '), ScreenColor::Default);
        if (e.faultPoint > 0)
            ui.WriteDiag(5, 22,
                         GetText(s, kPointNumber) + std::to_string(e.faultPoint) + GetText(s, kModuleNumber) +
                             std::to_string(c.module) + "]",
                         ScreenColor::Red);
        ui.WriteDiag(7, 11, Utf8PadRight(GetText(s, e.status == 1 ? kLoopOk : kLoopNotOk), 20),
                     e.status == 1 ? ScreenColor::Green : ScreenColor::Red);
        if (!WaitInView(s, kErrorsSeconds, [&ui] { return !ui.DiagWindowOpen(); })) break;
        if (ui.TakeDiagReset() &&
            ui.MessageBox(GetText(s, kErrorsTitle), GetText(s, kResetErrorsQuestion), MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes)
            ResetLoopErrors(s, c);
    }
    s.events.AbortRequested = false;
    ui.CloseDiagWindow();
}

// --- line current ----------------------------------------------------------------------

int LineCurrentFromSamples(const std::array<int, 3>& samples) {
    int sum = 0;
    for (int b : samples) sum += b < 4 ? 0 : b - 4;
    // sum * 2 / 1.4 in whole numbers: 1.4 has no exact binary form, and
    // 175 must give exactly 250.
    return sum * 10 / 7;
}

int ReadLineCurrent(Session& s, const LoopContext& c) {
    std::array<int, 3> samples{};
    for (int& b : samples) {
        if (!LoopExchange(s, c.module, 135)) return -1;
        b = AnswerByte(s.link, 2);
    }
    return LineCurrentFromSamples(samples);
}

void ShowLineCurrent(Session& s, LoopContext& c) {
    if (!LiveViewAllowed(s.config, c)) return;
    Ui& ui = *s.ui;
    ui.OpenDiagWindow(GetText(s, kCurrentTitle), 4, 40, false);
    ui.WriteDiag(1, 2, GetText(s, kCurrentTitle), ScreenColor::Default);
    ui.WriteDiag(3, 9, "mA", ScreenColor::Default);
    while (ui.DiagWindowOpen()) {
        const int ma = ReadLineCurrent(s, c);
        if (ma < 0) break;
        // The value ends before "mA"; above the limit "!!" stands in front.
        if (ma > kCurrentLimit) ui.WriteDiag(3, 3, "!!" + PadSpaces(4, ma), ScreenColor::Red);
        else ui.WriteDiag(3, 3, "  " + PadSpaces(4, ma), ScreenColor::Green);
        if (!WaitInView(s, kCurrentSeconds, [&ui] { return !ui.DiagWindowOpen(); })) break;
    }
    s.events.AbortRequested = false;
    ui.CloseDiagWindow();
}

}  // namespace cfg
