// The walk test against the in-process panel on the fake clock: what counts
// as tested (and what polling cannot see), faults, going on after a restart,
// the record file, the CSV and the report, and the simulator's walker.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

#include "LoopFixture.h"
#include "loops/WalkTest.h"
#include "sim/SampleData.h"

namespace cfg::test {
namespace {

namespace fs = std::filesystem;

class WalkTestFixture : public LoopPanelTest {
protected:
    WalkTestFixture() {
        // The panel's own thresholds, which its devices' readings are made
        // for: type 1 has Lo 8, Mid 45, Hi 60 (alarm at 60 and above).
        for (int r = 1; r <= 14; ++r) {
            const auto row = vimo::sim::FactoryThresholds(r);
            const uint8_t v[4] = {row.t0, row.t1, row.t2, row.t3};
            for (int j = 0; j < 4; ++j) mem.Set(7008 + 4 * (r - 1) + j, v[j]);
        }
        const std::string serial = "VS24000137";
        for (std::size_t i = 0; i < serial.size(); ++i)
            mem.Set(4096 + 192 + 27 + i, static_cast<uint8_t>(serial[i]));
        const std::string place = "KITCHEN";
        for (std::size_t i = 0; i < 16; ++i)
            mem.Set(24576 + 16 * 4 + i, static_cast<uint8_t>(i < place.size() ? place[i] : ' '));
        s.settings.SettingsFolder = t.folder.Path();
        t.ui.onProcessEvents = [this] {
            const double now = t.clock.SecondsSinceMidnight();
            while (!timed.empty() && now >= timed.front().first) {
                // The panel lives up to this moment before the plant changes
                // (its table then holds the reading of its last second).
                port.Panel().Advance(port.NowMs());
                auto step = std::move(timed.front().second);
                timed.pop_front();
                step();
            }
        };
    }

