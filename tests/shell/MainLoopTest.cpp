// The six-state main loop: which command codes run in which state.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSession.h"
#include "shell/MainLoop.h"

namespace cfg::test {
namespace {

class MainLoopTest : public ::testing::Test {
protected:
    TestSession t;
    Session& s = t.s;
    std::vector<std::string> calls;

    void SetUp() override {
        auto& c = s.commands;
        c.open = [this](Session& ss, int option) {
            calls.push_back("open" + std::to_string(option));
            if (openSucceeds) ss.config.ConfigSource = static_cast<ConfigSource>(option);
        };
        c.transfer = [this](Session&, int option) { calls.push_back("transfer" + std::to_string(option)); };
        c.create = [this](Session&, int option) { calls.push_back("create" + std::to_string(option)); };
        c.refreshFromFile = [this](Session&) {
            calls.push_back("refreshFile");
            return OpResult{status::kDone};
        };
        c.refreshFromPanel = [this](Session&) {
            calls.push_back("refreshPanel");
            return OpResult{panelRefreshStatus};
        };
        c.closePanel = [this](Session&) { calls.push_back("closePanel"); };
        c.checkFilePart = [this](Session&, int part) {
            calls.push_back("check" + std::to_string(part));
            return missingPart == part ? 254 : 255;
        };
        // Sections as the program registers them, with a recording routine.
        auto record = [this](int code) {
            return [this, code](Session&, PrintMode print, int option) {
                calls.push_back("section" + std::to_string(code) + "/" + std::to_string(static_cast<int>(print)) + "/" +
                                std::to_string(option));
            };
        };
        for (int code : {2, 3, 4, 9, 10})
            s.sections.Add({.code = static_cast<int16_t>(code), .part = FilePart::Main, .run = record(code)});
        s.sections.Add({.code = 1,
                        .part = FilePart::Main,
                        .option = SectionOption::Command,
                        .locksToolbar = true,
                        .run = record(1)});
        s.sections.Add({.code = 5,
                        .part = FilePart::Main,
                        .guard = [](Session& ss, int16_t&) { return ConfirmSuperiorOptions(ss); },
                        .run = record(5)});
        s.sections.Add({.code = 6,
                        .part = FilePart::Clock,
                        .option = SectionOption::ClockProgram,
                        .guard = [this](Session&, int16_t& option) { return clockGuard(option); },
                        .run = record(6)});
        s.sections.Add({.code = 7, .part = FilePart::Logic, .run = record(7)});
        s.sections.Add({.code = 8, .part = FilePart::Texts, .run = record(8)});
        s.sections.Add({.code = 11, .option = SectionOption::Command, .run = record(11)});
        s.sections.Add({.code = 255,
                        .panelOnly = true,
                        .guard = [this](Session&, int16_t&) { return serialFilePresent; },
                        .run = record(255)});
    }

    std::function<bool(int16_t&)> clockGuard = [](int16_t&) { return true; };

    // Runs turns until the loop rests in state 2 or 4 with nothing to do.
    void Settle() {
        for (int i = 0; i < 20; ++i) {
            MainLoopTurn(s);
            if ((s.main.MainState == 2 || s.main.MainState == 4) && s.main.SectionCommand == 0) return;
        }
    }

    // What the front end does for a button or popup entry.
    void Press(int code, int option = 0, int button = 0) {
        s.main.PostCommand({.toolbarButton = static_cast<int16_t>(button),
                            .section = static_cast<int16_t>(code),
                            .option = static_cast<int16_t>(option)});
        Settle();
    }

    void OpenFile() {
        Settle();
        Press(51, 1, 3);
        ASSERT_EQ(s.main.MainState, 4);
        calls.clear();
    }

