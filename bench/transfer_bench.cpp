// transfer_bench: how close a whole-configuration transfer comes to the
// serial line's own speed.
//
// It starts vimo-sim on a pseudo-terminal with the demonstration plant and
// the line paced at the baud rate in both directions (the panel answers a
// command only once it would have crossed the line), then runs the program's own receive
// (all four files) and send (all four files) through the serial port, as the
// desktop program does. For each it prints the measured time, the ideal wire
// time of the same frames (10 bits per byte at the baud rate, both
// directions), their ratio, and the median time from the CR that ends a
// reply to the first byte of the next frame (the tool's turnaround).
//
//   transfer_bench [--baud N] [--quick] [--tcp] [--sim PATH] [--keep DIR]
//     --baud N    line rate of the simulated panel (default 9600)
//     --tcp       the panel behind a serial device server: vimo-sim --tcp on
//                 127.0.0.1 and the tool's tcp:// port instead of the pty
//     --quick     no pacing: a fast smoke run of the same path
//     --sim PATH  the vimo-sim executable (default: beside this program)
//     --keep DIR  receive into DIR instead of a temporary folder
#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "app/cli/CliUi.h"
#include "transfer/Commands.h"
#include "platform/PortTransport.h"
#include "shell/Clock.h"
#include "shell/Language.h"
#include "shell/Session.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Forwards to the serial port and notes every byte with its time.
class RecordingTransport final : public cfg::Transport {
public:
    explicit RecordingTransport(cfg::Transport& inner) : inner_(inner) {}

    int Open(const cfg::PortSettings& p) override { return inner_.Open(p); }
    void Close() override { inner_.Close(); }
    int LinkFailure() override { return inner_.LinkFailure(); }
    bool IsOpen() const override { return inner_.IsOpen(); }
    void FlushInput() override { inner_.FlushInput(); }
    int Write(const std::vector<uint8_t>& bytes) override {
        auto now = Clock::now();
        if (replyEnded_) {
            turnarounds_.push_back(std::chrono::duration<double, std::milli>(now - lastCr_).count());
            replyEnded_ = false;
        }
        written_ += bytes.size();
        ++frames_;
        lastWrite_ = now;
        awaitingReply_ = true;
        return inner_.Write(bytes);
    }
    std::vector<uint8_t> Read(std::size_t maxBytes) override {
        std::vector<uint8_t> got = inner_.Read(maxBytes);
        if (!got.empty()) {
            read_ += got.size();
            if (awaitingReply_) {
                latencies_.push_back(std::chrono::duration<double, std::milli>(Clock::now() - lastWrite_).count());
                awaitingReply_ = false;
            }
            if (std::find(got.begin(), got.end(), 0x0D) != got.end()) {
                lastCr_ = Clock::now();
                replyEnded_ = true;
            }
        }
        return got;
    }
    std::size_t BytesAvailable() override { return inner_.BytesAvailable(); }
    bool WaitForInput(int ms) override { return inner_.WaitForInput(ms); }

    void Reset() {
        written_ = read_ = 0;
        frames_ = 0;
        turnarounds_.clear();
        latencies_.clear();
        replyEnded_ = false;
        awaitingReply_ = false;
    }
    std::size_t Written() const { return written_; }
    std::size_t ReadBytes() const { return read_; }
    int Frames() const { return frames_; }
    double MedianTurnaroundMs() const { return Median(turnarounds_); }
    double TotalTurnaroundSeconds() const {
        double t = 0;
        for (double v : turnarounds_) t += v;
        return t / 1000.0;
    }
    double MedianLatencyMs() const { return Median(latencies_); }

private:
    cfg::Transport& inner_;
    std::size_t written_ = 0, read_ = 0;
    int frames_ = 0;
    static double Median(std::vector<double> v) {
        if (v.empty()) return 0;
        std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
        return v[v.size() / 2];
    }

    std::vector<double> turnarounds_, latencies_;
    Clock::time_point lastCr_{}, lastWrite_{};
    bool replyEnded_ = false, awaitingReply_ = false;
};

// vimo-sim on a pty (or a TCP port), its slave path (or tcp:// address)
// read from its first output line.
class SimChild {
public:
    SimChild(const std::string& exe, int baud, bool tcp) {
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            close(out[0]);
            close(out[1]);
            std::vector<std::string> args = {exe, "--sample"};
            if (tcp) {
                args.push_back("--tcp");
                args.push_back("0");
            } else {
                args.push_back("--pty");
            }
            if (baud > 0) {
                args.push_back("--baud");
                args.push_back(std::to_string(baud));
            }
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(exe.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        std::string line;
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
        close(out[0]);
        path_ = line;
    }
    ~SimChild() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& Path() const { return path_; }

private:
    pid_t pid_ = -1;
    std::string path_;
};

struct Figures {
    double seconds = 0;
    double wireSeconds = 0;
    double replySeconds = 0;
    int frames = 0;
    std::size_t out = 0, in = 0;
    double medianTurnaroundMs = 0;
    double medianLatencyMs = 0;
    double totalTurnaroundSeconds = 0;
    bool ok = false;
};

void Print(const char* what, const Figures& f, int baud) {
    std::printf("%-12s %s\n", what, f.ok ? "" : "(FAILED)");
    std::printf("  measured time          %8.2f s\n", f.seconds);
    std::printf("  frames                 %8d   (%zu bytes out, %zu bytes in)\n", f.frames, f.out, f.in);
    std::printf("  ideal wire time        %8.2f s   (both directions at %d baud, 10 bits per byte)\n",
                f.wireSeconds, baud);
    std::printf("  of which replies       %8.2f s   (the panel's side of the line)\n", f.replySeconds);
    std::printf("  measured / ideal       %8.3f\n", f.wireSeconds > 0 ? f.seconds / f.wireSeconds : 0.0);
    std::printf("  measured / replies     %8.3f\n", f.replySeconds > 0 ? f.seconds / f.replySeconds : 0.0);
    std::printf("  median CR -> next frame %7.2f ms   (the tool's turnaround; %.2f s in all)\n",
                f.medianTurnaroundMs, f.totalTurnaroundSeconds);
    std::printf("  median frame -> reply  %8.2f ms   (the panel's answer reaching the tool)\n", f.medianLatencyMs);
}

}  // namespace

