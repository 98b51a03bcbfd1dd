// Time as the core sees it. Waits are measured in seconds since midnight; a
// value that goes backwards (midnight passed) ends a wait.
#pragma once

namespace cfg {

struct DateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int weekday = 6;  // 1 = Monday .. 7 = Sunday
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual double SecondsSinceMidnight() = 0;
    virtual DateTime Now() = 0;
    virtual void SleepMs(int ms) = 0;
};

// The real wall clock of the machine.
class SystemClock final : public Clock {
public:
    double SecondsSinceMidnight() override;
    DateTime Now() override;
    void SleepMs(int ms) override;
};

}  // namespace cfg
