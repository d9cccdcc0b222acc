// An XSLT transform of a catalog as the user waits for it from the command
// line: `tarnwick --transform XSL FILE` beside `xsltproc XSL FILE` on the
// same file in the same run, each repetition a process of its own; the
// program ends with the ratio of the medians. The stylesheet (catalog.xsl,
// beside this file) lists the books dearer than 30.
#include "bench/bench_process.h"
#include "bench/xml_bench_ratio.h"

#include <cstdlib>
#include <filesystem>

namespace {

using namespace tarnwick::bench;

std::string Stylesheet() { return (BenchFolder() / "catalog.xsl").string(); }

void CommandTransform(benchmark::State &state, Document document)
{
    RunEach(state, {TarnwickProgram(), "--transform", Stylesheet(), document.Path()});
}

void XsltprocTransform(benchmark::State &state, Document document)
{
    RunEach(state, {"xsltproc", Stylesheet(), document.Path()});
}

} // namespace

int main(int argc, char **argv)
{
    InitializeInterleaved(argc, argv);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int megabytes : {10}) {
        const Document document{"flat-indent", megabytes};
        const std::string subject = "/flat-indent-" + std::to_string(megabytes) + "mb/";
        RegisterOnDocument("CommandTransform", CommandTransform, document, 7);
        RegisterOnDocument("XsltprocTransform", XsltprocTransform, document, 7);
        pairs.emplace_back("CommandTransform" + subject, "XsltprocTransform" + subject);
    }
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
