// The vimo-sim program on a real pseudo-terminal and on the relay files.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;
#endif

#include "sim/FileSet.h"
#include "sim/Mailbox.h"
#include "sim/Wire.h"

namespace vimo::sim {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr int kPlant = 11;
// Generous: the machine may be busy. Under Wine on a loaded machine a
// process alone can take ten seconds and more to start.
#if defined(_WIN32)
constexpr int kPatienceMs = 30000;
#else
constexpr int kPatienceMs = 5000;
#endif

#if defined(_WIN32)

// vimo-sim.exe as a child process with pipes on stdin and stdout.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args) {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE childIn = nullptr, childOut = nullptr;
        if (!CreatePipe(&childIn, &stdin_, &inherit, 0)) return;
        if (!CreatePipe(&stdout_, &childOut, &inherit, 0)) return;
        SetHandleInformation(stdin_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(stdout_, HANDLE_FLAG_INHERIT, 0);
        HANDLE null = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
        std::string line = "\"" + std::string(CFG_BIN_DIR) + "/vimo-sim.exe\"";
        for (const std::string& a : args) line += " \"" + a + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = childIn;
        si.hStdOutput = childOut;
        si.hStdError = null;
        PROCESS_INFORMATION pi{};
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
            process_ = pi.hProcess;
            CloseHandle(pi.hThread);
        }
        CloseHandle(childIn);
        CloseHandle(childOut);
        if (null != INVALID_HANDLE_VALUE) CloseHandle(null);
    }
    ~SimProcess() {
        CloseStdin();
        if (process_) {
            TerminateProcess(process_, 1);
            CloseHandle(process_);
        }
        if (stdout_) CloseHandle(stdout_);
    }
    bool Started() const { return process_ != nullptr; }

    // The next line the program prints (without its line end), or empty
    // after the patience ran out.
    std::string ReadLine() {
        std::string line;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
        while (std::chrono::steady_clock::now() < until) {
            DWORD ready = 0;
            if (!PeekNamedPipe(stdout_, nullptr, 0, nullptr, &ready, nullptr)) return {};
            if (ready == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            char c;
            DWORD n = 0;
            if (!ReadFile(stdout_, &c, 1, &n, nullptr) || n != 1) return {};
            if (c == '\n') return line;
            if (c != '\r') line += c;
        }
        return {};
    }
    void Say(const std::string& text) {
        DWORD n = 0;
        WriteFile(stdin_, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    }
    // Closes stdin (the program quits) and returns its exit status.
    int Quit() {
        CloseStdin();
        return Wait();
    }
    int Wait() {
        if (!process_) return -1;
        DWORD code = 0;
        const bool ended = WaitForSingleObject(process_, kPatienceMs) == WAIT_OBJECT_0;
        if (!ended) TerminateProcess(process_, 1);
        GetExitCodeProcess(process_, &code);
        CloseHandle(process_);
        process_ = nullptr;
        return ended ? static_cast<int>(code) : -1;
    }

private:
    void CloseStdin() {
        if (stdin_) CloseHandle(stdin_);
        stdin_ = nullptr;
    }
    HANDLE process_ = nullptr;
    HANDLE stdin_ = nullptr;
    HANDLE stdout_ = nullptr;
};

#else

// vimo-sim as a child process with pipes on stdin and stdout.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args) {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&fa, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&fa, in[1]);
        posix_spawn_file_actions_addclose(&fa, out[0]);
        posix_spawn_file_actions_addopen(&fa, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        const std::string exe = std::string(CFG_BIN_DIR) + "/vimo-sim";
        std::vector<std::string> all = {exe};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, exe.c_str(), &fa, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&fa);
        close(in[0]);
        close(out[1]);
        stdin_ = in[1];
        stdout_ = out[0];
    }
    ~SimProcess() {
        if (stdin_ >= 0) close(stdin_);
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            Wait();
        }
        if (stdout_ >= 0) close(stdout_);
    }
    bool Started() const { return pid_ > 0; }

    // The first line the program prints, or empty after the patience ran out.
    std::string ReadLine() {
        std::string line;
        char c;
        while (true) {
            pollfd p{stdout_, POLLIN, 0};
            if (poll(&p, 1, kPatienceMs) <= 0) return {};
            if (read(stdout_, &c, 1) != 1) return {};
            if (c == '\n') return line;
            line += c;
        }
    }
    void Say(const std::string& text) { (void)!write(stdin_, text.data(), text.size()); }
    // Closes stdin (the program quits) and returns its exit status.
    int Quit() {
        close(stdin_);
        stdin_ = -1;
        return Wait();
    }
    int Wait() {
        int status = 0;
        for (int i = 0; i < kPatienceMs / 10; ++i) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return -1;
    }

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
};

