// main() of the benchmarks that need a QApplication (fonts, painting):
// offscreen unless the caller chose a platform.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

namespace tarnwick::bench {

inline int RunBenchmarksOffscreen(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tarnwick::bench
