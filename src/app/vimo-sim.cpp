// vimo-sim: a simulated VIMO-family panel on a pseudo-terminal, on a TCP
// port (as a serial device server would carry its line) or on the relay
// mailbox files, for trying the tool without a panel and for the end-to-end
// tests.
//
//   vimo-sim --pty [--link PATH] [options]   prints the port's path on stdout
//   vimo-sim --tcp PORT [options]            prints tcp://127.0.0.1:PORT on stdout
//   vimo-sim --relay DIR [options]           serves DIR/fileTX.bin, DIR/fileRX.bin
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sim/Faults.h"
#include "sim/FileSet.h"
#include "sim/Mailbox.h"
#include "sim/Panel.h"

#if defined(_WIN32)
#include <windows.h>

#include <memory>
#include <mutex>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
// POSIX: pseudo-terminals, TCP sockets, signals polled in the serving loops.
#define VIMO_SIM_HAS_PTY 1
#endif

namespace {

using vimo::sim::Panel;

const char* const kUsage =
    "usage: vimo-sim (--pty [--link PATH] | --tcp PORT | --relay DIR) [options]\n"
    "\n"
    "  --pty                serve on a new pseudo-terminal; its path is printed on stdout\n"
    "  --link PATH          also make PATH a symbolic link to that terminal\n"
    "  --tcp PORT           serve on TCP port PORT of 127.0.0.1, as a serial device\n"
    "                       server carries a panel's line (raw bytes, one connection\n"
    "                       at a time: a new one replaces the old); 0 picks a free\n"
    "                       port; tcp://127.0.0.1:PORT is printed on stdout\n"
    "  --relay DIR          serve the relay mailbox files DIR/fileTX.bin and DIR/fileRX.bin\n"
    "  --address N          panel address 0..223 (default: the configuration's)\n"
    "  --plant-code N       plant code 0..223 (default: the configuration's)\n"
    "  --access-code DIGITS access code the panel asks for (default none)\n"
    "  --image BASENAME     load BASENAME.CY2/.PY2/.UY2/.MY2 into the panel\n"
    "  --sample             load the demonstration plant (sensors on both loops)\n"
    "  --factory            start from the built-in factory configuration; without\n"
    "                       --image, --sample or --factory the DEFAULT set beside\n"
    "                       the program is loaded when it is there\n"
    "  --export BASENAME    write the panel's configuration as a file set on exit\n"
    "  --baud N             pace replies at N baud, 10 bits per byte (default: at once)\n"
    "  --latency MS         pause before each reply (default 0)\n"
    "  --autoconf-ms MS     duration of a loop auto-configuration (default 6000)\n"
    "  --prog-timeout S     leave programming mode after S seconds without commands\n"
    "  --modules LIST       loop modules fitted: 1,2 (default), 1, 2 or none\n"
    "  --device M:P:TYPE    wire a device of TYPE (1..15) at point P (1..200) of loop M,\n"
    "                       whatever the configuration says; TYPE 0 removes it\n"
    "                       (repeatable): the auto-configuration then finds a sensor\n"
    "                       added, removed or of another type, and the live tables\n"
    "                       flag it as not answering (64) or of another type (192)\n"
    "  --address-zero M:C[,C]  devices left at address 0 on loop M, by their codes\n"
    "                       (type in bits 3..0, e.g. 1 a smoke detector, 9 a call point)\n"
    "  --ident TEXT         identification text, 23 characters\n"
    "  --fault SPEC         switch on a fault (repeatable), see below\n"
    "  --seed N             seed of the simulated noise and readings\n"
    "  --walk SECONDS       play a walk test: every SECONDS seconds the next device, in\n"
    "                       a shuffled order, reads in alarm for about 15 seconds; a\n"
    "                       tenth of the configured devices are never reached\n"
    "  --trace FILE         log every frame in and out\n"
    "  --verbose            log every exchange on stderr\n"
    "  --stdin-quit         take commands from stdin and quit at its end:\n"
    "                       fault SPEC | clear [NAME] | faults | status | export BASE | quit\n"
    "\n"
    "faults:\n";

struct Options {
    bool pty = false;
    std::string link;
    std::optional<int> tcpPort;
    std::string relay;
    std::optional<int> address, plantCode;
    std::string accessCode;
    std::string image;
    bool sample = false;
    bool factory = false;
    std::string exportTo;
    int baud = 0;
    int latency = 0;
    int autoconfMs = 6000;
    int progTimeoutS = 0;
    std::array<bool, 2> modules = {true, true};
    struct Wiring {
        int module, point, type;
    };
    std::vector<Wiring> devices;
    std::vector<std::pair<int, std::array<uint8_t, 2>>> addressZero;
    std::string ident;
    std::vector<vimo::sim::Fault> faults;
    uint64_t seed = 1;
    int walk = 0;
    std::string trace;
    bool verbose = false;
    bool stdinQuit = false;
};

bool ToInt(const std::string& s, int lo, int hi, int& out) {
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end != 0 || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

// Returns an error message, or empty when the options are good.
std::string ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) -> bool {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        int n = 0;
        if (a == "--help" || a == "-h") {
            return "help";
        } else if (a == "--pty") {
            o.pty = true;
        } else if (a == "--link") {
            if (!value(o.link)) return "--link needs a path";
        } else if (a == "--tcp") {
            if (!value(v) || !ToInt(v, 0, 65535, n)) return "--tcp needs a port number 0..65535";
            o.tcpPort = n;
        } else if (a == "--relay") {
            if (!value(o.relay)) return "--relay needs a folder";
        } else if (a == "--address") {
            if (!value(v) || !ToInt(v, 0, 223, n)) return "--address needs a number 0..223";
            o.address = n;
        } else if (a == "--plant-code") {
            if (!value(v) || !ToInt(v, 0, 223, n)) return "--plant-code needs a number 0..223";
            o.plantCode = n;
        } else if (a == "--access-code") {
            if (!value(v) || !ToInt(v, 1, 999999, n) || v.find_first_not_of("0123456789") != std::string::npos)
                return "--access-code needs 1 to 6 digits (1..999999)";
            o.accessCode = std::to_string(n);
        } else if (a == "--image") {
            if (!value(o.image)) return "--image needs a base name";
        } else if (a == "--sample") {
            o.sample = true;
        } else if (a == "--factory") {
            o.factory = true;
        } else if (a == "--export") {
            if (!value(o.exportTo)) return "--export needs a base name";
        } else if (a == "--baud") {
            if (!value(v) || !ToInt(v, 50, 1000000, o.baud)) return "--baud needs a rate (e.g. 9600)";
        } else if (a == "--latency") {
            if (!value(v) || !ToInt(v, 0, 60000, o.latency)) return "--latency needs milliseconds";
        } else if (a == "--autoconf-ms") {
            if (!value(v) || !ToInt(v, 0, 3600000, o.autoconfMs)) return "--autoconf-ms needs milliseconds";
        } else if (a == "--prog-timeout") {
            if (!value(v) || !ToInt(v, 0, 86400, o.progTimeoutS)) return "--prog-timeout needs seconds";
        } else if (a == "--modules") {
            if (!value(v)) return "--modules needs 1,2 / 1 / 2 / none";
            if (v == "none") o.modules = {false, false};
            else if (v == "1") o.modules = {true, false};
            else if (v == "2") o.modules = {false, true};
            else if (v == "1,2" || v == "2,1") o.modules = {true, true};
            else return "--modules needs 1,2 / 1 / 2 / none";
        } else if (a == "--device") {
            int m = 0, p = 0, t = 0;
            char c1 = 0, c2 = 0;
            if (!value(v) || std::sscanf(v.c_str(), "%d%c%d%c%d", &m, &c1, &p, &c2, &t) != 5 || c1 != ':' ||
                c2 != ':' || m < 1 || m > 2 || p < 1 || p > 200 || t < 0 || t > 15)
                return "--device needs MODULE:POINT:TYPE (1..2, 1..200, 0..15)";
            o.devices.push_back({m, p, t});
        } else if (a == "--address-zero") {
            int m = 0, first = 0, second = 0;
            char c1 = 0, c2 = 0;
            const int got = value(v) ? std::sscanf(v.c_str(), "%d%c%d%c%d", &m, &c1, &first, &c2, &second) : 0;
            if ((got != 3 && got != 5) || c1 != ':' || (got == 5 && c2 != ',') || m < 1 || m > 2 || first < 0 ||
                first > 255 || second < 0 || second > 255)
                return "--address-zero needs MODULE:CODE[,CODE] (codes 0..255)";
            o.addressZero.push_back({m, {static_cast<uint8_t>(first), static_cast<uint8_t>(second)}});
        } else if (a == "--ident") {
            if (!value(o.ident)) return "--ident needs a text";
        } else if (a == "--fault") {
            if (!value(v)) return "--fault needs a fault";
            vimo::sim::Fault f;
            std::string error;
            if (!vimo::sim::ParseFault(v, f, error)) return "--fault " + v + ": " + error;
            o.faults.push_back(f);
        } else if (a == "--seed") {
            if (!value(v) || !ToInt(v, 0, 2147483647, n)) return "--seed needs a number";
            o.seed = static_cast<uint64_t>(n);
        } else if (a == "--walk") {
            if (!value(v) || !ToInt(v, 1, 3600, o.walk)) return "--walk needs a number of seconds 1..3600";
        } else if (a == "--trace") {
            if (!value(o.trace)) return "--trace needs a file";
        } else if (a == "--verbose" || a == "-v") {
            o.verbose = true;
        } else if (a == "--stdin-quit") {
            o.stdinQuit = true;
        } else {
            return "unknown option " + a;
        }
    }
    if (static_cast<int>(o.pty) + static_cast<int>(o.tcpPort.has_value()) + static_cast<int>(!o.relay.empty()) != 1)
        return "choose one of --pty, --tcp and --relay";
    if (!o.link.empty() && !o.pty) return "--link goes with --pty";
    if (static_cast<int>(o.sample) + static_cast<int>(o.factory) + static_cast<int>(!o.image.empty()) > 1)
        return "choose one of --image, --sample and --factory";
    return {};
}

