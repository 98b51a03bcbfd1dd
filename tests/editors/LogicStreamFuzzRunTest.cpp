// A short, bounded run of the logic-stream fuzz target on the ordinary
// build: seeded random areas, and areas made of plausible records, go
// through the same checks (the target aborts on a broken property).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

TEST(LogicStreamFuzzRun, RandomAndRecordShapedAreasKeepTheirProperties) {
    std::mt19937 rng(4135);
    std::vector<uint8_t> area(1962);
    for (int round = 0; round < 3000; ++round) {
        if (round % 2 == 0) {
            for (auto& b : area) b = static_cast<uint8_t>(rng());
        } else {
            // Records with small block numbers and counts, so that headers,
            // duplicates and the end of the area are met often.
            std::fill(area.begin(), area.end(), 0);
            std::size_t at = 0;
            while (at + 1 < 1960 && rng() % 40 != 0) {
                int count = static_cast<int>(rng() % 8);
                uint16_t words[3] = {static_cast<uint16_t>(0x8000 | rng() % 90),
                                     static_cast<uint16_t>(count << 11 | (rng() & 0x7FF)),
                                     static_cast<uint16_t>(rng())};
                for (uint16_t w : words) {
                    if (at + 1 >= area.size()) break;
                    area[at++] = static_cast<uint8_t>(w >> 8);
                    area[at++] = static_cast<uint8_t>(w & 0xFF);
                }
                at += 2 * static_cast<std::size_t>(count);
            }
        }
        std::size_t size = round % 7 == 0 ? rng() % area.size() : area.size();
        ASSERT_EQ(LLVMFuzzerTestOneInput(area.data(), size), 0);
    }
}

}  // namespace
