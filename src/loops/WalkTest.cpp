// The walk-test record: the state rule, the update from a live-table read,
// and the lines of the event list, the CSV and the handover report.
#include "loops/WalkTest.h"

#include <algorithm>
#include <cstdio>

#include "link/Screen.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/Text.h"

namespace cfg {

namespace {

// Texts.
constexpr int kModuleText = 1784;     // "Loop module"
constexpr int kTestedText = 1785;     // "Tested", 1786 "of"
constexpr int kEventTested = 1792;    // 1793 reading low, 1794 no answer, 1795 not configured
constexpr int kReportTitle = 1806;    // 1807..1813 the heading's labels
constexpr int kTestedHeading = 1814;  // 1815 not tested, 1816 faults, 1817 not configured
constexpr int kCountersHeading = 1818;
constexpr int kCurrentText = 1819;
constexpr int kNoneText = 1820;
constexpr int kColumnPoint = 1821;    // 1822 description, 1823 time, 1824 peak
constexpr int kStillRunning = 1828;
constexpr int kEventLowReading = 1793, kEventNoAnswer = 1794, kEventUnconfigured = 1795;
constexpr int kInstallationLabel = 1807, kPanelLabel = 1808, kFirmwareLabel = 1809, kSerialLabel = 1810;
constexpr int kStartedLabel = 1811, kEndedLabel = 1812, kTesterLabel = 1813;
constexpr int kCounterNames = 30;  // 30..33, one for each panel counter
constexpr int kLoopLabel = 34, kLoopNotOk = 36, kLoopOk = 37;
constexpr int kPointNumber = 376, kModuleNumber = 377;
constexpr int kPageLabel = 100;

constexpr int kRule = 70;
constexpr std::size_t kEndLabel = 28;  // the labels of the end readings
constexpr std::size_t kDescriptionWidth = 16;

std::string Two(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", std::clamp(v, 0, 99));
    return b;
}

std::string ClockText(const DateTime& t) { return Two(t.hour) + ":" + Two(t.minute) + ":" + Two(t.second); }

int FaultText(WalkFaultKind k) { return k == WalkFaultKind::NoAnswer ? kEventNoAnswer : kEventLowReading; }

const WalkPoint* FindPoint(const WalkRecord& r, int module, int point) {
    const WalkModule* m = r.Module(module);
    if (!m) return nullptr;
    for (const auto& p : m->points)
        if (p.point == point) return &p;
    for (const auto& p : m->strangers)
        if (p.point == point) return &p;
    return nullptr;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char ch : text) {
        if (ch == '"') out += '"';
        out += ch == '\r' || ch == '\n' ? ' ' : ch;
    }
    return out + "\"";
}

std::string FaultsText(Session& s, const WalkPoint& p) {
    std::string out;
    for (const auto& f : p.faults) {
        if (!out.empty()) out += ", ";
        out += ClockText(f.time) + " " + GetText(s, FaultText(f.kind));
    }
    return out;
}

}  // namespace

// --- the record -------------------------------------------------------------------

int WalkModule::Tested() const {
    return static_cast<int>(std::count_if(points.begin(), points.end(), [](const WalkPoint& p) { return p.tested; }));
}

WalkPoint* WalkModule::Find(int point) {
    for (auto& p : points)
        if (p.point == point) return &p;
    return nullptr;
}

WalkModule* WalkRecord::Module(int module) {
    for (auto& m : modules)
        if (m.module == module) return &m;
    return nullptr;
}

const WalkModule* WalkRecord::Module(int module) const {
    for (const auto& m : modules)
        if (m.module == module) return &m;
    return nullptr;
}

WalkModule& WalkRecord::ModuleFor(int module) {
    if (WalkModule* m = Module(module)) return *m;
    WalkModule m;
    m.module = module;
    modules.push_back(m);
    std::sort(modules.begin(), modules.end(), [](const WalkModule& a, const WalkModule& b) { return a.module < b.module; });
    return *Module(module);
}

// --- the state rule and the update --------------------------------------------------

