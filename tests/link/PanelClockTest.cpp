// The clock commands of the main window.
#include "LinkTestSupport.h"
#include "link/PanelClock.h"

namespace cfg {
namespace {

class PanelClockTest : public test::LinkTest {
protected:
    PanelClockTest() {
        s.ConfigSource = ConfigSource::Panel;
        s.PortOpened = 255;  // the panel configuration is open
        t.clock.SetDate(2026, 12, 5, 6);
    }
    void Answer(std::array<std::string, 6> f) {
        DateTimeFields d;
        d.field = f;
        ui.dateTimeAnswers.emplace_back(true, d);
    }
};

TEST(ParseDigitsTest, TrimmedDigitsInRange) {
    int v = 0;
    EXPECT_TRUE(ParseDigits(" 7 ", 1, 31, v));
    EXPECT_EQ(v, 7);
    for (const char* bad : {"7a", "", "   ", "-1", "32", "+5", "99999999999999"})
        EXPECT_FALSE(ParseDigits(bad, 1, 31, v)) << bad;
}

TEST_F(PanelClockTest, NeedsThePanel) {
    s.ConfigSource = ConfigSource::File;
    EXPECT_EQ(ClockCommand(s, 4), 0);
    EXPECT_EQ(ClockCommand(s, 5), 0);
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "1281\r1282");
    EXPECT_EQ(port.openCalls, 0);
    EXPECT_EQ(ClockCommand(s, 2), 2) << "left to the clock programmer";
    EXPECT_TRUE(ui.workFormEnabled);
}

TEST_F(PanelClockTest, ShowWritesDateAndTime) {
    ui.screenOpen = false;
    ui.onProcessEvents = [&] {
        if (ui.screenOpen) s.events.ScreenDismissed = kFlag65535;
    };
    EXPECT_EQ(ClockCommand(s, 4), 0);
    EXPECT_EQ(ui.screenWrites.front(), "[open] 0337");
    EXPECT_EQ(ui.screenWrites.at(4), "5,2:035   24/12/05");
    EXPECT_EQ(ui.screenWrites.at(5), "6,2: 9:15:30");
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(PanelClockTest, SetChecksFieldsThenSendsH) {
    Answer({"5", "12", "1979", "10", "20", "30"});  // year out of range: asked again
    Answer({"5", "12", "2000", "10", "20", "30"});
    ui.onProcessEvents = [&] { s.events.ScreenDismissed = kFlag65535; };
    SetPanelClock(s);
    auto it = std::find_if(panel.received.begin(), panel.received.end(),
                           [](const test::SentCommand& c) { return c.letter == 'H'; });
    ASSERT_NE(it, panel.received.end());
    EXPECT_EQ(it->params, (Bytes{0, 30, 20, 10, 6, 5, 12, 0}));
    EXPECT_TRUE(it->longForm);
    EXPECT_EQ(panel.Count('D'), 1) << "the new time is shown";
    EXPECT_TRUE(ui.dateTimeAnswers.empty());
}

TEST_F(PanelClockTest, SetAnswers) {
    const std::pair<std::deque<int>, std::string> cases[] = {{{'P', 'P'}, "0350\r0351"}, {{'E'}, "0352"}};
    for (const auto& [answers, text] : cases) {
        panel.answers['H'] = answers;
        Answer({"1", "1", "2024", "0", "0", "0"});
        ui.AnswerNumber(77);
        SetPanelClock(s);
        EXPECT_EQ(ui.messages.back().text, text);
        ui.valueAnswers.clear();
    }
    EXPECT_EQ(panel.Count('D'), 0);
    EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace cfg
