#include "sim/PanelClock.h"

namespace vimo::sim {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Inverse of DaysFromCivil.
void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    int64_t z = days + 10957 + 719468;  // days since 0000-03-01
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

int64_t DaysFromCivil(int year, int month, int day) {
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t mp = (month + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 - 10957;
}

int WeekdayOf(int year, int month, int day) {
    // 2000-01-01 was a Saturday (6).
    const int64_t d = DaysFromCivil(year, month, day);
    return static_cast<int>(((d % 7) + 7 + 5) % 7) + 1;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
    return kDays[month - 1];
}

void PanelClock::Set(const DateTime& t, int64_t nowMs) {
    baseSeconds_ = DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
    baseMs_ = nowMs;
    weekdayShift_ = ((t.weekday - WeekdayOf(t.year, t.month, t.day)) % 7 + 7) % 7;
}

DateTime PanelClock::Read(int64_t nowMs) const {
    const int64_t s = baseSeconds_ + FloorDiv(nowMs - baseMs_, 1000);
    const int64_t days = FloorDiv(s, 86400);
    const int64_t rest = s - days * 86400;
    DateTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    t.weekday = (WeekdayOf(t.year, t.month, t.day) - 1 + weekdayShift_) % 7 + 1;
    return t;
}

}  // namespace vimo::sim