    // Points 1..n of module 1 configured as smoke detectors and wired.
    void Configure(int n) {
        for (int k = 1; k <= n; ++k) SetPoint(1, k, 0x11);
        Rewire();
        c.module = 1;
        ASSERT_TRUE(LoadLoopTables(s, c));
    }
    // Something done when the fake clock reaches `at`.
    void At(double at, std::function<void()> step) { timed.emplace_back(at, std::move(step)); }
    double Now() { return t.clock.SecondsSinceMidnight(); }
    void Alarm(int index, int value = 70) { Fault("reading=1:" + std::to_string(index) + ":" + std::to_string(value)); }
    void Quiet() { port.Panel().RemoveFaults(vimo::sim::FaultKind::kReading); }
    // Polls for `seconds` (every 2 seconds, as the view does).
    void PollFor(WalkTest& w, double seconds) {
        const double end = Now() + seconds;
        ASSERT_TRUE(RunWalkTestPolls(s, w, [&] { return Now() >= end; }, {}));
    }
    std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::deque<std::pair<double, std::function<void()>>> timed;
};

const WalkPoint& PointOf(const WalkTest& w, int point) {
    for (const WalkPoint& p : w.Record().Module(ModuleOfPoint(point))->points)
        if (p.point == point) return p;
    static const WalkPoint none;
    return none;
}

TEST_F(WalkTestFixture, PointThatGoesIntoAlarmWhileTheTableIsReadIsTestedOnceWithATimeAfterItsAlarm) {
    Configure(200);
    port.SetPacing(true);  // one read of the table takes about a second
    WalkTest w(s, c);
    ASSERT_TRUE(w.Start("Mario Rossi"));
    const double start = Now();
    // Point 190 sits in the last chunk of the table; its alarm starts half
    // way through the first read and lasts well beyond the next one.
    double raised = 0;
    At(start + 0.5, [&] {
        raised = Now();
        Alarm(190);
    });
    At(start + 8.0, [&] { Quiet(); });
    PollFor(w, 12);
    const WalkPoint& p = PointOf(w, 190);
    ASSERT_TRUE(p.tested);
    const double first = p.first.hour * 3600.0 + p.first.minute * 60.0 + p.first.second;
    EXPECT_GE(first + 1, raised);  // the time is whole seconds
    EXPECT_GE(p.peak, 70);
    EXPECT_EQ(w.Record().Module(1)->Tested(), 1);
    int tested = 0;
    for (const WalkEvent& e : w.Record().events) tested += e.kind == WalkEventKind::Tested;
    EXPECT_EQ(tested, 1);  // in alarm over several reads, counted once
    // The alarm reading went into the event, shown as the views show it.
    EXPECT_NE(WalkEventLine(s, w.Record(), w.Record().events.back()).find("1120"), std::string::npos);
}

TEST_F(WalkTestFixture, AlarmShorterThanOnePollFallsBetweenTwoReadsAndIsNotTested) {
    Configure(10);
    // The panel takes its readings at whole seconds: the test starts half
    // way between two.
    t.clock.SetTime(std::floor(Now()) + 1.5);
    WalkTest w(s, c);
    ASSERT_TRUE(w.Start("M"));
    const double start = Now();
    // Reads at 0, 2, 4 s: an alarm from 2.3 to 3.2 s (the panel's reading
    // of 3.0) never meets one.
    At(start + 2.3, [&] { Alarm(5); });
    At(start + 3.2, [&] { Quiet(); });
    // One that spans a read is seen.
    At(start + 5.0, [&] { Alarm(6); });
    At(start + 7.0, [&] { Quiet(); });
    PollFor(w, 9);
    EXPECT_FALSE(PointOf(w, 5).tested);
    EXPECT_TRUE(PointOf(w, 6).tested);
    // The panel's own maximum caught what the polling missed.
    ASSERT_TRUE(ReadMinMaxTable(s, c));
    EXPECT_GE(c.minMax[2 * 5], 70);
}

TEST_F(WalkTestFixture, FaultsDuringTheTestAreKeptEachTimeTheyAppear) {
    Configure(6);
    WalkTest w(s, c);
    ASSERT_TRUE(w.Start("M"));
    const double start = Now();
    At(start + 1, [&] {
        port.Panel().Loop(1).SetDevice(3, 0);  // a detector taken off its base
        Alarm(4, 3);                           // a reading at the fault level
    });
    At(start + 5, [&] {
        port.Panel().Loop(1).SetDevice(3, 1);
        Quiet();
    });
    At(start + 9, [&] { Alarm(4, 2); });  // the same fault again, after it cleared
    PollFor(w, 12);
    const WalkPoint& three = PointOf(w, 3);
    ASSERT_EQ(three.faults.size(), 1u);  // seen on several reads, one fault
    EXPECT_EQ(three.faults[0].kind, WalkFaultKind::NoAnswer);
    EXPECT_FALSE(three.inFault);
    const WalkPoint& four = PointOf(w, 4);
    ASSERT_EQ(four.faults.size(), 2u);
    EXPECT_EQ(four.faults[0].kind, WalkFaultKind::LowReading);
    EXPECT_FALSE(four.tested);
    // The CSV names both in the faults column; the report lists them.
    const std::vector<std::string> csv = WalkCsvLines(s, w.Record());
    EXPECT_NE(csv[3].find(";no;;"), std::string::npos) << csv[3];
    EXPECT_NE(csv[3].find(" 1794"), std::string::npos) << csv[3];
    EXPECT_NE(csv[4].find(" 1793, "), std::string::npos) << csv[4];
    ASSERT_TRUE(w.Finish());
    const std::vector<std::string> report = WalkReportLines(s, w.Record());
    const auto faults = std::find(report.begin(), report.end(), "1816");
    ASSERT_NE(faults, report.end());
    EXPECT_NE(faults[1].find("     3 "), std::string::npos) << faults[1];
    EXPECT_NE(faults[1].find("1794"), std::string::npos) << faults[1];
}

TEST_F(WalkTestFixture, ContinueAfterARestartKeepsWhatWasTestedAndADamagedRecordGivesAMessage) {
    Configure(8);
    std::string path;
    {
        WalkTest w(s, c);
        ASSERT_TRUE(w.Start("Mario Rossi"));
        At(Now() + 1, [&] { Alarm(5); });
        At(Now() + 4, [&] { Quiet(); });
        PollFor(w, 6);
        ASSERT_TRUE(PointOf(w, 5).tested);
        path = w.Path();
        // The record is on disk as it grows, without a stop: a crash.
    }
    EXPECT_EQ(fs::path(path).filename().string(), "WALKTEST_VS24000137_20261205.TXT");
    EXPECT_EQ(fs::path(path).parent_path(), fs::path(t.folder.Path()));

    LoopContext again;
    again.module = 1;
    again.present = c.present;
    ASSERT_TRUE(LoadLoopTables(s, again));
    WalkTest w(s, again);
    std::string error;
    ASSERT_TRUE(w.Continue(error)) << error;
    EXPECT_EQ(w.Path(), path);
    EXPECT_EQ(w.Record().tester, "Mario Rossi");
    EXPECT_TRUE(PointOf(w, 5).tested);
    EXPECT_EQ(PointOf(w, 5).description, "KITCHEN");
    At(Now() + 1, [&] { Alarm(6); });
    At(Now() + 4, [&] { Quiet(); });
    PollFor(w, 6);
    EXPECT_EQ(w.Record().Module(1)->Tested(), 2);
    // A record of another day is older: the newest is continued.
    std::ofstream(t.folder.File("WALKTEST_VS24000137_20261101.TXT")) << "CFG-Veltrano walk test;1\n";
    EXPECT_EQ(LastWalkRecordPath(s, "VS24000137"), path);

    // A record cut in the middle of a line gives a message, never a crash.
    const std::string text = ReadFile(path);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text.substr(0, text.find("point;1;5;") + 14);
    LoopContext third = again;
    WalkTest broken(s, third);
    EXPECT_FALSE(broken.Continue(error));
    EXPECT_EQ(error.substr(0, 4), "1803") << error;
    EXPECT_NE(error.find("line "), std::string::npos) << error;
}

TEST_F(WalkTestFixture, NotConfiguredPointInAlarmIsListedApartAndTheTestEndsWithTheLoopReadings) {
    Configure(3);
    port.Panel().Loop(1).SetDevice(40, 1);  // wired, not configured
    port.Panel().RestartLiveTables();
    WalkTest w(s, c);
    ASSERT_TRUE(w.Start("M"));
    At(Now() + 1, [&] {
        Alarm(40, 90);
        Alarm(1);
        Alarm(2);
        Alarm(3);
    });
    PollFor(w, 4);
    EXPECT_TRUE(w.AllTested());
    const WalkModule& m = *w.Record().Module(1);
    EXPECT_EQ(m.Configured(), 3);
    ASSERT_EQ(m.strangers.size(), 1u);
    EXPECT_EQ(m.strangers[0].point, 40);
    ASSERT_TRUE(w.Finish());
    EXPECT_TRUE(m.end.read);
    EXPECT_EQ(m.end.loopStatus, 1);
    EXPECT_GT(m.end.currentMa, 0);
    EXPECT_EQ(WalkTestedText(s, m), "1785 3 1786 3");
    const std::vector<std::string> csv = WalkCsvLines(s, w.Record());
    ASSERT_EQ(csv.size(), 5u);
    EXPECT_EQ(csv[4].substr(0, 19), "1;40;;unconfigured;");
    EXPECT_EQ(csv[4].substr(csv[4].size() - 6), ";1440;");
}

// The window as the installer uses it: a new test asks once for the name,
// shows the points as they are tested, stops, saves the report; a second
// visit continues the record without asking again.
TEST_F(WalkTestFixture, ViewRunsStartStopReportAndContinue) {
    Configure(4);
    auto wait = [this](double seconds) {
        for (int i = 0; i < seconds * 100; ++i) t.ui.walkInputs.push_back({});
    };
    WalkTestInput start, stop, report, resume;
    start.start = true;
    stop.stop = true;
    report.report = true;
    resume.continueLast = true;
    t.ui.walkInputs.push_back(start);
    wait(7);
    t.ui.walkInputs.push_back(stop);
    t.ui.walkInputs.push_back(report);
    t.ui.AnswerText("Mario Rossi");
    t.ui.saveFileAnswers.push_back(t.folder.File("hand"));
    At(Now() + 2, [&] { Alarm(2); });
    At(Now() + 5, [&] { Quiet(); });
    ShowWalkTest(s, c);

    EXPECT_FALSE(t.ui.walkOpen);
    EXPECT_EQ(t.ui.walkSpec.title, "1783 1");
    EXPECT_EQ(t.ui.walkSpec.startCaption, "1787");
    ASSERT_EQ(t.ui.valueRequests.size(), 1u);
    EXPECT_EQ(KeptTesterName(s), "Mario Rossi");
    const WalkTestViewData& last = t.ui.walkViews.back();
    EXPECT_FALSE(last.running);
    EXPECT_TRUE(last.hasRecord);
    EXPECT_EQ(last.summary, std::vector<std::string>{"1784 1: 1785 1 1786 4"});
    ASSERT_FALSE(last.events.empty());
    EXPECT_NE(last.events.front().find("0390: 1792"), std::string::npos) << last.events.front();
    EXPECT_EQ(last.picture.kind, LoopPicture::Kind::Walk);
    EXPECT_EQ(last.picture.marks[1].walk, 2);
    EXPECT_EQ(last.picture.marks[0].walk, 1);
    EXPECT_EQ(last.picture.marks[4].walk, 0);
    // The report: the PDF through the front end, the CSV beside it.
    ASSERT_EQ(t.ui.pdfWrites.size(), 1u);
    EXPECT_TRUE(fs::exists(t.folder.File("hand.pdf")));
    EXPECT_FALSE(fs::exists(t.folder.File("hand.pdf.part")));
    const std::string csv = ReadFile(t.folder.File("hand.csv"));
    EXPECT_EQ(csv.substr(0, 3 + 48 + 2), "\xEF\xBB\xBFmodule;point;description;tested;time;peak;faults\r\n");
    EXPECT_NE(csv.find("1;2;;yes;"), std::string::npos) << csv;
    EXPECT_TRUE(t.ui.Showed("1825"));

    // Later: the record goes on, nobody is asked for a name again.
    t.ui.walkViews.clear();
    t.ui.walkInputs.push_back(resume);
    wait(1);
    ShowWalkTest(s, c);
    EXPECT_EQ(t.ui.valueRequests.size(), 1u);
    ASSERT_FALSE(t.ui.walkViews.empty());
    EXPECT_EQ(t.ui.walkViews.back().summary, std::vector<std::string>{"1784 1: 1785 1 1786 4"});
}

// --- the lines and the file, without a panel -----------------------------------------

WalkRecord SampleRecord() {
    WalkRecord r;
    r.serial = "VS24000137";
    r.panelName = "VIMO-SYS";
    r.firmware = "2.10 12/05/04";
    r.installation = "UFFICI; ROMA";
    r.tester = "Anna 50% Bianchi";
    r.started = {2026, 12, 5, 9, 30, 5, 6};
    r.ended = {2026, 12, 5, 10, 1, 0, 6};
    r.hasEnded = true;
    WalkModule m;
    m.module = 2;
    WalkPoint a;
    a.point = 201;
    a.description = "SALA \"A\"";
    a.tested = true;
    a.first = {2026, 12, 5, 9, 31, 10, 6};
    a.firstReading = 70;
    a.peak = 74;
    WalkPoint b;
    b.point = 214;
    b.description = "DEPOSITO";
    b.peak = 21;
    b.faults.push_back({WalkFaultKind::NoAnswer, {2026, 12, 5, 9, 40, 0, 6}, 0});
    b.inFault = true;
    m.points = {a, b};
    WalkPoint x;
    x.point = 215;
    x.tested = true;
    x.first = {2026, 12, 5, 9, 41, 2, 6};
    x.firstReading = 80;
    x.peak = 81;
    m.strangers = {x};
    m.end.read = true;
    m.end.counters = {0, 2, 0, 14};
    m.end.faultPoint = 214;
    m.end.loopStatus = 1;
    m.end.currentMa = 47;
    r.modules = {m};
    r.events.push_back({a.first, 2, 201, 70, 3, WalkEventKind::Tested});
    r.events.push_back({b.faults[0].time, 2, 214, 0, -1, WalkEventKind::NoAnswer});
    return r;
}

TEST(WalkRecordTest, CsvHasTheHeaderARowPerConfiguredPointThenTheUnconfiguredOnes) {
    TestSession t;
    const std::vector<std::string> csv = WalkCsvLines(t.s, SampleRecord());
    ASSERT_EQ(csv.size(), 4u);
    EXPECT_EQ(csv[0], "module;point;description;tested;time;peak;faults");
    EXPECT_EQ(csv[1], "2;201;\"SALA \"\"A\"\"\";yes;2026-12-05 09:31:10;1184;");
    EXPECT_EQ(csv[2], "2;214;DEPOSITO;no;;336;09:40:00 1794");
    EXPECT_EQ(csv[3], "2;215;;unconfigured;2026-12-05 09:41:02;1296;");
}

TEST(WalkRecordTest, ReportNamesThePanelTheTesterAndEachListOfTheModule) {
    TestSession t;
    const std::vector<std::string> r = WalkReportLines(t.s, SampleRecord());
    auto has = [&r](const std::string& line) { return std::find(r.begin(), r.end(), line) != r.end(); };
    EXPECT_EQ(r[0], "1806");
    EXPECT_TRUE(has("1807             UFFICI; ROMA"));
    EXPECT_TRUE(has("1810             VS24000137"));
    EXPECT_TRUE(has("1811             2026-12-05 09:30:05"));
    EXPECT_TRUE(has("1812             2026-12-05 10:01:00"));
    EXPECT_TRUE(has("1813             Anna 50% Bianchi"));
    EXPECT_TRUE(has("1784 2: 1785 1 1786 2"));
    EXPECT_TRUE(has("     201 SALA \"A\"         2026-12-05 09:31:10 1184"));
    EXPECT_TRUE(has("     214 DEPOSITO"));  // not tested
    EXPECT_TRUE(has("     214 DEPOSITO         2026-12-05 09:40:00 1794"));
    EXPECT_TRUE(has("1817"));
    EXPECT_TRUE(has("  037621403772]"));  // the fault point of the counters
    EXPECT_TRUE(has("  1819" + std::string(24, ' ') + "  47 mA"));
    // Nothing tested and no end readings yet: "none" where a list would be.
    WalkRecord empty = SampleRecord();
    empty.modules[0].points[0].tested = false;
    empty.modules[0].end = {};
    empty.hasEnded = false;
    const std::vector<std::string> e = WalkReportLines(t.s, empty);
    EXPECT_NE(std::find(e.begin(), e.end(), "1812             1828"), e.end());
    EXPECT_EQ(std::count(e.begin(), e.end(), "  1820"), 2);
}

TEST(WalkRecordTest, TheFileReadsBackAsItWasWrittenAndABadOneSaysWhichLine) {
    const WalkRecord r = SampleRecord();
    WalkRecord back;
    std::string error;
    ASSERT_TRUE(ParseWalkRecord(WalkRecordText(r), back, error)) << error;
    EXPECT_EQ(WalkRecordText(back), WalkRecordText(r));
    EXPECT_EQ(back.installation, "UFFICI; ROMA");
    EXPECT_TRUE(back.modules[0].points[1].inFault);

    const std::string good = WalkRecordText(r);
    auto fails = [&](const std::string& text, const std::string& where) {
        WalkRecord out;
        std::string why;
        EXPECT_FALSE(ParseWalkRecord(text, out, why)) << text;
        EXPECT_EQ(why.substr(0, where.size()), where) << why;
    };
    fails("", "the file is empty");
    fails("PK\x03\x04 something else\n", "line 1");
    fails("CFG-Veltrano walk test;9\n", "line 1: a record of a newer");
    std::string text = good;
    text.replace(text.find("point;2;201;"), 12, "point;2;1;");  // a point of module 1 under module 2
    fails(text, "line 10");
    text = good;
    text.replace(text.find("2026-12-05 09:31:10"), 19, "2026-13-05 09:31:10");
    fails(text, "line 10");
    fails(good.substr(0, good.find("event;")) + "event;2026-12-05 09:31:10;2;201\n", "line 15");
    // Lines of a later version are passed over.
    ASSERT_TRUE(ParseWalkRecord(good + "photo;201;IMG_0001.JPG\n", back, error)) << error;
}

TEST(WalkRecordTest, RecordFileIsNamedByTheSerialNumberAndTheDay) {
    TestSession t;
    t.s.settings.SettingsFolder = t.folder.Path();
    EXPECT_EQ(fs::path(WalkRecordPath(t.s, "VS 24/137", {2026, 3, 7, 0, 0, 0, 6})).filename().string(),
              "WALKTEST_VS-24-137_20260307.TXT");
    EXPECT_EQ(fs::path(WalkRecordPath(t.s, "", {2026, 3, 7, 0, 0, 0, 6})).filename().string(),
              "WALKTEST_NO-SERIAL_20260307.TXT");
    EXPECT_EQ(LastWalkRecordPath(t.s, "VS 24/137"), "");
}

// --- the simulator's walker ----------------------------------------------------------------

TEST_F(WalkTestFixture, WalkerOnTheSamplePlantTestsEveryPointItReachesAndLeavesTheSkippedOnes) {
    port.Panel().LoadSample();
    for (int r = 1; r <= 14; ++r) {
        const auto row = vimo::sim::FactoryThresholds(r);
        const uint8_t v[4] = {row.t0, row.t1, row.t2, row.t3};
        for (int j = 0; j < 4; ++j) mem.Set(7008 + 4 * (r - 1) + j, v[j]);
    }
    port.Panel().StartWalk(3);
    c.module = 2;
    ASSERT_TRUE(LoadLoopTables(s, c));
    WalkTest w(s, c);
    ASSERT_TRUE(w.Start("Demo"));
    const double end = Now() + 400;
    ASSERT_TRUE(RunWalkTestPolls(s, w, [&] { return Now() >= end; }, {}));

    const auto& walker = port.Panel().Walk();
    std::set<int> reached, skipped;
    for (const auto& v : walker.Visits())
        if (v.module == 2) reached.insert(ShownPoint(2, v.point));
    for (const auto& [m, k] : walker.Skipped())
        if (m == 2) skipped.insert(ShownPoint(2, k));
    const WalkModule& mod = *w.Record().Module(2);
    EXPECT_GE(walker.Skipped().size(), 1u);
    for (const WalkPoint& p : mod.points) {
        if (reached.count(p.point)) EXPECT_TRUE(p.tested) << p.point;
        else EXPECT_FALSE(p.tested) << p.point;
    }
    // The device wired without a configuration answered in alarm; the
    // configured one that is not wired never did, and does not answer.
    ASSERT_EQ(mod.strangers.size(), 1u);
    EXPECT_EQ(mod.strangers[0].point, ShownPoint(2, vimo::sim::kSampleExtraIndex));
    const WalkPoint& missing = PointOf(w, ShownPoint(2, vimo::sim::kSampleMissingIndex));
    EXPECT_FALSE(missing.tested);
    ASSERT_FALSE(missing.faults.empty());
    EXPECT_EQ(missing.faults[0].kind, WalkFaultKind::NoAnswer);
    EXPECT_EQ(mod.Tested() + static_cast<int>(skipped.size()) + 1, mod.Configured());
}

}  // namespace
}  // namespace cfg::test
