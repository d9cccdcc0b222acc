// Format and Validate through the XML layer against xmllint run as a process
// in the same run: PrettyPrintXML on one-line flat catalogs against
// "xmllint --format", and validation with the catalog's DTD against
// "xmllint --valid --noout", at 1 and 10 MiB.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>
#include <filesystem>

#include "app/xml_commands.h"
#include "bench/bench_data.h"
#include "editor/control/redodi.h"
#include "bench/xml_bench_ratio.h"
#include "xml/libxml2_vendor.h"
#include "xml/pretty_printer.h"
#include "xml/xml_document.h"

namespace {

using namespace tarnwick;

void RunXmllint(benchmark::State& state, const std::vector<std::string>& argv) {
  for (auto _ : state) {
    double seconds = bench::RunChildCpuSeconds(argv);
    if (seconds < 0) {
      state.SkipWithError("xmllint failed (is libxml2-utils installed?)");
      break;
    }
    state.SetIterationTime(seconds);
  }
}

void LayerFormat(benchmark::State& state) {
  std::string text = bench::ReadAll(bench::DataFile("flat", static_cast<int>(state.range(0))));
  for (auto _ : state) {
    std::string formatted = xml::PrettyPrintXML(text);
    benchmark::DoNotOptimize(formatted.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

// The main window's whole Format: the editor's lines into the text list, the
// pretty printer, activation, the declaration, and the text list back into
// the editor's line store.
void ShellFormat(benchmark::State& state) {
  std::string path = bench::DataFile("flat", static_cast<int>(state.range(0)));
  std::string text = bench::ReadAll(path);
  std::string folder = std::filesystem::path(path).parent_path().string();
  REdoDodi editor;
  xml::TXMLDocument doc;
  ConfigureShellDocument(doc);
  for (auto _ : state) {
    state.PauseTiming();
    editor.Lines()->LoadFromString(text);
    state.ResumeTiming();
    editor.Lines()->LoadFromString(FormatDocument(doc, editor.Lines()->Text(), "UTF-8", folder));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

// The main window's whole Validate, from the editor's text to the report.
void ShellValidate(benchmark::State& state) {
  std::string path = bench::DataFile("flat-dtd", static_cast<int>(state.range(0)));
  std::string folder = std::filesystem::path(path).parent_path().string();
  REdoDodi editor;
  editor.Lines()->LoadFromString(bench::ReadAll(path));
  xml::TXMLDocument doc;
  ConfigureShellDocument(doc);
  for (auto _ : state) {
    ValidationReport report = ValidateDocument(doc, editor.Lines()->Text(), folder);
    if (!report.valid) {
      state.SkipWithError(report.message.c_str());
      break;
    }
  }
}

void XmllintFormat(benchmark::State& state) {
  std::string path = bench::DataFile("flat", static_cast<int>(state.range(0)));
  RunXmllint(state, {"xmllint", "--format", path});
}

// The shell's Validate: the editor's text goes into the text list and is
// parsed with validation, relative references taken from the file's folder.
void LayerValidate(benchmark::State& state) {
  std::string path = bench::DataFile("flat-dtd", static_cast<int>(state.range(0)));
  std::string text = bench::ReadAll(path);
  for (auto _ : state) {
    xml::TXMLDocument doc;
    doc.SetParseOptions({xml::poValidateOnParse});
    doc.XML().SetText(text);
    doc.SetBaseDirectory(std::filesystem::path(path).parent_path().string());
    doc.SetActive(true);
    benchmark::DoNotOptimize(doc.Active());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void XmllintValidate(benchmark::State& state) {
  std::string path = bench::DataFile("flat-dtd", static_cast<int>(state.range(0)));
  RunXmllint(state, {"xmllint", "--valid", "--noout", path});
}

BENCHMARK(LayerFormat)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ShellFormat)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ShellValidate)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(XmllintFormat)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseManualTime();
BENCHMARK(LayerValidate)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(XmllintValidate)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
  xml::RegisterLibxml2Vendor();
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter({{"LayerFormat/1", "XmllintFormat/1"},
                                 {"LayerFormat/10", "XmllintFormat/10"},
                                 {"ShellFormat/1", "XmllintFormat/1"},
                                 {"ShellFormat/10", "XmllintFormat/10"},
                                 {"LayerValidate/1", "XmllintValidate/1"},
                                 {"ShellValidate/1", "XmllintValidate/1"},
                                 {"ShellValidate/10", "XmllintValidate/10"},
                                 {"LayerValidate/10", "XmllintValidate/10"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
