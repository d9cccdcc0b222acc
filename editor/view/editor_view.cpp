#include "editor/view/editor_view.h"

#include "editor/document/fold_regions.h"
#include "editor/document/line_store.h"
#include "editor/highlight/region_scan.h"
#include "editor/highlight/tokenizer.h"
#include "editor/platform/dodi_scroll_bar.h"
#include "editor/view/code_folding.h"
#include "editor/view/dodi_gutter.h"
#include "editor/view/gutter_painter.h"
#include "editor/view/painter.h"
#include "editor/view/printer.h"
#include "editor/view/row_layout.h"
#include "editor/view/view_settings.h"
#include "editor/view/view_state.h"

#include <algorithm>

namespace tarnwick {

namespace {
constexpr int kLeftMargin = 2;
constexpr int kFoldColumnWidth = 16;
} // namespace

TEditorView::TEditorView(TViewHost &host, const TViewModel &model)
    : host_(host), model_(model), rows_(std::make_unique<TRowLayout>(*this, *model.Folds)),
      painter_(std::make_unique<TDodiPainter>(*this)), gutterPainter_(std::make_unique<TGutterPainter>(*this))
{
}

TEditorView::~TEditorView() = default;

// ---- the client area ----

TRect TEditorView::TextArea() const
{
    const TViewSettings &s = *model_.Settings;
    const TDodiGutter &gutter = *model_.Gutter;
    const int gutterWidth = gutter.GutterWidth();
    TRect r;
    r.left = (gutter.Visible() && gutterWidth > 2 ? gutterWidth + 2 : 2) + kLeftMargin;
    r.top = 2;
    r.right = Width() - 2;
    r.bottom = Height() - 2;
    if ((s.ScrollBars == ssVertical || s.ScrollBars == ssBoth) && model_.VertBar->Visible())
        r.right -= model_.VertBar->Extent();
    if ((s.ScrollBars == ssHorizontal || s.ScrollBars == ssBoth) && model_.HorzBar->Visible())
        r.bottom -= model_.HorzBar->Extent();
    const int grow = s.BorderStyle == bsNone ? 2 : (s.Ctl3D ? 0 : 1);
    r = {r.left - grow, r.top - grow, r.right + grow, r.bottom + grow};
    if (model_.Folding->Enabled() && model_.View->FoldRegionCount > 0)
        r.left += kFoldColumnWidth;
    return r;
}

TRect TEditorView::FoldColumn() const
{
    if (!model_.Folding->Enabled())
        return {};
    const TRect text = TextArea();
    return {text.left - kFoldColumnWidth, text.top, text.left, text.bottom};
}

// The bars sit inside the border, the vertical one right of the text area,
// the horizontal one below it and left of the vertical one.
TRect TEditorView::ScrollBarRect(TScrollBarKind bar) const
{
    const TViewSettings &s = *model_.Settings;
    const TRect text = TextArea();
    const int inset = s.BorderStyle == bsNone ? 0 : (s.Ctl3D ? 2 : 1);
    if (bar == sbVertical)
        return {text.right, inset, text.right + model_.VertBar->Extent(), text.bottom};
    const int right = model_.VertBar->Visible() ? text.right : Width() - inset;
    return {inset, text.bottom, std::max(inset, right), text.bottom + model_.HorzBar->Extent()};
}

// The cell of the text area's last pixel: rows and columns that start inside it.
int TEditorView::VisibleRows() const
{
    const int lineHeight = model_.View->LineHeight;
    return lineHeight <= 0 ? 0 : std::max(0, (TextArea().Height() - 1) / lineHeight);
}

int TEditorView::VisibleColumns() const
{
    const int charWidth = model_.View->CharWidth;
    return charWidth <= 0 ? 0 : std::max(0, (TextArea().Width() - 1) / charWidth);
}

// ---- lines and rows ----

// While folding or word wrap is on, the fold regions' row map answers, in
// O(log) of its runs. The regions follow the text on show; right after
// another text was attached they may not have heard of it yet.
static bool UsesRows(const TViewModel &m, const TRowLayout &layout, const REdoDodiStrings &lines)
{
    return (m.Folding->Enabled() || layout.Wrapping()) && m.Folds->LineCount() == lines.Count();
}

int TEditorView::VisibleIndexOf(int line) const
{
    return UsesRows(model_, *rows_, Lines()) ? model_.Folds->VisibleIndexOf(line) : line;
}

int TEditorView::LineOfVisibleIndex(int index) const
{
    return UsesRows(model_, *rows_, Lines()) ? model_.Folds->LineOfVisibleIndex(index) : index;
}

int TEditorView::TopRow() const { return VisibleIndexOf(model_.View->TopLine) + model_.View->TopSubRow; }

// ---- tokenizer states ----

void TEditorView::PrepareTokenizer()
{
    const TViewSettings &s = *model_.Settings;
    model_.Tokenizer->Prepare({host_.ShownText().Styler, s.UseStyler, s.CaseSensitive, s.UrlAware});
}

RunState TEditorView::ComputeTopState(int line)
{
    PrepareTokenizer();
    REdoDodiStrings &lines = Lines();
    return model_.Tokenizer->ComputeTopState(lines, lines.StateTracker(), line);
}

RunState TEditorView::TopLineState()
{
    PrepareTokenizer();
    REdoDodiStrings &lines = Lines();
    TViewState &view = *model_.View;
    return model_.Tokenizer->TopLineState(lines, lines.StateTracker(), view.TopLine, view.TopStateLine, view.TopState);
}

bool TEditorView::RegionSummary(int line, int &definitionIndex, std::string &summary) const
{
    const TCustomDodiStyler *styler = host_.ShownText().OwnStyler;
    const REdoDodiStrings &lines = Lines();
    if (!styler || !model_.Settings->UseStyler || !model_.Folds->IsRegionStart(line) || line >= lines.Count())
        return false;
    return RegionSummaryOfLine(*styler, lines.Get(line), definitionIndex, summary);
}

// ---- painting ----

void TEditorView::Paint(Canvas &canvas) { painter_->Paint(canvas); }

void TEditorView::PaintLine(Canvas &canvas, int line, const TRect &rect, int mode, RunState &state)
{
    painter_->PaintLine(canvas, line, rect, mode, state);
}

void TEditorView::PaintGutter(Canvas &canvas) { gutterPainter_->Paint(canvas); }

void TEditorView::PaintGutterRow(Canvas &canvas, int row, const TRect &rect)
{
    gutterPainter_->PaintLine(canvas, row, rect);
}

void TEditorView::PlaceCaret() { painter_->PlaceCaret(); }

// ---- the gutter under the mouse ----

int TEditorView::GutterLineAt(int x, int y) const { return gutterPainter_->LineAt(x, y); }
void TEditorView::GutterMouseDown(TMouseButton button, int x, int y) { gutterPainter_->MouseDown(button, x, y); }
bool TEditorView::GutterDblClick(int x, int y) { return gutterPainter_->DblClick(x, y); }

// ---- printing ----

bool TEditorView::Print() { return TDodiPrinter(*this).Print(); }

int TEditorView::PageCount(Canvas &canvas, int pageWidth, int pageHeight)
{
    return TDodiPrinter(*this).PageCount(canvas, pageWidth, pageHeight);
}

void TEditorView::PrintPage(Canvas &canvas, int pageWidth, int pageNumber, int pageHeight)
{
    TDodiPrinter(*this).PrintPage(canvas, pageWidth, pageNumber, pageHeight);
}

} // namespace tarnwick
