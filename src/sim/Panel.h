// A simulated fire-detection panel of the VIMO family, as the tool meets it
// on the serial line.
//
// The host feeds the bytes that arrive from the tool with Feed() and takes
// the panel's reply bytes with TakeOutput(). Time is the host's: every call
// carries "now" in milliseconds (any monotonic origin), so replies that come
// late, paced replies, the panel clock, live readings and auto-configuration
// all follow the host's clock and tests stay deterministic.
//
// Commands (first parameter always 0, answered in the form they came in):
//   T            identify: answer "O", model 22
//   C 20/21      enter/leave programming mode ("P" without the access code)
//   C 14/15      commit the logics / clock programs ("O", "D" outside
//                programming mode, "E" when the area's checksum is wrong)
//   L a4 n       read n (1..64) bytes: 143 + data, 80 = access code needed
//   J a4 n d..   write: 143, 128 outside programming mode, 129 read-only area,
//                130 bad request
//   X loop sub.. loop module command: 143 + values, 80/128/129/130 refusals
//                (128 outside programming mode);
//                the loop letter "M" questions a concentrator unit instead
//   D            read the clock; H s m h wd d mo y set it ("O", "P", "E")
// Frames for another address, with another plant code or damaged get no
// answer at all.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/Concentrator.h"
#include "sim/Faults.h"
#include "sim/FileSet.h"
#include "sim/LoopModule.h"
#include "sim/Memory.h"
#include "sim/MemoryMap.h"
#include "sim/PanelClock.h"
#include "sim/SampleData.h"
#include "sim/Walker.h"
#include "sim/Wire.h"

namespace vimo::sim {

struct PanelSettings {
    // Link parameters; when given they hold whatever configuration is loaded,
    // else those of the loaded configuration (the factory configuration
    // answers at address 1 with plant code 11). The tool can still change
    // them by writing the link parameters in memory.
    std::optional<int> address;    // 0..223
    std::optional<int> plantCode;  // 0..223
    std::string accessCode;   // decimal digits; empty = no access code
    std::string identification = "VIMO-SYS  2.10 12/05/04";  // 23 characters
    int latencyMs = 0;        // from the end of a command to the first reply byte
    int paceBaud = 0;         // 0: a reply is readable at once; else 10 bits per byte
    // With paceBaud, also take the tool's bytes as arriving at that rate: a
    // command is answered only once its last byte would have crossed the
    // line. For hosts whose line delivers the tool's bytes at once (a pty);
    // the loopback transport paces the tool's bytes itself.
    bool paceInput = false;
    int autoConfigMs = 6000;  // how long a loop auto-configuration takes
    int programmingTimeoutMs = 0;  // 0: programming mode lasts until it is left
    int liveStepMs = 1000;    // period of the live readings
    uint64_t seed = 1;
    std::array<bool, kLoopModules> modules = {true, true};  // loop modules fitted
};

struct PanelStats {
    int framesIn = 0;          // frames that parsed and were for this panel
    int repliesOut = 0;
    int otherAddress = 0;      // frames for another panel
    int badFrames = 0;         // damaged frames, wrong plant code
    int unknownCommands = 0;
    int dropped = 0;           // replies swallowed by a fault
    int commitsLogics = 0;     // accepted "C" 14
    int commitsPrograms = 0;   // accepted "C" 15
    int writes = 0;            // accepted "J"
};

struct TraceEvent {
    enum class Kind { kIn, kOut, kIgnored, kNote };
    Kind kind = Kind::kNote;
    int64_t nowMs = 0;
    std::vector<uint8_t> bytes;
    std::string text;
};

class Panel {
public:
    explicit Panel(const PanelSettings& settings = {});

    // --- the serial line ---
    void Feed(std::span<const uint8_t> bytes, int64_t nowMs);
    // Lets time pass without input: live readings, auto-configuration,
    // programming-mode time-out.
    void Advance(int64_t nowMs);
    // Reply bytes readable at nowMs, at most maxBytes (0 = all), removed from
    // the queue.
    std::vector<uint8_t> TakeOutput(int64_t nowMs, std::size_t maxBytes = 0);
    std::size_t OutputReady(int64_t nowMs) const;
    std::size_t OutputPending() const { return output_.size(); }
    // When the next queued byte becomes readable, if any is queued.
    std::optional<int64_t> NextOutputAt() const;
    // Drops the bytes readable at nowMs (an input flush on the tool's side).
    void DiscardReady(int64_t nowMs);
    void DiscardOutput() { output_.clear(); }
    void ResetLine() { scanner_.Clear(); }

