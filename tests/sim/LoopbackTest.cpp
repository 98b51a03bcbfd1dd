// The in-process transport: bytes written reach the panel, replies come back
// on the test's clock, pacing and waits follow that clock.
#include <gtest/gtest.h>

#include "sim/Wire.h"
#include "sim/loopback/LoopbackTransport.h"
#include "FakeClock.h"

namespace cfg {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kPlant = 11;  // the factory configuration's plant code

Bytes Identify() { return vimo::sim::BuildToolFrame(1, 'T', Bytes{0}, kPlant, true); }

TEST(LoopbackTest, ReplyIsReadableAtOnceWithoutPacing) {
    test::FakeClock clock;
    LoopbackTransport t(clock);
    ASSERT_EQ(t.Open(PortSettings{}), 0);
    EXPECT_EQ(t.Open(PortSettings{}), 8005);
    ASSERT_EQ(t.Write(Identify()), 0);
    EXPECT_TRUE(t.WaitForInput(10));
    EXPECT_EQ(clock.SleepCalls(), 0);  // nothing to wait for
    const Bytes reply = t.Read(0);
    const auto r = vimo::sim::ParsePanelReply(reply);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->letter, 'T');
    EXPECT_EQ(r->values, (Bytes{0, 'O', 22}));
    EXPECT_EQ(t.BytesAvailable(), 0u);
}

TEST(LoopbackTest, WaitSleepsTheClockWhenNothingComes) {
    test::FakeClock clock;
    LoopbackTransport t(clock);
    ASSERT_EQ(t.Open(PortSettings{}), 0);
    const double before = clock.SecondsSinceMidnight();
    EXPECT_FALSE(t.WaitForInput(10));
    EXPECT_NEAR(clock.SecondsSinceMidnight() - before, 0.010, 1e-9);
    // A frame for another address is not answered.
    t.Write(vimo::sim::BuildToolFrame(9, 'T', Bytes{0}, kPlant, true));
    EXPECT_FALSE(t.WaitForInput(50));
}

TEST(LoopbackTest, PacedReplyArrivesAtTheBaudRate) {
    test::FakeClock clock;
    LoopbackTransport t(clock);
    t.SetPacing(true);
    PortSettings s;
    s.baud = 1200;  // 120 bytes per second: about 8.3 ms per byte
    ASSERT_EQ(t.Open(s), 0);
    const Bytes frame = Identify();
    ASSERT_EQ(t.Write(frame), 0);
    EXPECT_EQ(t.BytesAvailable(), 0u);
    // Wait in 1 ms steps and note when the reply is complete.
    Bytes reply;
    int waited = 0;
    while (reply.empty() || reply.back() != 0x0D) {
        ASSERT_LT(waited, 1000);
        if (!t.WaitForInput(1)) {
            ++waited;
            continue;
        }
        const Bytes got = t.Read(0);
        reply.insert(reply.end(), got.begin(), got.end());
    }
    const auto r = vimo::sim::ParsePanelReply(reply);
    ASSERT_TRUE(r);
    // The command (frame.size() bytes) and the reply both cross the line.
    const double bytes = static_cast<double>(frame.size() + reply.size());
    const double elapsedMs = (clock.SecondsSinceMidnight() - 12 * 3600.0) * 1000.0;
    EXPECT_NEAR(elapsedMs, bytes * 10000.0 / 1200.0, 3.0);
}

TEST(LoopbackTest, FlushDropsWhatHasArrivedAndClosedPortRefuses) {
    test::FakeClock clock;
    LoopbackTransport t(clock);
    EXPECT_NE(t.Write(Identify()), 0);
    t.FailNextOpen(68);
    EXPECT_EQ(t.Open(PortSettings{}), 68);
    ASSERT_EQ(t.Open(PortSettings{}), 0);
    t.Write(Identify());
    EXPECT_GT(t.BytesAvailable(), 0u);
    t.FlushInput();
    EXPECT_EQ(t.BytesAvailable(), 0u);
    t.Write(Identify());
    t.Close();
    EXPECT_FALSE(t.IsOpen());
    ASSERT_EQ(t.Open(PortSettings{}), 0);
    EXPECT_EQ(t.BytesAvailable(), 0u);  // a reply in flight is lost with the port
}

TEST(LoopbackTest, TimeKeepsRunningAcrossMidnight) {
    test::FakeClock clock;
    clock.SetTime(86400.0 - 0.005);
    LoopbackTransport t(clock);
    const int64_t before = t.NowMs();
    clock.Advance(0.010);
    EXPECT_EQ(t.NowMs() - before, 10);
}

}  // namespace
}  // namespace cfg
