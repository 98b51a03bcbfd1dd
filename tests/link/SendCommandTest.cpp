// SendCommand: attempts, time-outs, abort and the busy-area side effects, on
// the fake clock.
#include <fstream>
#include <sstream>

#include "LinkTestSupport.h"
#include "link/Link.h"

namespace cfg {
namespace {

using test::PanelFrame;
using test::Piece;
using test::Script;

class SendCommandTest : public test::LinkTest {
protected:
    SendCommandTest() {
        port.responder = nullptr;  // replies come from port.replies only
        s.link.CommandText = {1, 'T', 0};
    }
    int Send(int timeout, int retries, bool expectReply = true, bool header = false) {
        useHeader = header;
        return SendCommand(s, timeout, retries, expectReply, useHeader);
    }
    void Reply(const Bytes& b, double delay = 0.05) { port.replies.push_back({{delay, b}}); }
    bool useHeader = false;
};

TEST_F(SendCommandTest, OpensThePortAndDecodesTheReply) {
    s.settings.BaudRate = "4800";
    s.settings.ParityName = "even";
    Reply(PanelFrame(1, 'T', {0, 'O', 22}, true));
    EXPECT_EQ(Send(1, 1, true, true), 255);
    EXPECT_EQ(s.link.LinkStatus, 255);
    EXPECT_EQ(s.link.ReplyData, (Bytes{1, 'T', 0, 'O', 22}));
    EXPECT_TRUE(useHeader) << "the reply came in the long form";
    EXPECT_EQ(port.openCalls, 1);
    EXPECT_EQ(port.lastSettings.portName, "/dev/pts/7");
    EXPECT_EQ(port.lastSettings.baud, 4800);
    EXPECT_EQ(port.lastSettings.parity, 'E');
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0][0], 0x01);
    EXPECT_EQ(ui.txrx, "");
}

TEST_F(SendCommandTest, NoReplyExpectedFinishesAfterTheWrite) {
    Reply(PanelFrame(1, 'T', {0, 'O'}, false));
    EXPECT_EQ(Send(2, 3, false, true), 255);
    EXPECT_EQ(port.reads, 0);
    EXPECT_FALSE(useHeader);
    EXPECT_LT(Elapsed(), 0.1);
}

TEST_F(SendCommandTest, TimeOutsUseEveryAttemptWithPausesBetween) {
    // Every time-out is followed by half a second of quiet line (a late
    // answer would be thrown away in it), the last one too, so that the next
    // command cannot meet it; the pause between attempts lies within.
    EXPECT_EQ(Send(1, 1), 129);
    EXPECT_EQ(port.writes.size(), 1u);
    EXPECT_GT(Elapsed(), 1.0 + 0.5);
    EXPECT_LT(Elapsed(), 1.0 + 0.5 + 0.15);

    const double before = Elapsed();
    EXPECT_EQ(Send(2, 3), 129);
    EXPECT_EQ(port.writes.size(), 4u);
    EXPECT_GT(Elapsed() - before, 3 * 2.0 + 3 * 0.5);
    EXPECT_LT(Elapsed() - before, 3 * 2.0 + 3 * 0.5 + 0.2);
}

TEST_F(SendCommandTest, AnAnswerAfterTheTimeOutIsNeverTakenForTheNextCommand) {
    // The answer to the first command comes 0.3 s after its time-out, the
    // answer to the second at once: the second command gets its own.
    Reply(PanelFrame(1, 'T', {0, 'A'}, false), 1.3);
    EXPECT_EQ(Send(1, 1), 129);
    Reply(PanelFrame(1, 'T', {0, 'B'}, false), 0.05);
    EXPECT_EQ(Send(1, 1), 255);
    ASSERT_GE(s.link.ReplyData.size(), 4u);
    EXPECT_EQ(s.link.ReplyData[3], 'B');
}

TEST_F(SendCommandTest, BadFramesAreRetriedAndTheLastStatusReturned) {
    Bytes low = PanelFrame(1, 'T', {0, 'O'}, false);
    low[4] = 0x1F;
    const long sum = 0x21 + 'T' + 0x20 + 0x1F;
    low[5] = static_cast<uint8_t>(sum / 224 + 32);
    low[6] = static_cast<uint8_t>(sum % 224 + 32);
    Reply(low);
    Reply(PanelFrame(1, 'T', {0, 'O'}, false));
    EXPECT_EQ(Send(2, 3), 255) << "132 is retried";
    EXPECT_EQ(port.writes.size(), 2u);

    const std::pair<Bytes, int> cases[] = {
        {{'x', 'x', 'x', 'x', 'x', 'x', 0x0D}, 131},
        {PanelFrame(2, 'T', {0, 'O'}, false), 134},
        {{0x02, 0x21, 0x54, 0x20, 0x6F, 0x20, 0x20, 0x0D}, 133},
    };
    for (const auto& [bytes, expected] : cases) {
        Reply(bytes);
        Reply(bytes);
        EXPECT_EQ(Send(2, 2), expected);
        EXPECT_TRUE(s.link.ReplyData.empty());
    }
}

TEST_F(SendCommandTest, TimeOutBoundsTheGapBetweenBytes) {
    const Bytes f = PanelFrame(1, 'T', {0, 'O'}, false);
    // Pieces 1.5 s apart: slow, but never 2 s of silence.
    Script slow;
    for (uint8_t b : f) slow.push_back(Piece{1.5, {b}});
    port.replies.push_back(slow);
    EXPECT_EQ(Send(2, 1), 255);
    // Half a frame, then silence.
    port.replies.push_back({{0.1, Bytes(f.begin(), f.begin() + 4)}});
    EXPECT_EQ(Send(2, 1), 129);
}

