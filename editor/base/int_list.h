// TIntList: a list of 32-bit signed integers (line lengths, bookmarks,
// underline ranges, wrap bookkeeping).
#pragma once

#include "editor/base/gap_vector.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tarnwick {

// Out-of-range reads give 0 and out-of-range writes and deletions are
// ignored, so a stale index can never corrupt memory. The values sit in a
// gap vector: inserting or deleting near the previous change is cheap even
// in a list of millions (a line length per line).
class TIntList {
public:
    TIntList() = default;
    TIntList(int count, int32_t value) : items_(count > 0 ? count : 0, value) {}

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    int32_t Get(int i) const { return InRange(i) ? items_[i] : 0; }
    int32_t operator[](int i) const { return Get(i); }
    void Set(int i, int32_t v)
    {
        if (InRange(i))
            items_[i] = v;
    }
    // Returns the new index.
    int Add(int32_t v)
    {
        items_.push_back(v);
        return Count() - 1;
    }
    // Indexes past the end append.
    void Insert(int i, int32_t v) { items_.insert(Clamped(i), v); }
    void Delete(int i)
    {
        if (InRange(i))
            items_.erase(i);
    }
    // Inserts the values before index i (past the end: appends).
    void InsertRange(int i, const std::vector<int32_t> &values)
    {
        items_.insert(Clamped(i), values.begin(), values.end());
    }
    // Deletes up to `count` entries from index i; out-of-range parts are ignored.
    void DeleteRange(int i, int count)
    {
        if (!InRange(i) || count <= 0)
            return;
        items_.erase(i, count > Count() - i ? Count() - i : count);
    }
    void Clear() { items_.clear(); }
    void Reserve(int n) { items_.reserve(n > 0 ? n : 0); }

    // Valid until the list changes.
    const std::vector<int32_t> &Items() const { return items_.Contiguous(); }
    GapVector<int32_t>::const_iterator begin() const { return items_.begin(); }
    GapVector<int32_t>::const_iterator end() const { return items_.end(); }
    // The values in order, as the gap vector's two runs.
    std::array<std::span<const int32_t>, 2> Runs() const { return items_.Runs(); }
    bool operator==(const TIntList &) const = default;

private:
    bool InRange(int i) const { return i >= 0 && i < Count(); }
    size_t Clamped(int i) const { return i < 0 ? 0 : (i > Count() ? Count() : i); }
    // Mutable only so that Items() can close the gap; the values never
    // change behind a const reference.
    mutable GapVector<int32_t> items_;
};

} // namespace tarnwick
