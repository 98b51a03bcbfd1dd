// Fault injection: each fault on its own, its modifiers, and its parsing.
#include <gtest/gtest.h>

#include "SimHarness.h"
#include "sim/Faults.h"
#include "sim/MemoryMap.h"

namespace vimo::sim::test {
namespace {

Fault Parse(const std::string& text) {
    Fault f;
    std::string error;
    EXPECT_TRUE(ParseFault(text, f, error)) << text << ": " << error;
    return f;
}

// The tool's reading of a reply: start byte within the first length - 5
// positions, then the length, checksum and byte checks in that order.
// Returns the status the tool would give it (255 = good).
int ToolStatus(const Bytes& r) {
    if (r.size() < 6) return 131;
    std::size_t s = 0;
    while (s + 5 < r.size() && r[s] != 0x01 && r[s] != 0x02) ++s;
    if (s + 5 >= r.size()) return 131;
    const bool longForm = r[s] == 0x01;
    const Bytes rest(r.begin() + static_cast<std::ptrdiff_t>(s) + 1, r.end() - 1);
    const std::size_t l = rest.size();
    if (longForm && (l < 7 || rest[0] - 32u != l)) return 132;
    long sum = 0;
    for (std::size_t i = 0; i + 2 < l; ++i) sum += rest[i];
    if (rest[l - 2] != sum / 224 + 32 || rest[l - 1] != sum % 224 + 32) return 133;
    for (std::size_t i = 0; i + 2 < l; ++i)
        if (rest[i] < 32 && !(longForm && rest[i] == 0x02)) return 132;
    return 255;
}

TEST(FaultTest, DroppedReplyOnceThenNormal) {
    Harness h;
    h.panel.AddFault(Parse("drop,times=1"));
    EXPECT_TRUE(h.Exchange('T', Bytes{0}).empty());
    EXPECT_TRUE(h.panel.Faults().empty());
    EXPECT_TRUE(h.Send('T', Bytes{0}));
    EXPECT_EQ(h.panel.Stats().dropped, 1);
}

TEST(FaultTest, NoiseBeforeTheReplyLeavesItReadable) {
    Harness h;
    h.panel.AddFault(Parse("noise=6"));
    const Bytes r = h.Exchange('T', Bytes{0});
    ASSERT_GT(r.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_NE(r[i], 0x01);
        EXPECT_NE(r[i], 0x02);
        EXPECT_NE(r[i], 0x0D);
    }
    EXPECT_EQ(r[6], 0x01);
    EXPECT_EQ(ToolStatus(r), 255);
}

TEST(FaultTest, DamagedRepliesGiveTheToolsStatusCodes) {
    Harness h;
    h.panel.AddFault(Parse("bad-checksum,times=1"));
    EXPECT_EQ(ToolStatus(h.Exchange('T', Bytes{0})), 133);
    h.panel.AddFault(Parse("bad-length,times=1"));
    EXPECT_EQ(ToolStatus(h.Exchange('T', Bytes{0}, false)), 132);  // sent long even to a short command
    h.panel.AddFault(Parse("low-byte,times=1"));
    const Bytes low = h.Exchange('T', Bytes{0});
    EXPECT_EQ(ToolStatus(low), 132);
    EXPECT_NE(std::find(low.begin(), low.end(), 0x1F), low.end());
    EXPECT_EQ(ToolStatus(h.Exchange('T', Bytes{0})), 255);
}

TEST(FaultTest, ReplyFromAnotherAddress) {
    Harness h;
    h.panel.AddFault(Parse("other-address,times=1"));
    auto r = h.Send('T', Bytes{0});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->address, 2);
    h.panel.AddFault(Parse("other-address=40,times=1"));
    r = h.Send('T', Bytes{0});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->address, 40);
}

TEST(FaultTest, SlowReplyComesLate) {
    Harness h;
    h.panel.AddFault(Parse("slow=2500"));
    EXPECT_TRUE(h.Exchange('T', Bytes{0}).empty());
    ASSERT_TRUE(h.panel.NextOutputAt());
    EXPECT_EQ(*h.panel.NextOutputAt(), 2500);
    EXPECT_TRUE(h.panel.TakeOutput(2499).empty());
    EXPECT_TRUE(ParsePanelReply(h.panel.TakeOutput(2500)));
}

TEST(FaultTest, LateReplyComesOnceAfterTheToolsTimeOut) {
    // The time-out of each command as the tool waits for it, plus 300 ms.
    Harness h;
    h.panel.AddFault(Parse("late"));
    EXPECT_TRUE(h.Exchange('L', Harness::ReadParams(57604, 4)).empty());
    ASSERT_TRUE(h.panel.NextOutputAt());
    EXPECT_EQ(*h.panel.NextOutputAt(), 2300);
    h.panel.DiscardOutput();
    EXPECT_FALSE(h.Exchange('L', Harness::ReadParams(57604, 4)).empty());  // once only

    h.panel.AddFault(Parse("late=50,times=2,cmd=T"));
    for (int64_t at : {1050, 1050}) {
        EXPECT_TRUE(h.Exchange('T', Bytes{0}).empty());
        EXPECT_EQ(*h.panel.NextOutputAt(), at);
        h.panel.DiscardOutput();
    }
    EXPECT_FALSE(h.Exchange('T', Bytes{0}).empty());
}

