#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace dravin::bench {

// The console report, keeping each benchmark's real time per iteration so that a
// program can print the ratio of two at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs) {
            mTimes[r.benchmark_name()] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Prints "label: Nx (goal: within Gx)" when both benchmarks ran.
    void printRatio(const std::string& measured, const std::string& floor, const char* label,
                    double goal) const {
        const auto m = mTimes.find(measured);
        const auto f = mTimes.find(floor);
        if (m != mTimes.end() && f != mTimes.end() && f->second > 0) {
            std::printf("%s: %.2fx (goal: within %.0fx)\n", label, m->second / f->second, goal);
        }
    }

private:
    std::map<std::string, double> mTimes;
};

// Runs the registered benchmarks with the reporter and calls report afterwards.
template <typename Report>
int runWithRatios(int argc, char** argv, Report report) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    report(reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace dravin::bench
