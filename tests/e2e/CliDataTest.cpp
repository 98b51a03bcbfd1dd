// cfgvimo-cli backups and compare end to end: the executable against a
// vimo-sim on a pseudo-terminal, and on file sets alone.
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CliHarness.h"
#include "SimPort.h"
#include "TestFiles.h"
#include "TestSession.h"

namespace fs = std::filesystem;

namespace {

using cfg::test::ReadAll;
using cfg::test::ReadText;
using cfg::test::WriteAll;
using cfg::test::CliRun;

class CliData : public cfg::test::CliFixture {
protected:
    void CopySet(const std::string& from, const std::string& to) {
        for (const char* e : {".CY2", ".PY2", ".UY2", ".MY2"}) fs::copy_file(from + e, to + e);
    }
};

}  // namespace

TEST_F(CliData, CompareExitCodesAndReport) {
    CopySet(prog + "/DEFAULT", W("A"));
    CopySet(prog + "/DEFAULT", W("B"));
    CliRun r = Cli({"compare", "A", "B"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("No differences."), std::string::npos) << r.out;

    std::vector<uint8_t> texts = ReadAll(W("B.MY2"));
    texts[0] = 'Q';
    WriteAll(W("B.MY2"), texts);
    r = Cli({"compare", "A", "B", "--output", "diff.txt"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_TRUE(r.out.empty());
    const std::string report = ReadText(W("diff.txt"));
    EXPECT_NE(report.find("Differences: 1"), std::string::npos) << report;
    EXPECT_NE(report.find("Display messages\n  POINT DESCRIPTIONS \xE2\x80\xBA Point no. 1: \"                \" \xE2\x86\x92 \"Q               \""), std::string::npos)
        << report;

    // An existing report is replaced only with --yes.
    EXPECT_EQ(Cli({"compare", "A", "B", "--output", "diff.txt"}).exitCode, 2);
    EXPECT_EQ(Cli({"--yes", "compare", "A", "B", "--output", "diff.txt"}).exitCode, 1);
    EXPECT_EQ(Cli({"compare", "A", "NOTHERE"}).exitCode, 2);
    EXPECT_EQ(Cli({"compare"}).exitCode, 2);
    EXPECT_EQ(Cli({"compare", "A", "B", "C"}).exitCode, 2);
    r = Cli({"--help"});
    EXPECT_NE(r.out.find("compare A [B]"), std::string::npos);
    EXPECT_NE(r.out.find("backups"), std::string::npos);
}

// Over a real pseudo-terminal: a receive keeps a backup, a send takes one
// before it only when asked to, and a set is compared with the panel.
TEST_F(CliData, BackupsAndCompareAgainstThePanel) {
    CFG_NEEDS_SIM_PORT();
    cfg::test::CliSim sim({"--pty"});
    ASSERT_FALSE(sim.PtyPath().empty()) << "vimo-sim did not start";
    const QStringList port{"--port", sim.Port(), "--plant-code", "11"};

    CliRun r = Cli({"backups"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("There are no backups yet"), std::string::npos) << r.out;

    r = Cli(port + QStringList{"receive", "site"});
    if (r.err.find("no serial port support") != std::string::npos) GTEST_SKIP() << "built without the serial port";
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Cli(port + QStringList{"compare", "site"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;

    std::vector<uint8_t> texts = ReadAll(W("SITE.MY2"));
    texts[16 * 16] = 'K';
    WriteAll(W("SITE.MY2"), texts);
    r = Cli(port + QStringList{"compare", "site"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.out.find("\"Kocale UPS    17\" \xE2\x86\x92 \"Locale UPS    17\""), std::string::npos) << r.out;

    r = Cli(port + QStringList{"--yes", "send", "site", "--parts", "MY2"});  // no backup kept or asked for
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Cli(port + QStringList{"--yes", "--backup", "send", "site", "--parts", "MY2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    // The receive, two compares and the send with --backup: four sets, the
    // newest first, beside the settings file.
    r = Cli({"backups"});
    ASSERT_EQ(r.exitCode, 0);
    std::vector<std::string> lines;
    for (std::size_t from = 0, nl; (nl = r.out.find('\n', from)) != std::string::npos; from = nl + 1)
        lines.push_back(r.out.substr(from, nl - from));
    ASSERT_EQ(lines.size(), 6u) << r.out;
    EXPECT_EQ(lines[0], "Folder: " + prog + "/backups");
    EXPECT_EQ(lines[1].rfind("Date", 0), 0u);
    EXPECT_NE(lines[2].find("DEMO UFFICI ROMA"), std::string::npos) << lines[2];
    EXPECT_NE(lines[2].find("VS24000137"), std::string::npos);
    EXPECT_NE(lines[2].find("before a send"), std::string::npos);
    EXPECT_NE(lines[2].find("CY2 MY2"), std::string::npos);
    for (int i = 3; i <= 5; ++i) EXPECT_NE(lines[static_cast<std::size_t>(i)].find("received from the panel"), std::string::npos);
    EXPECT_GE(lines[2].substr(0, 19), lines[5].substr(0, 19));
}
