// TFoldRegions: the fold regions of a text, which of them are collapsed, and
// the rows of the view that leaves. A region is a start mark on its first line
// and an end on its last; marks pair up as brackets do (an end closes the
// region opened last; on one line the ends come before the start). The marks
// follow their lines as lines are inserted and removed, and a removed line
// takes its regions with it: the other end of each loses its mark.
#pragma once

#include "editor/document/line_keyed_list.h"
#include "editor/document/lines_listener.h"
#include "editor/document/row_map.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace tarnwick {

class TFoldRegions : public TLinesListener {
public:
    // The marks of one line, as a region finder reports them.
    struct TLineMarks {
        int Line = 0;
        bool Starts = false;
        int Ends = 0;
        bool operator==(const TLineMarks &) const = default;
    };

    TFoldRegions() { Reset(0); }

    // No regions, `lineCount` lines of one row each.
    void Reset(int lineCount);
    int LineCount() const { return marks_.LineCount(); }
    // Lines that start a region.
    int RegionCount() const { return regionCount_; }

    // ---- building ----
    // Refused (false) when either line does not exist, start >= end, or a
    // region starts on `start` already.
    bool AddRegion(int start, int end);
    void ClearRegions();
    // Every region replaced by `regions`, taken in order as AddRegion takes
    // them; a line that starts a region before and after keeps its state.
    void SetRegions(const std::vector<std::pair<int, int>> &regions);
    // Every mark replaced by `marks` (sorted by line, one entry per line).
    void SetMarks(const std::vector<TLineMarks> &marks);
    // The marks of lines [from, to) replaced by `marks` (sorted, inside the
    // range). Regions elsewhere keep their state.
    void ReplaceMarks(int from, int to, const std::vector<TLineMarks> &marks);
    // The marks of one line and of all lines, as the finders report them.
    TLineMarks MarksOf(int line) const;
    std::vector<TLineMarks> AllMarks() const;

    // ---- reading ----
    bool IsRegionStart(int line) const;
    // True for every line that starts no region.
    bool IsExpanded(int line) const;
    int EndCount(int line) const;
    // Regions open as `line` begins, before its own ends close any.
    int DepthBefore(int line) const;
    // Below a region's start, up to and including its end.
    bool InRegion(int line) const { return DepthBefore(line) > 0; }
    // The line that ends the region starting on `start`; -1 when none does
    // or `start` starts no region.
    int RegionEndOf(int start) const;
    // The start of the innermost region that starts on `line` or holds it; -1.
    int InnermostRegionAt(int line) const;
    // The start of the innermost region that holds the whole region starting
    // on `start`; -1.
    int EnclosingRegionOf(int start) const;

    // ---- collapsing ----
    // False when `line` starts no region or the state is that already.
    bool SetExpanded(int line, bool expanded);
    void SetAllExpanded(bool expanded);

    // ---- unlinking ----
    // The region starting on `line` goes; its end loses one count.
    void RemoveRegionStartingAt(int line);
    // The innermost region ending on `line` goes; its start loses its mark.
    void RemoveRegionEndingAt(int line);
    // Every region starting or ending on lines [from, to) goes, and the
    // marks there with it. Without `partners` the other ends keep their
    // marks, for a finder that reads the text again around the change.
    void UnlinkLines(int from, int to, bool partners = true);
    // Whether removing lines unlinks their regions' other ends (the default),
    // or only drops the marks of the removed lines.
    void SetUnlinkPartners(bool unlink) { unlinkPartners_ = unlink; }

    // ---- rows ----
    // A collapsed region that is itself shown hides its lines after the start
    // up to and including its end (the end of the text when no end matches).
    bool IsHidden(int line) const { return line >= 0 && line < LineCount() && rows_.IsHidden(line); }
    // The row of `line`; a hidden line gives the row of the shown line above
    // it. Lines past the end follow the last row one to one.
    int VisibleIndexOf(int line) const;
    // The line shown in row `index`; rows past the end map one to one past
    // the last line; negative rows are given back as they are.
    int LineOfVisibleIndex(int index) const;
    int VisibleCount() const { return rows_.RowCount(); }
    const TRowMap &Rows() const { return rows_; }
    // The rows each of lines [first, first + count) takes while shown: more
    // than one for a line the view shows in pieces. Hiding keeps them.
    void SetLineRows(int first, int count, int rows) { rows_.SetRowsPerLine(first, count, rows); }

    // ---- following the text ----
    void LinesInserted(int at, int count);
    void LinesRemoved(int at, int count);
    void LinesChanged(REdoDodiStrings &lines, const TLinesChange &change) override;

    // The stored depths agree with the marks, and the rows with a walk over
    // them; linear, for tests.
    bool Check() const;

private:
    struct TMark {
        int32_t Line = 0;
        // Regions open after this line: its ends close what is open (never
        // below 0), then its start opens one.
        int32_t Depth = 0;
        int32_t Ends = 0;
        bool Starts = false;
        bool Expanded = true;
    };

    // The mark with its line as it is now.
    TMark At(int index) const { return marks_.Get(index); }
    int DepthAfterIndex(int index) const { return index < 0 ? 0 : marks_.Get(index).Depth; }
    // The index of the mark that ends the region started at index `start`; -1.
    int EndIndexOf(int start) const;
    // The last start before index `before` whose region is open at depth `depth`; -1.
    int InnermostOpenIndex(int before, int depth) const;
    // Depths from index `from` on, until they agree with the stored ones past `settledAfter`.
    void Recount(int from, int settledAfter);
    // Drops marks that neither start nor end a region, between two indexes.
    void DropEmpty(int from, int to);
    // Brings the rows of lines [from, to] and of the regions around them in
    // line with the marks; reads the rows as they were to find what changed.
    void RefreshRows(int from, int to);
    // The rows of the whole text by a walk over the marks.
    std::vector<TRowMap::TRun> WalkRows() const;
    void RecountRegions();

    TLineKeyedList<TMark> marks_;
    TRowMap rows_;
    int regionCount_ = 0;
    bool unlinkPartners_ = true;
};

} // namespace tarnwick
