// The four files of a configuration set as the panel sees them: .CY2 (main),
// .PY2 (clock programmer), .UY2 (logics), .MY2 (display texts). The panel
// loads a set into its memory and exports its memory back into a set, along
// the same block lists that the tool uses to receive a configuration.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vimo::sim {

inline constexpr std::size_t kCy2Size = 2981;
inline constexpr std::size_t kPy2Size = 384;
inline constexpr std::size_t kUy2Size = 1962;
inline constexpr std::size_t kMy2Size = 7280;

struct FileSet {
    std::vector<uint8_t> cy2, py2, uy2, my2;
};

// Sum of bytes, modulo 65536, 0 taken as 65535 (the clock program checksum).
uint16_t ByteSumChecksum(std::span<const uint8_t> bytes);
// Sum of big-endian 16-bit words, modulo 65536, 0 taken as 65535 (the logic
// checksum). An odd last byte counts as a high byte.
uint16_t WordSumChecksum(std::span<const uint8_t> bytes);

// Stores the clock program checksum of bytes 0..335 at 336..337.
void SealClockPrograms(std::vector<uint8_t>& py2);
// Stores the logic checksum of bytes 0..n-3 at n-2..n-1.
void SealLogics(std::vector<uint8_t>& uy2);
bool ClockProgramsValid(std::span<const uint8_t> py2);
bool LogicsValid(std::span<const uint8_t> uy2);

// A new panel: no sensors, no programs, no logics, blank texts, correct
// sizes and checksums.
FileSet FactoryFileSet();
// A demonstration plant: sensors of several types on both loops with
// descriptions, a few clock programs and one logic block.
FileSet SampleFileSet();

// Reads BASE.CY2 .. BASE.MY2 (the extension is also tried in lower case).
// Every file must exist; sizes are checked against the fixed layouts, the
// .UY2 may have any even length of at least 4. On failure returns false with
// a message naming the file.
bool ReadFileSet(const std::string& base, FileSet& out, std::string& error);
bool WriteFileSet(const std::string& base, const FileSet& set, std::string& error);

}  // namespace vimo::sim
