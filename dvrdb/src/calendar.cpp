#include "calendar.h"

#include "platform/platform.h"

namespace dvrdb {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Splits an instant into whole days since 1970 and a normalised time of day.
void Normalise(uint16_t day, int32_t time, int64_t& epochDays, int64_t& msOfDay) {
    int64_t total = (static_cast<int64_t>(day) - 1 + kEpochDayOf2001) * kDayMs + time;
    epochDays = FloorDiv(total, kDayMs);
    msOfDay = total - epochDays * kDayMs;
}

void FromEpochDays(int64_t epochDays, int64_t msOfDay, uint16_t& day, int32_t& time) {
    int64_t d = epochDays - kEpochDayOf2001 + 1;
    if (d < 0) d = 0;
    if (d > 0xFFFF) d = 0xFFFF;
    day = static_cast<uint16_t>(d);
    time = static_cast<int32_t>(msOfDay);
}

} // namespace

int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = yoe + era * 400;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

int64_t UtcInstantToEpochMs(uint16_t day, int32_t time) {
    return (static_cast<int64_t>(day) - 1 + kEpochDayOf2001) * kDayMs + time;
}

void EpochMsToUtcInstant(int64_t epochMs, uint16_t& day, int32_t& time) {
    int64_t days = FloorDiv(epochMs, kDayMs);
    FromEpochDays(days, epochMs - days * kDayMs, day, time);
}

int64_t LocalInstantToEpochMs(uint16_t day, int32_t time) {
    int64_t epochDays, msOfDay;
    Normalise(day, time, epochDays, msOfDay);
    platform::CalendarTime t;
    CivilFromDays(epochDays, t.year, t.month, t.day);
    t.hour = static_cast<int>(msOfDay / 3600000);
    t.minute = static_cast<int>(msOfDay / 60000 % 60);
    t.second = static_cast<int>(msOfDay / 1000 % 60);
    t.millisecond = static_cast<int>(msOfDay % 1000);
    return platform::EpochMsFromLocal(t);
}

void EpochMsToLocalInstant(int64_t epochMs, uint16_t& day, int32_t& time) {
    platform::CalendarTime t = platform::LocalFromEpochMs(epochMs);
    int64_t days = DaysFromCivil(t.year, t.month, t.day);
    int64_t ms = ((t.hour * 60 + t.minute) * 60 + t.second) * 1000LL + t.millisecond;
    FromEpochDays(days, ms, day, time);
}

int MonthIndexOf(int64_t epochMs) {
    int64_t days = FloorDiv(epochMs, kDayMs);
    int y, m, d;
    CivilFromDays(days, y, m, d);
    return (y - 2001) * 12 + (m - 1);
}

int64_t MonthStartEpochMs(int monthIndex) {
    int y = 2001 + static_cast<int>(FloorDiv(monthIndex, 12));
    int m = static_cast<int>(monthIndex - FloorDiv(monthIndex, 12) * 12) + 1;
    return DaysFromCivil(y, m, 1) * kDayMs;
}

} // namespace dvrdb
