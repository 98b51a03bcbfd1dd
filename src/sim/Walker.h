// A walk test played on the simulated panel: someone goes round the
// building and sets off one device after the other. Every `stepMs` the next
// device of a shuffled order reads in alarm for about 15 seconds; a few
// configured devices are never reached, so that a walk test shows both
// tested and untested points. Devices wired without a configuration are
// walked too (the panel reports them as they answer).
//
// Time is the panel's (the host's milliseconds), so a walk on a fake clock
// runs as fast as the test drives it.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "sim/Memory.h"

namespace vimo::sim {

class LoopModule;

class Walker {
public:
    Walker() = default;
    Walker(int stepMs, uint64_t seed) : stepMs_(stepMs), rng_(seed) {}

    bool Active() const { return stepMs_ > 0; }
    int StepMs() const { return stepMs_; }

    // Plans the walk over the devices wired on the loops; the walk starts at
    // `startMs`.
    void Plan(const Memory& memory, const std::vector<const LoopModule*>& loops, int64_t startMs);
    bool Planned() const { return planned_; }

    // The readings the walker forces on loop `module` at `nowMs`: point, value.
    void Readings(int module, int64_t nowMs, std::vector<std::pair<int, int>>& out) const;

    struct Visit {
        int module = 1, point = 1;
        int64_t fromMs = 0, untilMs = 0;
        int value = 0;
    };
    const std::vector<Visit>& Visits() const { return visits_; }
    // Configured devices the walk never reaches.
    const std::vector<std::pair<int, int>>& Skipped() const { return skipped_; }

    static constexpr int kAlarmMs = 15000;

private:
    int stepMs_ = 0;
    Rng rng_{1};
    bool planned_ = false;
    std::vector<Visit> visits_;
    std::vector<std::pair<int, int>> skipped_;
};

}  // namespace vimo::sim
