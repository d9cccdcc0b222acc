#include "editor/view/row_layout.h"

#include "editor/base/text_cells.h"
#include "editor/base/utf8.h"
#include "editor/document/fold_regions.h"
#include "editor/document/line_cells.h"
#include "editor/document/line_store.h"
#include "editor/view/editor_view.h"
#include "editor/view/view_settings.h"
#include "editor/view/view_state.h"

#include <algorithm>

namespace tarnwick {

// The bytes and cells of the characters of `rest`, which starts at cell `at`
// of its line, that fit into `width` cells: at least one character, so a
// wide one or a tab in a narrow width still makes progress.
static void CutAtWidth(std::string_view rest, int at, int width, int tabSize, size_t &head, int &headCells)
{
    head = utf8::ByteOffset(rest, std::max(1, cells::ColumnsWithin(rest, width, tabSize, at)));
    headCells = cells::Count(rest.substr(0, head), tabSize, at);
}

std::vector<size_t> WrapPieceStarts(std::string_view text, int width, int tabSize)
{
    std::vector<size_t> starts{0};
    if (width <= 0)
        return starts;
    const int lineCells = cells::Count(text, tabSize);
    size_t restStart = 0;
    int restCell = 0; // the cell of the line where the rest starts
    while (lineCells - restCell > width) {
        const std::string_view rest = text.substr(restStart);
        size_t head = 0;
        int headLength = 0;
        for (;;) {
            const size_t blank = rest.find_first_of(" \t", head);
            if (blank == std::string_view::npos)
                break;
            const int wordLength = cells::Count(rest.substr(head, blank + 1 - head), tabSize, restCell + headLength);
            if (headLength + wordLength < width) {
                head = blank + 1;
                headLength += wordLength;
                continue;
            }
            if (headLength == 0)
                CutAtWidth(rest, restCell, width, tabSize, head, headLength);
            break;
        }
        if (headLength == 0)
            CutAtWidth(rest, restCell, width, tabSize, head, headLength);
        restStart += head;
        restCell += headLength;
        starts.push_back(restStart);
    }
    return starts;
}

TRowLayout::TRowLayout(TEditorView &view, TFoldRegions &rows) : view_(view), data_(view.Model()), rows_(rows) {}

// ---- laying lines out ----

int TRowLayout::ComputeWidth() const
{
    switch (data_.Settings->WordWrap) {
    case wwClientWidth:
        return std::max(0, view_.VisibleColumns() - 1);
    case wwRightMargin:
        return std::max(0, data_.Settings->RightMargin);
    case wwNone:
        break;
    }
    return 0;
}

std::vector<int> TRowLayout::ComputeStarts(int line) const
{
    const std::string_view text = view_.Lines().Get(line);
    std::vector<int> columns;
    int column = 0;
    size_t at = 0;
    for (const size_t start : WrapPieceStarts(text, width_, view_.Lines().TabSize())) {
        column += utf8::Length(text.substr(at, start - at));
        at = start;
        columns.push_back(column);
    }
    return columns;
}

const std::vector<int> &TRowLayout::RowStarts(int line) const
{
    const REdoDodiStrings &store = view_.Lines();
    if (!Wrapping() || line < 0 || line >= store.Count())
        return oneRow_;
    // Most lines fit, which their length tells without reading their text:
    // no character takes more cells than a tab or a wide character.
    const long long widest = static_cast<long long>(store.LineLength(line)) * std::max(2, store.TabSize());
    if (widest <= width_ || LineCells(store, line) <= width_)
        return oneRow_;
    if (const auto found = starts_.find(line); found != starts_.end())
        return found->second;
    // A view's worth of wrapped lines, and then some, is what gets asked again.
    constexpr size_t kKeptLines = 4096;
    if (starts_.size() >= kKeptLines)
        starts_.clear();
    return starts_.emplace(line, ComputeStarts(line)).first->second;
}

void TRowLayout::UpdateRows(int first, int count)
{
    const int n = view_.Lines().Count();
    if (rows_.LineCount() != n)
        return;
    const TRowMap &map = rows_.Rows();
    for (int line = std::max(first, 0); line < std::min(first + count, n); ++line) {
        const int rows = static_cast<int>(RowStarts(line).size());
        if (map.RowsPerLine(line) != rows)
            rows_.SetLineRows(line, 1, rows);
    }
}

void TRowLayout::Relayout(bool force)
{
    const int width = ComputeWidth();
    const int tabSize = view_.Lines().TabSize();
    if (width == width_ && tabSize == tabSize_ && !force)
        return;
    width_ = width;
    tabSize_ = tabSize;
    starts_.clear();
    const REdoDodiStrings &store = view_.Lines();
    const int n = store.Count();
    if (rows_.LineCount() != n)
        return;
    rows_.SetLineRows(0, n, 1);
    if (!Wrapping())
        return;
    // Lines that fit are most; the others are set a run of equal counts at
    // a time.
    int runStart = 0, runRows = 1;
    for (int line = 0; line <= n; ++line) {
        const int rows = line == n ? 1 : static_cast<int>(RowStarts(line).size());
        if (rows == runRows && line < n)
            continue;
        if (runRows > 1)
            rows_.SetLineRows(runStart, line - runStart, runRows);
        runStart = line;
        runRows = rows;
    }
}

void TRowLayout::LinesChanged(const TLinesChange &change)
{
    switch (change.Kind) {
    case TLinesChange::lcEdit:
        starts_.erase(change.Line);
        if (Wrapping())
            UpdateRows(change.Line, 1);
        break;
    case TLinesChange::lcInsert:
        starts_.clear();
        if (Wrapping())
            UpdateRows(change.Line, change.Count);
        break;
    case TLinesChange::lcRemove:
        starts_.clear();
        break;
    case TLinesChange::lcEnds:
        break;
    default:
        Relayout(true);
        break;
    }
}

// ---- rows ----

int TRowLayout::RowCount() const
{
    const int n = view_.Lines().Count();
    if (n == 0)
        return 0;
    const int lastRow = view_.VisibleIndexOf(n - 1);
    return lastRow + static_cast<int>(RowStarts(view_.LineOfVisibleIndex(lastRow)).size());
}

TRowSpan TRowLayout::SpanOfRow(int row) const
{
    const REdoDodiStrings &store = view_.Lines();
    const int line = view_.LineOfVisibleIndex(row);
    if (line < 0 || line >= store.Count())
        return {line, 0, 0, 0, true};
    const std::vector<int> &starts = RowStarts(line);
    const int last = static_cast<int>(starts.size()) - 1;
    const int index = std::clamp(row - view_.VisibleIndexOf(line), 0, last);
    const int end = index < last ? starts[index + 1] : store.LineLength(line);
    return {line, index, starts[index], end, index == last};
}

int TRowLayout::RowOf(TCaretPos pos) const
{
    const int first = view_.VisibleIndexOf(pos.Line);
    if (!Wrapping() || pos.Line < 0 || pos.Line >= view_.Lines().Count() || view_.LineOfVisibleIndex(first) != pos.Line)
        return first;
    const std::vector<int> &starts = RowStarts(pos.Line);
    return first + static_cast<int>(std::upper_bound(starts.begin() + 1, starts.end(), pos.Col) - starts.begin()) - 1;
}

int TRowLayout::FirstCellOf(const TRowSpan &span) const
{
    return span.Start > 0 ? CellOfColumn(view_.Lines(), span.Line, span.Start) : 0;
}

int TRowLayout::CellInRow(TCaretPos pos) const
{
    const REdoDodiStrings &store = view_.Lines();
    const int cell = CellOfColumn(store, pos.Line, pos.Col);
    if (!Wrapping() || pos.Line < 0 || pos.Line >= store.Count())
        return cell;
    const std::vector<int> &starts = RowStarts(pos.Line);
    const int start = *(std::upper_bound(starts.begin() + 1, starts.end(), pos.Col) - 1);
    return cell - (start > 0 ? CellOfColumn(store, pos.Line, start) : 0);
}

TPoint TRowLayout::CellOrigin(TCaretPos pos) const
{
    const TRect text = view_.TextArea();
    return {text.left + (CellInRow(pos) - data_.View->LeftColumn) * data_.View->CharWidth,
            text.top + (RowOf(pos) - view_.TopRow()) * data_.View->LineHeight};
}

TCaretPos TRowLayout::PositionAt(int row, int cell) const
{
    const REdoDodiStrings &store = view_.Lines();
    const TRowSpan span = SpanOfRow(row);
    if (span.Line < 0 || span.Line >= store.Count())
        return {std::max(0, cell), span.Line};
    int column = ColumnOfCell(store, span.Line, FirstCellOf(span) + std::max(0, cell));
    // The column at a break would show at the start of the next row.
    if (!span.Last)
        column = std::min(column, span.End - 1);
    return {column, span.Line};
}

} // namespace tarnwick
