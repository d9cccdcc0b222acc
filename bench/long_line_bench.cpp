// Keys on a long line in the main window: each caret movement kind, selection
// by keyboard, typing (a letter, and a space, which ends a word), Backspace,
// Ctrl+Backspace, undo and redo of a typing run, a mouse click and a drag
// step, each followed by the full repaint of a 60-row view the user waits
// for, and the repaint alone, with the caret in the middle of the one-line
// 10 MB catalog and of a 1 KB one-line document, both opened as Open opens
// them. The report ends with the ratio of each to the same on 1 KB (of the
// medians when run with repetitions).
//
// The catalog is written by ../shared/bench/gen_xml.py into bench/data/ when
// missing; the 1 KB document is its declaration and the first kilobyte of its
// long line.
#include "app/main_window.h"
#include "app/message_helpers.h"
#include "bench/bench_data.h"
#include "bench/xml_bench_ratio.h"
#include "editor/base/win_constants.h"
#include "editor/control/redodi.h"
#include "editor/qt/dodi_widget.h"
#include "editor/qt/qt_canvas.h"
#include "xml/libxml2_vendor.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>

using namespace tarnwick;

namespace {

constexpr int kRows = 60;
constexpr int kWidth = 900;
// Keys of one batch run on from where the last one left the caret; the
// caret and the text are put back (untimed) between batches.
constexpr int kBatch = 32;

struct View {
    explicit View(const std::string &path)
    {
        REdoDodi &ed = Editor();
        window.show();
        QApplication::processEvents();
        window.OpenFile(QString::fromStdString(path));
        // The window is sized, not the editor: the window's layout would
        // give an editor sized by hand its own size back at the next event
        // it handles (when the other document's window opens, say).
        DodiWidget &widget = window.EditorWidget();
        for (int pass = 0; pass < 4 && (ed.VisibleRows() != kRows || widget.width() != kWidth); ++pass) {
            window.resize(window.width() + kWidth - widget.width(),
                          window.height() + (kRows - ed.VisibleRows()) * ed.LineHeight());
            QApplication::processEvents();
        }
        image = QImage(widget.width(), widget.height(), QImage::Format_RGB32);
        line = ed.Lines()->Count() - 1;
        for (int i = 0; i < ed.Lines()->Count(); ++i)
            if (ed.Lines()->LineLength(i) > ed.Lines()->LineLength(line))
                line = i;
        original = ed.Lines()->Get(line);
        column = ed.Lines()->LineLength(line) / 2;
        Reset();
    }

    REdoDodi &Editor() { return window.Editor(); }

    void Paint()
    {
        QPainter painter(&image);
        qt::QtCanvas canvas(&painter);
        Editor().Paint(canvas);
    }

    // The caret back in the middle of the long line, nothing selected, the
    // text as loaded, no history, and the view painted once.
    void Reset()
    {
        REdoDodi &ed = Editor();
        if (ed.Lines()->Count() != lines || ed.Lines()->Get(line) != original) {
            ed.Lines()->Put(line, original);
            ed.ClearUndo();
        }
        ed.SetCaretLine(line);
        ed.SetCaretCol(column);
        ed.CollapseSelection();
        Paint();
    }

    void Key(uint16_t vk, TShiftState shift, char32_t ch = 0)
    {
        REdoDodi &ed = Editor();
        uint16_t key = vk;
        ed.KeyDown(key, shift);
        if (ch != 0)
            ed.KeyPress(ch);
        key = vk;
        ed.KeyUp(key, shift);
    }

    // Client pixels of the caret cell's middle.
    TPoint CaretPixel()
    {
        REdoDodi &ed = Editor();
        const TRect text = ed.TextArea();
        return {text.left + (ed.CaretCol() - ed.LeftColumn()) * ed.CharWidth() + ed.CharWidth() / 2,
                text.top + 1 + (ed.CaretLine() - ed.TopLine()) * ed.LineHeight() + ed.LineHeight() / 2};
    }

