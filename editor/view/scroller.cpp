#include "editor/view/scroller.h"

#include "editor/document/line_cells.h"
#include "editor/platform/host.h"
#include "editor/view/view_target.h"

#include <algorithm>
#include <string>

namespace tarnwick {

namespace {

constexpr int kHintMaxWidth = 100;
constexpr int kHintOffset = 10;

bool AllowsVertical(TScrollStyle s) { return s == ssVertical || s == ssBoth; }
bool AllowsHorizontal(TScrollStyle s) { return s == ssHorizontal || s == ssBoth; }

} // namespace

void TDodiScroller::TopLeftChanged()
{
    if (ed_.OnTopLeftChanged)
        ed_.OnTopLeftChanged(ed_.Sender());
}

// Rows of the text through the row layout.
static int TextRows(const TViewTarget &ed) { return ed.RowLayout().RowCount(); }

int TDodiScroller::TopRowLimit() const { return std::max(0, TextRows(ed_) - ed_.VisibleRows()); }

// The horizontal bar spans cells. Lines are measured in characters, so the
// widest line in view (wide characters take two cells, tabs up to the next
// stop) may reach further than the longest one.
static int WidestCells(const TViewTarget &ed)
{
    const REdoDodiStrings &store = *ed.ActiveLines();
    int widest = ed.MaxLineLength();
    const int top = ed.TopRow();
    for (int row = 0; row <= ed.VisibleRows(); ++row) {
        const int line = ed.LineOfVisibleIndex(top + row);
        if (line < 0 || line >= store.Count())
            break;
        widest = std::max(widest, LineCells(store, line));
    }
    return widest;
}

int TDodiScroller::LeftColumnLimit() const
{
    const int columns = ed_.VisibleColumns();
    const int longest = WidestCells(ed_);
    return longest > columns ? longest - columns + 1 : 0;
}

void TDodiScroller::SetTopLine(int line)
{
    TViewState &st = ed_.ViewState();
    const int count = ed_.ActiveLines()->Count();
    const int textRows = TextRows(ed_);
    const int rows = ed_.VisibleRows();
    const int entry = ed_.TopRow();
    // A text shorter than the view is shown from its first line; the caret
    // stays where the user put it.
    if (textRows < rows) {
        if (entry != 0) {
            ed_.SetTopRowDirect(0);
            ed_.VertScrollBar().SetPosition(0);
            ed_.Invalidate();
        }
        return;
    }
    if (line >= 0) {
        const bool lineRows = ed_.RowLayout().Wrapping() || (ed_.CodeFolding()->Enabled() && st.FoldRegionCount > 0);
        if (ed_.VisibleIndexOf(line) + rows < textRows) {
            ed_.SetTopRowDirect(ed_.VisibleIndexOf(line));
        } else if (lineRows) {
            ed_.SetTopRowDirect(std::max(0, textRows - rows));
        } else {
            // The last line ends up in the middle of the view.
            ed_.SetTopRowDirect(std::max(0, count - rows / 2));
        }
        ed_.VertScrollBar().SetPosition(ed_.TopRow());
        ed_.Invalidate();
    }
    if (ed_.TopRow() != entry)
        TopLeftChanged();
}

void TDodiScroller::SetTopRow(int row)
{
    row = std::clamp(row, 0, TopRowLimit());
    if (row == ed_.TopRow())
        return;
    ed_.SetTopRowDirect(row);
    ed_.VertScrollBar().SetPosition(row);
    ed_.Invalidate();
    TopLeftChanged();
}

void TDodiScroller::SetLeftColumn(int column)
{
    TViewState &st = ed_.ViewState();
    column = std::max(0, column);
    if (st.LeftColumn < 0 || column == st.LeftColumn)
        return;
    st.LeftColumn = column;
    ed_.HorzScrollBar().SetPosition(column);
    ed_.Invalidate();
    TopLeftChanged();
}

void TDodiScroller::ScrollBy(TScrollBarKind bar, int delta)
{
    TViewState &st = ed_.ViewState();
    if (bar == sbVertical) {
        const int row = std::clamp(ed_.TopRow() + delta, 0, TopRowLimit());
        if (row == ed_.TopRow())
            return;
        ed_.SetTopRowDirect(row);
        ed_.VertScrollBar().SetPosition(row);
    } else {
        const int column = std::clamp(st.LeftColumn + delta, 0, LeftColumnLimit());
        if (column == st.LeftColumn)
            return;
        st.LeftColumn = column;
        ed_.HorzScrollBar().SetPosition(column);
    }
    ed_.Invalidate();
    TopLeftChanged();
}

void TDodiScroller::MakeCaretVisible()
{
    TCaretState &caret = ed_.CaretState();
    TViewState &view = ed_.ViewState();
    const TScrollStyle bars = ed_.ScrollBars();
    const bool strict = ed_.ScrollMode() == smStrict;
    bool changed = false;

    const TRowLayout &layout = ed_.RowLayout();
    const TCaretPos at{caret.CaretCol, caret.CaretLine};
    const int columns = ed_.VisibleColumns();
    if (columns > 0) {
        const REdoDodiStrings &store = *ed_.ActiveLines();
        const int caretCell = layout.CellInRow(at);
        const int lastColumn = view.LeftColumn + columns - 1;
        if (caretCell < view.LeftColumn) {
            view.LeftColumn = std::max(0, caretCell - 2);
            changed = true;
        } else if (caretCell > lastColumn) {
            if (!AllowsHorizontal(bars) && strict) {
                // The last character that starts in view.
                int column = ColumnOfCell(store, caret.CaretLine, lastColumn);
                while (column > 0 && CellOfColumn(store, caret.CaretLine, column) > lastColumn)
                    --column;
                caret.CaretCol = column;
            } else {
                view.LeftColumn = std::max(0, view.LeftColumn + caretCell - lastColumn + 2);
            }
            changed = true;
        }
    }

    const int rows = ed_.VisibleRows();
    if (rows > 0) {
        const int caretRow = layout.RowOf(at);
        const int topRow = ed_.TopRow();
        const int lastRow = topRow + rows - 1;
        if (caretRow < topRow) {
            ed_.SetTopRowDirect(std::max(0, caretRow));
            changed = true;
        } else if (caretRow > lastRow) {
            if (!AllowsVertical(bars) && strict)
                caret.CaretLine = layout.SpanOfRow(lastRow).Line;
            else
                ed_.SetTopRowDirect(topRow + caretRow - lastRow);
            changed = true;
        }
    }

    if (!changed)
        return;
    ed_.VertScrollBar().SetPosition(ed_.TopRow());
    ed_.HorzScrollBar().SetPosition(view.LeftColumn);
    ed_.Invalidate();
    TopLeftChanged();
}

void TDodiScroller::SuspendUpdates(bool suspend) { ed_.ViewState().ScrollBarUpdatesSuspended = suspend; }

void TDodiScroller::UpdateBarsOnce(bool &changed)
{
    TCaretState &caret = ed_.CaretState();
    TViewState &view = ed_.ViewState();
    TDodiScrollBar &vert = ed_.VertScrollBar();
    TDodiScrollBar &horz = ed_.HorzScrollBar();
    const bool wasVertical = vert.Visible();
    const bool wasHorizontal = horz.Visible();
    const TScrollStyle bars = ed_.ScrollBars();
    if (AllowsVertical(bars)) {
        const int rows = ed_.VisibleRows();
        const int textRows = TextRows(ed_);
        if (rows < 1 || textRows <= rows) {
            vert.SetPageSize(0);
            if (ed_.TopRow() != 0) {
                ed_.SetTopRowDirect(0);
                ed_.Invalidate();
                TopLeftChanged();
            }
            vert.SetVisible(false);
        } else {
            vert.SetRange(0, textRows - 1);
            vert.SetPageSize(rows);
            vert.SetPosition(ed_.TopRow());
            vert.SetExtent(vert.SystemExtent());
            vert.SetVisible(true);
        }
    }

    if (AllowsHorizontal(bars) && ed_.WordWrap() == wwNone) {
        const int columns = ed_.VisibleColumns();
        const int widest = WidestCells(ed_);
        if (columns > 0 && columns < widest) {
            horz.SetRange(0, widest);
            horz.SetPageSize(columns + 1);
            horz.SetExtent(horz.SystemExtent());
            horz.SetPosition(view.LeftColumn);
            horz.SetVisible(true);
        } else {
            if (caret.CaretCol <= columns) {
                horz.SetVisible(false);
                horz.SetPageSize(0);
            }
            if (view.LeftColumn != 0) {
                view.LeftColumn = 0;
                ed_.Invalidate();
                TopLeftChanged();
            }
        }
    }
    changed = vert.Visible() != wasVertical || horz.Visible() != wasHorizontal;
}

void TDodiScroller::UpdateScrollBars(bool repaint)
{
    const TScrollStyle bars = ed_.ScrollBars();
    if (!AllowsVertical(bars))
        ed_.VertScrollBar().SetVisible(false);
    if (!AllowsHorizontal(bars) || ed_.WordWrap() != wwNone)
        ed_.HorzScrollBar().SetVisible(false);
    // Without a measured font there is no view to fit the bars to yet.
    if (ed_.ViewState().ScrollBarUpdatesSuspended || updateDepth_ > 0 || ed_.LineHeight() <= 0 || ed_.CharWidth() <= 0)
        return;

    ++updateDepth_;
    // Each bar takes room from the other's direction; showing bars only ever
    // shrinks the view, so this settles within a few passes.
    for (int pass = 0; pass < 4; ++pass) {
        bool changed = false;
        UpdateBarsOnce(changed);
        if (!changed)
            break;
    }
    --updateDepth_;

    if (repaint) {
        ed_.InvalidateGutter();
        ed_.InvalidateRect(ed_.TextArea());
    }
    if (AllowsVertical(bars))
        ApplyVerticalBar();
    if (AllowsHorizontal(bars))
        ApplyHorizontalBar();
}

void TDodiScroller::ApplyVerticalBar()
{
    TDodiScrollBar &vert = ed_.VertScrollBar();
    if (!vert.Visible())
        return;
    int position = vert.Position();
    const int limit = vert.Max() - vert.PageSize() + 1;
    if (vert.PageSize() > 0 && position > limit) {
        position = limit;
        vert.SetPosition(position);
    }
    if (position == ed_.TopRow())
        return;
    ed_.SetTopRowDirect(position);
    ed_.Invalidate();
    TopLeftChanged();
}

void TDodiScroller::ApplyHorizontalBar()
{
    TDodiScrollBar &horz = ed_.HorzScrollBar();
    if (!horz.Visible())
        return;
    TViewState &st = ed_.ViewState();
    int position = horz.Position();
    // One column more than the vertical rule, so the end of the longest line
    // is followed by a free cell.
    if (horz.PageSize() > 0 && position > horz.Max() - horz.PageSize() + 1) {
        position = horz.Max() - horz.PageSize() + 2;
        horz.SetPosition(position);
    }
    if (position == st.LeftColumn)
        return;
    st.LeftColumn = position;
    ed_.Invalidate();
    TopLeftChanged();
}

void TDodiScroller::LayoutChanged()
{
    if (!ed_.GetHost() || ed_.Loading() || ed_.CharWidth() <= 0 || ed_.LineHeight() <= 0) {
        ed_.Invalidate();
        return;
    }
    TViewState &view = ed_.ViewState();
    // A new wrap width moves the rows; the view keeps the text at its top.
    const TCaretPos top{ed_.RowLayout().SpanOfRow(ed_.TopRow()).Start, view.TopLine};
    ed_.Rewrap();
    const int topRow = ed_.RowLayout().RowOf(top);
    ed_.SetTopRowDirect(topRow);
    UpdateScrollBars(false);
    ed_.Gutter()->SetHeight(ed_.TextArea().Height());
    MakeCaretVisible();
    // Only as far as the new size allows: a grown view must not keep the
    // text scrolled out of reach.
    ed_.SetTopRowDirect(std::min(topRow, TopRowLimit()));
    ed_.VertScrollBar().SetPosition(ed_.TopRow());
    ed_.Invalidate();
}

void TDodiScroller::MouseWheel(bool down)
{
    const int rows = ed_.VisibleRows();
    const int topRow = ed_.TopRow();
    if (!down) {
        SetTopRow(topRow - kWheelRows);
    } else if (topRow + rows < TextRows(ed_)) {
        // Whole lines go by the line setter, which may leave the last line
        // in the middle of the view; rows of wrapped lines one by one.
        if (ed_.RowLayout().Wrapping())
            SetTopRow(topRow + kWheelRows);
        else
            SetTopLine(ed_.LineOfVisibleIndex(topRow + kWheelRows));
    }
    ed_.PlaceCaret();
}

void TDodiScroller::BarScrolled(TScrollBarKind kind, TScrollCode code, int position)
{
    Host *host = ed_.GetHost();
    if (host && !host->Focused())
        host->SetFocus();
    TDodiScrollBar &bar = kind == sbVertical ? ed_.VertScrollBar() : ed_.HorzScrollBar();
    const int current = bar.Position();
    const int page = kind == sbVertical ? ed_.VisibleRows() : ed_.VisibleColumns();
    int requested = current;
    switch (code) {
    case scLineUp:
        requested = current - bar.SmallChange();
        break;
    case scLineDown:
        requested = current + bar.SmallChange();
        break;
    case scPageUp:
        requested = current - page;
        break;
    case scPageDown:
        requested = current + page;
        break;
    case scTop:
        requested = bar.Min();
        break;
    case scBottom:
        requested = bar.Max();
        break;
    case scPosition:
        requested = position;
        break;
    case scTrack:
        requested = position;
        if (kind == sbVertical && ed_.ScrollHint())
            ShowScrollHint(position);
        break;
    case scEndScroll:
        if (kind == sbVertical && ed_.ScrollHint())
            HideScrollHint();
        break;
    }
    ScrollBy(kind, requested - current);
    ed_.Invalidate();
}

void TDodiScroller::ShowScrollHint(int position)
{
    Host *host = ed_.GetHost();
    PopupWindow *hint = ed_.ScrollHintWindow();
    if (!host || !hint)
        return;
    std::string text = "Row : " + std::to_string(position + 1);
    if (ed_.OnScrollHint)
        ed_.OnScrollHint(ed_.Sender(), position + 1, text);

    const TFont font;
    Canvas &measure = host->MeasuringCanvas();
    measure.SetFont(font);
    const TSize size = measure.TextExtent(text.empty() ? " " : text);
    const TPoint mouse = host->CursorPos();
    const int width = std::min(kHintMaxWidth, size.cx + 8);
    hint->SetFont(font);
    hint->SetColor(clInfoBk);
    hint->SetBounds({mouse.x + kHintOffset, mouse.y, mouse.x + kHintOffset + width, mouse.y + size.cy + 4});
    hint->OnPaint = [text, font](Canvas &canvas, const TRect &client) {
        canvas.SetBrushColor(clInfoBk);
        canvas.FillRect(client);
        TFont textFont = font;
        textFont.Color = clInfoText;
        canvas.SetFont(textFont);
        canvas.TextOut(4, 2, text);
    };
    hint->Invalidate();
    if (!hint->Visible())
        hint->Show();
}

void TDodiScroller::HideScrollHint()
{
    if (PopupWindow *hint = ed_.ScrollHintWindow())
        hint->Hide();
}

void TDodiScroller::SetActiveLine(int line)
{
    ed_.ViewState().ActiveLine = line;
    const TDodiActiveLineSettings &settings = *ed_.ActiveLineSettings();
    if (settings.ShowActiveLineIndicator() && !settings.ShowActiveLine() && ed_.Gutter()->Visible())
        ed_.InvalidateRect({0, 0, ed_.Gutter()->GutterWidth(), ed_.Height()});
    if (!settings.ShowActiveLine())
        return;
    MakeCaretVisible();
    const int row = ed_.VisibleIndexOf(line) - ed_.TopRow();
    if (row < 0 || row >= ed_.VisibleRows())
        SetTopLine(line);
    ed_.Invalidate();
}

} // namespace tarnwick
