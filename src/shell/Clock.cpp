#include "Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace cfg {

namespace {

// The local calendar time of `t`: the thread-safe variant of localtime,
// which the C library of each system names and orders differently.
std::tm LocalTime(std::time_t t) {
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return tm;
}

}  // namespace

int WeekdayOf(int year, int month, int day) {
    // Days since 1970-01-01 (a Thursday) by the civil-calendar count that
    // starts years in March, so February's leap day falls at a year's end.
    const long y = month <= 2 ? year - 1 : year;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153L * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long days = era * 146097 + dayOfEra - 719468;
    const long fromMonday = ((days + 3) % 7 + 7) % 7;  // 1970-01-01 is 3 days after a Monday
    return static_cast<int>(fromMonday) + 1;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

double SystemClock::SecondsSinceMidnight() {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    const std::tm tm = LocalTime(t);
    auto frac = std::chrono::duration<double>(now.time_since_epoch()).count();
    frac -= static_cast<double>(static_cast<long long>(frac));
    return tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec + frac;
}

DateTime SystemClock::Now() {
    std::time_t t = std::time(nullptr);
    const std::tm tm = LocalTime(t);
    DateTime d;
    d.year = tm.tm_year + 1900;
    d.month = tm.tm_mon + 1;
    d.day = tm.tm_mday;
    d.hour = tm.tm_hour;
    d.minute = tm.tm_min;
    d.second = tm.tm_sec;
    d.weekday = tm.tm_wday == 0 ? 7 : tm.tm_wday;
    return d;
}

void SystemClock::SleepMs(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace cfg
