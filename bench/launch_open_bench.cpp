// What the user waits for when launching the editor with a file: from the
// start of `tarnwick FILE` until the window has painted the document (the
// program ends there when TARNWICK_EXIT_AFTER_FIRST_PAINT is set), each
// repetition a process of its own, beside `cat FILE` and `xmllint --noout
// FILE` on the same file in the same run. The peak is the process's.
// TARNWICK_BEFORE=/path/to/an/older/tarnwick adds that build's launch, so a
// change is measured before and after in one run.
#include "bench/bench_process.h"
#include "bench/xml_bench_ratio.h"

#include <cstdlib>
#include <filesystem>

namespace {

using namespace tarnwick::bench;

void LaunchOpen(benchmark::State &state, Document document) { RunEach(state, {TarnwickProgram(), document.Path()}); }
void LaunchOpenBefore(benchmark::State &state, Document document)
{
    RunEach(state, {std::getenv("TARNWICK_BEFORE"), document.Path()});
}
void Cat(benchmark::State &state, Document document) { RunEach(state, {"cat", document.Path()}); }
void XmllintNoout(benchmark::State &state, Document document)
{
    RunEach(state, {"xmllint", "--noout", document.Path()});
}

} // namespace

int main(int argc, char **argv)
{
    ::setenv("TARNWICK_EXIT_AFTER_FIRST_PAINT", "1", 1);
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const bool before = std::getenv("TARNWICK_BEFORE") != nullptr;
    InitializeInterleaved(argc, argv);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int megabytes : {10, 100}) {
        const int repetitions = megabytes >= 100 ? 3 : 5;
        for (const char *kind : {"flat-indent", "flat", "deep"}) {
            const Document document{kind, megabytes};
            const std::string subject = std::string("/") + kind + "-" + std::to_string(megabytes) + "mb/";
            RegisterOnDocument("LaunchOpen", LaunchOpen, document, repetitions);
            RegisterOnDocument("Cat", Cat, document, repetitions);
            RegisterOnDocument("XmllintNoout", XmllintNoout, document, repetitions);
            pairs.emplace_back("LaunchOpen" + subject, "Cat" + subject);
            pairs.emplace_back("LaunchOpen" + subject, "XmllintNoout" + subject);
            if (before) {
                RegisterOnDocument("LaunchOpenBefore", LaunchOpenBefore, document, repetitions);
                pairs.emplace_back("LaunchOpen" + subject, "LaunchOpenBefore" + subject);
            }
        }
    }
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
