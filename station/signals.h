// The parameter set of a demo camera database and the values it records:
// every value type, step jumps, a configuration word whose bit 0x20 flips,
// all computed from the instant and the seed, so history and live
// recording continue each other.
#pragma once

#include <cstdint>
#include <vector>

#include "prm.h"

namespace station {

dvrdb::DbConfig MakeConfig(int camera, int periodMs, int months, int width, int height, double fps);

// Fills one record of the configuration at the instant.
void FillRecord(const dvrdb::DbConfig& config, uint32_t seed, int64_t epochMs, std::vector<uint8_t>& record);

// The value of TP101 at an instant (used by the tests to find the jumps).
double Temperature(uint32_t seed, int camera, int64_t epochMs);
// Instants (epoch ms) where TP101 jumps are whole multiples of this period.
constexpr int64_t kJumpPeriodMs = 600000;
constexpr double kJumpSize = 60.0;

} // namespace station
