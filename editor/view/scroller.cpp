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

// Rows of the text through the visible-row mapping.
static int TextRows(const TViewTarget &ed)
{
    const int count = ed.ActiveLines()->Count();
    return count == 0 ? 0 : ed.VisibleIndexOf(count - 1) + 1;
}

int TDodiScroller::TopLineLimit() const
{
    const int limitIndex = std::max(0, TextRows(ed_) - ed_.VisibleRows());
    return ed_.LineOfVisibleIndex(limitIndex);
}

// The horizontal bar spans cells. Lines are measured in characters, so the
// widest line in view (wide characters take two cells) may reach further
// than the longest one.
static int WidestCells(const TViewTarget &ed)
{
    const REdoDodiStrings &store = *ed.ActiveLines();
    int widest = ed.MaxLineLength();
    const int top = ed.VisibleIndexOf(ed.TopLine());
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
    const int rows = ed_.VisibleRows();
    const int entry = st.TopLine;
    // A text shorter than the view is shown from its first line; the caret
    // stays where the user put it.
    if (count < rows) {
        if (st.TopLine != 0) {
            st.TopLine = 0;
            ed_.VertScrollBar().SetPosition(0);
            ed_.Invalidate();
        }
        return;
    }
    if (line >= 0) {
        if (line + rows < count) {
            st.TopLine = line;
        } else if (ed_.CodeFolding()->Enabled() && st.FoldRegionCount > 0) {
            st.TopLine = ed_.LineOfVisibleIndex(std::max(0, ed_.VisibleIndexOf(count - 1) - rows + 1));
        } else {
            // The last line ends up in the middle of the view.
            st.TopLine = std::max(0, count - rows / 2);
        }
        ed_.VertScrollBar().SetPosition(ed_.VisibleIndexOf(st.TopLine));
        ed_.Invalidate();
    }
    if (line != entry)
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
        const int limit = ed_.VisibleIndexOf(TopLineLimit());
        const int index = std::clamp(ed_.VisibleIndexOf(st.TopLine) + delta, 0, std::max(0, limit));
        const int line = ed_.LineOfVisibleIndex(index);
        if (line == st.TopLine)
            return;
        st.TopLine = line;
        ed_.VertScrollBar().SetPosition(index);
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

    const int columns = ed_.VisibleColumns();
    if (columns > 0) {
        const REdoDodiStrings &store = *ed_.ActiveLines();
        const int caretCell = CellOfColumn(store, caret.CaretLine, caret.CaretCol);
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
        const int caretIndex = ed_.VisibleIndexOf(caret.CaretLine);
        const int topIndex = ed_.VisibleIndexOf(view.TopLine);
        const int lastIndex = topIndex + rows - 1;
        if (caretIndex < topIndex) {
            view.TopLine = std::max(0, caret.CaretLine);
            changed = true;
        } else if (caretIndex > lastIndex) {
            if (!AllowsVertical(bars) && strict)
                caret.CaretLine = ed_.LineOfVisibleIndex(lastIndex);
            else
                view.TopLine = ed_.LineOfVisibleIndex(topIndex + caretIndex - lastIndex);
            changed = true;
        }
    }

    if (!changed)
        return;
    ed_.VertScrollBar().SetPosition(ed_.VisibleIndexOf(view.TopLine));
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
    const int count = ed_.ActiveLines()->Count();

    if (AllowsVertical(bars)) {
        const int rows = ed_.VisibleRows();
        if (rows < 1 || TextRows(ed_) <= rows) {
            vert.SetPageSize(0);
            if (view.TopLine != 0) {
                view.TopLine = 0;
                ed_.Invalidate();
                TopLeftChanged();
            }
            vert.SetVisible(false);
        } else {
            vert.SetRange(0, ed_.VisibleIndexOf(count - 1));
            vert.SetPageSize(rows);
            vert.SetPosition(ed_.VisibleIndexOf(view.TopLine));
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
    TViewState &st = ed_.ViewState();
    int position = vert.Position();
    const int limit = vert.Max() - vert.PageSize() + 1;
    if (vert.PageSize() > 0 && position > limit) {
        position = limit;
        vert.SetPosition(position);
    }
    const int line = ed_.LineOfVisibleIndex(position);
    if (line == st.TopLine)
        return;
    st.TopLine = line;
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
    TCaretState &caret = ed_.CaretState();
    TViewState &view = ed_.ViewState();
    const REdoDodiStrings &store = *ed_.ActiveLines();
    const bool wrapped = ed_.WordWrap() != wwNone;
    const int oldTop = view.TopLine;
    const int oldCount = store.Count();
    // Rewrapping renumbers the lines; the caret keeps its place in the text.
    const int caretOffset = wrapped ? ed_.IndexOfPosition({caret.CaretCol, caret.CaretLine}) : 0;

    ed_.Rewrap();
    if (wrapped) {
        const TCaretPos moved = ed_.PositionOfIndex(caretOffset);
        caret.CaretCol = moved.Col;
        caret.CaretLine = moved.Line;
    } else {
        UpdateScrollBars(false);
    }
    ed_.Gutter()->SetHeight(ed_.TextArea().Height());
    MakeCaretVisible();
    if (store.Count() == oldCount || !wrapped) {
        // Only as far as the new size allows: a grown view must not keep
        // the text scrolled out of reach.
        view.TopLine = std::min(oldTop, TopLineLimit());
        ed_.VertScrollBar().SetPosition(ed_.VisibleIndexOf(view.TopLine));
    }
    ed_.Invalidate();
}

void TDodiScroller::MouseWheel(bool down)
{
    const int rows = ed_.VisibleRows();
    const int topIndex = ed_.VisibleIndexOf(ed_.TopLine());
    if (down) {
        if (topIndex + rows < TextRows(ed_))
            SetTopLine(ed_.LineOfVisibleIndex(topIndex + kWheelRows));
    } else if (topIndex > kWheelRows) {
        SetTopLine(ed_.LineOfVisibleIndex(topIndex - kWheelRows));
    } else if (rows < TextRows(ed_)) {
        SetTopLine(0);
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

} // namespace tarnwick
