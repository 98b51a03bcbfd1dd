// One analog loop module of the simulated panel: the devices wired on its
// loop of 200 points (the "field"), and the module's own state: live
// readings, recorded minimum and maximum, error counters, line current and
// auto-configuration. The module answers the loop sub-commands that reach it
// through the panel's "X" command.
//
// The tables the tool reads live in panel memory (see MemoryMap.h); the
// module updates them on every live step:
//   live table, 2 bytes per point: byte 1 = flags (64 = configured device
//     not answering, 192 = device of another type than configured) + the
//     device's type in bits 3..0; byte 2 = the analog reading
//   min/max table: byte 1 = lowest, byte 2 = highest reading since the last
//     reset (255 = nothing recorded); the tool resets it by writing 255
//   loop status byte: 1 good, 2 open, 3 short circuit, 0 module missing
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "sim/Memory.h"
#include "sim/MemoryMap.h"

namespace vimo::sim {

struct Device {
    uint8_t type = 0;         // 0 = nothing wired at this address
    uint8_t level = 0;        // quiet analog level
    uint8_t calibration = 0;  // value reported during auto-configuration
    int8_t drift = 0;         // slow wander of the level (dust, temperature)
};

// Conditions of the plant, switched by faults.
struct LoopConditions {
    bool open = false;
    bool shortCircuit = false;
    bool overCurrent = false;
    bool autoConfigRefused = false;
    bool resetRefused = false;
    std::vector<std::pair<int, int>> readings;  // forced readings: point, value
};

// Loop sub-commands.
namespace loopcmd {
inline constexpr int kAutoConfigProgress = 5;
inline constexpr int kModel = 9;
inline constexpr int kVersion = 10;
inline constexpr int kAutoConfigResult = 11;
inline constexpr int kAddressZero = 15;
inline constexpr int kAutoConfigStart = 133;
inline constexpr int kLineCurrent = 135;
inline constexpr int kResetErrors = 136;
inline constexpr int kErrorCounters = 137;
}  // namespace loopcmd

// Answer codes of the "X" command.
namespace xanswer {
inline constexpr uint8_t kDone = 143;
inline constexpr uint8_t kAccessNeeded = 80;
inline constexpr uint8_t kNotProgramming = 128;
inline constexpr uint8_t kNoModule = 129;  // module missing or not answering
inline constexpr uint8_t kRefused = 130;   // busy, unknown sub-command or bad values
}  // namespace xanswer

struct LoopAnswer {
    uint8_t code = xanswer::kDone;
    std::vector<uint8_t> values;
};

class LoopModule {
public:
    explicit LoopModule(int number) : number_(number) {}

    int Number() const { return number_; }

    bool installed = true;
    std::string model = "LM-200/A";
    std::string version = "1.07";
    std::array<Device, kPointsPerLoop + 1> field{};  // index 1..200
    std::array<uint8_t, 2> addressZero{};            // codes of devices left at address 0
    int autoConfigMs = 6000;

    // Wires a device at every configured point of the module (with the
    // configured type); a loop with no configured point gets a default
    // population, so that auto-configuration has something to find.
    void FieldFromConfig(const Memory& memory);
    void SetDevice(int index, int type);  // type 0 removes the device
    int DeviceCount() const;

    // One live step: readings, min/max, error counters, status byte.
    void Tick(Memory& memory, Rng& rng, const LoopConditions& conditions, int64_t nowMs);
    // Writes the loop status byte.
    void WriteStatus(Memory& memory, const LoopConditions& conditions) const;
    uint8_t Status(const LoopConditions& conditions) const;

    LoopAnswer Command(int sub, std::span<const uint8_t> values, Memory& memory, Rng& rng, int64_t nowMs,
                       bool programming, const LoopConditions& conditions);

    bool AutoConfigRunning(int64_t nowMs) const;
    int AutoConfigRuns() const { return autoConfigRuns_; }
    std::array<uint8_t, 3> errors{};  // communication, short circuit, open loop
    uint8_t lastFaultPoint = 0;

private:
    uint16_t TableOffset(int index) const {
        return static_cast<uint16_t>((number_ - 1) * kLoopTableSize + 2 * (index - 1));
    }
    void CountError(int which, int point);
    void UpdateAutoConfig(int64_t nowMs);

    int number_;
    bool autoConfigActive_ = false;
    int64_t autoConfigStart_ = 0;
    int autoConfigRuns_ = 0;
    bool haveResults_ = false;
    std::array<Device, kPointsPerLoop + 1> results_{};
    bool wasOpen_ = false, wasShort_ = false;
};

}  // namespace vimo::sim
