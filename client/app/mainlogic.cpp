#include "mainlogic.h"

#include <cstdio>

std::string ClockLabel(const platform::CalendarTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2d.%.2d.%.4d\n%.2d:%.2d:%.2d", t.day, t.month, t.year, t.hour, t.minute, t.second);
    return buf;
}

std::string DateTimeLabel(const Instant& at) {
    const DateParts p = Decompose(at);
    char buf[96];
    std::snprintf(buf, sizeof buf, " Date/time: %.2d.%.2d.%.4d  %.2d:%.2d:%.2d:%.3d", p.day, p.month, p.year, p.hour,
                  p.minute, p.second, p.ms);
    return buf;
}

Instant LiveInstant(const platform::CalendarTime& now) {
    Instant at = InstantFromLocalTime(ToSystemTime(now));
    dbAddMsToDateTime(&at.day, &at.time, -5000);
    return at;
}
