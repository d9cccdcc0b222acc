#include "editor/control/check_worker.h"

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace tarnwick {

namespace {

// The checking thread gives way to the interface thread: on a busy machine
// a key must not wait for a time slice the check is using.
void YieldToInterface()
{
#ifdef __linux__
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
#endif
}

} // namespace

TCheckWorker::TCheckWorker(TCheckFunction check) : check_(std::move(check)), thread_([this] { Run(); }) {}

TCheckWorker::~TCheckWorker()
{
    {
        std::lock_guard lock(lock_);
        quit_ = true;
        if (cancel_)
            cancel_->store(true, std::memory_order_relaxed);
    }
    changed_.notify_all();
    thread_.join();
}

void TCheckWorker::Run()
{
    YieldToInterface();
    std::unique_lock lock(lock_);
    while (true) {
        changed_.wait(lock, [this] { return quit_ || job_; });
        if (quit_)
            return;
        std::shared_ptr<TTextStream> text = std::move(job_);
        std::shared_ptr<std::atomic<bool>> cancel = cancel_;
        running_ = true;
        lock.unlock();
        TCheckMarks marks = check_(*text, *cancel);
        text.reset();
        lock.lock();
        running_ = false;
        if (!cancel->load(std::memory_order_relaxed))
            result_ = std::move(marks);
        changed_.notify_all();
    }
}

void TCheckWorker::Start(std::shared_ptr<TTextStream> text)
{
    std::unique_lock lock(lock_);
    if (cancel_)
        cancel_->store(true, std::memory_order_relaxed);
    changed_.wait(lock, [this] { return !running_ && !job_; });
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    result_.reset();
    job_ = std::move(text);
    lock.unlock();
    changed_.notify_all();
}

void TCheckWorker::Cancel()
{
    std::lock_guard lock(lock_);
    if (cancel_)
        cancel_->store(true, std::memory_order_relaxed);
}

std::optional<TCheckMarks> TCheckWorker::TakeResult()
{
    std::lock_guard lock(lock_);
    std::optional<TCheckMarks> result;
    result.swap(result_);
    return result;
}

bool TCheckWorker::Busy()
{
    std::lock_guard lock(lock_);
    return running_ || job_;
}

void TCheckWorker::Wait()
{
    std::unique_lock lock(lock_);
    changed_.wait(lock, [this] { return !running_ && !job_; });
}

} // namespace tarnwick
