// Code folding on the indented 100 MB catalog, each measure beside its peer
// in the same run; after the table come the medians of the repetitions and
// their ratios (run with --benchmark_repetitions=N).
//   FindRegions: every fold region of the catalog found from its XML structure
//     (the main window's finder over a loaded line store), beside
//     Libxml2Parse: libxml2 parsing the same text into a tree and freeing it.
//   CollapseAll, PaintCollapsed, ExpandAll, PaintExpanded: the main window's
//     editor (60 rows) with the view in the middle of the catalog.
//   TypeFolded: one typed character inside a <book> in the middle, then the
//     paint that shows it, with folding on and a collapsed region every 20
//     books; TypeUnfolded: the same in an editor with folding off.
//   PaintFolded, PageDownFolded: a warm paint and one page down with those
//     collapsed regions; PaintUnfolded, PageDownUnfolded: folding off.
//
// The catalog is written by ../shared/bench/gen_xml.py into bench/data/ when
// missing.
#include "app/xml_fold_regions.h"
#include "bench/bench_data.h"
#include "bench/main_editor.h"
#include "editor/base/win_constants.h"
#include "editor/control/redodi.h"
#include "editor/document/line_store.h"

#include <QApplication>
#include <QImage>
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

constexpr int kRows = 60;
constexpr int kWidth = 900;
// A collapsed book every this many.
constexpr int kFoldEvery = 20;
// Typed characters taken back (untimed) before the next batch.
constexpr int kBatch = 64;

const std::string &Catalog()
{
    static const std::string text = bench::ReadAll(bench::DataFile("flat-indent", 100));
    return text;
}

// ---- finding the regions ----

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

// ---- the main window's editor ----

struct View {
    explicit View(bool folding)
    {
        REdoDodi &ed = Editor();
        ed.CodeFolding()->SetEnabled(folding);
        ed.Lines()->LoadFromString(Catalog());
        editor.ResizeToRows(kWidth, kRows);
        middle = ed.Lines()->Count() / 2;
        while (ed.Lines()->Get(middle).find("<title>") == std::string::npos)
            ++middle;
        original = ed.Lines()->Get(middle);
    }

    REdoDodi &Editor() { return editor.Editor(); }
    void Paint() { editor.Paint(); }

    // The view a little above the middle line, the caret on it.
    void Home()
    {
        REdoDodi &ed = Editor();
        ed.SetTopLine(ed.LineOfVisibleIndex(std::max(0, ed.VisibleIndexOf(middle) - kRows / 2)));
        ed.SetCaretLine(middle);
        ed.SetCaretCol(static_cast<int>(original.find('>')) + 1);
        ed.CollapseSelection();
    }

    // A collapsed region every kFoldEvery books, none around the middle line.
    void FoldSome()
    {
        REdoDodi &ed = Editor();
        int books = 0;
        for (int line = 0; line < ed.Lines()->Count(); ++line)
            if (ed.IsRegionStart(line) && ed.Lines()->Get(line).rfind("  <book ", 0) == 0 &&
                ++books % kFoldEvery == 0 && (line > middle || ed.RegionEndOf(line) < middle))
                ed.SetExpanded(line, false);
    }

    void Key(char32_t ch) { editor.Key('X', ch); }

    void Restore()
    {
        Editor().Lines()->Put(middle, original);
        Editor().ClearUndo();
        Home();
    }

    bench::MainEditor editor;
    int middle = 0;
    std::string original;
};

View &Folded()
{
    static std::unique_ptr<View> view;
    if (!view) {
        view = std::make_unique<View>(true);
        view->Editor().ExpandAllRegions();
        view->FoldSome();
        view->Home();
    }
    return *view;
}

View &Unfolded()
{
    static std::unique_ptr<View> view;
    if (!view) {
        view = std::make_unique<View>(false);
        view->Home();
    }
    return *view;
}

void Counters(benchmark::State &state, View &view)
{
    REdoDodi &ed = view.Editor();
    state.counters["lines"] = ed.Lines()->Count();
    state.counters["regions"] = ed.RegionCount();
    state.counters["rows"] = ed.VisibleIndexOf(ed.Lines()->Count());
}

void BM_CollapseAll(benchmark::State &state)
{
    View &view = Folded();
    for (auto _ : state) {
        state.PauseTiming();
        view.Editor().ExpandAllRegions();
        view.Paint();
        state.ResumeTiming();
        view.Editor().CollapseAllRegions();
    }
    Counters(state, view);
}