WalkLoopSetup WalkSetupOf(const Session& s, const LoopContext& c) {
    WalkLoopSetup setup;
    setup.module = c.module;
    setup.thresholds = c.thresholds;
    for (int k = 1; k <= kPointsPerModule; ++k) {
        const DetailRule d = DetailRuleOf(s, c, k);
        if (d.type == 0) continue;
        setup.configured.push_back({k, d.type, d.window, d.reference});
    }
    return setup;
}

int WalkPointState(const WalkPointRule& r, int reading) { return PointState(reading, r.window, r.type, r.reference); }

int UnconfiguredPointState(const TypeThresholdTable& t, int liveFlags, int reading) {
    const int type = (liveFlags & 15) != 0 ? liveFlags & 15 : 1;
    const PointWindow w = ComputeWindow(t, type, 0, 0, -1);
    return PointState(reading, w, type, -1);
}

std::vector<WalkEvent> UpdateWalkRecord(WalkRecord& r, const WalkLoopSetup& setup, const BoundedArray<int, 1, 500>& live,
                                        const DateTime& now) {
    std::vector<WalkEvent> events;
    WalkModule& m = r.ModuleFor(setup.module);
    auto event = [&](int point, int reading, int state, WalkEventKind kind) {
        WalkEvent e;
        e.time = now;
        e.module = setup.module;
        e.point = point;
        e.reading = reading;
        e.state = state;
        e.kind = kind;
        events.push_back(e);
    };
    std::array<bool, kPointsPerModule + 1> configured{};
    for (const WalkPointRule& rule : setup.configured) {
        if (rule.index < 1 || rule.index > kPointsPerModule) continue;
        configured[static_cast<std::size_t>(rule.index)] = true;
        const int point = ShownPoint(setup.module, rule.index);
        WalkPoint* p = m.Find(point);
        if (!p) {
            WalkPoint fresh;
            fresh.point = point;
            m.points.push_back(fresh);
            std::sort(m.points.begin(), m.points.end(), [](const WalkPoint& a, const WalkPoint& b) { return a.point < b.point; });
            p = m.Find(point);
        }
        const int flags = live[2 * rule.index - 1] & 0xFF;
        const int reading = live[2 * rule.index] & 0xFF;
        const bool answering = (flags & 64) == 0;
        const int state = answering ? WalkPointState(rule, reading) : -1;
        if (answering) p->peak = std::max(p->peak, reading);
        if (state == 3 && !p->tested) {
            p->tested = true;
            p->first = now;
            p->firstReading = reading;
            event(point, reading, state, WalkEventKind::Tested);
        }
        const bool fault = !answering || state == 0;
        if (fault && !p->inFault) {
            const WalkFaultKind kind = answering ? WalkFaultKind::LowReading : WalkFaultKind::NoAnswer;
            p->faults.push_back({kind, now, reading});
            event(point, reading, state, answering ? WalkEventKind::Fault : WalkEventKind::NoAnswer);
        }
        p->inFault = fault;
    }
    // Points without a configuration that answer in alarm: a device the
    // configuration forgot, or one on the wrong address.
    for (int k = 1; k <= kPointsPerModule; ++k) {
        if (configured[static_cast<std::size_t>(k)]) continue;
        const int flags = live[2 * k - 1] & 0xFF;
        const int reading = live[2 * k] & 0xFF;
        if ((flags & 64) != 0 || (flags == 0 && reading == 0)) continue;
        const int point = ShownPoint(setup.module, k);
        auto it = std::find_if(m.strangers.begin(), m.strangers.end(), [point](const WalkPoint& p) { return p.point == point; });
        if (it != m.strangers.end()) {
            it->peak = std::max(it->peak, reading);
            continue;
        }
        if (UnconfiguredPointState(setup.thresholds, flags, reading) != 3) continue;
        WalkPoint p;
        p.point = point;
        p.tested = true;
        p.first = now;
        p.firstReading = reading;
        p.peak = reading;
        m.strangers.push_back(p);
        std::sort(m.strangers.begin(), m.strangers.end(), [](const WalkPoint& a, const WalkPoint& b) { return a.point < b.point; });
        event(point, reading, 3, WalkEventKind::Unconfigured);
    }
    r.events.insert(r.events.end(), events.begin(), events.end());
    return events;
}

