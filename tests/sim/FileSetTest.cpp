// Configuration file sets in and out of the panel's memory, the built-in
// configurations, and the relay mailbox files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SimHarness.h"
#include "sim/FileSet.h"
#include "sim/Mailbox.h"
#include "sim/MemoryMap.h"
#include "sim/SampleData.h"

namespace vimo::sim::test {
namespace {

namespace fs = std::filesystem;

fs::path TempDir(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("vimo_sim_" + name + "_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

Bytes ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(FileSetTest, ChecksumsFollowTheFileRules) {
    // 336 bytes of 255: 85680 modulo 65536 = 20144 = 78, 176.
    const Bytes empty(336, 255);
    EXPECT_EQ(ByteSumChecksum(empty), 20144);
    EXPECT_EQ(ByteSumChecksum(Bytes(336, 0)), 65535);
    EXPECT_EQ(WordSumChecksum(Bytes(1960, 0)), 65535);
    EXPECT_EQ(WordSumChecksum(Bytes{0x12, 0x34, 0xFF, 0xFF}), (0x1234 + 0xFFFF) & 0xFFFF);
}

TEST(FileSetTest, BuiltInConfigurationsAreWellFormed) {
    for (const FileSet& s : {FactoryFileSet(), SampleFileSet()}) {
        EXPECT_EQ(s.cy2.size(), kCy2Size);
        EXPECT_EQ(s.py2.size(), kPy2Size);
        EXPECT_EQ(s.uy2.size(), kUy2Size);
        EXPECT_EQ(s.my2.size(), kMy2Size);
        EXPECT_TRUE(ClockProgramsValid(s.py2));
        EXPECT_TRUE(LogicsValid(s.uy2));
        EXPECT_EQ(std::string(s.cy2.begin() + 2968, s.cy2.end()), "2.10 12/05/04");
    }
    const FileSet f = FactoryFileSet();
    EXPECT_EQ(f.py2[336], 78);
    EXPECT_EQ(f.py2[337], 176);
    // The sample has sensors on both loops, each with its description.
    const FileSet s = SampleFileSet();
    int loop1 = 0, loop2 = 0;
    for (int k = 0; k < 200; ++k) {
        loop1 += (s.cy2[512 + 2 * static_cast<std::size_t>(k)] >> 4) != 0;
        loop2 += (s.cy2[912 + 2 * static_cast<std::size_t>(k)] >> 4) != 0;
    }
    EXPECT_GT(loop1, 10);
    EXPECT_GT(loop2, 10);
    EXPECT_EQ(std::string(s.my2.begin() + 200 * 16, s.my2.begin() + 201 * 16), "Piano 1      201");
    // Types 2 and 3 carry their calibrated level and reference.
    EXPECT_GT(s.cy2[1312 + 2 * 12 + 1], 52);             // loop 1 point 13, type 2
    EXPECT_GT(s.cy2[2112 + 4 * 13 - 1], 0);               // its reference level
}

TEST(FileSetTest, ExportIsTheReverseOfLoad) {
    for (const FileSet& set : {FactoryFileSet(), SampleFileSet()}) {
        Panel panel;
        panel.LoadFileSet(set);
        const FileSet back = panel.ExportFileSet();
        EXPECT_EQ(back.cy2, set.cy2);
        EXPECT_EQ(back.py2, set.py2);
        EXPECT_EQ(back.uy2, set.uy2);
        EXPECT_EQ(back.my2, set.my2);
    }
}

TEST(FileSetTest, LoadedConfigurationIsWhereTheToolReadsIt) {
    Harness h;
    h.panel.LoadFileSet(SampleFileSet());
    const FileSet s = SampleFileSet();
    // .CY2 at 4096 + offset, references at entry 5 + 1600, texts at 24576,
    // programs at entry 11.
    EXPECT_EQ(h.Read(4096 + 192, 19), Bytes(s.cy2.begin() + 192, s.cy2.begin() + 211));
    EXPECT_EQ(h.Read(kReference + 48, 4), Bytes(s.cy2.begin() + 2112 + 48, s.cy2.begin() + 2112 + 52));
    EXPECT_EQ(h.Read(24576 + 16 * 200, 16), Bytes(s.my2.begin() + 3200, s.my2.begin() + 3216));
    EXPECT_EQ(h.Read(kClockPrograms, 8), Bytes(s.py2.begin(), s.py2.begin() + 8));
    EXPECT_EQ(h.panel.Mem().Get(kMarker), kMarkerPresent);
    // The loaded configuration's link parameters answer.
    EXPECT_EQ(h.panel.Address(), s.cy2[496]);
    EXPECT_EQ(h.panel.PlantCode(), s.cy2[497]);
}

TEST(FileSetTest, LinkParametersGivenByTheHostOutlastALoad) {
    PanelSettings settings;
    settings.address = 7;
    settings.plantCode = 42;
    Panel panel(settings);
    panel.LoadSample();
    EXPECT_EQ(panel.Address(), 7);
    EXPECT_EQ(panel.PlantCode(), 42);
    panel.SetAddress(9);
    panel.LoadFileSet(FactoryFileSet());
    EXPECT_EQ(panel.Address(), 9);
    EXPECT_EQ(panel.PlantCode(), 42);
    // The export carries them as the panel uses them.
    EXPECT_EQ(panel.ExportFileSet().cy2[496], 9);
}

TEST(FileSetTest, WritesOfTheToolShowInTheExport) {
    Harness h;
    h.Enter();
    ASSERT_EQ(h.Write(4608, Bytes{0x11, 0x02}), 143);       // point 1 of loop 1: type 1, group 3
    ASSERT_EQ(h.Write(24576, Bytes{'S', 'a', 'l', 'a'}), 143);
    const FileSet out = h.panel.ExportFileSet();
    EXPECT_EQ(out.cy2[512], 0x11);
    EXPECT_EQ(out.cy2[513], 0x02);
    EXPECT_EQ(std::string(out.my2.begin(), out.my2.begin() + 4), "Sala");
}

TEST(FileSetTest, FilesOnDisk) {
    const fs::path dir = TempDir("files");
    const std::string base = (dir / "PLANT").string();
    std::string error;
    ASSERT_TRUE(WriteFileSet(base, SampleFileSet(), error)) << error;
    EXPECT_EQ(ReadAll(base + ".PY2").size(), kPy2Size);
    FileSet in;
    ASSERT_TRUE(ReadFileSet(base, in, error)) << error;
    EXPECT_EQ(in.cy2, SampleFileSet().cy2);
    // Lower-case extensions are found too.
    fs::rename(base + ".MY2", base + ".my2");
    EXPECT_TRUE(ReadFileSet(base, in, error)) << error;
    // A missing or short file is named in the error.
    fs::remove(base + ".UY2");
    EXPECT_FALSE(ReadFileSet(base, in, error));
    EXPECT_NE(error.find("PLANT.UY2"), std::string::npos);
    ASSERT_TRUE(WriteFileSet(base, SampleFileSet(), error));
    fs::resize_file(base + ".CY2", 100);
    EXPECT_FALSE(ReadFileSet(base, in, error));
    EXPECT_NE(error.find("2981"), std::string::npos);
    fs::remove_all(dir);
}

TEST(FileSetTest, MailboxFilesCarryOneFrameEach) {
    const fs::path dir = TempDir("mailbox");
    const std::string box = (dir / "fileTX.bin").string();
    EXPECT_TRUE(MailboxEmpty(box));  // missing counts as empty
    ASSERT_TRUE(ClearMailbox(box));
    EXPECT_FALSE(TakeMailbox(box));
    const Bytes frame = {0x02, 33, 'T', 32, 32, 186, 0x0D};
    ASSERT_TRUE(PutMailbox(box, frame));
    Bytes file = ReadAll(box);
    ASSERT_EQ(file.size(), frame.size() + 1);
    EXPECT_EQ(file[0], frame.size());
    EXPECT_FALSE(MailboxEmpty(box));
    const auto taken = TakeMailbox(box);
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, frame);
    EXPECT_EQ(ReadAll(box)[0], 0);  // consumed
    EXPECT_FALSE(TakeMailbox(box));
    // A longer earlier frame leaves bytes behind; the length byte decides.
    ASSERT_TRUE(PutMailbox(box, Bytes{1, 2}));
    EXPECT_EQ(*TakeMailbox(box), (Bytes{1, 2}));
    // More than 255 bytes are announced as 255.
    ASSERT_TRUE(PutMailbox(box, Bytes(300, 0x41)));
    EXPECT_EQ(ReadAll(box)[0], 255);
    EXPECT_EQ(TakeMailbox(box)->size(), 255u);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vimo::sim::test
