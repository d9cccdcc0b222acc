// Typing beside the XML help: a keystroke in the middle of the indented
// 100 MB catalog in the main window's editor with its completion source and
// its live form check attached ("Helped"), and in the same editor without
// them ("Plain"), in one run. The keys: a letter, "<" (which starts the
// completion timer) and Enter, typed on and on; and the first letter after a
// pause, when the helped editor has just copied the text and checks it in
// its thread. Timed from the key-down to the end of the key-up, wall time;
// painting is left out as in typing_bench. The program ends with the ratios
// of the medians, helped over plain.
//
// The catalog is written by ../shared/bench/gen_xml.py into bench/data/ when
// missing.
#include "app/xml_completion_source.h"
#include "app/xml_form_checker.h"
#include "bench/bench_data.h"
#include "bench/bench_process.h"
#include "bench/main_editor.h"
#include "bench/offscreen_main.h"
#include "editor/base/win_constants.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

using namespace tarnwick;

namespace {

// Edits of one batch are taken back (untimed) before the next, so every
// timed key lands on the same text.
constexpr int kBatch = 32;
// The key that sends "<" with Shift on a US keyboard.
constexpr uint16_t kCommaKey = 0xBC;

struct Document {
    Document(const std::string &text, bool helped)
    {
        editor.Resize(900, 600);
        Editor().Lines()->LoadFromString(text);
        Editor().OnChange = [](TCustomDodi &) {};
        if (helped) {
            completion = std::make_unique<XmlCompletionSource>(Editor(), [] { return std::string(); });
            // As the window's: the check builds the element tree too.
            checker = MakeXmlFormChecker(std::make_shared<OutlineSlot>());
            Editor().SetMemoChecker(checker.get());
        }
        line = Editor().Lines()->Count() / 2;
        original = Editor().Lines()->Get(line);
        column = Editor().Lines()->LineLength(line) / 2;
        SettleCheck();
    }

    REdoDodi &Editor() { return editor.Editor(); }

    // Runs a whole check now and waits for its marks, as after a pause.
    void SettleCheck()
    {
        if (!checker)
            return;
        checker->CheckNow();
        // The check reads the text as the event loop copies it over: the
        // events run until it has read the last of it and its marks are in.
        while (checker->Busy())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        checker->WaitForWorker();
        QCoreApplication::processEvents();
    }

    // A check of the whole text copied and running in its thread.
    void StartCheck()
    {
        if (!checker)
            return;
        checker->CheckNow();
        while (checker->Copying())
            QCoreApplication::processEvents();
    }

    void Restore(int linesAdded)
    {
        REdoDodiStrings &store = *Editor().Lines();
        store.RemoveLines(line + 1, linesAdded);
        store.Put(line, original);
        Editor().ClearUndo();
        Editor().SetCaretLine(line);
        Editor().SetCaretCol(column);
        Editor().CollapseSelection();
    }

    void Key(uint16_t vk, char32_t ch, TShiftState shift = {}) { editor.Key(vk, ch, shift); }

    bench::MainEditor editor;
    std::unique_ptr<XmlCompletionSource> completion;
    std::unique_ptr<TBackgroundChecker> checker;
    int line = 0;
    int column = 0;
    std::string original;
};

Document &DocumentOf(bool helped)
{
    static std::map<bool, std::unique_ptr<Document>> documents;
    auto &slot = documents[helped];
    if (!slot)
        slot = std::make_unique<Document>(bench::ReadAll(bench::DataFile("flat-indent", 100)), helped);
    return *slot;
}

enum class Keystroke { Letter, TagStart, Enter };

void Type(benchmark::State &state, bool helped, Keystroke keystroke)
{
    Document &doc = DocumentOf(helped);
    doc.Restore(0);
    int inBatch = 0;
    int linesAdded = 0;
    for (auto _ : state) {
        switch (keystroke) {
        case Keystroke::Letter:
            doc.Key('X', U'x');
            break;
        case Keystroke::TagStart:
            doc.Key(kCommaKey, U'<', {ssShift});
            break;
        case Keystroke::Enter:
            doc.Key(VK_RETURN, U'\r');
            ++linesAdded;
            break;
        }
        if (++inBatch == kBatch) {
            state.PauseTiming();
            doc.Restore(linesAdded);
            linesAdded = 0;
            inBatch = 0;
            state.ResumeTiming();
        }
    }
    doc.Restore(linesAdded);
    doc.SettleCheck();
}

// The pause is over: the helped editor copies the text and starts checking
// it; the plain one handles its events. Then one key.
void FirstLetterAfterPause(benchmark::State &state, bool helped)
{
    Document &doc = DocumentOf(helped);
    for (auto _ : state) {
        state.PauseTiming();
        doc.Restore(0);
        doc.SettleCheck();
        doc.StartCheck();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        doc.Key('X', U'x');
    }
    doc.Restore(0);
    doc.SettleCheck();
}

void BM_LetterPlain(benchmark::State &s) { Type(s, false, Keystroke::Letter); }
void BM_LetterHelped(benchmark::State &s) { Type(s, true, Keystroke::Letter); }
void BM_TagStartPlain(benchmark::State &s) { Type(s, false, Keystroke::TagStart); }
void BM_TagStartHelped(benchmark::State &s) { Type(s, true, Keystroke::TagStart); }
void BM_EnterPlain(benchmark::State &s) { Type(s, false, Keystroke::Enter); }
void BM_EnterHelped(benchmark::State &s) { Type(s, true, Keystroke::Enter); }
void BM_FirstLetterAfterPausePlain(benchmark::State &s) { FirstLetterAfterPause(s, false); }
void BM_FirstLetterAfterPauseHelped(benchmark::State &s) { FirstLetterAfterPause(s, true); }

#define KEY_BENCHMARK(name) BENCHMARK(name)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(7)
KEY_BENCHMARK(BM_LetterPlain);
KEY_BENCHMARK(BM_LetterHelped);
KEY_BENCHMARK(BM_TagStartPlain);
KEY_BENCHMARK(BM_TagStartHelped);
KEY_BENCHMARK(BM_EnterPlain);
KEY_BENCHMARK(BM_EnterHelped);
KEY_BENCHMARK(BM_FirstLetterAfterPausePlain)->Iterations(20);
KEY_BENCHMARK(BM_FirstLetterAfterPauseHelped)->Iterations(20);

// Prints, after the table, each helped benchmark's median over its plain
// one's: wall time, and the CPU time of the thread that handles the keys (on
// a busy machine a key's wall time includes waits for the processor).
class MedianRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians_[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nRatios of the medians, helped / plain, per key:\n");
        for (const auto &[name, helped] : medians_) {
            const size_t at = name.rfind("Helped");
            if (at == std::string::npos)
                continue;
            auto plain = medians_.find(name.substr(0, at) + "Plain");
            if (plain == medians_.end() || plain->second.first <= 0 || plain->second.second <= 0)
                continue;
            std::printf("  %-22s wall %9.2f / %8.2f us = %7.2fx   cpu %8.2f / %8.2f us = %5.2fx\n",
                        name.substr(3, at - 3).c_str(), helped.first, plain->second.first,
                        helped.first / plain->second.first, helped.second, plain->second.second,
                        helped.second / plain->second.second);
        }
    }

private:
    std::map<std::string, std::pair<double, double>> medians_;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::InitializeInterleaved(argc, argv);
    MedianRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