int main(int argc, char** argv) {
    int baud = 9600;
    bool quick = false, tcp = false;
    std::string simExe, keep;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--baud" && i + 1 < argc) baud = std::atoi(argv[++i]);
        else if (a == "--quick") quick = true;
        else if (a == "--tcp") tcp = true;
        else if (a == "--sim" && i + 1 < argc) simExe = argv[++i];
        else if (a == "--keep" && i + 1 < argc) keep = argv[++i];
        else {
            std::fprintf(stderr, "usage: transfer_bench [--baud N] [--quick] [--tcp] [--sim PATH] [--keep DIR]\n");
            return 2;
        }
    }
    QCoreApplication app(argc, argv);
    std::error_code ec;
    fs::path self = fs::canonical("/proc/self/exe", ec);
    std::string binDir = self.parent_path().string();
    if (simExe.empty()) simExe = binDir + "/vimo-sim";

    fs::path work = keep.empty() ? fs::temp_directory_path() / ("transfer_bench-" + std::to_string(getpid())) : fs::path(keep);
    fs::create_directories(work, ec);

    SimChild sim(simExe, quick ? 0 : baud, tcp);
    if (sim.Path().empty()) {
        std::fprintf(stderr, "transfer_bench: vimo-sim did not start (%s)\n", simExe.c_str());
        return 1;
    }

    // The messages of the commands are shown only when a run fails.
    std::ostringstream quietOut, messages;
    cfg::cli::CliUi ui(quietOut, messages);
    cfg::SystemClock clock;
    cfg::Session s(ui, clock);
    ui.Attach(s);
    cfg::PortTransport serial;  // the pty, or tcp:// with --tcp
    RecordingTransport port(serial);
    s.transport = &port;
    s.settings.ProgramFolder = binDir;
    // The timed runs read and write only the transfer itself: no backup of
    // the panel before a send, and the received sets' backups go to the
    // bench's own folder, never beside the program.
    s.settings.backups.beforeSend = false;
    s.settings.backups.folder = (work / "backups").string();
    s.settings.CurrentLanguage = "English";
    cfg::LoadLanguageFile(s, cfg::LanguageFilePath(s, "English"));
    s.settings.CommPortName = sim.Path();
    s.settings.BaudRate = std::to_string(baud);
    s.settings.PlantCode = "11";
    ui.answers.panelAddress = 1;
    ui.answers.yes = true;
    ui.answers.transferChoice = 0;
    ui.answers.fileName = (work / "BENCH").string();
    ui.pumpEvents = [] { QCoreApplication::processEvents(); };

    const double bitsPerByte = 10.0;
    auto run = [&](bool receive) {
        Figures f;
        port.Reset();
        ui.BeginCommand();
        auto start = Clock::now();
        const cfg::OpResult result = cfg::TransferCommand(s, receive ? 2 : 1);
        f.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        f.ok = result.Done() && ui.ErrorsShown() == 0;
        f.frames = port.Frames();
        f.out = port.Written();
        f.in = port.ReadBytes();
        f.wireSeconds = static_cast<double>(f.out + f.in) * bitsPerByte / baud;
        f.replySeconds = static_cast<double>(f.in) * bitsPerByte / baud;
        f.medianTurnaroundMs = port.MedianTurnaroundMs();
        f.medianLatencyMs = port.MedianLatencyMs();
        f.totalTurnaroundSeconds = port.TotalTurnaroundSeconds();
        return f;
    };

    std::printf("transfer_bench: vimo-sim on %s, line paced at %s\n\n", sim.Path().c_str(),
                quick ? "no rate (--quick)" : (std::to_string(baud) + " baud").c_str());
    Figures rx = run(true);
    Print("receive-all", rx, baud);
    Figures tx = run(false);
    Print("send-all", tx, baud);

    if (!rx.ok || !tx.ok) std::fprintf(stderr, "\n%s", messages.str().c_str());
    s.transport = nullptr;
    if (keep.empty()) fs::remove_all(work, ec);
    return rx.ok && tx.ok ? 0 : 1;
}