// The folder of the DEFAULT set: beside the running program (build tree,
// unpacked archive) or, installed, in ../share/cfg-veltrano.
std::filesystem::path ProgramFolder(const char* argv0) {
    std::error_code ec;
#if defined(_WIN32)
    // argv[0] is whatever the caller typed (perhaps without folder or ".exe").
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::filesystem::path exe;
    if (n > 0 && n < buffer.size()) exe = std::filesystem::path(buffer.substr(0, n));
#else
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
    if (ec || exe.empty()) exe = std::filesystem::absolute(argv0, ec);
    const std::filesystem::path beside = exe.parent_path();
    if (std::filesystem::exists(beside / "DEFAULT.CY2", ec)) return beside;
    const std::filesystem::path shared = (beside / ".." / "share" / "cfg-veltrano").lexically_normal();
    return std::filesystem::exists(shared / "DEFAULT.CY2", ec) ? shared : beside;
}

int64_t NowMs() {
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    return duration_cast<milliseconds>(steady_clock::now() - start).count();
}

vimo::sim::DateTime LocalDateTime() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    vimo::sim::DateTime d;
    d.year = tm.tm_year + 1900;
    d.month = tm.tm_mon + 1;
    d.day = tm.tm_mday;
    d.hour = tm.tm_hour;
    d.minute = tm.tm_min;
    d.second = std::min(tm.tm_sec, 59);
    d.weekday = tm.tm_wday == 0 ? 7 : tm.tm_wday;
    return d;
}

