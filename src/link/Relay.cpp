// The file link: when a relay program starts the tool with "TW", frames go
// through two small mailbox files in the program folder instead of the
// serial port. Each file holds a length byte and then the frame exactly as it
// would go on the wire; the writer stores the frame first and the length
// last, the reader writes 0 into the length byte once it has taken the frame.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <utility>

#include "link/Frame.h"
#include "link/Link.h"
#include "link/LinkInternal.h"
#include "shell/ErrorHandler.h"
#include "shell/FileNames.h"
#include "shell/Shell.h"

namespace cfg {

namespace {

constexpr const char* kParameterFile = "Par_app.tmp";
constexpr const char* kMailboxTx = "fileTX.bin";
constexpr const char* kMailboxRx = "fileRX.bin";
constexpr int kShareRetries = 3;

// Opens a mailbox for reading and writing, creating it when missing.
// Returns nullptr and sets `error` to a run-time error number on failure.
std::FILE* OpenMailbox(const std::string& path, bool create, long& error) {
    error = 0;
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    if (!f && create && errno == ENOENT) f = std::fopen(path.c_str(), "w+b");
    if (!f) error = ErrorNumberFromErrno(errno);
    return f;
}

long WriteLengthByte(const std::string& path, uint8_t value) {
    long error = 0;
    std::FILE* f = OpenMailbox(path, true, error);
    if (!f) return error;
    if (std::fputc(value, f) == EOF) error = ErrorNumberFromErrno(errno);
    if (std::fclose(f) != 0 && error == 0) error = ErrorNumberFromErrno(errno);
    return error;
}

class MailboxChannel final : public linkdetail::Channel {
public:
    explicit MailboxChannel(Session& s) : s_(s) {}
    void Discard() override { (void)GetMailbox(s_.link); }
    bool Send(const Bytes& frame) override {
        // A failed write has been recorded; the reply then never comes and
        // the attempt ends on its time-out.
        PutMailbox(s_, frame);
        return true;
    }
    bool Poll() override {
        if (piece_.empty()) piece_ = GetMailbox(s_.link);
        return !piece_.empty();
    }
    Bytes Take() override { return std::exchange(piece_, {}); }

private:
    Session& s_;
    Bytes piece_;
};

}  // namespace

void ReadRelayParameters(Session& s, const std::string& commandLine, const std::string& workingFolder) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t slash = commandLine.find('/', from);
        const std::string arg = commandLine.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
        if (UpperCase(Trim(arg)) == "TW") s.settings.FileLinkMode = true;
        if (slash == std::string::npos) break;
        from = slash + 1;
    }
    if (!s.settings.FileLinkMode) return;

    s.link.LastErrorNumber = 0;
    const std::string path = ResolveExisting(JoinPath(workingFolder, kParameterFile));
    std::ifstream in;
    if (!path.empty()) in.open(path, std::ios::binary);
    if (!in.is_open()) {
        s.settings.FileLinkMode = false;
        HandleRuntimeError(s, err::kFileNotFound, "");
        return;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() <= 5) continue;
        const std::string key = UpperCase(line.substr(0, 5));
        const std::string value = line.substr(5);
        if (key == "PATH=") s.link.RelayPath = value;
        else if (key == "CODI=") s.settings.RelayPlantCode = value;
        else if (key == "BAUD=") s.settings.RelayBaudRate = value;
    }
    s.link.MailboxTxPath = JoinPath(s.settings.ProgramFolder, kMailboxTx);
    s.link.MailboxRxPath = JoinPath(s.settings.ProgramFolder, kMailboxRx);
}

void PutMailbox(Session& s, const Bytes& frame) {
    const std::string path = ResolveForWrite(s.link.MailboxTxPath);
    for (int attempt = 0;; ++attempt) {
        long error = 0;
        if (std::FILE* f = OpenMailbox(path, true, error)) {
            if (std::fseek(f, 1, SEEK_SET) != 0 ||
                std::fwrite(frame.data(), 1, frame.size(), f) != frame.size() || std::fflush(f) != 0 ||
                std::fseek(f, 0, SEEK_SET) != 0 ||
                std::fputc(static_cast<int>(std::min<std::size_t>(frame.size(), 255)), f) == EOF ||
                std::fflush(f) != 0)
                error = ErrorNumberFromErrno(errno);
            // The relay polls the file: give it a moment before letting go.
            s.ui->ProcessEvents();
            s.clock->SleepMs(10);
            std::fclose(f);
        }
        if (error == 0) return;
        s.link.LastErrorNumber = error;
        // Only a file that the relay holds at this moment is worth another try.
        const bool shared = error == err::kPermissionDenied || error == err::kPathFileAccess;
        if (!shared || attempt >= kShareRetries) return;
        s.clock->SleepMs(50);
    }
}

Bytes GetMailbox(LinkState& link) {
    const std::string path = ResolveExisting(link.MailboxRxPath);
    if (path.empty()) {
        link.LastErrorNumber = err::kFileNotFound;
        return {};
    }
    long error = 0;
    std::FILE* f = OpenMailbox(path, false, error);
    if (!f) {
        link.LastErrorNumber = error;
        return {};
    }
    Bytes frame;
    const int length = std::fgetc(f);
    if (length != EOF && length >= 1) {
        frame.resize(static_cast<std::size_t>(length));
        frame.resize(std::fread(frame.data(), 1, frame.size(), f));
        // Mark the mailbox consumed.
        if (std::fseek(f, 0, SEEK_SET) != 0 || std::fputc(0, f) == EOF) link.LastErrorNumber = ErrorNumberFromErrno(errno);
    }
    std::fclose(f);
    return frame;
}

void ClearMailboxes(LinkState& link) {
    long error = WriteLengthByte(ResolveForWrite(link.MailboxRxPath), 0);
    if (error == 0) error = WriteLengthByte(ResolveForWrite(link.MailboxTxPath), 0);
    if (error != 0) link.LastErrorNumber = error;
}

int SendCommandViaFiles(Session& s, int timeoutSeconds, int retries, bool expectReply, bool& useHeader) {
    // As over the serial port, with the relay's plant code in the checksum.
    Bytes frame;
    if (!linkdetail::PrepareExchange(s, useHeader, s.settings.RelayPlantCode, frame)) return s.link.LinkStatus;
    MailboxChannel channel(s);
    return linkdetail::RunExchange(s, channel, frame, timeoutSeconds, retries, expectReply, useHeader, 0.3);
}

}  // namespace cfg
