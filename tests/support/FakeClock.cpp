#include "FakeClock.h"

namespace cfg::test {

double FakeClock::SecondsSinceMidnight() { return seconds_; }

DateTime FakeClock::Now() {
    DateTime d = date_;
    long t = static_cast<long>(seconds_);
    d.hour = static_cast<int>(t / 3600 % 24);
    d.minute = static_cast<int>(t / 60 % 60);
    d.second = static_cast<int>(t % 60);
    return d;
}

void FakeClock::Advance(double seconds) {
    ++sleeps_;
    seconds_ += seconds;
    // Midnight: the time of day starts again from 0.
    if (seconds_ >= 86400.0) seconds_ -= 86400.0;
}

}  // namespace cfg::test
