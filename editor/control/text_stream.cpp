#include "editor/control/text_stream.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace tarnwick {

namespace {

// How often a waiting reader looks whether its check was cancelled.
constexpr std::chrono::milliseconds kCancelPoll{10};

} // namespace

bool TTextStream::HasRoom()
{
    std::lock_guard lock(lock_);
    return queued_ < limit_;
}

void TTextStream::Write(std::string piece)
{
    if (piece.empty())
        return;
    {
        std::lock_guard lock(lock_);
        queued_ += piece.size();
        pieces_.push_back(std::move(piece));
    }
    written_.notify_one();
}

void TTextStream::Close()
{
    {
        std::lock_guard lock(lock_);
        closed_ = true;
    }
    written_.notify_one();
}

size_t TTextStream::Read(char *buffer, size_t length, const std::atomic<bool> &cancel)
{
    std::unique_lock lock(lock_);
    while (pieces_.empty() && !closed_) {
        if (cancel.load(std::memory_order_relaxed))
            return 0;
        written_.wait_for(lock, kCancelPoll);
    }
    size_t done = 0;
    while (done < length && !pieces_.empty()) {
        const std::string &front = pieces_.front();
        const size_t n = std::min(length - done, front.size() - offset_);
        std::memcpy(buffer + done, front.data() + offset_, n);
        done += n;
        offset_ += n;
        if (offset_ == front.size()) {
            queued_ -= front.size();
            pieces_.pop_front();
            offset_ = 0;
        }
    }
    return cancel.load(std::memory_order_relaxed) ? 0 : done;
}

std::string TTextStream::ReadAll(const std::atomic<bool> &cancel)
{
    std::string text;
    char buffer[64 * 1024];
    while (const size_t n = Read(buffer, sizeof buffer, cancel))
        text.append(buffer, n);
    return text;
}

} // namespace tarnwick
