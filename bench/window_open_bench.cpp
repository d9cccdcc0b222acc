// Opening big catalogs in the main window as the user waits for it: from the
// start of Open until the editor has painted the document, against libxml2
// parsing and serialising the same file, each repetition in a process of its
// own; with the peak memory of the window's process, at the first paint and
// once the window has settled (the live check of the form has copied and read
// the text the open left in the editor). Also Ctrl+End and the
// first paint after it on the indented catalog: the first time after the
// open (cold), and again after the end was shown once and the view went
// back to the top (warm). The report ends with the ratios of the medians and
// each peak against the file's size.
#include "bench/main_window_child.h"
#include "editor/base/win_constants.h"
#include "editor/control/redodi.h"
#include "editor/qt/dodi_widget.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

namespace {

using namespace tarnwick;
using namespace tarnwick::bench;

// In a child process: the main window, shown offscreen, after its start-up
// New; `body` measures what it wants of it.
Outcome InWindow(const std::function<Outcome(TForm1 &)> &body)
{
    return InMainWindow([&](TForm1 &window) {
        window.resize(900, 1100);
        window.show();
        QApplication::processEvents();
        return body(window);
    });
}

// What the window goes on to do after an open while the user looks at it:
// its timers and the live check run, for a time that grows with the file.
void Settle(const std::string &path)
{
    const auto seconds = 1.0 + static_cast<double>(std::filesystem::file_size(path)) / (25 << 20);
    const Clock::time_point start = Clock::now();
    while (SecondsSince(start) < seconds)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void Open(TForm1 &window, const std::string &path)
{
    window.OpenFile(QString::fromStdString(path));
    window.EditorWidget().repaint();
}

void CtrlKey(TForm1 &window, uint16_t vk)
{
    uint16_t key = vk;
    window.Editor().KeyDown(key, {ssCtrl});
    key = vk;
    window.Editor().KeyUp(key, {ssCtrl});
    window.EditorWidget().repaint();
}

void RecordWithPeak(benchmark::State &state, const Outcome &outcome, const Document &document)
{
    Record(state, outcome);
    state.counters["process_peak_MiB"] = outcome.processPeakMiB;
    if (outcome.settledPeakMiB > 0)
        state.counters["settled_peak_MiB"] = outcome.settledPeakMiB;
    state.counters["file_MiB"] = static_cast<double>(std::filesystem::file_size(document.Path())) / (1 << 20);
}

void WindowOpen(benchmark::State &state, Document document)
{
    const std::string path = document.Path();
    for (auto _ : state)
        RecordWithPeak(state, InWindow([&](TForm1 &window) {
                           Outcome outcome = Measure([&] { Open(window, path); });
                           Settle(path);
                           outcome.settledPeakMiB = StatusMiB("VmHWM:");
                           return outcome;
                       }),
                       document);
}

void Libxml2ParseSerialise(benchmark::State &state, Document document)
{
    const std::string path = document.Path();
    for (auto _ : state)
        RecordWithPeak(state, RunInChild([&] {
                           return Measure([&] {
                               xmlDocPtr doc = xmlReadFile(path.c_str(), nullptr, 0);
                               xmlChar *text = nullptr;
                               int size = 0;
                               xmlDocDumpMemory(doc, &text, &size);
                               benchmark::DoNotOptimize(text);
                               xmlFree(text);
                               xmlFreeDoc(doc);
                           });
                       }),
                       document);
}

void CtrlEndCold(benchmark::State &state, Document document)
{
    const std::string path = document.Path();
    for (auto _ : state)
        RecordWithPeak(state, InWindow([&](TForm1 &window) {
                           Open(window, path);
                           return Measure([&] { CtrlKey(window, VK_END); });
                       }),
                       document);
}

void CtrlEndWarm(benchmark::State &state, Document document)
{
    const std::string path = document.Path();
    for (auto _ : state)
        RecordWithPeak(state, InWindow([&](TForm1 &window) {
                           Open(window, path);
                           CtrlKey(window, VK_END);
                           CtrlKey(window, VK_HOME);
                           return Measure([&] { CtrlKey(window, VK_END); });
                       }),
                       document);
}

// Prints, after the table, the ratio of the median open to the median
// libxml2 run on the same file, and each peak against the file size.
class OpenReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median" || run.iterations == 0)
                continue;
            auto counter = [&](const char *name) {
                auto it = run.counters.find(name);
                return it == run.counters.end() ? 0.0 : double(it->second);
            };
            medians_[run.run_name.function_name] = {run.GetAdjustedRealTime() / 1e3, counter("process_peak_MiB"),
                                                    counter("settled_peak_MiB"), counter("file_MiB")};
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nMedians: wall time, and the process's peak against the file's size (at the first paint, and\n"
                    "over the seconds after it)\n");
        for (const auto &[name, m] : medians_) {
            std::printf("  %-40s %8.0f ms   peak %6.0f MiB = %4.2fx the file", name.c_str(), m.seconds * 1e3, m.peak,
                        m.file > 0 ? m.peak / m.file : 0.0);
            if (m.settled > 0)
                std::printf(";  settled %6.0f MiB = %4.2fx", m.settled, m.file > 0 ? m.settled / m.file : 0.0);
            std::printf("\n");
        }
        std::printf("\nRatios of medians (open until painted / libxml2 parse and serialise):\n");
        for (const auto &[name, ours] : medians_) {
            if (name.rfind("WindowOpen/", 0) != 0)
                continue;
            const std::string subject = name.substr(name.find('/'));
            auto peer = medians_.find("Libxml2ParseSerialise" + subject);
            if (peer != medians_.end())
                std::printf("  %-40s %8.0f ms / %8.0f ms = %5.2fx\n", subject.c_str(), ours.seconds * 1e3,
                            peer->second.seconds * 1e3, ours.seconds / peer->second.seconds);
        }
    }

private:
    struct Median {
        double seconds;
        double peak;
        double settled;
        double file;
    };
    std::map<std::string, Median> medians_;
};

} // namespace

int main(int argc, char **argv)
{
    InitializeInterleaved(argc, argv);
    for (int megabytes : {10, 100}) {
        const int repetitions = megabytes >= 100 ? 3 : 5;
        for (const char *kind : {"flat", "flat-indent"}) {
            RegisterOnDocument("WindowOpen", WindowOpen, {kind, megabytes}, repetitions);
            RegisterOnDocument("Libxml2ParseSerialise", Libxml2ParseSerialise, {kind, megabytes}, repetitions);
        }
        RegisterOnDocument("CtrlEndCold", CtrlEndCold, {"flat-indent", megabytes}, repetitions);
        RegisterOnDocument("CtrlEndWarm", CtrlEndWarm, {"flat-indent", megabytes}, repetitions);
    }
    OpenReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