// Logs frames to the trace file and, with --verbose, to stderr.
class Logger {
public:
    Logger(const std::string& tracePath, bool verbose) : verbose_(verbose) {
        if (!tracePath.empty()) trace_.open(tracePath, std::ios::out | std::ios::trunc);
    }
    bool TraceOk() const { return !trace_.is_open() || trace_.good(); }
    void operator()(const vimo::sim::TraceEvent& e) {
        const char* dir = "  ";
        switch (e.kind) {
            case vimo::sim::TraceEvent::Kind::kIn: dir = "<-"; break;
            case vimo::sim::TraceEvent::Kind::kOut: dir = "->"; break;
            case vimo::sim::TraceEvent::Kind::kIgnored: dir = "x "; break;
            case vimo::sim::TraceEvent::Kind::kNote: dir = "! "; break;
        }
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%10.3f", static_cast<double>(e.nowMs) / 1000.0);
        std::string line = std::string(stamp) + " " + dir + " " + e.text;
        if (trace_.is_open()) {
            trace_ << line;
            if (!e.bytes.empty()) trace_ << "  [" << vimo::sim::HexBytes(e.bytes) << "]";
            trace_ << '\n';
            trace_.flush();
        }
        if (verbose_) std::cerr << "vimo-sim " << line << '\n';
    }
    void Note(const std::string& text) {
        vimo::sim::TraceEvent e;
        e.nowMs = NowMs();
        e.text = text;
        (*this)(e);
    }

private:
    std::ofstream trace_;
    bool verbose_;
};

