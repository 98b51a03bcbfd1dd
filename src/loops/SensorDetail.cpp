// The sensor detail window: what is configured at one point, its window, and
// with the panel its live reading and state, refreshed while the window is
// open.
#include <algorithm>

#include "transfer/Blocks.h"
#include "link/PanelCommands.h"
#include "link/Screen.h"
#include "loops/LoopSection.h"
#include "shell/Language.h"
#include "shell/Shell.h"
#include "shell/Text.h"

namespace cfg {

namespace {

constexpr int kRows = 18;
constexpr int kColumns = 64;
constexpr int kLabel = 2;
constexpr int kValue = 15;
constexpr int kDescriptionLength = 16;
constexpr double kLiveSeconds = 1.2;

// Texts.
constexpr int kPointLabel = 375, kModuleNumber = 377;
constexpr int kDeviceNumber = 393, kSensorNumber = 394;
constexpr int kNoReply = 378;
constexpr int kTypeLabel = 379, kDescriptionLabel = 380, kSettingLabel = 381, kZoneLabel = 382;
constexpr int kAlarmLevel = 395, kPreAlarmLevel = 383, kFaultLevel = 384;
constexpr int kReferenceLabel = 1420, kLearntRangeLabel = 1421, kCalibrationLabel = 1422;
constexpr int kReadingLabel = 385, kStateLabel = 386, kUnknownState = 391;

std::string Description(Session& s, int point) {
    auto& buf = s.config.TransferBuffer;
    for (int i = 1; i <= kDescriptionLength; ++i) buf[i] = 32;
    const long offset = static_cast<long>(point - 1) * kDescriptionLength;
    if (s.config.ConfigSource == ConfigSource::Panel) {
        if (!ReadMemoryMap(s).Done()) return {};
        // A failed read has been reported and leaves the blanks.
        (void)ReadPanelBlock(s, s.config.AddressDirectory[kDescriptionEntry] + offset, kDescriptionLength, 1, buf);
    } else {
        (void)ReadBlock(s, offset, kDescriptionLength, ".MY2", 1, buf);
    }
    std::string latin;
    for (int i = 1; i <= kDescriptionLength; ++i) {
        const int b = buf[i] & 0xFF;
        latin += b < 32 || b >= 176 ? ' ' : static_cast<char>(b);
    }
    return Latin1ToUtf8(latin);
}

// Re-reads the two live bytes of point index k. False when the read failed.
bool ReadLivePoint(Session& s, LoopContext& c, int k) {
    if (!ReadMemoryMap(s).Done()) return false;
    auto& buf = s.config.TransferBuffer;
    const long at = s.config.AddressDirectory[kLiveEntry] + (c.module - 1) * kLoopTableBytes + 2 * (k - 1);
    if (!ReadPanelBlock(s, at, 2, 1, buf).Done()) return false;
    c.live[2 * k - 1] = buf[1] & 0xFF;
    c.live[2 * k] = buf[2] & 0xFF;
    return true;
}

}  // namespace

void ShowPointDetail(Session& s, LoopContext& c, int point) {
    const int k = point - (c.module - 1) * kPointsPerModule;
    if (k < 1 || k > kPointsPerModule) return;
    const bool panel = s.config.ConfigSource == ConfigSource::Panel;
    Ui& ui = *s.ui;
    const auto& image = s.config.ConfigImage;
    const int b1 = image[kPointConfigCell + 2 * (k - 1)] & 0xFF;
    const int b2 = image[kPointConfigCell + 2 * (k - 1) + 1] & 0xFF;
    const int group = (b2 & 31) + 1;
    const int t = b1 >> 4;
    const bool silent = panel && (c.live[2 * k - 1] & 64) != 0;

    bool red = false;
    const std::string typeName = SensorDetailName(s, silent ? 64 : t, b1 & 7, red);
    const std::string description = Description(s, point);
    const std::string logic =
        Utf8Left(PointLogicText(s, PointEntry::Decode(b1, b2), point), 33);

    ui.OpenDetailWindow(GetText(s, kPointLabel) + " " + std::to_string(point), kRows, kColumns);
    ui.WriteDetail(2, kLabel, GetText(s, kPointLabel) + "   " + PadZeros(3, point), ScreenColor::Default);
    ui.WriteDetail(2, kValue,
                   GetText(s, kModuleNumber) + std::to_string(c.module) + "; " + GetText(s, t < 9 ? kSensorNumber : kDeviceNumber) +
                       std::to_string(k) + "]",
                   ScreenColor::Default);
    if (silent) ui.WriteDetail(2, 48, GetText(s, kNoReply), ScreenColor::Red);
    ui.WriteDetail(3, kLabel, GetText(s, kTypeLabel), ScreenColor::Default);
    ui.WriteDetail(3, kValue, typeName, red ? ScreenColor::Red : ScreenColor::Default);
    ui.WriteDetail(4, kLabel, GetText(s, kDescriptionLabel), ScreenColor::Default);
    ui.WriteDetail(4, kValue, description, ScreenColor::Default);
    ui.WriteDetail(5, kLabel, GetText(s, kSettingLabel), ScreenColor::Default);
    ui.WriteDetail(5, kValue, logic, ScreenColor::Default);
    ui.WriteDetail(6, kLabel, GetText(s, kZoneLabel), ScreenColor::Default);
    ui.WriteDetail(6, kValue, std::to_string(group), ScreenColor::Default);

    const DetailRule rule = DetailRuleOf(s, c, k);
    const PointWindow w = rule.window;
    const int reference = rule.reference;
    if (t > 0) {
        const int x = image[kPointParamCell + 2 * (k - 1) + 1] & 0xFF;
        ui.WriteDetail(8, kLabel, GetText(s, kAlarmLevel), ScreenColor::Default);
        ui.WriteDetail(8, kValue, LoopValueText(w.hi), ScreenColor::Default);
        ui.WriteDetail(9, kLabel, GetText(s, kPreAlarmLevel), ScreenColor::Default);
        ui.WriteDetail(9, kValue, LoopValueText(w.mid), ScreenColor::Default);
        ui.WriteDetail(10, kLabel, GetText(s, kFaultLevel), ScreenColor::Default);
        ui.WriteDetail(10, kValue, LoopValueText(w.lo), ScreenColor::Default);
        if (panel && reference >= 0) {
            const bool off = reference <= w.lo || reference >= w.up;
            ui.WriteDetail(12, kLabel, GetText(s, kReferenceLabel), ScreenColor::Default);
            ui.WriteDetail(12, kValue, LoopValueText(reference), off ? ScreenColor::Red : ScreenColor::Default);
            ui.WriteDetail(13, kLabel, GetText(s, kLearntRangeLabel), ScreenColor::Default);
            ui.WriteDetail(13, kValue, LoopValueText(w.lo) + "..." + LoopValueText(w.up), ScreenColor::Default);
            ui.WriteDetail(14, kLabel, GetText(s, kCalibrationLabel), ScreenColor::Default);
            ui.WriteDetail(14, kValue, LoopValueText(x), ScreenColor::Default);
        }
    }

    if (panel) {
        ui.WriteDetail(16, kLabel, GetText(s, kReadingLabel), ScreenColor::Default);
        ui.WriteDetail(17, kLabel, GetText(s, kStateLabel), ScreenColor::Default);
        const double opened = s.clock->SecondsSinceMidnight();
        while (ui.DetailWindowOpen()) {
            if (!ReadLivePoint(s, c, k)) break;
            const int reading = c.live[2 * k];
            const int state = t > 0 ? PointState(reading, w, t, reference) : -1;
            static constexpr int kStateText[4] = {387, 388, 389, 390};
            const std::string stateText = state >= 0 && state <= 3 ? GetText(s, kStateText[state]) : GetText(s, kUnknownState);
            ui.WriteDetail(16, kValue, LoopValueText(reading) + "    ", ScreenColor::Default);
            ui.WriteDetail(17, kValue, Utf8PadRight(stateText, 20),
                           state == 1 ? ScreenColor::Green : ScreenColor::Red);
            LoopMark m;
            m.point = point;
            m.configured = t > 0;
            m.reading = reading;
            m.lo = w.lo;
            m.mid = w.mid;
            m.hi = w.hi;
            m.up = w.up;
            m.state = state;
            ui.AddDetailSample(s.clock->SecondsSinceMidnight() - opened, m);
            if (!WaitInView(s, kLiveSeconds, [&ui] { return !ui.DetailWindowOpen(); })) break;
        }
    } else {
        while (ui.DetailWindowOpen()) {
            if (s.events.AbortRequested) break;
            Yield(s);
        }
    }
    s.events.AbortRequested = false;
    ui.CloseDetailWindow();
}

}  // namespace cfg
