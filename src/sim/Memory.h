// The panel's 64 KiB of byte-addressed memory. Addresses past the end read
// as 0 and are not written, so a bad request can never reach outside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sim/MemoryMap.h"

namespace vimo::sim {

class Memory {
public:
    Memory() : bytes_(kMemorySize, 0) {}

    uint8_t Get(std::size_t address) const { return address < bytes_.size() ? bytes_[address] : 0; }
    void Set(std::size_t address, uint8_t value) {
        if (address < bytes_.size()) bytes_[address] = value;
    }
    std::vector<uint8_t> Read(std::size_t address, std::size_t count) const {
        std::vector<uint8_t> out(count, 0);
        for (std::size_t i = 0; i < count; ++i) out[i] = Get(address + i);
        return out;
    }
    void Write(std::size_t address, std::span<const uint8_t> data) {
        for (std::size_t i = 0; i < data.size(); ++i) Set(address + i, data[i]);
    }
    void Fill(std::size_t address, std::size_t count, uint8_t value) {
        for (std::size_t i = 0; i < count; ++i) Set(address + i, value);
    }
    uint16_t Word(std::size_t address) const {
        return static_cast<uint16_t>(Get(address) << 8 | Get(address + 1));
    }
    void SetWord(std::size_t address, uint16_t value) {
        Set(address, static_cast<uint8_t>(value >> 8));
        Set(address + 1, static_cast<uint8_t>(value & 255));
    }

private:
    std::vector<uint8_t> bytes_;
};

// A small deterministic generator (splitmix64), the same on every platform,
// so a seeded run always behaves the same.
class Rng {
public:
    explicit Rng(uint64_t seed = 1) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in 0..n-1 (n > 0).
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    bool Percent(int p) { return Below(100) < p; }

private:
    uint64_t state_;
};

}  // namespace vimo::sim
