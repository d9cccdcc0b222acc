#include "app/xml_fold_regions.h"

#include "editor/document/line_store.h"

#include <algorithm>
#include <cstring>

namespace tarnwick {

void TXmlFoldRegions::FindAll(const REdoDodiStrings &lines, TFoldRegions &regions)
{
    const int n = lines.Count();
    if (regions.LineCount() != n)
        regions.Reset(n);
    checkpoints_.Reset(n);
    scanner_.Begin();
    checkpoints_.Insert(0, {0, scanner_.Save()});
    size_t read = 0;
    for (int line = 0; line < n; ++line) {
        const std::string &text = lines[line];
        scanner_.ScanLine(text);
        read += text.size() + 1;
        if (read >= kSpacing && line + 1 < n) {
            checkpoints_.Insert(checkpoints_.Count(), {line + 1, scanner_.Save()});
            read = 0;
        }
    }
    scanner_.Finish();
    linesRead_ = n;
    regions.SetMarks(Marks(0, n));
    valid_ = true;
    dirtyFrom_ = dirtyTo_ = -1;
}

void TXmlFoldRegions::Update(const REdoDodiStrings &lines, TFoldRegions &regions, bool force)
{
    const int n = lines.Count();
    if (!valid_ || regions.LineCount() != n || n == 0) {
        // A large new text (an open) is read a moment after it is shown,
        // unless someone needs the regions now.
        size_t size = 0;
        for (int line = 0; !force && line < n; ++line)
            if ((size += lines[line].size()) > kUnforcedLimit)
                return;
        FindAll(lines, regions);
        return;
    }
    if (dirtyFrom_ < 0)
        return;
    const int from = std::clamp(dirtyFrom_, 0, n - 1);
    const int to = std::clamp(dirtyTo_, from, n - 1);
    linesRead_ = 0;
    if (!force) {
        size_t changed = 0;
        for (int line = from; line <= to; ++line)
            if ((changed += lines[line].size()) > kUnforcedLimit)
                return;
    }

    // The state kept at or above the first changed line still holds; those
    // kept inside the changed lines do not.
    const int kept = std::max(0, checkpoints_.LowerBound(from + 1) - 1);
    const int first = checkpoints_.LineOf(kept);
    scanner_.Resume(first, checkpoints_.Get(kept).State);
    int next = kept + 1;
    checkpoints_.Erase(next, checkpoints_.LowerBound(to + 1) - next);

    int stop = n;
    size_t read = 0;
    for (int line = first; line < n; ++line) {
        const std::string &text = lines[line];
        scanner_.ScanLine(text);
        ++linesRead_;
        read += text.size() + 1;
        const int boundary = line + 1;
        if (boundary >= n)
            break;
        const bool atKept = next < checkpoints_.Count() && checkpoints_.LineOf(next) == boundary;
        if (atKept && boundary > to && scanner_.CanStopHere() && scanner_.Save() == checkpoints_.Get(next).State) {
            stop = boundary;
            break;
        }
        if (atKept) {
            const xml::FoldScanState state = scanner_.Save();
            checkpoints_.Modify(next++, [&](TCheckpoint &c) { c.State = state; });
            read = 0;
        } else if (read >= kSpacing) {
            checkpoints_.Insert(next++, {boundary, scanner_.Save()});
            read = 0;
        }
    }
    if (stop < n)
        scanner_.Stop();
    else
        scanner_.Finish();
    regions.ReplaceMarks(first, stop, Marks(first, stop));
    dirtyFrom_ = dirtyTo_ = -1;
}

// Regions close in the order of their ends, so ends come sorted; starts come
// as their regions close and are put in order through a flag per line.
std::vector<TFoldRegions::TLineMarks> TXmlFoldRegions::Marks(int from, int to)
{
    xml::FoldScanFinds &finds = scanner_.Finds();
    std::vector<int> ends;
    ends.reserve(finds.Regions.size() + finds.EndsOnly.size());
    std::vector<char> starts(static_cast<size_t>(std::max(0, to - from)) + 1, 0);
    auto markStart = [&](int line) {
        if (line >= from && line < to)
            starts[line - from] = 1;
    };
    for (const auto &[start, end] : finds.Regions) {
        markStart(start);
        ends.push_back(end);
    }
    for (int start : finds.StartsOnly)
        markStart(start);
    const auto regionEnds = static_cast<std::ptrdiff_t>(ends.size());
    ends.insert(ends.end(), finds.EndsOnly.begin(), finds.EndsOnly.end());
    std::inplace_merge(ends.begin(), ends.begin() + regionEnds, ends.end());
    finds.Clear();

    // The flag past the last line stops the search for the next start.
    starts.back() = 1;
    auto nextStart = [&](int line) {
        const void *found = std::memchr(starts.data() + (line - from), 1, starts.size() - (line - from));
        return from + static_cast<int>(static_cast<const char *>(found) - starts.data());
    };
    std::vector<TFoldRegions::TLineMarks> marks;
    size_t e = 0;
    for (int s = nextStart(from);;) {
        const int line = std::min(e < ends.size() ? ends[e] : to, s);
        if (line >= to)
            break;
        TFoldRegions::TLineMarks m{line, s == line, 0};
        for (; e < ends.size() && ends[e] == line; ++e)
            ++m.Ends;
        marks.push_back(m);
        if (s == line)
            s = nextStart(line + 1);
    }
    return marks;
}

void TXmlFoldRegions::Touch(int from, int to)
{
    if (dirtyFrom_ < 0) {
        dirtyFrom_ = from;
        dirtyTo_ = to;
    } else {
        dirtyFrom_ = std::min(dirtyFrom_, from);
        dirtyTo_ = std::max(dirtyTo_, to);
    }
}

void TXmlFoldRegions::LinesChanged(REdoDodiStrings &lines, const TLinesChange &change)
{
    if (!valid_)
        return;
    const int at = change.Line;
    const int count = change.Count;
    switch (change.Kind) {
    case TLinesChange::lcEdit:
        Touch(at, at);
        break;
    case TLinesChange::lcEnds:
        break;
    case TLinesChange::lcInsert:
        checkpoints_.LinesInserted(at, count);
        if (dirtyFrom_ >= at)
            dirtyFrom_ += count;
        if (dirtyTo_ >= at)
            dirtyTo_ += count;
        Touch(at, at + count - 1);
        break;
    case TLinesChange::lcRemove: {
        checkpoints_.LinesRemoved(at, count);
        // The state kept at the line that moved up to `at` was that of the
        // line below the removed ones.
        const int moved = checkpoints_.Find(at);
        if (moved >= 0)
            checkpoints_.Erase(moved, 1);
        auto shift = [&](int &line) { line = line >= at + count ? line - count : std::min(line, at); };
        if (dirtyFrom_ >= 0) {
            shift(dirtyFrom_);
            shift(dirtyTo_);
        }
        const int last = std::max(0, lines.Count() - 1);
        Touch(std::min(at, last), std::min(at, last));
        break;
    }
    default:
        valid_ = false;
        dirtyFrom_ = dirtyTo_ = -1;
        return;
    }
    // Every text begins in the same state.
    if (checkpoints_.Empty() || checkpoints_.LineOf(0) != 0)
        checkpoints_.Insert(0, {0, xml::FoldScanState{}});
}

} // namespace tarnwick
