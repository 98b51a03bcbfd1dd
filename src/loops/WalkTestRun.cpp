// A walk test on the panel: the reads of the live table every 2 seconds, the
// record kept beside the settings file, the end readings, the report files,
// and the view run from Toolbar2.
#include <algorithm>
#include <filesystem>

#include "link/Connection.h"
#include "link/PanelCommands.h"
#include "loops/WalkTest.h"
#include "shell/SafeWrite.h"
#include "shell/FileNames.h"
#include "shell/Folders.h"
#include "shell/Input.h"
#include "shell/Language.h"
#include "shell/Shell.h"
#include "shell/Text.h"
#include "transfer/DateStamp.h"

namespace fs = std::filesystem;

namespace cfg {

namespace {

// Texts.
constexpr int kTitle = 1783;
constexpr int kModuleText = 1784;
constexpr int kStartCaption = 1787;  // 1788 continue, 1789 stop, 1790 report, 1791 close
constexpr int kRunning = 1796;       // 1797 stopped, 1798 idle
constexpr int kRecordLabel = 1799;
constexpr int kAskTitle = 1800;      // 1801 the prompt
constexpr int kNoRecord = 1802;
constexpr int kCannotRead = 1803;
constexpr int kCannotSave = 1804;
constexpr int kReplaceToday = 1805;
constexpr int kReportSaved = 1825;
constexpr int kPdfFilter = 1826;
constexpr int kReportFailed = 1827;
constexpr int kDescriptionsBusy = 1829;
constexpr int kSaveReport = 1790;
constexpr int kFileExists = 95, kReplaceFile = 96;

constexpr int kDescriptionLength = 16;
constexpr int kTesterLength = 40;
// A peak that changed is written at most this often; events at once.
constexpr double kPeakSaveSeconds = 30.0;
constexpr std::size_t kShownEvents = 200;

bool FromPanel(const ConfigState& config) { return config.ConfigSource == ConfigSource::Panel; }

double Elapsed(Session& s, double since) {
    const double e = s.clock->SecondsSinceMidnight() - since;
    return e < 0 ? e + 86400.0 : e;
}

}  // namespace

WalkTest::WalkTest(Session& s, LoopContext& c) : s_(s), c_(c), setup_(WalkSetupOf(s, c)) {}

bool WalkTest::ReadIdentity() {
    // The serial number and the installation name are in the identification
    // block of the main configuration.
    auto& c = s_.config;
    if (!ReadPanelBlock(s_, kMainPanelBase + kIdentBlockOffset, kIdentBlockSize, 1, c.IdentBuffer).Done()) return false;
    TakeIdentBlock(s_.config);
    record_.serial = Trim(c.PanelSerialNumber);
    record_.installation = Trim(c.InstallationName);
    record_.panelName = Trim(s_.link.PanelName);
    record_.firmware = Trim(Trim(s_.link.PanelVersionText) + " " + Trim(s_.link.PanelDateText));
    return true;
}

bool WalkTest::ReadDescriptions(std::vector<std::string>& out) {
    out.assign(kPointsPerModule + 1, std::string());
    if (!ReadMemoryMap(s_).Done()) return false;
    ShowBusy(s_, GetText(s_, kDescriptionsBusy));
    auto& buf = s_.config.TransferBuffer;
    const int bytes = kPointsPerModule * kDescriptionLength;
    const long at = s_.config.AddressDirectory[kDescriptionEntry] +
                    static_cast<long>(ShownPoint(c_.module, 1) - 1) * kDescriptionLength;
    const OpResult read = ReadPanelBlock(s_, at, bytes, 1, buf);
    EndBusy(s_, 0);
    if (!read.Done()) return false;
    for (int k = 1; k <= kPointsPerModule; ++k) {
        std::string latin;
        for (int i = 1; i <= kDescriptionLength; ++i) {
            const int b = buf[(k - 1) * kDescriptionLength + i] & 0xFF;
            latin += b < 32 || b >= 176 ? ' ' : static_cast<char>(b);
        }
        out[static_cast<std::size_t>(k)] = Trim(Latin1ToUtf8(latin));
    }
    return true;
}

WalkModule WalkTest::NewModule(const std::vector<std::string>& descriptions) const {
    WalkModule m;
    m.module = c_.module;
    for (const WalkPointRule& r : setup_.configured) {
        WalkPoint p;
        p.point = ShownPoint(c_.module, r.index);
        p.description = descriptions[static_cast<std::size_t>(r.index)];
        m.points.push_back(p);
    }
    return m;
}

bool WalkTest::TodayHasTestedPoints() {
    if (record_.serial.empty() && !ReadIdentity()) return false;
    WalkRecord today;
    std::string error;
    if (!LoadWalkRecord(WalkRecordPath(s_, record_.serial, s_.clock->Now()), today, error)) return false;
    const WalkModule* m = today.Module(c_.module);
    return m && m->Tested() > 0;
}

bool WalkTest::Start(const std::string& tester) {
    if (!ReadIdentity()) return false;
    std::vector<std::string> descriptions;
    if (!ReadDescriptions(descriptions)) return false;
    const DateTime now = s_.clock->Now();
    path_ = WalkRecordPath(s_, record_.serial, now);
    // Today's record keeps what it holds of the other modules.
    WalkRecord today;
    std::string ignored;
    WalkRecord fresh;
    fresh.serial = record_.serial;
    fresh.panelName = record_.panelName;
    fresh.firmware = record_.firmware;
    fresh.installation = record_.installation;
    if (LoadWalkRecord(path_, today, ignored)) {
        for (const WalkModule& m : today.modules)
            if (m.module != c_.module) fresh.modules.push_back(m);
        for (const WalkEvent& e : today.events)
            if (e.module != c_.module) fresh.events.push_back(e);
    }
    fresh.tester = tester;
    fresh.started = now;
    fresh.modules.push_back(NewModule(descriptions));
    std::sort(fresh.modules.begin(), fresh.modules.end(),
              [](const WalkModule& a, const WalkModule& b) { return a.module < b.module; });
    record_ = std::move(fresh);
    started_ = true;
    return Save();
}

bool WalkTest::Continue(std::string& error) {
    if (!ReadIdentity()) {
        error.clear();
        return false;
    }
    const std::string path = LastWalkRecordPath(s_, record_.serial);
    if (path.empty()) {
        error = GetText(s_, kNoRecord);
        return false;
    }
    WalkRecord loaded;
    std::string why;
    if (!LoadWalkRecord(path, loaded, why)) {
        error = GetText(s_, kCannotRead) + "\r\n" + why;
        return false;
    }
    if (!loaded.Module(c_.module)) {
        std::vector<std::string> descriptions;
        if (!ReadDescriptions(descriptions)) return false;
        loaded.modules.push_back(NewModule(descriptions));
        std::sort(loaded.modules.begin(), loaded.modules.end(),
                  [](const WalkModule& a, const WalkModule& b) { return a.module < b.module; });
    }
    loaded.hasEnded = false;
    record_ = std::move(loaded);
    path_ = path;
    started_ = true;
    return Save();
}

bool WalkTest::Save() {
    if (path_.empty()) return false;
    lastSave_ = s_.clock->SecondsSinceMidnight();
    unsaved_ = false;
    saveError_.clear();
    return SaveWalkRecord(path_, record_, saveError_);
}

bool WalkTest::Poll(std::vector<WalkEvent>* events) {
    if (!ReadLiveTable(s_, c_)) return false;
    // The time of a change is when the read that showed it ended: the
    // point was in that state by then.
    const std::vector<WalkEvent> found = UpdateWalkRecord(record_, setup_, c_.live, s_.clock->Now());
    if (events) *events = found;
    unsaved_ = true;
    if (!found.empty() || lastSave_ < 0 || Elapsed(s_, lastSave_) >= kPeakSaveSeconds) Save();
    return true;
}

bool WalkTest::Finish() {
    WalkModule& m = record_.ModuleFor(c_.module);
    LoopErrors e;
    bool ok = ReadLoopErrors(s_, c_, e);
    if (ok) {
        m.end.read = true;
        m.end.counters = e.counters;
        m.end.faultPoint = e.faultPoint;
        m.end.loopStatus = e.status;
        m.end.currentMa = ReadLineCurrent(s_, c_);
        ok = m.end.currentMa >= 0;
    }
    record_.ended = s_.clock->Now();
    record_.hasEnded = true;
    Save();
    return ok;
}

bool WalkTest::AllTested() const {
    const WalkModule* m = record_.Module(c_.module);
    return m && m->Configured() > 0 && m->Tested() == m->Configured();
}

LoopPicture WalkTest::Picture() const { return WalkPicture(s_, c_, record_); }

LoopPicture WalkPicture(const Session& s, const LoopContext& c, const WalkRecord& r) {
    LoopPicture pic = LoopOverview(s, c);
    pic.kind = LoopPicture::Kind::Walk;
    const WalkModule* m = r.Module(c.module);
    std::array<int, kPointsPerModule + 1> walk{};
    if (m) {
        for (const WalkPoint& p : m->points)
            if (ModuleOfPoint(p.point) == c.module) walk[static_cast<std::size_t>(IndexInModule(p.point))] = p.tested ? 2 : 1;
        for (const WalkPoint& p : m->strangers)
            if (ModuleOfPoint(p.point) == c.module) walk[static_cast<std::size_t>(IndexInModule(p.point))] = 3;
    }
    for (LoopMark& mark : pic.marks) {
        const int k = IndexInModule(mark.point);
        if (k < 1 || k > kPointsPerModule) continue;
        const int w = walk[static_cast<std::size_t>(k)];
        mark.walk = mark.configured ? (w == 2 ? 2 : 1) : (w == 3 ? 3 : 0);
    }
    return pic;
}

bool RunWalkTestPolls(Session& s, WalkTest& test, const std::function<bool()>& stop,
                      const std::function<void(const std::vector<WalkEvent>&)>& onPoll) {
    for (;;) {
        std::vector<WalkEvent> events;
        if (!test.Poll(&events)) return false;
        if (onPoll) onPoll(events);
        if (stop && stop()) return true;
        if (!WaitInView(s, kWalkPollSeconds, stop)) return true;
        if (stop && stop()) return true;
    }
}

// --- the report files ---------------------------------------------------------------------

bool SaveWalkCsv(Session& s, const WalkRecord& r, const std::string& path, std::string& error) {
    std::string text = "\xEF\xBB\xBF";  // a spreadsheet then reads UTF-8
    for (const std::string& line : WalkCsvLines(s, r)) text += line + "\r\n";
    return WriteFileReplacing(path, text, error);
}

bool SaveWalkPdf(Session& s, const WalkRecord& r, const std::string& path, std::string& error) {
    // Laid out under another name first, so that a failed write leaves no
    // half file where the report should be.
    const std::string pending = TemporaryPathFor(path);
    if (!s.ui->WriteReportPdf(pending, WalkReportJob(s, r))) {
        std::error_code ec;
        fs::remove(pending, ec);
        error = "cannot write " + path;
        return false;
    }
    return ReplaceFile(pending, path, error);
}

// --- the view -------------------------------------------------------------------------------

namespace {

struct WalkView {
    Session& s;
    LoopContext& c;
    WalkTest test;
    bool running = false;
    std::string status;

