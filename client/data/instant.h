// The instant of the archive (day number from 1 January 2001 and time of
// day in ms), its calendar conversions and the sampling periods of the
// trend screens.
#pragma once

#include <cstdint>

#include "dvrdb.h"
#include "platform/platform.h"

struct Instant {
    uint16_t day = 1;
    int32_t time = 0;
};

struct DateParts {
    uint16_t year = 2001;
    uint8_t month = 1, day = 1, hour = 0, minute = 0, second = 0;
    uint16_t ms = 0;
};

// Day number of a date; dates before 2001 count as the same date in 2001,
// month 0 as 1, months above 12 as 12, day 0 as 1.
uint16_t DayNumber(unsigned dayOfMonth, unsigned month, unsigned year);
Instant InstantFromLocalTime(const DbSystemTime& t);
DbSystemTime ToSystemTime(const platform::CalendarTime& t);
// The time may lie up to one day either side of the day.
DateParts Decompose(const Instant& instant);

// The sampling period of a trend screen (index into the live or archive
// table) for a plot of points columns; current when the index is outside.
int64_t PeriodForScreen(int index, int points, bool live, int64_t current);
constexpr int kLiveScreens = 9;
constexpr int kArchiveScreens = 13;

// The main window's stepping: one sample period forwards or backwards,
// with its rules at midnight.
Instant StepForward(Instant at, int32_t period);
Instant StepBack(Instant at, int32_t period);
