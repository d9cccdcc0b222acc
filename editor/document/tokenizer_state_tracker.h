// TStateCacheTracker: which of the per-line tokenizer states cached in a line
// store can still be trusted after edits, without walking the lines.
#pragma once

#include <climits>
#include <cstdint>

namespace tarnwick {

// The entry of line L (the state at the start of L) depends on lines 0..L-1
// only. The tracker keeps a dirty range in the store's current numbering:
//  - entries of lines < DirtyFrom() are correct (trusted);
//  - lines DirtyFrom()..DirtyTo() hold changes or entries made since;
//  - entries of lines > DirtyTo() were made before the changes and agree with
//    each other, so once a fresh scan finds one of them equal to the state it
//    computed, every entry from there on is correct again (resync).
// Invariant while the range is open: DirtyFrom() <= DirtyTo() + 1.
class TStateCacheTracker {
public:
    bool Clean() const { return dirtyFrom_ == INT_MAX; }
    bool Trusted(int line) const { return line < dirtyFrom_; }
    int DirtyFrom() const { return dirtyFrom_; }
    int DirtyTo() const { return dirtyTo_; }

    // Edits of the store, in its numbering at the time of the edit.
    void LineReplaced(int line);
    void LineInserted(int line);
    void LineDeleted(int line);
    // Every entry is suspect and none is a resync point (the styler or a
    // setting the states depend on changed).
    void InvalidateAll();
    // Counts InvalidateAll calls: states kept elsewhere (the checkpoints
    // inside long lines) hold only for the epoch they were made in.
    uint64_t Epoch() const { return epoch_; }
    // The store was emptied: no entry is left to distrust.
    void Reset();

    // Bookkeeping of a scan that recomputes states downwards.
    // True when an existing entry at `line` may serve as a resync point.
    bool CanResyncAt(int line) const { return !Clean() && line > dirtyTo_ && dirtyTo_ != INT_MAX; }
    void Resynced() { Reset(); }
    // A fresh entry was written at `line` in the suspect zone.
    void Rewrote(int line);
    // The scan computed correct states for every line up to `line`.
    void CorrectUpTo(int line);

private:
    int dirtyFrom_ = INT_MAX;
    int dirtyTo_ = -1;
    uint64_t epoch_ = 0;
};

} // namespace tarnwick
