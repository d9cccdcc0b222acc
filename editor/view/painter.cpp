#include "editor/view/painter.h"

#include "editor/document/caret_state.h"
#include "editor/document/fold_regions.h"
#include "editor/document/line_cells.h"
#include "editor/document/line_store.h"
#include "editor/platform/dodi_scroll_bar.h"
#include "editor/platform/host.h"
#include "editor/view/code_folding.h"
#include "editor/view/control_flags.h"
#include "editor/view/dodi_gutter.h"
#include "editor/view/editor_view.h"
#include "editor/view/fold_marks.h"
#include "editor/view/row_layout.h"
#include "editor/view/view_settings.h"
#include "editor/view/view_state.h"

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

TDodiPainter::TDodiPainter(TEditorView &view) : view_(view), data_(view.Model()), renderer_(view) {}

void TDodiPainter::Paint(Canvas &canvas)
{
    REdoDodiStrings &store = view_.Lines();
    if (store.LockCount() > 0)
        return;
    if (data_.View->LineHeight == 0)
        view_.ViewHost().MeasureCells();
    if (data_.View->LineHeight <= 0 || data_.View->CharWidth <= 0)
        return;

    // Regions a finder has not read since the last edits, before the layout.
    view_.ViewHost().UpdateFoldRegions(false);
    painting_ = true;
    const TRect text = view_.TextArea();
    PrepareLineBitmap(canvas, text);

    const TRect fold = view_.FoldColumn();
    if (!fold.IsEmpty())
        FillWith(canvas, {fold.left - 2, fold.top, fold.right, fold.bottom}, data_.Settings->BkColor);
    if (!fold.IsEmpty() && data_.Folds->RegionCount() > 0) {
        const TCodeFolding &folding = *data_.Folding;
        const TFoldLook look{folding.LineColor(), data_.Settings->BkColor, folding.ExpandGlyph().get(),
                             folding.CollapsedGlyph().get()};
        PaintFoldColumn(canvas, *data_.Folds, view_.Rows(), fold, view_.TopRow(), view_.VisibleRows(),
                        data_.View->LineHeight, look);
    }

    TDodiGutter &gutter = *data_.Gutter;
    if (gutter.GutterWidth() > 1 && gutter.Visible()) {
        gutter.SetHeight(text.Height());
        view_.PaintGutter(canvas);
    }
    if (text.top < 2)
        FillWith(canvas, {text.left, text.top, text.right, 2}, data_.Settings->BkColor);

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
        lineBitmap_ = canvas.CreateBitmap(width, data_.View->LineHeight);
        bitmapMaker_ = std::type_index(typeid(canvas));
    } else if (lineBitmap_->Width() != width || lineBitmap_->Height() != data_.View->LineHeight) {
        lineBitmap_->SetSize(width, data_.View->LineHeight);
    }
    lineBitmap_->GetCanvas().SetFont(data_.Settings->Font);
}

// Every row of a line is drawn from the tokenizer state at the line's start;
// the last one carries the state on to the next line.
void TDodiPainter::PaintLines(Canvas &canvas, const TRect &text)
{
    const REdoDodiStrings &store = view_.Lines();
    const TRowLayout &layout = view_.Rows();
    RunState state = view_.TopLineState();
    RunState lineStart = state;

    const int lineHeight = data_.View->LineHeight;
    const int rows = view_.VisibleRows();
    const int topRow = view_.TopRow();
    const int count = store.Count();
    int row = 0;
    for (int previous = -1; row <= rows; ++row) {
        const TRowSpan span = layout.SpanOfRow(topRow + row);
        if (span.Line >= count)
            break;
        if (span.Line != previous) {
            // Past a collapsed region the state comes from the lines it hides.
            if (previous >= 0 && span.Line != previous + 1)
                state = view_.ComputeTopState(span.Line);
            previous = span.Line;
            lineStart = state;
        }
        state = lineStart;
        const TRowCells cells = layout.Wrapping() ? TRowCells{layout.FirstCellOf(span),
                                                              span.Last ? -1 : CellOfColumn(store, span.Line, span.End)}
                                                  : TRowCells{data_.View->LeftColumn, -1};
        const int top = text.top + 1 + row * lineHeight;
        // The last row needs no state after it: a long line is then not
        // scanned to its end.
        renderer_.PaintScreenLine(canvas, *lineBitmap_, span.Line, {text.left, top, text.right, top + lineHeight},
                                  cells, state, span.Last && row < rows && span.Line + 1 < count);
    }
    if (row <= rows)
        FillWith(canvas, {text.left, text.top + 1 + row * lineHeight, text.right, text.bottom},
                 data_.Settings->BkColor);
}

