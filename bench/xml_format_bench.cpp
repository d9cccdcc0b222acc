// Format as the user waits for it, against "xmllint --format" in the same
// run: the command line's whole process ("tarnwick --format FILE"), and the
// main window's Format from the editor's text back into the editor, in a
// main window of its own in a child process. Every repetition records the wall time and the
// peak memory; the report ends with the ratios of the medians. Validation
// through the layer against "xmllint --valid --noout" likewise.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>

#include "app/command_table.h"
#include "app/config_dialog.h"
#include "bench/main_window_child.h"

namespace {

using namespace tarnwick;
using namespace tarnwick::bench;

std::string TarnwickProgram()
{
    if (const char *env = std::getenv("TARNWICK_PROGRAM"))
        return env;
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "app" / "tarnwick").string();
}

void CommandFormat(benchmark::State &state, Document document)
{
    const std::string path = document.Path();
    for (auto _ : state)
        Record(state, RunProgram({TarnwickProgram(), "--format", path}));
}

void XmllintFormat(benchmark::State &state, Document document)
{
    const std::string path = document.Path();
    for (auto _ : state)
        Record(state, RunProgram({"xmllint", "--format", path}));
}

// Runs a command of the main window, shown offscreen, on the file opened in
// it, with "UTF-8" in the configuration dialog's encoding box. A message box
// the command shows counts as a failure.
Outcome WindowCommand(const std::string &path, CommandId command)
{
    return InMainWindow([&](TForm1 &window) {
        window.OpenFile(QString::fromStdString(path));
        window.ConfigDialog().ComboBox2->setEditText(QStringLiteral("UTF-8"));
        return Measure([&] { window.Run(command); });
    });
}

// The main window's Format: the editor's text through the XML layer and the
// result back into the editor as one undoable step.
void WindowFormat(benchmark::State &state, Document document)
{
    const std::string path = document.Path();
    for (auto _ : state)
        Record(state, WindowCommand(path, CommandId::Format));
}

// The main window's Validate, from the editor's text to the report.
void WindowValidate(benchmark::State &state, Document document)
{
    const std::string path = document.Path();
    for (auto _ : state)
        Record(state, WindowCommand(path, CommandId::Validate));
}

void XmllintValidate(benchmark::State &state, Document document)
{
    const std::string path = document.Path();
    for (auto _ : state)
        Record(state, RunProgram({"xmllint", "--valid", "--noout", path}));
}

// Prints, after the table, each pair's ratio of median wall times and of
// median peak memory.
class MedianRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median" || run.iterations == 0)
                continue;
            auto peak = run.counters.find("peak_MiB");
            medians_[run.run_name.function_name] = {run.GetAdjustedRealTime() / 1e3,
                                                    peak == run.counters.end() ? 0 : double(peak->second)};
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nRatios of medians (ours / xmllint): wall time, peak memory (the window's: its rise)\n");
        for (const auto &[name, ours] : medians_) {
            std::string subject = name.substr(name.find('/'));
            std::string peer = name.find("Validate") != std::string::npos ? "XmllintValidate" : "XmllintFormat";
            auto found = medians_.find(peer + subject);
            if (name.rfind("Xmllint", 0) == 0 || found == medians_.end())
                continue;
            const Outcome &theirs = found->second;
            std::printf("  %-34s %8.0f ms / %8.0f ms = %5.2fx   %7.0f MiB / %7.0f MiB = %5.2fx\n", name.c_str(),
                        ours.seconds * 1e3, theirs.seconds * 1e3, ours.seconds / theirs.seconds, ours.peakMiB,
                        theirs.peakMiB, ours.peakMiB / theirs.peakMiB);
        }
    }

private:
    std::map<std::string, Outcome> medians_;
};

} // namespace

int main(int argc, char **argv)
{
    InitializeInterleaved(argc, argv);
    for (int megabytes : {10, 100}) {
        const int repetitions = megabytes >= 100 ? 3 : 7;
        for (const char *kind : {"flat", "flat-indent"}) {
            RegisterOnDocument("CommandFormat", CommandFormat, {kind, megabytes}, repetitions);
            RegisterOnDocument("WindowFormat", WindowFormat, {kind, megabytes}, repetitions);
            RegisterOnDocument("XmllintFormat", XmllintFormat, {kind, megabytes}, repetitions);
        }
        RegisterOnDocument("WindowValidate", WindowValidate, {"flat-dtd", megabytes}, repetitions);
        RegisterOnDocument("XmllintValidate", XmllintValidate, {"flat-dtd", megabytes}, repetitions);
    }
    MedianRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
