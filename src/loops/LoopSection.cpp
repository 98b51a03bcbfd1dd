#include "loops/LoopSection.h"

#include <algorithm>

#include "config/Files.h"
#include "transfer/Blocks.h"
#include "transfer/SectionBlocks.h"
#include "link/Link.h"
#include "link/PanelCommands.h"
#include "link/Screen.h"
#include "loops/WalkTest.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Shell.h"
#include "shell/Text.h"

namespace cfg {

namespace {

constexpr uint32_t kAbsentColour = 0x8080FF;   // light red
constexpr uint32_t kPresentColour = 0xC0FFC0;  // light green
constexpr int kModelLength = 32;
constexpr double kListRefreshSeconds = 4.0;

// Texts.
constexpr int kNotCarriedOut = 1289, kModuleWord = 1139;
constexpr int kSensorHeading = 392;
constexpr int kNoAddress = 1440;
constexpr int kConfiguredSensors = 396;  // after the count
constexpr int kListTitle = 207, kConfiguredCount = 206, kAddressZeroDevice = 1209;
constexpr int kCloseCaption = 208;
// The loop caption: "NOT PRESENT -", " Analogue module" and its number, "[points" and the range.
constexpr int kCaptionModule = 7, kCaptionNotPresent = 8, kCaptionPoints = 9;

bool FromPanel(const ConfigState& config) { return config.ConfigSource == ConfigSource::Panel; }

// Panel address of a table reached through address directory entry `entry`.
long EntryAddress(Session& s, PanelEntry entry, long plus) {
    if (!ReadMemoryMap(s).Done()) return -1;
    return s.config.AddressDirectory[entry] + plus;
}

// Reads `count` bytes of a panel-only table into `into` (bytes 1..count).
bool ReadPanelTable(Session& s, long address, int count, BoundedArray<int, 1, 500>& into) {
    if (address < 0) return false;
    auto& buf = s.config.TransferBuffer;
    if (!ReadPanelBlock(s, address, count, 1, buf).Done()) return false;
    for (int i = 1; i <= count; ++i) into[i] = buf[i] & 0xFF;
    return true;
}

// The text the model and version commands answer: the answer's characters,
// at most 32, trimmed.
std::string AnswerText(const LinkState& link) {
    const auto& b = link.LoopCommand;
    const int n = std::min<int>(std::min<int>(b[1], kModelLength), 31);
    std::string text;
    for (int i = 2; i < 2 + n; ++i) {
        const int c = b[i] & 0xFF;
        text += c >= 32 && c < 127 ? static_cast<char>(c) : ' ';
    }
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The Toolbar2 wait: until a button leaves a view code. Nothing else is
// going on, so the program sleeps until a window event comes. A button
// pressed while the last view was ending counts: it is taken here.
int WaitForViewButton(Session& s) {
    while (s.main.DiagnosticCommand == 0) IdleYield(s);
    const int view = s.main.DiagnosticCommand;
    s.main.DiagnosticCommand = 0;
    return view;
}

int PressedPositionOf(int view) {
    switch (view) {
    case loopview::kList: return loopbutton::kList;
    case loopview::kMinMax: return loopbutton::kMinMax;
    case loopview::kThresholds: return loopbutton::kThresholds;
    case loopview::kAutoConfig: return loopbutton::kAutoConfig;
    case loopview::kErrors: return loopbutton::kErrors;
    case loopview::kCurrent: return loopbutton::kCurrent;
    case loopview::kEnd: return loopbutton::kEnd;
    case loopview::kWalkTest: return loopbutton::kWalkTest;
    default: return 0;
    }
}

}  // namespace

void LoopContext::ClearLiveTables() {
    minMax.Fill(255);
    live.Fill(0);
    reference.Fill(0);
}

// --- exchanges and waits ----------------------------------------------------------

bool LoopExchange(Session& s, int module, int command, int argument, bool showErrors) {
    auto& b = s.link.LoopCommand;
    b.Fill(0);
    b[1] = 2;
    b[2] = static_cast<int16_t>(command);
    b[3] = static_cast<int16_t>(argument);
    s.link.LoopNumber = static_cast<int16_t>(module);
    return SendLoopCommand(s, showErrors).Done();
}

int AnswerByte(const LinkState& link, int n) {
    if (n < 2 || n > 32) return 0;
    return n - 1 <= link.LoopCommand[1] ? link.LoopCommand[n] & 0xFF : 0;
}

bool WaitInView(Session& s, const double seconds, const std::function<bool()>& stop) {
    const double start = s.clock->SecondsSinceMidnight();
    for (;;) {
        if (s.events.AbortRequested) {
            s.events.AbortRequested = false;
            return false;
        }
        const double elapsed = s.clock->SecondsSinceMidnight() - start;
        if (elapsed >= seconds || elapsed < 0 || (stop && stop())) return true;
        // A live view can be ended from the busy area at any time, not only
        // while an exchange runs.
        s.ui->SetAbortButtonVisible(true);
        Yield(s);
    }
}

// --- module directory, identification, caption, buttons ----------------------------

OpResult ReadModuleDirectory(Session& s, LoopContext& c) {
    c.present.fill(0);
    const long address = kModuleDirectoryOffset + (FromPanel(s.config) ? kPanelTableBase : 0);
    const OpResult read =
        ReadBlock(s, address, kModuleDirectorySlots, ".CY2", static_cast<int>(kModuleDirectoryOffset), s.config.ConfigImage);
    if (read.Done()) MarkPresentModules(s.config, c);
    return read;
}

void MarkPresentModules(const ConfigState& config, LoopContext& c) {
    for (int i = 0; i < kModuleDirectorySlots; ++i) {
        const int b = config.ConfigImage[static_cast<int>(kModuleDirectoryOffset) + i] & 0xFF;
        if (b >= 65 && b <= 67) c.present[static_cast<std::size_t>(b - 64)] = true;
    }
}

bool IdentifyModule(Session& s, LoopContext& c) {
    c.ModuleModel.clear();
    c.ModuleVersion.clear();
    if (!FromPanel(s.config) || !c.Present()) return true;
    bool answered = false;
    for (int attempt = 0; attempt < 2 && !answered; ++attempt)
        answered = LoopExchange(s, c.module, 137, 0, false);
    if (!answered) return false;
    if (!LoopExchange(s, c.module, 9, 0, false)) return false;
    c.ModuleModel = AnswerText(s.link);
    if (!LoopExchange(s, c.module, 10, 0, false)) return false;
    c.ModuleVersion = AnswerText(s.link);
    return true;
}

std::string LoopCaptionText(Session& s, const LoopContext& c) {
    std::string text = GetText(s, kCaptionModule) + " " + std::to_string(c.module) + " ";
    if (!c.Present()) text = GetText(s, kCaptionNotPresent) + text;
    if (!c.ModuleModel.empty()) text += "  (" + c.ModuleModel + " V" + c.ModuleVersion + ")";
    text += "\r\n" + GetText(s, kCaptionPoints) + " " + std::to_string(c.firstPoint) + "-" +
            std::to_string(c.lastPoint) + "]";
    return text;
}

uint32_t LoopCaptionColour(const LoopContext& c) { return c.Present() ? kPresentColour : kAbsentColour; }

void SetLoopButtons(Session& s, const LoopContext& c) {
    const bool present = c.Present();
    for (int p = loopbutton::kEnd; p <= loopbutton::kWalkTest; ++p) s.ui->SetLoopButtonEnabled(p, present);
    s.ui->SetLoopButtonEnabled(loopbutton::kEnd, true);
    if (present && !FromPanel(s.config))
        for (int p : {loopbutton::kAutoConfig, loopbutton::kMinMax, loopbutton::kErrors, loopbutton::kCurrent,
                      loopbutton::kWalkTest})
            s.ui->SetLoopButtonEnabled(p, false);
    s.ui->SetLoopButtonEnabled(loopbutton::kThresholds, false);
}

// --- the section ------------------------------------------------------------------------

void LoopSection(Session& s, PrintMode mode, int option) {
    LoopContext c;
    c.module = 1;
    ClearScreenLines(s);
    if (!ReadModuleDirectory(s, c).Done()) return;
    if (option < 1) return;
    // Module 3 may be flagged by the directory, but no tables exist for it:
    // the section offers modules 1 and 2 only.
    c.module = std::clamp(option, 1, kLoopModules);

    if (!IdentifyModule(s, c)) {
        ShowAlert(s, GetText(s, kNotCarriedOut), GetText(s, kModuleWord));
        return;
    }
    c.firstPoint = ShownPoint(c.module, 1);
    c.lastPoint = ShownPoint(c.module, kPointsPerModule);

    // For the printout the section builds the compact sensor list of the
    // module and shows nothing.
    if (mode == PrintMode::LinesOnly) {
        ShowConfiguredSensors(s, c, true);
        return;
    }

    s.ui->ShowLoopToolbar(true);
    s.main.DiagnosticCommand = 0;  // nothing pressed before the toolbar showed
    for (;;) {
        s.ui->SetLoopCaption(LoopCaptionText(s, c), LoopCaptionColour(c));
        SetLoopButtons(s, c);
        const int view = WaitForViewButton(s);
        s.ui->SetLoopButtonPressed(PressedPositionOf(view));
        if (view == loopview::kEnd) break;
        s.events.AbortRequested = false;
        switch (view) {
        case loopview::kList: ShowConfiguredSensors(s, c, false); break;
        case loopview::kMinMax: ShowMinMax(s, c); break;
        case loopview::kAutoConfig: RunAutoConfiguration(s, c, {}); break;
        case loopview::kErrors: ShowLoopErrors(s, c); break;
        case loopview::kCurrent: ShowLineCurrent(s, c); break;
        case loopview::kWalkTest: ShowWalkTest(s, c); break;
        default: break;  // soglie has no view
        }
        s.ui->SetAbortButtonVisible(false);
        s.ui->SetLoopButtonPressed(0);
    }
    s.ui->SetLoopButtonPressed(0);
    s.ui->SetLoopCaption({}, 0);
    s.ui->ShowLoopToolbar(false);
}

// --- loop tables ----------------------------------------------------------------------

bool LoadLoopTables(Session& s, LoopContext& c, bool askAddressZero) {
    auto& image = s.config.ConfigImage;
    for (int i = 1; i <= 1000; ++i) image[i] = 0;
    c.ClearLiveTables();
    const bool panel = FromPanel(s.config);
    if (s.config.ConfigSource != ConfigSource::File && !panel) {
        s.link.LinkStatus = status::kNoSource;
        return false;
    }

    auto& buf = s.config.TransferBuffer;
    if (panel) {
        const long at = EntryAddress(s, kThresholdEntry, 0);
        if (at < 0) return false;
        if (!ReadPanelBlock(s, at, kTypeThresholdSize, 1, buf).Done()) return false;
    } else {
        if (!ReadBlock(s, kTypeThresholdOffset, kTypeThresholdSize, ".CY2", 1, buf).Done()) return false;
    }
    c.thresholds.Load(buf, 1);

    const long base = panel ? kPanelTableBase : 0;
    if (!ReadBlock(s, base + PointConfigOffset(c.module), kLoopTableBytes, ".CY2", kPointConfigCell, image).Done()) return false;
    if (!ReadBlock(s, base + PointParamOffset(c.module), kLoopTableBytes, ".CY2", kPointParamCell, image).Done()) return false;

    c.addressZero = {0, 0};
    if (panel) {
        if (askAddressZero) ReadAddressZero(s, c);
        if (!ReadLiveTable(s, c)) return false;
        return ReadPanelTable(s, EntryAddress(s, kLiveEntry, 1600 + (c.module - 1) * kLoopTableBytes),
                              kLoopTableBytes, c.reference);
    }
    if (!ReadBlock(s, ReferenceOffset(c.module), kLoopTableBytes, ".CY2", 1, buf).Done()) return false;
    for (int i = 1; i <= kLoopTableBytes; ++i) c.reference[i] = buf[i] & 0xFF;
    return true;
}

bool ReadLiveTable(Session& s, LoopContext& c) {
    return ReadPanelTable(s, EntryAddress(s, kLiveEntry, (c.module - 1) * kLoopTableBytes), kLoopTableBytes, c.live);
}

bool ReadMinMaxTable(Session& s, LoopContext& c) {
    return ReadPanelTable(s, EntryAddress(s, kLiveEntry, 800 + (c.module - 1) * kLoopTableBytes), kLoopTableBytes,
                          c.minMax);
}

void ReadAddressZero(Session& s, LoopContext& c) {
    c.addressZero = {0, 0};
    if (!FromPanel(s.config) || !c.Present()) return;
    if (LoopExchange(s, c.module, 15)) c.addressZero = {AnswerByte(s.link, 2), AnswerByte(s.link, 3)};
    // A module that cannot tell leaves the list without address-0 lines.
    s.link.LinkStatus = status::kDone;
}

// --- the sensor list --------------------------------------------------------------------

PointWindow PointWindowOf(const ConfigState& config, const LoopContext& c, int index, bool withReference) {
    const auto& image = config.ConfigImage;
    const int b1 = image[kPointConfigCell + 2 * (index - 1)] & 0xFF;
    const int x = image[kPointParamCell + 2 * (index - 1) + 1] & 0xFF;
    const int reference = withReference ? ReferenceLevel(c.reference, index) : -1;
    return ComputeWindow(c.thresholds, b1 >> 4, b1 & 7, x, reference);
}

int BuildLoopList(Session& s, LoopContext& c, bool compact) { return RenderLoopList(PageOf(s), c, FromPanel(s.config), compact); }

int RenderLoopList(const Page& s, LoopContext& c, bool panel, bool compact) {
    ClearScreenLines(s);
    int line = NewScreenLine(s, 0);
    WriteScreenText(s, line, 1, GetText(s, kSensorHeading) + " ");
    for (int code : c.addressZero) {
        if (code == 0) continue;
        const int naming = (code & 192) != 0 ? code & 192 : code & 15;
        line = NewScreenLine(s, 0);
        WriteScreenText(s, line, 1, "  0: " + SensorTypeName(s.texts, naming, 0) + " " + GetText(s, kNoAddress));
    }
    const auto& image = s.config.ConfigImage;
    int count = 0;
    bool inEmptyRun = false;
    for (int k = 1; k <= kPointsPerModule; ++k) {
        const int p = ShownPoint(c.module, k);
        const int b1 = image[kPointConfigCell + 2 * (k - 1)] & 0xFF;
        const int t = b1 >> 4;
        if (t == 0) {
            if (compact) {
                if (!inEmptyRun) {
                    line = NewScreenLine(s, 2, static_cast<int16_t>(p));
                    WriteScreenText(s, line, 1, SensorTypeName(s.texts, 0, 0));
                }
                inEmptyRun = true;
                continue;
            }
            line = NewScreenLine(s, 2, static_cast<int16_t>(p));
            WriteScreenText(s, line, 1, PadSpaces(3, p) + ": " + SensorTypeName(s.texts, 0, 0));
            continue;
        }
        inEmptyRun = false;
        ++count;
        const int naming = panel ? NamingType(t, c.live[2 * k - 1]) : t;
        const PointWindow w = PointWindowOf(s.config, c, k, true);
        std::string text = PadSpaces(3, p) + ": " + SensorTypeName(s.texts, naming, b1 & 7);
        if (panel) {
            const int reading = c.live[2 * k];
            const bool inside = w.lo <= reading && reading < w.up;
            text += LoopValueText(reading) + "  " + (inside ? "       [" : " !     [");
        } else {
            text += "             [";
        }
        text += LoopValueText(w.lo) + "/" + LoopValueText(w.mid) + "/" + LoopValueText(w.hi) + "]";
        line = NewScreenLine(s, 1, static_cast<int16_t>(p));
        WriteScreenText(s, line, 1, text);
    }
    line = NewScreenLine(s, 0);
    WriteScreenText(s, line, 1, "-----");
    line = NewScreenLine(s, 0);
    WriteScreenText(s, line, 1, std::to_string(count) + GetText(s, kConfiguredSensors));
    c.configured = count;
    return count;
}

int PointState(int reading, const PointWindow& w, int type, int reference) {
    int state = 1;
    if (reading <= w.lo) state = 0;
    else if (reading >= w.hi) state = 3;
    else if (reading >= w.mid) state = 2;
    // A drift-compensated sensor whose reference has run up to its limit can
    // no longer follow the smoke: it counts as a fault.
    if (state == 1 && (type == 2 || type == 3) && reference >= 0 && reference >= w.up) state = 0;
    return state;
}

DetailRule DetailRuleOf(const Session& s, const LoopContext& c, int k) {
    DetailRule r;
    const auto& image = s.config.ConfigImage;
    const int b1 = image[kPointConfigCell + 2 * (k - 1)] & 0xFF;
    r.type = b1 >> 4;
    if (r.type == 0) return r;
    // Only indices 1..99 have a reference level: the same window as the
    // point's list line.
    if (r.type == 2 || r.type == 3) r.reference = ReferenceLevel(c.reference, k);
    const int x = image[kPointParamCell + 2 * (k - 1) + 1] & 0xFF;
    r.window = ComputeWindow(c.thresholds, r.type, b1 & 7, x, r.reference);
    return r;
}

LoopPicture LoopOverview(const Session& s, const LoopContext& c) {
    LoopPicture pic;
    pic.kind = LoopPicture::Kind::Overview;
    pic.module = c.module;
    pic.addressZero = c.addressZero;
    pic.marks.reserve(kPointsPerModule);
    const bool panel = FromPanel(s.config);
    const auto& image = s.config.ConfigImage;
    for (int k = 1; k <= kPointsPerModule; ++k) {
        LoopMark m;
        m.point = ShownPoint(c.module, k);
        const int b1 = image[kPointConfigCell + 2 * (k - 1)] & 0xFF;
        const int t = b1 >> 4;
        m.configured = t != 0;
        if (m.configured) {
            const PointWindow w = PointWindowOf(s, c, k, true);
            m.lo = w.lo;
            m.mid = w.mid;
            m.hi = w.hi;
            m.up = w.up;
            if (panel) {
                m.reading = c.live[2 * k];
                m.answering = (c.live[2 * k - 1] & 64) == 0;
                m.state = m.answering ? PointState(m.reading, w, t, ReferenceLevel(c.reference, k)) : 0;
            }
        }
        pic.marks.push_back(m);
    }
    return pic;
}

int ChosenPoint(const Session& s, const LoopContext& c, const LoopListInput& in) {
    if (in.openedLine >= 0) {
        const LineDescriptor d = DescriptorOf(s.screen, in.openedLine + 1);
        return d.field == 1 ? d.value2 : 0;
    }
    if (in.clickedPoint <= 0) return 0;
    const int k = in.clickedPoint - (c.module - 1) * kPointsPerModule;
    const bool configured = k >= 1 && k <= kPointsPerModule && (s.config.ConfigImage[2 * k - 1] & 0xF0) != 0;
    return configured ? in.clickedPoint : 0;
}

void ShowConfiguredSensors(Session& s, LoopContext& c, bool compact) {
    if (!c.Present()) return;
    if (!LoadLoopTables(s, c)) return;
    BuildLoopList(s, c, compact);
    if (compact) return;

    const bool panel = FromPanel(s.config);
    LoopListSpec spec;
    spec.title = GetText(s, kListTitle) + std::to_string(c.module) + "       " + GetText(s, kConfiguredCount) +
                 std::to_string(c.configured) + (c.addressZero[0] || c.addressZero[1] ? GetText(s, kAddressZeroDevice) : "") + "]";
    spec.closeCaption = GetText(s, kCloseCaption);
    s.ui->OpenLoopList(spec);
    s.ui->ShowLoopList(ScreenLines(s.screen), LoopOverview(s, c), 0, -1);

    double since = s.clock->SecondsSinceMidnight();
    for (;;) {
        Yield(s);
        if (s.events.AbortRequested) break;
        const LoopListInput in = s.ui->TakeLoopListInput();
        if (in.closed) break;
        if (in.activity) since = s.clock->SecondsSinceMidnight();
        const int point = ChosenPoint(s, c, in);
        if (point > 0) {
            ShowPointDetail(s, c, point);
            since = s.clock->SecondsSinceMidnight();
            continue;
        }
        const double elapsed = s.clock->SecondsSinceMidnight() - since;
        if (panel && (elapsed >= kListRefreshSeconds || elapsed < 0)) {
            const int top = s.ui->LoopListTop(), selected = s.ui->LoopListSelected();
            if (!ReadLiveTable(s, c)) break;
            BuildLoopList(s, c, false);
            s.ui->ShowLoopList(ScreenLines(s.screen), LoopOverview(s, c), top, selected);
            since = s.clock->SecondsSinceMidnight();
        }
    }
    s.events.AbortRequested = false;
    s.ui->CloseLoopList();
}

bool PrintLoopSensors(const FileSetImage& set, const Texts& texts, int option, std::vector<std::string>& lines) {
    LoopContext c;
    bool listed = false;
    return PrintFromImage(
        texts, lines,
        [&](ConfigState& config) {
            auto& image = config.ConfigImage;
            if (!ReadImageBlock(set, kMainFile, kModuleDirectoryOffset, kModuleDirectorySlots,
                                static_cast<int>(kModuleDirectoryOffset), image))
                return false;
            MarkPresentModules(config, c);
            if (option < 1) return true;
            c.module = std::clamp(option, 1, kLoopModules);
            if (!c.Present()) return true;
            // The tables as LoadLoopTables reads them from a file set.
            for (int i = 1; i <= 1000; ++i) image[i] = 0;
            auto& buf = config.TransferBuffer;
            if (!ReadImageBlock(set, kMainFile, kTypeThresholdOffset, kTypeThresholdSize, 1, buf)) return false;
            c.thresholds.Load(buf, 1);
            if (!ReadImageBlock(set, kMainFile, PointConfigOffset(c.module), kLoopTableBytes, kPointConfigCell, image) ||
                !ReadImageBlock(set, kMainFile, PointParamOffset(c.module), kLoopTableBytes, kPointParamCell, image) ||
                !ReadImageBlock(set, kMainFile, ReferenceOffset(c.module), kLoopTableBytes, 1, buf))
                return false;
            for (int i = 1; i <= kLoopTableBytes; ++i) c.reference[i] = buf[i] & 0xFF;
            listed = true;
            return true;
        },
        [&](const Page& p) {
            if (listed) RenderLoopList(p, c, false, true);
        });
}

}  // namespace cfg
