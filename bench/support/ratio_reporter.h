// Runs the registered benchmarks, then prints each named ratio of two
// benchmarks' mean real times from the same run.
#pragma once

#include <string>
#include <vector>

namespace benchsupport {

struct Ratio {
    std::string label;
    std::string measured;   // benchmark name (without repetition suffixes)
    std::string reference;  // benchmark name of the reference
    bool higherIsBetter;    // true: reference time / measured time (throughput ratio)
};

int RunWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios);

} // namespace benchsupport
