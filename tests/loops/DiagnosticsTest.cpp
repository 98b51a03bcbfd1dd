// The live views on the panel: min/max with its marks and reset, loop errors
// with the loop status and reset, line current, and auto-configuration.
#include "LoopFixture.h"
#include "link/Screen.h"

namespace cfg::test {
namespace {

const std::string kSilent = "1304" + std::string(17, ' ');

class MinMaxTest : public LoopPanelTest {
protected:
    // Points 5..7 configured as type 1 but not wired, so the panel leaves
    // their recorded values as the test wrote them.
    void Prepare() {
        for (int k = 5; k <= 7; ++k) SetPoint(1, k, 0x11);
        Rewire();
        for (int k = 5; k <= 7; ++k) port.Panel().Loop(1).SetDevice(k, 0);
        auto set = [this](int k, int lo, int hi) {
            mem.Set(7968 + 2 * (k - 1), static_cast<uint8_t>(lo));
            mem.Set(7968 + 2 * (k - 1) + 1, static_cast<uint8_t>(hi));
        };
        set(5, 1, 9);       // minimum at Lo
        set(6, 255, 255);   // nothing recorded
        set(7, 2, 10);      // maximum at Up
    }
};

TEST_F(MinMaxTest, MarksAtTheLimitsAndNothingRecordedShowsDots) {
    Prepare();
    ASSERT_TRUE(LoadLoopTables(s, c));
    ASSERT_TRUE(ReadMinMaxTable(s, c));
    EXPECT_EQ(BuildMinMaxList(s, c), 3);
    t.ui.loopLines = ScreenLines(s.screen);
    EXPECT_EQ(t.ui.loopLines[0], "0200");
    EXPECT_EQ(LineOfPoint(5), "  5: " + kSilent + " !!   16    144   [  16.. 160]");
    EXPECT_EQ(LineOfPoint(6), "  6: " + kSilent + "    ....   ....   [  16.. 160]");
    EXPECT_EQ(LineOfPoint(7), "  7: " + kSilent + "      32!!  160   [  16.. 160]");
    EXPECT_EQ(LineOfPoint(8), "  8: 1293");
    EXPECT_EQ(t.ui.loopLines.back(), "30203");
    const LoopPicture pic = MinMaxPicture(s, c);
    EXPECT_EQ(pic.kind, LoopPicture::Kind::Ranges);
    EXPECT_EQ(pic.marks[5].minimum, 255);
    EXPECT_EQ(pic.marks[6].maximum, 10);
    EXPECT_EQ(pic.marks[6].up, 10);
}

TEST_F(MinMaxTest, ResetAsksThenFillsTheModulesTableWith255) {
    Prepare();
    c.module = 1;
    LoopListInput reset;
    reset.reset = true;
    t.ui.loopListInputs = {{}, reset, {}};
    LoopListInput close;
    close.closed = true;
    t.ui.loopListInputs.push_back(close);
    t.ui.messageAnswers = {MsgAnswer::Yes};
    ShowMinMax(s, c);
    EXPECT_EQ(t.ui.AllMessages(), "0102 1:0105|");
    EXPECT_EQ(t.ui.loopListSpec.resetCaption, "0104");
    EXPECT_EQ(t.ui.loopListSpec.background, 16710628u);
    for (int i = 0; i < 400; i += 57) EXPECT_EQ(mem.Get(7968 + static_cast<std::size_t>(i)), 255) << i;
    EXPECT_NE(LineOfPoint(5).find("...."), std::string::npos);

    // Module 2's table starts 400 bytes on.
    mem.Set(8368, 7);
    mem.Set(8767, 7);
    c.module = 2;
    ASSERT_TRUE(ResetMinMax(s, c));
    EXPECT_EQ(mem.Get(8368), 255);
    EXPECT_EQ(mem.Get(8767), 255);
}

TEST_F(MinMaxTest, TheViewSendsOnlyTheCommandsOfItsSteps) {
    // A module that refuses the address-0 question must not put up a box
    // each time min/max opens: the view does not ask it.
    Prepare();
    std::vector<int> loopCommands;
    port.Panel().SetTrace([&](const vimo::sim::TraceEvent& e) {
        // An "X" frame: STX, address, letter, first parameter, loop, command.
        if (e.kind == vimo::sim::TraceEvent::Kind::kIn && e.bytes.size() > 5 && e.bytes[2] == 'X')
            loopCommands.push_back(e.bytes[5] - 32);
    });
    Fault("access-needed,cmd=X");
    LoopListInput close;
    close.closed = true;
    t.ui.loopListInputs = {{}, close};
    ShowMinMax(s, c);
    EXPECT_EQ(t.ui.AllMessages(), "");
    EXPECT_EQ(t.ui.loopListShows, 1);
    EXPECT_EQ(loopCommands, std::vector<int>{});
}

TEST_F(LoopPanelTest, ErrorCountersFaultPointAndLoopStatus) {
    auto& loop = port.Panel().Loop(1);
    loop.errors = {3, 0, 1};
    loop.lastFaultPoint = 14;
    c.module = 1;
    LoopErrors e;
    ASSERT_TRUE(ReadLoopErrors(s, c, e));
    EXPECT_EQ(e.counters, (std::array<int, 4>{3, 0, 1, 14}));
    EXPECT_EQ(e.faultPoint, 14);
    EXPECT_EQ(e.status, 1);

    // Module 2 names its fault point from 201 on; an open loop is not good.
    port.Panel().Loop(2).lastFaultPoint = 5;
    Fault("loop-open=2");
    t.clock.Advance(2);
    c.module = 2;
    ASSERT_TRUE(ReadLoopErrors(s, c, e));
    EXPECT_EQ(e.faultPoint, 205);
    EXPECT_EQ(e.status, 2);
    EXPECT_GE(e.counters[2], 1);
}

TEST_F(LoopPanelTest, ErrorsWindowColoursAndItsReset) {
    auto& loop = port.Panel().Loop(1);
    loop.errors = {3, 0, 0};
    loop.lastFaultPoint = 14;
    t.ui.onProcessEvents = [this] {
        // After the first round the user asks for the reset, then closes.
        if (t.ui.diagWrites.size() > 9 && t.ui.messages.empty()) t.ui.diagResetPending = true;
        if (!t.ui.messages.empty() && t.ui.diagWrites.size() > 20) t.ui.diagOpen = false;
    };
    t.ui.messageAnswers = {MsgAnswer::Yes};
    ShowLoopErrors(s, c);
    auto& w = t.ui.diagWrites;
    auto has = [&](const std::string& x) { return std::find(w.begin(), w.end(), x) != w.end(); };
    EXPECT_TRUE(t.ui.diagHasReset);
    EXPECT_TRUE(has("2,19:  3{red}"));
    EXPECT_TRUE(has("3,19:  0{green}"));
    EXPECT_TRUE(has("5,22:03761403771]{red}"));
    EXPECT_TRUE(has("7,11:0037" + std::string(16, ' ') + "{green}"));
    EXPECT_EQ(t.ui.AllMessages(), "0028:0042|");
    EXPECT_EQ(loop.errors, (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_TRUE(has("2,19:  0{green}"));  // after the reset
    EXPECT_FALSE(t.ui.diagOpen);
}

TEST_F(LoopPanelTest, ARefusedErrorResetSays0101) {
    port.Panel().Loop(1).errors = {2, 0, 0};
    Fault("reset-refused,times=1");
    EXPECT_FALSE(ResetLoopErrors(s, c));
    EXPECT_EQ(t.ui.AllMessages(), "0028:0101|");
    EXPECT_EQ(port.Panel().Loop(1).errors[0], 2);
    EXPECT_TRUE(ResetLoopErrors(s, c));
    EXPECT_EQ(port.Panel().Loop(1).errors[0], 0);
}

TEST(LineCurrent, SamplesBelowFourCountNothingAndTheSumScales) {
    EXPECT_EQ(LineCurrentFromSamples({0, 3, 4}), 0);
    EXPECT_EQ(LineCurrentFromSamples({5, 0, 0}), 1);    // 2 / 1.4
    EXPECT_EQ(LineCurrentFromSamples({62, 62, 63}), 250);  // 175 * 2 / 1.4 exactly
    EXPECT_EQ(LineCurrentFromSamples({62, 63, 63}), 251);
}

TEST_F(LoopPanelTest, CurrentWindowGreenUpTo250RedAbove) {
    t.ui.onProcessEvents = [this] {
        if (t.ui.diagWrites.size() >= 5) t.ui.diagOpen = false;
    };
    ShowLineCurrent(s, c);
    ASSERT_GE(t.ui.diagWrites.size(), 4u);
    EXPECT_EQ(t.ui.diagWrites[2], "3,9:mA");
    EXPECT_NE(t.ui.diagWrites[3].find("{green}"), std::string::npos);
    EXPECT_EQ(t.ui.diagWrites[3].substr(0, 6), "3,3:  ");

    Fault("overcurrent=1");
    t.ui.diagWrites.clear();
    ShowLineCurrent(s, c);
    ASSERT_GE(t.ui.diagWrites.size(), 4u);
    EXPECT_EQ(t.ui.diagWrites[3].substr(0, 6), "3,3:!!");
    EXPECT_NE(t.ui.diagWrites[3].find("{red}"), std::string::npos);
}

TEST_F(LoopPanelTest, LiveViewsNeedThePanelAndAPresentModule) {
    c.present[1] = false;
    ShowLineCurrent(s, c);
    ShowLoopErrors(s, c);
    ShowMinMax(s, c);
    EXPECT_EQ(t.ui.diagOpens, 0);
    EXPECT_EQ(t.ui.loopListShows, 0);
    EXPECT_FALSE(RunAutoConfiguration(s, c, {false, false}));
    EXPECT_EQ(port.Panel().Loop(1).AutoConfigRuns(), 0);
}

// --- auto-configuration ---------------------------------------------------------------

AutoConfigPoint Apply(int b1, int b2, int detected, int value, bool overwrite) {
    return ApplyDetectedPoint({b1, b2, 7, 8}, detected, value, overwrite);
}

TEST(AutoConfigRules, WithoutOverwriteAgreeingTypesOnlyChangeTheTypeNibble) {
    AutoConfigPoint p = Apply(0x3A, 0xE5, 1, 99, false);  // type 3 found as 1
    EXPECT_EQ(p.b1, 0x1A);
    EXPECT_EQ(p.b2, 0xE5);
    EXPECT_EQ(p.param1, 7);
    EXPECT_EQ(p.param2, 8);
    p = Apply(0x00, 0x00, 1, 99, false);  // an added device keeps variant 0
    EXPECT_EQ(p.b1, 0x10);
    p = Apply(0x92, 0x00, 9, 99, false);  // both 9
    EXPECT_EQ(p.b1, 0x92);
    EXPECT_EQ(p.param2, 8);
}

TEST(AutoConfigRules, WithoutOverwriteA9Or10MismatchIsRewritten) {
    AutoConfigPoint p = Apply(0x9A, 0x45, 10, 99, false);  // 9 configured, 10 found
    EXPECT_EQ(p.b1, 0xAA);  // variant 2 kept, bit 3 kept
    EXPECT_EQ(p.b2, 0x45);
    EXPECT_EQ(p.param1, 0);
    EXPECT_EQ(p.param2, 99);
    p = Apply(0x90, 0x45, 10, 99, false);  // variant 0 becomes 1
    EXPECT_EQ(p.b1, 0xA1);
    p = Apply(0xA0, 0x00, 9, 50, false);   // 10 configured, 9 found: variant 2
    EXPECT_EQ(p.b1, 0x92);
    p = Apply(0x11, 0x00, 10, 50, false);  // 1 configured, 10 found
    EXPECT_EQ(p.b1, 0xA1);
    // Only the low nibble of the detected byte is the type.
    EXPECT_EQ(Apply(0x11, 0, 0x31, 50, false).b1, 0x11);
}

TEST(AutoConfigRules, AnEmptyPointLosesOnlyItsTypeUnlessOverwritten) {
    AutoConfigPoint p = Apply(0x3A, 0xE5, 0, 0, false);
    EXPECT_EQ(p.b1, 0x0A);
    EXPECT_EQ(p.b2, 0xE5);
    EXPECT_EQ(p.param2, 8);
    p = Apply(0x3A, 0xE5, 0, 0, true);
    EXPECT_EQ(p.b1, 0x02);  // bit 3 cleared, variant kept
    EXPECT_EQ(p.b2, 0x05);  // flags 7..5 cleared
    EXPECT_EQ(p.param1, 0);
    EXPECT_EQ(p.param2, 0);
}

TEST(AutoConfigRules, OverwriteSetsTheVariantByType) {
    EXPECT_EQ(Apply(0x3A, 0xE5, 1, 40, true).b1, 0x19);
    EXPECT_EQ(Apply(0x3A, 0xE5, 9, 40, true).b1, 0x9A);
    EXPECT_EQ(Apply(0x33, 0xE5, 3, 40, true).b1, 0x31);
    EXPECT_EQ(Apply(0x33, 0xE5, 3, 40, true).b2, 0xE5);
    EXPECT_EQ(Apply(0x33, 0xE5, 3, 40, true).param2, 40);
}

class AutoConfigTest : public LoopPanelTest {
protected:
    int B1(int k) { return mem.Get(4608 + 2 * (k - 1)); }
    int B2(int k) { return mem.Get(4608 + 2 * (k - 1) + 1); }
    int Param2(int k) { return mem.Get(5408 + 2 * (k - 1) + 1); }
    void Prepare() {
        SetPoint(1, 1, 0x11, 0x02);  // group 3
        SetPoint(1, 2, 0x11, 0x02);
        SetPoint(1, 3, 0x11, 0x22);
        SetPoint(1, 4, 0xA2, 0x02);
        Rewire();
        auto& loop = port.Panel().Loop(1);
        loop.SetDevice(2, 0);   // removed
        loop.SetDevice(3, 2);   // another type
        loop.SetDevice(4, 9);   // a call point where a module is configured
        loop.SetDevice(5, 1);   // added
        SetPoint(1, 6, 0x11, 0x03);  // group 4
        mem.Fill(4397, 32, 0x10);
        mem.Set(4397 + 2, 0x20);  // group 3: no type yet
        mem.Set(4397 + 1, 0x20);  // group 2: unused, stays
        mem.Set(4397 + 3, 0x28);  // group 4: type 8 in the low four bits
        LoopListInput close;
        close.closed = true;
        t.ui.loopListInputs.push_back(close);
    }
};

TEST_F(AutoConfigTest, MergesTheDetectedLoopWritesBothTablesAndFixesGroups) {
    Prepare();
    ASSERT_TRUE(RunAutoConfiguration(s, c, {false, false})) << t.ui.AllMessages();
    EXPECT_EQ(B1(1), 0x11);
    EXPECT_EQ(B1(2), 0x01);            // removed: type gone, variant kept
    EXPECT_EQ(B1(3), 0x21);            // nibble only
    EXPECT_EQ(B2(3), 0x22);
    EXPECT_EQ(B1(4), 0x92);            // 10 -> 9: rewritten, variant 2 kept
    EXPECT_NE(Param2(4), 0);           // the value the panel reported
    EXPECT_EQ(B1(5), 0x10);            // added
    EXPECT_EQ(mem.Get(4397 + 2), 0x21);  // group 3 now has a type
    EXPECT_EQ(mem.Get(4397 + 0), 0x11);  // group 1 (the empty points) too
    EXPECT_EQ(mem.Get(4397 + 1), 0x20);  // group 2 untouched
    EXPECT_EQ(mem.Get(4397 + 3), 0x28);  // group 4 has a type (bit 3 alone)
    EXPECT_EQ(port.Panel().Loop(1).AutoConfigRuns(), 1);
    EXPECT_EQ(t.ui.loopPressed, loopbutton::kList);
    EXPECT_EQ(t.ui.loopListShows, 1);   // ends in the sensor list
    EXPECT_FALSE(t.ui.diagOpen);
    EXPECT_EQ(t.ui.diagWrites.at(1), "1,2:0064");
}

TEST_F(AutoConfigTest, WithOverwriteEveryPointIsRewritten) {
    Prepare();
    ASSERT_TRUE(RunAutoConfiguration(s, c, {false, true})) << t.ui.AllMessages();
    EXPECT_EQ(B1(2), 0x01);
    EXPECT_EQ(B2(2), 0x02);
    EXPECT_EQ(Param2(2), 0);
    EXPECT_EQ(B1(5), 0x11);
    EXPECT_EQ(B1(3), 0x21);
}

TEST_F(AutoConfigTest, RefusedStartOrCancelledQuestionChangesNothing) {
    Prepare();
    t.ui.messageAnswers = {MsgAnswer::Cancel};
    EXPECT_FALSE(RunAutoConfiguration(s, c, {}));
    EXPECT_EQ(t.ui.messages.at(0).title, "0043 1");
    EXPECT_EQ(t.ui.messages.at(0).buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(t.ui.diagOpens, 0);

    Fault("autoconf-refused");
    t.ui.messages.clear();
    EXPECT_FALSE(RunAutoConfiguration(s, c, {false, true}));
    EXPECT_EQ(t.ui.AllMessages(), "0043 1:0065\r\n0066|");
    EXPECT_EQ(B1(2), 0x11);
    EXPECT_EQ(port.Panel().Loop(1).AutoConfigRuns(), 0);
    EXPECT_FALSE(t.ui.diagOpen);
}

TEST_F(AutoConfigTest, AFailedResetInTheClosingStepEndsTheView) {
    Prepare();
    port.Panel().Loop(1).errors = {2, 0, 0};
    Fault("reset-refused,times=1");
    LoopListInput close;
    close.closed = true;
    t.ui.loopListInputs.push_back(close);  // a list that should not come closes
    EXPECT_FALSE(RunAutoConfiguration(s, c, {false, false}));
    EXPECT_EQ(t.ui.AllMessages(), "0028:0101|");
    EXPECT_EQ(t.ui.loopListShows, 0);  // no sensor list after it
    EXPECT_FALSE(t.ui.diagOpen);

    // The min/max reset is a memory write: refused, it ends the view too.
    // The groups have their types now, so the two point tables (7 blocks
    // each) are the only writes before it.
    t.ui.messages.clear();
    t.ui.loopListInputs = {close};
    Fault("write-refused=129,after=14");
    EXPECT_FALSE(RunAutoConfiguration(s, c, {false, false}));
    EXPECT_EQ(t.ui.AllMessages(), "1378:1241|");
    EXPECT_EQ(t.ui.loopListShows, 0);
}

}  // namespace
}  // namespace cfg::test