    TForm1 window;
    QImage image;
    int lines = 0;
    int line = 0;
    int column = 0;
    std::string original;
};

std::string LongDocument() { return bench::DataFile("flat", 10); }

// The catalog's declaration and the first kilobyte of its line of records,
// closed so that it opens as XML.
std::string SmallDocument()
{
    const std::string catalog = bench::ReadAll(LongDocument());
    const size_t cut = catalog.find("</book>", catalog.find('\n') + 1024) + 7;
    const std::string path = (std::filesystem::temp_directory_path() / "long_line_bench_1kb.xml").string();
    std::ofstream(path, std::ios::binary) << catalog.substr(0, cut) << "</catalog>\n";
    return path;
}

// The windows go before the application does.
std::map<bool, std::unique_ptr<View>> &Views()
{
    static std::map<bool, std::unique_ptr<View>> views;
    return views;
}

View &ViewOf(bool large)
{
    auto &slot = Views()[large];
    if (!slot) {
        slot = std::make_unique<View>(large ? LongDocument() : SmallDocument());
        slot->lines = slot->Editor().Lines()->Count();
    }
    return *slot;
}

// Runs `step` and a repaint per iteration; `prepare` (untimed) runs before
// each, and the view is put back after every `batch` iterations.
void Measure(benchmark::State &state, bool large, const std::function<void(View &)> &step, int batch = kBatch,
             const std::function<void(View &)> &prepare = {})
{
    View &view = ViewOf(large);
    view.Reset();
    int inBatch = 0;
    for (auto _ : state) {
        if (prepare) {
            state.PauseTiming();
            prepare(view);
            state.ResumeTiming();
        }
        step(view);
        view.Paint();
        if (++inBatch == batch) {
            state.PauseTiming();
            view.Reset();
            inBatch = 0;
            state.ResumeTiming();
        }
    }
    view.Reset();
    state.counters["line_chars"] = view.Editor().Lines()->LineLength(view.line);
    state.counters["rows"] = view.Editor().VisibleRows();
}

void KeyStep(benchmark::State &state, bool large, uint16_t vk, TShiftState shift, int batch = kBatch)
{
    Measure(
        state, large, [&](View &v) { v.Key(vk, shift); }, batch);
}

void Paint(benchmark::State &state, bool large)
{
    Measure(state, large, [](View &) {});
}
void Right(benchmark::State &state, bool large) { KeyStep(state, large, VK_RIGHT, {}); }
void Left(benchmark::State &state, bool large) { KeyStep(state, large, VK_LEFT, {}); }
void WordRight(benchmark::State &state, bool large) { KeyStep(state, large, VK_RIGHT, {ssCtrl}); }
void WordLeft(benchmark::State &state, bool large) { KeyStep(state, large, VK_LEFT, {ssCtrl}); }
void ShiftRight(benchmark::State &state, bool large) { KeyStep(state, large, VK_RIGHT, {ssShift}); }
void ShiftWordRight(benchmark::State &state, bool large) { KeyStep(state, large, VK_RIGHT, {ssShift, ssCtrl}); }
// From the middle to the end of the line: half of it selected.
void ShiftEnd(benchmark::State &state, bool large) { KeyStep(state, large, VK_END, {ssShift}, 1); }
void Home(benchmark::State &state, bool large) { KeyStep(state, large, VK_HOME, {}, 1); }
void End(benchmark::State &state, bool large) { KeyStep(state, large, VK_END, {}, 1); }
void PageUp(benchmark::State &state, bool large) { KeyStep(state, large, VK_PRIOR, {}, 1); }
void PageDown(benchmark::State &state, bool large) { KeyStep(state, large, VK_NEXT, {}, 1); }
void Up(benchmark::State &state, bool large) { KeyStep(state, large, VK_UP, {}, 1); }
void Type(benchmark::State &state, bool large)
{
    Measure(state, large, [](View &v) { v.Key('X', {}, U'x'); });
}
// A space ends the word before it, which runs the word hooks first.
void TypeSpace(benchmark::State &state, bool large)
{
    Measure(state, large, [](View &v) { v.Key(VK_SPACE, {}, U' '); });
}
void Backspace(benchmark::State &state, bool large) { KeyStep(state, large, VK_BACK, {}); }
void WordBackspace(benchmark::State &state, bool large) { KeyStep(state, large, VK_BACK, {ssCtrl}, 8); }

// Undo of 21 typed characters (one record), and redo of it.
void TypeRun(View &v)
{
    for (char32_t c : std::u32string(U"twenty-one characters"))
        v.Key('X', {}, c);
}
void UndoRun(benchmark::State &state, bool large)
{
    Measure(
        state, large, [](View &v) { v.Editor().Undo(); }, 1, TypeRun);
}
void RedoRun(benchmark::State &state, bool large)
{
    Measure(
        state, large, [](View &v) { v.Editor().Redo(); }, 1,
        [](View &v) {
            TypeRun(v);
            v.Editor().Undo();
        });
}

void Click(benchmark::State &state, bool large)
{
    Measure(state, large, [](View &v) {
        const TPoint p = v.CaretPixel();
        v.Editor().MouseDown(mbLeft, {ssLeft}, p.x + v.Editor().CharWidth(), p.y);
        v.Editor().MouseUp(mbLeft, {}, p.x + v.Editor().CharWidth(), p.y);
    });
}

// One mouse move of a selecting drag, three cells further right each time.
void Drag(benchmark::State &state, bool large)
{
    Measure(
        state, large,
        [](View &v) {
            const TPoint p = v.CaretPixel();
            v.Editor().MouseMove({ssLeft}, p.x + 3 * v.Editor().CharWidth(), p.y);
        },
        16,
        [](View &v) {
            if (v.Editor().CaretCol() == v.column) {
                const TPoint p = v.CaretPixel();
                v.Editor().MouseDown(mbLeft, {ssLeft}, p.x, p.y);
            }
        });
    const TPoint p = ViewOf(large).CaretPixel();
    ViewOf(large).Editor().MouseUp(mbLeft, {}, p.x, p.y);
}

const std::vector<std::pair<std::string, void (*)(benchmark::State &, bool)>> kSteps = {
    {"Paint", Paint},
    {"Right", Right},
    {"Left", Left},
    {"WordRight", WordRight},
    {"WordLeft", WordLeft},
    {"ShiftRight", ShiftRight},
    {"ShiftWordRight", ShiftWordRight},
    {"ShiftEnd", ShiftEnd},
    {"Home", Home},
    {"End", End},
    {"PageUp", PageUp},
    {"PageDown", PageDown},
    {"Up", Up},
    {"Type", Type},
    {"TypeSpace", TypeSpace},
    {"Backspace", Backspace},
    {"WordBackspace", WordBackspace},
    {"UndoRun", UndoRun},
    {"RedoRun", RedoRun},
    {"Click", Click},
    {"Drag", Drag},
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    xml::RegisterLibxml2Vendor();
    SetMessageSink([](MessageKind, const QString &) { return MessageAnswer::Ok; });
    benchmark::Initialize(&argc, argv);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto &[name, function] : kSteps) {
        for (bool large : {false, true}) {
            const std::string full = name + (large ? "/10MB" : "/1KB");
            benchmark::RegisterBenchmark(full.c_str(), function, large)->Unit(benchmark::kMicrosecond);
        }
        pairs.emplace_back(name + "/10MB", name + "/1KB");
    }
    bench::RatioReporter reporter(pairs, true);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    Views().clear();
    return 0;
}
