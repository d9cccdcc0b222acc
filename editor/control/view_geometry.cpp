// Where things sit in the control's client area: the text area, the folding
// column, the scroll bars, and how many rows and columns the view holds.
#include "editor/control/custom_dodi.h"

#include <algorithm>

namespace tarnwick {

namespace {
constexpr int kLeftMargin = 2;
constexpr int kFoldColumnWidth = 16;
} // namespace

TRect TCustomDodi::TextArea() const
{
    const int gutterWidth = gutter_->GutterWidth();
    TRect r;
    r.left = (gutter_->Visible() && gutterWidth > 2 ? gutterWidth + 2 : 2) + kLeftMargin;
    r.top = 2;
    r.right = Width() - 2;
    r.bottom = Height() - 2;
    if ((scrollBars_ == ssVertical || scrollBars_ == ssBoth) && vertScrollBar_.Visible())
        r.right -= vertScrollBar_.Extent();
    if ((scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && horzScrollBar_.Visible())
        r.bottom -= horzScrollBar_.Extent();
    const int grow = borderStyle_ == bsNone ? 2 : (ctl3D_ ? 0 : 1);
    r = {r.left - grow, r.top - grow, r.right + grow, r.bottom + grow};
    if (codeFolding_->Enabled() && viewState_.FoldRegionCount > 0)
        r.left += kFoldColumnWidth;
    return r;
}

TRect TCustomDodi::FoldColumn() const
{
    if (!codeFolding_->Enabled())
        return {};
    const TRect text = TextArea();
    return {text.left - kFoldColumnWidth, text.top, text.left, text.bottom};
}

// The bars sit inside the border, the vertical one right of the text area,
// the horizontal one below it and left of the vertical one.
TRect TCustomDodi::ScrollBarRect(TScrollBarKind bar) const
{
    const TRect text = TextArea();
    const int inset = borderStyle_ == bsNone ? 0 : (ctl3D_ ? 2 : 1);
    if (bar == sbVertical)
        return {text.right, inset, text.right + vertScrollBar_.Extent(), text.bottom};
    const int right = vertScrollBar_.Visible() ? text.right : Width() - inset;
    return {inset, text.bottom, std::max(inset, right), text.bottom + horzScrollBar_.Extent()};
}

// The cell of the text area's last pixel: rows and columns that start inside it.
int TCustomDodi::VisibleRows() const
{
    if (viewState_.LineHeight <= 0)
        return 0;
    return std::max(0, (TextArea().Height() - 1) / viewState_.LineHeight);
}

int TCustomDodi::VisibleColumns() const
{
    if (viewState_.CharWidth <= 0)
        return 0;
    return std::max(0, (TextArea().Width() - 1) / viewState_.CharWidth);
}

int TCustomDodi::RowOfLine(int line) const { return VisibleIndexOf(line) - TopRow(); }

} // namespace tarnwick
