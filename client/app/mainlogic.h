// The main window's texts and tables, without a window.
#pragma once

#include <cstdint>
#include <string>

#include "instant.h"
#include "platform/platform.h"

struct SamplingEntry {
    const char* label;
    int32_t period;
};
constexpr SamplingEntry kSamplingEntries[] = {
    {"Sample = 1 h", 3600000}, {"Sample = 10 min", 600000}, {"Sample = 1 min", 60000}, {"Sample = 10 s", 10000},
    {"Sample = 1 s", 1000},    {"Sample = 250 ms", 250},    {"Sample = 100 ms", 100},  {"Sample = 40 ms", 40},
};
constexpr int kInitialSampling = 4;  // "Sample = 1 s"

// The clock button: "dd.mm.yyyy\nhh:mm:ss".
std::string ClockLabel(const platform::CalendarTime& t);
// The selected instant: " Date/time: dd.mm.yyyy  hh:mm:ss:mmm".
std::string DateTimeLabel(const Instant& at);
// The live instant: the local time, 5 s back.
Instant LiveInstant(const platform::CalendarTime& now);
