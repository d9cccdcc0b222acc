#include "editor/document/fold_regions.h"

#include "editor/document/line_store.h"

#include <algorithm>

namespace tarnwick {

void TFoldRegions::Reset(int lineCount)
{
    lineCount = std::max(0, lineCount);
    marks_.Reset(lineCount);
    rows_.Reset(lineCount);
    regionCount_ = 0;
}

// The lines keep the rows they show in.
void TFoldRegions::ClearRegions()
{
    marks_.Reset(LineCount());
    rows_.SetHidden(0, LineCount(), false);
    regionCount_ = 0;
}

// ---- reading ----

TFoldRegions::TLineMarks TFoldRegions::MarksOf(int line) const
{
    const int i = marks_.Find(line);
    if (i < 0)
        return {line, false, 0};
    const TMark m = At(i);
    return {line, m.Starts, m.Ends};
}

std::vector<TFoldRegions::TLineMarks> TFoldRegions::AllMarks() const
{
    std::vector<TLineMarks> out;
    out.reserve(marks_.Count());
    for (int i = 0; i < marks_.Count(); ++i) {
        const TMark m = At(i);
        out.push_back({m.Line, m.Starts, m.Ends});
    }
    return out;
}

bool TFoldRegions::IsRegionStart(int line) const
{
    const int i = marks_.Find(line);
    return i >= 0 && At(i).Starts;
}

bool TFoldRegions::IsExpanded(int line) const
{
    const int i = marks_.Find(line);
    if (i < 0)
        return true;
    const TMark m = At(i);
    return !m.Starts || m.Expanded;
}

int TFoldRegions::EndCount(int line) const
{
    const int i = marks_.Find(line);
    return i < 0 ? 0 : At(i).Ends;
}

int TFoldRegions::DepthBefore(int line) const { return DepthAfterIndex(marks_.LowerBound(line) - 1); }

// The region opened at `start` is the one at its depth; it ends on the first
// line whose ends bring the depth below that.
int TFoldRegions::EndIndexOf(int start) const
{
    const int level = At(start).Depth;
    for (int q = start + 1; q < marks_.Count(); ++q) {
        const TMark m = At(q);
        if (m.Depth - (m.Starts ? 1 : 0) < level)
            return q;
    }
    return -1;
}

// Regions open at depth d are those opened last at each level up to d, so
// the innermost is the last start at or below d: a later one at or below d
// would have had to close before, and only a start could bring the depth back.
int TFoldRegions::InnermostOpenIndex(int before, int depth) const
{
    if (depth <= 0)
        return -1;
    for (int q = before - 1; q >= 0; --q) {
        const TMark m = At(q);
        if (m.Starts && m.Depth <= depth)
            return q;
    }
    return -1;
}

int TFoldRegions::RegionEndOf(int start) const
{
    const int i = marks_.Find(start);
    if (i < 0 || !At(i).Starts)
        return -1;
    const int e = EndIndexOf(i);
    return e < 0 ? -1 : marks_.LineOf(e);
}

int TFoldRegions::InnermostRegionAt(int line) const
{
    if (IsRegionStart(line))
        return line;
    const int q = InnermostOpenIndex(marks_.LowerBound(line), DepthBefore(line));
    return q < 0 ? -1 : marks_.LineOf(q);
}

int TFoldRegions::EnclosingRegionOf(int start) const
{
    const int i = marks_.Find(start);
    if (i < 0 || !At(i).Starts)
        return -1;
    const int q = InnermostOpenIndex(i, At(i).Depth - 1);
    return q < 0 ? -1 : marks_.LineOf(q);
}

// ---- building ----

void TFoldRegions::Recount(int from, int settledAfter)
{
    from = std::max(0, from);
    int previous = DepthAfterIndex(from - 1);
    for (int i = from; i < marks_.Count(); ++i) {
        const TMark m = At(i);
        const int depth = std::max(0, previous - m.Ends) + (m.Starts ? 1 : 0);
        if (i > settledAfter && depth == m.Depth)
            break;
        marks_.Modify(i, [depth](TMark &x) { x.Depth = depth; });
        previous = depth;
    }
}

void TFoldRegions::DropEmpty(int from, int to)
{
    for (int i = std::min(to, marks_.Count()) - 1; i >= std::max(0, from); --i) {
        const TMark m = At(i);
        if (!m.Starts && m.Ends == 0)
            marks_.Erase(i, 1);
    }
}

void TFoldRegions::RecountRegions()
{
    regionCount_ = 0;
    for (int i = 0; i < marks_.Count(); ++i)
        regionCount_ += At(i).Starts ? 1 : 0;
}

bool TFoldRegions::AddRegion(int start, int end)
{
    const int n = LineCount();
    if (start < 0 || start >= n || end < 0 || end >= n || start >= end)
        return false;
    int i = marks_.Find(start);
    if (i >= 0 && At(i).Starts)
        return false;
    if (i < 0) {
        i = marks_.LowerBound(start);
        marks_.Insert(i, TMark{start, 0, 0, true, true});
    } else {
        marks_.Modify(i, [](TMark &m) {
            m.Starts = true;
            m.Expanded = true;
        });
    }
    int j = marks_.Find(end);
    if (j < 0) {
        j = marks_.LowerBound(end);
        marks_.Insert(j, TMark{end, 0, 1, false, true});
    } else {
        marks_.Modify(j, [](TMark &m) { ++m.Ends; });
    }
    ++regionCount_;
    Recount(i, j);
    RefreshRows(start, end);
    return true;
}

void TFoldRegions::SetMarks(const std::vector<TLineMarks> &given)
{
    const int n = LineCount();
    std::vector<TLineMarks> marks;
    marks.reserve(given.size());
    for (const TLineMarks &m : given)
        if (m.Line >= 0 && m.Line < n && (m.Starts || m.Ends > 0))
            marks.push_back(m);
    if (!std::is_sorted(marks.begin(), marks.end(), [](auto &a, auto &b) { return a.Line < b.Line; }))
        std::stable_sort(marks.begin(), marks.end(), [](auto &a, auto &b) { return a.Line < b.Line; });

    std::vector<int> collapsed;
    for (int i = 0; i < marks_.Count(); ++i) {
        const TMark m = At(i);
        if (m.Starts && !m.Expanded)
            collapsed.push_back(m.Line);
    }

    marks_.Reset(n);
    regionCount_ = 0;
    size_t c = 0;
    for (const TLineMarks &spec : marks) {
        const int ends = std::max(0, spec.Ends);
        if (marks_.Count() > 0 && marks_.LineOf(marks_.Count() - 1) == spec.Line) {
            // A second entry for one line adds to the first.
            const int last = marks_.Count() - 1;
            marks_.Modify(last, [&](TMark &m) {
                m.Ends += ends;
                m.Starts = m.Starts || spec.Starts;
            });
            continue;
        }
        TMark m{spec.Line, 0, ends, spec.Starts, true};
        while (c < collapsed.size() && collapsed[c] < spec.Line)
            ++c;
        if (spec.Starts && c < collapsed.size() && collapsed[c] == spec.Line)
            m.Expanded = false;
        marks_.Insert(marks_.Count(), m);
    }
    RecountRegions();
    Recount(0, marks_.Count());
    rows_.Assign(WalkRows());
}

void TFoldRegions::SetRegions(const std::vector<std::pair<int, int>> &regions)
{
    const int n = LineCount();
    std::vector<std::pair<int, int>> valid;
    valid.reserve(regions.size());
    for (const auto &r : regions)
        if (r.first >= 0 && r.second < n && r.first < r.second)
            valid.push_back(r);
    // A later region on a line that starts one already is refused, as AddRegion refuses it.
    std::stable_sort(valid.begin(), valid.end(), [](auto &a, auto &b) { return a.first < b.first; });
    valid.erase(std::unique(valid.begin(), valid.end(), [](auto &a, auto &b) { return a.first == b.first; }),
                valid.end());
    std::vector<int> ends;
    ends.reserve(valid.size());
    for (const auto &r : valid)
        ends.push_back(r.second);
    std::sort(ends.begin(), ends.end());

    std::vector<TLineMarks> marks;
    marks.reserve(valid.size() * 2);
    size_t s = 0, e = 0;
    while (s < valid.size() || e < ends.size()) {
        const int line = std::min(s < valid.size() ? valid[s].first : n, e < ends.size() ? ends[e] : n);
        TLineMarks m{line, false, 0};
        if (s < valid.size() && valid[s].first == line) {
            m.Starts = true;
            ++s;
        }
        while (e < ends.size() && ends[e] == line) {
            ++m.Ends;
            ++e;
        }
        marks.push_back(m);
    }
    SetMarks(marks);
}

void TFoldRegions::ReplaceMarks(int from, int to, const std::vector<TLineMarks> &marks)
{
    const int n = LineCount();
    from = std::clamp(from, 0, n);
    to = std::clamp(to, from, n);
    const int a = marks_.LowerBound(from);
    const int b = marks_.LowerBound(to);
    std::vector<int> collapsed;
    for (int i = a; i < b; ++i) {
        const TMark m = At(i);
        if (m.Starts) {
            --regionCount_;
            if (!m.Expanded)
                collapsed.push_back(m.Line);
        }
    }
    marks_.Erase(a, b - a);
    int k = a;
    int lastLine = from - 1;
    for (const TLineMarks &spec : marks) {
        if (spec.Line < from || spec.Line >= to || spec.Line <= lastLine || (!spec.Starts && spec.Ends <= 0))
            continue;
        lastLine = spec.Line;
        TMark m{spec.Line, 0, std::max(0, spec.Ends), spec.Starts, true};
        if (spec.Starts) {
            ++regionCount_;
            m.Expanded = !std::binary_search(collapsed.begin(), collapsed.end(), spec.Line);
        }
        marks_.Insert(k++, m);
    }
    Recount(a, k - 1);
    RefreshRows(from, std::max(from, to - 1));
}

// ---- collapsing ----

bool TFoldRegions::SetExpanded(int line, bool expanded)
{
    const int i = marks_.Find(line);
    if (i < 0)
        return false;
    const TMark m = At(i);
    if (!m.Starts || m.Expanded == expanded)
        return false;
    marks_.Modify(i, [expanded](TMark &x) { x.Expanded = expanded; });
    RefreshRows(line, line);
    return true;
}

void TFoldRegions::SetAllExpanded(bool expanded)
{
    for (int i = 0; i < marks_.Count(); ++i)
        marks_.Modify(i, [expanded](TMark &m) { m.Expanded = expanded; });
    if (expanded)
        rows_.Reset(LineCount());
    else
        rows_.Assign(WalkRows());
}

// ---- unlinking ----

void TFoldRegions::RemoveRegionStartingAt(int line)
{
    const int i = marks_.Find(line);
    if (i < 0 || !At(i).Starts)
        return;
    const int e = EndIndexOf(i);
    const int endLine = e < 0 ? LineCount() - 1 : marks_.LineOf(e);
    marks_.Modify(i, [](TMark &m) {
        m.Starts = false;
        m.Expanded = true;
    });
    if (e >= 0)
        marks_.Modify(e, [](TMark &m) { --m.Ends; });
    --regionCount_;
    Recount(i, e < 0 ? i : e);
    RefreshRows(line, endLine);
    if (e >= 0)
        DropEmpty(e, e + 1);
    DropEmpty(i, i + 1);
}

void TFoldRegions::RemoveRegionEndingAt(int line)
{
    const int i = marks_.Find(line);
    if (i < 0 || At(i).Ends == 0)
        return;
    const int s = InnermostOpenIndex(i, DepthAfterIndex(i - 1));
    marks_.Modify(i, [](TMark &m) { --m.Ends; });
    int startLine = line;
    if (s >= 0) {
        startLine = marks_.LineOf(s);
        marks_.Modify(s, [](TMark &m) {
            m.Starts = false;
            m.Expanded = true;
        });
        --regionCount_;
    }
    Recount(s >= 0 ? s : i, i);
    RefreshRows(startLine, line);
    DropEmpty(i, i + 1);
    if (s >= 0)
        DropEmpty(s, s + 1);
}

// Regions with both ends inside the lines go with them. An end inside closes
// the regions opened inside first, then those open as the lines begin
// (innermost first), whose starts lose their marks; regions opened inside and
// still open after them lose the ends that close them further down.
void TFoldRegions::UnlinkLines(int from, int to, bool partners)
{
    const int n = LineCount();
    from = std::clamp(from, 0, n);
    to = std::clamp(to, from, n);
    const int a = marks_.LowerBound(from);
    const int b = marks_.LowerBound(to);
    if (a == b)
        return;

    const int depthAtFrom = DepthAfterIndex(a - 1);
    int outsideOpen = depthAtFrom;
    int insideOpen = 0;
    int closedOutside = 0;
    for (int i = a; i < b; ++i) {
        const TMark m = At(i);
        int ends = m.Ends;
        const int inside = std::min(ends, insideOpen);
        insideOpen -= inside;
        ends -= inside;
        const int outside = std::min(ends, outsideOpen);
        outsideOpen -= outside;
        closedOutside += outside;
        if (m.Starts) {
            ++insideOpen;
            --regionCount_;
        }
        marks_.Modify(i, [](TMark &x) {
            x.Starts = false;
            x.Expanded = true;
            x.Ends = 0;
        });
    }

    int firstTouched = a, lastTouched = b - 1;
    int firstLine = from, lastLine = to - 1;
    if (!partners)
        closedOutside = insideOpen = 0;
    for (int k = 0, q = a; k < closedOutside; ++k) {
        q = InnermostOpenIndex(q, depthAtFrom - k);
        if (q < 0)
            break;
        marks_.Modify(q, [](TMark &m) {
            m.Starts = false;
            m.Expanded = true;
        });
        --regionCount_;
        firstTouched = q;
        firstLine = marks_.LineOf(q);
    }
    int openedAfter = 0;
    for (int i = b; i < marks_.Count() && insideOpen > 0; ++i) {
        const TMark m = At(i);
        int ends = m.Ends;
        const int later = std::min(ends, openedAfter);
        openedAfter -= later;
        ends -= later;
        const int closing = std::min(ends, insideOpen);
        if (closing > 0) {
            marks_.Modify(i, [closing](TMark &x) { x.Ends -= closing; });
            insideOpen -= closing;
            lastTouched = i;
            lastLine = marks_.LineOf(i);
        }
        if (m.Starts)
            ++openedAfter;
    }
    // A start left without an end hid everything below it.
    if (insideOpen > 0)
        lastLine = n - 1;

    Recount(firstTouched, lastTouched);
    RefreshRows(firstLine, lastLine);
    DropEmpty(firstTouched, lastTouched + 1);
}

// ---- rows ----

std::vector<TRowMap::TRun> TFoldRegions::WalkRows() const
{
    const int n = LineCount();
    std::vector<TRowMap::TRun> runs;
    int next = 0;
    for (int i = 0; i < marks_.Count();) {
        const TMark m = At(i);
        if (!m.Starts || m.Expanded) {
            ++i;
            continue;
        }
        const int e = EndIndexOf(i);
        const int endLine = e < 0 ? n - 1 : marks_.LineOf(e);
        runs.push_back({m.Line + 1 - next, 1, false});
        runs.push_back({endLine - m.Line, 1, true});
        next = endLine + 1;
        i = e < 0 ? marks_.Count() : e + 1;
    }
    runs.push_back({n - next, 1, false});
    return runs;
}

void TFoldRegions::RefreshRows(int from, int to)
{
    const int n = LineCount();
    if (n == 0)
        return;
    from = std::clamp(from, 0, n - 1);
    to = std::clamp(to, from, n - 1);

    // A walk over the marks is not hiding anything on a shown line.
    int lo = from;
    if (rows_.IsHidden(lo)) {
        const int row = rows_.RowsBefore(lo);
        lo = row > 0 ? rows_.LineAtRow(row - 1) : 0;
    }
    // Lines hidden before may have to be shown now: the walk goes on to the
    // end of every hidden stretch it reaches.
    int stop = to;
    auto reachHidden = [&] {
        if (stop + 1 >= n || !rows_.IsHidden(stop + 1))
            return false;
        stop = rows_.LineAtRow(rows_.RowsBefore(stop + 1)) - 1;
        return true;
    };
    reachHidden();

    std::vector<std::pair<int, int>> hides;
    int i = marks_.LowerBound(lo);
    for (;;) {
        while (i < marks_.Count() && marks_.LineOf(i) <= stop) {
            const TMark m = At(i);
            if (!m.Starts || m.Expanded) {
                ++i;
                continue;
            }
            const int e = EndIndexOf(i);
            const int endLine = e < 0 ? n - 1 : marks_.LineOf(e);
            if (endLine > m.Line)
                hides.push_back({m.Line + 1, endLine});
            stop = std::max(stop, endLine);
            i = e < 0 ? marks_.Count() : e + 1;
        }
        if (!reachHidden())
            break;
    }
    rows_.SetHidden(lo, stop - lo + 1, false);
    for (const auto &h : hides)
        rows_.SetHidden(h.first, h.second - h.first + 1, true);
}

int TFoldRegions::VisibleIndexOf(int line) const
{
    const int n = LineCount();
    if (line < 0)
        return line;
    if (line >= n)
        return rows_.RowCount() + (line - n);
    const int row = rows_.RowsBefore(line);
    if (!rows_.IsHidden(line))
        return row;
    return row > 0 ? rows_.RowsBefore(rows_.LineAtRow(row - 1)) : 0;
}

int TFoldRegions::LineOfVisibleIndex(int index) const
{
    if (index < 0)
        return index;
    const int rows = rows_.RowCount();
    if (index >= rows)
        return LineCount() + (index - rows);
    return rows_.LineAtRow(index);
}

// ---- following the text ----

void TFoldRegions::LinesInserted(int at, int count)
{
    if (count <= 0)
        return;
    const int n = LineCount();
    at = std::clamp(at, 0, n);
    // Lines put before a hidden line are inside the region that hides it.
    const bool hidden = at < n && rows_.IsHidden(at);
    marks_.LinesInserted(at, count);
    rows_.InsertLines(at, count, hidden);
    // Below the last line, only a collapsed region that never ends hides them.
    if (at == n && n > 0)
        RefreshRows(n - 1, n + count - 1);
}

void TFoldRegions::LinesRemoved(int at, int count)
{
    at = std::clamp(at, 0, LineCount());
    count = std::min(count, LineCount() - at);
    if (count <= 0)
        return;
    UnlinkLines(at, at + count, unlinkPartners_);
    marks_.LinesRemoved(at, count);
    rows_.RemoveLines(at, count);
}

void TFoldRegions::LinesChanged(REdoDodiStrings &lines, const TLinesChange &change)
{
    switch (change.Kind) {
    case TLinesChange::lcEdit:
    case TLinesChange::lcEnds:
        break;
    case TLinesChange::lcInsert:
        LinesInserted(change.Line, change.Count);
        break;
    case TLinesChange::lcRemove:
        LinesRemoved(change.Line, change.Count);
        break;
    default:
        Reset(lines.Count());
        return;
    }
    if (LineCount() != lines.Count())
        Reset(lines.Count());
}

bool TFoldRegions::Check() const
{
    const int n = LineCount();
    int previous = 0, lastLine = -1, starts = 0;
    for (int i = 0; i < marks_.Count(); ++i) {
        const TMark m = At(i);
        if (m.Line <= lastLine || m.Line >= n || (!m.Starts && m.Ends <= 0))
            return false;
        const int depth = std::max(0, previous - m.Ends) + (m.Starts ? 1 : 0);
        if (depth != m.Depth)
            return false;
        previous = depth;
        lastLine = m.Line;
        starts += m.Starts ? 1 : 0;
    }
    if (starts != regionCount_ || rows_.LineCount() != n || !rows_.Check())
        return false;
    // Only which lines are hidden follows from the marks; the rows a shown
    // line takes are the layout's.
    auto hiding = [](const std::vector<TRowMap::TRun> &runs) {
        std::vector<TRowMap::TRun> joined;
        for (TRowMap::TRun run : runs) {
            run.RowsPerLine = 1;
            if (run.Lines <= 0)
                continue;
            if (!joined.empty() && joined.back().Hidden == run.Hidden)
                joined.back().Lines += run.Lines;
            else
                joined.push_back(run);
        }
        return joined;
    };
    return hiding(WalkRows()) == hiding(rows_.Runs());
}

} // namespace tarnwick
