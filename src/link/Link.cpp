#include "link/Link.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "link/Frame.h"
#include "link/LinkInternal.h"
#include "shell/ErrorHandler.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/RuntimeError.h"
#include "shell/Shell.h"
#include "shell/Text.h"

namespace cfg {

namespace {

// Texts.
constexpr int kLinkErrorTitle = 1388;
constexpr int kStoppedByUserText = 1379;
constexpr int kCommandRefusedText = 1380;
constexpr int kNoAnswerText = 1381;
constexpr int kNoAnswerHint = 1382;
constexpr int kBusyTryAgainText = 1383;
constexpr int kBadReplyText = 1384;
constexpr int kLinkErrorText = 1385;
constexpr int kErrorCodeText = 1386;
// What a failed exchange's status means, below the general text.
constexpr int kBadLengthText = 1528;
constexpr int kBadChecksumText = 1529;
constexpr int kOtherAddressText = 1530;
constexpr int kDataRefusedText = 1531;
constexpr int kNoSourceText = 1532;

}  // namespace

namespace linkdetail {

namespace {

enum class Arrival { kArrived, kTimedOut, kAborted };

// Waits, yielding, until `poll` reports input, `timeoutSeconds` pass (a clock
// that goes backwards starts the count again) or the user asks to abort
// (the request is consumed).
template <typename Poll>
Arrival WaitForArrival(Session& s, int timeoutSeconds, Poll poll) {
    double start = s.clock->SecondsSinceMidnight();
    for (;;) {
        if (poll()) return Arrival::kArrived;
        Yield(s);
        const double now = s.clock->SecondsSinceMidnight();
        if (now < start) start = now;
        if (now - start > timeoutSeconds) return Arrival::kTimedOut;
        if (s.events.AbortRequested) {
            s.events.AbortRequested = false;
            return Arrival::kAborted;
        }
    }
}

// After a time-out the panel's answer may still be on its way. Whatever
// arrives until the line has been quiet for a while belongs to the command
// that timed out and is thrown away, so that it is never taken for the
// answer to the next one.
constexpr double kLateQuietSeconds = 0.5;
constexpr double kLateLimitSeconds = 2.0;

}  // namespace

void DrainLateReply(Session& s, Channel& ch, double atLeastSeconds) {
    double start = s.clock->SecondsSinceMidnight();
    double lastByte = start;
    for (;;) {
        if (ch.Poll()) {
            TraceBytes(s, "RX", ch.Take());
            lastByte = s.clock->SecondsSinceMidnight();
        }
        const double now = s.clock->SecondsSinceMidnight();
        if (now < start) break;  // midnight: the count cannot go on
        const double waited = now - start;
        if (waited >= kLateLimitSeconds) break;
        if (waited >= atLeastSeconds && now - lastByte >= kLateQuietSeconds) break;
        Yield(s);
    }
}

void TraceBytes(Session& s, const char* direction, const Bytes& bytes) {
    if (s.link.TraceFile.empty() || bytes.empty()) return;
    std::ofstream out(s.link.TraceFile, std::ios::app | std::ios::binary);
    if (!out) return;
    const double t = s.clock->SecondsSinceMidnight();
    const long ms = std::lround(t * 1000.0);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02ld:%02ld:%02ld.%03ld", ms / 3600000 % 24, ms / 60000 % 60,
                  ms / 1000 % 60, ms % 1000);
    out << stamp << ' ' << direction;
    char hex[4];
    for (uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        out << hex;
    }
    out << '\n';
}

bool PrepareExchange(Session& s, bool& useHeader, const std::string& plantCode, Bytes& frame) {
    s.link.ReplyData.clear();
    s.link.ReplyHeader.clear();
    if (BuildCommandFrame(s.link.CommandText, s.link.HeaderField, useHeader, ParseNumber(plantCode), frame))
        return true;
    useHeader = false;
    s.link.LinkStatus = status::kAborted;
    HandleRuntimeError(s, err::kInvalidCall, "Invalid procedure call or argument");
    return false;
}

int RunExchange(Session& s, Channel& ch, const Bytes& frame, int timeoutSeconds, int retries,
                bool expectReply, bool& useHeader, double pauseSeconds) {
    Ui& ui = *s.ui;
    // The status line must not be cleared while the panel is being waited for.
    const bool statusHeld = ui.StatusVisible();
    if (statusHeld) ui.SetStatusTimer(0);
    ui.SetTxRx(" Tx ");
    ui.SetAbortTimer(true);

    const int address = s.link.CommandText.empty() ? 0 : s.link.CommandText[0];
    int attempts = retries;
    int result = status::kAborted;
    DecodedReply reply;
    for (;;) {
        ch.Discard();
        ui.ProcessEvents();
        if (s.events.AbortRequested) {
            s.events.AbortRequested = false;
            result = status::kAborted;
            break;
        }
        if (!ch.Send(frame)) {
            // The port failed under the frame (an adapter pulled out, the
            // far end of a pseudo-terminal gone) and the error has been
            // recorded. Nothing went out, so there is no reply to wait for:
            // the attempt counts as one that got none. The next may find the
            // port working again; the last ends in "no reply", whose message
            // sends the installer to the cable and the port.
            if (--attempts <= 0) {
                result = status::kNoReply;
                break;
            }
            WaitSeconds(s, pauseSeconds);
            continue;
        }
        TraceBytes(s, "TX", frame);
        ui.ProcessEvents();
        useHeader = false;
        if (!expectReply) {
            result = status::kDone;
            break;
        }

        Bytes raw;
        bool complete = false;
        Arrival arrival = Arrival::kArrived;
        bool rxShown = false;
        int failure = 0;
        while (!complete) {
            // Each wait starts afresh, so the time-out bounds the gap between
            // bytes as well as the wait for the first one. A channel that is
            // gone for good ends the wait at once: no reply can come.
            arrival = WaitForArrival(s, timeoutSeconds, [&] { return ch.Poll() || ch.Failure() != 0; });
            if (arrival != Arrival::kArrived) break;
            if (!ch.Poll()) {
                failure = ch.Failure();
                break;
            }
            if (!rxShown) {
                ui.SetTxRx(" Rx ");
                rxShown = true;
            }
            Bytes piece = ch.Take();
            TraceBytes(s, "RX", piece);
            for (uint8_t b : piece) {
                raw.push_back(b);
                if (b == kCr || raw.size() >= kMaxReplyBytes) {
                    complete = true;  // anything after the CR is dropped
                    break;
                }
            }
        }
        if (failure != 0) {
            HandleRuntimeError(s, failure, "");
            result = status::kAborted;
            break;
        }
        if (arrival == Arrival::kAborted) {
            // The panel may answer the command all the same: that answer
            // must not meet the next command (the release that follows).
            DrainLateReply(s, ch, 0);
            result = status::kAborted;
            break;
        }
        if (arrival == Arrival::kTimedOut) {
            // The pause before the next attempt is spent draining the line;
            // after the last one the next command gets a quiet line too.
            if (--attempts <= 0) {
                DrainLateReply(s, ch, 0);
                result = status::kNoReply;
                break;
            }
            DrainLateReply(s, ch, pauseSeconds);
            continue;
        }
        result = ParseReply(raw, address, reply);
        if (result == status::kDone) break;
        if (--attempts <= 0) break;
        WaitSeconds(s, pauseSeconds);
    }

    if (result == status::kDone) {
        s.link.ReplyData = reply.data;
        s.link.ReplyHeader = reply.header;
        useHeader = reply.longForm;
    } else {
        s.link.ReplyData.clear();
        s.link.ReplyHeader.clear();
        useHeader = false;
    }
    ui.SetTxRx("");
    s.link.LinkStatus = result;
    if (statusHeld) ui.SetStatusTimer(s.link.StatusTimerInterval);
    return result;
}

}  // namespace linkdetail

