// What a benchmark measures of a command the user waits for: its wall time
// and its peak memory, each repetition in a process of its own, so that none
// inherits another's heap.
#pragma once

#include "bench/bench_data.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace tarnwick::bench {

using Clock = std::chrono::steady_clock;

struct Outcome {
    double seconds = -1; // negative when the run failed
    double peakMiB = 0;
    double processPeakMiB = 0; // Measure: the whole process's peak, not only the rise
    double settledPeakMiB = 0; // the process's peak also over what followed the measured work
};

inline double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs a program with its output discarded and waits for it: false when it
// could not run or failed; `usage` holds what it used.
inline bool RunQuietly(const std::vector<std::string> &argv, struct rusage &usage)
{
    pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0)
            ::dup2(null, 1);
        std::vector<char *> args;
        for (const std::string &a : argv)
            args.push_back(const_cast<char *>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    return ::wait4(pid, &status, 0, &usage) >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs a program with its output discarded: its wall time and peak resident
// memory.
inline Outcome RunProgram(const std::vector<std::string> &argv)
{
    const Clock::time_point start = Clock::now();
    struct rusage usage {};
    if (!RunQuietly(argv, usage))
        return {};
    return {SecondsSince(start), usage.ru_maxrss / 1024.0};
}

// A line of /proc/self/status in MiB ("VmRSS", "VmHWM").
inline double StatusMiB(const char *field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(line.find(':') + 1)) / 1024.0;
    return 0;
}

// In a child process: how long `work` takes and how far it raises the
// memory above what was there before it.
inline Outcome Measure(const std::function<void()> &work)
{
    // The peak restarts from the present size (Linux: clear_refs 5).
    std::ofstream("/proc/self/clear_refs") << "5";
    double before = StatusMiB("VmRSS:");
    Clock::time_point start = Clock::now();
    work();
    const double peak = StatusMiB("VmHWM:");
    return {SecondsSince(start), peak - before, peak};
}

// Runs `body` in a child process of its own, so that no run inherits another's
// heap, and passes back what it measured.
inline Outcome RunInChild(const std::function<Outcome()> &body)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    pid_t pid = ::fork();
    if (pid < 0)
        return {};
    if (pid == 0) {
        ::close(pipeEnds[0]);
        Outcome outcome;
        try {
            outcome = body();
        } catch (...) {
            outcome = {};
        }
        [[maybe_unused]] ssize_t written = ::write(pipeEnds[1], &outcome, sizeof outcome);
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    Outcome outcome;
    if (::read(pipeEnds[0], &outcome, sizeof outcome) != sizeof outcome)
        outcome = {};
    ::close(pipeEnds[0]);
    ::waitpid(pid, nullptr, 0);
    return outcome;
}

inline void Record(benchmark::State &state, const Outcome &outcome)
{
    if (outcome.seconds < 0) {
        state.SkipWithError("the run failed (is libxml2-utils installed? is tarnwick built?)");
        return;
    }
    state.SetIterationTime(outcome.seconds);
    state.counters["peak_MiB"] = outcome.peakMiB;
}

// Runs the program each repetition, timing the whole process.
inline void RunEach(benchmark::State &state, const std::vector<std::string> &argv)
{
    for (auto _ : state)
        Record(state, RunProgram(argv));
}

#ifdef TARNWICK_BUILD_DIR
// The program as built beside the benchmark, or TARNWICK_PROGRAM.
inline std::string TarnwickProgram()
{
    if (const char *env = std::getenv("TARNWICK_PROGRAM"))
        return env;
    return (std::filesystem::path(TARNWICK_BUILD_DIR) / "app" / "tarnwick").string();
}
#endif

// One size of one kind of generated document.
struct Document {
    std::string kind;
    int megabytes;
    std::string Path() const { return DataFile(kind, megabytes); }
};

// `function` on `document` as benchmark "name/kind-Nmb": one run a
// repetition, timed by the run itself, in milliseconds.
inline void RegisterOnDocument(const std::string &name, void (*function)(benchmark::State &, Document),
                               const Document &document, int repetitions)
{
    benchmark::RegisterBenchmark((name + "/" + document.kind + "-" + std::to_string(document.megabytes) + "mb").c_str(),
                                 function, document)
        ->Iterations(1)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

// Google Benchmark's start, with the repetitions of different benchmarks
// taking turns, so that a change in the machine's load falls on both sides
// of a ratio.
inline void InitializeInterleaved(int argc, char **argv)
{
    std::vector<char *> args(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
}

} // namespace tarnwick::bench
