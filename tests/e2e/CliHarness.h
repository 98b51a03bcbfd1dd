// Running cfgvimo-cli as a person would in a shell: a program folder with
// the language files and the DEFAULT set, a separate working folder for the
// file sets, and a vimo-sim child to talk to.
#pragma once

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TestSession.h"

namespace cfg::test {

struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

// A vimo-sim child with the sample plant; killed when the test ends.
class CliSim {
public:
    // Relay: serves the mailbox files of `folder`.
    static QStringList Relay(const std::string& folder) { return {"--relay", QString::fromStdString(folder)}; }

    explicit CliSim(QStringList args) {
        args << "--sample";
        p_.setProgram(QStringLiteral(CFG_BIN_DIR "/vimo-sim"));
        p_.setArguments(args);
        p_.start();
        started_ = p_.waitForStarted(5000);
        // --pty prints the terminal's path, --tcp the tcp:// address.
        if (started_ && (args.contains("--pty") || args.contains("--tcp"))) {
            while (!p_.canReadLine() && p_.waitForReadyRead(5000)) {
            }
            path_ = QString::fromLocal8Bit(p_.readLine()).trimmed().toStdString();
        }
    }
    ~CliSim() { Kill(); }
    bool Started() const { return started_; }
    const std::string& PtyPath() const { return path_; }
    QString Port() const { return QString::fromStdString(path_); }
    // Ends the simulator at once, as a server that loses power.
    void Kill() {
        p_.kill();
        p_.waitForFinished(5000);
    }

private:
    QProcess p_;
    bool started_ = false;
    std::string path_;
};

class CliFixture : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        prog = tmp.File("prog");
        work = tmp.File("work");
        fs::create_directories(prog);
        fs::create_directories(work);
        for (const auto& e : fs::directory_iterator(CFG_BIN_DIR)) {
            std::string name = e.path().filename().string();
            if (name.ends_with(".lng") || name.rfind("DEFAULT.", 0) == 0) fs::copy_file(e.path(), prog + "/" + name);
        }
    }

    // cfgvimo-cli with `args`, on the program folder, in English, from the
    // working folder.
    CliRun Cli(QStringList args, int timeoutMs = 60000) {
        QProcess p;
        if (!StartCli(p, args)) return {};
        return Finish(p, timeoutMs, "timed out");
    }
    // Starts what Cli() runs, for a test that acts while it runs.
    bool StartCli(QProcess& p, const QStringList& args) {
        QStringList all{"--folder", QString::fromStdString(prog), "--language", "English"};
        all += args;
        p.setWorkingDirectory(QString::fromStdString(work));
        p.start(QStringLiteral(CFG_BIN_DIR "/cfgvimo-cli"), all);
        return p.waitForStarted(5000);
    }
    // Waits for the end of a started cfgvimo-cli and collects what it said;
    // one that does not end in time is killed, with `late` as its error.
    static CliRun Finish(QProcess& p, int timeoutMs, const char* late) {
        CliRun r;
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished(5000);
            r.err = late;
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = Lines(p.readAllStandardOutput().toStdString());
        r.err = Lines(p.readAllStandardError().toStdString());
        return r;
    }
    // A console program's text on Windows ends its lines with CR LF; the
    // tests read the text, so they see LF as on other systems.
    static std::string Lines(std::string text) {
#ifdef _WIN32
        std::string out;
        out.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
        return out;
#else
        return text;
#endif
    }

    void WriteRelayParameters(int plantCode) {
        std::ofstream out(work + "/Par_app.tmp", std::ios::binary);
        out << "PATH=" << prog << "\r\nCODI=" << plantCode << "\r\nBAUD=9600\r\n";
    }
    // A file of the working folder.
    std::string W(const std::string& name) const { return work + "/" + name; }

    TempFolder tmp;
    std::string prog, work;
};

}  // namespace cfg::test
