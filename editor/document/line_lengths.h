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
        const int32_t old = list_.Get(i);
        if (length < old)
            Dropping(old);
        else if (length > old)
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
        longestCount_ = 0;
        stale_ = false;
    }
    void Reserve(int n) { list_.Reserve(n); }

    // The largest length, 0 for no lines. Walks the list only after every
    // line as long as the longest got shorter or went.
    int32_t Longest() const
    {
        if (stale_) {
            longest_ = 0;
            longestCount_ = 0;
            for (std::span<const int32_t> run : list_.Runs())
                for (int32_t n : run)
                    Count(n);
            stale_ = false;
        }
        return longest_;
    }

private:
    void Count(int32_t length) const
    {
        if (length > longest_) {
            longest_ = length;
            longestCount_ = 1;
        } else if (length == longest_) {
            ++longestCount_;
        }
    }
    void Raising(int32_t length)
    {
        if (!stale_)
            Count(length);
    }
    // Only the last line as long as the longest takes the maximum down with it.
    void Dropping(int32_t length)
    {
        if (!stale_ && length == longest_ && --longestCount_ == 0)
            stale_ = true;
    }

    TIntList list_;
    // Unless stale_, longest_ is the largest length (0 for none) and
    // longestCount_ the entries that long; stale_ is set when the last entry
    // that long was lowered or removed, and cleared by the next walk in
    // Longest(). While stale_, longest_ >= every length.
    mutable int32_t longest_ = 0;
    mutable int32_t longestCount_ = 0;
    mutable bool stale_ = false;
};

} // namespace tarnwick