    WalkView(Session& session, LoopContext& context) : s(session), c(context), test(session, context) {}

    WalkTestViewData Data() {
        WalkTestViewData d;
        d.picture = test.Picture();
        const WalkRecord& r = test.Record();
        for (const WalkModule& m : r.modules)
            d.summary.push_back(GetText(s, kModuleText) + " " + std::to_string(m.module) + ": " + WalkTestedText(s, m));
        if (!r.Module(c.module)) {
            WalkModule m;
            m.module = c.module;
            m.points.resize(test.Setup().configured.size());
            d.summary.push_back(GetText(s, kModuleText) + " " + std::to_string(c.module) + ": " + WalkTestedText(s, m));
        }
        for (auto it = r.events.rbegin(); it != r.events.rend() && d.events.size() < kShownEvents; ++it)
            d.events.push_back(WalkEventLine(s, r, *it));
        d.status = status;
        if (!test.Path().empty()) d.status += "\n" + GetText(s, kRecordLabel) + " " + test.Path();
        d.running = running;
        d.canContinue = !running && !LastWalkRecordPath(s, Trim(s.config.PanelSerialNumber)).empty();
        d.hasRecord = test.Started();
        return d;
    }

    void Refresh() { s.ui->ShowWalkTest(Data()); }

    std::string AskTester() {
        const std::string kept = KeptTesterName(s);
        if (!kept.empty()) return kept;
        ValueRequest req;
        req.kind = 2;
        req.title = GetText(s, kAskTitle);
        req.prompt = GetText(s, kAskTitle + 1);
        req.maxLength = kTesterLength;
        ValueAnswer a;
        if (AskValue(s, req, a) != kInputConfirmed) return {};
        const std::string name = Trim(a.text);
        if (!name.empty()) KeepTesterName(s, name);
        return name;
    }

