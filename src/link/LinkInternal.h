// Pieces that the serial and the mailbox exchange share. Not for use outside
// src/link.
#pragma once

#include <cstddef>
#include <functional>

#include "shell/Session.h"

namespace cfg::linkdetail {

// A reply longer than this without a CR is line noise, not a frame.
inline constexpr std::size_t kMaxReplyBytes = 1024;

// The two ends an exchange can run over.
class Channel {
public:
    virtual ~Channel() = default;
    // Throws away whatever is waiting before a new attempt.
    virtual void Discard() = 0;
    // Sends one frame. Returns false after a failure that ends the exchange
    // (the error has gone through the error handler).
    virtual bool Send(const Bytes& frame) = 0;
    // True when reply bytes are waiting (without blocking).
    virtual bool Poll() = 0;
    // Takes the waiting bytes.
    virtual Bytes Take() = 0;
    // A run-time error number once the channel is gone for good (the
    // transport's LinkFailure), else 0.
    virtual int Failure() { return 0; }
};

// Sends `frame` and collects the reply as SendCommand describes: attempts,
// time-outs between bytes, abort, pauses of `pauseSeconds` between attempts.
// Leaves the status in LinkStatus and the decoded reply in link.ReplyData /
// ReplyHeader; sets useHeader to the reply's form.
int RunExchange(Session&, Channel&, const Bytes& frame, int timeoutSeconds, int retries,
                bool expectReply, bool& useHeader, double pauseSeconds);

// After a time-out: waits at least `atLeastSeconds`, and until nothing has
// arrived for half a second (two seconds at most), throwing away what comes:
// a late answer to the command that timed out.
void DrainLateReply(Session&, Channel&, double atLeastSeconds);

// The first step of every exchange: forgets the last reply and builds the
// frame for link.CommandText with the given plant code. On a value that
// cannot be carried, reports run-time error 5 and returns false with
// LinkStatus 0 and useHeader cleared.
bool PrepareExchange(Session&, bool& useHeader, const std::string& plantCode, Bytes& frame);

// Appends one line per byte run to the trace file when one is set.
void TraceBytes(Session&, const char* direction, const Bytes&);

// A command for the panel in use: its address, the letter and the first
// parameter, which is always 0.
Bytes PanelCommand(const LinkState&, char letter);
// Sends `command` with SendCommand. With `withAccessCode` the frame takes
// the long form and carries the access code in its header.
int SendPanelCommand(Session&, const Bytes& command, int timeoutSeconds, int attempts, bool expectReply,
                     bool withAccessCode);

// Answer code of the last reply: data byte 4, or 0 when the reply is shorter.
inline int ReplyAnswer(const Session& s) { return s.link.ReplyData.size() >= 4 ? s.link.ReplyData[3] : 0; }

// The critical box of the link's refusals with one text (title text 1378).
void ShowAlertText(Session&, int textId);

// Closes the port and the busy area and empties the working strings when a
// block operation ends, on every way out.
class BlockScope {
public:
    explicit BlockScope(Session& s) : s_(s) {}
    ~BlockScope();
    BlockScope(const BlockScope&) = delete;
    BlockScope& operator=(const BlockScope&) = delete;

private:
    Session& s_;
};

}  // namespace cfg::linkdetail
