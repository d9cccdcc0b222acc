// TTextStream: a text handed from the interface thread to a check on another
// thread, a piece at a time. The writer adds pieces while the stream holds
// less than its limit and closes it after the last one; the reader takes
// bytes as they come, waiting for them. So a check of a long text never
// holds more than the limit of it beside the editor's own lines.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>

namespace tarnwick {

class TTextStream {
public:
    explicit TTextStream(size_t limit) : limit_(limit) {}

    // ---- the writer ----
    // Less than the limit is waiting to be read.
    bool HasRoom();
    void Write(std::string piece);
    // No more pieces come.
    void Close();

    // ---- the reader ----
    // Up to `length` bytes into `buffer`, waiting for a piece when none is
    // there; 0 once the stream is closed and read to its end, or once
    // `cancel` turned true.
    size_t Read(char *buffer, size_t length, const std::atomic<bool> &cancel);
    // The rest of the text, or what came of it before `cancel` turned true.
    std::string ReadAll(const std::atomic<bool> &cancel);

private:
    const size_t limit_;
    std::mutex lock_;
    std::condition_variable written_;
    std::deque<std::string> pieces_;
    // Bytes of the first piece already read.
    size_t offset_ = 0;
    size_t queued_ = 0;
    bool closed_ = false;
};

} // namespace tarnwick
