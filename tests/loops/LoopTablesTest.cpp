// The shared loop rules: threshold rows, point windows, type names and the
// sensor-logic text.
#include <gtest/gtest.h>

#include "TestSession.h"
#include "loops/LoopTables.h"

namespace cfg::test {
namespace {

TEST(LoopTables, ThresholdRowOfEveryTypeCode) {
    EXPECT_EQ(ThresholdRow(0), 1);  // below 1 becomes 1
    for (int t = 1; t <= 7; ++t) EXPECT_EQ(ThresholdRow(t), t);
    EXPECT_EQ(ThresholdRow(8), 1);  // type 8 shares row 1
    for (int t = 9; t <= 15; ++t) EXPECT_EQ(ThresholdRow(t), t - 1);
}

class WindowTest : public ::testing::Test {
protected:
    TypeThresholdTable table;
    WindowTest() {
        for (int r = 1; r <= 14; ++r) table.row[static_cast<std::size_t>(r)] = {10 * r, 10 * r + 5, 10 * r + 2, r};
    }
};

TEST_F(WindowTest, PlainTypesTakeLoMidHiFromTheirRow) {
    PointWindow w = ComputeWindow(table, 1, 1, 200, 99);
    EXPECT_EQ(w.lo, 1);
    EXPECT_EQ(w.mid, 10);
    EXPECT_EQ(w.hi, 15);
    EXPECT_EQ(w.up, 10);
    w = ComputeWindow(table, 13, 1, 0, -1);
    EXPECT_EQ(w.lo, 12);
    EXPECT_EQ(w.hi, 125);
    EXPECT_EQ(ComputeWindow(table, 15, 1, 0, -1).mid, 140);
}

TEST_F(WindowTest, CalibratedTypesFollowTheirLevelAndReference) {
    // Row 2: T0 20, T1 25, T2 22, T3 2. Calibrated above T1: Up = x - 3.
    PointWindow w = ComputeWindow(table, 2, 1, 30, 40);
    EXPECT_EQ(w.up, 27);
    EXPECT_EQ(w.hi, 40);
    EXPECT_EQ(w.mid, 35);
    EXPECT_EQ(w.lo, 2);
    w = ComputeWindow(table, 3, 1, 40, -1);  // no reference: thresholds stay
    EXPECT_EQ(w.up, 37);
    EXPECT_EQ(w.hi, 35);
    w = ComputeWindow(table, 2, 1, 25, 40);  // at T1: not calibrated
    EXPECT_EQ(w.up, 20);
    EXPECT_EQ(w.hi, 25);
}

TEST_F(WindowTest, InputModulesHaveNoLowerLimitOutputModulesDo) {
    EXPECT_EQ(ComputeWindow(table, 10, 1, 0, -1).lo, 0);
    EXPECT_EQ(ComputeWindow(table, 10, 2, 0, -1).lo, 9);
    EXPECT_EQ(ComputeWindow(table, 9, 1, 0, -1).lo, 8);
}

TEST(LoopTables, ReferenceLevelOnlyForTheFirst99Points) {
    BoundedArray<int, 1, 500> table;
    for (int i = 1; i <= 400; ++i) table[i] = i % 256;
    EXPECT_EQ(ReferenceLevel(table, 1), 4);
    EXPECT_EQ(ReferenceLevel(table, 99), 396 % 256);
    EXPECT_EQ(ReferenceLevel(table, 100), -1);
}

TEST(LoopTables, TypeNamesAndLiveFlags) {
    TestSession t;
    Session& s = t.s;
    EXPECT_EQ(SensorTypeName(s, 1, 0), "1294" + std::string(17, ' '));
    EXPECT_EQ(SensorTypeName(s, 10, 1).substr(0, 4), "1299");
    EXPECT_EQ(SensorTypeName(s, 10, 2).substr(0, 4), "1303");
    EXPECT_EQ(SensorTypeName(s, 64, 0).substr(0, 4), "1304");
    EXPECT_EQ(SensorTypeName(s, 192, 0).substr(0, 4), "1305");
    EXPECT_EQ(SensorTypeName(s, 128, 0).substr(0, 4), "1302");
    EXPECT_EQ(SensorTypeName(s, 5, 0).substr(0, 4), "1302");
    EXPECT_EQ(NamingType(3, 0x43), 64);
    EXPECT_EQ(NamingType(3, 0x03), 3);
    bool red = false;
    EXPECT_EQ(SensorDetailName(s, 64, 0, red), "0373");
    EXPECT_TRUE(red);
    EXPECT_EQ(SensorDetailName(s, 5, 0, red), "?????" + std::string(17, ' '));
    EXPECT_FALSE(red);
}

}  // namespace
}  // namespace cfg::test
