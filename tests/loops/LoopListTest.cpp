// The configured-sensor list (visloop) on a file set and on the panel, and
// the section around it: caption, Toolbar2 states, the views and their end.
#include "LoopFixture.h"
#include "link/Screen.h"

namespace cfg::test {
namespace {

const std::string kName1 = "1294" + std::string(17, ' ');

TEST_F(LoopFileTest, Module2ReadsItsOwnOffsetsAndShowsPoints201To400) {
    OpenLoopFile(2, {{1, 0x11, 0, 0}, {200, 0x81, 3, 0}});
    ASSERT_TRUE(LoadLoopTables(s, c));
    EXPECT_EQ(BuildLoopList(s, c, false), 2);
    auto lines = ScreenLines(s.screen);
    ASSERT_EQ(lines.size(), 1u + 200u + 2u);
    EXPECT_EQ(lines[0], "0392");
    EXPECT_EQ(lines[1], "201: " + kName1 + "             [  16/ 160/ 240]");
    EXPECT_EQ(DescriptorOf(s.screen, 2).field, 1);
    EXPECT_EQ(DescriptorOf(s.screen, 2).value2, 201);
    EXPECT_EQ(lines[2], "202: 1293");
    EXPECT_EQ(DescriptorOf(s.screen, 3).field, 2);
    // Type 8 takes the thresholds of row 1, like type 1.
    EXPECT_EQ(lines[200].substr(0, 5), "400: ");
    EXPECT_EQ(lines[200].substr(26), "             [  16/ 160/ 240]");
    EXPECT_EQ(lines[201], "-----");
    EXPECT_EQ(lines[202], "20396");
}

TEST_F(LoopFileTest, AnEmptyLoopStillHasItsHeadingRuleAndCount) {
    OpenLoopFile(1, {});
    ASSERT_TRUE(LoadLoopTables(s, c));
    EXPECT_EQ(BuildLoopList(s, c, true), 0);
    EXPECT_EQ(ScreenLines(s.screen), (std::vector<std::string>{"0392", "1293", "-----", "00396"}));
    BuildLoopList(s, c, false);
    EXPECT_EQ(s.screen.LineCount, 203);
    EXPECT_EQ(ScreenLines(s.screen).back(), "00396");
}

TEST_F(LoopFileTest, CompactListFoldsEachRunOfEmptyPoints) {
    OpenLoopFile(1, {{3, 0x11, 0, 0}, {4, 0xD1, 0, 0}, {10, 0xF1, 0, 0}});
    ASSERT_TRUE(LoadLoopTables(s, c));
    BuildLoopList(s, c, true);
    auto lines = ScreenLines(s.screen);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[1], "1293");
    EXPECT_EQ(lines[2].substr(0, 5), "  3: ");
    // Types 13 and 15 use rows 12 and 14.
    EXPECT_EQ(lines[3].substr(26), "             [ 192/1920/2000]");
    EXPECT_EQ(lines[4], "1293");
    EXPECT_EQ(lines[5].substr(26), "             [ 224/2240/2320]");
    EXPECT_EQ(lines[6], "1293");
}

TEST_F(LoopFileTest, FileSourceEnablesOnlyTheListAndLeave) {
    OpenLoopFile(1, {});
    SetLoopButtons(s, c);
    EXPECT_EQ(t.ui.loopButtons, (std::map<int, bool>{{2, true}, {3, false}, {4, true}, {5, false},
                                                     {6, false}, {7, false}, {8, false}, {9, false}}));
    c.present[1] = 0;
    SetLoopButtons(s, c);
    for (int p = 3; p <= 9; ++p) EXPECT_FALSE(t.ui.loopButtons[p]) << p;
    EXPECT_TRUE(t.ui.loopButtons[2]);
    EXPECT_EQ(LoopCaptionText(s, c), "00080007 1 \r\n0009 1-200]");
    EXPECT_EQ(LoopCaptionColour(c), 0x8080FFu);
    // Not present: the list does nothing.
    ShowConfiguredSensors(s, c, false);
    EXPECT_FALSE(t.ui.loopListOpen);
    EXPECT_EQ(t.ui.loopListShows, 0);
}

TEST_F(LoopFileTest, SectionRunsTheListUntilLeaveAndGivesToolbar1Back) {
    OpenLoopFile(2, {{5, 0x11, 0, 0}});
    t.ui.events = {[this] { s.main.PostCommand({.diagnostic = 1}); }, [] {}, [this] { s.main.PostCommand({.diagnostic = 3}); },
                   [this] { s.main.PostCommand({.diagnostic = 7}); }};
    LoopListInput close;
    close.closed = true;
    t.ui.loopListInputs.push_back(close);
    const PrintMode print = PrintMode::Interactive;
    LoopSection(s, print, 2);
    EXPECT_FALSE(t.ui.loopToolbarShown);
    EXPECT_EQ(t.ui.loopCaption, "");
    EXPECT_EQ(t.ui.loopListShows, 1);
    EXPECT_EQ(t.ui.loopListSpec.title, "02072       02061]");
    EXPECT_EQ(t.ui.loopListSpec.closeCaption, "0208");
    EXPECT_EQ(t.ui.loopPicture.kind, LoopPicture::Kind::Overview);
    ASSERT_EQ(t.ui.loopPicture.marks.size(), 200u);
    EXPECT_TRUE(t.ui.loopPicture.marks[4].configured);
    EXPECT_EQ(t.ui.loopPicture.marks[4].point, 205);
    EXPECT_EQ(t.ui.loopPicture.marks[4].reading, -1);  // no live part from a file
    EXPECT_FALSE(t.ui.loopPicture.marks[5].configured);
    // visloop, then soglie, then endvimom pressed in turn.
    EXPECT_EQ(t.ui.loopPressedHistory, (std::vector<int>{4, 0, 6, 0, 2, 0}));
    EXPECT_FALSE(t.ui.loopListOpen);
}

// A button pressed while a view is still ending is the next view: the
// installer who closes the sensor list and at once presses Leave is not
// ignored.
TEST_F(LoopFileTest, AButtonPressedWhileAViewEndsIsNotLost) {
    OpenLoopFile(1, {{1, 0x11, 0, 0}});
    t.ui.events = {[this] { s.main.PostCommand({.diagnostic = 1}); }};
    LoopListInput close;
    close.closed = true;
    t.ui.loopListInputs.push_back(close);
    int idleAfterTheList = 0;
    t.ui.onProcessEvents = [&] {
        if (t.ui.loopListOpen) s.main.PostCommand({.diagnostic = 7});  // Leave, while the list ends
        else if (t.ui.loopListShows > 0 && ++idleAfterTheList > 50) s.main.PostCommand({.diagnostic = 7});
    };
    const PrintMode print = PrintMode::Interactive;
    LoopSection(s, print, 1);
    EXPECT_EQ(t.ui.loopListShows, 1);
    EXPECT_LE(idleAfterTheList, 1) << "the Leave pressed during the list was dropped";
    EXPECT_FALSE(t.ui.loopToolbarShown);
}

TEST_F(LoopFileTest, PrintRequestBuildsTheCompactListAndShowsNothing) {
    OpenLoopFile(1, {{1, 0x11, 0, 0}});
    const PrintMode print = PrintMode::LinesOnly;
    LoopSection(s, print, 1);
    EXPECT_FALSE(t.ui.loopToolbarShown);
    EXPECT_EQ(t.ui.loopListShows, 0);
    EXPECT_EQ(ScreenLines(s.screen).back(), "10396");
    EXPECT_EQ(ScreenLines(s.screen).size(), 5u);
}

TEST_F(LoopFileTest, ADoubleClickOpensTheDetailOfItsPoint) {
    OpenLoopFile(1, {{7, 0xA1, 0x24, 0}});
    LoopListInput open;
    open.openedLine = 1;  // the heading: not a point
    t.ui.loopListInputs.push_back(open);
    open.openedLine = 7;  // point 7
    t.ui.loopListInputs.push_back(open);
    LoopListInput close;
    close.closed = true;
    t.ui.loopListInputs.push_back(close);
    t.ui.events.push_back([] {});
    t.ui.events.push_back([] {});
    t.ui.events.push_back([this] { t.ui.detailOpen = false; });
    ShowConfiguredSensors(s, c, false);
    EXPECT_EQ(t.ui.detailOpens, 1);
    const auto& w = t.ui.detailWrites;
    EXPECT_EQ(w.front(), "[open] 0375 7");
    auto has = [&](const std::string& x) { return std::find(w.begin(), w.end(), x) != w.end(); };
    EXPECT_TRUE(has("2,2:0375   007"));
    EXPECT_TRUE(has("2,15:03771; 03937]"));  // type 10: a device
    EXPECT_TRUE(has("3,15:0372"));
    EXPECT_TRUE(has("6,15:5"));               // group 4 + 1
    EXPECT_TRUE(has("10,15:   0"));           // input module: Lo 0
    EXPECT_FALSE(has("16,2:0385"));           // no live part from a file
}

// --- on the panel -------------------------------------------------------------------

TEST_F(LoopPanelTest, LiveReadingAtUpIsMarkedAtLoIsNot) {
    SetPoint(1, 5, 0x11);
    SetPoint(1, 6, 0x11);
    SetPoint(1, 7, 0x11);
    Rewire();
    Fault("reading=1:5:10");  // Up of row 1
    Fault("reading=1:6:1");   // Lo
    Fault("reading=1:7:9");
    t.clock.Advance(2);
    ASSERT_TRUE(LoadLoopTables(s, c));
    BuildLoopList(s, c, false);
    t.ui.loopLines = ScreenLines(s.screen);
    EXPECT_EQ(LineOfPoint(5), "  5: " + kName1 + " 160   !     [  16/ 160/ 240]");
    EXPECT_EQ(LineOfPoint(6), "  6: " + kName1 + "  16         [  16/ 160/ 240]");
    EXPECT_EQ(LineOfPoint(7), "  7: " + kName1 + " 144         [  16/ 160/ 240]");
    const LoopPicture pic = LoopOverview(s, c);
    EXPECT_EQ(pic.marks[4].reading, 10);
    EXPECT_EQ(pic.marks[4].state, 2);  // at Mid, below Hi
    EXPECT_EQ(pic.marks[5].state, 0);  // at Lo
    EXPECT_EQ(pic.marks[6].state, 1);
}

TEST_F(LoopPanelTest, OnlyPoints1To99HaveAReferenceLevelInTheDetailToo) {
    // Type 2, calibrated above T1 of row 2 (25): with a reference level Hi
    // is the reference (30), without one T1.
    SetPoint(1, 99, 0x21, 0, 40);
    SetPoint(1, 100, 0x21, 0, 40);
    Rewire();
    ASSERT_TRUE(LoadLoopTables(s, c));
    c.reference[4 * 99] = 30;
    c.reference[4 * 100] = 30;
    auto detail = [this](int point) {
        t.ui.detailWrites.clear();
        t.ui.onProcessEvents = [this] {
            for (const auto& w : t.ui.detailWrites)
                if (w.rfind("17,15:", 0) == 0) t.ui.detailOpen = false;
        };
        ShowPointDetail(s, c, point);
        t.ui.onProcessEvents = nullptr;
        return t.ui.detailWrites;
    };
    auto has = [](const std::vector<std::string>& w, const std::string& x) {
        return std::find(w.begin(), w.end(), x) != w.end();
    };
    const auto w99 = detail(99);
    EXPECT_TRUE(has(w99, "8,15: 480"));
    EXPECT_TRUE(has(w99, "12,2:1420"));
    const auto w100 = detail(100);
    EXPECT_EQ(PointWindowOf(s, c, 100, true).hi, 25);
    EXPECT_TRUE(has(w100, "8,15: 400"));   // as its list line
    EXPECT_TRUE(has(w100, "9,15: 320"));
    EXPECT_FALSE(has(w100, "12,2:1420"));  // no reference rows
}

TEST_F(LoopPanelTest, AddressZeroDevicesAndSilentPointsAreNamed) {
    SetPoint(1, 8, 0x11);
    SetPoint(1, 9, 0x31);
    Rewire();
    port.Panel().Loop(1).SetDevice(8, 0);    // configured, not answering
    port.Panel().Loop(1).SetDevice(9, 1);    // another type than configured
    port.Panel().Loop(1).addressZero = {0x02, 0};
    port.Panel().RestartLiveTables();
    ASSERT_TRUE(LoadLoopTables(s, c));
    EXPECT_EQ(c.addressZero, (std::array<int, 2>{2, 0}));
    BuildLoopList(s, c, false);
    t.ui.loopLines = ScreenLines(s.screen);
    EXPECT_EQ(t.ui.loopLines[1], "  0: 1295" + std::string(17, ' ') + " 1440");
    EXPECT_EQ(DescriptorOf(s.screen, 2).field, 0);
    EXPECT_EQ(LineOfPoint(8).substr(5, 4), "1304");
    EXPECT_EQ(LineOfPoint(9).substr(5, 4), "1305");
    EXPECT_FALSE(LoopOverview(s, c).marks[7].answering);
}

TEST_F(LoopPanelTest, TheListRefreshesEveryFourSecondsKeepingItsPlace) {
    SetPoint(1, 5, 0x11);
    Rewire();
    t.ui.onProcessEvents = [this] {
        // The user scrolled and selected a line before the first refresh.
        if (t.ui.loopListShows == 1) {
            t.ui.loopTop = 40;
            t.ui.loopSelected = 45;
        }
        if (t.ui.loopListShows >= 3) {
            LoopListInput close;
            close.closed = true;
            t.ui.loopListInputs.push_back(close);
        }
    };
    const double start = t.clock.SecondsSinceMidnight();
    ShowConfiguredSensors(s, c, false);
    EXPECT_GE(t.ui.loopListShows, 3);
    EXPECT_EQ(t.ui.loopTop, 40);
    EXPECT_EQ(t.ui.loopSelected, 45);
    EXPECT_GE(t.clock.SecondsSinceMidnight() - start, 8.0);
    EXPECT_FALSE(t.ui.loopListOpen);
}

TEST_F(LoopPanelTest, TheAbortButtonEndsARunningView) {
    SetPoint(1, 5, 0x11);
    Rewire();
    t.ui.onProcessEvents = [this] {
        if (t.ui.loopListShows >= 2) s.events.AbortRequested = true;
    };
    ShowConfiguredSensors(s, c, false);
    EXPECT_FALSE(t.ui.loopListOpen);
    EXPECT_FALSE(s.events.AbortRequested);
    EXPECT_EQ(t.ui.loopListShows, 2);

    // The same for a text window: the current view stops at once.
    t.ui.onProcessEvents = [this] {
        if (t.ui.diagOpen && t.ui.diagWrites.size() > 4) s.events.AbortRequested = true;
    };
    ShowLineCurrent(s, c);
    EXPECT_FALSE(t.ui.diagOpen);
    EXPECT_FALSE(s.events.AbortRequested);
}

TEST_F(LoopPanelTest, SectionIdentifiesTheModuleAndEnablesEveryLiveView) {
    t.ui.onProcessEvents = [this] {
        if (t.ui.loopToolbarShown) s.main.PostCommand({.diagnostic = 7});
    };
    const PrintMode print = PrintMode::Interactive;
    LoopSection(s, print, 1);
    EXPECT_EQ(t.ui.AllMessages(), "");
    EXPECT_EQ(t.ui.loopButtons, (std::map<int, bool>{{2, true}, {3, true}, {4, true}, {5, true},
                                                     {6, false}, {7, true}, {8, true}, {9, true}}));
    EXPECT_FALSE(t.ui.loopToolbarShown);
    // The caption named the model and version the module answered.
    LoopContext probe;
    probe.module = 1;
    probe.present[1] = true;
    ASSERT_TRUE(IdentifyModule(s, probe));
    EXPECT_EQ(probe.ModuleModel, "LM-200/A");
    EXPECT_EQ(LoopCaptionText(s, probe), "0007 1   (LM-200/A V1.07)\r\n0009 1-200]");
    EXPECT_EQ(LoopCaptionColour(probe), 0xC0FFC0u);
}

TEST_F(LoopPanelTest, AModuleThatDoesNotAnswerEndsTheSection) {
    port.Panel().Loop(2).installed = false;
    const PrintMode print = PrintMode::Interactive;
    LoopSection(s, print, 2);
    EXPECT_EQ(t.ui.AllMessages(), "1378:1289\r1139|");
    EXPECT_FALSE(t.ui.loopToolbarShown);
}

}  // namespace
}  // namespace cfg::test
