// The simulated panel's commands: frames in, frames out, memory and modes.
#include <gtest/gtest.h>

#include <string>

#include "SimHarness.h"
#include "sim/MemoryMap.h"

namespace vimo::sim::test {
namespace {

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

TEST(PanelTest, IdentifiesItselfOnlyToItsAddressAndPlant) {
    Harness h;
    auto r = h.Send('T', Bytes{0});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->address, 1);
    EXPECT_EQ(r->letter, 'T');
    ASSERT_GE(r->values.size(), 3u);
    EXPECT_EQ(r->values[2], kPanelModel);
    EXPECT_TRUE(r->longForm);
    // A short command gets a short reply.
    r = h.Send('T', Bytes{0}, false);
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->longForm);
    // Address 0 reaches any panel; the reply names the real address.
    h.address = 0;
    r = h.Send('T', Bytes{0});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->address, 1);
    // Another address, or another plant, gets no answer at all.
    h.address = 2;
    EXPECT_TRUE(h.Exchange('T', Bytes{0}).empty());
    h.address = 1;
    h.plant = 12;
    EXPECT_TRUE(h.Exchange('T', Bytes{0}).empty());
    EXPECT_EQ(h.panel.Stats().otherAddress, 1);
    EXPECT_EQ(h.panel.Stats().badFrames, 1);
    EXPECT_EQ(h.panel.OutputPending(), 0u);
}

TEST(PanelTest, IdentificationAndDirectoryAreWhereTheToolLooks) {
    Harness h;
    EXPECT_EQ(Text(h.Read(57604, 23)), "VIMO-SYS  2.10 12/05/04");
    const Bytes dir = h.Read(49152, 48);
    ASSERT_EQ(dir.size(), 48u);
    auto entry = [&dir](int k) { return dir[2 * (k - 1)] * 256 + dir[2 * (k - 1) + 1]; };
    EXPECT_EQ(entry(4), 4096 + 2912);  // type thresholds in the main block
    EXPECT_EQ(entry(12), 336);
    EXPECT_EQ(entry(17), 1960);
    EXPECT_EQ(entry(19), 24576);
    EXPECT_EQ(entry(3), 10208);
    // The live, min/max and reference tables lie apart from the point tables,
    // which the tool writes at 4608.
    EXPECT_GE(entry(5), 4096 + 2981);
    // No area of the map overlaps another.
    struct Area {
        int from, size;
    };
    const Area areas[] = {{4096, 2981},       {entry(5), 2400},        {10208, 2},
                          {entry(11), 350},   {entry(9), 10},          {entry(10), 24},
                          {entry(18), 1},     {entry(16), 1962},       {entry(19), 7280},
                          {49152, 48},        {57604, 23}};
    for (const Area& a : areas)
        for (const Area& b : areas)
            if (&a != &b) {
                EXPECT_TRUE(a.from + a.size <= b.from || b.from + b.size <= a.from) << a.from << " " << b.from;
            }
}

TEST(PanelTest, MemoryWritesNeedProgrammingMode) {
    Harness h;
    EXPECT_EQ(h.Write(4117, Bytes{42}), 128);
    h.Enter();
    EXPECT_TRUE(h.panel.InProgrammingMode());
    EXPECT_EQ(h.Write(4117, Bytes{42, 0xAB}), 143);
    EXPECT_EQ(h.Read(4117, 2), (Bytes{42, 0xAB}));
    // The read-only areas refuse with 129 and stay as they were.
    EXPECT_EQ(h.Write(57604, Bytes{'X'}), 129);
    EXPECT_EQ(h.Write(49150, Bytes{1, 2, 3}), 129);
    EXPECT_EQ(h.Read(57604, 1), (Bytes{'V'}));
    // Bad requests: 0 or 65 bytes, a block past the end, a short data part.
    EXPECT_EQ(h.Answer('L', Harness::ReadParams(4096, 0)), 130);
    EXPECT_EQ(h.Answer('L', Harness::ReadParams(4096, 65)), 130);
    EXPECT_EQ(h.Answer('L', Harness::ReadParams(65535, 2)), 130);
    Bytes shortWrite = Harness::WriteParams(4096, Bytes{1, 2});
    shortWrite.pop_back();
    EXPECT_EQ(h.Answer('J', shortWrite), 130);
    // Leaving programming mode locks the memory again.
    EXPECT_EQ(h.Control(21), 'O');
    EXPECT_EQ(h.Write(4117, Bytes{1}), 128);
    EXPECT_EQ(h.panel.Stats().writes, 1);
}

TEST(PanelTest, AddressDigitsAreLeastSignificantFirst) {
    Harness h;
    h.Enter();
    ASSERT_EQ(h.Write(0x1065, Bytes{0x5A}), 143);
    EXPECT_EQ(h.panel.Mem().Get(0x1065), 0x5A);
    // The frame carries 0x1065 as 5, 6, 0, 1 and 0xAB as 11, 10.
    const Bytes p = Harness::WriteParams(0x1065, Bytes{0xAB});
    EXPECT_EQ(p, (Bytes{0, 5, 6, 0, 1, 1, 11, 10}));
}

