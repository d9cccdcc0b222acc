#include "editor/view/painter.h"

#include "editor/document/line_cells.h"
#include "editor/platform/host.h"
#include "editor/view/fold_marks.h"
#include "editor/view/view_target.h"

#include <algorithm>
#include <typeinfo>

namespace tarnwick {

namespace {

constexpr int kLeftMargin = 2;
constexpr TColor kScrollBarColor = clSystemColor | 0x00;
constexpr TColor kDefaultPenColor = clGray;
constexpr TColor kSunkenInner = 0xD0D0D0;

void FillWith(Canvas &canvas, const TRect &r, TColor color)
{
    canvas.SetPen({color, 1, psSolid});
    canvas.SetBrushColor(color);
    canvas.FillRect(r);
}

} // namespace

TDodiPainter::TDodiPainter(TViewTarget &editor) : ed_(editor), renderer_(editor, editor.Tokenizer()) {}

void TDodiPainter::Paint(Canvas &canvas)
{
    REdoDodiStrings &store = *ed_.ActiveLines();
    if (store.LockCount() > 0)
        return;
    if (ed_.LineHeight() == 0)
        ed_.SetFont(ed_.Font());
    if (ed_.LineHeight() <= 0 || ed_.CharWidth() <= 0)
        return;

    // Regions a finder has not read since the last edits, before the layout.
    ed_.UpdateFoldRegions(false);
    painting_ = true;
    const TRect text = ed_.TextArea();
    PrepareLineBitmap(canvas, text);

    const TRect fold = ed_.FoldColumn();
    if (!fold.IsEmpty())
        FillWith(canvas, {fold.left - 2, fold.top, fold.right, fold.bottom}, ed_.BkColor());
    if (!fold.IsEmpty() && ed_.FoldRegions().RegionCount() > 0) {
        const TCodeFolding &folding = *ed_.CodeFolding();
        const TFoldLook look{folding.LineColor(), ed_.BkColor(), folding.ExpandGlyph().get(),
                             folding.CollapsedGlyph().get()};
        PaintFoldColumn(canvas, ed_.FoldRegions(), ed_.RowLayout(), fold, ed_.TopRow(), ed_.VisibleRows(),
                        ed_.LineHeight(), look);
    }

    TDodiGutter &gutter = *ed_.Gutter();
    if (gutter.GutterWidth() > 1 && gutter.Visible()) {
        gutter.SetHeight(text.Height());
        ed_.PaintGutter(canvas);
    }
    if (text.top < 2)
        FillWith(canvas, {text.left, text.top, text.right, 2}, ed_.BkColor());

    PaintLines(canvas, text);
    PaintMargins(canvas, text);
    PaintBorder(canvas);
    painting_ = false;
    PlaceCaret();
}

void TDodiPainter::PrepareLineBitmap(Canvas &canvas, const TRect &textArea)
{
    const int width = std::max(0, textArea.Width());
    if (!lineBitmap_ || bitmapMaker_ != std::type_index(typeid(canvas))) {
        lineBitmap_ = canvas.CreateBitmap(width, ed_.LineHeight());
        bitmapMaker_ = std::type_index(typeid(canvas));
    } else if (lineBitmap_->Width() != width || lineBitmap_->Height() != ed_.LineHeight()) {
        lineBitmap_->SetSize(width, ed_.LineHeight());
    }
    lineBitmap_->GetCanvas().SetFont(ed_.Font());
}

// Every row of a line is drawn from the tokenizer state at the line's start;
// the last one carries the state on to the next line.
void TDodiPainter::PaintLines(Canvas &canvas, const TRect &text)
{
    const REdoDodiStrings &store = *ed_.ActiveLines();
    const TRowLayout &layout = ed_.RowLayout();
    RunState state = ed_.TopLineState();
    RunState lineStart = state;

    const int lineHeight = ed_.LineHeight();
    const int rows = ed_.VisibleRows();
    const int topRow = ed_.TopRow();
    const int count = store.Count();
    int row = 0;
    for (int previous = -1; row <= rows; ++row) {
        const TRowSpan span = layout.SpanOfRow(topRow + row);
        if (span.Line >= count)
            break;
        if (span.Line != previous) {
            // Past a collapsed region the state comes from the lines it hides.
            if (previous >= 0 && span.Line != previous + 1)
                state = ed_.ComputeTopState(span.Line);
            previous = span.Line;
            lineStart = state;
        }
        state = lineStart;
        const TRowCells cells = layout.Wrapping() ? TRowCells{layout.FirstCellOf(span),
                                                              span.Last ? -1 : CellOfColumn(store, span.Line, span.End)}
                                                  : TRowCells{ed_.LeftColumn(), -1};
        const int top = text.top + 1 + row * lineHeight;
        // The last row needs no state after it: a long line is then not
        // scanned to its end.
        renderer_.PaintScreenLine(canvas, *lineBitmap_, span.Line, {text.left, top, text.right, top + lineHeight},
                                  cells, state, span.Last && row < rows && span.Line + 1 < count);
    }
    if (row <= rows)
        FillWith(canvas, {text.left, text.top + 1 + row * lineHeight, text.right, text.bottom}, ed_.BkColor());
}

void TDodiPainter::PaintMargins(Canvas &canvas, const TRect &text)
{
    canvas.SetPen({ed_.BkColor(), 1, psSolid});
    for (int k = 1; k <= kLeftMargin; ++k)
        canvas.Line(text.left - k, text.top, text.left - k, text.bottom);

    const TDodiScrollBar &vert = ed_.VertScrollBar();
    const TDodiScrollBar &horz = ed_.HorzScrollBar();
    const TScrollStyle bars = ed_.ScrollBars();
    auto fillBar = [&](TScrollBarKind kind) {
        const TRect r = ed_.ScrollBarRect(kind);
        FillWith(canvas, {r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, kScrollBarColor);
    };
    const bool vertShown = vert.Visible() && (bars == ssVertical || bars == ssBoth);
    const bool horzShown = horz.Visible() && (bars == ssHorizontal || bars == ssBoth) && ed_.WordWrap() == wwNone;
    if (vertShown)
        fillBar(sbVertical);
    if (horzShown)
        fillBar(sbHorizontal);
    // The corner where the two bars meet belongs to neither.
    if (vertShown && horzShown) {
        const TRect v = ed_.ScrollBarRect(sbVertical);
        const TRect h = ed_.ScrollBarRect(sbHorizontal);
        FillWith(canvas, {v.left, v.bottom, v.right, h.bottom}, kScrollBarColor);
    }

    if (ed_.RightMargin() > 0 && ed_.ShowRightMargin()) {
        canvas.SetFont(ed_.Font());
        const int x = text.left + canvas.TextWidth("w") * (ed_.RightMargin() - ed_.LeftColumn());
        // Scrolled past it, the line would land on the gutter.
        if (x >= text.left && x < text.right) {
            canvas.SetPen({ed_.RightMarginColor(), 2, psSolid});
            canvas.Line(x, text.top, x, text.bottom);
        }
        canvas.SetPen({kDefaultPenColor, 1, psSolid});
    }
}

void TDodiPainter::PaintBorder(Canvas &canvas)
{
    if (ed_.BorderStyle() != bsSingle)
        return;
    const int w = ed_.Width();
    const int h = ed_.Height();
    if (ed_.Ctl3D()) {
        canvas.SetPen({kSunkenInner, 1, psSolid});
        canvas.Line(1, h - 2, w - 1, h - 2);
        canvas.Line(w - 2, 1, w - 2, h - 1);
        canvas.SetPen({clWhite, 1, psSolid});
        canvas.Line(0, h - 1, w, h - 1);
        canvas.Line(w - 1, 0, w - 1, h);
        return;
    }
    canvas.SetPen({ed_.BorderColor(), 1, psSolid});
    canvas.SetBrushStyle(bsClear);
    canvas.Rectangle({0, 0, w, h});
    canvas.SetBrushStyle(bsSolid);
}

void TDodiPainter::PaintLine(Canvas &canvas, int line, const TRect &rect, int mode, RunState &state)
{
    if (!painting_)
        ed_.PrepareTokenizer();
    if (mode == kPrint) {
        renderer_.PaintPrintLine(canvas, line, rect, state);
        return;
    }
    const TRect text = ed_.TextArea();
    if (!lineBitmap_ || bitmapMaker_ != std::type_index(typeid(canvas)) || lineBitmap_->Height() != ed_.LineHeight())
        PrepareLineBitmap(canvas, text);
    // A wrapped line shows its first row here.
    const TRowLayout &layout = ed_.RowLayout();
    const std::vector<int> &starts = layout.RowStarts(line);
    const TRowCells cells = starts.size() > 1 ? TRowCells{0, CellOfColumn(*ed_.ActiveLines(), line, starts[1])}
                                              : TRowCells{layout.Wrapping() ? 0 : ed_.LeftColumn(), -1};
    renderer_.PaintScreenLine(canvas, *lineBitmap_, line,
                              {text.left, rect.top, text.right, rect.top + ed_.LineHeight()}, cells, state);
}

void TDodiPainter::PlaceCaret()
{
    Host *host = ed_.GetHost();
    TCaretState &caret = ed_.CaretState();
    TControlFlags &flags = ed_.Flags();
    if (!host || !flags.Focused || ed_.HiddenCaret() || ed_.LineHeight() <= 0)
        return;
    const TRect text = ed_.TextArea();
    const TRowLayout &layout = ed_.RowLayout();
    const TCaretPos at{caret.CaretCol, caret.CaretLine};
    const int row = layout.RowOf(at) - ed_.TopRow();
    const int cell = layout.CellInRow(at);
    const TPoint pos{text.left + (cell - ed_.LeftColumn()) * ed_.CharWidth(),
                     text.top + 1 + row * ed_.LineHeight() + 1};
    // A caret left of the view would be drawn over the gutter.
    const bool inView = pos.x >= text.left && pos.x < text.right && row >= 0 && pos.y < text.bottom;
    if (!inView) {
        if (flags.CaretShown) {
            host->HideCaret();
            flags.CaretShown = false;
        }
        return;
    }
    if (!flags.CaretShown || caretPos_ != pos) {
        host->SetCaretPos(pos.x, pos.y);
        caretPos_ = pos;
    }
    if (!flags.CaretShown) {
        host->ShowCaret();
        flags.CaretShown = true;
    }
}

void TDodiPainter::SetActiveLine(int line)
{
    TViewState &st = ed_.ViewState();
    st.ActiveLine = line;
    const TDodiActiveLineSettings &settings = *ed_.ActiveLineSettings();
    if (settings.ShowActiveLineIndicator() && !settings.ShowActiveLine() && ed_.Gutter()->Visible())
        ed_.InvalidateRect({0, 0, ed_.Gutter()->GutterWidth(), ed_.Height()});
    if (!settings.ShowActiveLine())
        return;
    ed_.MakeCaretVisible();
    const int row = ed_.VisibleIndexOf(line) - ed_.TopRow();
    if (row < 0 || row >= ed_.VisibleRows())
        ed_.SetTopLine(line);
    ed_.Invalidate();
}

} // namespace tarnwick
