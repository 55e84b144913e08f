// Wall clock, calendar conversions and the monotonic clock.
#include "platform/platform.h"

#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>

namespace platform {
namespace {

std::mutex& ClockMutex() {
    static std::mutex m;
    return m;
}

std::function<int64_t()>& ClockOverride() {
    static std::function<int64_t()> f;
    return f;
}

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

CalendarTime FromTm(const std::tm& tm, int ms) {
    CalendarTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.millisecond = ms;
    t.dayOfWeek = tm.tm_wday;
    return t;
}

std::tm ToTm(const CalendarTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    return tm;
}

} // namespace

int64_t NowEpochMs() {
    {
        std::lock_guard<std::mutex> lock(ClockMutex());
        if (ClockOverride()) return ClockOverride()();
    }
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void SetClock(std::function<int64_t()> clock) {
    std::lock_guard<std::mutex> lock(ClockMutex());
    ClockOverride() = std::move(clock);
}

CalendarTime LocalFromEpochMs(int64_t epochMs) {
    int64_t sec = FloorDiv(epochMs, 1000);
    int ms = static_cast<int>(epochMs - sec * 1000);
    time_t tt = static_cast<time_t>(sec);
    std::tm tm{};
    localtime_r(&tt, &tm);
    return FromTm(tm, ms);
}

CalendarTime UtcFromEpochMs(int64_t epochMs) {
    int64_t sec = FloorDiv(epochMs, 1000);
    int ms = static_cast<int>(epochMs - sec * 1000);
    time_t tt = static_cast<time_t>(sec);
    std::tm tm{};
    gmtime_r(&tt, &tm);
    return FromTm(tm, ms);
}

int64_t EpochMsFromLocal(const CalendarTime& t) {
    std::tm tm = ToTm(t);
    time_t tt = mktime(&tm);
    return static_cast<int64_t>(tt) * 1000 + t.millisecond;
}

int64_t EpochMsFromUtc(const CalendarTime& t) {
    std::tm tm = ToTm(t);
    tm.tm_isdst = 0;
    time_t tt = timegm(&tm);
    return static_cast<int64_t>(tt) * 1000 + t.millisecond;
}

int64_t MonotonicMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace platform
