#include "editor/commands/caret_movement.h"

#include "editor/base/text_cells.h"
#include "editor/base/utf8.h"
#include "editor/commands/edit_target.h"
#include "editor/commands/line_edits.h"
#include "editor/document/line_cells.h"
#include "editor/highlight/styler.h"

#include <algorithm>

namespace tarnwick {

namespace {

// The characters word moves stop after: the symbols of the styler's first
// symbol style, or only the space without a styler in use.
std::u32string WordDelimiters(const TEditTarget &ed)
{
    if (ed.UseStyler() && ed.ActiveStyler())
        for (const auto &style : ed.ActiveStyler()->AllStyles())
            if (style->StyleType() == stSymbol)
                return text::Decode(style->Symbols());
    return U" ";
}

// A tab stops the word moves as the blanks it shows as would.
char32_t AsBlank(char32_t c) { return c == U'\t' ? U' ' : c; }

// From column `col` (0 < col <= n, n the columns of `t`) back to the first
// column where `stops(before, at)` holds for the characters before it and at
// it (tabs read as spaces), or to 0; reading one character at a time from
// the column's byte.
template <typename F>
int WalkBack(TLineEdits &lines, int line, std::string_view t, int col, int n, F &&stops)
{
    if (col <= 0 || col > n)
        return col;
    size_t at = lines.ByteOf(line, col);
    char32_t after = col < n ? AsBlank(text::CharAt(t, at)) : 0;
    size_t before = text::PreviousChar(t, at);
    char32_t c = AsBlank(text::CharAt(t, before));
    while (col > 0 && !stops(c, after)) {
        if (--col == 0)
            break;
        after = c;
        at = before;
        before = text::PreviousChar(t, at);
        c = AsBlank(text::CharAt(t, before));
    }
    return col;
}

} // namespace

template <typename F>
void TCaretMovement::Move(TShiftState shift, F &&move)
{
    const TCaretState &state = ed_.CaretState();
    const bool extending = shift.Contains(ssShift) && TCaretPos{state.CaretCol, state.CaretLine} == state.SelAnchor;
    move();
    if (extending)
        ed_.ExtendSelection();
    else
        ed_.CollapseSelection();
}

// Rows up or down keep the caret's cell within its row (as far as a wrapped
// row reaches), so the caret keeps its place on screen across lines of wide
// characters too.
TCaretPos TCaretMovement::RowsAway(TCaretPos from, int rows) const
{
    const TRowLayout &layout = ed_.RowLayout();
    const int lastRow = layout.RowCount() - 1;
    if (lastRow < 0)
        return {from.Col, 0};
    const int row = std::clamp(layout.RowOf(from) + rows, 0, lastRow);
    return layout.PositionAt(row, layout.CellInRow(from));
}

int TCaretMovement::ShownLineAfter(int line) const
{
    const TRowLayout &layout = ed_.RowLayout();
    const int next = ed_.VisibleIndexOf(line) + static_cast<int>(layout.RowStarts(line).size());
    return next < layout.RowCount() ? ed_.LineOfVisibleIndex(next) : line;
}

void TCaretMovement::MoveTo(TCaretPos pos)
{
    ed_.SetCaretLine(pos.Line);
    ed_.SetCaretCol(pos.Col);
}

void TCaretMovement::Arrow(int dx, int dy, TShiftState shift)
{
    Move(shift, [&] {
        if (shift.Contains(ssCtrl)) {
            if (dx < 0)
                WordLeft();
            else if (dx > 0)
                WordRight();
            return;
        }
        if (dy != 0)
            MoveTo(RowsAway({ed_.CaretCol(), ed_.CaretLine()}, dy));
        int column = SkipMarks(ed_.CaretLine(), ed_.CaretCol() + dx, dx);
        // Shift+Right stops at the line end; Right alone may go past it.
        if (shift.Contains(ssShift))
            column = std::min(column, ed_.ActiveLines()->LineLength(ed_.CaretLine()));
        ed_.SetCaretCol(column);
    });
}

// A letter and the marks drawn on it are one stop: a column before a mark
// moves on in the direction `dx` went.
int TCaretMovement::SkipMarks(int line, int column, int dx) const
{
    TLineEdits lines(ed_);
    if (dx == 0 || line < 0 || line >= lines.Count())
        return column;
    const int length = lines.Length(line);
    if (column <= 0 || column >= length)
        return column;
    const std::string_view t = lines.Text(line);
    size_t at = lines.ByteOf(line, column);
    size_t next = 0;
    while (column > 0 && column < length && cells::WidthOf(text::CharAt(t, at, &next)) == 0) {
        column += dx > 0 ? 1 : -1;
        at = dx > 0 ? next : text::PreviousChar(t, at);
    }
    return column;
}

// The moves read the characters next to the caret one by one, from the
// caret's byte on: a word's length, not the line's, is what they cost.

void TCaretMovement::WordLeft()
{
    ed_.SetCaretCol(ed_.CaretCol() - 1);
    TLineEdits lines(ed_);
    const int line = ed_.CaretLine();
    const std::string_view t = text::TrimRightBlanks(lines.Text(line));
    const int n = lines.Length(line) - text::TrailingBlanks(lines.Text(line));
    const std::u32string delimiters = WordDelimiters(ed_);
    // The word stops after a delimiter that no space follows.
    ed_.SetCaretCol(WalkBack(lines, line, t, ed_.CaretCol(), n, [&](char32_t c, char32_t after) {
        return delimiters.find(c) != std::u32string::npos && after != U' ';
    }));
}

void TCaretMovement::WordRight()
{
    TLineEdits lines(ed_);
    const int line = ed_.CaretLine();
    const std::string_view t = text::TrimRightBlanks(lines.Text(line));
    const int n = lines.Length(line) - text::TrailingBlanks(lines.Text(line));
    const std::u32string delimiters = WordDelimiters(ed_);
    int col = ed_.CaretCol() + 1;
    if (col > 0 && col < n) {
        size_t next = 0;
        char32_t before = AsBlank(text::CharAt(t, lines.ByteOf(line, col - 1), &next));
        char32_t c = AsBlank(text::CharAt(t, next, &next));
        while (col < n && (delimiters.find(before) == std::u32string::npos || c == U' ')) {
            ++col;
            before = c;
            c = AsBlank(text::CharAt(t, next, &next));
        }
    }
    // Past the text of the line the move goes on at the next line, without
    // first padding this one up to a column it then leaves.
    if (col > n && line < lines.Count() - 1) {
        ed_.SetCaretLine(ShownLineAfter(line));
        ed_.SetCaretCol(0);
        return;
    }
    ed_.SetCaretCol(col);
}

void TCaretMovement::Home(TShiftState shift)
{
    Move(shift, [&] {
        if (shift.Contains(ssCtrl)) {
            ed_.SetCaretLine(0);
            ed_.SetCaretCol(0);
        }
        if (!ed_.EnhancedHomeKey()) {
            ed_.SetCaretCol(0);
            ed_.SetLeftColumn(0);
            return;
        }
        // Each press steps back to the start of the previous blank-separated
        // word, and finally to column 0.
        TLineEdits lines(ed_);
        const int line = ed_.CaretLine();
        const std::string_view l = lines.Text(line);
        const int n = lines.Length(line);
        const int p = WalkBack(lines, line, l, std::min(ed_.CaretCol() - 1, n), n,
                               [](char32_t c, char32_t after) { return c == U' ' && after != U' '; });
        ed_.SetCaretCol(std::max(0, p));
        const int cell = CellOfColumn(*ed_.ActiveLines(), line, ed_.CaretCol());
        if (cell < ed_.LeftColumn())
            ed_.SetLeftColumn(cell);
    });
}

void TCaretMovement::End(TShiftState shift)
{
    Move(shift, [&] {
        TLineEdits lines(ed_);
        if (shift.Contains(ssCtrl)) {
            const int last = lines.Count() - 1;
            ed_.SetCaretLine(last);
            ed_.SetCaretCol(lines.Length(last));
        }
        const int line = ed_.CaretLine();
        ed_.SetCaretCol(lines.Length(line) - text::TrailingBlanks(lines.Text(line)));
    });
}

void TCaretMovement::Page(int direction, TShiftState shift)
{
    const int lineHeight = ed_.LineHeight();
    if (lineHeight <= 0)
        return;
    // A page keeps one row of the old view in sight.
    const int rows = std::max(1, ed_.TextArea().Height() / lineHeight - 1);
    const int oldTop = ed_.TopLine();
    const int oldTopRow = ed_.TopRow();
    Move(shift, [&] {
        MoveTo(RowsAway({ed_.CaretCol(), ed_.CaretLine()}, direction * rows));
        // Unwrapped, the line setter may leave the last line in the middle
        // of the view; wrapped rows go one by one.
        if (ed_.RowLayout().Wrapping())
            ed_.SetTopRow(oldTopRow + direction * rows);
        else
            ed_.SetTopLine(std::max(0, oldTop + direction * rows));
        if (!shift.Contains(ssCtrl))
            return;
        TLineEdits lines(ed_);
        if (direction < 0) {
            ed_.SetCaretLine(0);
            ed_.SetCaretCol(0);
        } else {
            const int last = lines.Count() - 1;
            ed_.SetCaretLine(last);
            ed_.SetCaretCol(lines.Length(last));
        }
    });
}

} // namespace tarnwick