namespace {

class SerialChannel final : public linkdetail::Channel {
public:
    explicit SerialChannel(Session& s) : s_(s), t_(*s.transport) {}
    void Discard() override { t_.FlushInput(); }
    bool Send(const Bytes& frame) override {
        const int rc = t_.Write(frame);
        if (rc == 0) return true;
        HandleRuntimeError(s_, rc, "");
        return false;
    }
    bool Poll() override { return t_.BytesAvailable() > 0; }
    Bytes Take() override { return t_.Read(0); }
    int Failure() override { return t_.LinkFailure(); }

private:
    Session& s_;
    Transport& t_;
};

char ParityLetter(const std::string& name) {
    const std::string t = UpperCase(Trim(name));
    return t.empty() ? 'N' : t[0];
}

}  // namespace

OpResult OpenPanelPort(Session& s) {
    if (s.settings.FileLinkMode) {
        s.link.LinkStatus = status::kAborted;
        s.link.LastErrorNumber = 0;
        ClearMailboxes(s.link);
        if (s.link.LastErrorNumber != 0) {
            HandleRuntimeError(s, s.link.LastErrorNumber, "");
            return LinkResult(s.link);
        }
        return Finish(s.link, status::kDone);
    }
    if (s.transport && s.transport->IsOpen()) {
        s.transport->Close();
        WaitSeconds(s, 0.2);
    }
    s.link.LinkStatus = status::kAborted;
    s.link.LastErrorNumber = 0;
    if (!s.transport) {
        HandleRuntimeError(s, err::kInvalidPort, "");
        return LinkResult(s.link);
    }
    PortSettings ps;
    ps.portName = Trim(s.settings.CommPortName);
    ps.baud = static_cast<int>(ParseNumber(s.settings.BaudRate));
    ps.parity = ParityLetter(s.settings.ParityName);
    ps.dataBits = static_cast<int>(ParseNumber(s.settings.DataBits));
    ps.stopBits = static_cast<int>(ParseNumber(s.settings.StopBits));
    const int rc = s.transport->Open(ps);
    if (rc != 0) {
        HandleRuntimeError(s, rc, "");
        return LinkResult(s.link);
    }
    s.link.LinkStatus = status::kDone;
    return LinkResult(s.link);
}

