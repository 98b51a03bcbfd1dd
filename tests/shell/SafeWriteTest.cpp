// Files written whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "DiskFull.h"
#include "TestFiles.h"
#include "TestSession.h"
#include "shell/SafeWrite.h"

namespace cfg::test {
namespace {

namespace fs = std::filesystem;

std::size_t FilesIn(const std::string& folder) {
    std::size_t n = 0;
    for (const auto& e : fs::directory_iterator(folder)) n += e.is_regular_file() ? 1 : 0;
    return n;
}

TEST(SafeWriteTest, ReplacesTheFileAndLeavesNoTemporary) {
    TempFolder f;
    const std::string path = f.File("REPORT.TXT");
    ASSERT_FALSE(WriteFileWhole(path, "old content\n"));
    ASSERT_FALSE(WriteFileWhole(path, "new\n"));
    EXPECT_EQ(ReadText(path), "new\n");
    EXPECT_EQ(FilesIn(f.Path()), 1u);
}

TEST(SafeWriteTest, AFullDiskLeavesTheOldFileWhole) {
    TempFolder f;
    const std::string path = f.File("REPORT.TXT");
    const std::string old(3000, 'a');
    ASSERT_FALSE(WriteFileWhole(path, old));
    {
        DiskFull full(4096);
        if (!full.Available()) GTEST_SKIP() << "no file size limit on this system";
        EXPECT_TRUE(WriteFileWhole(path, std::string(12000, 'b')));
    }
    EXPECT_EQ(ReadText(path), old);
    EXPECT_EQ(FilesIn(f.Path()), 1u) << "the temporary is removed";
}

TEST(SafeWriteTest, AFolderInTheWayOrAMissingFolderIsAnError) {
    TempFolder f;
    fs::create_directories(f.File("dir"));
    EXPECT_TRUE(WriteFileWhole(f.File("dir"), "x"));
    EXPECT_TRUE(fs::is_directory(f.File("dir")));
    EXPECT_TRUE(WriteFileWhole(f.File("missing/file.txt"), "x"));
    EXPECT_EQ(FilesIn(f.Path()), 0u);
}

TEST(SafeWriteTest, TemporaryNamesAreUniqueAndBesideTheTarget) {
    TempFolder f;
    std::set<std::string> names;
    for (int i = 0; i < 50; ++i) {
        const std::string t = TemporaryPathFor(f.File("A.CY2"));
        EXPECT_EQ(fs::path(t).parent_path(), fs::path(f.File("A.CY2")).parent_path());
        EXPECT_NE(t.find("." + std::to_string(CurrentProcessId()) + "-"), std::string::npos) << t;
        names.insert(t);
    }
    EXPECT_EQ(names.size(), 50u);
    EXPECT_TRUE(ProcessMayBeRunning(CurrentProcessId()));
}

}  // namespace
}  // namespace cfg::test
