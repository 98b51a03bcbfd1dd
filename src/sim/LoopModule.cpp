#include "sim/LoopModule.h"

#include <algorithm>

#include "sim/SampleData.h"

namespace vimo::sim {

void LoopModule::FieldFromConfig(const Memory& memory) {
    field = {};
    int configured = 0;
    for (int k = 1; k <= kPointsPerLoop; ++k) {
        const int type = memory.Get(kPointConfig + TableOffset(k)) >> 4;
        if (type != 0) {
            SetDevice(k, type);
            ++configured;
        }
    }
    if (configured == 0) {
        // A freshly wired loop: smoke detectors with a call point and an
        // output module at the end, more on loop 1 than on loop 2.
        const int count = number_ == 1 ? 16 : 10;
        for (int k = 1; k <= count; ++k) SetDevice(k, 1);
        SetDevice(count + 1, 9);
        SetDevice(count + 2, 10);
    }
}

void LoopModule::SetDevice(int index, int type) {
    if (index < 1 || index > kPointsPerLoop) return;
    Device& d = field[static_cast<std::size_t>(index)];
    d.type = static_cast<uint8_t>(type & 15);
    d.level = d.type ? NominalReading(d.type, number_, index) : 0;
    d.calibration = d.type ? CalibrationValue(d.type, number_, index) : 0;
}

int LoopModule::DeviceCount() const {
    int n = 0;
    for (int k = 1; k <= kPointsPerLoop; ++k)
        if (field[static_cast<std::size_t>(k)].type) ++n;
    return n;
}

uint8_t LoopModule::Status(const LoopConditions& c) const {
    if (!installed) return 0;
    if (c.shortCircuit) return 3;
    if (c.open) return 2;
    return 1;
}

void LoopModule::WriteStatus(Memory& memory, const LoopConditions& c) const {
    memory.Set(kLoopStatus + static_cast<std::size_t>(number_ - 1), Status(c));
}

void LoopModule::CountError(int which, int point) {
    uint8_t& e = errors[static_cast<std::size_t>(which)];
    if (e < 255) ++e;
    if (point > 0) lastFaultPoint = static_cast<uint8_t>(point);
}

void LoopModule::UpdateAutoConfig(int64_t nowMs) {
    if (!autoConfigActive_ || nowMs - autoConfigStart_ < autoConfigMs) return;
    autoConfigActive_ = false;
    results_ = field;
    haveResults_ = true;
}

bool LoopModule::AutoConfigRunning(int64_t nowMs) const {
    return autoConfigActive_ && nowMs - autoConfigStart_ < autoConfigMs;
}

void LoopModule::Tick(Memory& memory, Rng& rng, const LoopConditions& c, int64_t nowMs) {
    UpdateAutoConfig(nowMs);
    WriteStatus(memory, c);
    if (!installed) return;
    // A loop fault counts once when it appears.
    if (c.open && !wasOpen_) CountError(2, 0);
    if (c.shortCircuit && !wasShort_) CountError(1, 0);
    wasOpen_ = c.open;
    wasShort_ = c.shortCircuit;

    for (int k = 1; k <= kPointsPerLoop; ++k) {
        const uint16_t off = TableOffset(k);
        const int configured = memory.Get(kPointConfig + off) >> 4;
        Device& d = field[static_cast<std::size_t>(k)];
        uint8_t flags = 0;
        uint8_t reading = 0;
        if (d.type != 0) {
            // The level wanders slowly within a few steps; each reading
            // adds a little noise.
            if (rng.Below(30) == 0) d.drift = static_cast<int8_t>(std::clamp(d.drift + (rng.Below(2) ? 1 : -1), -3, 3));
            static constexpr int kJitter[4] = {-1, 0, 0, 1};
            reading = static_cast<uint8_t>(std::clamp(d.level + d.drift + kJitter[rng.Below(4)], 1, 254));
            for (const auto& [point, value] : c.readings)
                if (point == k) reading = static_cast<uint8_t>(value);
            flags = d.type;
            if (configured != 0 && configured != d.type) flags |= 192;
        } else if (configured != 0) {
            flags = 64;
            // A configured device that does not answer now and then shows up
            // as a communication error.
            if (rng.Below(20) == 0) CountError(0, k);
        }
        memory.Set(kLiveValues + off, flags);
        memory.Set(kLiveValues + off + 1u, reading);
        if (configured != 0 && d.type != 0) {
            const uint8_t lo = memory.Get(kMinMax + off);
            const uint8_t hi = memory.Get(kMinMax + off + 1u);
            memory.Set(kMinMax + off, lo == 255 ? reading : std::min(lo, reading));
            memory.Set(kMinMax + off + 1u, hi == 255 ? reading : std::max(hi, reading));
        }
    }
}

LoopAnswer LoopModule::Command(int sub, std::span<const uint8_t> values, Memory& /*memory*/, Rng& rng, int64_t nowMs,
                               bool programming, const LoopConditions& c) {
    UpdateAutoConfig(nowMs);
    LoopAnswer a;
    if (!installed) {
        a.code = xanswer::kNoModule;
        return a;
    }
    const bool busy = AutoConfigRunning(nowMs);
    auto text = [&a](const std::string& s) {
        for (char ch : s) a.values.push_back(static_cast<uint8_t>(ch));
    };
    switch (sub) {
        case loopcmd::kAutoConfigProgress: {
            if (busy) {
                const int64_t done = (nowMs - autoConfigStart_) * 100 / std::max(autoConfigMs, 1);
                a.values = {1, static_cast<uint8_t>(std::clamp<int64_t>(done, 0, 99)),
                            static_cast<uint8_t>(std::clamp<int64_t>(done * 2, 1, 200))};
            } else {
                a.values = {0, 100, 200};
            }
            return a;
        }
        case loopcmd::kModel: text(model.substr(0, 32)); return a;
        case loopcmd::kVersion: text(version.substr(0, 32)); return a;
        case loopcmd::kErrorCounters:
            a.values = {errors[0], errors[1], errors[2], lastFaultPoint};
            return a;
        default: break;
    }
    if (busy) {
        a.code = xanswer::kRefused;
        return a;
    }
    switch (sub) {
        case loopcmd::kAutoConfigResult: {
            const int block = values.empty() ? 0 : values[0];
            if (block < 1 || block > 25) {
                a.code = xanswer::kRefused;
                return a;
            }
            const auto& src = haveResults_ ? results_ : field;
            for (int j = 1; j <= 8; ++j) {
                const Device& d = src[static_cast<std::size_t>(8 * (block - 1) + j)];
                a.values.push_back(d.type);
                a.values.push_back(d.type ? d.calibration : 0);
            }
            return a;
        }
        case loopcmd::kAddressZero:
            a.values = {addressZero[0], addressZero[1]};
            return a;
        case loopcmd::kAutoConfigStart:
            if (!programming) {
                a.code = xanswer::kNotProgramming;
                return a;
            }
            if (c.autoConfigRefused || c.open || c.shortCircuit) {
                a.values = {0};
                return a;
            }
            autoConfigActive_ = true;
            autoConfigStart_ = nowMs;
            ++autoConfigRuns_;
            a.values = {1};
            return a;
        case loopcmd::kLineCurrent: {
            // About 18 mA of module load plus 0.9 mA per device, carried as
            // sample = 4 + current * 1.4 / 6 so that three samples, times 2,
            // over 1.4 give the current back.
            double ma = 18.0 + 0.9 * DeviceCount();
            if (c.shortCircuit) ma = 0;
            if (c.overCurrent) ma = 320;
            int sample = static_cast<int>(ma * 1.4 / 6.0 + 0.5) + rng.Below(2);
            a.values = {static_cast<uint8_t>(std::clamp(sample + 4, 0, 255)),
                        static_cast<uint8_t>(c.shortCircuit ? 0 : 27)};
            return a;
        }
        case loopcmd::kResetErrors:
            if (c.resetRefused) {
                a.values = {0};
                return a;
            }
            errors = {};
            lastFaultPoint = 0;
            wasOpen_ = wasShort_ = false;  // a fault still present counts again
            a.values = {1};
            return a;
        default:
            a.code = xanswer::kRefused;
            return a;
    }
}

}  // namespace vimo::sim
