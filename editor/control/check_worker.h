// TCheckWorker: the thread a background checker checks in, kept for the
// checker's life: the interface thread hands it one stream of the text at a
// time, fills it as the check reads, and later takes what it found. A thread kept between checks spares
// each check the start of a thread and of its memory.
#pragma once

#include "editor/control/text_stream.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tarnwick {

// A place a check found: line and column 0-based, in characters.
struct TCheckMark {
    int Line = 0;
    int Column = 0;
    int Length = 1;
    std::string Message;
    bool operator==(const TCheckMark &) const = default;
};
using TCheckMarks = std::vector<TCheckMark>;
// Runs in the worker on the text (lines joined by LF) as it comes through
// `text`; answers early when `cancel` turns true.
using TCheckFunction = std::function<TCheckMarks(TTextStream &text, const std::atomic<bool> &cancel)>;

class TCheckWorker {
public:
    explicit TCheckWorker(TCheckFunction check);
    // Cancels the job in hand and ends the thread.
    ~TCheckWorker();
    TCheckWorker(const TCheckWorker &) = delete;
    TCheckWorker &operator=(const TCheckWorker &) = delete;

    // Checks `text`; a job still running is cancelled and waited for first.
    void Start(std::shared_ptr<TTextStream> text);
    // The job in hand stops soon; it finds nothing then.
    void Cancel();
    // What the last job found, once it has finished; taken only once.
    std::optional<TCheckMarks> TakeResult();
    // A job was handed over and has not finished.
    bool Busy();
    // Blocks until the job in hand has finished.
    void Wait();

private:
    void Run();

    TCheckFunction check_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::shared_ptr<TTextStream> job_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    bool running_ = false;
    bool quit_ = false;
    std::optional<TCheckMarks> result_;
    // Last: started once everything it reads exists.
    std::thread thread_;
};

} // namespace tarnwick
