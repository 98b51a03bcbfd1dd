// The rows of the fault matrix that need a real port: the panel's end of a
// pseudo-terminal (vimo-sim) disappears half-way through a receive or a
// send, killed outright or told to quit, at a seeded point of the transfer.
// Each case must end on its own with the "no reply" status and message, a
// failed receive must leave the previous set as it was with no temporary
// file behind, and the table of outcomes is printed.
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "TestFiles.h"
#include "TestSession.h"
#include "SimPort.h"
#include "platform/SerialTransport.h"
#include "shell/Clock.h"
#include "transfer/Commands.h"

namespace fs = std::filesystem;

namespace cfg {
namespace {

using Bytes = std::vector<uint8_t>;

enum class Ending { Killed, Quit };

// vimo-sim on a pseudo-terminal, with the demonstration plant, taking
// commands on its standard input.
class SimProcess {
public:
    SimProcess() {
        sim_.setProgram(QStringLiteral(CFG_BIN_DIR "/vimo-sim"));
        sim_.setArguments({"--pty", "--sample", "--address", "1", "--plant-code", "11", "--stdin-quit"});
        sim_.start();
        if (!sim_.waitForStarted(5000)) return;
        while (!sim_.canReadLine() && sim_.waitForReadyRead(5000)) {
        }
        path_ = QString::fromLocal8Bit(sim_.readLine()).trimmed().toStdString();
    }
    ~SimProcess() {
        if (sim_.state() != QProcess::NotRunning) {
            sim_.kill();
            sim_.waitForFinished(5000);
        }
    }
    const std::string& Path() const { return path_; }
    // The panel's end of the line goes away.
    void End(Ending how) {
        if (how == Ending::Killed) {
            sim_.kill();
        } else {
            sim_.write("quit\n");
            sim_.waitForBytesWritten(1000);
        }
        sim_.waitForFinished(5000);
    }
    bool Running() const { return sim_.state() != QProcess::NotRunning; }

private:
    QProcess sim_;
    std::string path_;
};

class PortVanishesTest : public ::testing::Test {
protected:
    // Real time: the far end is a real process.
    SystemClock clock;
    SerialTransport port;
};

struct Row {
    std::string operation, ending;
    int status = -1;
    std::string message, files, remark;
    std::string later;  // the ids of the boxes after the first
    double seconds = 0;
};

std::string Cell(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') continue;
        out += c == '\r' ? '/' : c;
    }
    return out.empty() ? "-" : out;
}

// The set a failed receive must leave untouched.
void WriteOldSet(const std::string& base) {
    const char* ext[] = {".CY2", ".PY2", ".UY2", ".MY2"};
    for (int i = 0; i < 4; ++i) test::WriteAll(base + ext[i], Bytes(100 + static_cast<std::size_t>(i), 0x5A));
}

bool OldSetIntact(const std::string& base) {
    const char* ext[] = {".CY2", ".PY2", ".UY2", ".MY2"};
    for (int i = 0; i < 4; ++i)
        if (test::ReadAll(base + ext[i]) != Bytes(100 + static_cast<std::size_t>(i), 0x5A)) return false;
    for (const auto& e : fs::directory_iterator(fs::path(base).parent_path()))
        if (e.path().extension() == ".PART") return false;
    return true;
}

// Runs a receive or a send and ends the panel's side when the busy line has
// changed `after` times (each block of the transfer shows its own line).
Row RunVanishing(test::TestSession& t, bool receive, Ending how, int after) {
    Session& s = t.s;
    SimProcess sim;
    Row row;
    row.operation = receive ? "receive-all" : "send-all";
    row.ending = std::string(how == Ending::Killed ? "killed" : "quit") + " at busy line " + std::to_string(after);
    EXPECT_FALSE(sim.Path().empty()) << "vimo-sim did not start";
    if (sim.Path().empty()) return row;
    s.settings.CommPortName = sim.Path();
    const std::string base = t.folder.File(receive ? "SITE" : "SET");
    if (receive) {
        WriteOldSet(base);
    } else {
        // A whole set to send: what the panel has, received first.
        t.ui.AnswerNumber(1);
        t.ui.choiceAnswers.push_back(0);
        t.ui.saveFileAnswers.push_back(base);
        EXPECT_EQ(ReceiveConfiguration(s).status, 255) << t.ui.AllMessages();
        t.ui.messages.clear();
    }
    bool ended = false;
    const std::size_t shownBefore = t.ui.statusHistory.size();
    t.ui.onProcessEvents = [&] {
        if (!ended && t.ui.statusHistory.size() - shownBefore >= static_cast<std::size_t>(after)) {
            ended = true;
            sim.End(how);
        }
    };
    t.ui.AnswerNumber(1);
    t.ui.choiceAnswers.push_back(0);
    (receive ? t.ui.saveFileAnswers : t.ui.openFileAnswers).push_back(base);
    const auto start = std::chrono::steady_clock::now();
    const OpResult result = receive ? ReceiveConfiguration(s) : SendConfiguration(s);
    row.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    t.ui.onProcessEvents = nullptr;
    EXPECT_TRUE(ended) << row.ending << ": the transfer ended before the panel went away";
    EXPECT_FALSE(sim.Running());
    row.status = result.status;
    for (const auto& m : t.ui.messages) {
        if (m.buttons != MsgButtons::Ok || m.icon == MsgIcon::Information) continue;
        if (row.message.empty()) row.message = m.text;
        else row.later += (row.later.empty() ? "" : " + ") + Cell(m.text.substr(0, 4));
    }
    row.files = receive ? (OldSetIntact(base) ? "same" : "CHANGED!") : "-";
    return row;
}

TEST_F(PortVanishesTest, TransfersEndWhenThePanelsEndOfTheLineGoesAway) {
    CFG_NEEDS_SIM_PORT();
    std::mt19937 rng(1616);
    struct Plan {
        bool receive;
        Ending how;
    };
    const Plan plans[] = {{true, Ending::Killed}, {true, Ending::Quit}, {false, Ending::Killed}};
    std::vector<Row> rows;
    for (const Plan& p : plans) {
        // A point inside the blocks of the transfer, past the connection.
        const int after = std::uniform_int_distribution<int>(8, 40)(rng);
        test::TestSession fresh;
        fresh.s.clock = &clock;
        fresh.s.transport = &port;
        fresh.s.settings.PlantCode = "11";
        fresh.s.settings.BaudRate = "9600";
        Row row = RunVanishing(fresh, p.receive, p.how, after);
        row.remark = std::string(p.receive ? "previous set kept" : "parts reported") + "; then " + row.later;
        const std::string where = row.operation + " / " + row.ending;
        EXPECT_EQ(row.status, 129) << where << ": " << fresh.ui.AllMessages();
        EXPECT_EQ(row.message, "1381\r1382") << where << ": " << fresh.ui.AllMessages();
        if (p.receive) {
            EXPECT_EQ(row.files, "same") << where;
        } else {
            EXPECT_TRUE(fresh.ui.Showed("1900")) << where << ": " << fresh.ui.AllMessages();
        }
        rows.push_back(row);
        port.Close();
    }
    std::printf("\nFault matrix: the port vanishes (real pty, vimo-sim)\n%-11s %-30s %6s  %-22s %-8s %-6s %8s  %s\n",
                "operation", "fault", "status", "first message", "released", "files", "wall s", "remark");
    for (const Row& r : rows)
        std::printf("%-11s %-30s %6d  %-22s %-8s %-6s %8.1f  %s\n", r.operation.c_str(), r.ending.c_str(), r.status,
                    Cell(r.message).c_str(), "n/a", r.files.c_str(), r.seconds, r.remark.c_str());
}

}  // namespace
}  // namespace cfg
