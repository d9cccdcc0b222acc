// The fold regions against a plain model: marks in a list of lines, regions
// paired by a stack, rows by the walk that hides a shown collapsed region's
// lines up to its end. Random adds, collapses, mark replacements, unlinks and
// line inserts and removals (with the unbalanced marks they leave).
#include "editor/document/fold_regions.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace tarnwick;

namespace {

struct TPlainLine {
    bool Starts = false;
    bool Expanded = true;
    int Ends = 0;
};

class TPlainFolds {
public:
    std::vector<TPlainLine> Lines;

    int Count() const { return static_cast<int>(Lines.size()); }

    // Pairs by a stack; an end with nothing open closes nothing.
    struct TPairing {
        std::vector<int> EndOf;                   // per start line, -1 when never closed
        std::vector<std::vector<int>> ClosedAt;   // per line, the starts its ends close, innermost first
        std::vector<std::vector<int>> OpenBefore; // per line, the open starts as it begins
    };
    TPairing Pair() const
    {
        TPairing p;
        p.EndOf.assign(Lines.size(), -1);
        p.ClosedAt.resize(Lines.size());
        p.OpenBefore.resize(Lines.size());
        std::vector<int> open;
        for (int line = 0; line < Count(); ++line) {
            p.OpenBefore[line] = open;
            for (int k = 0; k < Lines[line].Ends && !open.empty(); ++k) {
                p.EndOf[open.back()] = line;
                p.ClosedAt[line].push_back(open.back());
                open.pop_back();
            }
            if (Lines[line].Starts)
                open.push_back(line);
        }
        return p;
    }

    bool Add(int start, int end)
    {
        if (start < 0 || end >= Count() || start >= end || Lines[start].Starts)
            return false;
        Lines[start].Starts = true;
        Lines[start].Expanded = true;
        ++Lines[end].Ends;
        return true;
    }

    void RemoveStartingAt(int line)
    {
        if (!Lines[line].Starts)
            return;
        const int end = Pair().EndOf[line];
        if (end >= 0)
            --Lines[end].Ends;
        Lines[line].Starts = false;
        Lines[line].Expanded = true;
    }

    void RemoveEndingAt(int line)
    {
        if (Lines[line].Ends == 0)
            return;
        const TPairing p = Pair();
        if (!p.ClosedAt[line].empty()) {
            Lines[p.ClosedAt[line].front()].Starts = false;
            Lines[p.ClosedAt[line].front()].Expanded = true;
        }
        --Lines[line].Ends;
    }

    // Line by line from the top, each line's start first, then its ends;
    // without unlinking only the marks of the lines go.
    void RemoveLines(int at, int count, bool unlink)
    {
        for (int line = at; line < at + count && unlink; ++line) {
            RemoveStartingAt(line);
            while (Lines[line].Ends > 0)
                RemoveEndingAt(line);
        }
        Lines.erase(Lines.begin() + at, Lines.begin() + at + count);
    }

    // The walk: a shown collapsed start hides the lines after it until the
    // ends below it outnumber the starts.
    std::vector<int> RowOfLines() const
    {
        std::vector<int> rows(Lines.size());
        int row = 0;
        for (int line = 0; line < Count();) {
            rows[line] = row++;
            if (!Lines[line].Starts || Lines[line].Expanded) {
                ++line;
                continue;
            }
            const int start = line++;
            int depth = 1, ends = 0;
            for (; line < Count(); ++line) {
                rows[line] = rows[start];
                ends += Lines[line].Ends;
                if (ends >= depth) {
                    ++line;
                    break;
                }
                depth += Lines[line].Starts ? 1 : 0;
            }
        }
        return rows;
    }
};

void ExpectSame(const TFoldRegions &folds, const TPlainFolds &plain)
{
    ASSERT_TRUE(folds.Check());
    ASSERT_EQ(folds.LineCount(), plain.Count());
    const TPlainFolds::TPairing pairing = plain.Pair();
    const std::vector<int> rows = plain.RowOfLines();
    int regions = 0;
    std::vector<int> lineOfRow;
    for (int line = 0; line < plain.Count(); ++line) {
        const TPlainLine &p = plain.Lines[line];
        regions += p.Starts ? 1 : 0;
        ASSERT_EQ(folds.IsRegionStart(line), p.Starts) << "line " << line;
        ASSERT_EQ(folds.IsExpanded(line), !p.Starts || p.Expanded) << "line " << line;
        ASSERT_EQ(folds.EndCount(line), p.Ends) << "line " << line;
        const std::vector<int> &open = pairing.OpenBefore[line];
        ASSERT_EQ(folds.DepthBefore(line), static_cast<int>(open.size())) << "line " << line;
        ASSERT_EQ(folds.InnermostRegionAt(line), p.Starts ? line : open.empty() ? -1 : open.back()) << "line " << line;
        if (p.Starts) {
            ASSERT_EQ(folds.RegionEndOf(line), pairing.EndOf[line]) << "line " << line;
            std::vector<int> around = open;
            around.resize(around.size() - std::min(around.size(), pairing.ClosedAt[line].size()));
            ASSERT_EQ(folds.EnclosingRegionOf(line), around.empty() ? -1 : around.back()) << "line " << line;
        }
        const bool shown = line == 0 || rows[line] != rows[line - 1];
        ASSERT_EQ(folds.IsHidden(line), !shown) << "line " << line;
        ASSERT_EQ(folds.VisibleIndexOf(line), rows[line]) << "line " << line;
        if (shown)
            lineOfRow.push_back(line);
    }
    ASSERT_EQ(folds.RegionCount(), regions);
    ASSERT_EQ(folds.VisibleCount(), static_cast<int>(lineOfRow.size()));
    for (int row = 0; row < static_cast<int>(lineOfRow.size()); ++row)
        ASSERT_EQ(folds.LineOfVisibleIndex(row), lineOfRow[row]) << "row " << row;
    // Past the end, rows and lines go on one to one.
    EXPECT_EQ(folds.LineOfVisibleIndex(folds.VisibleCount() + 2), plain.Count() + 2);
    EXPECT_EQ(folds.VisibleIndexOf(plain.Count()), folds.VisibleCount());
}

} // namespace

