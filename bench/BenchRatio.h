#pragma once

// Every benchmark here is judged as a ratio against a baseline measured in the same run, so that
// the figures mean the same on a fast and a slow machine. RunWithRatios runs the registered
// benchmarks and then prints each ratio beside its budget.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace morvi::bench {

struct RatioBudget {
    std::string measured;
    std::string baseline;
    double budget = 0.0; // 0: reported without a budget
    // A part of measured's work timed on its own and taken off it ("A-B" in the table), so that
    // the ratio judges the rest.
    std::string minus = {};
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                m_Times[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    const std::map<std::string, double>& times() const { return m_Times; }

private:
    std::map<std::string, double> m_Times;
};

inline int RunWithRatios(int argc, char** argv, const std::vector<RatioBudget>& ratios) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-28s %-28s %8s %8s\n", "measured", "baseline", "ratio", "budget");
    for (const RatioBudget& r : ratios) {
        const auto m = reporter.times().find(r.measured);
        const auto b = reporter.times().find(r.baseline);
        const auto part = reporter.times().find(r.minus);
        if (m == reporter.times().end() || b == reporter.times().end() || b->second <= 0) continue;
        if (!r.minus.empty() && part == reporter.times().end()) continue;
        const double ratio = (m->second - (r.minus.empty() ? 0.0 : part->second)) / b->second;
        const std::string measured = r.minus.empty() ? r.measured : r.measured + "-" + r.minus;
        if (r.budget > 0)
            std::printf("%-28s %-28s %8.2f %7.1fx %s\n", measured.c_str(), r.baseline.c_str(), ratio,
                        r.budget, ratio <= r.budget ? "within budget" : "OVER BUDGET");
        else
            std::printf("%-28s %-28s %8.2f %8s\n", measured.c_str(), r.baseline.c_str(), ratio, "-");
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace morvi::bench
