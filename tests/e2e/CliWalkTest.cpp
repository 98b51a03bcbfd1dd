// cfgvimo-cli loop MODULE walktest end to end: the executable against a
// vimo-sim that plays a walker on a pseudo-terminal, ended with Ctrl+C.
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "CliHarness.h"
#include "SimPort.h"
#include "TestFiles.h"
#include "TestSession.h"

namespace fs = std::filesystem;

namespace {

using cfg::test::CliRun;
using cfg::test::ReadText;

class CliWalk : public cfg::test::CliFixture {};

TEST_F(CliWalk, ExistingReportFileNeedsYesBeforeAnythingTalksToThePanel) {
    std::ofstream(W("walk.csv")) << "old";
    // No port at all: the check comes first.
    CliRun r = Cli({"--port", "/dev/null/none", "loop", "1", "walktest", "--csv", "walk.csv"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("walk.csv exists; --yes replaces it"), std::string::npos) << r.err;
    EXPECT_EQ(ReadText(W("walk.csv")), "old");
    r = Cli({"loop", "1", "list", "--minutes", "3"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("go with walktest"), std::string::npos) << r.err;
}

// The walker sets off one device a second; Ctrl+C ends the test after a
// few: the points tested so far were printed as they came, the summary and
// the CSV name every configured point, and the exit status says that not
// every point was tested.
TEST_F(CliWalk, PrintsEachTestedPointAndEndsOnCtrlCWithTheReport) {
    CFG_NEEDS_SIM_PORT();
    cfg::test::CliSim sim({"--pty", "--walk", "1"});
    ASSERT_FALSE(sim.PtyPath().empty()) << "vimo-sim did not start";
    QProcess p;
    ASSERT_TRUE(StartCli(p, {"--port", sim.Port(), "--plant-code", "11", "loop", "1", "walktest", "--csv", "walk.csv"}));
    std::string out;
    for (int i = 0; i < 200 && out.find("ALARM") == std::string::npos; ++i) {
        p.waitForReadyRead(100);
        out += p.readAllStandardOutput().toStdString();
    }
    if (p.state() != QProcess::Running && out.find("no serial port support") == std::string::npos)
        out += p.readAllStandardError().toStdString();
    ASSERT_NE(out.find("ALARM: tested"), std::string::npos) << out;
#ifndef _WIN32
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
#endif
    ASSERT_TRUE(p.waitForFinished(30000));
    out += p.readAllStandardOutput().toStdString();
    const std::string err = p.readAllStandardError().toStdString();
    EXPECT_EQ(p.exitCode(), 1) << out << err;
    EXPECT_NE(out.find("Loop module 1: Tested 0 of "), std::string::npos) << out;
    EXPECT_NE(out.find("Points not tested:"), std::string::npos) << out;
    const std::string csv = ReadText(W("walk.csv"));
    EXPECT_EQ(csv.substr(0, 3 + 48), "\xEF\xBB\xBFmodule;point;description;tested;time;peak;faults") << csv;
    EXPECT_NE(csv.find(";yes;"), std::string::npos) << csv;
    EXPECT_NE(csv.find(";no;"), std::string::npos) << csv;
    // The record stays beside the settings file for --continue.
    bool record = false;
    for (const auto& e : fs::directory_iterator(prog)) record |= e.path().filename().string().rfind("WALKTEST_", 0) == 0;
    EXPECT_TRUE(record);
}

}  // namespace