// Reads until a CR arrives or the patience runs out.
Bytes ReadReply(int fd) {
    Bytes reply;
    while (reply.empty() || reply.back() != 0x0D) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, kPatienceMs) <= 0) break;
        uint8_t buf[256];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) break;
        reply.insert(reply.end(), buf, buf + n);
    }
    return reply;
}

#endif

fs::path TempDir(const std::string& name) {
    std::random_device seed;
    const fs::path dir = fs::temp_directory_path() / ("vimo_sim_" + name + "_" + std::to_string(seed()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

#if defined(_WIN32)
TEST(VimoSimTest, AnswersOnAPseudoTerminal) {
    GTEST_SKIP() << "pseudo-terminals exist on POSIX systems only; here vimo-sim serves the relay files";
}
#else
TEST(VimoSimTest, AnswersOnAPseudoTerminal) {
    const fs::path dir = TempDir("pty");
    const std::string link = (dir / "ttyVIMO").string();
    SimProcess sim({"--pty", "--link", link, "--factory", "--stdin-quit", "--address", "5", "--baud", "9600"});
    ASSERT_TRUE(sim.Started());
    const std::string path = sim.ReadLine();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(fs::read_symlink(link).string(), path);

    const int fd = open(link.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(fd, &tio), 0);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    const Bytes identify = BuildToolFrame(5, 'T', Bytes{0}, kPlant, true);
    ASSERT_EQ(write(fd, identify.data(), identify.size()), static_cast<ssize_t>(identify.size()));
    const auto reply = ParsePanelReply(ReadReply(fd));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->address, 5);
    EXPECT_EQ(reply->values, (Bytes{0, 'O', 22}));

    // A fault switched on from stdin takes effect on the next command.
    sim.Say("fault drop,times=1\n");
    EXPECT_EQ(sim.ReadLine(), "fault on: drop,times=1");
    ASSERT_EQ(write(fd, identify.data(), identify.size()), static_cast<ssize_t>(identify.size()));
    pollfd p{fd, POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 300), 0);
    ASSERT_EQ(write(fd, identify.data(), identify.size()), static_cast<ssize_t>(identify.size()));
    EXPECT_TRUE(ParsePanelReply(ReadReply(fd)));
    close(fd);

    EXPECT_EQ(sim.Quit(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    fs::remove_all(dir);
}
#endif

#if defined(_WIN32)
TEST(VimoSimTest, AnswersOnTcpOneConnectionAtATime) {
    GTEST_SKIP() << "vimo-sim serves TCP on POSIX systems only; here it serves the relay files";
}
#else
// A client connection to 127.0.0.1:port, or -1.
int ConnectLocal(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) return fd;
    if (fd >= 0) close(fd);
    return -1;
}

TEST(VimoSimTest, AnswersOnTcpOneConnectionAtATime) {
    SimProcess sim({"--tcp", "0", "--factory", "--stdin-quit", "--address", "7"});
    ASSERT_TRUE(sim.Started());
    const std::string where = sim.ReadLine();
    const std::string prefix = "tcp://127.0.0.1:";
    ASSERT_EQ(where.rfind(prefix, 0), 0u) << where;
    const int port = std::stoi(where.substr(prefix.size()));
    const Bytes identify = BuildToolFrame(7, 'T', Bytes{0}, kPlant, true);

    // The tool opens and closes its port around each block of work: every
    // connection is served in turn.
    for (int round = 0; round < 2; ++round) {
        const int fd = ConnectLocal(port);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, identify.data(), identify.size()), static_cast<ssize_t>(identify.size()));
        const auto reply = ParsePanelReply(ReadReply(fd));
        ASSERT_TRUE(reply) << "round " << round;
        EXPECT_EQ(reply->address, 7);
        close(fd);
    }

    // A new connection replaces one that was never closed; the old one ends.
    const int stale = ConnectLocal(port);
    ASSERT_GE(stale, 0);
    const int fresh = ConnectLocal(port);
    ASSERT_GE(fresh, 0);
    ASSERT_EQ(write(fresh, identify.data(), identify.size()), static_cast<ssize_t>(identify.size()));
    EXPECT_TRUE(ParsePanelReply(ReadReply(fresh)));
    uint8_t byte = 0;
    pollfd p{stale, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, kPatienceMs), 1);
    EXPECT_EQ(read(stale, &byte, 1), 0) << "the replaced connection is closed";
    close(stale);
    close(fresh);

    EXPECT_EQ(sim.Quit(), 0);
    EXPECT_LT(ConnectLocal(port), 0) << "nothing listens once the simulator has ended";
}
#endif