void BM_PaintCollapsed(benchmark::State &state)
{
    View &view = Folded();
    view.Editor().CollapseAllRegions();
    view.Paint();
    for (auto _ : state)
        view.Paint();
    Counters(state, view);
}

void BM_ExpandAll(benchmark::State &state)
{
    View &view = Folded();
    for (auto _ : state) {
        state.PauseTiming();
        view.Editor().CollapseAllRegions();
        view.Paint();
        state.ResumeTiming();
        view.Editor().ExpandAllRegions();
    }
    Counters(state, view);
}

void BM_PaintExpanded(benchmark::State &state)
{
    View &view = Folded();
    view.Editor().ExpandAllRegions();
    view.Home();
    view.Paint();
    for (auto _ : state)
        view.Paint();
    Counters(state, view);
}

// Leaves the folded view as the other measures expect it.
void Refold()
{
    View &view = Folded();
    view.Editor().ExpandAllRegions();
    view.FoldSome();
    view.Home();
}

void Type(benchmark::State &state, View &view)
{
    view.Restore();
    view.Paint();
    int inBatch = 0;
    for (auto _ : state) {
        view.Key(U'x');
        view.Paint();
        if (++inBatch == kBatch) {
            state.PauseTiming();
            view.Restore();
            view.Paint();
            inBatch = 0;
            state.ResumeTiming();
        }
    }
    view.Restore();
    Counters(state, view);
}

void BM_TypeFolded(benchmark::State &state)
{
    Refold();
    Type(state, Folded());
}
void BM_TypeUnfolded(benchmark::State &state) { Type(state, Unfolded()); }

void PaintWarm(benchmark::State &state, View &view)
{
    view.Home();
    view.Paint();
    for (auto _ : state)
        view.Paint();
    Counters(state, view);
}

void BM_PaintFolded(benchmark::State &state)
{
    Refold();
    PaintWarm(state, Folded());
}
void BM_PaintUnfolded(benchmark::State &state) { PaintWarm(state, Unfolded()); }

// Each step shows the page below the last one, as paging down does.
void PageDown(benchmark::State &state, View &view)
{
    REdoDodi &ed = view.Editor();
    view.Home();
    const int start = ed.TopLine();
    const int last = ed.VisibleIndexOf(ed.Lines()->Count()) - 2 * kRows;
    view.Paint();
    for (auto _ : state) {
        const int top = ed.VisibleIndexOf(ed.TopLine());
        if (top + kRows > last) {
            state.PauseTiming();
            ed.SetTopLine(start);
            view.Paint();
            state.ResumeTiming();
        }
        ed.SetTopLine(ed.LineOfVisibleIndex(ed.VisibleIndexOf(ed.TopLine()) + kRows));
        view.Paint();
    }
    Counters(state, view);
}

void BM_PageDownFolded(benchmark::State &state)
{
    Refold();
    PageDown(state, Folded());
}
void BM_PageDownUnfolded(benchmark::State &state) { PageDown(state, Unfolded()); }

BENCHMARK(BM_FindRegions)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Libxml2Parse)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CollapseAll)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PaintCollapsed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandAll)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PaintExpanded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeFolded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeUnfolded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintFolded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintUnfolded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageDownFolded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageDownUnfolded)->Unit(benchmark::kMicrosecond);

// Prints, after the usual table, the medians of the repetitions' wall times
// and ours over the peer.
class MedianRatios : public benchmark::ConsoleReporter {
public:
    using TPairs = std::vector<std::pair<std::string, std::string>>;
    explicit MedianRatios(TPairs pairs) : pairs_(std::move(pairs)) {}

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
        for (const auto &[name, times] : times_)
            std::printf("  %-22s %10.3f\n", name.c_str(), Median(name) * 1e3);
        for (const auto &[ours, peer] : pairs_) {
            const double a = Median(ours), b = Median(peer);
            if (a > 0 && b > 0)
                std::printf("  %-22s / %-22s = %5.2fx\n", ours.c_str(), peer.c_str(), a / b);
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

    TPairs pairs_;
    std::map<std::string, std::vector<double>> times_;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    MedianRatios reporter(MedianRatios::TPairs{{"BM_FindRegions", "BM_Libxml2Parse"},
                                               {"BM_TypeFolded", "BM_TypeUnfolded"},
                                               {"BM_PaintFolded", "BM_PaintUnfolded"},
                                               {"BM_PageDownFolded", "BM_PageDownUnfolded"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
