// TLineScanPoints: the tokenizer's checkpoints inside one long line (where
// its scan stood, and in which state), so painting a stretch of the line or
// learning the state at its end goes on from the nearest checkpoint instead
// of the line start, and which of them are still right after edits.
#pragma once

#include "editor/base/run_state.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarnwick {

// Where a scan stood between two steps, and all it needs to go on from there
// as if it had come from the line start: the carried state and the scan's
// own flags (whose meaning belongs to the tokenizer).
struct TScanPoint {
    size_t Byte = 0;
    RunState State;
    uint32_t Flags = 0;

    friend bool operator==(const TScanPoint &, const TScanPoint &) = default;
};

// The points hold for one state at the line start under one tokenizer setup
// (an epoch of the state tracker); Reset starts afresh for another.
//
// Trust after edits, in the way the per-line cache is trusted (see
// tokenizer_state_tracker.h). The state at a point depends on the bytes
// before it and on at most kReach bytes after it (what the steps before it
// looked ahead), so an edit at byte s keeps the points with Byte + kReach <= s
// right. Points after the edit move with their bytes and become suspect:
// those at or after ResyncFrom() were made before every edit since, from text
// that is still there, so a fresh scan that reaches one in an equal state may
// take every point after it (and the state at the line end) as right again.
class TLineScanPoints {
public:
    static constexpr size_t kReach = 64;

    bool Holds(const RunState &lineStart, uint64_t epoch) const
    {
        return valid_ && epoch_ == epoch && start_ == lineStart;
    }
    void Reset(const RunState &lineStart, uint64_t epoch);
    // Nothing is known any more.
    void Invalidate() { valid_ = false; }

    const std::vector<TScanPoint> &Points() const { return points_; }
    // Points [0, Trusted()) are right.
    size_t Trusted() const { return trusted_; }
    // A scan from the last trusted point has been everywhere before this
    // byte, so no point it would make there is missing.
    size_t ScannedTo() const { return scannedTo_; }
    size_t ResyncFrom() const { return resyncFrom_; }
    // The state at the end of the line, while it is known to be right.
    bool EndKnown(RunState &end) const;

    // Bytes [start, start + oldLength) of the line became newLength bytes.
    void Edited(size_t start, size_t oldLength, size_t newLength);

    // ---- a scan from the last trusted point (or the line start) ----
    // Called at each step of the scan in order, with where it stands and
    // the full state there; `placeable` when a point may be made there.
    // Returns false when the scan may stop: it met a suspect point in an
    // equal state, after which everything is right again.
    bool Step(const TScanPoint &here, bool placeable);
    // The scan reached `byte` (it stops there or goes on later).
    void Reached(size_t byte);
    // The scan reached the end of the line, in `end`.
    void Finished(size_t lineLength, const RunState &end);

    // The first byte at which Step may do more than note the position.
    size_t NextStep() const;

    // The last trusted point at or before `byte`, or null for the line start.
    const TScanPoint *TrustedAtOrBefore(size_t byte) const;

private:
    // Closes the hole Step leaves between kept and passed points.
    void Compact();

    bool valid_ = false;
    uint64_t epoch_ = 0;
    RunState start_;
    // Sorted by Byte. During a scan, points_[trusted_, next_) were passed
    // and are dropped by Compact.
    std::vector<TScanPoint> points_;
    size_t trusted_ = 0;
    size_t next_ = 0;
    size_t scannedTo_ = 0;
    // Where the scan before the edits had got to, in today's bytes; a
    // resync makes that scan's coverage good again.
    size_t oldScannedTo_ = 0;
    size_t resyncFrom_ = 0;
    RunState end_;
    bool endKnown_ = false;
    // The end was known before the edits: a resync makes it right again.
    bool endSuspect_ = false;
};

} // namespace tarnwick
