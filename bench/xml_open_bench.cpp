// Opening a flat catalog through the XML layer (LoadFile, text list
// regeneration, the editor's line store) against libxml2 alone parsing and
// serialising the same file, at 1 and 10 MiB.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/xmlsave.h>
#include <unistd.h>

#include "bench/bench_data.h"
#include "bench/xml_bench_ratio.h"
#include "editor/document/line_store.h"
#include "xml/libxml2_vendor.h"
#include "xml/xml_document.h"

namespace {

using namespace tarnwick;

void LayerOpen(benchmark::State &state)
{
    std::string path = bench::DataFile("flat", static_cast<int>(state.range(0)));
    for (auto _ : state) {
        xml::TXMLDocument doc;
        doc.SetParseOptions({xml::poPreserveWhiteSpace});
        doc.LoadFile(path);
        std::string text = doc.XML().Text();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}

void LayerOpenIntoEditor(benchmark::State &state)
{
    std::string path = bench::DataFile("flat", static_cast<int>(state.range(0)));
    for (auto _ : state) {
        xml::TXMLDocument doc;
        doc.SetParseOptions({xml::poPreserveWhiteSpace});
        doc.LoadFile(path);
        REdoDodiStrings lines;
        lines.LoadFromString(doc.XML().Text());
        benchmark::DoNotOptimize(lines.Count());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}

void Libxml2ParseSerialise(benchmark::State &state)
{
    std::string path = bench::DataFile("flat", static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_RDONLY);
        xmlDocPtr doc = xmlReadFd(fd, path.c_str(), nullptr, 0);
        ::close(fd);
        xmlChar *text = nullptr;
        int size = 0;
        xmlDocDumpMemory(doc, &text, &size);
        benchmark::DoNotOptimize(text);
        xmlFree(text);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}

BENCHMARK(LayerOpen)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(LayerOpenIntoEditor)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(Libxml2ParseSerialise)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    xml::RegisterLibxml2Vendor();
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter({{"LayerOpen/1", "Libxml2ParseSerialise/1"},
                                   {"LayerOpen/10", "Libxml2ParseSerialise/10"},
                                   {"LayerOpenIntoEditor/1", "Libxml2ParseSerialise/1"},
                                   {"LayerOpenIntoEditor/10", "Libxml2ParseSerialise/10"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
