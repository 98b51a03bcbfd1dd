// Logic areas of any content load without a crash, the table always fits
// back into 1960 bytes, and the re-compiled stream of what was loaded loads
// back to the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "editors/LogicBlocks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> area(data, size);
    cfg::LogicLoadReport report;
    cfg::LogicTable table = cfg::ParseLogicStream(area, &report);
    if (!cfg::LogicFits(table)) std::abort();
    std::vector<uint8_t> stream = cfg::CompileLogicStream(table);
    if (stream.size() != static_cast<std::size_t>(cfg::kLogicStreamBytes)) std::abort();
    cfg::LogicLoadReport again;
    if (!(cfg::ParseLogicStream(stream, &again) == table)) std::abort();
    if (again.records != report.records || again.outOfRange != 0 || again.duplicates != 0 || again.truncated)
        std::abort();
    for (int n = 1; n <= cfg::kLogicBlockCount; ++n) {
        const cfg::LogicBlock& b = table[n];
        if (b.Defined() && (b.Number() != n || static_cast<int>(b.conditions.size()) != (b.w1 >> 11))) std::abort();
        int output = b.OutputNumber();
        if (output < 0 || output > cfg::kLogicOutputs) std::abort();
    }
    return 0;
}
