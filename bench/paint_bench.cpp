// Painting speed: one full paint of a 60-row view of the main window's
// editor, through the real QPainter canvas onto an image, on a 1 KB document
// and on the indented 100 MB catalog with the top line in its middle; cold
// (no cached tokenizer state), warm (the top line's state kept), and one
// page down from a warm view.
//
// The catalog is written by ../shared/bench/gen_xml.py into bench/data/ when
// missing; the 1 KB document is its first kilobyte of whole lines.
#include "bench/bench_data.h"
#include "bench/main_editor.h"
#include "bench/offscreen_main.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>

using namespace tarnwick;

namespace {

constexpr int kRows = 60;
constexpr int kWidth = 900;

// The main window's editor in a widget of 60 whole rows, holding one document.
struct View {
    explicit View(const std::string &text)
    {
        Editor().Lines()->LoadFromString(text);
        editor.ResizeToRows(kWidth, kRows);
    }

    REdoDodi &Editor() { return editor.Editor(); }
    void Paint() { editor.Paint(); }

    // Forgets every tokenizer state computed so far.
    void MakeCold()
    {
        Editor().InvalidateStateCaches();
        Editor().Lines()->StateTracker().InvalidateAll();
        Editor().DropTopLineState();
    }

    bench::MainEditor editor;
};

std::string Catalog() { return bench::ReadAll(bench::DataFile("flat-indent", 100)); }

std::string SmallDocument()
{
    const std::string catalog = Catalog();
    size_t end = catalog.find('\n', 1024);
    return catalog.substr(0, end == std::string::npos ? catalog.size() : end + 1);
}

// One view per document, shared by the benchmarks of a run.
View &ViewOf(bool large)
{
    static std::map<bool, std::unique_ptr<View>> views;
    auto &slot = views[large];
    if (!slot) {
        slot = std::make_unique<View>(large ? Catalog() : SmallDocument());
        REdoDodi &ed = slot->Editor();
        ed.SetTopLine(ed.Lines()->Count() > kRows ? ed.Lines()->Count() / 2 : 0);
    }
    return *slot;
}

// Rows that show a line of text: the 1 KB document fills only some of them,
// and a text row costs more than an empty one.
void Counters(benchmark::State &state, View &view)
{
    REdoDodi &ed = view.Editor();
    state.counters["lines"] = ed.Lines()->Count();
    state.counters["top_line"] = ed.TopLine();
    state.counters["rows"] = ed.VisibleRows();
    state.counters["text_rows"] = std::min(ed.VisibleRows() + 1, ed.Lines()->Count() - ed.TopLine());
}

void PaintCold(benchmark::State &state, bool large)
{
    View &view = ViewOf(large);
    for (auto _ : state) {
        state.PauseTiming();
        view.MakeCold();
        state.ResumeTiming();
        view.Paint();
    }
    Counters(state, view);
}

void PaintWarm(benchmark::State &state, bool large)
{
    View &view = ViewOf(large);
    view.Paint();
    for (auto _ : state)
        view.Paint();
    Counters(state, view);
}

// Each step shows the page below the last one, as paging down does; the
// first page starts from the warm middle of the document.
void PageDown(benchmark::State &state, bool large)
{
    View &view = ViewOf(large);
    REdoDodi &ed = view.Editor();
    const int start = ed.TopLine();
    const int last = ed.Lines()->Count() - 2 * kRows;
    view.Paint();
    for (auto _ : state) {
        if (ed.TopLine() + kRows > last) {
            state.PauseTiming();
            ed.SetTopLine(start);
            view.Paint();
            state.ResumeTiming();
        }
        ed.SetTopLine(ed.TopLine() + kRows);
        view.Paint();
    }
    ed.SetTopLine(start);
    Counters(state, view);
}

void BM_Paint1KBCold(benchmark::State &state) { PaintCold(state, false); }
void BM_Paint1KBWarm(benchmark::State &state) { PaintWarm(state, false); }
void BM_Paint100MBCold(benchmark::State &state) { PaintCold(state, true); }
void BM_Paint100MBWarm(benchmark::State &state) { PaintWarm(state, true); }
void BM_PageDown100MBWarm(benchmark::State &state) { PageDown(state, true); }

BENCHMARK(BM_Paint1KBCold)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint1KBWarm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint100MBCold)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Paint100MBWarm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageDown100MBWarm)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) { return tarnwick::bench::RunBenchmarksOffscreen(argc, argv); }
