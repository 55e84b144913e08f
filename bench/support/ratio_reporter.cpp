#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace benchsupport {
namespace {

class Collector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.iterations == 0) continue;
            auto& t = times[r.benchmark_name()];
            t.first += r.GetAdjustedRealTime();
            t.second += 1;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Mean(const std::string& name) const {
        auto it = times.find(name);
        return it == times.end() || it->second.second == 0 ? 0 : it->second.first / it->second.second;
    }

private:
    std::map<std::string, std::pair<double, int>> times;
};

} // namespace

int RunWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios) {
    benchmark::Initialize(&argc, argv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    std::printf("\n%-44s %12s %12s %8s\n", "ratio", "measured", "reference", "ratio");
    for (const Ratio& r : ratios) {
        double m = collector.Mean(r.measured), ref = collector.Mean(r.reference);
        if (m <= 0 || ref <= 0) continue;
        double ratio = r.higherIsBetter ? ref / m : m / ref;
        std::printf("%-44s %12.3f %12.3f %8.3f\n", r.label.c_str(), m, ref, ratio);
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace benchsupport