TEST(FaultTest, RefusalsOnDemand) {
    Harness h;
    h.panel.AddFault(Parse("access-needed,times=1,cmd=C"));
    EXPECT_EQ(h.Control(20), 'P');
    h.Enter();
    h.panel.AddFault(Parse("write-refused=130,times=1"));
    EXPECT_EQ(h.Write(4117, Bytes{1}), 130);
    h.panel.AddFault(Parse("write-refused=129"));
    EXPECT_EQ(h.Write(4117, Bytes{1}), 129);
    EXPECT_EQ(h.Write(4117, Bytes{1}), 129);
    EXPECT_EQ(h.panel.RemoveFaults(FaultKind::kWriteRefused), 1);
    EXPECT_EQ(h.Write(4117, Bytes{1}), 143);
    h.panel.AddFault(Parse("access-needed,cmd=LX"));
    EXPECT_EQ(h.Answer('L', Harness::ReadParams(4096, 1)), 80);
    EXPECT_EQ(h.LoopAnswer(1, 137), 80);
    h.panel.ClearFaults();
    h.panel.AddFault(Parse("control=21:D"));
    h.panel.AddFault(Parse("control=15:E"));
    EXPECT_EQ(h.Control(15), 'E');
    EXPECT_EQ(h.Control(14), 'O');
    EXPECT_EQ(h.Control(21), 'D');
    EXPECT_TRUE(h.panel.InProgrammingMode());
}

TEST(FaultTest, ModifiersChooseWhichRepliesAreHit) {
    Harness h;
    h.panel.AddFault(Parse("drop,after=2,times=1"));
    EXPECT_TRUE(h.Send('T', Bytes{0}));
    EXPECT_TRUE(h.Send('T', Bytes{0}));
    EXPECT_FALSE(h.Send('T', Bytes{0}));
    EXPECT_TRUE(h.Send('T', Bytes{0}));
    h.panel.AddFault(Parse("drop,cmd=L"));
    EXPECT_TRUE(h.Send('T', Bytes{0}));
    EXPECT_FALSE(h.Send('L', Harness::ReadParams(57604, 1)));
    h.panel.ClearFaults();
    h.panel.AddFault(Parse("drop,pct=0"));
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(h.Send('T', Bytes{0}));
    h.panel.ClearFaults();
    // Half the replies, decided by the seeded generator: some of each.
    h.panel.AddFault(Parse("drop,pct=50"));
    int answered = 0;
    for (int i = 0; i < 40; ++i) answered += h.Send('T', Bytes{0}) ? 1 : 0;
    EXPECT_GT(answered, 5);
    EXPECT_LT(answered, 35);
}

TEST(FaultTest, LoopConditions) {
    Harness h;
    h.Enter();
    h.panel.AddFault(Parse("loop-open=1"));
    h.Wait(1000);
    EXPECT_EQ(h.panel.Mem().Get(kLoopStatus), 2);
    EXPECT_EQ(h.panel.Mem().Get(kLoopStatus + 1), 1);
    EXPECT_EQ(h.Read(kLoopStatus, 2), (Bytes{2, 1}));
    EXPECT_EQ(h.LoopValues(1, 137), (Bytes{0, 0, 1, 0}));
    EXPECT_EQ(h.LoopValues(1, 133), (Bytes{0}));  // no auto-configuration on a broken loop
    h.panel.RemoveFaults(FaultKind::kLoopOpen);
    h.Wait(1000);
    EXPECT_EQ(h.panel.Mem().Get(kLoopStatus), 1);

    h.panel.AddFault(Parse("overcurrent=2"));
    int sum = 0;
    for (int i = 0; i < 3; ++i) {
        const Bytes v = h.LoopValues(2, 135);
        ASSERT_FALSE(v.empty());
        sum += v[0] >= 4 ? v[0] - 4 : 0;
    }
    EXPECT_GT(static_cast<int>(sum * 2 / 1.4), 250);

    h.panel.AddFault(Parse("autoconf-refused,times=1"));
    EXPECT_EQ(h.LoopValues(1, 133), (Bytes{0}));
    h.panel.AddFault(Parse("reset-refused,times=1"));
    EXPECT_EQ(h.LoopValues(1, 136), (Bytes{0}));
    EXPECT_EQ(h.LoopValues(1, 136), (Bytes{1}));
}

TEST(FaultTest, ParsingRejectsWhatItCannotDo) {
    Fault f;
    std::string error;
    EXPECT_FALSE(ParseFault("explode", f, error));
    EXPECT_NE(error.find("explode"), std::string::npos);
    EXPECT_FALSE(ParseFault("slow", f, error));
    EXPECT_FALSE(ParseFault("write-refused=128", f, error));
    EXPECT_FALSE(ParseFault("control=20", f, error));
    EXPECT_FALSE(ParseFault("loop-open=3", f, error));
    EXPECT_FALSE(ParseFault("drop=1", f, error));
    EXPECT_FALSE(ParseFault("drop,times=0", f, error));
    EXPECT_FALSE(ParseFault("drop,pct=101", f, error));
    EXPECT_FALSE(ParseFault("drop,when=now", f, error));
    ASSERT_TRUE(ParseFault("control=20:c,times=2,cmd=C", f, error));
    EXPECT_EQ(f.kind, FaultKind::kControlAnswer);
    EXPECT_EQ(f.arg, 20);
    EXPECT_EQ(f.answer, 'C');
    EXPECT_EQ(f.times, 2);
    EXPECT_EQ(f.letters, "C");
    ASSERT_TRUE(ParseFault("noise", f, error));
    EXPECT_EQ(f.arg, 4);
}

}  // namespace
}  // namespace vimo::sim::test
