// TRowMap: how many rows of the view each line of the text takes: none while
// it is hidden (folded away), otherwise its own count (one, or more for a line
// shown in pieces). Lines are kept as runs of equal lines in a balanced tree,
// so going from a line to its row and back costs O(log runs), and inserting,
// removing, hiding or showing lines costs O(log runs) too.
#pragma once

#include <cstdint>
#include <vector>

namespace tarnwick {

class TRowMap {
public:
    // A stretch of lines that all take the same rows.
    struct TRun {
        int Lines = 0;
        int RowsPerLine = 1;
        bool Hidden = false;
        bool operator==(const TRun &) const = default;
    };

    TRowMap() = default;

    // `lineCount` shown lines of one row each.
    void Reset(int lineCount);
    // Replaces everything by `runs`, in order, in time linear in their number.
    void Assign(const std::vector<TRun> &runs);

    int LineCount() const;
    // Rows of all shown lines.
    int RowCount() const;

    // Lines of one row each before line `at` (0..LineCount()).
    void InsertLines(int at, int count, bool hidden);
    void RemoveLines(int at, int count);
    // Hides or shows [first, first + count); each line keeps its rows.
    void SetHidden(int first, int count, bool hidden);
    // The rows line `line` takes while shown (at least 1).
    void SetRowsPerLine(int first, int count, int rows);

    bool IsHidden(int line) const;
    int RowsPerLine(int line) const;
    // Rows taken by the lines before `line`; RowCount() from LineCount() on.
    int RowsBefore(int line) const;
    // The line that holds row `row`: LineCount() when the row is past the end.
    int LineAtRow(int row) const;

    // The runs in order, neighbours with equal settings joined.
    std::vector<TRun> Runs() const;
    // Every subtree's sums agree with its runs and the tree is a heap by
    // priority; for tests.
    bool Check() const;

private:
    static constexpr int kNone = -1;
    enum TTag : int8_t { tagNone = -1, tagShow = 0, tagHide = 1 };

    // A run of lines, and the sums of the subtree it roots. A pending tag
    // hides or shows the whole subtree; it is already applied to this node
    // and its sums, not yet to its children.
    struct TNode {
        int32_t Left = kNone;
        int32_t Right = kNone;
        uint32_t Priority = 0;
        int32_t Lines = 0;
        int32_t RowsPerLine = 1;
        int32_t SubLines = 0;
        int32_t SubRows = 0;        // rows of the shown lines of the subtree
        int32_t SubFullRows = 0;    // rows of the subtree were every line shown
        int32_t SubRowsPerLine = 1; // rows per line shared by the whole subtree, 0 when they differ
        bool Hidden = false;
        TTag Tag = tagNone;
    };

    int NewNode(int lines, int rowsPerLine, bool hidden, uint32_t priority);
    int NewNode(int lines, int rowsPerLine, bool hidden);
    void FreeTree(int t);
    uint32_t NextPriority();
    void Update(int t);
    void ApplyTag(int t, TTag tag);
    void PushDown(int t);
    // Splits into the first `lines` lines and the rest, cutting a run in two
    // where needed.
    void Split(int t, int lines, int &left, int &right);
    int Merge(int left, int right);
    // Merges, joining the run at the seam when both sides have equal settings.
    int Join(int left, int right);
    // The first and the last run of a tree, as they stand under pending tags.
    TRun FirstRun(int t) const;
    TRun LastRun(int t) const;
    int Build(const std::vector<TRun> &runs, int from, int to, int depth);
    // Cuts [first, first + count) out; `f` changes that middle tree, then the
    // three are joined again.
    template <typename F>
    void WithMiddle(int first, int count, F &&f);
    bool CheckNode(int t, TTag inherited, int &lines, int &rows, int &fullRows) const;

    std::vector<TNode> nodes_;
    std::vector<int32_t> free_;
    int32_t root_ = kNone;
    uint64_t seed_ = 0x9E3779B97F4A7C15ull;
};

} // namespace tarnwick