// A command typed on stdin; returns false when the simulator should stop.
bool RunCommand(const std::string& line, Panel& panel, Logger& log) {
    std::istringstream in(line);
    std::string word, arg;
    in >> word;
    std::getline(in >> std::ws, arg);
    if (word.empty()) return true;
    if (word == "quit" || word == "exit") return false;
    if (word == "fault") {
        vimo::sim::Fault f;
        std::string error;
        if (vimo::sim::ParseFault(arg, f, error)) {
            panel.AddFault(f);
            std::cout << "fault on: " << arg << std::endl;
        } else {
            std::cout << "error: " << error << std::endl;
        }
    } else if (word == "clear") {
        if (arg.empty()) {
            panel.ClearFaults();
            std::cout << "faults cleared" << std::endl;
        } else {
            vimo::sim::FaultKind kind;
            if (!vimo::sim::FaultKindFromName(arg.substr(0, arg.find_first_of("=,")), kind))
                std::cout << "error: unknown fault '" << arg << "'" << std::endl;
            else
                std::cout << panel.RemoveFaults(kind) << " fault(s) removed" << std::endl;
        }
    } else if (word == "faults") {
        for (const vimo::sim::Fault& f : panel.Faults()) std::cout << "  " << f.text << std::endl;
        std::cout << panel.Faults().size() << " fault(s)" << std::endl;
    } else if (word == "status") {
        const vimo::sim::PanelStats& s = panel.Stats();
        std::cout << "address " << panel.Address() << ", plant code " << panel.PlantCode()
                  << (panel.InProgrammingMode() ? ", programming mode" : "") << "; frames " << s.framesIn
                  << ", replies " << s.repliesOut << ", other address " << s.otherAddress << ", bad " << s.badFrames
                  << ", dropped " << s.dropped << ", writes " << s.writes << std::endl;
    } else if (word == "export") {
        std::string error;
        if (arg.empty() || !vimo::sim::WriteFileSet(arg, panel.ExportFileSet(), error))
            std::cout << "error: " << (arg.empty() ? std::string("export needs a base name") : error) << std::endl;
        else
            std::cout << "exported " << arg << std::endl;
    } else {
        std::cout << "commands: fault SPEC | clear [NAME] | faults | status | export BASE | quit" << std::endl;
    }
    log.Note("command: " + line);
    return true;
}

#if defined(VIMO_SIM_HAS_PTY)

// Signals end the loop: they are blocked and polled, so no handler and no
// global flag are needed.
class StopSignals {
public:
    StopSignals() {
        sigemptyset(&set_);
        sigaddset(&set_, SIGINT);
        sigaddset(&set_, SIGTERM);
        sigaddset(&set_, SIGHUP);
        sigprocmask(SIG_BLOCK, &set_, nullptr);
    }
    bool Pending() const {
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        return sigismember(&pending, SIGINT) == 1 || sigismember(&pending, SIGTERM) == 1 ||
               sigismember(&pending, SIGHUP) == 1;
    }

private:
    sigset_t set_{};
};

// Reads whole lines from stdin without blocking the loop.
class StdinLines {
public:
    // Returns false at end of input.
    bool Poll(std::vector<std::string>& lines) {
        char buf[512];
        const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
        if (n == 0) return false;
        if (n < 0) return errno == EAGAIN || errno == EINTR;
        pending_.append(buf, static_cast<std::size_t>(n));
        std::size_t nl;
        while ((nl = pending_.find('\n')) != std::string::npos) {
            lines.push_back(pending_.substr(0, nl));
            pending_.erase(0, nl + 1);
        }
        return true;
    }

private:
    std::string pending_;
};

// How long a serving loop may wait for input: until the panel's next paced
// output is due, at most 10 ms, and 2 ms while bytes wait to be written.
int PollTimeoutMs(const Panel& panel, int64_t now, bool unsentBytes) {
    int timeout = 10;
    if (const auto next = panel.NextOutputAt()) timeout = static_cast<int>(std::clamp<int64_t>(*next - now, 0, 10));
    return unsentBytes ? std::min(timeout, 2) : timeout;
}

