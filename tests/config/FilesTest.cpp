// The file routines of a configuration set: block pieces, copy, the presence
// check with its alert, names on a case-sensitive disk, and the checksums.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "TestFiles.h"
#include "TestSession.h"
#include "config/Files.h"
#include "shell/FileNames.h"

namespace fs = std::filesystem;
using namespace cfg;
using cfg::test::ReadAll;
using cfg::test::TestSession;
using cfg::test::WriteAll;

namespace {

std::vector<uint8_t> Pattern(std::size_t n, int seed = 7) {
    std::vector<uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>((i * 31 + static_cast<std::size_t>(seed)) & 0xFF);
    return v;
}

}  // namespace

// Blocks of 1024 bytes go in one piece, 1025 in two: every byte of both must
// land at its offset and cell, whatever the piece boundary.
TEST(FileBlocks, ReadAndWriteAcrossPieceBoundaries) {
    TestSession t;
    for (int count : {1, 1023, 1024, 1025, 2049, 4000}) {
        SCOPED_TRACE(count);
        std::string path = t.folder.File("BLOCK.CY2");
        WriteAll(path, std::vector<uint8_t>(5000, 0xEE));
        auto& tb = t.s.config.TransferBuffer;
        auto data = Pattern(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) tb[1 + i] = data[static_cast<std::size_t>(i)];

        std::fstream f;
        ASSERT_TRUE(OpenConfigPart(t.s, t.folder.File("BLOCK"), ".CY2", f));
        ASSERT_TRUE(WriteFileBlock(t.s, f, 300, count, 1, tb).Done());
        f.close();

        auto disk = ReadAll(path);
        ASSERT_EQ(disk.size(), 5000u);
        EXPECT_EQ(disk[299], 0xEE);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), disk.begin() + 300));
        EXPECT_EQ(disk[300 + static_cast<std::size_t>(count)], 0xEE);

        // Read it back into ConfigImage at cell = offset.
        ASSERT_TRUE(OpenConfigPart(t.s, t.folder.File("BLOCK"), ".CY2", f));
        auto& img = t.s.config.ConfigImage;
        img.Fill(-1);
        ASSERT_TRUE(ReadFileBlock(t.s, f, 300, count, 300, img).Done());
        EXPECT_EQ(img[299], -1);
        for (int i = 0; i < count; ++i) ASSERT_EQ(img[300 + i], data[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(img[300 + count], -1);
    }
    EXPECT_TRUE(t.ui.messages.empty());
}

TEST(FileBlocks, AppendWritesCellsFromOneInPieces) {
    TestSession t;
    std::fstream f;
    ASSERT_TRUE(CreateConfigPart(t.s, t.folder.File("APP"), ".UY2", f));
    auto& tb = t.s.config.TransferBuffer;
    auto a = Pattern(1025, 1), b = Pattern(3, 2);
    for (int i = 0; i < 1025; ++i) tb[1 + i] = a[static_cast<std::size_t>(i)];
    ASSERT_TRUE(AppendFileBlock(t.s, f, 1025, tb).Done());
    for (int i = 0; i < 3; ++i) tb[1 + i] = b[static_cast<std::size_t>(i)];
    ASSERT_TRUE(AppendFileBlock(t.s, f, 3, tb).Done());
    f.close();
    auto disk = ReadAll(t.folder.File("APP.UY2"));
    ASSERT_EQ(disk.size(), 1028u);
    EXPECT_TRUE(std::equal(a.begin(), a.end(), disk.begin()));
    EXPECT_TRUE(std::equal(b.begin(), b.end(), disk.begin() + 1025));
}

// A short file reads as blanks past its end (no error); a block that does not
// fit its array is refused with a message instead of touching memory.
TEST(FileBlocks, ShortFileAndBadCellRange) {
    TestSession t;
    WriteAll(t.folder.File("S.CY2"), {1, 2, 3});
    std::fstream f;
    ASSERT_TRUE(OpenConfigPart(t.s, t.folder.File("S"), ".CY2", f));
    auto& ib = t.s.config.IdentBuffer;
    EXPECT_TRUE(ReadFileBlock(t.s, f, 1, 5, 1, ib).Done());
    EXPECT_EQ(ib[1], 2);
    EXPECT_EQ(ib[2], 3);
    EXPECT_EQ(ib[3], ' ');
    EXPECT_EQ(ib[5], ' ');

    const OpResult refused = ReadFileBlock(t.s, f, 0, 10, 145, ib);  // cells 145..154 of 0..150
    EXPECT_EQ(refused.status, 16);
    EXPECT_EQ(refused.error, 9);   // subscript out of range
    EXPECT_EQ(t.s.link.LinkStatus, 16);  // left for the block routines that read it there
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].title, "1254");
    EXPECT_FALSE(t.s.link.QuietErrors);
}

