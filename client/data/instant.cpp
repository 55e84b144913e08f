#include "instant.h"

namespace {

const int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

bool Leap(unsigned year) { return year % 4 == 0; }

int MonthLength(int month0, unsigned year) {
    static const int len[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month0 == 1 && Leap(year) ? 29 : len[month0];
}

} // namespace

uint16_t DayNumber(unsigned dayOfMonth, unsigned month, unsigned year) {
    const unsigned y = (year & 0xFFFF) <= 2001 ? 1 : (year & 0xFFFF) - 2000;
    if (month == 0) month = 1;
    if (month > 12) month = 12;
    if (dayOfMonth == 0) dayOfMonth = 1;
    long result = static_cast<long>(dayOfMonth) + y / 4 + 365L * y - 365 + kDaysBefore[month - 1];
    if (y % 4 == 0 && month <= 2) result -= 1;
    return static_cast<uint16_t>(result);
}

Instant InstantFromLocalTime(const DbSystemTime& t) {
    Instant i;
    i.day = DayNumber(t.wDay, t.wMonth, t.wYear);
    i.time = t.wMilliseconds + 1000 * (t.wSecond + 60 * t.wMinute + 3600 * t.wHour);
    return i;
}

DbSystemTime ToSystemTime(const platform::CalendarTime& t) {
    DbSystemTime st{};
    st.wYear = static_cast<uint16_t>(t.year);
    st.wMonth = static_cast<uint16_t>(t.month);
    st.wDayOfWeek = static_cast<uint16_t>(t.dayOfWeek);
    st.wDay = static_cast<uint16_t>(t.day);
    st.wHour = static_cast<uint16_t>(t.hour);
    st.wMinute = static_cast<uint16_t>(t.minute);
    st.wSecond = static_cast<uint16_t>(t.second);
    st.wMilliseconds = static_cast<uint16_t>(t.millisecond);
    return st;
}

DateParts Decompose(const Instant& instant) {
    long n = instant.day;
    long time = instant.time;
    if (time >= 86400000) {
        time -= 86400000;
        n += 1;
    } else if (time < 0) {
        time += 86400000;
        n -= 1;
    }
    // Outside one day either side the input breaks the contract; clamp so
    // the result is still a valid time of day.
    if (time < 0 || time >= 86400000) time = ((time % 86400000) + 86400000) % 86400000;
    if (n < 0) n = 0;
    DateParts p;
    p.hour = static_cast<uint8_t>(time / 3600000);
    p.minute = static_cast<uint8_t>((time % 3600000) / 60000);
    p.second = static_cast<uint8_t>((time % 60000) / 1000);
    p.ms = static_cast<uint16_t>(time % 1000);
    unsigned y = 0;
    while (n >= 365) {
        if ((y + 1) % 4 == 0) {
            if (n == 365) break;
            n -= 366;
        } else {
            n -= 365;
        }
        ++y;
    }
    unsigned year = 2001 + y;
    int m = 0;
    while (m < 11 && n > MonthLength(m, year)) {
        n -= MonthLength(m, year);
        ++m;
    }
    if (n == 0 && m == 0) {
        // The subtraction ended exactly on a year boundary.
        year -= 1;
        p.year = static_cast<uint16_t>(year);
        p.month = 12;
        p.day = 31;
        return p;
    }
    p.year = static_cast<uint16_t>(year);
    p.month = static_cast<uint8_t>(m + 1);
    p.day = static_cast<uint8_t>(n);
    return p;
}

int64_t PeriodForScreen(int index, int points, bool live, int64_t current) {
    if (points < 1) points = 1;
    const int a = live ? index + 4 : index;  // the archive index of the screen
    if (index < 0 || (live && index >= kLiveScreens) || (!live && index >= kArchiveScreens)) return current;
    switch (a) {
    case 0: return static_cast<int64_t>(60000 / points) * 44640;
    case 1: return 604800000LL / points;
    case 2: return 86400000LL / points;
    case 3: return 57600000LL / points;
    case 4: return 28800000LL / points;
    case 5: return 3600000LL / points;
    case 6: return static_cast<int64_t>(1800000.0 / points);
    case 7: return 10000;
    case 8: return 5000;
    case 9: return 1000;
    case 10: return 250;
    case 11: return 100;
    case 12: return 40;
    default: return current;
    }
}

Instant StepForward(Instant at, int32_t period) {
    at.time += period;
    if (at.time > 86400000) {
        at.day = static_cast<uint16_t>(at.day + 1);
        at.time = 0;
    }
    return at;
}

Instant StepBack(Instant at, int32_t period) {
    at.time -= period;
    if (at.time < 0) {
        at.day = static_cast<uint16_t>(at.day - 1);
        at.time += 86400000;
    }
    return at;
}