void ClosePanelPort(Session& s) {
    if (s.transport && s.transport->IsOpen()) s.transport->Close();
}

int SendCommand(Session& s, int timeoutSeconds, int retries, bool expectReply, bool& useHeader) {
    if (s.settings.FileLinkMode)
        return SendCommandViaFiles(s, timeoutSeconds, retries, expectReply, useHeader);
    Bytes frame;
    if (!linkdetail::PrepareExchange(s, useHeader, s.settings.PlantCode, frame)) return s.link.LinkStatus;
    if (!s.transport || !s.transport->IsOpen()) {
        if (!OpenPanelPort(s).Done()) {
            useHeader = false;
            return s.link.LinkStatus;
        }
    }
    SerialChannel channel(s);
    return linkdetail::RunExchange(s, channel, frame, timeoutSeconds, retries, expectReply, useHeader, 0.2);
}

bool IsTraceLine(const std::string& line) {
    // "12:00:00.000 TX 02 21 54 20 20 C5 0D"
    static constexpr char kStamp[] = "dd:dd:dd.ddd ";
    constexpr std::size_t kStampLength = sizeof kStamp - 1;
    if (line.size() < kStampLength + 5) return false;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    auto hex = [&digit](char c) { return digit(c) || (c >= 'A' && c <= 'F'); };
    for (std::size_t i = 0; i < kStampLength; ++i)
        if (kStamp[i] == 'd' ? !digit(line[i]) : line[i] != kStamp[i]) return false;
    const std::string direction = line.substr(kStampLength, 2);
    if (direction != "TX" && direction != "RX") return false;
    std::size_t i = kStampLength + 2;
    if ((line.size() - i) % 3 != 0) return false;
    for (; i < line.size(); i += 3)
        if (line[i] != ' ' || !hex(line[i + 1]) || !hex(line[i + 2])) return false;
    return true;
}

bool CanAppendTrace(const std::string& path) {
    // The trace is written to the name as given (TraceBytes), so that is
    // the file to look at.
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return true;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    std::string first;
    if (!std::getline(in, first)) return true;  // empty
    return IsTraceLine(first);
}

void EncodeAccessCode(LinkState& link, const std::string& digits) {
    Bytes field = EncodeAccessDigits(digits);
    if (!field.empty()) link.AccessField = std::move(field);
}

void ReportLinkError(Session& s) {
    Ui& ui = *s.ui;
    if (ui.StatusVisible()) {
        ui.SetStatusVisible(false);
        ui.SetProgressValue(0);
        ui.SetAbortButtonVisible(false);
        ui.ProcessEvents();
    }
    // An exchange that ended because the network connection was lost has
    // already said so; "stopped by the user" would be wrong.
    if (s.link.LinkStatus == status::kAborted && s.link.LastErrorNumber == err::kConnectionLost) return;
    std::string first, second;
    switch (s.link.LinkStatus) {
    case status::kAborted: first = GetText(s, kStoppedByUserText); break;
    case status::kRefused: first = GetText(s, kCommandRefusedText); break;
    case status::kNoReply:
        first = GetText(s, kNoAnswerText);
        second = GetText(s, kNoAnswerHint);
        break;
    case status::kRefused130: first = GetText(s, kBusyTryAgainText); break;
    case status::kNoStartByte: first = GetText(s, kBadReplyText); break;
    default: {
        first = GetText(s, kLinkErrorText);
        // What the code means, then the code itself for whoever the
        // installer calls for help.
        int meaning = 0;
        switch (s.link.LinkStatus) {
        case status::kBadLength: meaning = kBadLengthText; break;
        case status::kBadChecksum: meaning = kBadChecksumText; break;
        case status::kOtherAddress: meaning = kOtherAddressText; break;
        case status::kCommitRefused: meaning = kDataRefusedText; break;
        case status::kNoSource: meaning = kNoSourceText; break;
        default: break;
        }
        if (meaning != 0) second = GetText(s, meaning) + "\r";
        std::string code = GetText(s, kErrorCodeText);
        // The language file cannot keep a trailing blank: keep the number apart.
        if (!code.empty() && code.back() != ' ') code += ' ';
        second += code + HexText(s.link.LinkStatus) + "H";
        break;
    }
    }
    std::string text = second.empty() ? first : first + "\r" + second;
    ui.MessageBox(GetText(s, kLinkErrorTitle), text, MsgButtons::Ok, MsgIcon::Critical);
}

}  // namespace cfg
