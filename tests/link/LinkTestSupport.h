// Test doubles for the link: a Transport whose replies arrive on the fake
// clock, and a small panel that answers the tool's commands from a memory.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSession.h"
#include "shell/Transport.h"

namespace cfg::test {

using Bytes = std::vector<uint8_t>;

// One run of reply bytes, arriving `delay` seconds after the previous run
// (the first one after the write).
struct Piece {
    double delay = 0;
    Bytes bytes;
};
using Script = std::vector<Piece>;

class ScriptedTransport : public Transport {
public:
    explicit ScriptedTransport(FakeClock& clock);

    std::deque<Script> replies;                          // one per write, first
    std::function<Script(const Bytes& frame)> responder;  // then this
    std::vector<Bytes> writes;
    PortSettings lastSettings;
    int openCalls = 0, closeCalls = 0, reads = 0;
    int openError = 0, writeError = 0;

    int Open(const PortSettings&) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    void FlushInput() override;
    int Write(const Bytes&) override;
    Bytes Read(std::size_t maxBytes) override;
    std::size_t BytesAvailable() override;
    bool WaitForInput(int ms) override;

private:
    void Sync();
    FakeClock& clock_;
    bool open_ = false;
    double now_ = 0, last_ = 0;
    std::deque<std::pair<double, Bytes>> pending_;
    Bytes input_;
};

// A reply frame as the panel sends it: data = address, letter, values.
Bytes PanelFrame(int address, char letter, const Bytes& values, bool longForm, const Bytes& header = {});

// A command as the tool sent it, decoded without checking the checksum.
struct SentCommand {
    bool longForm = false;
    Bytes header;
    int address = 0;
    char letter = 0;
    Bytes params;  // after the letter, the first (0) included
};
SentCommand DecodeSent(const Bytes& frame);

// Answers T, C, L, J, X, D and H like a panel of this family.
class TestPanel {
public:
    TestPanel();
    Script Respond(const Bytes& frame);

    int address = 1;
    int model = 22;
    std::array<uint8_t, 65536> memory{};
    // Per letter, answer codes to use (front first) instead of the normal
    // one; -1 = no reply at all.
    std::map<char, std::deque<int>> answers;
    Bytes loopReply;                          // values after 143 for "X"
    Bytes clock{30, 15, 9, 3, 24, 12, 5};     // s m h wd d mo y
    std::vector<SentCommand> received;

    void SetIdentification(const std::string& text);
    int Count(char letter) const;
};

// A session on the scripted transport, wired to a test panel.
class LinkTest : public ::testing::Test {
protected:
    LinkTest();
    TestSession t;
    Session& s;
    ScriptedUi& ui;
    ScriptedTransport port;
    TestPanel panel;
    double Elapsed();  // fake seconds since the test started

private:
    double start_;
};

}  // namespace cfg::test
