// The logic area as data: the record stream, its checksum, the capacity and
// the output table.
#include <gtest/gtest.h>

#include <random>

#include "editors/LogicBlocks.h"

namespace cfg {
namespace {

// Puts big-endian words into a zero stream from byte index `at`.
void Put(std::vector<uint8_t>& s, std::size_t at, std::initializer_list<uint16_t> words) {
    for (uint16_t w : words) {
        s.at(at++) = static_cast<uint8_t>(w >> 8);
        s.at(at++) = static_cast<uint8_t>(w & 0xFF);
    }
}

std::vector<uint8_t> Empty() { return std::vector<uint8_t>(kLogicStreamBytes, 0); }

// A block of `conditions` conditions, all distinct.
LogicBlock Block(int number, int conditions) {
    LogicBlock b;
    b.header = MakeLogicHeader(number, 0, 0);
    for (int i = 0; i < conditions; ++i) b.conditions.push_back(MakeCondition(4, 301 + i, i % 2 == 1, false));
    b.w1 = MakeLogicW1(number % 64 + 1, conditions);
    return b;
}

TEST(LogicBlocks, AHandWorkedBlockCompilesToItsExactStreamAndChecksum) {
    // Block 7, threshold AND with threshold 2, output 12, 5 s activation
    // delay, latched; AND zone 3 in alarm, OR point 17 in alarm.
    LogicTable t;
    LogicBlock& b = t[7];
    b.header = MakeLogicHeader(7, 1, 2);
    b.conditions = {MakeCondition(0, 3, false, false), MakeCondition(4, 300 + 17, true, false)};
    b.w1 = MakeLogicW1(12, 2);
    b.w2 = MakeLogicW2(10, kDeactivationLatched);

    std::vector<uint8_t> area = CompileLogicArea(t);
    ASSERT_EQ(area.size(), 1962u);
    std::vector<uint8_t> head(area.begin(), area.begin() + 12);
    EXPECT_EQ(head, (std::vector<uint8_t>{0x89, 0x07, 0x11, 0x08, 0x00, 0x0A, 0x00, 0x03, 0x51, 0x3D, 0, 0}));
    // Point 17 is object 317 (0x13D), category 4 -> 0x113D, OR -> 0x513D.
    EXPECT_EQ(area[1960], 0xEB);  // 8907 + 1108 + 000A + 0003 + 513D = EB59
    EXPECT_EQ(area[1961], 0x59);
    EXPECT_EQ(b.OutputNumber(), 12);
    EXPECT_TRUE(b.StoredFlag());
}

TEST(LogicBlocks, AnEmptyAreaHasChecksum255And255) {
    std::vector<uint8_t> area = CompileLogicArea(LogicTable{});
    EXPECT_EQ(area[1960], 255);
    EXPECT_EQ(area[1961], 255);
}

TEST(LogicBlocks, AZeroHeaderEndsTheStreamEvenIfRecordsFollow) {
    auto s = Empty();
    Put(s, 0, {0x8001, 0x0000, 0x0000});
    Put(s, 8, {0x8002, 0x0000, 0x0000});  // after a zero header at byte index 6
    LogicLoadReport r;
    LogicTable t = ParseLogicStream(s, &r);
    EXPECT_TRUE(t[1].Defined());
    EXPECT_FALSE(t[2].Defined());
    EXPECT_EQ(r.records, 1);
}

TEST(LogicBlocks, HighNumbersAreSkippedARepeatedNumberReplacesAndBlock0Ends) {
    auto s = Empty();
    Put(s, 0, {0x8051, 0x0800, 0x0000, 0x1234});  // block 81, one condition: skipped
    Put(s, 8, {0x8005, 0x0800, 0x0001, 0x0003});  // block 5
    Put(s, 16, {0x8006, 0x0000, 0x0003});         // block 6
    Put(s, 22, {0x8005, 0x1000, 0x0002, 7, 8});   // block 5 again: replaces the first
    Put(s, 32, {0xC000, 0x0000, 0x0000});         // block 0 with flags: the end
    Put(s, 38, {0x8009, 0x0000, 0x0004});         // after the end: not a block
    LogicLoadReport r;
    LogicTable t = ParseLogicStream(s, &r);
    EXPECT_EQ(r.outOfRange, 1);
    EXPECT_EQ(r.duplicates, 1);
    EXPECT_EQ(r.records, 2);
    EXPECT_EQ(t[5].w2, 2);
    EXPECT_EQ(t[5].conditions, (std::vector<uint16_t>{7, 8}));
    EXPECT_EQ(t[6].w2, 3);
    EXPECT_FALSE(t[9].Defined());
    EXPECT_FALSE(r.truncated);
}

TEST(LogicBlocks, ARecordRunningPastByte1960IsDroppedAndEndsTheStream) {
    auto s = Empty();
    Put(s, 0, {0x8001, 0x0000, 0x0000});
    Put(s, 1950, {0x8002, 0x1800, 0x0000});  // announces 3 conditions: 1956 + 6 > 1960
    LogicLoadReport r;
    LogicTable t = ParseLogicStream(s, &r);
    EXPECT_TRUE(t[1].Defined());  // the first record was followed by zeros: the stream ended there
    EXPECT_FALSE(t[2].Defined());

    // Records back to back up to the end: the last header sits at 1958.
    auto full = Empty();
    std::size_t at = 0;
    for (int n = 1; at + 6 <= 1956; ++n, at += 6) Put(full, at, {static_cast<uint16_t>(0x8000 | (n % 80 + 1)), 0, 0});
    Put(full, 1956, {0x0000});
    Put(full, 1958, {0x8003});
    t = ParseLogicStream(full, &r);
    EXPECT_FALSE(r.truncated);  // a zero header at 1956 ends it first
    Put(full, 1956, {0x8003});
    t = ParseLogicStream(full, &r);
    EXPECT_TRUE(r.truncated);
}

TEST(LogicBlocks, AStreamThatFillsAll1960BytesEndsThereAndFitsExactly) {
    // 28 blocks of 31 conditions (34 words each) and one of 25 (28 words):
    // 980 words, 1960 bytes.
    LogicTable t;
    for (int n = 1; n <= 28; ++n) t[n] = Block(n, 31);
    t[29] = Block(29, 25);
    EXPECT_EQ(LogicStreamSize(t), 1960);
    EXPECT_TRUE(LogicFits(t));
    EXPECT_FALSE(LogicFits(t, 1));  // 1962 bytes: refused

    LogicLoadReport r;
    EXPECT_EQ(ParseLogicStream(CompileLogicStream(t), &r), t);
    EXPECT_EQ(r.records, 29);
    EXPECT_FALSE(r.truncated);

    t[29] = Block(29, 24);
    EXPECT_EQ(LogicStreamSize(t, 1), 1960);
    EXPECT_TRUE(LogicFits(t, 1));
}

TEST(LogicBlocks, GeneratedTablesSurviveCompileAndParse) {
    std::mt19937 rng(1962);
    for (int round = 0; round < 200; ++round) {
        LogicTable t;
        for (int n = 1; n <= kLogicBlockCount; ++n) {
            if (rng() % 3 == 0) continue;
            LogicBlock b;
            b.header = static_cast<uint16_t>(n | (rng() & 0xFF00));
            int count = static_cast<int>(rng() % 32);
            b.w1 = static_cast<uint16_t>(count << 11 | (rng() & 0x7FF));
            b.w2 = static_cast<uint16_t>(rng());
            for (int i = 0; i < count; ++i) b.conditions.push_back(static_cast<uint16_t>(rng()));
            if (!LogicFits(t, b.Words())) break;
            t[n] = b;
        }
        ASSERT_EQ(ParseLogicStream(CompileLogicStream(t)), t) << "round " << round;
    }
}

TEST(LogicBlocks, TheHighestMaskBitNamesTheOutputAndTheLaterBlockWinsIt) {
    LogicTable t;
    t[3].header = 0x8003;
    t[3].w1 = 0x0205;  // group 2, bits 0 and 2 -> output 19
    t[9].header = 0x8009;
    t[9].w1 = 0x0204;  // group 2, bit 2 -> output 19 as well
    t[10].header = 0x800A;
    t[10].w1 = 0x0700 | 0x80;  // group 7, bit 7 -> output 64
    EXPECT_EQ(t[3].OutputNumber(), 19);
    auto outputs = LogicOutputTable(t);
    EXPECT_EQ(outputs[19], 9);
    EXPECT_EQ(outputs[64], 10);
    EXPECT_EQ(outputs[1], 0);
    EXPECT_EQ(MakeLogicW1(64, 0), 0x0780);
    EXPECT_EQ(MakeLogicW1(0, 31), 0xF800);
}

TEST(LogicBlocks, DuplicatesIgnoreTheTwoFlagBits) {
    LogicBlock b;
    b.conditions = {MakeCondition(0, 3, false, false)};
    EXPECT_TRUE(HasCondition(b, MakeCondition(0, 3, true, true)));
    EXPECT_FALSE(HasCondition(b, MakeCondition(1, 3, false, false)));
    EXPECT_FALSE(HasCondition(b, MakeCondition(0, 4, false, false)));
}

TEST(LogicBlocks, AStoredHeaderIsNumberTypeThresholdAndBit15) {
    EXPECT_EQ(MakeLogicHeader(80, 1, 15), 80 + 1 * 256 + 15 * 1024 + 32768);
    EXPECT_EQ(MakeLogicHeader(1, 0, 0), 0x8001);
}

TEST(LogicBlocks, ObjectRangesAndTheChooser) {
    EXPECT_EQ(ObjectKindOf(32), LogicObjectKind::Zone);
    EXPECT_EQ(ObjectKindOf(33), LogicObjectKind::Block);
    EXPECT_EQ(ObjectItem(112), 80);
    EXPECT_EQ(ObjectKindOf(113), LogicObjectKind::None);
    EXPECT_EQ(ObjectItem(684), 384);
    EXPECT_EQ(ObjectKindOf(685), LogicObjectKind::None);
    EXPECT_EQ(ObjectKindOf(0), LogicObjectKind::None);
    // Every entry of the chooser but the separator can be chosen, and every
    // one fits the 4-bit category code.
    EXPECT_EQ(kChooserEntries, 16);
    for (int entry = 1; entry <= kChooserEntries; ++entry)
        EXPECT_EQ(ChooserObjects(entry) == LogicObjectKind::None, entry == kChooserSeparator) << entry;
    EXPECT_EQ(ChooserObjects(15), LogicObjectKind::Point);  // output active
    EXPECT_EQ(ChooserObjects(16), LogicObjectKind::Point);  // output in fault
}

}  // namespace
}  // namespace cfg
