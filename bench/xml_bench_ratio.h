// A console reporter that also prints, after the run, the ratio of each
// benchmark to its peer measured in the same run. Times are CPU times: the
// process's for in-process benchmarks, the child's for peers run as a
// process (reported as manual time), so a busy machine moves both alike.
// With repetitions the ratio is of the medians, which is also what is left
// when only the aggregates are reported.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Pairs of (ours, peer) benchmark names, e.g. {"LayerOpen/10", "Libxml2/10"}.
    // Times print in milliseconds, or in microseconds with `micro`.
    explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs, bool micro = false)
        : pairs_(std::move(pairs)), scale_(micro ? 1e6 : 1e3), unit_(micro ? "us" : "ms")
    {
    }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            const bool manual = run.benchmark_name().find("manual_time") != std::string::npos;
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                double total = manual ? run.real_accumulated_time : run.cpu_accumulated_time;
                seconds_[run.benchmark_name()] = total / static_cast<double>(run.iterations);
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                const double adjusted = manual ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
                medians_[run.run_name.str()] = adjusted / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nRatios (ours / peer, CPU time per iteration%s):\n", medians_.empty() ? "" : ", medians");
        for (const auto &[ours, peer] : pairs_) {
            auto a = Find(ours), b = Find(peer);
            if (a > 0 && b > 0)
                std::printf("  %-40s %8.1f %s / %8.1f %s = %5.2fx\n", (ours + " vs " + peer).c_str(), a * scale_, unit_,
                            b * scale_, unit_, a / b);
        }
    }

private:
    double Find(const std::string &prefix) const
    {
        for (const auto &[name, seconds] : medians_)
            if (name.rfind(prefix, 0) == 0)
                return seconds;
        for (const auto &[name, seconds] : seconds_)
            if (name.rfind(prefix, 0) == 0)
                return seconds;
        return 0;
    }
    std::vector<std::pair<std::string, std::string>> pairs_;
    double scale_;
    const char *unit_;
    std::map<std::string, double> seconds_;
    std::map<std::string, double> medians_;
};

} // namespace tarnwick::bench
