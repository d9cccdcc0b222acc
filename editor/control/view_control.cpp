// TCustomDodi's painting, printing, gutter, scrolling and word wrap, handed to
// the collaborators that do the work.
#include "editor/control/custom_dodi.h"

#include "editor/view/block_matcher.h"
#include "editor/view/gutter_painter.h"
#include "editor/view/painter.h"
#include "editor/view/printer.h"
#include "editor/view/scroller.h"

namespace tarnwick {

void TCustomDodi::Paint(Canvas &canvas) { painter_->Paint(canvas); }

void TCustomDodi::PaintLine(Canvas &canvas, int line, const TRect &rect, int mode, RunState &state)
{
    painter_->PaintLine(canvas, line, rect, mode, state);
}

void TCustomDodi::PaintGutter(Canvas &canvas) { gutterPainter_->Paint(canvas); }
void TCustomDodi::PaintGutterLine(Canvas &canvas, int line, const TRect &rect)
{
    gutterPainter_->PaintLine(canvas, line, rect);
}
void TCustomDodi::PlaceCaret() { painter_->PlaceCaret(); }

void TCustomDodi::BlockMatch()
{
    TBlockMatcher(*this).Match();
    if (OnCursorChange)
        OnCursorChange(*this);
}
void TCustomDodi::SetActiveLine(int line) { painter_->SetActiveLine(line); }

int TCustomDodi::GutterLineAt(int x, int y) const { return gutterPainter_->LineAt(x, y); }
void TCustomDodi::GutterMouseDown(TMouseButton button, int x, int y) { gutterPainter_->MouseDown(button, x, y); }
bool TCustomDodi::GutterDblClick(int x, int y) { return gutterPainter_->DblClick(x, y); }

void TCustomDodi::AddMarker(int line, const std::string &text, int imageIndex)
{
    TDodiMarker &marker = markerList_->Markers().Add();
    marker.Text = text;
    marker.ImageIndex = imageIndex;
    marker.LineNumber = line;
    InvalidateGutter();
    if (OnMarkerAdded)
        OnMarkerAdded(line, text);
}

void TCustomDodi::RemoveMarker(int line)
{
    TDodiMarkers &markers = markerList_->Markers();
    if (!markers.HasMarker(line))
        return;
    markers.RemoveMarker(line);
    InvalidateGutter();
    if (OnMarkerRemoved)
        OnMarkerRemoved(line);
}

void TCustomDodi::SetTopLine(int line) { scroller_->SetTopLine(line); }
void TCustomDodi::SetTopRow(int row) { scroller_->SetTopRow(row); }
void TCustomDodi::SetLeftColumn(int column) { scroller_->SetLeftColumn(column); }
void TCustomDodi::ScrollBy(TScrollBarKind bar, int delta) { scroller_->ScrollBy(bar, delta); }
void TCustomDodi::MakeCaretVisible() { scroller_->MakeCaretVisible(); }
void TCustomDodi::UpdateScrollBars(bool repaint) { scroller_->UpdateScrollBars(repaint); }
void TCustomDodi::LayoutChanged() { scroller_->LayoutChanged(); }
void TCustomDodi::MouseWheel(bool down) { scroller_->MouseWheel(down); }
void TCustomDodi::ScrollBarScroll(TScrollBarKind bar, TScrollCode code, int position)
{
    scroller_->BarScrolled(bar, code, position);
}

void TCustomDodi::Rewrap() { rowLayout_->Relayout(false); }

bool TCustomDodi::Print() { return TDodiPrinter(*this).Print(); }

int TCustomDodi::PageCount(Canvas &canvas, int pageWidth, int pageHeight)
{
    return TDodiPrinter(*this).PageCount(canvas, pageWidth, pageHeight);
}

void TCustomDodi::PrintPage(Canvas &canvas, int pageWidth, int pageNumber, int pageHeight)
{
    TDodiPrinter(*this).PrintPage(canvas, pageWidth, pageNumber, pageHeight);
}

} // namespace tarnwick
