// Faults that the simulated panel can be told to show, each switchable on
// its own. A fault is written NAME[=ARG][,times=N][,after=N][,pct=P][,cmd=LETTERS]:
//   times  how many replies it affects, then it switches itself off
//   after  how many matching replies go through untouched first
//   pct    the chance, in percent, that a matching reply is affected
//   cmd    the command letters it applies to (e.g. cmd=LJ); default all
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vimo::sim {

enum class FaultKind {
    kNoise,             // noise[=N]: N bytes (default 4) of line noise before the reply
    kDrop,              // drop: no reply at all
    kBadChecksum,       // bad-checksum: the reply's checksum is wrong
    kOtherAddress,      // other-address[=A]: the reply carries address A (default own + 1)
    kSlow,              // slow=MS: the reply starts MS milliseconds late
    kLate,              // late[=MS]: the reply comes MS ms (default 300) after the tool's time-out
                        // for its command has run out; once unless times= says otherwise
    kBadLength,         // bad-length: a long reply whose length byte is off by one
    kLowByte,           // low-byte: a data byte below 32 inside the reply
    kWriteRefused,      // write-refused=129|130: "J" answered 129 or 130
    kAccessNeeded,      // access-needed: "L"/"X" answered 80, "C" 20 and "H" answered "P"
    kControlAnswer,     // control=CODE:LETTER: "C" CODE answered LETTER (e.g. control=20:C)
    kAutoConfigRefused, // autoconf-refused: starting auto-configuration answers 0
    kResetRefused,      // reset-refused: resetting the loop errors answers 0
    kLoopOpen,          // loop-open=M: loop M is open (status 2, error counters rise)
    kLoopShort,         // loop-short=M: loop M is short-circuited (status 3)
    kOverCurrent,       // overcurrent=M: loop M draws more than 250 mA
    kReading,           // reading=M:P:V: the device at point P of loop M reads V
};

struct Fault {
    FaultKind kind = FaultKind::kDrop;
    int arg = 0;
    char answer = 0;      // control: the answer letter
    int point = 0;        // reading: the point 1..200
    int value = 0;        // reading: the analog value 0..254
    int times = -1;       // replies left to affect; -1 = no limit
    int after = 0;        // matching replies to let through first
    int percent = 100;
    std::string letters;  // command letters it applies to; empty = every command
    std::string text;     // as written, for listings

    bool Matches(char letter) const;
    // Faults that change the state of the plant rather than one reply.
    bool IsCondition() const;
};

// Parses one fault; on failure returns false and says why.
bool ParseFault(const std::string& text, Fault& out, std::string& error);
// The name of a fault kind as written on the command line, and back.
const char* FaultName(FaultKind);
bool FaultKindFromName(const std::string& name, FaultKind& out);
// One line per fault, for --help.
std::string FaultHelp();

}  // namespace vimo::sim
