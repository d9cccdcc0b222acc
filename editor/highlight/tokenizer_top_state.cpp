// TLineTokenizer: the state at the start of a line, from the cached states of
// the lines above it.
#include "editor/document/line_store.h"
#include "editor/highlight/tokenizer.h"

#include <algorithm>

namespace tarnwick {

namespace {

constexpr int kCacheStride = 20;

} // namespace

// The nearest line in (floor, from] with a trusted cached state; -1 if none.
int TLineTokenizer::FindCachedState(REdoDodiStrings &lines, const TStateCacheTracker &tracker, int from, int floor,
                                    RunState &state) const
{
    for (int b = std::min(from, tracker.DirtyFrom() - 1); b > floor; --b) {
        const TLineProp *prop = lines.LinePropOf(b);
        if (prop && prop->StateCacheValid) {
            state = prop->StateCache;
            return b;
        }
    }
    return -1;
}

// Notes `state` as the state at the start of `line` during a forward scan:
// rewrites a suspect cached state, stores one every 20 lines, and returns true
// when a suspect state turned out right, which makes every cached state
// below it right again.
bool TLineTokenizer::RecordState(REdoDodiStrings &lines, TStateCacheTracker &tracker, int line, const RunState &state)
{
    TLineProp *prop = lines.LinePropOf(line);
    const bool cached = prop && prop->StateCacheValid;
    if (cached && !tracker.Trusted(line)) {
        if (tracker.CanResyncAt(line) && prop->StateCache == state) {
            tracker.Resynced();
            return true;
        }
        prop->SetStateCache(state);
        tracker.Rewrote(line);
        return false;
    }
    if (!cached && line % kCacheStride == 0 && !lines[line].empty()) {
        if (TLineProp *fresh = lines.EnsureLineProp(line)) {
            fresh->SetStateCache(state);
            tracker.Rewrote(line);
        }
    }
    return false;
}

RunState TLineTokenizer::ComputeTopState(REdoDodiStrings &lines, TStateCacheTracker &tracker, int line)
{
    RunState state;
    lastScanLength_ = 0;
    const int count = lines.Count();
    if (!Styled() || count == 0 || line < 0)
        return state;

    const int last = std::min(line, count) - 1;
    // A trusted state of the line itself needs no scan at all.
    if (line < count) {
        const TLineProp *own = lines.LinePropOf(line);
        if (own && own->StateCacheValid && tracker.Trusted(line))
            return own->StateCache;
    }
    for (int l = std::max(0, FindCachedState(lines, tracker, last, -1, state)); l <= last; ++l) {
        if (RecordState(lines, tracker, l, state)) {
            // Everything below is trusted again: continue from the nearest
            // cached state instead of scanning the lines in between.
            RunState cachedState;
            const int nearest = FindCachedState(lines, tracker, last, l, cachedState);
            if (nearest > l) {
                state = cachedState;
                l = nearest;
            }
        }
        if (lines[l].empty())
            continue;
        state = StateAfterLine(lines, l, state);
        ++lastScanLength_;
    }

    if (line < count) {
        TLineProp *prop = lines.LinePropOf(line);
        const bool agrees = prop && prop->StateCacheValid && !tracker.Trusted(line) && tracker.CanResyncAt(line) &&
                            prop->StateCache == state;
        if (agrees) {
            tracker.Resynced();
        } else if (TLineProp *target = lines.EnsureLineProp(line)) {
            target->SetStateCache(state);
            tracker.Rewrote(line);
        }
    }
    tracker.CorrectUpTo(std::min(line, count - 1));
    return state;
}

RunState TLineTokenizer::TopLineState(REdoDodiStrings &lines, TStateCacheTracker &tracker, int topLine, int &storedLine,
                                      RunState &storedState)
{
    if (storedLine >= 0 && storedLine == topLine && tracker.Trusted(topLine)) {
        lastScanLength_ = 0;
        return storedState;
    }
    storedState = ComputeTopState(lines, tracker, topLine);
    storedLine = topLine;
    return storedState;
}

} // namespace tarnwick