TEST(FileCopy, EmptyLargeSelfAndMissing) {
    TestSession t;
    // An empty file copies to an empty file.
    WriteAll(t.folder.File("E.CY2"), {});
    WriteAll(t.folder.File("OUT.CY2"), Pattern(50));
    EXPECT_TRUE(CopyConfigFile(t.s, t.folder.File("E.CY2"), t.folder.File("OUT.CY2")).Done());
    EXPECT_TRUE(fs::exists(t.folder.File("OUT.CY2")));
    EXPECT_EQ(fs::file_size(t.folder.File("OUT.CY2")), 0u);

    // More than two 32768-byte pieces arrive exactly.
    auto big = Pattern(70001);
    WriteAll(t.folder.File("BIG.MY2"), big);
    EXPECT_TRUE(CopyConfigFile(t.s, t.folder.File("BIG.MY2"), t.folder.File("COPY.MY2")).Done());
    EXPECT_EQ(ReadAll(t.folder.File("COPY.MY2")), big);

    // A file copied onto itself keeps its bytes.
    EXPECT_TRUE(CopyConfigFile(t.s, t.folder.File("BIG.MY2"), t.folder.File("big.my2")).Done());
    EXPECT_EQ(ReadAll(t.folder.File("BIG.MY2")), big);
    EXPECT_TRUE(t.ui.messages.empty());

    // A missing source: "file not found", status 16, the target untouched.
    EXPECT_EQ(CopyConfigFile(t.s, t.folder.File("NONE.CY2"), t.folder.File("COPY.MY2")).status, 16);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, "1244");
    EXPECT_EQ(ReadAll(t.folder.File("COPY.MY2")), big);
}

// The names stored in a folder, sorted (on a disk that ignores case,
// fs::exists cannot tell a twin from the original).
std::vector<std::string> StoredNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Names are compared upper-cased, whatever the disk does with case: the
// existing file is found whatever its case, folders keep theirs, new files
// are upper.
TEST(FileNames, CaseInsensitiveResolution) {
    TestSession t;
    fs::create_directories(t.folder.File("Plants/Site.A"));
    std::string base = t.folder.File("Plants/Site.A/") + "North";
    WriteAll(t.folder.File("Plants/Site.A/north.cy2"), Pattern(10));
    WriteAll(t.folder.File("Plants/Site.A/North.Py2"), Pattern(10));

    std::string name = StripExtension(base + ".cy2");
    EXPECT_EQ(name, t.folder.File("Plants/Site.A/") + "NORTH");
    EXPECT_EQ(CheckConfigFile(t.s, name, 1), 255);
    EXPECT_EQ(CheckConfigFile(t.s, name, 2), 255);

    std::fstream f;
    ASSERT_TRUE(OpenConfigPart(t.s, name, ".CY2", f));
    f.close();
    // Writing reuses the existing file instead of making a twin.
    ASSERT_TRUE(CreateConfigPart(t.s, name, ".PY2", f));
    f.close();
    EXPECT_EQ(StoredNames(t.folder.File("Plants/Site.A")), (std::vector<std::string>{"North.Py2", "north.cy2"}));
    EXPECT_EQ(fs::file_size(t.folder.File("Plants/Site.A/North.Py2")), 0u);
    // A new part gets the upper-case name.
    ASSERT_TRUE(CreateConfigPart(t.s, name, ".MY2", f));
    f.close();
    EXPECT_EQ(StoredNames(t.folder.File("Plants/Site.A")),
              (std::vector<std::string>{"NORTH.MY2", "North.Py2", "north.cy2"}));
    EXPECT_TRUE(t.ui.messages.empty());

    // A missing part: one alert naming the kind and the file, 254.
    EXPECT_EQ(CheckConfigFile(t.s, name, 3), 254);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].title, "1378");
    EXPECT_EQ(t.ui.messages[0].text, "1402 \r" + name + ".UY21405");

    // Opening a part that is not there records "file not found" quietly.
    t.s.link.LastErrorNumber = 0;
    EXPECT_FALSE(OpenConfigPart(t.s, name, ".UY2", f));
    EXPECT_EQ(t.s.link.LastErrorNumber, 53);
    EXPECT_EQ(t.ui.messages.size(), 1u);
}

TEST(FileNames, StripExtension) {
    EXPECT_EQ(StripExtension("  /data/Plants/site.cy2 "), "/data/Plants/SITE");
    EXPECT_EQ(StripExtension("north"), "NORTH");
    EXPECT_EQ(StripExtension("/data/v1.2/north"), "/data/v1.2/NORTH");
    EXPECT_EQ(StripExtension("plant.v2.CY2"), "PLANT.V2");
    EXPECT_EQ(StripExtension(".hidden"), ".HIDDEN");
    EXPECT_EQ(StripExtension("C:\\Impianti\\nord.Cy2"), "C:\\Impianti\\NORD");
    EXPECT_TRUE(IsDefaultSetName("/x/y/default"));
    EXPECT_TRUE(IsDefaultSetName("MYDEFAULT"));
    EXPECT_FALSE(IsDefaultSetName("DEFAULT2"));
    EXPECT_FALSE(IsDefaultSetName("FAULT"));
}

