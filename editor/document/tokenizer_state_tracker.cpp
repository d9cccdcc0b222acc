#include "editor/document/tokenizer_state_tracker.h"

#include <algorithm>

namespace tarnwick {

void TStateCacheTracker::LineReplaced(int line)
{
    // The entry of `line` itself does not depend on its own text.
    dirtyFrom_ = std::min(dirtyFrom_, line + 1);
    if (dirtyTo_ != INT_MAX)
        dirtyTo_ = std::max(dirtyTo_, line);
}

void TStateCacheTracker::LineInserted(int line)
{
    if (!Clean() && dirtyFrom_ > line)
        ++dirtyFrom_;
    if (dirtyTo_ != INT_MAX && dirtyTo_ >= line)
        ++dirtyTo_;
    dirtyFrom_ = std::min(dirtyFrom_, line);
    if (dirtyTo_ != INT_MAX)
        dirtyTo_ = std::max(dirtyTo_, line);
}

void TStateCacheTracker::LineDeleted(int line)
{
    if (!Clean() && dirtyFrom_ > line)
        --dirtyFrom_;
    if (dirtyTo_ != INT_MAX && dirtyTo_ > line)
        --dirtyTo_;
    // The line now at `line` followed the deleted one: its entry is stale,
    // but it still agrees with the entries below it.
    dirtyFrom_ = std::min(dirtyFrom_, line);
    if (dirtyTo_ != INT_MAX)
        dirtyTo_ = std::max(dirtyTo_, line - 1);
}

void TStateCacheTracker::InvalidateAll()
{
    ++epoch_;
    dirtyFrom_ = 0;
    dirtyTo_ = INT_MAX;
}

void TStateCacheTracker::Reset()
{
    dirtyFrom_ = INT_MAX;
    dirtyTo_ = -1;
}

void TStateCacheTracker::Rewrote(int line)
{
    if (line >= dirtyFrom_ && dirtyTo_ != INT_MAX)
        dirtyTo_ = std::max(dirtyTo_, line);
}

void TStateCacheTracker::CorrectUpTo(int line)
{
    if (Clean() || line < dirtyFrom_)
        return;
    dirtyFrom_ = line + 1;
    if (dirtyTo_ != INT_MAX)
        dirtyTo_ = std::max(dirtyTo_, line);
}

} // namespace tarnwick
