// TCustomDodi's painting, printing, gutter, scrolling and word wrap, handed to
// the view and the scroller, and the control's answers to what the view asks.
#include "editor/control/custom_dodi.h"

#include "editor/control/redodi_source.h"
#include "editor/view/block_matcher.h"
#include "editor/view/scroller.h"

namespace tarnwick {

void TCustomDodi::Paint(Canvas &canvas) { view_->Paint(canvas); }

void TCustomDodi::PaintLine(Canvas &canvas, int line, const TRect &rect, int mode, RunState &state)
{
    view_->PaintLine(canvas, line, rect, mode, state);
}

void TCustomDodi::PaintGutter(Canvas &canvas) { view_->PaintGutter(canvas); }
void TCustomDodi::PaintGutterLine(Canvas &canvas, int line, const TRect &rect)
{
    view_->PaintGutterRow(canvas, line, rect);
}
void TCustomDodi::PlaceCaret() { view_->PlaceCaret(); }

void TCustomDodi::BlockMatch()
{
    TBlockMatcher(*this).Match();
    if (OnCursorChange)
        OnCursorChange(*this);
}
void TCustomDodi::SetActiveLine(int line) { scroller_->SetActiveLine(line); }

int TCustomDodi::GutterLineAt(int x, int y) const { return view_->GutterLineAt(x, y); }
void TCustomDodi::GutterMouseDown(TMouseButton button, int x, int y) { view_->GutterMouseDown(button, x, y); }
bool TCustomDodi::GutterDblClick(int x, int y) { return view_->GutterDblClick(x, y); }

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

void TCustomDodi::Rewrap() { view_->Rows().Relayout(false); }

bool TCustomDodi::Print() { return view_->Print(); }

int TCustomDodi::PageCount(Canvas &canvas, int pageWidth, int pageHeight)
{
    return view_->PageCount(canvas, pageWidth, pageHeight);
}

void TCustomDodi::PrintPage(Canvas &canvas, int pageWidth, int pageNumber, int pageHeight)
{
    view_->PrintPage(canvas, pageWidth, pageNumber, pageHeight);
}

// ---- what the view asks ----

TShownText TCustomDodi::ShownText() const
{
    if (memoSource_)
        return {memoSource_->Lines(), memoSource_->SyntaxStyler(), syntaxStyles_};
    return {lines_.get(), syntaxStyles_, syntaxStyles_};
}

void TCustomDodi::MeasureCells() { SetFont(settings_.Font); }

bool TCustomDodi::DrawGutterRow(Canvas &canvas, int row, const TRect &rect)
{
    if (!OnGutterDraw)
        return false;
    OnGutterDraw(*this, canvas, row, rect);
    return true;
}

void TCustomDodi::GutterClicked(TMouseButton button, int line)
{
    if (button == mbLeft)
        DoGutterClick(line);
    else if (button == mbRight && OnGutterRightClick)
        OnGutterRightClick(*this, line);
}

void TCustomDodi::GutterDblClicked(int line)
{
    if (OnGutterDblClick)
        OnGutterDblClick(*this, line);
}

} // namespace tarnwick
