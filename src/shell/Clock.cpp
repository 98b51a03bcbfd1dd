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
