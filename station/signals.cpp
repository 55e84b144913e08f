#include "signals.h"

#include <cmath>
#include <cstring>

namespace station {
namespace {

constexpr double kPi = 3.14159265358979323846;

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c, uint64_t d) {
    uint64_t x = (static_cast<uint64_t>(a) * 0x9E3779B97F4A7C15ull) ^ (static_cast<uint64_t>(b) << 32) ^ c ^
                 (d * 0xBF58476D1CE4E5B9ull);
    x ^= x >> 31;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 29;
    return static_cast<uint32_t>(x);
}

// Noise in [-1, 1) that changes once per second.
double Noise(uint32_t seed, int camera, int param, int64_t epochMs) {
    return Hash(seed, static_cast<uint32_t>(camera), static_cast<uint32_t>(param), static_cast<uint64_t>(epochMs / 1000)) /
               2147483648.0 -
           1.0;
}

double Wave(int64_t epochMs, double periodSec, double phase) {
    return std::sin(2 * kPi * (static_cast<double>(epochMs) / 1000.0 / periodSec) + phase);
}

template <typename T>
void Put(std::vector<uint8_t>& r, int offset, T v) {
    if (offset >= 0 && static_cast<size_t>(offset) + sizeof v <= r.size()) std::memcpy(&r[static_cast<size_t>(offset)], &v, sizeof v);
}

dvrdb::ParamDef P(int type, const char* id, const char* name, const char* units, const char* fmt, double lo, double hi,
                  int view, int status, const char* description) {
    dvrdb::ParamDef p;
    p.type = type;
    p.progId = id;
    p.name = name;
    p.units = units;
    p.accuracy = fmt;
    p.low = lo;
    p.high = hi;
    p.view = view;
    p.status = status;
    p.description = description;
    return p;
}

} // namespace

dvrdb::DbConfig MakeConfig(int camera, int periodMs, int months, int width, int height, double fps) {
    dvrdb::DbConfig c;
    c.camera = camera;
    c.periodMs = periodMs;
    c.months = months;
    c.pictureWidth = width;
    c.pictureHeight = height;
    c.fps = fps;
    c.params = {
        P(9, "TP101", "Boiler temperature", "\xC2\xB0" "C", "%.1f", 0, 400, 2, 1, "Temperature before the boiler"),
        P(10, "PT102", "Steam pressure", "MPa", "%.2f", 0, 25, 2, 1, "Steam pressure at the outlet"),
        P(6, "FT103", "Feed flow", "t/h", "%d", 0, 500, 1, 1, "Feed water flow"),
        P(4, "LT104", "Drum level", "mm", "%d", -300, 300, 2, 1, "Drum level from the middle"),
        P(3, "ST105", "Fan speed", "rpm", "%d", 0, 3000, 2, 1, "Induced draught fan"),
        P(5, "CNT106", "Units produced", "pcs", "%u", 0, 1000000, 0, 1, "Counter of produced units"),
        P(1, "VP107", "Valve position", "%", "%d", 0, 100, 2, 1, "Control valve opening"),
        P(2, "TR108", "Trim", "%", "%d", -100, 100, 1, 1, "Controller trim"),
        P(7, "EN109", "Energy counter", "Wh", "%llu", 0, 1e12, 0, 1, "Energy meter, 64-bit"),
        P(8, "EV110", "Event counter", "", "%lld", 0, 1e9, 0, 1, "Signed 64-bit event counter"),
        P(11, "AL111", "Alarm class", "", "%d", 0, 5, 0, 1, "Highest active alarm class"),
        P(12, "ConfigUPO", "UPO configuration", "", "%d", 0, 65535, 0, 1, "Configuration word of the density meter"),
        P(13, "OH113", "Operating hours", "h", "%u", 0, 100000, 0, 1, "Operating hours"),
        P(14, "ID114", "Batch", "", "BATCH-A7", 0, 0, 0, 1, "Batch identifier"),
        P(9, "DN115", "Density", "kg/m3", "%.1f", 700, 1100, 2, 1, "Density; g/kg while ConfigUPO bit 0x20 is clear"),
        P(15, "DU116", "Density in kg/m3", "", "ConfigUPO|5", 0, 1, 2, 1, "Bit 0x20 of ConfigUPO"),
        P(15, "RUN117", "Pump running", "", "ConfigUPO|0", 0, 1, 2, 1, "Bit 0x01 of ConfigUPO"),
        P(9, "SP118", "Spare setpoint", "\xC2\xB0" "C", "%.1f", 0, 400, 2, 0, "Not used"),
    };
    dvrdb::AssignOffsets(c);
    return c;
}

