// The clock programmer on a file set and on the simulated panel: loading by
// the panel's directory, the checksum reset, the channel cycle, the holiday
// order, day copy, the saves on leaving (order, marker, commit, alert) and
// the report lines.
#include <algorithm>

#include "EditorFixture.h"
#include "editors/ClockProgrammer.h"
#include "sim/MemoryMap.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg::test {
namespace {

constexpr int kPy2Size = 384;

using Bytes = std::vector<uint8_t>;

// A .PY2 with no programs, a valid checksum, no holidays and no periods.
Bytes EmptyPy2() {
    Bytes b(kPy2Size, 0);
    std::fill(b.begin(), b.begin() + 350, uint8_t{255});
    uint32_t sum = 0;
    for (int i = 0; i < 336; ++i) sum = (sum + b[static_cast<std::size_t>(i)]) & 0xFFFF;
    b[336] = static_cast<uint8_t>(sum >> 8);
    b[337] = static_cast<uint8_t>(sum & 255);
    return b;
}

void Seal(Bytes& b) {
    uint32_t sum = 0;
    for (int i = 0; i < 336; ++i) sum = (sum + b[static_cast<std::size_t>(i)]) & 0xFFFF;
    if (sum == 0) sum = 65535;
    b[336] = static_cast<uint8_t>(sum >> 8);
    b[337] = static_cast<uint8_t>(sum & 255);
}

ClockEvent Event(ClockAction a, int day = 0, int row = 0, int channel = 0, int target = 0) {
    ClockEvent e;
    e.action = a;
    e.day = day;
    e.row = row;
    e.channel = channel;
    e.target = target;
    return e;
}

class ClockFileTest : public EditorTest {
protected:
    std::string Py2File() const { return t.folder.File("PLANT.PY2"); }
    void WritePy2(const Bytes& b) {
        std::ofstream(Py2File(), std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    Bytes ReadPy2() const {
        std::ifstream in(Py2File(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Run(int option = 1) {
        const PrintMode print = PrintMode::Interactive;
        ClockProgrammerSection(s, print, option);
    }
    void Queue(const ClockEvent& e) { t.ui.clockEvents.push_back(e); }
};

TEST_F(ClockFileTest, ADamagedTableShowsNoProgramsAndIsSavedEmptyWithItsChecksum) {
    OpenFileSet();
    Bytes py2 = EmptyPy2();
    py2[0] = 8;  // a program, but the checksum no longer matches
    py2[1] = 30;
    py2[345] = 7;  // a spare byte: carried as it is
    WritePy2(py2);
    Run();

    ASSERT_EQ(t.ui.clockViews.size(), 1u);
    const ClockProgrammerView& v = t.ui.clockViews[0];
    EXPECT_EQ(v.programCount, (std::array<int, 7>{}));
    EXPECT_EQ(v.notice, "0155");
    Bytes now = ReadPy2();
    ASSERT_EQ(now.size(), static_cast<std::size_t>(kPy2Size));
    EXPECT_TRUE(std::all_of(now.begin(), now.begin() + 336, [](uint8_t b) { return b == 255; }));
    EXPECT_EQ(now[336], 78);  // 336 x 255 = 85680, modulo 65536 = 20144
    EXPECT_EQ(now[337], 176);
    EXPECT_EQ(now[345], 7);
    EXPECT_EQ(s.config.PendingChanges, 0);
    EXPECT_EQ(t.ui.AllMessages(), "");
}

TEST_F(ClockFileTest, AnAllZeroTableIsValidOnlyWithChecksum255And255) {
    OpenFileSet();
    Bytes py2(kPy2Size, 0);
    py2[336] = 255;
    py2[337] = 255;
    WritePy2(py2);
    Run();
    EXPECT_EQ(s.config.PendingChanges, 0);
    EXPECT_EQ(ReadPy2(), py2);  // nothing pending: nothing written
    EXPECT_EQ(t.ui.clockViews.at(0).programCount[0], 8);  // 00:00 eight times

    py2[337] = 0;
    WritePy2(py2);
    Run();
    EXPECT_EQ(t.ui.clockViews.at(1).programCount[0], 0);
    EXPECT_EQ(ReadPy2()[336], 78);
}

TEST_F(ClockFileTest, AMissingClockFileIsAlertedAndNothingOpens) {
    OpenFileSet();
    EXPECT_EQ(RunSection(s, ClockProgrammerSection, PrintMode::Interactive, 1).status, status::kFileMissing);
    EXPECT_TRUE(t.ui.clockViews.empty());
    EXPECT_TRUE(t.ui.Showed("1314\r1315 " + s.config.ConfigFileName + ".PY2")) << t.ui.AllMessages();
}

TEST(ClockChannels, EveryChannelCyclesUnchangedOffOnAndTouchesOnlyItsBits) {
    for (int k = 1; k <= 8; ++k) {
        const int m = 1 << (k - 1);
        // The other bits hold a pattern that must survive the clicks.
        Cell a = static_cast<Cell>(0xA5 & ~m), b = static_cast<Cell>(0x3C & ~m);
        const Cell otherA = a, otherB = b;
        EXPECT_EQ(ChannelStateOf(a, b, k), ChannelState::Unchanged) << k;
        CycleChannel(a, b, k);
        EXPECT_EQ(ChannelStateOf(a, b, k), ChannelState::Off) << k;
        EXPECT_EQ(a, otherA | m);
        EXPECT_EQ(b, otherB);
        CycleChannel(a, b, k);
        EXPECT_EQ(ChannelStateOf(a, b, k), ChannelState::On) << k;
        EXPECT_EQ(b, otherB | m);
        CycleChannel(a, b, k);
        EXPECT_EQ(ChannelStateOf(a, b, k), ChannelState::Unchanged) << k;
        EXPECT_EQ(a, otherA);
        EXPECT_EQ(b, otherB | m);  // B keeps the bit until the next click
        CycleChannel(a, b, k);     // a stale B bit is cleared on the way to Off
        EXPECT_EQ(ChannelStateOf(a, b, k), ChannelState::Off) << k;
        EXPECT_EQ(b, otherB);
    }
    Cell a = 0, b = 0;
    CycleChannel(a, b, 0);
    CycleChannel(a, b, 9);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
}

TEST_F(ClockFileTest, ProgramsAreAddedTimedSwitchedAndClearedThroughTheWindow) {
    OpenFileSet();
    Bytes py2 = EmptyPy2();
    py2[48 * 2 + 4] = 0x11;  // Wednesday program 1: bytes 5 and 6 are carried
    py2[48 * 2 + 5] = 0x22;
    Seal(py2);
    WritePy2(py2);
    t.clock.SetDate(2026, 12, 9, 3);  // a Wednesday: the window opens on it
    Queue(Event(ClockAction::EditProgram, 2, 0));
    t.ui.AnswerNumber(7);
    t.ui.AnswerNumber(45);
    Queue(Event(ClockAction::CycleChannel, 2, 0, 1));
    Queue(Event(ClockAction::CycleChannel, 2, 0, 8));
    Queue(Event(ClockAction::CycleChannel, 2, 0, 8));
    Queue(Event(ClockAction::EditProgram, 2, 1));  // a second one, cancelled at the minutes
    t.ui.AnswerNumber(9);
    t.ui.Cancel();
    Queue(Event(ClockAction::EditProgram, 2, 2));
    t.ui.AnswerNumber(22);
    t.ui.AnswerNumber(0);
    Queue(Event(ClockAction::ClearProgram, 2, 2));  // asked, answered Yes by default
    Run();

    ASSERT_EQ(t.ui.clockViews.size(), 8u);
    EXPECT_EQ(t.ui.clockViews[0].day, 2);
    EXPECT_EQ(t.ui.clockViews[0].dayCaption, "0110");
    const ClockProgrammerView& after = t.ui.clockViews[4];
    EXPECT_EQ(after.rows[0].time, "07:45");
    EXPECT_EQ(after.rows[0].channels[0], ChannelState::Off);
    EXPECT_EQ(after.rows[0].channels[7], ChannelState::On);
    EXPECT_EQ(t.ui.clockViews[6].programCount[2], 2);
    EXPECT_EQ(t.ui.clockViews[7].programCount[2], 1);
    EXPECT_EQ(t.ui.valueRequests.at(0).maximum, 23);
    EXPECT_EQ(t.ui.valueRequests.at(1).maximum, 59);

    Bytes now = ReadPy2();
    EXPECT_EQ(Bytes(now.begin() + 96, now.begin() + 102), (Bytes{7, 45, 0x80, 0x81, 0x11, 0x22}));
    EXPECT_EQ(Bytes(now.begin() + 108, now.begin() + 112), (Bytes{255, 255, 255, 255}));  // cleared again
    EXPECT_EQ(Bytes(now.begin() + 102, now.begin() + 104), (Bytes{255, 255}));           // never confirmed
    Bytes expected = py2;
    std::copy(now.begin() + 96, now.begin() + 100, expected.begin() + 96);
    Seal(expected);
    EXPECT_EQ(now, expected);
    EXPECT_TRUE(s.config.DateStamped);  // the .CY2 got today's date
}

TEST_F(ClockFileTest, ADayIsCopiedWholeAfterAskingWhenItReplacesPrograms) {
    OpenFileSet();
    Bytes py2 = EmptyPy2();
    for (int i = 0; i < 48; ++i) py2[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i % 6 == 0 ? 6 + i / 6 : i);
    py2[48 * 6] = 12;  // Sunday has a program of its own
    py2[48 * 6 + 1] = 0;
    Seal(py2);
    WritePy2(py2);
    Queue(Event(ClockAction::CopyDay, 0, 0, 0, 6));  // answered No: Sunday stays
    t.ui.messageAnswers.push_back(MsgAnswer::No);
    Queue(Event(ClockAction::CopyDay, 0, 0, 0, 6));
    Queue(Event(ClockAction::CopyDay, 0, 0, 0, 3));  // Thursday is empty: no question
    Run();

    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[0].text, "0126");
    Bytes now = ReadPy2();
    const Bytes monday(now.begin(), now.begin() + 48);
    EXPECT_EQ(Bytes(now.begin() + 48 * 6, now.begin() + 48 * 7), monday);
    EXPECT_EQ(Bytes(now.begin() + 48 * 3, now.begin() + 48 * 4), monday);
    EXPECT_EQ(Bytes(now.begin() + 48, now.begin() + 48 * 3), Bytes(py2.begin() + 48, py2.begin() + 48 * 3));
    EXPECT_EQ(t.ui.clockViews.back().programCount, (std::array<int, 7>{8, 0, 0, 8, 0, 0, 8}));
}

TEST_F(ClockFileTest, HolidaysStayInCalendarOrderWithTheUnusedEntriesLast) {
    OpenFileSet();
    Bytes py2 = EmptyPy2();
    const Bytes dates = {25, 12, 1, 5, 6, 1};  // out of order, as another tool may leave them
    std::copy(dates.begin(), dates.end(), py2.begin() + 360);
    WritePy2(py2);
    ASSERT_TRUE(LoadClockTables(s).Done());
    SortHolidays(s);
    auto table = [this] {
        std::vector<int> v;
        for (int i = 1; i <= 24; ++i) v.push_back(s.config.ClockDateTable[i]);
        return v;
    };
    std::vector<int> expected(24, 0);
    auto put = [&expected](std::vector<std::pair<int, int>> dm) {
        std::fill(expected.begin(), expected.end(), 0);
        for (std::size_t i = 0; i < dm.size(); ++i) {
            expected[2 * i] = dm[i].first;
            expected[2 * i + 1] = dm[i].second;
        }
    };
    put({{6, 1}, {1, 5}, {25, 12}});
    EXPECT_EQ(table(), expected);

    EXPECT_TRUE(AddHoliday(s, 15, 8));
    EXPECT_TRUE(AddHoliday(s, 1, 1));
    put({{1, 1}, {6, 1}, {1, 5}, {15, 8}, {25, 12}});
    EXPECT_EQ(table(), expected);
    SetHoliday(s, 0, 26, 12);  // moved to the end of the year
    RemoveHoliday(s, 1);       // 1 May
    put({{6, 1}, {15, 8}, {25, 12}, {26, 12}});
    EXPECT_EQ(table(), expected);
    EXPECT_EQ(s.config.PendingChanges, kPendingDates);

    for (int m = 1; m <= 12; ++m) AddHoliday(s, 2, m);
    EXPECT_EQ(HolidayCount(s), 12);
    EXPECT_FALSE(AddHoliday(s, 3, 3));
    EXPECT_FALSE(AddHoliday(s, 30, 2));  // no such date
}

TEST_F(ClockFileTest, TheHolidayRowsOfTheWindowReachTheirOwnEntriesPastAnUnusedOne) {
    OpenFileSet();
    Bytes py2 = EmptyPy2();
    const Bytes dates = {25, 12, 0, 0, 1, 1, 6, 1};  // an unused entry before two dates
    std::copy(dates.begin(), dates.end(), py2.begin() + 360);
    WritePy2(py2);
    auto datesInFile = [this] {
        Bytes now = ReadPy2();
        return Bytes(now.begin() + 360, now.begin() + 368);
    };

    Queue(Event(ClockAction::RemoveHoliday, 0, 2));  // the third row shown: 06/01
    Run(2);
    EXPECT_EQ(t.ui.clockViews.at(0).holidays, (std::vector<std::string>{"25/12", "01/01", "06/01"}));
    EXPECT_EQ(t.ui.clockViews.at(1).holidays, (std::vector<std::string>{"01/01", "25/12"}));
    EXPECT_EQ(datesInFile(), (Bytes{1, 1, 25, 12, 0, 0, 0, 0}));

    WritePy2(py2);
    Queue(Event(ClockAction::EditHoliday, 0, 1));  // the second row shown: 01/01
    t.ui.AnswerNumber(2);
    t.ui.AnswerNumber(1);
    Run(2);
    ASSERT_EQ(t.ui.valueRequests.size(), 2u);  // 01/01 was offered
    EXPECT_EQ(t.ui.valueRequests[0].initialText, "1");
    EXPECT_EQ(datesInFile(), (Bytes{2, 1, 6, 1, 25, 12, 0, 0}));
}

TEST_F(ClockFileTest, OnlyHour255EmptiesAProgramOtherOddTimesAreShown) {
    OpenFileSet();
    Bytes py2 = EmptyPy2();
    const Bytes odd = {24, 0, 0, 1, 0, 0, 8, 75, 0, 0, 0, 0, 254, 5, 0, 0, 0, 0, 255, 10, 0, 1, 0, 0};
    std::copy(odd.begin(), odd.end(), py2.begin());  // Monday programs 1..4
    Seal(py2);
    WritePy2(py2);
    t.clock.SetDate(2026, 12, 7, 1);  // a Monday: the window opens on it
    Queue(Event(ClockAction::EditProgram, 0, 1));  // 08:75 offers 08:59
    t.ui.AnswerNumber(8);
    t.ui.AnswerNumber(30);
    Run();

    const ClockProgrammerView& v = t.ui.clockViews.at(0);
    EXPECT_EQ(v.programCount[0], 3);
    EXPECT_EQ(v.rows[0].time, "24:00");
    EXPECT_EQ(v.rows[0].channels[0], ChannelState::Off);
    EXPECT_EQ(v.rows[1].time, "08:75");
    EXPECT_EQ(v.rows[2].time, "254:05");
    EXPECT_TRUE(v.rows[3].empty);
    ASSERT_EQ(t.ui.valueRequests.size(), 2u);
    EXPECT_EQ(t.ui.valueRequests[1].initialText, "59");
    EXPECT_EQ(ReadPy2()[7], 30);

    const PrintMode print = PrintMode::LinesOnly;
    ClockProgrammerSection(s, print, 0);
    EXPECT_EQ(ScreenLines(s.screen).at(3), "0354         1     24:00   0174 0175 0175 0175 0175 0175 0175 0175");
}

TEST_F(ClockFileTest, HolidayAndPeriodDialogsRefuseDatesThatDoNotExist) {
    OpenFileSet();
    WritePy2(EmptyPy2());
    Queue(Event(ClockAction::AddHoliday));
    t.ui.AnswerNumber(31);
    t.ui.AnswerNumber(4);  // 31 April
    Queue(Event(ClockAction::AddHoliday));
    t.ui.AnswerNumber(29);
    t.ui.AnswerNumber(2);
    Queue(Event(ClockAction::EditPeriod, 0, 1));
    for (int v : {1, 8, 31, 8}) t.ui.AnswerNumber(v);
    Queue(Event(ClockAction::EditPeriod, 0, 0));  // first period: cancelled
    Run();

    EXPECT_EQ(t.ui.AllMessages(), "0135:0149|");
    const ClockProgrammerView& v = t.ui.clockViews.back();
    EXPECT_EQ(v.holidays, (std::vector<std::string>{"29/02"}));
    EXPECT_EQ(v.periodText[0], "0144");
    EXPECT_EQ(v.periodText[1], "0142 01/08 0143 31/08");
    Bytes now = ReadPy2();
    EXPECT_EQ(Bytes(now.begin() + 350, now.begin() + 384),
              (Bytes{0, 0, 0, 0, 1, 8, 31, 8, 0, 0, 29, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                     0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(s.config.PeriodsSaved);
}

TEST_F(ClockFileTest, TheReportListsEveryDayTheHolidaysAndThePeriods) {
    OpenFileSet();
    Bytes py2 = EmptyPy2();
    const Bytes first = {8, 5, 0x02, 0x03, 0, 0};  // channel 1 on, 2 off
    std::copy(first.begin(), first.end(), py2.begin() + 48 + 6);  // Tuesday, program 2
    Seal(py2);
    py2[360] = 25;
    py2[361] = 12;
    WritePy2(py2);
    const PrintMode print = PrintMode::LinesOnly;
    ClockProgrammerSection(s, print, 0);

    auto lines = ScreenLines(s.screen);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "0158");
    EXPECT_EQ(lines[2], "0160        0161   0162    0163");
    EXPECT_EQ(lines[3], "0354        0164");
    EXPECT_EQ(lines[4], "0355         2     08:05   0174 0173 0175 0175 0175 0175 0175 0175");
    EXPECT_EQ(lines[10], "0165");
    EXPECT_EQ(lines[11], "  25/12");
    EXPECT_EQ(lines[13], "  0172");
    EXPECT_TRUE(t.ui.clockViews.empty());
    EXPECT_EQ(ReadPy2(), py2);  // printing never writes
}

// --- the simulated panel -----------------------------------------------------

class ClockPanelTest : public ClockFileTest {
protected:
    LoopbackTransport port{t.clock};
    vimo::sim::Panel& panel = port.Panel();
    vimo::sim::Memory& mem = port.Panel().Mem();
    std::vector<std::string> commands;  // the panel's description of each command it took

    ClockPanelTest() {
        s.transport = &port;
        s.link.PanelAddress = static_cast<int16_t>(panel.Address());
        s.settings.PlantCode = std::to_string(panel.PlantCode());
        s.config.ConfigSource = ConfigSource::Panel;
        panel.SetProgrammingMode(true, 0);
        panel.SetTrace([this](const vimo::sim::TraceEvent& e) {
            if (e.kind == vimo::sim::TraceEvent::Kind::kIn) commands.push_back(e.text);
        });
    }
    // The writes ("J <first address>", one per run of 64-byte pieces) and
    // the other commands but the reads (their letter and first parameter).
    std::vector<std::string> Writes() const {
        std::vector<std::string> out;
        long next = -1;
        for (const auto& c : commands) {
            auto at = c.find(" write ");
            if (at != std::string::npos) {
                const long address = std::stol(c.substr(at + 7));
                const long count = std::stol(c.substr(c.find(" x") + 2));
                if (address != next) out.push_back("J " + std::to_string(address));
                next = address + count;
            } else if (c.find(" read ") == std::string::npos) {
                out.push_back(c.substr(0, c.find(' ', 2)));
                next = -1;
            }
        }
        return out;
    }
    // Bytes written inside [first, first + area), counted over every write.
    long BytesWritten(long first, long area) const {
        long total = 0;
        for (const auto& c : commands) {
            auto at = c.find(" write ");
            if (at == std::string::npos) continue;
            const long address = std::stol(c.substr(at + 7));
            const long count = std::stol(c.substr(c.find(" x") + 2));
            if (address >= first && address < first + area) total += count;
        }
        return total;
    }
    void PutPanelPrograms(Bytes table) {
        Seal(table);
        mem.Write(vimo::sim::kClockPrograms, Bytes(table.begin(), table.begin() + 350));
    }
};

TEST_F(ClockPanelTest, TheSimulatorsClockAreasAreNotTheFileOffsetsPlusOneDistance) {
    using namespace vimo::sim;
    const long programs = DirectoryEntry(11) - 0L, periods = DirectoryEntry(9) - 350L, dates = DirectoryEntry(10) - 360L;
    EXPECT_NE(programs, periods);
    EXPECT_NE(programs, dates);
    EXPECT_NE(periods, dates);
    EXPECT_NE(programs, 4096);
}

TEST_F(ClockPanelTest, TablesComeFromTheDirectoryAndChangesGoBackInOrder) {
    Bytes table = EmptyPy2();
    table[48 * 4] = 17;  // Friday 17:15
    table[48 * 4 + 1] = 15;
    table[48 * 4 + 2] = 0;
    table[48 * 4 + 3] = 1;  // channel 1 off
    PutPanelPrograms(table);
    mem.Write(vimo::sim::kClockDates, Bytes{1, 1, 6, 1});
    mem.Write(vimo::sim::kClockPeriods, Bytes{1, 8, 20, 8, 0, 0, 0, 0, 99, 42});
    t.clock.SetDate(2026, 12, 11, 5);
    t.clock.SetTime(10 * 3600 + 20 * 60 + 30);
    Queue(Event(ClockAction::CycleChannel, 4, 0, 1));
    Queue(Event(ClockAction::RemoveHoliday, 4, 0));
    Queue(Event(ClockAction::ClearPeriod, 4, 0));
    Run();

    const ClockProgrammerView& first = t.ui.clockViews.at(0);
    EXPECT_EQ(first.day, 4);
    EXPECT_EQ(first.rows[0].time, "17:15");
    EXPECT_EQ(first.holidays, (std::vector<std::string>{"01/01", "06/01"}));
    EXPECT_EQ(first.periodText[0], "0142 01/08 0143 20/08");

    using namespace vimo::sim;
    EXPECT_EQ(Writes(), (std::vector<std::string>{"J " + std::to_string(kClockPrograms), "J " + std::to_string(kMarker),
                                                  "C 15", "J " + std::to_string(kClockDates), "H 10:20:30",
                                                  "J " + std::to_string(kClockPeriods)}))
        << ::testing::PrintToString(commands);
    EXPECT_EQ(mem.Get(kClockPrograms + 48 * 4 + 2), 1);  // channel 1 on
    EXPECT_EQ(mem.Get(kMarker), 187);
    EXPECT_EQ(panel.Stats().commitsPrograms, 1);
    EXPECT_EQ(mem.Read(kClockDates, 4), (Bytes{6, 1, 0, 0}));
    EXPECT_EQ(mem.Read(kClockPeriods, 10), (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 99, 42}));  // the tenth byte stays the panel's
    EXPECT_TRUE(s.config.PanelChanged);
    EXPECT_EQ(t.ui.AllMessages(), "0136:0137|");  // the removal was asked
}

TEST_F(ClockPanelTest, ThePanelGetsExactly339ProgramBytesAnd9PeriodBytes) {
    PutPanelPrograms(EmptyPy2());
    mem.Write(vimo::sim::kClockPeriods, Bytes{0, 0, 0, 0, 0, 0, 0, 0, 5, 77});
    Queue(Event(ClockAction::EditProgram, 0, 0));
    t.ui.AnswerNumber(6);
    t.ui.AnswerNumber(0);
    Queue(Event(ClockAction::EditPeriod, 0, 0));
    for (int v : {1, 8, 31, 8}) t.ui.AnswerNumber(v);
    Run();

    using namespace vimo::sim;
    // Programs, checksum and one spare byte; the other spare bytes and the
    // tenth period byte stay the panel's.
    EXPECT_EQ(BytesWritten(kClockPrograms, kClockProgramsArea), 339);
    EXPECT_EQ(BytesWritten(kClockPeriods, kClockPeriodsArea), 9);
    EXPECT_EQ(mem.Read(kClockPeriods, 10), (Bytes{1, 8, 31, 8, 0, 0, 0, 0, 5, 77}));
}

TEST_F(ClockPanelTest, MarkerIsZeroWhenTheLastProgramIsClearedAnd187WithOne) {
    Bytes table = EmptyPy2();
    table[0] = 6;
    table[1] = 0;
    PutPanelPrograms(table);
    mem.Set(vimo::sim::kMarker, 187);
    Queue(Event(ClockAction::SelectDay, 0));
    Queue(Event(ClockAction::ClearProgram, 0, 0));
    Run();
    EXPECT_EQ(mem.Get(vimo::sim::kMarker), 0);
    EXPECT_EQ(mem.Get(vimo::sim::kClockPrograms + 336), 78);
    EXPECT_EQ(mem.Get(vimo::sim::kClockPrograms + 337), 176);

    Queue(Event(ClockAction::EditProgram, 6, 7));
    t.ui.AnswerNumber(23);
    t.ui.AnswerNumber(59);
    Run();
    EXPECT_EQ(mem.Get(vimo::sim::kMarker), 187);
    EXPECT_EQ(mem.Read(vimo::sim::kClockPrograms + 48 * 6 + 42, 4), (Bytes{23, 59, 0, 0}));
    EXPECT_EQ(panel.Stats().commitsPrograms, 2);
}

TEST_F(ClockPanelTest, ARefusedCommitKeepsItsBitTheOtherSavesStillRunAndTheAlertSaysSo) {
    PutPanelPrograms(EmptyPy2());
    vimo::sim::Fault refuse;
    refuse.kind = vimo::sim::FaultKind::kControlAnswer;
    refuse.arg = 15;
    refuse.answer = 'E';
    refuse.letters = "C";
    panel.AddFault(refuse);
    Queue(Event(ClockAction::EditProgram, 1, 0));
    t.ui.AnswerNumber(8);
    t.ui.AnswerNumber(0);
    Queue(Event(ClockAction::AddHoliday));
    t.ui.AnswerNumber(2);
    t.ui.AnswerNumber(6);
    Run();

    EXPECT_EQ(s.config.PendingChanges, kPendingPrograms);
    EXPECT_EQ(mem.Read(vimo::sim::kClockDates, 2), (Bytes{2, 6}));
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(t.ui.messages.back().text, "0106\r0131");
    EXPECT_EQ(panel.Stats().commitsPrograms, 0);
}

TEST_F(ClockPanelTest, ADamagedPanelTableIsResetAndWrittenWhenTheSectionEnds) {
    Bytes table = EmptyPy2();
    table[0] = 5;  // checksum left as for the empty table
    mem.Write(vimo::sim::kClockPrograms, Bytes(table.begin(), table.begin() + 350));
    QueueCancel();
    Run(6);  // the read-only list: still saves the reset table
    EXPECT_EQ(mem.Get(vimo::sim::kClockPrograms), 255);
    EXPECT_EQ(mem.Get(vimo::sim::kClockPrograms + 336), 78);
    EXPECT_EQ(mem.Get(vimo::sim::kMarker), 0);
    EXPECT_EQ(s.config.PendingChanges, 0);
}

}  // namespace
}  // namespace cfg::test
