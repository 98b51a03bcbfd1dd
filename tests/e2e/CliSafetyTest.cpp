// cfgvimo-cli with damaged sets, a full disk, the template set and odd
// paths: nothing is lost and nothing damaged reaches the panel unnoticed.
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliHarness.h"
#include "DiskFull.h"
#include "SimPort.h"
#include "TestFiles.h"
#include "TestSession.h"

namespace fs = std::filesystem;

namespace {

using cfg::test::CliRun;
using cfg::test::ReadAll;
using cfg::test::ReadText;
using cfg::test::WriteAll;

class CliSafety : public cfg::test::CliFixture {
protected:
    void CopyDefault(const std::string& to) {
        for (const char* e : {".CY2", ".PY2", ".UY2", ".MY2"}) fs::copy_file(prog + "/DEFAULT" + e, W(to + e));
    }
    bool Has(const CliRun& r, const std::string& text) const { return r.err.find(text) != std::string::npos; }
};

}  // namespace

// A full disk (files cannot grow past 4 KB) leaves every old file whole and
// adds no empty one.
TEST_F(CliSafety, AFullDiskLeavesTheOldFiles) {
    CopyDefault("A");
    ASSERT_EQ(Cli({"print", "A"}).exitCode, 0);
    const std::string report = ReadText(W("A.TXT"));
    ASSERT_GT(report.size(), 8000u);
    WriteAll(W("A.TXT"), std::vector<uint8_t>(3000, 'o'));
    WriteAll(W("texts.csv"), std::vector<uint8_t>(100, 'o'));
    {
        cfg::test::DiskFull full(4096);
        if (!full.Available()) GTEST_SKIP() << "no file size limit on this system";
        EXPECT_NE(Cli({"--yes", "print", "A"}).exitCode, 0);
        EXPECT_NE(Cli({"--yes", "messages", "export", "A", "texts.csv"}).exitCode, 0);
        EXPECT_NE(Cli({"create", "NEWSET"}).exitCode, 0);
    }
    {
        // The comparison of a set with itself is a short report: a smaller
        // limit still stops it.
        cfg::test::DiskFull full(16);
        EXPECT_NE(Cli({"--yes", "compare", "A", "A", "--output", "texts.csv"}).exitCode, 0);
    }
    EXPECT_EQ(ReadAll(W("A.TXT")), std::vector<uint8_t>(3000, 'o'));
    EXPECT_EQ(ReadAll(W("texts.csv")), std::vector<uint8_t>(100, 'o'));
    EXPECT_FALSE(fs::exists(W("NEWSET.MY2")));  // 7280 bytes: never a part of it
    for (const auto& e : fs::directory_iterator(work))
        EXPECT_NE(e.path().extension(), ".tmp") << e.path();
}

// A damaged or foreign file is named; send, print, compare and export go
// on only with --force.
TEST_F(CliSafety, DamagedFilesAreNamedBeforeTheyAreUsed) {
    CopyDefault("A");
    std::vector<uint8_t> main = ReadAll(W("A.CY2"));
    main.resize(2000);
    WriteAll(W("A.CY2"), main);
    CliRun r = Cli({"print", "A", "--output", "-"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r, "A.CY2: wrong size: 2000 bytes instead of 2981")) << r.err;
    EXPECT_TRUE(Has(r, "--force")) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(Cli({"--force", "print", "A", "--output", "-"}).exitCode, 0);
    CopyDefault("B");
    EXPECT_EQ(Cli({"compare", "A", "B"}).exitCode, 2);

    std::vector<uint8_t> texts = ReadAll(W("B.MY2"));
    texts.resize(4800);
    WriteAll(W("B.MY2"), texts);
    r = Cli({"messages", "export", "B", "t.csv"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r, "B.MY2: wrong size: 4800 bytes instead of 7280")) << r.err;
    EXPECT_FALSE(fs::exists(W("t.csv")));
}

TEST_F(CliSafety, SendChecksEverySetFileFirst) {
    CFG_NEEDS_SIM_PORT();
    cfg::test::CliSim sim({"--pty"});
    ASSERT_FALSE(sim.PtyPath().empty()) << "vimo-sim did not start";
    const QStringList port{"--port", sim.Port(), "--plant-code", "11"};
    CliRun r = Cli(port + QStringList{"receive", "site"});
    if (Has(r, "no serial port support")) GTEST_SKIP() << "built without the serial port";
    ASSERT_EQ(r.exitCode, 0) << r.err;

    std::vector<uint8_t> logics = ReadAll(W("SITE.UY2"));
    logics[10] ^= 0x40;
    WriteAll(W("SITE.UY2"), logics);
    r = Cli(port + QStringList{"--yes", "send", "site"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r, "SITE.UY2: the logics do not match their checksum")) << r.err;
    EXPECT_FALSE(Has(r, "Send complete")) << r.err;

    std::vector<uint8_t> random(2981);
    uint32_t x = 7;
    for (auto& b : random) b = static_cast<uint8_t>((x = x * 1103515245u + 12345u) >> 16);
    WriteAll(W("SITE.CY2"), random);
    r = Cli(port + QStringList{"--yes", "send", "site", "--parts", "CY2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r, "SITE.CY2: holds no identification")) << r.err;

    // The panel still holds its own: a new receive gives the old logics.
    r = Cli(port + QStringList{"receive", "again"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    logics[10] ^= 0x40;
    EXPECT_EQ(ReadAll(W("AGAIN.UY2")), logics);

    // DEFAULT is the template: --yes alone does not replace it.
    r = Cli(port + QStringList{"--yes", "receive", "DEFAULT"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r, "--template")) << r.err;
    EXPECT_FALSE(fs::exists(W("DEFAULT.CY2")));
    EXPECT_EQ(Cli(port + QStringList{"--template", "receive", "DEFAULT"}).exitCode, 0);
    EXPECT_TRUE(fs::exists(W("DEFAULT.CY2")));
}

TEST_F(CliSafety, TheTemplateAndOddPathsAreRefusedAtOnce) {
    CopyDefault("A");
    WriteAll(W("t.csv"), {'1', ';', '1', ';', 'X', '\n'});
    CliRun r = Cli({"messages", "import", "DEFAULT", "t.csv"}, 20000);
    EXPECT_EQ(r.exitCode, 1);
    fs::copy_file(prog + "/DEFAULT.MY2", W("DEFAULT.MY2"));
    r = Cli({"messages", "import", QString::fromStdString(W("DEFAULT")), "t.csv"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r, "template")) << r.err;
    EXPECT_EQ(ReadAll(W("DEFAULT.MY2")), ReadAll(prog + "/DEFAULT.MY2"));

    fs::create_directories(W("folder.csv"));
    // Refused before being opened: /dev/zero would never end.
    EXPECT_EQ(Cli({"messages", "import", "A", "folder.csv"}, 20000).exitCode, 1);
    EXPECT_EQ(Cli({"messages", "import", "A", "/dev/zero"}, 20000).exitCode, 1);

    // An export does not replace a file without --yes.
    ASSERT_EQ(Cli({"messages", "export", "A", "out.csv"}).exitCode, 0);
    WriteAll(W("out.csv"), {'k'});
    r = Cli({"messages", "export", "A", "out.csv"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r, "--yes")) << r.err;
    EXPECT_EQ(ReadText(W("out.csv")), "k");

    r = Cli({"create", "site.v2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r, "must not contain a dot")) << r.err;
    EXPECT_FALSE(fs::exists(W("SITE.CY2")));
}