TEST(PanelTest, AccessCodeGuardsProgrammingAndMemory) {
    PanelSettings s;
    s.accessCode = "1230";
    Harness h(s);
    const Bytes code = EncodeAccessCode("1230");
    const Bytes wrong = EncodeAccessCode("1231");
    // The identification is open to everyone; the configuration is not.
    EXPECT_EQ(h.Read(57604, 23).size(), 23u);
    EXPECT_EQ(h.Answer('L', Harness::ReadParams(4096, 4)), 80);
    EXPECT_EQ(h.Read(4096, 4, code).size(), 4u);
    EXPECT_EQ(h.Control(20), 'P');
    EXPECT_EQ(h.Control(20, wrong), 'P');
    EXPECT_EQ(h.LoopAnswer(1, 137), 128);  // not in programming mode
    EXPECT_EQ(h.Control(20, code), 'O');
    // Once in programming mode the loop commands (sent without a header)
    // and reads are let through.
    EXPECT_EQ(h.LoopAnswer(1, 137), 143);
    EXPECT_EQ(h.Read(4096, 4).size(), 4u);
    EXPECT_EQ(h.Control(21, code), 'O');
    EXPECT_EQ(h.LoopAnswer(1, 137), 128);
}

TEST(PanelTest, CommitsCheckTheAreaTheyCommit) {
    Harness h;
    EXPECT_EQ(h.Control(15), 'D');  // outside programming mode
    h.Enter();
    EXPECT_EQ(h.Control(15), 'O');
    EXPECT_EQ(h.Control(14), 'O');
    // A program table whose checksum does not match, announced as present.
    ASSERT_EQ(h.Write(kClockPrograms, Bytes{8, 0, 0, 1, 0, 0}), 143);
    ASSERT_EQ(h.Write(kMarker, Bytes{187}), 143);
    EXPECT_EQ(h.Control(15), 'E');
    // The same table with its checksum.
    Bytes table = h.panel.Mem().Read(kClockPrograms, 338);
    const uint16_t sum = ByteSumChecksum(std::span<const uint8_t>(table).first(336));
    ASSERT_EQ(h.Write(kClockPrograms + 336, Bytes{static_cast<uint8_t>(sum >> 8), static_cast<uint8_t>(sum)}), 143);
    EXPECT_EQ(h.Control(15), 'O');
    // Logics: a damaged area is refused while the marker says "present",
    // accepted as "no logics" when the marker is 0.
    ASSERT_EQ(h.Write(kLogics, Bytes{0x80, 0x01}), 143);
    EXPECT_EQ(h.Control(14), 'E');
    ASSERT_EQ(h.Write(kMarker, Bytes{0}), 143);
    EXPECT_EQ(h.Control(14), 'O');
    EXPECT_EQ(h.Control(99), 'E');
    EXPECT_EQ(h.panel.Stats().commitsPrograms, 2);
    EXPECT_EQ(h.panel.Stats().commitsLogics, 2);
}

TEST(PanelTest, ClockIsSetReadAndRuns) {
    Harness h;
    // Sunday 31 December 2023, 23:59:30, as "H": s m h wd d mo yy.
    EXPECT_EQ(h.Answer('H', Bytes{0, 30, 59, 23, 7, 31, 12, 23}), 'O');
    auto r = h.Send('D', Bytes{0});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->values, (Bytes{0, 30, 59, 23, 7, 31, 12, 23}));
    // 45 s later it is Monday 1 January 2024, 00:00:15.
    h.Wait(45000);
    r = h.Send('D', Bytes{0});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->values, (Bytes{0, 15, 0, 0, 1, 1, 1, 24}));
    // A weekday that does not match the date is kept as given and advances.
    EXPECT_EQ(h.Answer('H', Bytes{0, 0, 0, 12, 3, 28, 2, 99}), 'O');  // 28/02/1999 "Wednesday"
    h.Wait(86400000);
    r = h.Send('D', Bytes{0});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->values, (Bytes{0, 0, 0, 12, 4, 1, 3, 99}));
    // Impossible dates and times are refused.
    EXPECT_EQ(h.Answer('H', Bytes{0, 0, 0, 12, 1, 31, 4, 24}), 'E');
    EXPECT_EQ(h.Answer('H', Bytes{0, 60, 0, 12, 1, 1, 4, 24}), 'E');
    EXPECT_EQ(h.Answer('H', Bytes{0, 0, 0, 12, 1, 29, 2, 23}), 'E');
    EXPECT_EQ(h.Answer('H', Bytes{0, 0, 0, 12, 4, 29, 2, 24}), 'O');
    EXPECT_EQ(h.Answer('H', Bytes{0, 0, 0}), 'E');
}

