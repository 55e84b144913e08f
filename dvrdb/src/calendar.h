// Instants (day number from 1 January 2001, ms of day) and epoch ms.
#pragma once

#include <cstdint>

namespace dvrdb {

constexpr int64_t kDayMs = 86400000;
constexpr int64_t kEpochDayOf2001 = 11323;  // days from 1970-01-01 to 2001-01-01

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(int64_t days, int& year, int& month, int& day);

// UTC instant <-> epoch ms. The time of day may lie outside one day.
int64_t UtcInstantToEpochMs(uint16_t day, int32_t time);
void EpochMsToUtcInstant(int64_t epochMs, uint16_t& day, int32_t& time);

// Local instant <-> epoch ms through the time zone rules: a local time in
// a skipped hour moves forward by the gap, a repeated hour reads as its
// first occurrence.
int64_t LocalInstantToEpochMs(uint16_t day, int32_t time);
void EpochMsToLocalInstant(int64_t epochMs, uint16_t& day, int32_t& time);

// Month index of the archive: months since January 2001 in UTC.
int MonthIndexOf(int64_t epochMs);
int64_t MonthStartEpochMs(int monthIndex);

} // namespace dvrdb
