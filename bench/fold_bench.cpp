// Code folding on the indented 100 MB catalog, each beside its peer in the
// same run; after the table come the ratios of the medians of the
// repetitions (run with --benchmark_repetitions=N).
//   FindRegions: every fold region of the catalog found from its XML
//   structure (the main window's finder over a loaded line store), beside
//   Libxml2Parse: libxml2 parsing the same text into a tree and freeing it.
//
// The catalog is written by ../shared/bench/gen_xml.py into bench/data/ when
// missing.
#include "app/xml_fold_regions.h"
#include "bench/bench_data.h"
#include "editor/document/line_store.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace tarnwick;

namespace {

const std::string &Catalog()
{
    static const std::string text = bench::ReadAll(bench::DataFile("flat-indent", 100));
    return text;
}

REdoDodiStrings &CatalogLines()
{
    static std::unique_ptr<REdoDodiStrings> lines;
    if (!lines) {
        lines = std::make_unique<REdoDodiStrings>();
        lines->LoadFromString(Catalog());
    }
    return *lines;
}

void BM_FindRegions(benchmark::State &state)
{
    REdoDodiStrings &lines = CatalogLines();
    int regions = 0;
    for (auto _ : state) {
        TFoldRegions found;
        TXmlFoldRegions finder;
        finder.FindAll(lines, found);
        regions = found.RegionCount();
    }
    state.counters["lines"] = lines.Count();
    state.counters["regions"] = regions;
}

void BM_Libxml2Parse(benchmark::State &state)
{
    const std::string &text = Catalog();
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                      XML_PARSE_NONET | XML_PARSE_HUGE);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
}

BENCHMARK(BM_FindRegions)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Libxml2Parse)->Unit(benchmark::kMillisecond)->Iterations(1);

// Prints, after the usual table, ours over the peer for the medians of the
// repetitions' wall times.
class MedianRatios : public benchmark::ConsoleReporter {
public:
    explicit MedianRatios(std::vector<std::pair<std::string, std::string>> pairs) : pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times_[run.run_name.function_name].push_back(run.real_accumulated_time /
                                                             static_cast<double>(run.iterations));
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nMedians (ms) and ratios, ours / peer:\n");
        for (const auto &[ours, peer] : pairs_) {
            const double a = Median(ours), b = Median(peer);
            if (a > 0 && b > 0)
                std::printf("  %-28s %10.3f / %-28s %10.3f = %5.2fx\n", ours.c_str(), a * 1e3, peer.c_str(), b * 1e3,
                            a / b);
        }
    }

private:
    double Median(const std::string &name)
    {
        auto it = times_.find(name);
        if (it == times_.end() || it->second.empty())
            return 0;
        std::vector<double> v = it->second;
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }

    std::vector<std::pair<std::string, std::string>> pairs_;
    std::map<std::string, std::vector<double>> times_;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    MedianRatios reporter(std::vector<std::pair<std::string, std::string>>{{"BM_FindRegions", "BM_Libxml2Parse"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
