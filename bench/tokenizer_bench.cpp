// Highlighting speed with the main window's XML styler: lines tokenized per
// second over an indented 10 MB catalog, and the state at a top line in the
// middle of a 100 MB catalog, cold (no cached line states) and warm. The
// "/0" variants use the same styles under the rules of any other language.
//
// The catalogs are written by ../shared/bench/gen_xml.py into bench/data/
// when missing (set TARNWICK_GEN_XML to use another generator path).
#include "app/main_styler.h"
#include "bench/bench_data.h"
#include "editor/control/redodi.h"
#include "editor/document/line_store.h"
#include "editor/highlight/xml_styler.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <memory>

using namespace tarnwick;

namespace {

// One loaded catalog per size, shared by the benchmarks of a run.
REdoDodiStrings &Lines(int megabytes)
{
    static std::map<int, std::unique_ptr<REdoDodiStrings>> loaded;
    auto &slot = loaded[megabytes];
    if (!slot) {
        slot = std::make_unique<REdoDodiStrings>();
        slot->LoadFromString(bench::ReadAll(bench::DataFile("flat-indent", megabytes)));
    }
    return *slot;
}

// The main window's styler attached to an editor, as the shell sets it up.
struct Highlighter {
    explicit Highlighter(bool markup = true)
    {
        ConfigureMainStyler(styler);
        styler.SetMarkupSyntax(markup);
        editor.SetSyntaxStyles(&styler);
        editor.PrepareTokenizer();
    }
    TLineTokenizer &Tokenizer() { return editor.Tokenizer(); }

    TDodiXMLStyler styler;
    REdoDodi editor;
};

void BM_TokenizeLines(benchmark::State &state)
{
    REdoDodiStrings &lines = Lines(10);
    Highlighter h(state.range(0) != 0);
    int64_t runs = 0;
    h.Tokenizer().OnRun = [&runs](int, std::string_view, const RunState &) { ++runs; };
    int64_t bytes = 0;
    for (auto _ : state) {
        RunState carried;
        for (int i = 0; i < lines.Count(); ++i) {
            const std::string &line = lines[i];
            h.Tokenizer().TokenizeText(line, carried);
            bytes += static_cast<int64_t>(line.size());
        }
        benchmark::DoNotOptimize(runs);
    }
    state.SetItemsProcessed(state.iterations() * lines.Count());
    state.SetBytesProcessed(bytes);
    state.counters["lines"] = lines.Count();
    state.counters["runs_per_line"] = static_cast<double>(runs) / (state.iterations() * lines.Count());
}
BENCHMARK(BM_TokenizeLines)->Unit(benchmark::kMillisecond)->Arg(1)->Arg(0);

// The state at the middle line of the 100 MB catalog with every cached line
// state discarded first: the whole upper half is scanned.
void BM_ComputeTopStateCold(benchmark::State &state)
{
    REdoDodiStrings &lines = Lines(100);
    Highlighter h(state.range(0) != 0);
    const int middle = lines.Count() / 2;
    for (auto _ : state) {
        state.PauseTiming();
        lines.InvalidateStateCaches();
        state.ResumeTiming();
        benchmark::DoNotOptimize(h.Tokenizer().ComputeTopState(lines, lines.StateTracker(), middle));
    }
    state.counters["lines_scanned"] = h.Tokenizer().LastScanLength();
    state.counters["top_line"] = middle;
}
BENCHMARK(BM_ComputeTopStateCold)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(1)->Arg(0);

// Scrolling to a new top line near lines seen before: only the states cached
// every 20 lines remain, so every look-up scans from the nearest of them
// above it, whatever the document size.
void ComputeTopStateWarm(benchmark::State &state, int megabytes)
{
    REdoDodiStrings &lines = Lines(megabytes);
    Highlighter h;
    const int middle = lines.Count() / 2;
    TLineTokenizer &tokenizer = h.Tokenizer();
    lines.InvalidateStateCaches();
    tokenizer.ComputeTopState(lines, lines.StateTracker(), middle + 2000);
    int64_t scanned = 0;
    int64_t calls = 0;
    int longest = 0;
    int step = 0;
    int previous = -1;
    for (auto _ : state) {
        state.PauseTiming();
        // Only the states stored every 20 lines stay; the last target's goes.
        if (TLineProp *own = lines.LinePropOf(previous); own && previous % 20 != 0)
            own->InvalidateStateCache();
        const int line = middle + (step++ * 37) % 2000;
        previous = line;
        state.ResumeTiming();
        benchmark::DoNotOptimize(tokenizer.ComputeTopState(lines, lines.StateTracker(), line));
        scanned += tokenizer.LastScanLength();
        longest = std::max(longest, tokenizer.LastScanLength());
        ++calls;
    }
    state.counters["lines_scanned_avg"] = static_cast<double>(scanned) / std::max<int64_t>(calls, 1);
    state.counters["lines_scanned_max"] = longest;
    state.counters["document_lines"] = lines.Count();
}
void BM_ComputeTopStateWarm10MB(benchmark::State &state) { ComputeTopStateWarm(state, 10); }
void BM_ComputeTopStateWarm100MB(benchmark::State &state) { ComputeTopStateWarm(state, 100); }
BENCHMARK(BM_ComputeTopStateWarm10MB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeTopStateWarm100MB)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