TEST(FoldRegions, RandomFoldStatesAndEditsAgreeWithTheWalk)
{
    std::mt19937 rng(16);
    auto pick = [&](int n) { return n <= 0 ? 0 : static_cast<int>(rng() % n); };
    for (int round = 0; round < 60; ++round) {
        TFoldRegions folds;
        TPlainFolds plain;
        const bool unlink = round % 3 != 0;
        folds.SetUnlinkPartners(unlink);
        const int start = 1 + pick(40);
        folds.Reset(start);
        plain.Lines.resize(start);
        for (int step = 0; step < 150; ++step) {
            const int n = plain.Count();
            const int op = pick(11);
            switch (op) {
            case 0:
            case 1: {
                const int a = pick(n), b = a + 1 + pick(12);
                ASSERT_EQ(folds.AddRegion(a, b), plain.Add(a, b));
                break;
            }
            case 2:
            case 3: {
                const int line = pick(n);
                const bool expanded = pick(3) == 0;
                const bool changes = plain.Lines[line].Starts && plain.Lines[line].Expanded != expanded;
                ASSERT_EQ(folds.SetExpanded(line, expanded), changes);
                if (changes)
                    plain.Lines[line].Expanded = expanded;
                break;
            }
            case 4: {
                const int at = pick(n + 1), count = 1 + pick(4);
                folds.LinesInserted(at, count);
                plain.Lines.insert(plain.Lines.begin() + at, count, TPlainLine{});
                break;
            }
            case 5:
            case 6: {
                const int at = pick(n), count = std::min(1 + pick(6), n - at);
                if (n - count < 1)
                    break;
                folds.LinesRemoved(at, count);
                plain.RemoveLines(at, count, unlink);
                break;
            }
            case 7: {
                // A finder's new marks for a stretch of lines.
                const int from = pick(n), to = std::min(n, from + pick(10));
                std::vector<TFoldRegions::TLineMarks> marks;
                for (int line = from; line < to; ++line) {
                    TPlainLine &p = plain.Lines[line];
                    const bool starts = pick(3) == 0;
                    const int ends = pick(4) == 0 ? 1 + pick(2) : 0;
                    p.Expanded = starts && p.Starts ? p.Expanded : true;
                    p.Starts = starts;
                    p.Ends = ends;
                    if (starts || ends)
                        marks.push_back({line, starts, ends});
                }
                folds.ReplaceMarks(from, to, marks);
                break;
            }
            case 8: {
                const int line = pick(n);
                if (pick(2)) {
                    folds.RemoveRegionStartingAt(line);
                    plain.RemoveStartingAt(line);
                } else {
                    folds.RemoveRegionEndingAt(line);
                    plain.RemoveEndingAt(line);
                }
                break;
            }
            case 9: {
                const bool expanded = pick(2);
                folds.SetAllExpanded(expanded);
                for (TPlainLine &p : plain.Lines)
                    p.Expanded = p.Starts ? expanded : true;
                break;
            }
            case 10: {
                std::vector<std::pair<int, int>> regions;
                for (int k = pick(8); k > 0; --k)
                    regions.push_back({pick(n), pick(n)});
                std::vector<bool> collapsed(n);
                for (int line = 0; line < n; ++line)
                    collapsed[line] = plain.Lines[line].Starts && !plain.Lines[line].Expanded;
                for (TPlainLine &p : plain.Lines)
                    p = {};
                for (const auto &r : regions)
                    plain.Add(r.first, r.second);
                for (int line = 0; line < n; ++line)
                    if (plain.Lines[line].Starts && collapsed[line])
                        plain.Lines[line].Expanded = false;
                folds.SetRegions(regions);
                break;
            }
            }
            ExpectSame(folds, plain);
            if (HasFatalFailure()) {
                ADD_FAILURE() << "round " << round << " step " << step << " operation " << op;
                return;
            }
        }
    }
}

TEST(FoldRegions, CollapseAllOverThousandsOfRegionsHidesAllButTheOutermostStarts)
{
    TFoldRegions folds;
    folds.Reset(100002);
    std::vector<std::pair<int, int>> regions{{0, 100001}};
    for (int i = 0; i < 10000; ++i)
        regions.push_back({1 + i * 10, 1 + i * 10 + 8});
    folds.SetRegions(regions);
    folds.SetAllExpanded(false);
    EXPECT_EQ(folds.VisibleCount(), 1);
    folds.SetExpanded(0, true);
    EXPECT_EQ(folds.VisibleCount(), 2 + 10000 * 2);
    EXPECT_EQ(folds.LineOfVisibleIndex(3), 11);
    EXPECT_EQ(folds.VisibleIndexOf(15), 3);
    EXPECT_TRUE(folds.Check());
}
