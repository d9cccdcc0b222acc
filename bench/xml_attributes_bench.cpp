// One element with very many attributes, as the user waits for it, beside
// xmllint in the same run: "tarnwick --validate FILE" and "tarnwick --format
// FILE -o OUT" as whole processes, and the main window opening FILE (shown
// offscreen, in a process of its own), for 10,000, 20,000, 40,000 and 200,000
// attributes. The peers are "xmllint --noout FILE" (a parse into a tree, for
// Validate and Open) and "xmllint --format FILE". The report ends with the
// ratios of the medians of the wall times, ours over xmllint's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <QApplication>

#include "bench/main_window_child.h"

namespace {

using namespace tarnwick;
using namespace tarnwick::bench;

// bench/data/attributes-N.xml: <r a0="0" a1="1" ... />, written when missing.
std::string AttributesFile(int count)
{
    const std::filesystem::path file = DataFolder() / ("attributes-" + std::to_string(count) + ".xml");
    if (!std::filesystem::exists(file)) {
        std::filesystem::create_directories(DataFolder());
        std::ofstream out(file, std::ios::binary);
        out << "<r";
        for (int i = 0; i < count; ++i)
            out << " a" << i << "=\"" << i << "\"";
        out << "/>\n";
    }
    return file.string();
}

std::string TarnwickProgram()
{
    if (const char *env = std::getenv("TARNWICK_PROGRAM"))
        return env;
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "app" / "tarnwick").string();
}

std::string OutputFile() { return (std::filesystem::temp_directory_path() / "xml_attributes_bench.xml").string(); }

void CommandValidate(benchmark::State &state)
{
    const std::string path = AttributesFile(static_cast<int>(state.range(0)));
    for (auto _ : state)
        Record(state, RunProgram({TarnwickProgram(), "--validate", path}));
}

void CommandFormat(benchmark::State &state)
{
    const std::string path = AttributesFile(static_cast<int>(state.range(0)));
    for (auto _ : state)
        Record(state, RunProgram({TarnwickProgram(), "--format", path, "-o", OutputFile()}));
}

// The main window's Open, from the file to the text in the editor.
void WindowOpen(benchmark::State &state)
{
    const std::string path = AttributesFile(static_cast<int>(state.range(0)));
    for (auto _ : state)
        Record(state, InMainWindow([&](TForm1 &window) {
                   window.show();
                   QApplication::processEvents();
                   return Measure([&] {
                       window.OpenFile(QString::fromStdString(path));
                       QApplication::processEvents();
                   });
               }));
}

void XmllintParse(benchmark::State &state)
{
    const std::string path = AttributesFile(static_cast<int>(state.range(0)));
    for (auto _ : state)
        Record(state, RunProgram({"xmllint", "--noout", path}));
}

void XmllintFormat(benchmark::State &state)
{
    const std::string path = AttributesFile(static_cast<int>(state.range(0)));
    for (auto _ : state)
        Record(state, RunProgram({"xmllint", "--format", path}));
}

// Prints, after the table, each of ours over its peer: ratios of the median
// wall times.
class MedianRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        // A benchmark of one repetition (200,000 attributes) has no aggregates.
        for (const Run &run : runs)
            if ((run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") ||
                (run.run_type == Run::RT_Iteration && run.repetitions <= 1))
                medians_[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nRatios of medians (ours / xmllint), wall time\n");
        static const std::pair<const char *, const char *> kPairs[] = {
            {"CommandValidate", "XmllintParse"}, {"WindowOpen", "XmllintParse"}, {"CommandFormat", "XmllintFormat"}};
        for (const auto &[ours, peer] : kPairs)
            for (const auto &[name, milliseconds] : medians_) {
                if (name.rfind(std::string(ours) + "/", 0) != 0)
                    continue;
                const std::string size = name.substr(name.find('/') + 1);
                auto theirs = medians_.find(std::string(peer) + "/" + size);
                if (theirs != medians_.end())
                    std::printf("  %-16s %7s attributes  %9.0f ms / %9.0f ms = %6.2fx\n", ours, size.c_str(),
                                milliseconds, theirs->second, milliseconds / theirs->second);
            }
    }

private:
    std::map<std::string, double> medians_;
};

} // namespace

int main(int argc, char **argv)
{
    InitializeInterleaved(argc, argv);
    const std::pair<const char *, void (*)(benchmark::State &)> kBenchmarks[] = {
        {"CommandValidate", CommandValidate}, {"WindowOpen", WindowOpen},       {"CommandFormat", CommandFormat},
        {"XmllintParse", XmllintParse},       {"XmllintFormat", XmllintFormat},
    };
    for (const auto &[name, function] : kBenchmarks)
        for (int attributes : {10000, 20000, 40000, 200000})
            benchmark::RegisterBenchmark(name, function)
                ->Arg(attributes)
                ->Iterations(1)
                ->Repetitions(attributes >= 200000 ? 1 : 3)
                ->ReportAggregatesOnly(true)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
    MedianRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