TEST(PanelTest, ClockSettingNeedsTheAccessCode) {
    PanelSettings s;
    s.accessCode = "42";
    Harness h(s);
    const Bytes t = {0, 0, 0, 12, 1, 1, 1, 24};
    EXPECT_EQ(h.Answer('H', t), 'P');
    EXPECT_EQ(h.Answer('H', t, EncodeAccessCode("42")), 'O');
    // Reading the clock is always allowed.
    EXPECT_TRUE(h.Send('D', Bytes{0}));
}

TEST(PanelTest, LinkParametersWrittenToThePanelTakeEffectAfterTheReply) {
    Harness h;
    h.Enter();
    // New address 7: the reply still comes from address 1.
    auto r = h.Send('J', Harness::WriteParams(kCommAddress, Bytes{7}));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->address, 1);
    EXPECT_EQ(r->values[1], 143);
    EXPECT_TRUE(h.Exchange('T', Bytes{0}).empty());
    h.address = 7;
    r = h.Send('T', Bytes{0});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->address, 7);
    // A new plant code: the next frame must carry it.
    ASSERT_EQ(h.Write(kCommPlantCode, Bytes{99}), 143);
    EXPECT_TRUE(h.Exchange('T', Bytes{0}).empty());
    h.plant = 99;
    EXPECT_TRUE(h.Send('T', Bytes{0}));
}

TEST(PanelTest, ProgrammingModeCanTimeOut) {
    PanelSettings s;
    s.programmingTimeoutMs = 60000;
    Harness h(s);
    h.Enter();
    h.Wait(59000);
    EXPECT_EQ(h.Write(4117, Bytes{1}), 143);  // activity restarts the count
    h.Wait(59000);
    EXPECT_TRUE(h.panel.InProgrammingMode());
    h.Wait(2000);
    EXPECT_FALSE(h.panel.InProgrammingMode());
    EXPECT_EQ(h.Write(4117, Bytes{1}), 128);
}

TEST(PanelTest, UnknownCommandsAndDamagedFramesAreIgnored) {
    Harness h;
    EXPECT_TRUE(h.Exchange('Q', Bytes{0}).empty());
    EXPECT_EQ(h.panel.Stats().unknownCommands, 1);
    Bytes damaged = BuildToolFrame(1, 'T', Bytes{0}, kPlant, true);
    damaged[damaged.size() - 2] ^= 1;
    h.panel.Feed(damaged, h.now);
    EXPECT_EQ(h.panel.OutputPending(), 0u);
    // A run of bytes without CR never grows without bound.
    const Bytes junk(5000, 0x41);
    h.panel.Feed(junk, h.now);
    EXPECT_TRUE(h.Send('T', Bytes{0}));
}

TEST(PanelTest, RepliesQueueOneAfterAnotherWhenPaced) {
    PanelSettings s;
    s.paceBaud = 9600;
    s.latencyMs = 5;
    Harness h(s);
    h.panel.Feed(BuildToolFrame(1, 'T', Bytes{0}, kPlant, true), 0);
    h.panel.Feed(BuildToolFrame(1, 'T', Bytes{0}, kPlant, true), 0);
    EXPECT_EQ(h.panel.OutputReady(4), 0u);
    ASSERT_TRUE(h.panel.NextOutputAt());
    EXPECT_EQ(*h.panel.NextOutputAt(), 5 + 2);  // latency, then 10 bits at 9600 baud
    const std::size_t total = h.panel.OutputPending();
    // The second reply starts when the first has been sent: about
    // 1.04 ms per byte for both (each reply rounds up to a whole ms).
    const int64_t end = 5 + static_cast<int64_t>((total * 10000 + 9599) / 9600);
    EXPECT_LT(h.panel.OutputReady(end - 2), total);
    EXPECT_EQ(h.panel.OutputReady(end + 1), total);
    const Bytes first = h.panel.TakeOutput(end, total / 2);
    EXPECT_TRUE(ParsePanelReply(first));
}

TEST(PanelTest, PacedInputDelaysTheAnswerByTheCommandsWireTime) {
    PanelSettings s;
    s.paceBaud = 1000;  // 10 ms a byte
    s.paceInput = true;
    Harness h(s);
    const Bytes command = BuildToolFrame(1, 'T', Bytes{0}, kPlant, true);
    const int64_t wire = static_cast<int64_t>(command.size()) * 10;
    h.panel.Feed(command, 0);
    ASSERT_TRUE(h.panel.NextOutputAt());
    EXPECT_EQ(*h.panel.NextOutputAt(), wire + 10);  // the command crosses, then the first reply byte
    // A command written in two pieces takes the same time on the line.
    h.panel.DiscardOutput();
    const int64_t t = 10000;
    const std::size_t half = command.size() / 2;
    h.panel.Feed(Bytes(command.begin(), command.begin() + static_cast<long>(half)), t);
    h.panel.Feed(Bytes(command.begin() + static_cast<long>(half), command.end()), t);
    ASSERT_TRUE(h.panel.NextOutputAt());
    EXPECT_EQ(*h.panel.NextOutputAt(), t + wire + 10);
}

}  // namespace
}  // namespace vimo::sim::test
