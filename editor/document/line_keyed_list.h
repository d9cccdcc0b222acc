// TLineKeyedList: items sorted by the line they belong to, kept on their
// lines as lines are inserted and removed above them. Inserting or removing
// lines costs the number of items between this change and the previous one,
// as the line store's own gap does, not the number of items after it.
#pragma once

#include "editor/base/gap_vector.h"

#include <algorithm>
#include <cstdint>

namespace tarnwick {

// T has an `int32_t Line` member; the list owns its meaning. Items before
// the split hold their line; items from the split on hold their line minus
// the line count, so that a change of the line count moves all of them at
// once.
template <typename T>
class TLineKeyedList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    int LineCount() const { return lineCount_; }

    void Reset(int lineCount)
    {
        items_.clear();
        split_ = 0;
        lineCount_ = lineCount;
    }

    int LineOf(int index) const
    {
        const int32_t stored = items_[index].Line;
        return index < split_ ? stored : stored + lineCount_;
    }
    // The item with its line as it is now.
    T Get(int index) const
    {
        T item = items_[index];
        item.Line = LineOf(index);
        return item;
    }
    // Changes anything but the line.
    template <typename F>
    void Modify(int index, F &&f)
    {
        T &item = items_[index];
        const int32_t stored = item.Line;
        f(item);
        item.Line = stored;
    }

    // The first index whose line is at least `line`.
    int LowerBound(int line) const
    {
        int lo = 0, hi = Count();
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (LineOf(mid) < line)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    }
    // The index of the item on `line`, or -1.
    int Find(int line) const
    {
        const int i = LowerBound(line);
        return i < Count() && LineOf(i) == line ? i : -1;
    }

    // Inserts at `index`, which must keep the lines in order.
    void Insert(int index, T item)
    {
        if (index <= split_) {
            ++split_;
        } else {
            item.Line -= lineCount_;
        }
        items_.insert(static_cast<size_t>(index), std::move(item));
    }
    void Erase(int index, int count)
    {
        if (count <= 0)
            return;
        split_ -= std::clamp(split_ - index, 0, count);
        items_.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    }

    // `count` lines were inserted before line `at`: items from there on move down.
    void LinesInserted(int at, int count)
    {
        MoveSplit(LowerBound(at));
        lineCount_ += count;
    }
    // Lines [at, at + count) were removed; their items go.
    void LinesRemoved(int at, int count)
    {
        const int first = LowerBound(at);
        const int last = LowerBound(at + count);
        MoveSplit(last);
        Erase(first, last - first);
        lineCount_ -= count;
    }

private:
    void MoveSplit(int index)
    {
        for (; split_ < index; ++split_)
            items_[static_cast<size_t>(split_)].Line += lineCount_;
        for (; split_ > index; --split_)
            items_[static_cast<size_t>(split_ - 1)].Line -= lineCount_;
    }

    GapVector<T> items_;
    int split_ = 0;
    int lineCount_ = 0;
};

} // namespace tarnwick
