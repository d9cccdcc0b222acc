// TRowLayout: how the lines of the text fall into rows of the view. A line
// shows in one row, in none while folded away, or, with word wrap on, in as
// many rows as it needs at the wrap width. Wrapping never touches the text:
// lines, columns, character indexes and the undo history are those of the
// unwrapped text, and only painting, scrolling, the caret's vertical moves
// and the mouse go through rows.
//
// The rows each line takes live in the fold regions' row map beside what
// folding hides, so a line and its first row convert both ways in O(log runs).
// Where a wrapped line's rows start is worked out when one of them is drawn
// or reached, and kept for the lines asked last.
#pragma once

#include "editor/base/editor_types.h"
#include "editor/base/graphics_types.h"
#include "editor/document/lines_listener.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarnwick {

class TFoldRegions;
class TEditorView;
struct TViewModel;

// Where the pieces of one line start (byte offsets, the first is 0) when it
// is wrapped at `width` grid cells: whole words stay together, a piece ends
// with the blank (space or tab) after its last word, and a word that would
// make the piece reach `width` cells starts the next one. A word of `width`
// cells or more is cut after the characters that fit, so a tab that does not
// fit starts the next piece. Tab stops count from the start of the line, on
// every piece; a tab size of 0 gives each tab one cell.
std::vector<size_t> WrapPieceStarts(std::string_view text, int width, int tabSize = 0);

// What one row of the view shows: columns [Start, End) of `Line`, the
// `Index`-th of its rows. The last row of a line ends at the line's end.
struct TRowSpan {
    int Line = 0;
    int Index = 0;
    int Start = 0;
    int End = 0;
    bool Last = true;
};

class TRowLayout {
public:
    // The rows are recorded in the row map of `rows`.
    TRowLayout(TEditorView &view, TFoldRegions &rows);

    // The width lines are wrapped at, in cells; 0 while lines are not wrapped.
    int WrapWidth() const { return width_; }
    bool Wrapping() const { return width_ > 0; }

    // Works the wrap width out from the mode and the view again, and lays
    // every line out anew when it or the tab size changed or `force` is set.
    void Relayout(bool force);
    // After a change of the text: the rows of the lines it touched.
    void LinesChanged(const TLinesChange &change);

    // The columns at which the rows of `line` start; {0} for one row.
    const std::vector<int> &RowStarts(int line) const;

    // ---- rows, counted from the first row of the text ----
    int RowCount() const;
    // What row `row` shows; a row past the end gives a line past the end.
    TRowSpan SpanOfRow(int row) const;
    // The row showing `pos`; on a hidden line, the first row of the shown
    // line above it. A column at a row break belongs to the row it starts.
    int RowOf(TCaretPos pos) const;
    // The cell at which `pos` stands, counted from the start of its row.
    int CellInRow(TCaretPos pos) const;
    // The position in `row` standing for `cell` cells from the row's start;
    // never past the row's end except on a line's last row.
    TCaretPos PositionAt(int row, int cell) const;
    // The cell at which row span `span` starts within its line.
    int FirstCellOf(const TRowSpan &span) const;
    // The top left pixel of the cell where `pos` shows, in the control's
    // client area (outside the text area while `pos` is out of view).
    TPoint CellOrigin(TCaretPos pos) const;

private:
    int ComputeWidth() const;
    // The row starts of a line longer than the wrap width.
    std::vector<int> ComputeStarts(int line) const;
    void UpdateRows(int first, int count);

    TEditorView &view_;
    const TViewModel &data_;
    TFoldRegions &rows_;
    int width_ = 0;
    int tabSize_ = 0;
    // Row starts of wrapped lines, by line; emptied whenever lines move.
    mutable std::unordered_map<int, std::vector<int>> starts_;
    const std::vector<int> oneRow_{0};
};

} // namespace tarnwick