TEST_F(SendCommandTest, BytesAfterTheCrAndEndlessNoiseDoNotHang) {
    Bytes f = PanelFrame(1, 'T', {0, 'O'}, false);
    f.insert(f.end(), {0x02, 0x41});
    Reply(f);
    EXPECT_EQ(Send(1, 1), 255);
    Reply(Bytes(5000, 'A'));
    EXPECT_EQ(Send(1, 1), 131);
}

TEST_F(SendCommandTest, AbortDuringTheWaitEndsAtOnce) {
    int calls = 0;
    ui.onProcessEvents = [&] {
        if (++calls == 10) s.events.AbortRequested = true;
    };
    EXPECT_EQ(Send(2, 3), 0);
    EXPECT_FALSE(s.events.AbortRequested);
    EXPECT_EQ(port.writes.size(), 1u) << "attempts left are not used";

    s.events.AbortRequested = true;  // before anything is sent
    ui.onProcessEvents = nullptr;
    EXPECT_EQ(Send(2, 3), 0);
    EXPECT_EQ(port.writes.size(), 1u);
    EXPECT_FALSE(s.events.AbortRequested);
}

TEST_F(SendCommandTest, HoldsTheStatusTimerAndShowsTxRx) {
    ui.statusVisible = true;
    ui.statusTimerMs = 1500;
    s.link.StatusTimerInterval = 1500;
    std::vector<std::pair<std::string, int>> seen;
    ui.onProcessEvents = [&] { seen.emplace_back(ui.txrx, ui.statusTimerMs); };
    const Bytes f = PanelFrame(1, 'T', {0, 'O'}, false);
    port.replies.push_back({{0.2, Bytes(f.begin(), f.begin() + 3)}, {0.1, Bytes(f.begin() + 3, f.end())}});
    EXPECT_EQ(Send(1, 1), 255);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), std::make_pair(std::string(" Tx "), 0));
    EXPECT_EQ(seen.back().first, " Rx ");
    EXPECT_EQ(ui.txrx, "");
    EXPECT_EQ(ui.statusTimerMs, 1500) << "started again at the end";
    EXPECT_TRUE(ui.abortTimer);
}

TEST_F(SendCommandTest, MidnightDoesNotStretchTheWait) {
    t.clock.SetTime(86400.0 - 0.5);
    EXPECT_EQ(Send(1, 1), 129);
    // The count starts again at midnight: about one second after it, and
    // the half second of quiet line that follows a time-out.
    EXPECT_LT(t.clock.SecondsSinceMidnight(), 1.0 + 0.5 + 0.1);
}

TEST_F(SendCommandTest, PortFailures) {
    // A port that fails under every frame: each attempt is used, none
    // waits for a reply that cannot come, and the end is "no reply".
    port.writeError = 57;
    EXPECT_EQ(Send(1, 3), 129);
    EXPECT_EQ(port.writes.size(), 3u);
    EXPECT_EQ(ui.beeps, 3);
    EXPECT_EQ(s.link.LastErrorNumber, 57);
    EXPECT_LT(Elapsed(), 0.5);

    port.Close();
    port.openError = 8005;
    EXPECT_EQ(Send(1, 3), 0);
    EXPECT_TRUE(ui.Showed("1392"));

    s.transport = nullptr;
    EXPECT_EQ(Send(1, 3), 0);
    EXPECT_EQ(s.link.LastErrorNumber, 8002);

    s.link.CommandText = {1, 'X', 224};
    EXPECT_EQ(Send(1, 3), 0);
    EXPECT_EQ(s.link.LastErrorNumber, 5);
}

TEST_F(SendCommandTest, TraceRecordsBothDirections) {
    s.link.TraceFile = t.folder.File("trace.txt");
    Reply({0x41, 0x0D}, 0.05);
    Send(1, 1);
    std::ifstream in(s.link.TraceFile);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("12:00:00.000 TX 02 21 54 20 20 C5 0D\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find(" RX 41 0D\n"), std::string::npos) << text.str();

    // A trace is recognised as one, so that the next run may add to it;
    // other files are not.
    std::istringstream lines(text.str());
    for (std::string line; std::getline(lines, line);) EXPECT_TRUE(IsTraceLine(line)) << line;
    EXPECT_TRUE(CanAppendTrace(s.link.TraceFile));
    EXPECT_TRUE(CanAppendTrace(t.folder.File("new.txt")));
    for (const char* other : {"12:00:00.000 TX", "12:00:00.000 TX 2", "12:00:00 TX 02", "12:00:00.000 XX 02",
                              "hello", "12:00:00.000 TX 02 g1"})
        EXPECT_FALSE(IsTraceLine(other)) << other;
    EXPECT_FALSE(CanAppendTrace(t.folder.Path()));
}

TEST_F(SendCommandTest, ReportLinkErrorTextsByStatus) {
    ui.statusVisible = true;
    const std::pair<int, std::string> cases[] = {
        {0, "1379"}, {16, "1380"}, {129, "1381\r1382"}, {130, "1383"}, {131, "1384"},
        // A code comes with its meaning where one is known.
        {132, "1385\r1528\r1386 84H"}, {133, "1385\r1529\r1386 85H"}, {134, "1385\r1530\r1386 86H"},
        {170, "1385\r1531\r1386 AAH"}, {240, "1385\r1532\r1386 F0H"}, {135, "1385\r1386 87H"},
    };
    for (const auto& [code, text] : cases) {
        s.link.LinkStatus = code;
        ReportLinkError(s);
        EXPECT_EQ(ui.messages.back().text, text);
        EXPECT_EQ(ui.messages.back().title, "1388");
    }
    EXPECT_FALSE(ui.statusVisible);
}

}  // namespace
}  // namespace cfg