    void Alert(const std::string& text) {
        s.ui->MessageBox(GetText(s, kTitle) + " " + std::to_string(c.module), text, MsgButtons::Ok, MsgIcon::Exclamation);
    }

    void Begin() {
        if (test.TodayHasTestedPoints() &&
            s.ui->MessageBox(GetText(s, kTitle) + " " + std::to_string(c.module), GetText(s, kReplaceToday),
                             MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
            return;
        const std::string tester = AskTester();
        if (tester.empty()) return;
        if (!test.Start(tester)) {
            if (!test.SaveError().empty()) Alert(GetText(s, kCannotSave) + "\r\n" + test.SaveError());
            return;
        }
        running = true;
    }

    void Resume() {
        std::string error;
        if (!test.Continue(error)) {
            if (!error.empty()) Alert(error);
            return;
        }
        running = true;
    }

    void Stop() {
        running = false;
        test.Finish();
        status = GetText(s, kRunning + 1);
    }

    void Report() {
        FileDialogRequest req;
        req.title = GetText(s, kSaveReport);
        req.filters = {GetText(s, kPdfFilter)};
        req.folder = FilesFolderOf(s.settings);
        const WalkRecord& r = test.Record();
        req.initialName = "WALKTEST_" + (r.serial.empty() ? std::string("PANEL") : r.serial) + ".pdf";
        std::string path = s.ui->AskSaveFile(req);
        if (path.empty()) return;
        if (BaseNameOf(path).find('.') == std::string::npos) path += ".pdf";
        const std::string csv = fs::path(path).replace_extension(".csv").string();
        for (const std::string& p : {path, csv}) {
            std::error_code ec;
            if (fs::exists(p, ec) &&
                s.ui->MessageBox(GetText(s, kTitle) + " " + std::to_string(c.module),
                                 " " + GetText(s, kFileExists) + p + "\r\n" + GetText(s, kReplaceFile), MsgButtons::YesNo,
                                 MsgIcon::Exclamation) != MsgAnswer::Yes)
                return;
        }
        // The counters and the line current as they are now, unless the
        // test has ended with its own.
        if (running) {
            WalkModule& m = test.Record().ModuleFor(c.module);
            LoopErrors e;
            if (ReadLoopErrors(s, c, e)) {
                m.end.read = true;
                m.end.counters = e.counters;
                m.end.faultPoint = e.faultPoint;
                m.end.loopStatus = e.status;
                m.end.currentMa = ReadLineCurrent(s, c);
            }
        }
        std::string error;
        if (!SaveWalkPdf(s, test.Record(), path, error) || !SaveWalkCsv(s, test.Record(), csv, error)) {
            Alert(GetText(s, kReportFailed) + "\r\n" + error);
            return;
        }
        s.ui->MessageBox(GetText(s, kTitle) + " " + std::to_string(c.module),
                         GetText(s, kReportSaved) + "\r\n" + path + "\r\n" + csv, MsgButtons::Ok, MsgIcon::Information);
    }
};

}  // namespace

void ShowWalkTest(Session& s, LoopContext& c) {
    if (!FromPanel(s.config) || !c.Present()) return;
    if (!LoadLoopTables(s, c)) return;
    WalkView v(s, c);
    v.status = GetText(s, kRunning + 2);

    WalkTestSpec spec;
    spec.title = GetText(s, kTitle) + " " + std::to_string(c.module);
    spec.startCaption = GetText(s, kStartCaption);
    spec.continueCaption = GetText(s, kStartCaption + 1);
    spec.stopCaption = GetText(s, kStartCaption + 2);
    spec.reportCaption = GetText(s, kStartCaption + 3);
    spec.closeCaption = GetText(s, kStartCaption + 4);
    s.ui->OpenWalkTest(spec);
    v.Refresh();

    double lastPoll = -1;
    for (;;) {
        Yield(s);
        if (s.events.AbortRequested) {
            // The abort button ends the reading, not the view.
            s.events.AbortRequested = false;
            if (v.running) {
                v.Stop();
                v.Refresh();
            }
        }
        const WalkTestInput in = s.ui->TakeWalkTestInput();
        if (in.closed) break;
        bool changed = false;
        if (in.start && !v.running) {
            v.Begin();
            changed = true;
            lastPoll = -1;
        } else if (in.continueLast && !v.running) {
            v.Resume();
            changed = true;
            lastPoll = -1;
        } else if (in.stop && v.running) {
            v.Stop();
            changed = true;
        } else if (in.report && v.test.Started()) {
            v.Report();
            changed = true;
        }
        if (v.running && (lastPoll < 0 || Elapsed(s, lastPoll) >= kWalkPollSeconds)) {
            lastPoll = s.clock->SecondsSinceMidnight();
            s.ui->SetAbortButtonVisible(true);
            if (!v.test.Poll()) {
                v.running = false;
                v.status = GetText(s, kRunning + 1);
            } else {
                v.status = GetText(s, kRunning);
                if (!v.test.SaveError().empty()) v.status += "\n" + GetText(s, kCannotSave) + " " + v.test.SaveError();
            }
            changed = true;
        }
        if (changed) v.Refresh();
    }
    if (v.running) v.Stop();
    s.events.AbortRequested = false;
    s.ui->SetAbortButtonVisible(false);
    s.ui->CloseWalkTest();
}

}  // namespace cfg
