#include "editor/document/scan_points.h"

#include <algorithm>
#include <cstddef>

namespace tarnwick {

namespace {

// Bytes between the points a scan makes.
constexpr size_t kSpacing = 4096;

// Where `byte` of the text before an edit of [start, start + oldLength) into
// newLength bytes lies after it; a byte inside the old bytes goes to the end
// of the new ones.
size_t Moved(size_t byte, size_t start, size_t oldLength, size_t newLength)
{
    if (byte <= start)
        return byte;
    if (byte < start + oldLength)
        return start + newLength;
    return byte - oldLength + newLength;
}

} // namespace

void TLineScanPoints::Reset(const RunState &lineStart, uint64_t epoch)
{
    valid_ = true;
    epoch_ = epoch;
    start_ = lineStart;
    points_.clear();
    trusted_ = next_ = 0;
    scannedTo_ = oldScannedTo_ = resyncFrom_ = 0;
    endKnown_ = endSuspect_ = false;
}

bool TLineScanPoints::EndKnown(RunState &end) const
{
    if (!valid_ || !endKnown_)
        return false;
    end = end_;
    return true;
}

void TLineScanPoints::Edited(size_t start, size_t oldLength, size_t newLength)
{
    if (!valid_)
        return;
    Compact();
    const size_t keptBelow = start >= kReach ? start - kReach : 0;
    auto first = std::upper_bound(points_.begin(), points_.end(), keptBelow,
                                  [](size_t b, const TScanPoint &p) { return b < p.Byte; });
    // A point at the start of the old bytes is at the start of the new ones
    // too; one inside them is gone.
    auto last = std::lower_bound(first, points_.end(), start + oldLength,
                                 [](const TScanPoint &p, size_t b) { return p.Byte < b; });
    for (auto it = last; it != points_.end(); ++it)
        it->Byte = it->Byte - oldLength + newLength;
    const size_t kept = static_cast<size_t>(first - points_.begin());
    points_.erase(first, last);
    next_ = trusted_ = std::min(trusted_, kept);

    oldScannedTo_ = Moved(std::max(scannedTo_, oldScannedTo_), start, oldLength, newLength);
    scannedTo_ = std::min(scannedTo_, trusted_ > 0 ? points_[trusted_ - 1].Byte : 0);
    resyncFrom_ = std::max(Moved(resyncFrom_, start, oldLength, newLength), start + newLength);
    if (endKnown_) {
        endKnown_ = false;
        endSuspect_ = true;
    }
}

bool TLineScanPoints::Step(const TScanPoint &here, bool placeable)
{
    while (next_ < points_.size() && points_[next_].Byte < here.Byte)
        ++next_;
    if (next_ < points_.size() && points_[next_].Byte == here.Byte) {
        if (here.Byte >= resyncFrom_ && points_[next_] == here) {
            // The text from here on is as it was when the points after this
            // one (and the end state) were made, and so is the state.
            Compact();
            trusted_ = next_ = points_.size();
            scannedTo_ = std::max(here.Byte, oldScannedTo_);
            if (endSuspect_)
                endKnown_ = true;
            endSuspect_ = false;
            resyncFrom_ = 0;
            return false;
        }
        points_[trusted_++] = here;
        ++next_;
        scannedTo_ = here.Byte;
        return true;
    }
    const size_t previous = trusted_ > 0 ? points_[trusted_ - 1].Byte : 0;
    const bool roomAfter = next_ >= points_.size() || points_[next_].Byte - here.Byte >= kSpacing / 4;
    if (placeable && here.Byte - previous >= kSpacing && roomAfter) {
        if (trusted_ < next_) {
            points_[trusted_] = here;
        } else {
            points_.insert(points_.begin() + static_cast<std::ptrdiff_t>(trusted_), here);
            ++next_;
        }
        ++trusted_;
    }
    scannedTo_ = here.Byte;
    return true;
}

size_t TLineScanPoints::NextStep() const
{
    const size_t placeAt = (trusted_ > 0 ? points_[trusted_ - 1].Byte : 0) + kSpacing;
    return next_ < points_.size() ? std::min(placeAt, points_[next_].Byte) : placeAt;
}

void TLineScanPoints::Reached(size_t byte)
{
    Compact();
    scannedTo_ = std::max(scannedTo_, byte);
}

void TLineScanPoints::Finished(size_t lineLength, const RunState &end)
{
    next_ = points_.size();
    Compact();
    scannedTo_ = lineLength;
    oldScannedTo_ = resyncFrom_ = 0;
    end_ = end;
    endKnown_ = true;
    endSuspect_ = false;
}

void TLineScanPoints::Compact()
{
    if (next_ > trusted_)
        points_.erase(points_.begin() + static_cast<std::ptrdiff_t>(trusted_),
                      points_.begin() + static_cast<std::ptrdiff_t>(next_));
    next_ = trusted_;
}

const TScanPoint *TLineScanPoints::TrustedAtOrBefore(size_t byte) const
{
    if (!valid_)
        return nullptr;
    auto end = points_.begin() + static_cast<std::ptrdiff_t>(trusted_);
    auto it = std::upper_bound(points_.begin(), end, byte, [](size_t b, const TScanPoint &p) { return b < p.Byte; });
    return it == points_.begin() ? nullptr : &*std::prev(it);
}

} // namespace tarnwick
