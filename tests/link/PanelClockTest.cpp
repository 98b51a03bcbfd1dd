// The clock commands of the main window.
#include "LinkTestSupport.h"
#include "link/PanelClock.h"
#include "shell/Clock.h"

namespace cfg {
namespace {

class PanelClockTest : public test::LinkTest {
protected:
    PanelClockTest() {
        s.config.ConfigSource = ConfigSource::Panel;
        s.link.PortOpened = true;  // the panel configuration is open
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
    s.config.ConfigSource = ConfigSource::File;
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
        if (ui.screenOpen) s.events.ScreenDismissed = true;
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
    ui.onProcessEvents = [&] { s.events.ScreenDismissed = true; };
    EXPECT_TRUE(SetPanelClock(s).Done());
    auto it = std::find_if(panel.received.begin(), panel.received.end(),
                           [](const test::SentCommand& c) { return c.letter == 'H'; });
    ASSERT_NE(it, panel.received.end());
    // 5 December 2000 was a Tuesday (2), whatever the day today.
    EXPECT_EQ(it->params, (Bytes{0, 30, 20, 10, 2, 5, 12, 0}));
    EXPECT_TRUE(it->longForm);
    EXPECT_EQ(panel.Count('D'), 1) << "the new time is shown";
    EXPECT_TRUE(ui.dateTimeAnswers.empty());
}

// The weekday sent is the entered date's: a leap day, dates at both ends of
// the accepted years; a day the month lacks is asked again.
TEST_F(PanelClockTest, WeekdayComesFromTheEnteredDate) {
    struct Case {
        std::array<std::string, 6> fields;
        Bytes params;
    };
    const Case cases[] = {
        {{"29", "2", "2024", "23", "59", "58"}, {0, 58, 59, 23, 4, 29, 2, 24}},  // Thursday
        {{"14", "7", "2031", "8", "0", "0"}, {0, 0, 0, 8, 1, 14, 7, 31}},       // Monday
        {{"1", "1", "1980", "0", "0", "0"}, {0, 0, 0, 0, 2, 1, 1, 80}},         // Tuesday
        {{"31", "12", "2079", "0", "0", "0"}, {0, 0, 0, 0, 7, 31, 12, 79}},     // Sunday
    };
    ui.onProcessEvents = [&] { s.events.ScreenDismissed = true; };
    for (const Case& c : cases) {
        panel.received.clear();
        Answer(c.fields);
        EXPECT_TRUE(SetPanelClock(s).Done());
        auto it = std::find_if(panel.received.begin(), panel.received.end(),
                               [](const test::SentCommand& x) { return x.letter == 'H'; });
        ASSERT_NE(it, panel.received.end()) << c.fields[2];
        EXPECT_EQ(it->params, c.params) << c.fields[0] << "/" << c.fields[1] << "/" << c.fields[2];
    }

    // 29 February of a common year and 31 April have no weekday: the day
    // field is offered again, and leaving the dialog sends nothing.
    for (std::array<std::string, 6> bad : {std::array<std::string, 6>{"29", "2", "2023", "0", "0", "0"},
                                           std::array<std::string, 6>{"31", "4", "2024", "0", "0", "0"}}) {
        panel.received.clear();
        Answer(bad);
        ui.dateTimeAnswers.emplace_back(false, DateTimeFields{});
        EXPECT_EQ(SetPanelClock(s).status, status::kAborted) << "given up";
        EXPECT_EQ(panel.Count('H'), 0) << bad[0] << "/" << bad[1];
        ASSERT_FALSE(ui.dateTimeFocus.empty());
        EXPECT_EQ(ui.dateTimeFocus.back(), 0);
    }
}

TEST(CalendarTest, WeekdaysAndMonthLengths) {
    EXPECT_EQ(WeekdayOf(2024, 2, 29), 4);
    EXPECT_EQ(WeekdayOf(2024, 3, 1), 5);
    EXPECT_EQ(WeekdayOf(1970, 1, 1), 4);
    EXPECT_EQ(WeekdayOf(2000, 2, 29), 2);
    EXPECT_EQ(WeekdayOf(1900, 3, 1), 4);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_EQ(DaysInMonth(2024, 4), 30);
    EXPECT_EQ(DaysInMonth(2024, 13), 0);
}

TEST_F(PanelClockTest, SetAnswers) {
    const std::pair<std::deque<int>, std::string> cases[] = {{{'P', 'P'}, "0350\r0351"}, {{'E'}, "0352"}};
    for (const auto& [answers, text] : cases) {
        panel.answers['H'] = answers;
        Answer({"1", "1", "2024", "0", "0", "0"});
        ui.AnswerNumber(77);
        EXPECT_EQ(SetPanelClock(s).status, status::kRefused);
        EXPECT_EQ(ui.messages.back().text, text);
        ui.valueAnswers.clear();
    }
    EXPECT_EQ(panel.Count('D'), 0);
    EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace cfg
