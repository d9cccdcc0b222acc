// The main window in a benchmark's child process of its own (RunInChild):
// offscreen, libxml2 set up as the program sets it up, the window made but
// not shown. `body` measures what it wants of it; a message box other than
// an information counts as a failure.
#pragma once

#include "app/main_window.h"
#include "app/message_helpers.h"
#include "bench/bench_process.h"
#include "xml/libxml2_vendor.h"

#include <QApplication>

#include <functional>

namespace tarnwick::bench {

inline Outcome InMainWindow(const std::function<Outcome(TForm1 &)> &body)
{
    return RunInChild([&] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        int argc = 1;
        char name[] = "tarnwick_bench";
        char *argv[] = {name, nullptr};
        QApplication application(argc, argv);
        xml::RegisterLibxml2Vendor();
        bool failed = false;
        SetMessageSink([&](MessageKind kind, const QString &) {
            failed = failed || kind != MessageKind::Information;
            return MessageAnswer::Ok;
        });
        TForm1 window;
        Outcome outcome = body(window);
        return failed ? Outcome{} : outcome;
    });
}

} // namespace tarnwick::bench
