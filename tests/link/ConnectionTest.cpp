// Connecting: address, identification, programming mode, access code, and
// the busy area.
#include "LinkTestSupport.h"
#include "link/Connection.h"
#include "link/PanelCommands.h"

namespace cfg {
namespace {

class ConnectionTest : public test::LinkTest {
protected:
    void Connect(int address = 1) {
        ui.AnswerNumber(address);
        (void)ConnectPanel(s);
    }
};

TEST_F(ConnectionTest, ConnectsAndTakesTheIdentification) {
    panel.address = 5;
    Connect(0);
    EXPECT_EQ(s.link.LinkStatus, 255);
    EXPECT_TRUE(s.link.PortOpened);
    EXPECT_EQ(s.link.PanelAddress, 5) << "address 0 takes whichever panel answers";
    EXPECT_EQ(s.link.PanelModel, 22);
    EXPECT_EQ(s.link.PanelName, "VIMO-SYS  ");
    EXPECT_EQ(s.link.PanelVersionText, "2.10 ");
    EXPECT_EQ(s.link.PanelDateText, "12/05/04");
    EXPECT_DOUBLE_EQ(s.link.PanelVersion, 2.1);
    EXPECT_EQ(s.config.PanelIdent, "VIMO-SYS  ");
    EXPECT_EQ(panel.received[0].address, 0);
    EXPECT_EQ(panel.received[1].address, 5);
    EXPECT_EQ(ui.valueRequests[0].maximum, 223);

    const auto sent = panel.received.size();
    EXPECT_EQ(ConnectPanel(s).status, 255);
    EXPECT_EQ(panel.received.size(), sent) << "already connected";
}

TEST_F(ConnectionTest, NoSettlePauseInsideAConnectionOrTheMemoryMapRead) {
    // Reopening a port that is open waits 0.2 s for it to settle; the reads
    // inside one operation never find it open.
    double before = Elapsed();
    Connect();
    ASSERT_EQ(s.link.LinkStatus, 255);
    EXPECT_LT(Elapsed() - before, 0.2);
    before = Elapsed();
    ASSERT_EQ(ReadMemoryMap(s).status, 255);
    EXPECT_LT(Elapsed() - before, 0.2);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(ConnectionTest, IdentificationChecks) {
    const std::pair<const char*, bool> cases[] = {
        {"vimo-sys  3.99 01/01/05", true}, {"VELTRANO  1.0  01/01/05", true},
        {"VIMO-SYS  4.00 01/01/05", false}, {"VIMO-SYS  0.99 01/01/05", false},
        {"OTHERPNL  2.00 01/01/05", false},
    };
    for (const auto& [ident, accepted] : cases) {
        s.link.PortOpened = false;
        panel.SetIdentification(ident);
        Connect();
        EXPECT_EQ(s.link.LinkStatus == 255, accepted) << ident;
        EXPECT_EQ(s.link.PortOpened, accepted) << ident;
    }
    EXPECT_EQ(ui.messages[0].text, "1366\r1367");
    EXPECT_EQ(ui.messages[2].text, "1364\r1365");
}

TEST_F(ConnectionTest, SecondIdentifyAttemptAndRefusals) {
    panel.answers['T'] = {-1};
    Connect();
    EXPECT_TRUE(s.link.PortOpened);
    EXPECT_EQ(panel.Count('T'), 2);
    EXPECT_NE(std::find(ui.statusHistory.begin(), ui.statusHistory.end(), "1360"), ui.statusHistory.end());

    s.link.PortOpened = false;
    panel.model = 21;
    Connect();
    EXPECT_EQ(s.link.LinkStatus, 16);
    EXPECT_FALSE(s.link.PortOpened);
    EXPECT_EQ(ui.messages.back().text, "1380");
    EXPECT_EQ(panel.Count('L'), 1) << "no memory read from another model";

    const auto sent = panel.received.size();
    ui.Cancel();
    (void)ConnectPanel(s);
    EXPECT_FALSE(s.link.PortOpened);
    EXPECT_EQ(panel.received.size(), sent) << "a cancelled address sends nothing";
}

TEST_F(ConnectionTest, ProgrammingModeAnswers) {
    EXPECT_EQ(EnterProgrammingMode(s).status, 255);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(panel.received.back().params, (Bytes{0, 20}));
    EXPECT_TRUE(panel.received.back().longForm);

    const std::pair<std::deque<int>, std::string> cases[] = {
        {{'C'}, "1333\r1334"}, {{'D'}, "1335\r1336"}, {{'P', 'P'}, "1338\r1339"}, {{'Z'}, "1340"},
        {{-1, -1, -1}, "1381\r1382"},
    };
    for (const auto& [answers, text] : cases) {
        panel.answers['C'] = answers;
        ui.AnswerNumber(505);
        EXPECT_NE(EnterProgrammingMode(s).status, 255);
        EXPECT_EQ(ui.messages.back().text, text);
        ui.valueAnswers.clear();
    }
    EXPECT_EQ(ui.valueRequests.size(), 1u) << "the code is asked once per request";
    EXPECT_EQ(ui.valueRequests[0].prompt, "1341\r\n\r\n");

    panel.answers['C'] = {'P'};
    ui.AnswerNumber(505);
    EXPECT_EQ(EnterProgrammingMode(s).status, 255);
    EXPECT_EQ(panel.received.back().header, (Bytes{3, 5 + 160, 5}));
}

TEST_F(ConnectionTest, LeavingProgrammingMode) {
    LeaveProgrammingMode(s, true);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(panel.received.back().params, (Bytes{0, 21}));
    panel.answers['C'] = {'D', 'X'};
    LeaveProgrammingMode(s, true);
    EXPECT_EQ(ui.messages.back().text, "1344\r1345");
    LeaveProgrammingMode(s, true);
    EXPECT_EQ(ui.messages.back().text, "1346");
    panel.answers['C'] = {-1};
    const auto shown = ui.messages.size();
    LeaveProgrammingMode(s, false);
    EXPECT_EQ(ui.messages.size(), shown);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(ConnectionTest, BusyArea) {
    s.events.AbortRequested = true;
    ShowBusy(s, "1368");
    EXPECT_EQ(ui.settingsLabelShown, 1);
    EXPECT_TRUE(ui.statusVisible);
    EXPECT_EQ(ui.statusText, "1368");
    EXPECT_EQ(ui.statusTimerMs, 1500);
    EXPECT_FALSE(s.events.AbortRequested);

    ui.abortTimer = true;
    s.events.AbortRequested = true;
    EndBusy(s, 1);  // nothing clears the line here: the wait must still end
    EXPECT_EQ(ui.statusTimerMs, 300);
    EXPECT_FALSE(ui.abortTimer);
    EXPECT_FALSE(s.events.AbortRequested);

    ui.statusVisible = false;
    ui.statusTimerMs = 0;
    EndBusy(s, 0);
    EXPECT_EQ(ui.statusTimerMs, 0) << "nothing to end without a status line";
}

}  // namespace
}  // namespace cfg
