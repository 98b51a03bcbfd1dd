// Built-in data of the simulated plant: the factory type thresholds, the
// analog levels that devices of each type report, and the sensors of the
// demonstration configuration. Readings and thresholds are chosen together,
// so that a healthy device reads inside its window.
#pragma once

#include <cstdint>
#include <span>

namespace vimo::sim {

struct ThresholdRow {
    uint8_t t0, t1, t2, t3;
};

// Row 1..14 of the factory type threshold table.
ThresholdRow FactoryThresholds(int row);

// The analog level a healthy device of this type reads in quiet conditions,
// with a small per-point spread.
uint8_t NominalReading(int type, int module, int index);
// The value a device reports during auto-configuration (its calibrated level).
uint8_t CalibrationValue(int type, int module, int index);
// The reference level the panel keeps for points 1..99 of types 2 and 3.
uint8_t ReferenceLevel(int type, int module, int index);

struct SamplePoint {
    int module, index, type, variant, group;
    const char* place;
};
std::span<const SamplePoint> SamplePoints();

// Devices of the demonstration plant that differ from its configuration.
inline constexpr int kSampleMissingModule = 2, kSampleMissingIndex = 14;    // configured, not wired
inline constexpr int kSampleExtraModule = 2, kSampleExtraIndex = 15;        // wired, not configured
inline constexpr int kSampleAddressZeroModule = 2;                          // one device left at address 0

}  // namespace vimo::sim
