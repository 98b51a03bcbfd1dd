// A clock that only moves when the code under test sleeps (or the test says
// so), so time-outs run in microseconds.
#pragma once

#include "shell/Clock.h"

namespace cfg::test {

class FakeClock : public Clock {
public:
    double SecondsSinceMidnight() override;
    DateTime Now() override;
    void SleepMs(int ms) override { Advance(ms / 1000.0); }

    void Advance(double seconds);
    void SetTime(double secondsSinceMidnight) { seconds_ = secondsSinceMidnight; }
    void SetDate(int year, int month, int day, int weekday) {
        date_.year = year; date_.month = month; date_.day = day; date_.weekday = weekday;
    }
    long SleepCalls() const { return sleeps_; }

private:
    double seconds_ = 12 * 3600.0;
    DateTime date_{2026, 12, 5, 0, 0, 0, 6};
    long sleeps_ = 0;
};

}  // namespace cfg::test