double Temperature(uint32_t seed, int camera, int64_t epochMs) {
    // A slow wave, a little noise and a level that jumps by kJumpSize at
    // every multiple of kJumpPeriodMs (up and down in turn).
    const int64_t step = epochMs / kJumpPeriodMs + camera;
    const double level = (step % 2 == 0) ? 0.0 : kJumpSize;
    return 180 + 10 * camera + 15 * Wave(epochMs, 3600, camera) + level + 0.5 * Noise(seed, camera, 1, epochMs);
}

void FillRecord(const dvrdb::DbConfig& c, uint32_t seed, int64_t t, std::vector<uint8_t>& r) {
    r.assign(static_cast<size_t>(c.recordSize), 0);
    const int cam = c.camera;
    const int64_t sec = t / 1000;
    for (const dvrdb::ParamDef& p : c.params) {
        const int o = p.offset;
        if (p.progId == "TP101") Put(r, o, static_cast<float>(Temperature(seed, cam, t)));
        else if (p.progId == "PT102") {
            const double jump = ((t + kJumpPeriodMs / 2) / kJumpPeriodMs) % 2 ? 3.0 : 0.0;
            Put(r, o, 12.0 + 2 * Wave(t, 1200, cam) + jump + 0.05 * Noise(seed, cam, 2, t));
        } else if (p.progId == "FT103") Put(r, o, static_cast<int32_t>(250 + 100 * Wave(t, 900, cam) + 5 * Noise(seed, cam, 3, t)));
        else if (p.progId == "LT104") Put(r, o, static_cast<int16_t>(120 * Wave(t, 600, cam)));
        else if (p.progId == "ST105") Put(r, o, static_cast<uint16_t>(1500 + 900 * Wave(t, 2400, cam)));
        else if (p.progId == "CNT106") Put(r, o, static_cast<uint32_t>(sec / 7 % 1000000));
        else if (p.progId == "VP107") Put(r, o, static_cast<uint8_t>(50 + 45 * Wave(t, 300, cam)));
        else if (p.progId == "TR108") Put(r, o, static_cast<int8_t>(90 * Wave(t, 450, cam)));
        else if (p.progId == "EN109") Put(r, o, static_cast<uint64_t>(sec) * 1000ull + 5000000000ull);
        else if (p.progId == "EV110") Put(r, o, static_cast<int64_t>(sec / 60) - 1000000);
        else if (p.progId == "AL111") Put(r, o, static_cast<uint8_t>(sec / 300 % 6));
        else if (p.progId == "ConfigUPO") {
            // Bit 0x20 (density in kg/m3) flips every 20 minutes, bit 0x01
            // (pump running) every 5 minutes; the rest stays fixed.
            uint16_t w = 0x0100 | static_cast<uint16_t>(cam << 8);
            if ((sec / 1200) % 2 == 0) w |= 0x20;
            if ((sec / 300) % 2 == 0) w |= 0x01;
            Put(r, o, w);
        } else if (p.progId == "OH113") Put(r, o, static_cast<uint32_t>(sec / 3600 % 100000));
        else if (p.progId == "ID114") Put(r, o, static_cast<uint64_t>(0x3741484354414221ull));
        else if (p.progId == "DN115") Put(r, o, static_cast<float>(850 + 80 * Wave(t, 1800, cam) + Noise(seed, cam, 15, t)));
        else if (p.progId == "SP118") Put(r, o, static_cast<float>(0));
    }
}

} // namespace station
