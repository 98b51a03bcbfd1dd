// Time as the core sees it. Waits are measured in seconds since midnight; a
// value that goes backwards (midnight passed) ends a wait.
#pragma once

namespace cfg {

struct DateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int weekday = 6;  // 1 = Monday .. 7 = Sunday
};

// Weekday of a date of the proleptic Gregorian calendar, 1 = Monday ..
// 7 = Sunday (the panel's numbering).
int WeekdayOf(int year, int month, int day);
// Days of `month` (1..12) in `year`, leap years counted; 0 for a bad month.
int DaysInMonth(int year, int month);

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
