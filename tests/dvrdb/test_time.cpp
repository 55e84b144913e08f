#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "calendar.h"
#include "dvrdb.h"

namespace {

struct Tz {
    explicit Tz(const char* tz) {
        setenv("TZ", tz, 1);
        tzset();
    }
    ~Tz() {
        unsetenv("TZ");
        tzset();
    }
};

DbSystemTime St(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    DbSystemTime st{};
    st.wYear = static_cast<uint16_t>(y);
    st.wMonth = static_cast<uint16_t>(mo);
    st.wDay = static_cast<uint16_t>(d);
    st.wHour = static_cast<uint16_t>(h);
    st.wMinute = static_cast<uint16_t>(mi);
    st.wSecond = static_cast<uint16_t>(s);
    st.wMilliseconds = static_cast<uint16_t>(ms);
    return st;
}

} // namespace

TEST(InstantArithmetic, ConvertDates) {
    struct Case { DbSystemTime st; uint16_t day; int32_t time; };
    const Case cases[] = {
        {St(2001, 1, 1), 1, 0},
        {St(2004, 1, 1), 1096, 0},
        {St(2004, 3, 1), 1156, 0},          // 2004 is a leap year
        {St(2004, 2, 29, 23, 59, 59, 999), 1155, 86399999},
        {St(2003, 3, 1), 790, 0},           // 2003 is not
        {St(2001, 12, 31, 12), 365, 43200000},
        {St(2026, 12, 11, 13, 45, 7, 250), 9476, 49507250},
    };
    for (const Case& c : cases) {
        uint16_t day = 0;
        int32_t time = -1;
        dbConvertDateTimeToUAPformat(c.st, &day, &time);
        EXPECT_EQ(day, c.day) << c.st.wYear << "-" << c.st.wMonth << "-" << c.st.wDay;
        EXPECT_EQ(time, c.time);
    }
}

TEST(InstantArithmetic, AddMsAcrossDayMonthAndYearEnds) {
    struct Case { uint16_t day; int32_t time; int64_t ms; uint16_t day2; int32_t time2; };
    const Case cases[] = {
        {1, 86399999, 1, 2, 0},                        // midnight forwards
        {2, 0, -1, 1, 86399999},                       // and backwards
        {1096, 0, -1, 1095, 86399999},                 // year end 2003/2004
        {1155, 86399500, 500, 1156, 0},                // 29 Feb 2004 -> 1 Mar
        {790, 0, -1, 789, 86399999},                   // 1 Mar 2003 -> 28 Feb
        {100, 3600000, 365LL * 86400000 * 20, 7400, 3600000},    // twenty years on
        {7400, 3600000, -365LL * 86400000 * 20, 100, 3600000},   // and back
        {5, 1000, 86400000LL * 3 + 500, 8, 1500},
        {5, 1000, -86400000LL * 3 - 1500, 1, 86399500},
    };
    for (const Case& c : cases) {
        uint16_t d = c.day;
        int32_t t = c.time;
        dbAddMsToDateTime(&d, &t, c.ms);
        EXPECT_EQ(d, c.day2) << c.day << " " << c.time << " " << c.ms;
        EXPECT_EQ(t, c.time2);
        EXPECT_EQ(dbDateTimeToMs(d, t) - dbDateTimeToMs(c.day, c.time), c.ms);
    }
    EXPECT_EQ(dbDateTimeToMs(1, 0), 0);
    EXPECT_EQ(dbDateTimeToMs(2, 5), 86400005);
    EXPECT_LT(dbDateTimeToMs(1, 86399999), dbDateTimeToMs(2, 0));
    dbAddMsToDateTime(nullptr, nullptr, 5);
}

TEST(InstantArithmetic, LocalInstantsAcrossDaylightSaving) {
    Tz tz("Europe/Berlin");
    uint16_t day;
    int32_t time;
    // 29 March 2026: 02:00 local does not exist, the clocks jump to 03:00.
    dbConvertDateTimeToUAPformat(St(2026, 3, 29, 2, 30), &day, &time);
    const int64_t skipped = dvrdb::LocalInstantToEpochMs(day, time);
    dbConvertDateTimeToUAPformat(St(2026, 3, 29, 3, 30), &day, &time);
    EXPECT_EQ(skipped, dvrdb::LocalInstantToEpochMs(day, time));  // reads as 03:30 CEST
    EXPECT_EQ(skipped, dvrdb::UtcInstantToEpochMs(day, 1 * 3600000 + 1800000));
    // 25 October 2026: 02:30 local happens twice; the first (CEST) is taken.
    dbConvertDateTimeToUAPformat(St(2026, 10, 25, 2, 30), &day, &time);
    const int64_t repeated = dvrdb::LocalInstantToEpochMs(day, time);
    EXPECT_EQ(repeated, dvrdb::UtcInstantToEpochMs(day, 30 * 60000));  // 00:30 UTC
    // And back: epoch to local instant.
    uint16_t d2;
    int32_t t2;
    dvrdb::EpochMsToLocalInstant(repeated + 3600000, d2, t2);  // the second 02:30 (CET)
    EXPECT_EQ(d2, day);
    EXPECT_EQ(t2, 2 * 3600000 + 1800000);
}

TEST(InstantArithmetic, MonthIndexes) {
    EXPECT_EQ(dvrdb::MonthIndexOf(dvrdb::MonthStartEpochMs(0)), 0);
    EXPECT_EQ(dvrdb::MonthIndexOf(dvrdb::MonthStartEpochMs(311) - 1), 310);
    EXPECT_EQ(dvrdb::MonthStartEpochMs(12) - dvrdb::MonthStartEpochMs(11), 31LL * 86400000);
    EXPECT_EQ(dvrdb::MonthStartEpochMs(38) - dvrdb::MonthStartEpochMs(37), 29LL * 86400000);  // Feb 2004
}