    // --- configuration ---
    void LoadFileSet(const FileSet& set);
    FileSet ExportFileSet() const;
    // Loads the demonstration plant: its file set plus a loop that differs
    // from it in a few places (a missing and an extra device, a device left
    // at address 0).
    void LoadSample();
    // Wires the loops after the configuration in memory.
    void RewireLoops();
    // Clears the live and min/max tables and takes one fresh reading (after
    // the devices on a loop were changed by hand).
    void RestartLiveTables();

    // The link parameters in force (those in memory). Setting one also keeps
    // it for configurations loaded later.
    int Address() const;
    void SetAddress(int address);
    int PlantCode() const;
    void SetPlantCode(int code);
    const std::string& AccessCode() const { return settings_.accessCode; }
    void SetAccessCode(const std::string& digits) { settings_.accessCode = digits; }
    void SetIdentification(const std::string& text);
    std::string Identification() const;
    bool InProgrammingMode() const { return programming_; }
    void SetProgrammingMode(bool on, int64_t nowMs);
    void SetPacing(int baud) { settings_.paceBaud = baud < 0 ? 0 : baud; }
    void SetLatency(int ms) { settings_.latencyMs = ms < 0 ? 0 : ms; }
    const PanelSettings& Settings() const { return settings_; }

    void SetClock(const DateTime& t, int64_t nowMs) { clock_.Set(t, nowMs); }
    DateTime ReadClock(int64_t nowMs) const { return clock_.Read(nowMs); }

    Memory& Mem() { return memory_; }
    const Memory& Mem() const { return memory_; }
    LoopModule& Loop(int module);  // 1 or 2
    // The concentrator units on the bus (see Concentrator.h).
    std::vector<Concentrator>& Concentrators() { return concentrators_; }

    // --- faults ---
    void AddFault(const Fault& f);
    // Removes every fault of this kind; returns how many were removed.
    int RemoveFaults(FaultKind kind);
    void ClearFaults() { faults_.clear(); }
    const std::vector<Fault>& Faults() const { return faults_; }

    // --- walk test ---
    // Plays a walker (see Walker.h): from the next moment the panel's time
    // moves, every `stepSeconds` the next device reads in alarm for about 15
    // seconds. 0 stops it.
    void StartWalk(int stepSeconds);
    const Walker& Walk() const { return walker_; }

    const PanelStats& Stats() const { return stats_; }
    void SetTrace(std::function<void(const TraceEvent&)> trace) { trace_ = std::move(trace); }

private:
    struct Reply {
        std::vector<uint8_t> values;  // data after the letter
        bool applyAddressChange = false;
    };
    struct Queued {
        int64_t readyMs;
        uint8_t byte;
    };

    void HandleFrame(const ToolFrame& frame, const std::vector<uint8_t>& raw, int64_t nowMs);
    std::optional<std::vector<uint8_t>> Answer(const ToolFrame& frame, int64_t nowMs);
    std::vector<uint8_t> AnswerControl(const ToolFrame& f, int64_t nowMs);
    std::vector<uint8_t> AnswerRead(const ToolFrame& f);
    std::vector<uint8_t> AnswerWrite(const ToolFrame& f, int64_t nowMs);
    std::vector<uint8_t> AnswerLoop(const ToolFrame& f, int64_t nowMs);
    std::vector<uint8_t> AnswerClock(const ToolFrame& f, int64_t nowMs);
    bool AccessGranted(const ToolFrame& f) const;
    bool ForcedAccess(char letter);
    // The first active fault of this kind for this command (and, when arg is
    // not -1, with this argument); counts it as used.
    std::optional<Fault> TakeFault(FaultKind kind, char letter, int arg = -1);
    bool HasCondition(FaultKind kind, int module) const;
    LoopConditions ConditionsFor(int module, int64_t atMs) const;
    void Enqueue(const std::vector<uint8_t>& bytes, int64_t startMs);
    void Trace(TraceEvent::Kind kind, int64_t nowMs, std::vector<uint8_t> bytes, std::string text);
    void WriteDirectory();

    PanelSettings settings_;
    Memory memory_;
    PanelClock clock_;
    std::array<LoopModule, kLoopModules> loops_{LoopModule(1), LoopModule(2)};
    std::vector<Concentrator> concentrators_ = FittedConcentrators();
    FrameScanner scanner_;
    std::deque<Queued> output_;
    std::vector<Fault> faults_;
    Rng rng_;
    Rng faultRng_;
    Walker walker_;
    PanelStats stats_;
    std::function<void(const TraceEvent&)> trace_;
    bool programming_ = false;
    int64_t lastActivityMs_ = 0;
    int64_t inputLineFreeMs_ = 0;  // paceInput: when the last byte fed has crossed the line
    int64_t inputLagMs_ = 0;       // paceInput: how far that lies after the current feed
    int64_t lastLiveMs_ = 0;
    int64_t nowMs_ = 0;
};

}  // namespace vimo::sim