// --- texts --------------------------------------------------------------------------------

std::string WalkTimeText(const DateTime& t) {
    char b[32];
    std::snprintf(b, sizeof b, "%04d-%02d-%02d %02d:%02d:%02d", std::clamp(t.year, 0, 9999), std::clamp(t.month, 0, 99),
                  std::clamp(t.day, 0, 99), std::clamp(t.hour, 0, 99), std::clamp(t.minute, 0, 99),
                  std::clamp(t.second, 0, 99));
    return b;
}

std::string WalkReadingText(int reading) { return reading < 0 ? std::string() : Trim(LoopValueText(reading)); }

std::string WalkTestedText(Session& s, const WalkModule& m) {
    return GetText(s, kTestedText) + " " + std::to_string(m.Tested()) + " " + GetText(s, kTestedText + 1) + " " +
           std::to_string(m.Configured());
}

std::string WalkEventLine(Session& s, const WalkRecord& r, const WalkEvent& e) {
    const WalkPoint* p = FindPoint(r, e.module, e.point);
    const std::string description = p ? p->description : std::string();
    static constexpr int kStateText[4] = {387, 388, 389, 390};
    std::string what;
    switch (e.kind) {
    case WalkEventKind::Tested: what = GetText(s, kStateText[3]) + ": " + GetText(s, kEventTested); break;
    case WalkEventKind::Fault: what = GetText(s, kStateText[0]) + ": " + GetText(s, kEventLowReading); break;
    case WalkEventKind::NoAnswer: what = GetText(s, kStateText[0]) + ": " + GetText(s, kEventNoAnswer); break;
    case WalkEventKind::Unconfigured: what = GetText(s, kStateText[3]) + ": " + GetText(s, kEventUnconfigured); break;
    }
    const std::string reading = e.kind == WalkEventKind::NoAnswer ? "  --" : LoopValueText(e.reading);
    return ClockText(e.time) + "  " + PadSpaces(3, e.point) + "  " + Utf8PadRight(description, kDescriptionWidth) + " " +
           reading + "  " + what;
}

std::vector<std::string> WalkCsvLines(Session& s, const WalkRecord& r) {
    std::vector<std::string> lines{"module;point;description;tested;time;peak;faults"};
    for (const WalkModule& m : r.modules) {
        const std::string module = std::to_string(m.module);
        for (const WalkPoint& p : m.points)
            lines.push_back(module + ";" + std::to_string(p.point) + ";" + CsvField(p.description) + ";" +
                            (p.tested ? "yes" : "no") + ";" + (p.tested ? WalkTimeText(p.first) : "") + ";" +
                            WalkReadingText(p.peak) + ";" + CsvField(FaultsText(s, p)));
        for (const WalkPoint& p : m.strangers)
            lines.push_back(module + ";" + std::to_string(p.point) + ";" + CsvField(p.description) + ";unconfigured;" +
                            WalkTimeText(p.first) + ";" + WalkReadingText(p.peak) + ";");
    }
    return lines;
}