int ServePty(Panel& panel, const Options& o, Logger& log) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("vimo-sim: cannot open a pseudo-terminal");
        return 1;
    }
    const char* name = ptsname(master);
    if (!name) {
        std::perror("vimo-sim: ptsname");
        return 1;
    }
    const std::string slavePath = name;
    // Holding the slave open keeps the master readable when the tool closes
    // and reopens the port; raw mode so that no byte is translated.
    const int slave = open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        std::perror("vimo-sim: cannot open the terminal");
        return 1;
    }
    termios tio{};
    if (tcgetattr(slave, &tio) == 0) {
        cfmakeraw(&tio);
        cfsetispeed(&tio, B9600);
        cfsetospeed(&tio, B9600);
        tcsetattr(slave, TCSANOW, &tio);
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    bool linked = false;
    if (!o.link.empty()) {
        struct stat st{};
        if (lstat(o.link.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode)) {
                std::fprintf(stderr, "vimo-sim: %s exists and is not a link; not replaced\n", o.link.c_str());
                return 1;
            }
            unlink(o.link.c_str());
        }
        if (symlink(slavePath.c_str(), o.link.c_str()) != 0) {
            std::perror("vimo-sim: cannot create the link");
            return 1;
        }
        linked = true;
    }
    std::cout << slavePath << std::endl;
    log.Note("serving on " + slavePath + (linked ? " (" + o.link + ")" : std::string()));

    StopSignals signals;
    StdinLines input;
    if (o.stdinQuit) fcntl(STDIN_FILENO, F_SETFL, fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
    std::vector<uint8_t> unsent;
    bool running = true;
    while (running && !signals.Pending()) {
        int64_t now = NowMs();
        const int timeout = PollTimeoutMs(panel, now, !unsent.empty());
        pollfd fds[2] = {{master, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const int nfds = o.stdinQuit ? 2 : 1;
        poll(fds, static_cast<nfds_t>(nfds), timeout);
        now = NowMs();
        if (fds[0].revents & POLLIN) {
            uint8_t buf[4096];
            const ssize_t n = read(master, buf, sizeof buf);
            if (n > 0) panel.Feed(std::span<const uint8_t>(buf, static_cast<std::size_t>(n)), now);
        }
        if (o.stdinQuit && (fds[1].revents & (POLLIN | POLLHUP))) {
            std::vector<std::string> lines;
            if (!input.Poll(lines)) running = false;
            for (const std::string& l : lines)
                if (!RunCommand(l, panel, log)) running = false;
        }
        panel.Advance(now);
        const std::vector<uint8_t> out = panel.TakeOutput(now);
        unsent.insert(unsent.end(), out.begin(), out.end());
        if (!unsent.empty()) {
            const ssize_t n = write(master, unsent.data(), unsent.size());
            if (n > 0) unsent.erase(unsent.begin(), unsent.begin() + n);
        }
    }
    if (linked) unlink(o.link.c_str());
    close(slave);
    close(master);
    return 0;
}

// The panel's line carried over TCP, as a serial-to-Ethernet converter
// carries it: raw bytes both ways, one connection at a time. The tool opens
// and closes its port around every block operation, so connections come and
// go; the panel itself (programming mode, memory) lives on between them. A
// new connection replaces an open one, as a converter does when a client
// vanished without closing. Bytes still queued for a connection that ends
// are dropped, like bytes sent down a line that nobody listens to.
int ServeTcp(Panel& panel, const Options& o, Logger& log) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    if (listener < 0) {
        std::perror("vimo-sim: socket");
        return 1;
    }
    const int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(*o.tcpPort));
    if (bind(listener, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 || listen(listener, 4) != 0) {
        std::fprintf(stderr, "vimo-sim: cannot listen on 127.0.0.1:%d: %s\n", *o.tcpPort, std::strerror(errno));
        close(listener);
        return 1;
    }
    socklen_t len = sizeof addr;
    getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
    const std::string where = "tcp://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
    fcntl(listener, F_SETFL, fcntl(listener, F_GETFL) | O_NONBLOCK);
    std::cout << where << std::endl;
    log.Note("serving on " + where);

    StopSignals signals;
    StdinLines input;
    if (o.stdinQuit) fcntl(STDIN_FILENO, F_SETFL, fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
    int client = -1;
    auto drop = [&](const char* why) {
        if (client < 0) return;
        close(client);
        client = -1;
        log.Note(why);
    };
    std::vector<uint8_t> unsent;
    bool running = true;
    while (running && !signals.Pending()) {
        int64_t now = NowMs();
        const int timeout = PollTimeoutMs(panel, now, !unsent.empty());
        // poll skips a slot that holds -1: stdin without --stdin-quit, the
        // client while none is connected.
        pollfd fds[3] = {{listener, POLLIN, 0}, {o.stdinQuit ? STDIN_FILENO : -1, POLLIN, 0}, {client, POLLIN, 0}};
        poll(fds, 3, timeout);
        now = NowMs();
        if (fds[0].revents & POLLIN) {
            const int c = accept(listener, nullptr, nullptr);
            if (c >= 0) {
                drop("connection replaced by a new one");
                client = c;
                fcntl(client, F_SETFL, fcntl(client, F_GETFL) | O_NONBLOCK);
                setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
                unsent.clear();
                log.Note("connection opened");
            }
        }
        if (client >= 0 && (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) {
            uint8_t buf[4096];
            const ssize_t n = recv(client, buf, sizeof buf, 0);
            if (n > 0) {
                panel.Feed(std::span<const uint8_t>(buf, static_cast<std::size_t>(n)), now);
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                drop("connection closed");
                unsent.clear();
            }
        }
        if (o.stdinQuit && (fds[1].revents & (POLLIN | POLLHUP))) {
            std::vector<std::string> lines;
            if (!input.Poll(lines)) running = false;
            for (const std::string& l : lines)
                if (!RunCommand(l, panel, log)) running = false;
        }
        panel.Advance(now);
        const std::vector<uint8_t> out = panel.TakeOutput(now);
        if (client >= 0) unsent.insert(unsent.end(), out.begin(), out.end());
        if (client >= 0 && !unsent.empty()) {
            const ssize_t n = send(client, unsent.data(), unsent.size(), MSG_NOSIGNAL);
            if (n > 0) unsent.erase(unsent.begin(), unsent.begin() + n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                drop("connection lost while sending");
                unsent.clear();
            }
        }
    }
    if (client >= 0) close(client);
    close(listener);
    return 0;
}

#else

// Reads whole lines from stdin without blocking the loop: a reader thread
// hands them over (a console or pipe handle cannot be polled like a
// descriptor). The thread is left behind when the program ends while it
// waits for input; the shared state outlives both.
class StdinLines {
public:
    // Returns false at end of input, once every line has been handed over.
    bool Poll(std::vector<std::string>& lines) {
        if (!state_) {
            state_ = std::make_shared<State>();
            std::thread([state = state_] {
                std::string line;
                while (std::getline(std::cin, line)) {
                    if (!line.empty() && line.back() == '\r') line.pop_back();
                    const std::lock_guard<std::mutex> lock(state->mutex);
                    state->lines.push_back(line);
                }
                const std::lock_guard<std::mutex> lock(state->mutex);
                state->ended = true;
            }).detach();
        }
        const std::lock_guard<std::mutex> lock(state_->mutex);
        lines.insert(lines.end(), state_->lines.begin(), state_->lines.end());
        state_->lines.clear();
        return !state_->ended;
    }

private:
    struct State {
        std::mutex mutex;
        std::vector<std::string> lines;
        bool ended = false;
    };
    std::shared_ptr<State> state_;
};

#endif

int ServeRelay(Panel& panel, const Options& o, Logger& log) {
    const std::string tx = o.relay + "/fileTX.bin";
    const std::string rx = o.relay + "/fileRX.bin";
    if (!vimo::sim::ClearMailbox(tx) || !vimo::sim::ClearMailbox(rx)) {
        std::fprintf(stderr, "vimo-sim: cannot create the mailbox files in %s\n", o.relay.c_str());
        return 1;
    }
    std::cout << o.relay << std::endl;
    log.Note("serving the mailbox files in " + o.relay);
#if defined(VIMO_SIM_HAS_PTY)
    StopSignals signals;
    if (o.stdinQuit) fcntl(STDIN_FILENO, F_SETFL, fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
#endif
    StdinLines input;
    std::vector<uint8_t> unsent;
    bool running = true;
    while (running) {
#if defined(VIMO_SIM_HAS_PTY)
        if (signals.Pending()) break;
#endif
        if (o.stdinQuit) {
            std::vector<std::string> lines;
            if (!input.Poll(lines)) running = false;
            for (const std::string& l : lines)
                if (!RunCommand(l, panel, log)) running = false;
        }
        const int64_t now = NowMs();
        if (auto frame = vimo::sim::TakeMailbox(tx)) panel.Feed(*frame, now);
        panel.Advance(now);
        const std::vector<uint8_t> out = panel.TakeOutput(now);
        unsent.insert(unsent.end(), out.begin(), out.end());
        // A reply goes out whole once the tool has taken the previous one.
        if (!unsent.empty() && panel.OutputPending() == 0 && vimo::sim::MailboxEmpty(rx)) {
            const std::size_t n = std::min<std::size_t>(unsent.size(), 255);
            if (vimo::sim::PutMailbox(rx, std::span<const uint8_t>(unsent).first(n)))
                unsent.erase(unsent.begin(), unsent.begin() + static_cast<std::ptrdiff_t>(n));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    const std::string error = ParseOptions(argc, argv, o);
    if (error == "help") {
        std::cout << kUsage << vimo::sim::FaultHelp();
        return 0;
    }
    if (!error.empty()) {
        std::cerr << "vimo-sim: " << error << "\n\n" << kUsage << vimo::sim::FaultHelp();
        return 2;
    }

    vimo::sim::PanelSettings settings;
    settings.accessCode = o.accessCode;
    settings.latencyMs = o.latency;
    settings.paceBaud = o.baud;
    settings.paceInput = true;  // the pty hands over the tool's bytes at once
    settings.autoConfigMs = o.autoconfMs;
    settings.programmingTimeoutMs = o.progTimeoutS * 1000;
    settings.modules = o.modules;
    settings.seed = o.seed;
    if (!o.ident.empty()) settings.identification = o.ident;
    Panel panel(settings);

    std::string loaded = "built-in factory configuration";
    if (o.sample) {
        panel.LoadSample();
        loaded = "demonstration plant";
    } else if (!o.image.empty()) {
        vimo::sim::FileSet set;
        std::string why;
        if (!vimo::sim::ReadFileSet(o.image, set, why)) {
            std::cerr << "vimo-sim: " << why << '\n';
            return 1;
        }
        panel.LoadFileSet(set);
        loaded = o.image;
    } else if (!o.factory) {
        const std::string base = (ProgramFolder(argv[0]) / "DEFAULT").string();
        vimo::sim::FileSet set;
        std::string why;
        if (vimo::sim::ReadFileSet(base, set, why)) {
            panel.LoadFileSet(set);
            loaded = base;
        }
    }
    if (o.address) panel.SetAddress(*o.address);
    if (o.plantCode) panel.SetPlantCode(*o.plantCode);
    panel.SetClock(LocalDateTime(), NowMs());
    for (const vimo::sim::Fault& f : o.faults) panel.AddFault(f);
    if (!o.devices.empty() || !o.addressZero.empty()) {
        for (const auto& d : o.devices) panel.Loop(d.module).SetDevice(d.point, d.type);
        for (const auto& [m, codes] : o.addressZero) panel.Loop(m).addressZero = codes;
        panel.RestartLiveTables();
    }
    if (o.walk > 0) panel.StartWalk(o.walk);

    Logger log(o.trace, o.verbose);
    if (!log.TraceOk()) {
        std::cerr << "vimo-sim: cannot write " << o.trace << '\n';
        return 1;
    }
    panel.SetTrace([&log](const vimo::sim::TraceEvent& e) { log(e); });
    log.Note("panel address " + std::to_string(panel.Address()) + ", plant code " +
             std::to_string(panel.PlantCode()) + (o.accessCode.empty() ? "" : ", access code set") + "; " + loaded);

    int rc = 0;
    if (o.pty) {
#if defined(VIMO_SIM_HAS_PTY)
        rc = ServePty(panel, o, log);
#else
        std::cerr << "vimo-sim: pseudo-terminals are not available here; use --relay\n";
        rc = 1;
#endif
    } else if (o.tcpPort) {
#if defined(VIMO_SIM_HAS_PTY)
        rc = ServeTcp(panel, o, log);
#else
        std::cerr << "vimo-sim: serving on TCP is not available here; use --relay\n";
        rc = 1;
#endif
    } else {
        rc = ServeRelay(panel, o, log);
    }
    if (rc == 0 && !o.exportTo.empty()) {
        std::string why;
        if (!vimo::sim::WriteFileSet(o.exportTo, panel.ExportFileSet(), why)) {
            std::cerr << "vimo-sim: " << why << '\n';
            rc = 1;
        }
    }
    return rc;
}
