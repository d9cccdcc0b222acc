// XPath over a large catalog as the user waits for it from the command line:
// `tarnwick --xpath EXPR FILE` beside `xmllint --xpath EXPR FILE` on the same
// file in the same run, each repetition a process of its own; the program
// ends with the ratio of the medians. The peak is the process's.
#include "bench/bench_process.h"
#include "bench/xml_bench_ratio.h"

#include <cstdlib>
#include <filesystem>

namespace {

using namespace tarnwick::bench;

constexpr const char *kExpression = "//book[price>30]/title";

void CommandXPath(benchmark::State &state, Document document)
{
    RunEach(state, {TarnwickProgram(), "--xpath", kExpression, document.Path()});
}

void XmllintXPath(benchmark::State &state, Document document)
{
    RunEach(state, {"xmllint", "--xpath", kExpression, document.Path()});
}

} // namespace

int main(int argc, char **argv)
{
    InitializeInterleaved(argc, argv);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int megabytes : {10, 100}) {
        const int repetitions = megabytes >= 100 ? 5 : 7;
        const Document document{"flat-indent", megabytes};
        const std::string subject = "/flat-indent-" + std::to_string(megabytes) + "mb/";
        RegisterOnDocument("CommandXPath", CommandXPath, document, repetitions);
        RegisterOnDocument("XmllintXPath", XmllintXPath, document, repetitions);
        pairs.emplace_back("CommandXPath" + subject, "XmllintXPath" + subject);
    }
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
