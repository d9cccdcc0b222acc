// TLineProp: the per-line record of the line store (folding, marks, modified
// flag, cached tokenizer state, soft-wrap continuation, underlined ranges).
#pragma once

#include "editor/base/int_list.h"
#include "editor/base/run_state.h"

#include <memory>

namespace tarnwick {

// Red wavy underlines of one line: Starts[k] and Lengths[k] form one range,
// so both lists always have the same count.
struct TUnderlineRanges {
    TIntList Starts;
    TIntList Lengths;
};

// Most lines never need underline ranges, so they sit behind a pointer that
// stays null until first written; the record keeps to 32 bytes.
// The caller's object of the line lives in the store's slot beside this record,
// never in it, so GetObject/PutObject see only the caller's object.
struct TLineProp {
    RunState StateCache;
    int32_t RegionEndCount = 0; // kept >= 0 by SetRegionEndCount
    bool Expanded : 1 = true;
    bool InRegion : 1 = false;
    bool StartsRegion : 1 = false;
    bool Breakpoint : 1 = false;
    bool DotMark : 1 = false;
    bool Modified : 1 = false;
    bool FlagMark : 1 = false;
    bool StateCacheValid : 1 = false;
    std::unique_ptr<TUnderlineRanges> UnderlineRanges;

    void SetRegionEndCount(int32_t n)
    {
        if (n >= 0)
            RegionEndCount = n;
    }
    bool HasUnderlines() const { return UnderlineRanges && !UnderlineRanges->Starts.Empty(); }
    TUnderlineRanges &EnsureUnderlineRanges()
    {
        if (!UnderlineRanges)
            UnderlineRanges = std::make_unique<TUnderlineRanges>();
        return *UnderlineRanges;
    }
    void ClearUnderlines() { UnderlineRanges.reset(); }

    void SetStateCache(const RunState &s)
    {
        StateCache = s;
        StateCacheValid = true;
    }
    void InvalidateStateCache() { StateCacheValid = false; }
};

static_assert(sizeof(TLineProp) <= 32, "a line record stays within 32 bytes");

} // namespace tarnwick
