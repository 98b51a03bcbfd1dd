#include "sim/Walker.h"

#include <algorithm>

#include "sim/LoopModule.h"
#include "sim/MemoryMap.h"

namespace vimo::sim {

namespace {

// The alarm threshold (T1) of the panel's threshold row for a type code.
int AlarmThreshold(const Memory& memory, int type) {
    int row = type > 8 ? (type & 15) - 1 : type & 7;
    if (row < 1) row = 1;
    return memory.Get(static_cast<std::size_t>(kTypeThresholds + 4 * (row - 1) + 1));
}

}  // namespace

void Walker::Plan(const Memory& memory, const std::vector<const LoopModule*>& loops, int64_t startMs) {
    visits_.clear();
    skipped_.clear();
    planned_ = true;
    if (!Active()) return;
    struct Device {
        int module, point, type;
        bool configured;
    };
    std::vector<Device> devices;
    for (const LoopModule* loop : loops) {
        if (!loop->installed) continue;
        for (int k = 1; k <= kPointsPerLoop; ++k) {
            const int type = loop->field[static_cast<std::size_t>(k)].type;
            if (type == 0) continue;
            const std::size_t at = kPointConfig + static_cast<std::size_t>((loop->Number() - 1) * kLoopTableSize + 2 * (k - 1));
            devices.push_back({loop->Number(), k, type, (memory.Get(at) >> 4) != 0});
        }
    }
    // Fisher-Yates on the panel's own generator: the same seed walks the
    // same way.
    for (std::size_t i = devices.size(); i > 1; --i)
        std::swap(devices[i - 1], devices[static_cast<std::size_t>(rng_.Below(static_cast<int>(i)))]);
    // A tenth of the configured devices (at least one of three or more) is
    // never reached: a locked room, a detector behind a false ceiling.
    const int configured = static_cast<int>(std::count_if(devices.begin(), devices.end(), [](const Device& d) { return d.configured; }));
    int skip = configured >= 3 ? std::max(1, configured / 10) : 0;
    int64_t at = startMs + stepMs_;
    for (const Device& d : devices) {
        if (d.configured && skip > 0) {
            --skip;
            skipped_.emplace_back(d.module, d.point);
            continue;
        }
        Visit v;
        v.module = d.module;
        v.point = d.point;
        v.fromMs = at;
        v.untilMs = at + kAlarmMs + rng_.Below(3000);
        v.value = std::min(254, AlarmThreshold(memory, d.type) + 10 + rng_.Below(8));
        visits_.push_back(v);
        at += stepMs_;
    }
}

void Walker::Readings(int module, int64_t nowMs, std::vector<std::pair<int, int>>& out) const {
    for (const Visit& v : visits_)
        if (v.module == module && nowMs >= v.fromMs && nowMs < v.untilMs) out.emplace_back(v.point, v.value);
}

}  // namespace vimo::sim
