#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/platform.h"

namespace {

struct TzGuard {
    explicit TzGuard(const char* tz) {
        const char* old = std::getenv("TZ");
        had = old != nullptr;
        if (had) saved = old;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~TzGuard() {
        if (had) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
        tzset();
        platform::SetClock(nullptr);
    }
    bool had;
    std::string saved;
};

} // namespace

TEST(Clock, SetClockDrivesLocalTimeWithMilliseconds) {
    TzGuard tz("UTC");
    platform::CalendarTime t;
    t.year = 2012; t.month = 2; t.day = 1; t.hour = 9; t.minute = 5; t.second = 3; t.millisecond = 7;
    const int64_t ms = platform::EpochMsFromLocal(t);
    platform::SetClock([ms] { return ms; });
    platform::CalendarTime now = platform::LocalNow();
    EXPECT_EQ(now.year, 2012);
    EXPECT_EQ(now.month, 2);
    EXPECT_EQ(now.day, 1);
    EXPECT_EQ(now.hour, 9);
    EXPECT_EQ(now.minute, 5);
    EXPECT_EQ(now.second, 3);
    EXPECT_EQ(now.millisecond, 7);
    EXPECT_EQ(now.dayOfWeek, 3);  // a Wednesday
    platform::SetClock(nullptr);
    EXPECT_GT(platform::NowEpochMs(), ms);
}

TEST(Clock, LocalAndUtcDifferByZoneAndNegativeMsFloor) {
    TzGuard tz("Europe/Berlin");
    platform::CalendarTime t;
    t.year = 2024; t.month = 7; t.day = 1; t.hour = 12;
    const int64_t local = platform::EpochMsFromLocal(t);
    EXPECT_EQ(platform::EpochMsFromUtc(t) - local, 2 * 3600 * 1000);  // summer time
    platform::CalendarTime u = platform::UtcFromEpochMs(-1);  // one ms before the epoch
    EXPECT_EQ(u.year, 1969);
    EXPECT_EQ(u.second, 59);
    EXPECT_EQ(u.millisecond, 999);
}

TEST(Clock, MonotonicNeverGoesBack) {
    int64_t a = platform::MonotonicMicros();
    platform::SleepMs(2);
    EXPECT_GE(platform::MonotonicMicros() - a, 1000);
}
