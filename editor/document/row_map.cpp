#include "editor/document/row_map.h"

#include <algorithm>
#include <functional>

namespace tarnwick {

uint32_t TRowMap::NextPriority()
{
    seed_ ^= seed_ >> 12;
    seed_ ^= seed_ << 25;
    seed_ ^= seed_ >> 27;
    return static_cast<uint32_t>((seed_ * 0x2545F4914F6CDD1Dull) >> 32);
}

int TRowMap::NewNode(int lines, int rowsPerLine, bool hidden, uint32_t priority)
{
    TNode node;
    node.Priority = priority;
    node.Lines = lines;
    node.RowsPerLine = rowsPerLine;
    node.Hidden = hidden;
    int t;
    if (!free_.empty()) {
        t = free_.back();
        free_.pop_back();
        nodes_[t] = node;
    } else {
        t = static_cast<int>(nodes_.size());
        nodes_.push_back(node);
    }
    Update(t);
    return t;
}

int TRowMap::NewNode(int lines, int rowsPerLine, bool hidden)
{
    return NewNode(lines, rowsPerLine, hidden, NextPriority());
}

void TRowMap::FreeTree(int t)
{
    if (t == kNone)
        return;
    FreeTree(nodes_[t].Left);
    FreeTree(nodes_[t].Right);
    free_.push_back(t);
}

void TRowMap::Update(int t)
{
    TNode &n = nodes_[t];
    const int own = n.Lines * n.RowsPerLine;
    n.SubLines = n.Lines;
    n.SubFullRows = own;
    n.SubRows = n.Hidden ? 0 : own;
    n.SubRowsPerLine = n.RowsPerLine;
    for (int c : {n.Left, n.Right}) {
        if (c == kNone)
            continue;
        const TNode &child = nodes_[c];
        n.SubLines += child.SubLines;
        n.SubFullRows += child.SubFullRows;
        n.SubRows += child.SubRows;
        if (child.SubRowsPerLine != n.RowsPerLine)
            n.SubRowsPerLine = 0;
    }
}

void TRowMap::ApplyTag(int t, TTag tag)
{
    if (t == kNone || tag == tagNone)
        return;
    TNode &n = nodes_[t];
    n.Hidden = tag == tagHide;
    n.SubRows = n.Hidden ? 0 : n.SubFullRows;
    n.Tag = tag;
}

void TRowMap::PushDown(int t)
{
    TNode &n = nodes_[t];
    if (n.Tag == tagNone)
        return;
    ApplyTag(n.Left, n.Tag);
    ApplyTag(n.Right, n.Tag);
    n.Tag = tagNone;
}

void TRowMap::Split(int t, int lines, int &left, int &right)
{
    if (t == kNone) {
        left = right = kNone;
        return;
    }
    PushDown(t);
    const int leftLines = nodes_[t].Left == kNone ? 0 : nodes_[nodes_[t].Left].SubLines;
    if (lines <= leftLines) {
        int inner;
        Split(nodes_[t].Left, lines, left, inner);
        nodes_[t].Left = inner;
        Update(t);
        right = t;
    } else if (lines >= leftLines + nodes_[t].Lines) {
        int inner;
        Split(nodes_[t].Right, lines - leftLines - nodes_[t].Lines, inner, right);
        nodes_[t].Right = inner;
        Update(t);
        left = t;
    } else {
        // The cut falls inside this run: its tail becomes a run of its own,
        // with the run's priority so that it stays below the run's ancestors.
        const int head = lines - leftLines;
        const int tail = NewNode(nodes_[t].Lines - head, nodes_[t].RowsPerLine, nodes_[t].Hidden, nodes_[t].Priority);
        const int oldRight = nodes_[t].Right;
        nodes_[t].Lines = head;
        nodes_[t].Right = kNone;
        Update(t);
        left = t;
        right = Merge(tail, oldRight);
    }
}

int TRowMap::Merge(int left, int right)
{
    if (left == kNone)
        return right;
    if (right == kNone)
        return left;
    if (nodes_[left].Priority > nodes_[right].Priority) {
        PushDown(left);
        const int merged = Merge(nodes_[left].Right, right);
        nodes_[left].Right = merged;
        Update(left);
        return left;
    }
    PushDown(right);
    const int merged = Merge(left, nodes_[right].Left);
    nodes_[right].Left = merged;
    Update(right);
    return right;
}

TRowMap::TRun TRowMap::FirstRun(int t) const
{
    TTag inherited = tagNone;
    for (;;) {
        const TNode &n = nodes_[t];
        const TTag tag = inherited != tagNone ? inherited : n.Tag;
        if (n.Left == kNone)
            return {n.Lines, n.RowsPerLine, inherited != tagNone ? inherited == tagHide : n.Hidden};
        inherited = tag;
        t = n.Left;
    }
}

TRowMap::TRun TRowMap::LastRun(int t) const
{
    TTag inherited = tagNone;
    for (;;) {
        const TNode &n = nodes_[t];
        const TTag tag = inherited != tagNone ? inherited : n.Tag;
        if (n.Right == kNone)
            return {n.Lines, n.RowsPerLine, inherited != tagNone ? inherited == tagHide : n.Hidden};
        inherited = tag;
        t = n.Right;
    }
}

int TRowMap::Join(int left, int right)
{
    if (left == kNone || right == kNone)
        return Merge(left, right);
    const TRun last = LastRun(left);
    const TRun first = FirstRun(right);
    if (last.RowsPerLine != first.RowsPerLine || last.Hidden != first.Hidden)
        return Merge(left, right);
    int head, lastNode, firstNode, tail;
    Split(left, nodes_[left].SubLines - last.Lines, head, lastNode);
    Split(right, first.Lines, firstNode, tail);
    nodes_[lastNode].Lines += nodes_[firstNode].Lines;
    Update(lastNode);
    FreeTree(firstNode);
    return Merge(Merge(head, lastNode), tail);
}

template <typename F>
void TRowMap::WithMiddle(int first, int count, F &&f)
{
    int head, rest, middle, tail;
    Split(root_, first, head, rest);
    Split(rest, count, middle, tail);
    middle = f(middle);
    root_ = Join(Join(head, middle), tail);
}

int TRowMap::Build(const std::vector<TRun> &runs, int from, int to, int depth)
{
    if (from >= to)
        return kNone;
    const int mid = from + (to - from) / 2;
    // A band of priorities per depth keeps the built tree a heap; the low
    // bits stay random for the nodes added later.
    const uint32_t band = static_cast<uint32_t>(63 - std::min(depth, 63)) << 26;
    const int t =
        NewNode(runs[mid].Lines, runs[mid].RowsPerLine, runs[mid].Hidden, band | (NextPriority() & ((1u << 26) - 1)));
    const int left = Build(runs, from, mid, depth + 1);
    const int right = Build(runs, mid + 1, to, depth + 1);
    nodes_[t].Left = left;
    nodes_[t].Right = right;
    Update(t);
    return t;
}

void TRowMap::Reset(int lineCount) { Assign({{std::max(0, lineCount), 1, false}}); }

void TRowMap::Assign(const std::vector<TRun> &runs)
{
    nodes_.clear();
    free_.clear();
    std::vector<TRun> joined;
    joined.reserve(runs.size());
    for (const TRun &run : runs) {
        if (run.Lines <= 0)
            continue;
        TRun r = run;
        r.RowsPerLine = std::max(1, r.RowsPerLine);
        if (!joined.empty() && joined.back().RowsPerLine == r.RowsPerLine && joined.back().Hidden == r.Hidden)
            joined.back().Lines += r.Lines;
        else
            joined.push_back(r);
    }
    nodes_.reserve(joined.size());
    root_ = Build(joined, 0, static_cast<int>(joined.size()), 0);
}

int TRowMap::LineCount() const { return root_ == kNone ? 0 : nodes_[root_].SubLines; }

int TRowMap::RowCount() const { return root_ == kNone ? 0 : nodes_[root_].SubRows; }

void TRowMap::InsertLines(int at, int count, bool hidden)
{
    if (count <= 0)
        return;
    at = std::clamp(at, 0, LineCount());
    WithMiddle(at, 0, [&](int) { return NewNode(count, 1, hidden); });
}

void TRowMap::RemoveLines(int at, int count)
{
    at = std::clamp(at, 0, LineCount());
    count = std::min(count, LineCount() - at);
    if (count <= 0)
        return;
    WithMiddle(at, count, [&](int middle) {
        FreeTree(middle);
        return kNone;
    });
}

void TRowMap::SetHidden(int first, int count, bool hidden)
{
    first = std::clamp(first, 0, LineCount());
    count = std::min(count, LineCount() - first);
    if (count <= 0)
        return;
    WithMiddle(first, count, [&](int middle) {
        const int rowsPerLine = nodes_[middle].SubRowsPerLine;
        if (rowsPerLine == 0) {
            ApplyTag(middle, hidden ? tagHide : tagShow);
            return middle;
        }
        // Lines alike in all but hiding become one run again.
        FreeTree(middle);
        return NewNode(count, rowsPerLine, hidden);
    });
}

void TRowMap::SetRowsPerLine(int first, int count, int rows)
{
    first = std::clamp(first, 0, LineCount());
    count = std::min(count, LineCount() - first);
    if (count <= 0)
        return;
    rows = std::max(1, rows);
    WithMiddle(first, count, [&](int middle) {
        std::vector<TRun> runs;
        std::function<void(int, TTag)> collect = [&](int t, TTag inherited) {
            if (t == kNone)
                return;
            const TNode &n = nodes_[t];
            const TTag tag = inherited != tagNone ? inherited : n.Tag;
            collect(n.Left, tag);
            const bool hidden = inherited != tagNone ? inherited == tagHide : n.Hidden;
            if (!runs.empty() && runs.back().Hidden == hidden)
                runs.back().Lines += n.Lines;
            else
                runs.push_back({n.Lines, rows, hidden});
            collect(n.Right, tag);
        };
        collect(middle, tagNone);
        FreeTree(middle);
        return Build(runs, 0, static_cast<int>(runs.size()), 0);
    });
}

namespace {

// What a descent needs of the node it stands on under the tags above it.
struct TLook {
    bool Hidden;
    int Rows;
};

} // namespace

bool TRowMap::IsHidden(int line) const
{
    int t = root_;
    TTag inherited = tagNone;
    while (t != kNone) {
        const TNode &n = nodes_[t];
        const int leftLines = n.Left == kNone ? 0 : nodes_[n.Left].SubLines;
        const TTag tag = inherited != tagNone ? inherited : n.Tag;
        if (line < leftLines) {
            inherited = tag;
            t = n.Left;
        } else if (line < leftLines + n.Lines) {
            return inherited != tagNone ? inherited == tagHide : n.Hidden;
        } else {
            line -= leftLines + n.Lines;
            inherited = tag;
            t = n.Right;
        }
    }
    return false;
}

int TRowMap::RowsPerLine(int line) const
{
    int t = root_;
    while (t != kNone) {
        const TNode &n = nodes_[t];
        const int leftLines = n.Left == kNone ? 0 : nodes_[n.Left].SubLines;
        if (line < leftLines) {
            t = n.Left;
        } else if (line < leftLines + n.Lines) {
            return n.RowsPerLine;
        } else {
            line -= leftLines + n.Lines;
            t = n.Right;
        }
    }
    return 1;
}

int TRowMap::RowsBefore(int line) const
{
    if (line <= 0)
        return 0;
    if (line >= LineCount())
        return RowCount();
    int rows = 0;
    int t = root_;
    TTag inherited = tagNone;
    while (t != kNone) {
        const TNode &n = nodes_[t];
        const TTag tag = inherited != tagNone ? inherited : n.Tag;
        auto rowsOf = [&](int c) {
            if (c == kNone)
                return 0;
            return tag == tagHide ? 0 : tag == tagShow ? nodes_[c].SubFullRows : nodes_[c].SubRows;
        };
        const bool hidden = inherited != tagNone ? inherited == tagHide : n.Hidden;
        const int leftLines = n.Left == kNone ? 0 : nodes_[n.Left].SubLines;
        if (line < leftLines) {
            inherited = tag;
            t = n.Left;
            continue;
        }
        rows += rowsOf(n.Left);
        line -= leftLines;
        if (line < n.Lines)
            return rows + (hidden ? 0 : line * n.RowsPerLine);
        rows += hidden ? 0 : n.Lines * n.RowsPerLine;
        line -= n.Lines;
        inherited = tag;
        t = n.Right;
    }
    return rows;
}

int TRowMap::LineAtRow(int row) const
{
    if (row < 0)
        return 0;
    if (row >= RowCount())
        return LineCount();
    int lines = 0;
    int t = root_;
    TTag inherited = tagNone;
    while (t != kNone) {
        const TNode &n = nodes_[t];
        const TTag tag = inherited != tagNone ? inherited : n.Tag;
        const int leftRows = n.Left == kNone  ? 0
                             : tag == tagHide ? 0
                             : tag == tagShow ? nodes_[n.Left].SubFullRows
                                              : nodes_[n.Left].SubRows;
        const bool hidden = inherited != tagNone ? inherited == tagHide : n.Hidden;
        if (row < leftRows) {
            inherited = tag;
            t = n.Left;
            continue;
        }
        row -= leftRows;
        lines += n.Left == kNone ? 0 : nodes_[n.Left].SubLines;
        const int own = hidden ? 0 : n.Lines * n.RowsPerLine;
        if (row < own)
            return lines + row / n.RowsPerLine;
        row -= own;
        lines += n.Lines;
        inherited = tag;
        t = n.Right;
    }
    return lines;
}

std::vector<TRowMap::TRun> TRowMap::Runs() const
{
    std::vector<TRun> runs;
    std::function<void(int, TTag)> walk = [&](int t, TTag inherited) {
        if (t == kNone)
            return;
        const TNode &n = nodes_[t];
        const TTag tag = inherited != tagNone ? inherited : n.Tag;
        walk(n.Left, tag);
        const TRun run{n.Lines, n.RowsPerLine, inherited != tagNone ? inherited == tagHide : n.Hidden};
        if (!runs.empty() && runs.back().RowsPerLine == run.RowsPerLine && runs.back().Hidden == run.Hidden)
            runs.back().Lines += run.Lines;
        else
            runs.push_back(run);
        walk(n.Right, tag);
    };
    walk(root_, tagNone);
    return runs;
}

bool TRowMap::CheckNode(int t, TTag inherited, int &lines, int &rows, int &fullRows) const
{
    lines = rows = fullRows = 0;
    if (t == kNone)
        return true;
    const TNode &n = nodes_[t];
    if (n.Lines <= 0 || n.RowsPerLine <= 0)
        return false;
    for (int c : {n.Left, n.Right})
        if (c != kNone && nodes_[c].Priority > n.Priority)
            return false;
    const TTag tag = inherited != tagNone ? inherited : n.Tag;
    int l1, r1, f1, l2, r2, f2;
    if (!CheckNode(n.Left, tag, l1, r1, f1) || !CheckNode(n.Right, tag, l2, r2, f2))
        return false;
    const bool hidden = inherited != tagNone ? inherited == tagHide : n.Hidden;
    lines = l1 + l2 + n.Lines;
    fullRows = f1 + f2 + n.Lines * n.RowsPerLine;
    rows = r1 + r2 + (hidden ? 0 : n.Lines * n.RowsPerLine);
    // Sums under a pending tag of an ancestor are not brought up to date yet.
    if (inherited == tagNone && (n.SubLines != lines || n.SubRows != rows || n.SubFullRows != fullRows))
        return false;
    return true;
}

bool TRowMap::Check() const
{
    int lines, rows, fullRows;
    return CheckNode(root_, tagNone, lines, rows, fullRows);
}

} // namespace tarnwick
