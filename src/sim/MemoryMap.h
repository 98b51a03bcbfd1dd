// The memory map of the simulated panel: one place for every address.
//
// The panel has 64 KiB of byte-addressed memory. The tool reaches it with the
// "L" (read) and "J" (write) commands and finds most areas through the address
// directory at 49152: 24 entries of two bytes, high byte first, entry k at
// 49152 + 2 (k - 1). Some entries hold a length rather than an address.
//
//   address          size  content                                 directory
//   -------------   -----  --------------------------------------  ---------
//       193             1  serial rate divisor (12, 24, 48, 96)
//     4096 ..  7076  2981  main configuration, byte n of the .CY2
//                          file at 4096 + n                        entry 1
//     4526 ..  4589    64  module directory (.CY2 430)
//     4592 ..  4595     4  link parameters: address, plant code,
//                          baud code, spare (.CY2 496); the panel
//                          answers with these values
//     4608 ..  5407   800  point configuration, modules 1 and 2    entry 2
//     5408 ..  6207   800  point parameters, modules 1 and 2
//     7008 ..  7063    56  type thresholds (.CY2 2912)             entry 4
//     7168 ..  7967   800  live readings, modules 1 and 2          entry 5
//     7968 ..  8767   800  recorded minimum/maximum                entry 6
//     8768 ..  9567   800  reference levels (the .CY2 2112 part)   entry 7
//    10208 .. 10209     2  loop status, one byte per module        entry 3
//    12288 .. 12311    24  clock dates                             entry 10
//    12320 .. 12329    10  clock periods (the tool moves 9)        entry 9
//    12352 .. 12701   350  clock programs: 336 + checksum + spare  entry 11
//                          (entry 12 holds the length 336)
//    12720              1  marker: 187 = programs/logics present   entry 18
//    12800 .. 14761  1962  logic area: 1960 + checksum             entry 16
//                          (entry 17 holds the length 1960)
//    24576 .. 31855  7280  display texts, byte n of the .MY2 file  entry 19
//    49152 .. 49199    48  the address directory (read only)
//    57604 .. 57626    23  identification text (read only)         entry 8
//
// The live, min/max and reference tables sit together because the tool
// reaches all three from entry 5: live at entry 5, min/max at entry 5 + 800,
// references at entry 5 + 1600 (module m adds (m - 1) * 400 to each). The
// main configuration keeps the .CY2 layout, so its bytes 2112..2911 at
// 6208..7007 are a copy of the reference table as it was last loaded.
// The clock areas are stored in another order than in the .PY2 file (dates,
// periods, programs), so that no single distance leads from a file offset to
// its panel address: the tool has to take them from the directory.
// Entries 13..15 and 20..24 are not used and hold 0.
#pragma once

#include <array>
#include <cstdint>

namespace vimo::sim {

inline constexpr std::size_t kMemorySize = 65536;

// Main configuration (.CY2) and its sections.
inline constexpr uint16_t kMainBase = 4096;
inline constexpr uint16_t kMainSize = 2981;
inline constexpr uint16_t kSerialDivisor = 193;
inline constexpr uint16_t kModuleDirectory = kMainBase + 430;
inline constexpr uint16_t kModuleDirectorySize = 64;
inline constexpr uint16_t kGroupTable = kMainBase + 301;
inline constexpr uint16_t kIdentBlock = kMainBase + 192;
inline constexpr uint16_t kCommParams = kMainBase + 496;  // 4592
inline constexpr uint16_t kCommAddress = kCommParams;      // panel address
inline constexpr uint16_t kCommPlantCode = kCommParams + 1;
inline constexpr uint16_t kCommBaudCode = kCommParams + 2;
inline constexpr uint16_t kPointConfig = kMainBase + 512;   // 4608
inline constexpr uint16_t kPointParam = kMainBase + 1312;   // 5408
inline constexpr uint16_t kMainReference = kMainBase + 2112;
inline constexpr uint16_t kTypeThresholds = kMainBase + 2912;  // 7008
inline constexpr uint16_t kTypeThresholdsSize = 56;
inline constexpr uint16_t kMainTrailer = kMainBase + 2968;

// Loop tables of the two loop modules: 400 bytes (2 per point) per module.
inline constexpr int kLoopModules = 2;
inline constexpr int kPointsPerLoop = 200;
inline constexpr uint16_t kLoopTableSize = 400;
inline constexpr uint16_t kLiveValues = 7168;
inline constexpr uint16_t kMinMax = kLiveValues + 800;
inline constexpr uint16_t kReference = kLiveValues + 1600;
inline constexpr uint16_t kLoopStatus = 10208;

// Clock programmer (.PY2).
inline constexpr uint16_t kClockDates = 12288;
inline constexpr uint16_t kClockDatesArea = 24;
inline constexpr uint16_t kClockPeriods = 12320;
inline constexpr uint16_t kClockPeriodsArea = 10;
inline constexpr uint16_t kClockPrograms = 12352;
inline constexpr uint16_t kClockProgramsLength = 336;  // without the checksum
inline constexpr uint16_t kClockProgramsArea = 350;
inline constexpr uint16_t kMarker = 12720;
inline constexpr uint8_t kMarkerPresent = 187;

// Programmable logics (.UY2).
inline constexpr uint16_t kLogics = 12800;
inline constexpr uint16_t kLogicsLength = 1960;  // without the checksum

// Display texts (.MY2).
inline constexpr uint16_t kDisplayTexts = 24576;
inline constexpr uint16_t kDisplayTextsSize = 7280;

// Read-only areas.
inline constexpr uint16_t kDirectory = 49152;
inline constexpr int kDirectoryEntries = 24;
inline constexpr uint16_t kIdentification = 57604;
inline constexpr uint16_t kIdentificationSize = 23;

// Model code that the identify command reports.
inline constexpr uint8_t kPanelModel = 22;

// The 24 directory entries, index 0 = entry 1.
inline constexpr std::array<uint16_t, kDirectoryEntries> kDirectoryValues = {
    kMainBase,             // 1  main configuration
    kPointConfig,          // 2  point configuration
    kLoopStatus,           // 3  loop status bytes
    kTypeThresholds,       // 4  type thresholds
    kLiveValues,           // 5  live / min-max / reference tables
    kMinMax,               // 6  min/max table
    kReference,            // 7  reference table
    kIdentification,       // 8  identification text
    kClockPeriods,         // 9  clock periods
    kClockDates,           // 10 clock dates
    kClockPrograms,        // 11 clock programs
    kClockProgramsLength,  // 12 length of the clock programs
    0, 0, 0,               // 13..15 not used
    kLogics,               // 16 logic area
    kLogicsLength,         // 17 length of the logic area
    kMarker,               // 18 marker byte
    kDisplayTexts,         // 19 display texts
    0, 0, 0, 0, 0,         // 20..24 not used
};

// Directory entry k (1..24).
constexpr uint16_t DirectoryEntry(int k) {
    return (k >= 1 && k <= kDirectoryEntries) ? kDirectoryValues[static_cast<std::size_t>(k - 1)] : 0;
}

}  // namespace vimo::sim
