// The checks of a set's files before they are sent, printed or compared,
// and the names a set may be given.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "TestSession.h"
#include "config/Files.h"
#include "config/SetCheck.h"

namespace cfg::test {
namespace {

const KindSelection kAll{false, true, true, true, true};

SetFileBytes DefaultSet() {
    SetFileBytes set;
    for (int kind = 1; kind <= 4; ++kind)
        set.files[static_cast<std::size_t>(kind)] = ReadAll(std::string(CFG_BIN_DIR "/DEFAULT") + PartExtension(kind));
    return set;
}

std::vector<uint8_t>& File(SetFileBytes& set, int kind) { return *set.files[static_cast<std::size_t>(kind)]; }

std::string Faults(const std::vector<SetFinding>& findings) {
    std::string out;
    for (const SetFinding& f : findings) {
        out += std::to_string(f.kind) + ":" + std::to_string(static_cast<int>(f.fault));
        if (f.fault == SetFault::WrongSize) out += "(" + std::to_string(f.size) + "/" + std::to_string(f.expected) + ")";
        out += " ";
    }
    return out;
}

TEST(SetCheckTest, ASoundSetHasNoFindings) {
    SetFileBytes set = DefaultSet();
    ASSERT_EQ(File(set, 1).size(), 2981u);
    EXPECT_EQ(Faults(CheckSetFiles(set, kAll)), "");
    // A panel with another logics area: the .UY2 is measured against it.
    EXPECT_EQ(Faults(CheckSetFiles(set, kAll, 1000)), "3:1(1962/1000) ");
}

TEST(SetCheckTest, OneFlippedByteOrARandomFileIsFound) {
    SetFileBytes set = DefaultSet();
    File(set, 3)[0] = 1;         // logics present
    File(set, 3)[100] ^= 0x10;   // and damaged
    File(set, 2)[0] = 7;         // a program, the checksum not updated
    EXPECT_EQ(Faults(CheckSetFiles(set, kAll)), "2:2 3:3 ");
    // Only the chosen files are looked at.
    EXPECT_EQ(Faults(CheckSetFiles(set, {false, true, false, false, true})), "");

    std::vector<uint8_t> random(2981);
    uint32_t x = 12345;
    for (auto& b : random) b = static_cast<uint8_t>((x = x * 1103515245u + 12345u) >> 16);
    File(set, 1) = random;
    EXPECT_NE(Faults(CheckSetFiles(set, {false, true, false, false, false})).find("1:4"), std::string::npos);
}

TEST(SetCheckTest, WrongSizesAndMissingFilesAreNamed) {
    SetFileBytes set = DefaultSet();
    File(set, 1).resize(1500);
    File(set, 4).push_back(0);
    set.files[2].reset();
    EXPECT_EQ(Faults(CheckSetFiles(set, kAll)), "1:1(1500/2981) 1:4 2:0 4:1(7281/7280) ");
}

TEST(SetCheckTest, EmptyProgramAndLogicTablesAreNotDamage) {
    // What a receive stores for a damaged part: all 255 / all 0.
    SetFileBytes set = DefaultSet();
    std::fill(File(set, 2).begin(), File(set, 2).begin() + 350, 255);
    std::fill(File(set, 3).begin(), File(set, 3).end(), 0);
    EXPECT_EQ(Faults(CheckSetFiles(set, kAll)), "");
}

TEST(SetCheckTest, TheFindingsAreNamedPerFile) {
    TestSession t;
    SetFileBytes set = DefaultSet();
    File(set, 1).resize(100);
    EXPECT_EQ(DescribeSetFindings(t.s, "/x/PLANT", CheckSetFiles(set, {false, true, false, false, false})),
              "PLANT.CY2: 1592 100 1593 2981\r\nPLANT.CY2: 1596");
}

TEST(SetNameTest, OnlyTheSetsOwnExtensionsAreTakenOff) {
    bool cut = false;
    EXPECT_EQ(SetNameOf(" /data/plant.cy2 ", cut), "/data/PLANT");
    EXPECT_EQ(SetNameOf("Plant1", cut), "PLANT1");
    EXPECT_EQ(SetNameOf("/my.folder/site", cut), "/my.folder/SITE");
    EXPECT_FALSE(cut);
    EXPECT_EQ(SetNameOf("site.v2", cut), "SITE");
    EXPECT_TRUE(cut);
}

}  // namespace
}  // namespace cfg::test