TEST(VimoSimTest, AnswersOnTheRelayFilesAndExportsOnExit) {
    const fs::path dir = TempDir("relay");
    const std::string exported = (dir / "OUT").string();
    SimProcess sim({"--relay", dir.string(), "--sample", "--stdin-quit", "--export", exported});
    ASSERT_TRUE(sim.Started());
    ASSERT_EQ(sim.ReadLine(), dir.string());
    const std::string tx = (dir / "fileTX.bin").string();
    const std::string rx = (dir / "fileRX.bin").string();

    // Read the installation name of the sample (23 bytes at 4096 + 192).
    Bytes params{0};
    AppendAddressDigits(4096 + 192, params);
    params.push_back(19);
    ASSERT_TRUE(PutMailbox(tx, BuildToolFrame(1, 'L', params, kPlant, true)));
    Bytes reply;
    for (int i = 0; i < kPatienceMs / 10 && (reply.empty() || reply.back() != 0x0D); ++i) {
        if (auto piece = TakeMailbox(rx)) reply.insert(reply.end(), piece->begin(), piece->end());
        else std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(MailboxEmpty(tx));  // the panel took the frame
    const auto r = ParsePanelReply(reply);
    ASSERT_TRUE(r);
    ASSERT_EQ(r->values.size(), 2u + 38u);
    EXPECT_EQ(r->values[1], 143);
    std::string name;
    for (std::size_t i = 2; i + 1 < r->values.size(); i += 2)
        name += static_cast<char>((r->values[i] & 15) + 16 * (r->values[i + 1] & 15));
    EXPECT_EQ(name, "DEMO UFFICI ROMA   ");

    EXPECT_EQ(sim.Quit(), 0);
    FileSet out;
    std::string error;
    ASSERT_TRUE(ReadFileSet(exported, out, error)) << error;
    EXPECT_EQ(out.cy2, SampleFileSet().cy2);
    fs::remove_all(dir);
}

TEST(VimoSimTest, RefusesBadOptions) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--pty", "--bogus"}, {"--pty", "--relay", "/tmp"}, {"--pty", "--address", "300"}, {"--relay"},
             {"--pty", "--fault", "explode"}, {"--pty", "--sample", "--image", "X"}}) {
        SimProcess sim(args);
        ASSERT_TRUE(sim.Started());
        EXPECT_EQ(sim.Wait(), 2) << args.back();
    }
    SimProcess missing({"--pty", "--image", "/nonexistent/PLANT"});
    EXPECT_EQ(missing.Wait(), 1);
}

}  // namespace
}  // namespace vimo::sim