std::vector<std::string> WalkReportLines(Session& s, const WalkRecord& r) {
    std::vector<std::string> out;
    const std::string rule(kRule, '-');
    auto label = [&s](int id) { return Utf8PadRight(GetText(s, id), 16) + " "; };
    out.push_back(GetText(s, kReportTitle));
    out.push_back(rule);
    out.push_back(label(kInstallationLabel) + r.installation);
    out.push_back(label(kPanelLabel) + r.panelName);
    out.push_back(label(kFirmwareLabel) + r.firmware);
    out.push_back(label(kSerialLabel) + (r.serial.empty() ? GetText(s, kNoneText) : r.serial));
    out.push_back(label(kStartedLabel) + WalkTimeText(r.started));
    out.push_back(label(kEndedLabel) + (r.hasEnded ? WalkTimeText(r.ended) : GetText(s, kStillRunning)));
    out.push_back(label(kTesterLabel) + r.tester);
    const std::string columns = "  " + Utf8PadRight(GetText(s, kColumnPoint), 6) + " " +
                                Utf8PadRight(GetText(s, kColumnPoint + 1), kDescriptionWidth) + " " +
                                Utf8PadRight(GetText(s, kColumnPoint + 2), 19) + " " + GetText(s, kColumnPoint + 3);
    auto pointLead = [](const WalkPoint& p) {
        return "  " + PadSpaces(6, p.point) + " " + Utf8PadRight(p.description, kDescriptionWidth) + " ";
    };
    for (const WalkModule& m : r.modules) {
        out.push_back(rule);
        out.push_back(GetText(s, kModuleText) + " " + std::to_string(m.module) + ": " + WalkTestedText(s, m));
        out.push_back("");
        out.push_back(GetText(s, kTestedHeading));
        out.push_back(columns);
        int n = 0;
        for (const WalkPoint& p : m.points)
            if (p.tested) {
                out.push_back(pointLead(p) + WalkTimeText(p.first) + " " + LoopValueText(p.peak));
                ++n;
            }
        if (n == 0) out.push_back("  " + GetText(s, kNoneText));
        out.push_back("");
        out.push_back(GetText(s, kTestedHeading + 1));
        n = 0;
        for (const WalkPoint& p : m.points)
            if (!p.tested) {
                out.push_back(TrimRight(pointLead(p)));
                ++n;
            }
        if (n == 0) out.push_back("  " + GetText(s, kNoneText));
        out.push_back("");
        out.push_back(GetText(s, kTestedHeading + 2));
        n = 0;
        for (const WalkPoint& p : m.points)
            for (const WalkFault& f : p.faults) {
                out.push_back(pointLead(p) + WalkTimeText(f.time) + " " + GetText(s, FaultText(f.kind)));
                ++n;
            }
        if (n == 0) out.push_back("  " + GetText(s, kNoneText));
        if (!m.strangers.empty()) {
            out.push_back("");
            out.push_back(GetText(s, kTestedHeading + 3));
            for (const WalkPoint& p : m.strangers)
                out.push_back(pointLead(p) + WalkTimeText(p.first) + " " + LoopValueText(p.peak));
        }
        out.push_back("");
        out.push_back(GetText(s, kCountersHeading));
        if (!m.end.read) {
            out.push_back("  " + GetText(s, kNoneText));
            continue;
        }
        for (int i = 0; i < 4; ++i)
            out.push_back("  " + Utf8PadRight(GetText(s, kCounterNames + i), kEndLabel) + PadSpaces(4, m.end.counters[static_cast<std::size_t>(i)]));
        if (m.end.faultPoint > 0)
            out.push_back("  " + GetText(s, kPointNumber) + std::to_string(m.end.faultPoint) + GetText(s, kModuleNumber) +
                          std::to_string(m.module) + "]");
        out.push_back("  " + Utf8PadRight(GetText(s, kLoopLabel), kEndLabel) + "  " + GetText(s, m.end.loopStatus == 1 ? kLoopOk : kLoopNotOk));
        out.push_back("  " + Utf8PadRight(GetText(s, kCurrentText), kEndLabel) +
                      (m.end.currentMa < 0 ? GetText(s, kNoneText) : PadSpaces(4, m.end.currentMa) + " mA"));
    }
    out.push_back(rule);
    return out;
}

ReportPrintJob WalkReportJob(Session& s, const WalkRecord& r) {
    ReportPrintJob job;
    job.title = GetText(s, kReportTitle) + (r.installation.empty() ? std::string() : " - " + r.installation);
    job.pageLabel = GetText(s, kPageLabel);
    job.lines = WalkReportLines(s, r);
    return job;
}

}  // namespace cfg
