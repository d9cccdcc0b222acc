// Typing speed: one typed character and one Enter in the middle of the
// indented 100 MB catalog and of a 1 KB document, in the main window's
// editor, from the key-down to the end of the change notification; the
// character also with word wrap on at a right margin of 60. Painting is left
// out: the widget is never shown, so a repaint request only marks it.
//
// The catalog is written by ../shared/bench/gen_xml.py into bench/data/ when
// missing; the 1 KB document is its first kilobyte of whole lines.
#include "bench/bench_data.h"
#include "bench/main_editor.h"
#include "bench/offscreen_main.h"
#include "editor/base/win_constants.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace tarnwick;

namespace {

// Edits of one batch are taken back (untimed) before the next, so every
// timed key lands on the same text.
constexpr int kBatch = 64;

struct Document {
    Document(const std::string &text, bool wrapped)
    {
        editor.Resize(900, 600);
        Editor().Lines()->LoadFromString(text);
        if (wrapped) {
            Editor().SetRightMargin(60);
            Editor().SetWordWrap(wwRightMargin);
        }
        // The shell's change handler: the title and status follow each change.
        Editor().OnChange = [this](TCustomDodi &) { ++changes; };
        line = Editor().Lines()->Count() / 2;
        original = Editor().Lines()->Get(line);
        column = Editor().Lines()->LineLength(line) / 2;
    }

    REdoDodi &Editor() { return editor.Editor(); }

    void PlaceCaret()
    {
        Editor().SetCaretLine(line);
        Editor().SetCaretCol(column);
        Editor().CollapseSelection();
    }

    // Puts the edited line back as it was and forgets the history.
    void Restore(int linesAdded)
    {
        const long keyChanges = changes;
        REdoDodiStrings &store = *Editor().Lines();
        store.RemoveLines(line + 1, linesAdded);
        store.Put(line, original);
        Editor().ClearUndo();
        PlaceCaret();
        changes = keyChanges;
    }

    void Key(uint16_t vk, char32_t ch) { editor.Key(vk, ch); }

    bench::MainEditor editor;
    int line = 0;
    int column = 0;
    std::string original;
    long changes = 0;
};

std::string Catalog() { return bench::ReadAll(bench::DataFile("flat-indent", 100)); }

std::string SmallDocument()
{
    const std::string catalog = Catalog();
    const size_t end = catalog.find('\n', 1024);
    return catalog.substr(0, end == std::string::npos ? catalog.size() : end + 1);
}

Document &DocumentOf(bool large, bool wrapped = false)
{
    static std::map<std::pair<bool, bool>, std::unique_ptr<Document>> documents;
    auto &slot = documents[{large, wrapped}];
    if (!slot)
        slot = std::make_unique<Document>(large ? Catalog() : SmallDocument(), wrapped);
    return *slot;
}

void Counters(benchmark::State &state, Document &doc)
{
    state.counters["lines"] = doc.Editor().Lines()->Count();
    state.counters["edit_line"] = doc.line;
    state.counters["changes_per_key"] =
        benchmark::Counter(static_cast<double>(doc.changes), benchmark::Counter::kAvgIterations);
}

void TypeCharacter(benchmark::State &state, bool large, bool wrapped = false)
{
    Document &doc = DocumentOf(large, wrapped);
    doc.Restore(0);
    doc.changes = 0;
    int inBatch = 0;
    for (auto _ : state) {
        doc.Key('X', U'x');
        if (++inBatch == kBatch) {
            state.PauseTiming();
            doc.Restore(0);
            inBatch = 0;
            state.ResumeTiming();
        }
    }
    doc.Restore(0);
    Counters(state, doc);
}

void Enter(benchmark::State &state, bool large)
{
    Document &doc = DocumentOf(large);
    doc.Restore(0);
    doc.changes = 0;
    int inBatch = 0;
    for (auto _ : state) {
        doc.Key(VK_RETURN, U'\r');
        if (++inBatch == kBatch) {
            state.PauseTiming();
            doc.Restore(kBatch);
            inBatch = 0;
            state.ResumeTiming();
        }
    }
    doc.Restore(inBatch);
    Counters(state, doc);
}

void BM_TypeCharacter1KB(benchmark::State &state) { TypeCharacter(state, false); }
void BM_TypeCharacter100MB(benchmark::State &state) { TypeCharacter(state, true); }
void BM_TypeCharacterWrapped1KB(benchmark::State &state) { TypeCharacter(state, false, true); }
void BM_TypeCharacterWrapped100MB(benchmark::State &state) { TypeCharacter(state, true, true); }
void BM_Enter1KB(benchmark::State &state) { Enter(state, false); }
void BM_Enter100MB(benchmark::State &state) { Enter(state, true); }

BENCHMARK(BM_TypeCharacter1KB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeCharacter100MB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeCharacterWrapped1KB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeCharacterWrapped100MB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Enter1KB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Enter100MB)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) { return tarnwick::bench::RunBenchmarksOffscreen(argc, argv); }