void TDodiPainter::PaintMargins(Canvas &canvas, const TRect &text)
{
    canvas.SetPen({data_.Settings->BkColor, 1, psSolid});
    for (int k = 1; k <= kLeftMargin; ++k)
        canvas.Line(text.left - k, text.top, text.left - k, text.bottom);

    const TDodiScrollBar &vert = *data_.VertBar;
    const TDodiScrollBar &horz = *data_.HorzBar;
    const TScrollStyle bars = data_.Settings->ScrollBars;
    auto fillBar = [&](TScrollBarKind kind) {
        const TRect r = view_.ScrollBarRect(kind);
        FillWith(canvas, {r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, kScrollBarColor);
    };
    const bool vertShown = vert.Visible() && (bars == ssVertical || bars == ssBoth);
    const bool horzShown =
        horz.Visible() && (bars == ssHorizontal || bars == ssBoth) && data_.Settings->WordWrap == wwNone;
    if (vertShown)
        fillBar(sbVertical);
    if (horzShown)
        fillBar(sbHorizontal);
    // The corner where the two bars meet belongs to neither.
    if (vertShown && horzShown) {
        const TRect v = view_.ScrollBarRect(sbVertical);
        const TRect h = view_.ScrollBarRect(sbHorizontal);
        FillWith(canvas, {v.left, v.bottom, v.right, h.bottom}, kScrollBarColor);
    }

    if (data_.Settings->RightMargin > 0 && data_.Settings->ShowRightMargin) {
        canvas.SetFont(data_.Settings->Font);
        const int x = text.left + canvas.TextWidth("w") * (data_.Settings->RightMargin - data_.View->LeftColumn);
        // Scrolled past it, the line would land on the gutter.
        if (x >= text.left && x < text.right) {
            canvas.SetPen({data_.Settings->RightMarginColor, 2, psSolid});
            canvas.Line(x, text.top, x, text.bottom);
        }
        canvas.SetPen({kDefaultPenColor, 1, psSolid});
    }
}

void TDodiPainter::PaintBorder(Canvas &canvas)
{
    if (data_.Settings->BorderStyle != bsSingle)
        return;
    const int w = view_.Width();
    const int h = view_.Height();
    if (data_.Settings->Ctl3D) {
        canvas.SetPen({kSunkenInner, 1, psSolid});
        canvas.Line(1, h - 2, w - 1, h - 2);
        canvas.Line(w - 2, 1, w - 2, h - 1);
        canvas.SetPen({clWhite, 1, psSolid});
        canvas.Line(0, h - 1, w, h - 1);
        canvas.Line(w - 1, 0, w - 1, h);
        return;
    }
    canvas.SetPen({data_.Settings->BorderColor, 1, psSolid});
    canvas.SetBrushStyle(bsClear);
    canvas.Rectangle({0, 0, w, h});
    canvas.SetBrushStyle(bsSolid);
}

void TDodiPainter::PaintLine(Canvas &canvas, int line, const TRect &rect, int mode, RunState &state)
{
    if (!painting_)
        view_.PrepareTokenizer();
    if (mode == kPrint) {
        renderer_.PaintPrintLine(canvas, line, rect, state);
        return;
    }
    const TRect text = view_.TextArea();
    if (!lineBitmap_ || bitmapMaker_ != std::type_index(typeid(canvas)) ||
        lineBitmap_->Height() != data_.View->LineHeight)
        PrepareLineBitmap(canvas, text);
    // A wrapped line shows its first row here.
    const TRowLayout &layout = view_.Rows();
    const std::vector<int> &starts = layout.RowStarts(line);
    const TRowCells cells = starts.size() > 1 ? TRowCells{0, CellOfColumn(view_.Lines(), line, starts[1])}
                                              : TRowCells{layout.Wrapping() ? 0 : data_.View->LeftColumn, -1};
    renderer_.PaintScreenLine(canvas, *lineBitmap_, line,
                              {text.left, rect.top, text.right, rect.top + data_.View->LineHeight}, cells, state);
}

void TDodiPainter::PlaceCaret()
{
    Host *host = view_.Platform();
    const TCaretState &caret = *data_.Caret;
    TControlFlags &flags = *data_.Flags;
    if (!host || !flags.Focused || data_.Settings->HiddenCaret || data_.View->LineHeight <= 0)
        return;
    const TRect text = view_.TextArea();
    const TRowLayout &layout = view_.Rows();
    const TCaretPos at{caret.CaretCol, caret.CaretLine};
    const int row = layout.RowOf(at) - view_.TopRow();
    const int cell = layout.CellInRow(at);
    const TPoint pos{text.left + (cell - data_.View->LeftColumn) * data_.View->CharWidth,
                     text.top + 1 + row * data_.View->LineHeight + 1};
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

} // namespace tarnwick
