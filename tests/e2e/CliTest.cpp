// cfgvimo-cli end to end: the real executable against a vimo-sim process,
// over the relay files and over a pseudo-terminal, and on files alone.
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
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

using Bytes = std::vector<uint8_t>;

using cfg::test::ReadAll;
using cfg::test::WriteAll;
using cfg::test::CliRun;
using Sim = cfg::test::CliSim;

class CliEndToEnd : public cfg::test::CliFixture {};

const char* kExt[] = {".CY2", ".PY2", ".UY2", ".MY2"};

}  // namespace

TEST_F(CliEndToEnd, RelayReceiveSendReceive) {
    WriteRelayParameters(11);
    Sim sim(Sim::Relay(prog));
    ASSERT_TRUE(sim.Started());

    CliRun r = Cli({"--relay", "receive", "site"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(fs::file_size(W("SITE.CY2")), 2981u);
    EXPECT_EQ(fs::file_size(W("SITE.PY2")), 384u);
    EXPECT_EQ(fs::file_size(W("SITE.UY2")), 1962u);
    EXPECT_EQ(fs::file_size(W("SITE.MY2")), 7280u);

    // An existing set is not overwritten without --yes.
    Bytes before = ReadAll(W("SITE.MY2"));
    r = Cli({"--relay", "receive", "site", "--parts", "MY2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("-> no"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("not done"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(W("SITE.MY2")), before);

    r = Cli({"--relay", "send", "SITE"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Cli({"--relay", "--yes", "receive", "again", "--parts", "all"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* e : kExt) EXPECT_EQ(ReadAll(W(std::string("SITE") + e)), ReadAll(W(std::string("AGAIN") + e))) << e;

    r = Cli({"--relay", "ident"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("VIMO-SYS"), std::string::npos) << r.out;
}

TEST_F(CliEndToEnd, RelayNeedsItsParameterFile) {
    CliRun r = Cli({"--relay", "ident"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Par_app.tmp"), std::string::npos) << r.err;
}

TEST_F(CliEndToEnd, PtyTransferClockAndAccessCode) {
    CFG_NEEDS_SIM_PORT();
    Sim sim({"--pty", "--access-code", "4321"});
    ASSERT_FALSE(sim.PtyPath().empty()) << "vimo-sim did not start";
    QStringList port{"--port", QString::fromStdString(sim.PtyPath()), "--plant-code", "11"};

    CliRun r = Cli(port + QStringList{"ident"});
    if (r.err.find("no serial port support") != std::string::npos) GTEST_SKIP() << "built without the serial port";
    // The panel asks for its access code: without one nothing is read.
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("--access-code"), std::string::npos) << r.err;

    port << "--access-code" << "4321";
    r = Cli(port + QStringList{"receive", "pty"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(fs::file_size(W("PTY.MY2")), 7280u);
    r = Cli(port + QStringList{"send", "pty", "--parts", "CY2,MY2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    // A leap day, a Thursday, whatever day it is today.
    r = Cli(port + QStringList{"clock", "set", "2024-02-29 23:59:58"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Thu   29/02/24"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("23:59:"), std::string::npos) << r.out;
    r = Cli(port + QStringList{"clock", "set", "2025-06-01 08:30:00"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Sun    1/06/25"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("8:30:"), std::string::npos) << r.out;
    r = Cli(port + QStringList{"clock", "show"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(CliEndToEnd, CreateAndCopyWithoutAPanel) {
    CliRun r = Cli({"create", "north"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* e : kExt)
        EXPECT_EQ(ReadAll(W(std::string("NORTH") + e)), ReadAll(prog + "/DEFAULT" + e)) << e;
    r = Cli({"create", "default"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(fs::exists(W("DEFAULT.CY2")));

    r = Cli({"copy", "north", "south"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Cli({"copy", "north", "south"});
    EXPECT_EQ(r.exitCode, 1);
    r = Cli({"--yes", "copy", "north", "south"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    r = Cli({"copy", "nowhere", "west"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.empty());

    EXPECT_EQ(Cli({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(Cli({"receive"}).exitCode, 2);
    EXPECT_EQ(Cli({"--parts", "XY2", "send", "x"}).exitCode, 2);
    EXPECT_EQ(Cli({"clock", "set", "2025-13-01 00:00:00"}).exitCode, 2);
    EXPECT_EQ(Cli({"clock", "set", "2023-02-29 00:00:00"}).exitCode, 2) << "not a leap year";
}

TEST_F(CliEndToEnd, LoopViewsAutoConfigurationAndResetsOnThePanel) {
    CFG_NEEDS_SIM_PORT();
    Sim sim({"--pty", "--autoconf-ms", "800"});
    ASSERT_FALSE(sim.PtyPath().empty()) << "vimo-sim did not start";
    QStringList port{"--port", QString::fromStdString(sim.PtyPath()), "--plant-code", "11"};

    CliRun r = Cli(port + QStringList{"loop", "1", "list"});
    if (r.err.find("no serial port support") != std::string::npos) GTEST_SKIP() << "built without the serial port";
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Pt.", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("  1: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n-----\n"), std::string::npos) << r.out;

    r = Cli(port + QStringList{"loop", "2", "errors"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 5) << r.out;

    r = Cli(port + QStringList{"loop", "1", "current"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(" mA"), std::string::npos) << r.out;

    // Writes need --yes.
    r = Cli(port + QStringList{"loop", "2", "autoconfig"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("--yes"), std::string::npos) << r.err;
    r = Cli(port + QStringList{"--yes", "loop", "2", "autoconfig", "--overwrite"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("400: "), std::string::npos) << r.out;
    r = Cli(port + QStringList{"--yes", "loop", "1", "reset-minmax"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    r = Cli(port + QStringList{"--yes", "loop", "1", "reset-errors"});
    EXPECT_EQ(r.exitCode, 0) << r.err;

    // The list from a file set has no live column; the live views need the panel.
    r = Cli(port + QStringList{"receive", "site"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Cli({"loop", "site", "2", "list"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("201: "), std::string::npos) << r.out;
    EXPECT_EQ(Cli({"loop", "site", "2", "minmax"}).exitCode, 2);
    EXPECT_EQ(Cli(port + QStringList{"loop", "3", "list"}).exitCode, 2);
    EXPECT_EQ(Cli(port + QStringList{"--watch", "2", "loop", "1", "reset-errors"}).exitCode, 2);
}

namespace {

// Runs of blanks as one: a PDF-to-text tool lays columns out its own way.
std::string OneBlank(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ') out += c;
    return out;
}

// The report below its header (the line of the references legend ends it).
std::string ReportBody(const std::string& text) {
    std::size_t legend = text.find("In [ ]:");
    return legend == std::string::npos ? std::string() : text.substr(text.find('\n', legend));
}

// The report after its loop modules group: a panel's sensor lists carry
// live readings that a file set cannot have.
std::string BodyAfterLoopSensors(const std::string& text) {
    const std::size_t group = text.rfind("LOOP SENSORS\n");
    const std::size_t rule = group == std::string::npos ? group : text.find("\n---", group);
    return rule == std::string::npos ? std::string() : text.substr(rule);
}

}  // namespace

TEST_F(CliEndToEnd, PrintAFileSetAndThePanel) {
    ASSERT_EQ(Cli({"create", "north"}).exitCode, 0);
    CliRun r = Cli({"print", "north"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string text = cfg::test::ReadText(W("NORTH.TXT"));
    EXPECT_NE(text.find("File name: NORTH\n"), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find("TIMES\n"), std::string::npos);

    // An existing report is replaced only with --yes; standard output gets
    // the same lines.
    EXPECT_EQ(Cli({"print", "north"}).exitCode, 1);
    EXPECT_EQ(Cli({"--yes", "print", "north"}).exitCode, 0);
    r = Cli({"print", "north", "--output", "-"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReportBody(r.out), ReportBody(text));
    r = Cli({"print", "north", "--part", "3", "--output", "-"});
    EXPECT_EQ(r.out.find("TIMES\n"), std::string::npos);

    EXPECT_EQ(Cli({"print", "north", "--part", "6"}).exitCode, 2);
    EXPECT_EQ(Cli({"print"}).exitCode, 2);  // the panel needs an output
    EXPECT_EQ(Cli({"print", "nowhere", "--output", "-"}).exitCode, 1);

    // The panel's report differs from its received set's only in the header
    // and the live part of the loop sensor lists.
    WriteRelayParameters(11);
    Sim sim(Sim::Relay(prog));
    ASSERT_TRUE(sim.Started());
    ASSERT_EQ(Cli({"--relay", "receive", "site"}).exitCode, 0);
    ASSERT_EQ(Cli({"print", "site"}).exitCode, 0);
    r = Cli({"--relay", "print", "--output", "panel.txt"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string panel = cfg::test::ReadText(W("panel.txt"));
    EXPECT_NE(panel.find("Panel: VIMO-SYS"), std::string::npos) << panel.substr(0, 400);
    const std::string site = cfg::test::ReadText(W("SITE.TXT"));
    EXPECT_GT(BodyAfterLoopSensors(panel).size(), 1000u);
    EXPECT_EQ(BodyAfterLoopSensors(panel), BodyAfterLoopSensors(site));
    EXPECT_NE(panel.find("  1: Heat detector         "), std::string::npos);
}

TEST_F(CliEndToEnd, PrintAPdfThatHoldsTheReport) {
    ASSERT_EQ(Cli({"create", "north"}).exitCode, 0);
    CliRun r = Cli({"print", "north", "--pdf", "north.pdf"});
    if (r.err.find("no PDF support") != std::string::npos) GTEST_SKIP() << "built without Qt";
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_GT(fs::file_size(W("north.pdf")), 1000u);
    EXPECT_EQ(cfg::test::ReadText(W("north.pdf")).substr(0, 5), "%PDF-");
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    std::string cmd = "pdftotext -layout '" + W("north.pdf") + "' '" + W("north.pdf.txt") + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::string text = OneBlank(cfg::test::ReadText(W("north.pdf.txt")));
    ASSERT_EQ(Cli({"print", "north"}).exitCode, 0);
    // Every report line is on a page, whole.
    std::string report = cfg::test::ReadText(W("NORTH.TXT"));
    std::size_t from = 0, checked = 0;
    while (from < report.size()) {
        std::size_t end = report.find('\n', from);
        std::string line = report.substr(from, end - from);
        from = end + 1;
        std::size_t lead = line.find_first_not_of(' ');
        if (lead == std::string::npos || line.find("Printed on") != std::string::npos) continue;
        std::string words = OneBlank(line.substr(lead));
        while (!words.empty() && words.back() == ' ') words.pop_back();
        EXPECT_NE(text.find(words), std::string::npos) << words;
        ++checked;
    }
    EXPECT_GT(checked, 50u);
    EXPECT_NE(text.find("Page 1/"), std::string::npos);
    EXPECT_NE(text.find("NORTH"), std::string::npos);
}

// The display texts as a spreadsheet file: exported from a set and from the
// panel over the pty, edited as a spreadsheet saves it, imported back.
TEST_F(CliEndToEnd, MessagesExportAndImport) {
    CliRun r = Cli({"create", "hall"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Cli({"messages", "export", "hall", "hall.csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Bytes csv = ReadAll(W("hall.csv"));
    ASSERT_GE(csv.size(), 3u);
    EXPECT_EQ(csv[0], 0xEF);  // a BOM for the spreadsheet
    const Bytes before = ReadAll(W("HALL.MY2"));
    r = Cli({"messages", "import", "hall", "hall.csv"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadAll(W("HALL.MY2")), before);

    {
        std::ofstream out(W("edit.csv"), std::ios::binary);
        out << "\xEF\xBB\xBFGruppo;Voce;Testo\r\n1;2;\"SALA \"\"B\"\"\"\r\n4;6;\"FINE\"\r\n";
    }
    r = Cli({"messages", "import", "hall", "edit.csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Bytes after = ReadAll(W("HALL.MY2"));
    EXPECT_EQ(std::string(after.begin() + 16, after.begin() + 32), "SALA \"B\"        ");
    EXPECT_EQ(std::string(after.begin() + 7248, after.begin() + 7264), "FINE            ");
    {
        std::ofstream out(W("bad.csv"), std::ios::binary);
        out << "1;3;OK\r\n1;401;NO\r\n";
    }
    r = Cli({"messages", "import", "hall", "bad.csv"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Line no. 2"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(W("HALL.MY2")), after);
    EXPECT_EQ(Cli({"messages", "export"}).exitCode, 2);
    EXPECT_EQ(Cli({"messages", "copy", "a.csv"}).exitCode, 2);

    // Without BASENAME: the panel.
    CFG_NEEDS_SIM_PORT();
    Sim sim({"--pty"});
    ASSERT_FALSE(sim.PtyPath().empty()) << "vimo-sim did not start";
    QStringList port{"--port", QString::fromStdString(sim.PtyPath()), "--plant-code", "11"};
    r = Cli(port + QStringList{"messages", "import", "edit.csv"});
    if (r.err.find("no serial port support") != std::string::npos) GTEST_SKIP() << "built without the serial port";
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Cli(port + QStringList{"messages", "export", "panel.csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Bytes panel = ReadAll(W("panel.csv"));
    const std::string text(panel.begin(), panel.end());
    EXPECT_NE(text.find("\r\n1;2;\"SALA \"\"B\"\"\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n4;6;\"FINE\"\r\n"), std::string::npos);
}

// A panel behind a serial device server: the whole configuration both ways
// over tcp://, and every way the connection can fail.
TEST_F(CliEndToEnd, TcpReceiveAndSendTheWholeConfiguration) {
    CFG_NEEDS_SIM_PORT();
    Sim source({"--tcp", "0"});
    ASSERT_TRUE(source.Port().startsWith("tcp://127.0.0.1:")) << source.PtyPath();
    CliRun r = Cli({"--port", source.Port(), "--trace", QString::fromStdString(W("trace.txt")), "receive", "site"});
    if (r.err.find("no serial port support") != std::string::npos) GTEST_SKIP() << "built without the platform box";
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(fs::file_size(W("SITE.CY2")), 2981u);
    EXPECT_EQ(fs::file_size(W("SITE.MY2")), 7280u);
    // The trace has the format of a serial port's.
    std::ifstream trace(W("trace.txt"));
    std::string line;
    ASSERT_TRUE(std::getline(trace, line));
    EXPECT_TRUE(line.size() > 16 && line[2] == ':' && line[8] == '.' && line.substr(12, 4) == " TX ") << line;

    // A display text changed in the set goes to the panel with the rest, and
    // comes back.
    Bytes texts = ReadAll(W("SITE.MY2"));
    const auto letter = std::find_if(texts.begin(), texts.end(), [](uint8_t b) { return b >= 'A' && b < 'Z'; });
    ASSERT_NE(letter, texts.end());
    ++*letter;
    std::ofstream(W("SITE.MY2"), std::ios::binary).write(reinterpret_cast<const char*>(texts.data()),
                                                           static_cast<std::streamsize>(texts.size()));
    r = Cli({"--port", source.Port(), "--yes", "send", "site"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Cli({"--port", source.Port(), "receive", "again"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* e : kExt) EXPECT_EQ(ReadAll(W(std::string("SITE") + e)), ReadAll(W(std::string("AGAIN") + e))) << e;
}

TEST_F(CliEndToEnd, TcpRefusedOrBadAddressIsExplained) {
    // A port that nobody listens on.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const QString refused = QStringLiteral("tcp://127.0.0.1:%1").arg(probe.serverPort());
    probe.close();

    CliRun r = Cli({"--port", refused, "ident"});
    if (r.err.find("no serial port support") != std::string::npos) GTEST_SKIP() << "built without the platform box";
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("No connection to " + refused.toStdString() + ". The device server refuses"),
              std::string::npos)
        << r.err;

    for (const char* bad : {"tcp://127.0.0.1", "tcp://no host:4001"}) {
        r = Cli({"--port", bad, "ident"});
        EXPECT_EQ(r.exitCode, 1) << bad;
        EXPECT_NE(r.err.find(std::string("The address ") + bad + " is not a network port"), std::string::npos)
            << r.err;
    }
}

TEST_F(CliEndToEnd, WhatIsNoSerialPortOrNoPanelRateIsSaidPlainly) {
    // A device, a file and a folder given as the port.
    const std::string file = W("notes.txt"), folder = W("sets");
    WriteAll(file, Bytes{'h', 'i', '\n'});
    fs::create_directories(folder);
#ifdef _WIN32
    const std::string device = "NUL";
#else
    const std::string device = "/dev/null";
#endif
    for (const std::string& port : {device, file, folder}) {
        CliRun r = Cli({"--port", QString::fromStdString(port), "ident"});
        if (r.err.find("no serial port support") != std::string::npos) GTEST_SKIP() << "built without the serial port";
        EXPECT_EQ(r.exitCode, 1) << port;
        EXPECT_NE(r.err.find("Port " + port + " is not a serial port"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Unexpected error"), std::string::npos) << r.err;
    }
    // No name is no port, not the settings file's one.
    CliRun r = Cli({"--port", "", "ident"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("--port needs a port name"), std::string::npos) << r.err;
    // Only the rates a panel has.
    for (const char* baud : {"1234", "19200", "0"}) {
        r = Cli({"--baud", baud, "ident"});
        EXPECT_EQ(r.exitCode, 2) << baud;
        EXPECT_NE(r.err.find("1200, 2400, 4800, 9600"), std::string::npos) << r.err;
    }
    // A trace is added to a trace, never to somebody else's file.
    r = Cli({"--port", "/dev/null", "--trace", QString::fromStdString(file), "ident"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("is not a trace"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(file), (Bytes{'h', 'i', '\n'}));
    r = Cli({"--port", "/dev/null", "--trace", QString::fromStdString(folder), "ident"});
    EXPECT_NE(r.err.find("is not a trace"), std::string::npos) << r.err;
}

TEST_F(CliEndToEnd, TcpServerGoneMidTransferIsALinkErrorNotAHang) {
    CFG_NEEDS_SIM_PORT();
    // Paced at 1200 baud the display texts alone take several seconds.
    Sim sim({"--tcp", "0", "--baud", "1200"});
    ASSERT_FALSE(sim.PtyPath().empty());
    QProcess cli;
    cli.setWorkingDirectory(QString::fromStdString(work));
    cli.start(QStringLiteral(CFG_BIN_DIR "/cfgvimo-cli"),
              {"--folder", QString::fromStdString(prog), "--language", "English", "--port", sim.Port(), "--trace",
               QString::fromStdString(W("trace.txt")), "receive", "cut"});
    ASSERT_TRUE(cli.waitForStarted(5000));
    // Wait until replies are flowing, then pull the plug.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        std::ifstream in(W("trace.txt"));
        std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (std::count(all.begin(), all.end(), '\n') > 40) break;
        QThread::msleep(50);
    }
    ASSERT_EQ(cli.state(), QProcess::Running) << "the transfer ended before the server was stopped";
    sim.Kill();
    ASSERT_TRUE(cli.waitForFinished(30000)) << "the program hangs on a dropped connection";
    const std::string err = cli.readAllStandardError().toStdString();
    EXPECT_EQ(cli.exitCode(), 1) << err;
    EXPECT_NE(err.find("was closed by the other end"), std::string::npos) << err;
}

TEST_F(CliEndToEnd, SerialNumberProposedThenWritten) {
    WriteRelayParameters(11);
    Sim sim(Sim::Relay(prog));
    ASSERT_TRUE(sim.Started());
    CliRun r = Cli({"--relay", "serial"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("VIMO_SYS.SRZ"), std::string::npos) << r.err;

    const std::string counter = prog + "/VIMO_SYS.SRZ";
    std::ofstream(counter, std::ios::binary) << "VS24000041\r\n01/02/24\r\n";
    r = Cli({"--relay", "serial"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.out.find("New serial number:  VS24000042"), std::string::npos) << r.out;
    EXPECT_EQ(cfg::test::ReadText(counter), "VS24000041\r\n01/02/24\r\n");

    r = Cli({"--relay", "--yes", "serial", "--date", "31/12/29"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(cfg::test::ReadText(counter), "VS24000042\r\n31/12/29\r\n");
    r = Cli({"--relay", "ident"});
    EXPECT_NE(r.out.find("Serial number:   VS24000042"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Production date: 31/12/29"), std::string::npos) << r.out;

    r = Cli({"--relay", "--yes", "serial", "--number", "VS2400004X"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("four digits"), std::string::npos) << r.err;
    EXPECT_EQ(cfg::test::ReadText(counter), "VS24000042\r\n31/12/29\r\n");
}
