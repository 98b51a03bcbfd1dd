// The panel's real-time clock: a calendar date and time that runs on the
// host's millisecond count, so a test that moves "now" moves the clock.
#pragma once

#include <cstdint>

namespace vimo::sim {

struct DateTime {
    int year = 2004, month = 1, day = 1;  // four-digit year
    int hour = 0, minute = 0, second = 0;
    int weekday = 4;  // 1 = Monday .. 7 = Sunday
};

// Days since 2000-01-01 of a calendar date (proleptic Gregorian).
int64_t DaysFromCivil(int year, int month, int day);
// Weekday of a date, 1 = Monday .. 7 = Sunday.
int WeekdayOf(int year, int month, int day);
// Number of days of a month.
int DaysInMonth(int year, int month);

class PanelClock {
public:
    // Sets the clock to `t` at host time nowMs. The weekday is kept as given
    // (a panel stores what it was told) and advances with the days.
    void Set(const DateTime& t, int64_t nowMs);
    DateTime Read(int64_t nowMs) const;

private:
    int64_t baseSeconds_ = DaysFromCivil(2004, 1, 1) * 86400;  // at baseMs_
    int64_t baseMs_ = 0;
    int weekdayShift_ = 0;  // given weekday minus the calendar weekday
};

}  // namespace vimo::sim