    bool openSucceeds = true;
    int panelRefreshStatus = 255;
    int missingPart = 0;
    bool serialFilePresent = true;
};

TEST_F(MainLoopTest, StartsAtHomeScreenWithFileButtonsOnly) {
    Settle();
    EXPECT_EQ(s.main.MainState, 2);
    for (int i = 1; i <= 17; ++i) EXPECT_EQ(t.ui.toolbar[i], i <= 3) << "button " << i;
    EXPECT_EQ(t.ui.workTitle, "CFG-Veltrano");
    EXPECT_EQ(t.ui.mainCaption, "CFG-Veltrano03971.3");
    EXPECT_TRUE(t.ui.settingsMenusEnabled);
    EXPECT_FALSE(t.ui.configViewVisible);
}

TEST_F(MainLoopTest, OpeningAFileSetShowsTheSectionButtons) {
    OpenFile();
    EXPECT_EQ(s.config.ConfigSource, ConfigSource::File);
    EXPECT_TRUE(t.ui.configViewVisible);
    EXPECT_FALSE(t.ui.settingsMenusEnabled);
    for (int i = 1; i <= 17; ++i) EXPECT_EQ(t.ui.toolbar[i], i > 3) << "button " << i;
}

TEST_F(MainLoopTest, FailedOpenReturnsToHome) {
    openSucceeds = false;
    Settle();
    Press(51, 1);
    EXPECT_EQ(s.main.MainState, 2);
    EXPECT_EQ(calls, (std::vector<std::string>{"open1"}));
}

TEST_F(MainLoopTest, FileCommandsRunOnlyWithoutAConfiguration) {
    Settle();
    Press(53, 2);
    Press(52, 1);
    Press(3);  // a section code with nothing open: back to the home screen, nothing runs
    EXPECT_EQ(calls, (std::vector<std::string>{"create2", "transfer1"}));
    EXPECT_EQ(s.main.MainState, 2);

    OpenFile();
    Press(51, 1);
    Press(52, 2);
    Press(53, 1);
    EXPECT_TRUE(calls.empty());  // only the section buttons come back
    EXPECT_EQ(s.main.MainState, 4);
    EXPECT_EQ(t.ui.toolbar[4], true);
}

TEST_F(MainLoopTest, SectionRunsWithItsArgumentsThenTheViewIsRefreshed) {
    OpenFile();
    Press(3, 0, 7);
    EXPECT_EQ(calls, (std::vector<std::string>{"check1", "section3/0/0", "refreshFile"}));
    Press(1, 2, 5);
    EXPECT_EQ(calls.at(4), "section1/0/2");
    Press(11, 2, 17);
    EXPECT_EQ(calls.back(), "refreshFile");
    EXPECT_EQ(calls.at(calls.size() - 2), "section11/0/2");
}

TEST_F(MainLoopTest, APostedCommandChangesOnlyTheRegistersItNames) {
    OpenFile();
    auto ran = [&](const std::string& call) { return std::find(calls.begin(), calls.end(), call) != calls.end(); };
    // A toolbar button that opens a popup names only itself: nothing runs.
    s.main.PostCommand({.toolbarButton = 9});
    Settle();
    EXPECT_TRUE(calls.empty());
    // The popup entry names the section and its option; the button stays.
    s.main.PostCommand({.section = 1, .option = 2});
    Settle();
    EXPECT_TRUE(ran("section1/0/2"));
    EXPECT_EQ(s.main.ToolbarButtonIndex, 9);
    // An entry without an option of its own leaves the last one in place.
    calls.clear();
    s.main.PostCommand({.section = 11});
    Settle();
    EXPECT_TRUE(ran("section11/0/2"));
    // A loop view's button changes the view and nothing else.
    s.main.PostCommand({.toolbarButton = 2, .diagnostic = 4});
    EXPECT_EQ(s.main.DiagnosticCommand, 4);
    EXPECT_EQ(s.main.SectionCommand, 0);
    EXPECT_EQ(s.main.CommandOption, 2);
}

TEST_F(MainLoopTest, ARunStartsFromTheResetState) {
    OpenFile();
    int turns = 0;
    RunMainLoop(s, [&] { return turns++ < 2; });
    // Reset, then the home screen: the open configuration is gone.
    EXPECT_EQ(s.main.MainState, 2);
    EXPECT_EQ(s.config.ConfigSource, ConfigSource::None);
}

TEST_F(MainLoopTest, MissingFilePartRefusesOnlyTheSectionsThatNeedIt) {
    OpenFile();
    missingPart = 3;  // .UY2
    Press(7);
    EXPECT_EQ(calls, (std::vector<std::string>{"check3"}));
    EXPECT_EQ(s.main.MainState, 4);
    calls.clear();
    Press(8);
    EXPECT_EQ(calls, (std::vector<std::string>{"check4", "section8/0/0", "refreshFile"}));
}

TEST_F(MainLoopTest, SuperiorOptionsWarningUntilAnsweredYes) {
    OpenFile();
    t.ui.messageAnswers = {MsgAnswer::No};
    Press(5);
    EXPECT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].title, "0398");
    EXPECT_EQ(t.ui.messages[0].text, "0399040004010402\r\n\r\n0403");
    EXPECT_EQ(t.ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(calls, (std::vector<std::string>{"check1"}));

    t.ui.messageAnswers = {MsgAnswer::Yes};
    Press(5);
    EXPECT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(calls.at(2), "section5/0/0");

    Press(5);  // never asked again in this run, even after a close
    Press(12);
    OpenFile();
    Press(5);
    EXPECT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(calls.at(1), "section5/0/0");
}

TEST_F(MainLoopTest, ClockProgramRunsOnlyWhenThePreparationAgrees) {
    OpenFile();
    clockGuard = [](int16_t& option) { return option != 3; };
    Press(6, 3);
    EXPECT_EQ(calls, (std::vector<std::string>{"check2"}));
    Press(6, 2);
    EXPECT_EQ(calls.at(2), "section6/0/2");
}

TEST_F(MainLoopTest, SerialNumberingOnlyOnThePanelWithTheCounterFile) {
    OpenFile();
    Press(255);  // from a file: refused without a message
    EXPECT_TRUE(calls.empty());

    Press(12);
    Press(51, 2);
    calls.clear();
    serialFilePresent = false;
    Press(255);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(s.link.LastErrorNumber, 0);
    EXPECT_TRUE(t.ui.messages.empty());

    serialFilePresent = true;
    Press(255);
    EXPECT_EQ(calls.at(0), "section255/0/0");
}

TEST_F(MainLoopTest, CloseReleasesThePanelOnlyWhenHeld) {
    Settle();
    Press(51, 2);
    s.link.PortOpened = true;
    s.config.ConfigFileName = "X";
    calls.clear();
    Press(12);
    EXPECT_EQ(calls.at(0), "closePanel");
    EXPECT_FALSE(s.link.PortOpened);
    EXPECT_EQ(s.config.ConfigSource, ConfigSource::None);
    EXPECT_EQ(s.config.ConfigFileName, "");
    EXPECT_EQ(s.main.MainState, 2);

    OpenFile();
    Press(12);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(s.main.MainState, 2);
}

TEST_F(MainLoopTest, FailedPanelRefreshResets) {
    Settle();
    panelRefreshStatus = 129;
    Press(51, 2);
    EXPECT_EQ(s.config.ConfigSource, ConfigSource::None);
    EXPECT_EQ(s.main.MainState, 2);
}

TEST_F(MainLoopTest, UnknownCodesAndStatesAreHarmless) {
    OpenFile();
    Press(77);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(s.main.MainState, 4);

    s.sections.Add({.code = 9, .part = FilePart::Main});  // a row without a routine
    Press(9);
    EXPECT_EQ(s.main.DispatchCode, 0);
    EXPECT_EQ(s.main.MainState, 4);

    s.main.MainState = 42;
    MainLoopTurn(s);
    EXPECT_EQ(s.main.MainState, 1);  // treated as 0, which resets and moves on
}

TEST_F(MainLoopTest, AnErrorInASectionIsReportedAndTheLoopGoesOn) {
    OpenFile();
    s.sections.Add({.code = 3, .run = [](Session& ss, PrintMode, int) { (void)ss.config.ConfigImage[10001]; }});
    Press(3);
    EXPECT_EQ(s.link.LastErrorNumber, 9);
    EXPECT_TRUE(t.ui.Showed("1395 9"));
    EXPECT_EQ(s.main.MainState, 4);
}

TEST_F(MainLoopTest, ASectionGivesBackItsOwnOutcome) {
    // A failure an earlier operation left behind is not the section's.
    s.link.LinkStatus = status::kNoReply;
    s.link.LastErrorNumber = 7;
    EXPECT_TRUE(RunSection(s, [](Session&, PrintMode, int) {}, PrintMode::LinesOnly, 1).Done());
    const OpResult failed = RunSection(
        s,
        [](Session& ss, PrintMode, int) {
            ss.link.LinkStatus = status::kBadChecksum;
            ss.link.LastErrorNumber = 3;
        },
        PrintMode::LinesOnly, 1);
    EXPECT_EQ(failed.status, status::kBadChecksum);
    EXPECT_EQ(failed.error, 3);
}

}  // namespace
}  // namespace cfg::test
