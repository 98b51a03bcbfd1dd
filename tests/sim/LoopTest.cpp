// The loop modules behind the "X" command and the live tables in memory.
#include <gtest/gtest.h>

#include <string>

#include "SimHarness.h"
#include "sim/MemoryMap.h"
#include "sim/SampleData.h"

namespace vimo::sim::test {
namespace {

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

uint16_t LiveAt(int module, int index) {
    return static_cast<uint16_t>(kLiveValues + (module - 1) * 400 + 2 * (index - 1));
}
uint16_t MinMaxAt(int module, int index) {
    return static_cast<uint16_t>(kMinMax + (module - 1) * 400 + 2 * (index - 1));
}

struct SampleHarness : Harness {
    SampleHarness() { panel.LoadSample(); }
};

TEST(LoopTest, ModulesAnswerForThemselves) {
    PanelSettings s;
    s.modules = {true, false};
    Harness h(s);
    // Like a memory write, a loop command needs programming mode.
    EXPECT_EQ(h.LoopAnswer(1, 137), 128);
    EXPECT_EQ(h.LoopAnswer(1, 9), 128);
    h.Enter();
    EXPECT_EQ(Text(h.LoopValues(1, 9)), "LM-200/A");
    EXPECT_EQ(Text(h.LoopValues(1, 10)), "1.07");
    EXPECT_EQ(h.LoopAnswer(2, 137), 129);  // not fitted
    EXPECT_EQ(h.LoopAnswer(3, 137), 129);  // no such module
    EXPECT_EQ(h.LoopAnswer(1, 77), 130);   // no such sub-command
    // Values travel as two digits each; an odd digit count is a bad request.
    EXPECT_EQ(h.Answer('X', Bytes{0, 65, 11, 1}), 130);
    EXPECT_EQ(h.panel.Mem().Get(kLoopStatus + 1), 0);
}

TEST(LoopTest, LiveTablesFollowTheDevicesOnTheLoop) {
    SampleHarness h;
    h.Wait(3000);
    const Memory& m = h.panel.Mem();
    // Every configured device with a device present reads inside its window
    // (T3 <= reading < T0 of its type's threshold row), and its min/max is
    // recorded.
    int checked = 0;
    for (const SamplePoint& p : SamplePoints()) {
        if (p.module == kSampleMissingModule && p.index == kSampleMissingIndex) continue;
        const int row = p.type > 8 ? (p.type & 15) - 1 : std::max(p.type & 7, 1);
        const uint8_t t0 = m.Get(kTypeThresholds + 4u * static_cast<unsigned>(row - 1));
        const uint8_t t3 = m.Get(kTypeThresholds + 4u * static_cast<unsigned>(row - 1) + 3);
        const uint8_t reading = m.Get(LiveAt(p.module, p.index) + 1u);
        EXPECT_EQ(m.Get(LiveAt(p.module, p.index)) & 0xC0, 0) << p.module << "/" << p.index;
        EXPECT_GE(reading, t3 == 0 ? 1 : t3);
        EXPECT_LT(reading, t0);
        const uint8_t lo = m.Get(MinMaxAt(p.module, p.index));
        const uint8_t hi = m.Get(MinMaxAt(p.module, p.index) + 1u);
        EXPECT_LE(lo, reading);
        EXPECT_GE(hi, reading);
        EXPECT_NE(hi, 255);
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(SamplePoints().size()) - 1);
    // The configured device that is not wired shows the "not answering" flag.
    EXPECT_EQ(m.Get(LiveAt(kSampleMissingModule, kSampleMissingIndex)), 64);
    EXPECT_EQ(m.Get(MinMaxAt(kSampleMissingModule, kSampleMissingIndex)), 255);
    // A wired device that is not configured reads, with no flag.
    EXPECT_EQ(m.Get(LiveAt(kSampleExtraModule, kSampleExtraIndex)), 1);
    EXPECT_GT(m.Get(LiveAt(kSampleExtraModule, kSampleExtraIndex) + 1u), 0);
    // The tool reads the same bytes with "L" at entry 5.
    EXPECT_EQ(h.Read(LiveAt(1, 1), 2), m.Read(LiveAt(1, 1), 2));
}

TEST(LoopTest, ForcedReadingShowsInLiveAndMinMax) {
    SampleHarness h;
    Fault f;
    std::string error;
    ASSERT_TRUE(ParseFault("reading=1:3:60", f, error)) << error;
    h.panel.AddFault(f);
    h.Wait(1000);
    EXPECT_EQ(h.panel.Mem().Get(LiveAt(1, 3) + 1u), 60);
    EXPECT_EQ(h.panel.Mem().Get(MinMaxAt(1, 3) + 1u), 60);
    EXPECT_LT(h.panel.Mem().Get(MinMaxAt(1, 3)), 60);  // the quiet level before
    h.panel.RemoveFaults(FaultKind::kReading);
    h.Wait(1000);
    EXPECT_LT(h.panel.Mem().Get(LiveAt(1, 3) + 1u), 40);
    EXPECT_EQ(h.panel.Mem().Get(MinMaxAt(1, 3) + 1u), 60);  // the maximum stays recorded
}

TEST(LoopTest, ResetMinMaxIsAWriteOf255) {
    SampleHarness h;
    h.Wait(2000);
    h.Enter();
    ASSERT_EQ(h.Write(MinMaxAt(1, 1), Bytes{255, 255, 255, 255}), 143);
    EXPECT_EQ(h.panel.Mem().Read(MinMaxAt(1, 1), 4), (Bytes{255, 255, 255, 255}));
    h.Wait(1000);
    const Bytes mm = h.panel.Mem().Read(MinMaxAt(1, 1), 2);
    EXPECT_NE(mm[0], 255);
    EXPECT_EQ(mm[0], mm[1]);  // one reading recorded since the reset
}

TEST(LoopTest, MissingDeviceCountsErrorsUntilReset) {
    SampleHarness h;
    h.Enter();
    h.Wait(120000);
    Bytes e = h.LoopValues(kSampleMissingModule, 137);
    ASSERT_EQ(e.size(), 4u);
    EXPECT_GT(e[0], 0);
    EXPECT_EQ(e[3], kSampleMissingIndex);
    EXPECT_EQ(h.LoopValues(1, 137), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(h.LoopValues(kSampleMissingModule, 136), (Bytes{1}));
    EXPECT_EQ(h.LoopValues(kSampleMissingModule, 137), (Bytes{0, 0, 0, 0}));
}

TEST(LoopTest, AddressZeroDevicesAndLineCurrent) {
    SampleHarness h;
    h.Enter();
    EXPECT_EQ(h.LoopValues(kSampleAddressZeroModule, 15), (Bytes{1, 0}));
    EXPECT_EQ(h.LoopValues(1, 15), (Bytes{0, 0}));
    // Three samples as the current view takes them give a plausible loop
    // current, more on the loop with more devices.
    auto current = [&h](int module) {
        int sum = 0;
        for (int i = 0; i < 3; ++i) {
            const Bytes v = h.LoopValues(module, 135);
            EXPECT_EQ(v.size(), 2u);
            if (!v.empty()) sum += v[0] >= 4 ? v[0] - 4 : 0;
        }
        return static_cast<int>(sum * 2 / 1.4);
    };
    const int loop1 = current(1);
    const int loop2 = current(2);
    EXPECT_GT(loop1, 20);
    EXPECT_LT(loop1, 250);
    EXPECT_GT(loop1, loop2);
}

TEST(LoopTest, AutoConfigurationRunsWithProgressAndReportsTheLoop) {
    PanelSettings s;
    s.autoConfigMs = 5000;
    Harness h(s);
    h.panel.LoadSample();
    const int m = kSampleMissingModule;
    EXPECT_EQ(h.LoopAnswer(m, 133), 128);  // not in programming mode
    h.Enter();
    EXPECT_EQ(h.LoopValues(m, 133), (Bytes{1}));
    EXPECT_EQ(h.panel.Loop(m).AutoConfigRuns(), 1);
    h.Wait(2000);
    Bytes progress = h.LoopValues(m, 5);
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress[0], 1);
    EXPECT_EQ(progress[1], 40);
    // While it runs the module takes no other work but progress and counters.
    EXPECT_EQ(h.LoopAnswer(m, 11, Bytes{1}), 130);
    EXPECT_EQ(h.LoopAnswer(m, 133), 130);
    EXPECT_EQ(h.LoopAnswer(m, 137), 143);
    EXPECT_EQ(h.LoopAnswer(1, 15), 143);  // the other loop is free
    // The tool polls every 0.4 s until the first value is 0.
    int polls = 0;
    while (true) {
        h.Wait(400);
        ++polls;
        progress = h.LoopValues(m, 5);
        ASSERT_FALSE(progress.empty());
        if (progress[0] == 0) break;
        ASSERT_LT(polls, 20);
    }
    EXPECT_EQ(polls, 8);
    // Block 2 holds points 9..16: 9, 10 smoke, 11, 12 type 3, 13 call point,
    // 14 not wired, 15 a device the configuration does not know, 16 empty.
    const Bytes block = h.LoopValues(m, 11, Bytes{2});
    ASSERT_EQ(block.size(), 16u);
    const int types[8] = {1, 1, 3, 3, 9, 0, 1, 0};
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(block[2 * j] & 15, types[j]) << "point " << 9 + j;
        if (types[j] == 0) EXPECT_EQ(block[2 * j + 1], 0);
        else EXPECT_GT(block[2 * j + 1], 0);
    }
    // Calibrated types report a level above their alarm threshold T1.
    EXPECT_GT(block[2 * 2 + 1], h.panel.Mem().Get(kTypeThresholds + 4u * 2 + 1));
    EXPECT_EQ(h.LoopAnswer(m, 11, Bytes{0}), 130);
    EXPECT_EQ(h.LoopAnswer(m, 11, Bytes{26}), 130);
    EXPECT_EQ(h.LoopValues(m, 11, Bytes{25}).size(), 16u);
}

TEST(LoopTest, FactoryLoopHasDevicesToFind) {
    Harness h;  // nothing configured: the loop is wired with a few devices
    h.Enter();
    const Bytes block = h.LoopValues(1, 11, Bytes{1});
    ASSERT_EQ(block.size(), 16u);
    EXPECT_EQ(block[0], 1);
    EXPECT_GT(h.panel.Loop(1).DeviceCount(), 0);
}

}  // namespace
}  // namespace vimo::sim::test
