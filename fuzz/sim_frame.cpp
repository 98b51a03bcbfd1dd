// The simulated panel's frame parser takes any bytes without a crash.
#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/Wire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vimo::sim::ToolFrame frame;
    (void)vimo::sim::ParseToolFrame(std::span<const uint8_t>(data, size), 11, frame);
    (void)vimo::sim::ParsePanelReply(std::span<const uint8_t>(data, size));
    return 0;
}
