// A link that is gone for good (a network connection closed by the other
// end) ends the exchange at once with the error named, instead of waiting
// out every attempt.
#include "LinkTestSupport.h"
#include "link/Link.h"
#include "shell/RuntimeError.h"

namespace cfg {
namespace {

using test::PanelFrame;

class DroppingTransport : public test::ScriptedTransport {
public:
    using ScriptedTransport::ScriptedTransport;
    int failure = 0;
    int LinkFailure() override { return IsOpen() ? failure : 0; }
};

class DroppedLinkTest : public ::testing::Test {
protected:
    DroppedLinkTest() : port(t.clock) {
        t.s.transport = &port;
        t.s.settings.CommPortName = "tcp://127.0.0.1:4001";
        t.s.link.CommandText = {1, 'T', 0};
        t.s.link.QuietErrors = false;
    }
    int Send() {
        bool useHeader = false;
        return SendCommand(t.s, 3, 3, true, useHeader);
    }
    test::TestSession t;
    DroppingTransport port;
};

TEST_F(DroppedLinkTest, ClosedWhileWaitingForTheReply) {
    // The frame goes out; the other end closes instead of answering.
    port.responder = [this](const test::Bytes&) {
        port.failure = static_cast<int>(err::kConnectionLost);
        return test::Script{};
    };
    const double start = t.clock.SecondsSinceMidnight();
    EXPECT_EQ(Send(), 0);
    EXPECT_EQ(port.writes.size(), 1u) << "no further attempt over a closed connection";
    EXPECT_EQ(t.s.link.LastErrorNumber, err::kConnectionLost);
    EXPECT_TRUE(t.ui.Showed("1960:1965 tcp://127.0.0.1:40011966"));
    // Only the error handler's pause after its message, not 3 time-outs.
    EXPECT_LT(t.clock.SecondsSinceMidnight() - start, 5.0 + 1.0);
    EXPECT_EQ(t.ui.txrx, "");
    // The report that follows a failed exchange does not add "stopped by the
    // user" to it.
    ReportLinkError(t.s);
    EXPECT_EQ(t.ui.messages.size(), 1u) << t.ui.AllMessages();
}

TEST_F(DroppedLinkTest, BytesThatArrivedBeforeTheCloseStillCount) {
    // The whole reply is there when the connection ends: the exchange is done.
    port.responder = [this](const test::Bytes&) {
        port.failure = static_cast<int>(err::kConnectionLost);
        return test::Script{{0, PanelFrame(1, 'T', {0, 'O'}, false)}};
    };
    EXPECT_EQ(Send(), 255);
    EXPECT_EQ(t.s.link.LastErrorNumber, 0);
    EXPECT_TRUE(t.ui.messages.empty());
}

}  // namespace
}  // namespace cfg
