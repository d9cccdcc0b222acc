// TLineLengths: the line store's length of every line, which also knows the
// longest one, so an edit need not walk millions of lines to learn it.
#pragma once

#include "editor/base/int_list.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace tarnwick {

// Index rules as in TIntList: out-of-range writes and deletions are ignored.
class TLineLengths {
public:
    const TIntList &List() const { return list_; }
    int Count() const { return list_.Count(); }
    bool Empty() const { return list_.Empty(); }
    int32_t Get(int i) const { return list_.Get(i); }

    void Set(int i, int32_t length)
    {
        if (i < 0 || i >= Count())
            return;
        if (length < list_.Get(i))
            Dropping(list_.Get(i));
        else
            Raising(length);
        list_.Set(i, length);
    }
    void Add(int32_t length)
    {
        Raising(length);
        list_.Add(length);
    }
    void Insert(int i, int32_t length)
    {
        Raising(length);
        list_.Insert(i, length);
    }
    void InsertRange(int i, const std::vector<int32_t> &lengths)
    {
        for (int32_t n : lengths)
            Raising(n);
        list_.InsertRange(i, lengths);
    }
    void Delete(int i) { DeleteRange(i, 1); }
    void DeleteRange(int i, int count)
    {
        const int end = i < 0 ? i : std::min(Count(), i + std::max(count, 0));
        for (int k = i; k < end; ++k)
            Dropping(list_.Get(k));
        list_.DeleteRange(i, count);
    }
    void Clear()
    {
        list_.Clear();
        longest_ = 0;
        stale_ = false;
    }
    void Reserve(int n) { list_.Reserve(n); }

    // The largest length, 0 for no lines. Walks the list only after the
    // longest line may have got shorter or gone.
    int32_t Longest() const
    {
        if (stale_) {
            longest_ = 0;
            for (std::span<const int32_t> run : list_.Runs())
                longest_ = std::max(longest_, run.empty() ? 0 : *std::ranges::max_element(run));
            stale_ = false;
        }
        return longest_;
    }

private:
    void Raising(int32_t length)
    {
        if (length > longest_)
            longest_ = length;
    }
    // Only a line as long as the longest can take the maximum down with it.
    void Dropping(int32_t length)
    {
        if (length >= longest_)
            stale_ = true;
    }

    TIntList list_;
    // longest_ >= every length; it equals the largest length (0 for none)
    // unless stale_, which is set when an entry that long was lowered or
    // removed and cleared by the next walk in Longest().
    mutable int32_t longest_ = 0;
    mutable bool stale_ = false;
};

} // namespace tarnwick
