// A console reporter that also prints, after the run, the ratio of each
// benchmark to its peer measured in the same run.
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
  explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs) : pairs_(std::move(pairs)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && run.iterations > 0)
        seconds_[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nRatios (ours / peer, wall time per iteration):\n");
    for (const auto& [ours, peer] : pairs_) {
      auto a = Find(ours), b = Find(peer);
      if (a > 0 && b > 0)
        std::printf("  %-40s %8.1f ms / %8.1f ms = %5.2fx\n", (ours + " vs " + peer).c_str(), a * 1e3, b * 1e3, a / b);
    }
  }

 private:
  double Find(const std::string& prefix) const {
    for (const auto& [name, seconds] : seconds_)
      if (name.rfind(prefix, 0) == 0) return seconds;
    return 0;
  }
  std::vector<std::pair<std::string, std::string>> pairs_;
  std::map<std::string, double> seconds_;
};

}  // namespace tarnwick::bench
