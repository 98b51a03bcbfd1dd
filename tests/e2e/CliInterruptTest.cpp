// Ctrl+C and SIGTERM while cfgvimo-cli talks to a panel: the command stops
// as after the abort button, the panel leaves programming mode, a receive
// keeps the old set with no temporary file, a send says what reached the
// panel, and the exit status is 1; a --watch ends with 0. The panel is a
// vimo-sim on a pseudo-terminal paced at 9600 baud, asked for its state on
// its standard input.
#include <QProcess>
#include <QStringList>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "CliHarness.h"
#include "SimPort.h"
#include "TestFiles.h"

namespace fs = std::filesystem;

namespace cfg::test {
namespace {

using Bytes = std::vector<uint8_t>;

// vimo-sim with the sample plant, paced like a real line, taking "status"
// on its standard input.
class PacedSim {
public:
    PacedSim() {
        p_.setProgram(QStringLiteral(CFG_BIN_DIR "/vimo-sim"));
        p_.setArguments({"--pty", "--sample", "--baud", "9600", "--stdin-quit"});
        p_.start();
        if (!p_.waitForStarted(5000)) return;
        path_ = ReadLine();
    }
    ~PacedSim() {
        p_.kill();
        p_.waitForFinished(5000);
    }
    QStringList Port() const { return {"--port", QString::fromStdString(path_), "--plant-code", "11"}; }
    bool Started() const { return !path_.empty(); }

    // The simulator's status line: "address 1, plant code 11[, programming
    // mode]; frames N, ...".
    std::string Status() {
        p_.write("status\n");
        p_.waitForBytesWritten(1000);
        for (int i = 0; i < 20; ++i) {
            const std::string line = ReadLine();
            if (line.rfind("address", 0) == 0) return line;
        }
        return {};
    }
    bool Programming() { return Status().find("programming mode") != std::string::npos; }
    int Frames() {
        const std::string st = Status();
        const auto at = st.find("frames ");
        return at == std::string::npos ? -1 : std::stoi(st.substr(at + 7));
    }

private:
    std::string ReadLine() {
        while (!p_.canReadLine() && p_.waitForReadyRead(5000)) {
        }
        return QString::fromLocal8Bit(p_.readLine()).trimmed().toStdString();
    }
    QProcess p_;
    std::string path_;
};

class CliInterruptTest : public CliFixture {
protected:
    // Starts cfgvimo-cli, sends `signal` once the panel has taken `frames`
    // frames of it, and waits for its end.
    CliRun InterruptAfter(PacedSim& sim, const QStringList& args, int frames, int signal) {
        QProcess p;
        if (!StartCli(p, args)) return {};
        const int start = sim.Frames();
        for (int i = 0; i < 400 && sim.Frames() - start < frames && p.state() == QProcess::Running; ++i)
            QThread::msleep(50);
        EXPECT_EQ(p.state(), QProcess::Running) << "the command ended before the signal";
#ifdef _WIN32
        (void)signal;  // the tests skip there: vimo-sim serves no pty on Windows
#else
        ::kill(static_cast<pid_t>(p.processId()), signal);
#endif
        return Finish(p, 30000, "did not end after the signal");
    }
};

TEST_F(CliInterruptTest, CtrlCDuringAReceiveKeepsTheOldSetAndReleasesThePanel) {
    CFG_NEEDS_SIM_PORT();
    PacedSim sim;
    ASSERT_TRUE(sim.Started()) << "vimo-sim did not start";
    const char* ext[] = {".CY2", ".PY2", ".UY2", ".MY2"};
    for (int i = 0; i < 4; ++i) WriteAll(W(std::string("SITE") + ext[i]), Bytes(100 + static_cast<std::size_t>(i), 0x5A));

    const CliRun r = InterruptAfter(sim, sim.Port() + QStringList{"--yes", "receive", "SITE"}, 12, SIGINT);
    if (r.err.find("no serial port support") != std::string::npos) GTEST_SKIP() << "built without the serial port";
    EXPECT_EQ(r.exitCode, 1) << r.err;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ReadAll(W(std::string("SITE") + ext[i])), Bytes(100 + static_cast<std::size_t>(i), 0x5A)) << ext[i];
    for (const auto& e : fs::directory_iterator(work)) EXPECT_NE(e.path().extension(), ".PART") << e.path();
    EXPECT_FALSE(sim.Programming()) << r.err;
}

TEST_F(CliInterruptTest, SigtermDuringASendSaysWhatReachedThePanelAndReleasesIt) {
    CFG_NEEDS_SIM_PORT();
    PacedSim sim;
    ASSERT_TRUE(sim.Started()) << "vimo-sim did not start";
    ASSERT_EQ(Cli({"create", "SET"}).exitCode, 0);

    const CliRun r = InterruptAfter(sim, sim.Port() + QStringList{"--yes", "send", "SET"}, 12, SIGTERM);
    if (r.err.find("no serial port support") != std::string::npos) GTEST_SKIP() << "built without the serial port";
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("Parts the panel received completely:"), std::string::npos) << r.err;
    EXPECT_FALSE(sim.Programming()) << r.err;
}

TEST_F(CliInterruptTest, CtrlCEndsAWatchAndReleasesThePanel) {
    CFG_NEEDS_SIM_PORT();
    PacedSim sim;
    ASSERT_TRUE(sim.Started()) << "vimo-sim did not start";
    const CliRun r =
        InterruptAfter(sim, sim.Port() + QStringList{"--watch", "1", "loop", "1", "errors"}, 16, SIGINT);
    if (r.err.find("no serial port support") != std::string::npos) GTEST_SKIP() << "built without the serial port";
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\n\n"), std::string::npos) << "more than one round: " << r.out;
    EXPECT_FALSE(sim.Programming()) << r.err;
}

}  // namespace
}  // namespace cfg::test