TEST(Checksums, ZeroBecomes65535AndBigEndianWords) {
    std::vector<uint8_t> zeros(336, 0);
    EXPECT_EQ(ProgramChecksum(zeros.data(), zeros.size()), 65535);
    EXPECT_EQ(LogicChecksum(zeros.data(), zeros.size()), 65535);
    std::vector<uint8_t> empty(336, 255);
    EXPECT_EQ(ProgramChecksum(empty.data(), empty.size()), 20144);  // 85680 mod 65536
    // A byte sum that wraps to exactly 65536 is 0, stored as 65535.
    std::vector<uint8_t> wrap(257, 255);
    wrap.push_back(1);  // 257 * 255 + 1 = 65536
    EXPECT_EQ(ProgramChecksum(wrap.data(), wrap.size()), 65535);
    // Words are high byte first.
    std::vector<uint8_t> words = {0x12, 0x34, 0x00, 0x01};
    EXPECT_EQ(LogicChecksum(words.data(), words.size()), 0x1235);
    std::vector<uint8_t> wrapWords = {0xFF, 0xFF, 0x00, 0x01};
    EXPECT_EQ(LogicChecksum(wrapWords.data(), wrapWords.size()), 65535);
}

TEST(Checksums, ReceivedDataThatDoesNotAddUpArrivesEmpty) {
    TestSession t;
    auto& tb = t.s.config.TransferBuffer;
    // Programs: 336 bytes + checksum.
    for (int i = 1; i <= 336; ++i) tb[i] = static_cast<Cell>(i % 7);
    uint16_t sum = ProgramChecksum(tb, 1, 336);
    tb[337] = static_cast<Cell>(sum >> 8);
    tb[338] = static_cast<Cell>(sum & 0xFF);
    EXPECT_TRUE(CheckReceivedPrograms(tb, 338));
    EXPECT_EQ(tb[5], 5);
    tb[338] = static_cast<Cell>((tb[338] + 1) & 0xFF);
    EXPECT_FALSE(CheckReceivedPrograms(tb, 338));
    for (int i = 1; i <= 338; ++i) ASSERT_EQ(tb[i], 255);

    // Logics: 1960 bytes + checksum.
    for (int i = 1; i <= 1960; ++i) tb[i] = static_cast<Cell>((i * 13) & 0xFF);
    uint16_t lsum = LogicChecksum(tb, 1, 1960);
    tb[1961] = static_cast<Cell>(lsum >> 8);
    tb[1962] = static_cast<Cell>(lsum & 0xFF);
    EXPECT_TRUE(CheckReceivedLogics(tb, 1962));
    tb[100] = static_cast<Cell>(tb[100] ^ 1);
    EXPECT_FALSE(CheckReceivedLogics(tb, 1962));
    for (int i = 1; i <= 1962; ++i) ASSERT_EQ(tb[i], 0);
}

TEST(Checksums, ProgramTableValidation) {
    TestSession t;
    auto& table = t.s.config.ClockProgramTable;
    // All program bytes 0: valid only with 255, 255.
    table.Fill(0);
    table[337] = 255;
    table[338] = 255;
    EXPECT_TRUE(ValidateProgramTable(table));
    table[338] = 0;
    EXPECT_FALSE(ValidateProgramTable(table));
    for (int i = 1; i <= 338; ++i) ASSERT_EQ(table[i], 255);
    // Sealing the emptied table gives 78, 176.
    SealProgramTable(table);
    EXPECT_EQ(table[337], 78);
    EXPECT_EQ(table[338], 176);
    EXPECT_TRUE(ValidateProgramTable(table));
}

// The committed DEFAULT set has the specified sizes and valid checksums.
TEST(DefaultSet, SizesAndChecksums) {
    std::string base = std::string(CFG_SOURCE_DIR) + "/data/DEFAULT";
    auto cy2 = ReadAll(base + ".CY2"), py2 = ReadAll(base + ".PY2"), uy2 = ReadAll(base + ".UY2"),
         my2 = ReadAll(base + ".MY2");
    ASSERT_EQ(cy2.size(), 2981u);
    ASSERT_EQ(py2.size(), 384u);
    ASSERT_EQ(uy2.size(), 1962u);
    ASSERT_EQ(my2.size(), 7280u);
    uint16_t p = ProgramChecksum(py2.data(), 336);
    EXPECT_EQ(py2[336], p >> 8);
    EXPECT_EQ(py2[337], p & 0xFF);
    uint16_t u = LogicChecksum(uy2.data(), 1960);
    EXPECT_EQ(uy2[1960], u >> 8);
    EXPECT_EQ(uy2[1961], u & 0xFF);
    // No sensors, no programs, no logics, blank texts.
    EXPECT_TRUE(std::all_of(cy2.begin() + 512, cy2.begin() + 1312, [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(py2.begin(), py2.begin() + 336, [](uint8_t b) { return b == 255; }));
    EXPECT_TRUE(std::all_of(uy2.begin(), uy2.begin() + 1960, [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(my2.begin(), my2.end(), [](uint8_t b) { return b == ' '; }));
}
