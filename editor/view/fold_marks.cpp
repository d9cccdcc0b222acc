#include "editor/view/fold_marks.h"

#include "editor/document/fold_regions.h"
#include "editor/view/row_layout.h"

namespace tarnwick {

namespace {

constexpr int kBoxSize = 9;

} // namespace

TFoldRowMarks FoldMarksOfLine(const TFoldRegions &regions, int line)
{
    TFoldRowMarks m;
    m.Inside = regions.InRegion(line);
    m.Starts = regions.IsRegionStart(line);
    m.Expanded = regions.IsExpanded(line);
    m.Ends = regions.EndCount(line);
    if (m.Starts && !m.Expanded && !regions.IsHidden(line))
        m.FoldsToEnd = regions.LineOfVisibleIndex(regions.VisibleIndexOf(line) + 1) >= regions.LineCount();
    return m;
}

void PaintFoldRow(Canvas &canvas, int x0, int columnRight, int y0, int y1, const TFoldRowMarks &marks,
                  const TFoldLook &look)
{
    const int d = (y1 - y0 - kBoxSize) / 2;
    const int x = x0 + 6;
    canvas.SetPen({look.LineColor, 1, psSolid});
    if (marks.Inside) {
        canvas.Line(x, y0, x, marks.FoldsToEnd ? y0 + d : y1);
        if (marks.Ends > 0)
            canvas.Line(x, y1, x0 + 10, y1);
    }
    if (!marks.Starts)
        return;
    if (marks.Expanded)
        canvas.Line(x, marks.Inside ? y0 : y0 + d, x, y1);

    TBitmap *glyph = marks.Expanded ? look.CollapsedGlyph : look.ExpandGlyph;
    if (glyph && glyph->Empty())
        glyph = nullptr;
    const bool stretched = glyph && glyph->Width() > columnRight - x0;
    canvas.SetPen({stretched ? look.BkColor : look.LineColor, 1, psSolid});
    canvas.SetBrushColor(look.BkColor);
    canvas.Rectangle({x0 + 2, y0 + d, x0 + 2 + kBoxSize, y0 + d + kBoxSize});
    if (glyph) {
        if (stretched)
            canvas.StretchDraw({x0, y0 + d, columnRight, y0 + d + kBoxSize}, *glyph);
        else
            canvas.Draw(x0 + 2, y0 + d, *glyph);
        return;
    }
    canvas.SetPen({look.LineColor, 1, psSolid});
    canvas.Line(x0 + 4, y0 + d + 4, x0 + 9, y0 + d + 4);
    if (!marks.Expanded)
        canvas.Line(x, y0 + d + 2, x, y0 + d + 7);
}

// A line shown in several rows has its button on the first of them and the
// ticks of the regions it ends on the last; the rows between carry the line on.
void PaintFoldColumn(Canvas &canvas, const TFoldRegions &regions, const TRowLayout &layout, const TRect &column,
                     int topRow, int rows, int lineHeight, const TFoldLook &look)
{
    for (int row = 0; row <= rows; ++row) {
        const TRowSpan span = layout.SpanOfRow(topRow + row);
        if (span.Line >= regions.LineCount())
            break;
        TFoldRowMarks marks = FoldMarksOfLine(regions, span.Line);
        if (span.Index > 0 || !span.Last) {
            const bool goesOn = marks.Inside || (marks.Starts && marks.Expanded);
            if (span.Index > 0) {
                marks.Inside = goesOn;
                marks.Starts = false;
            }
            if (!span.Last)
                marks.Ends = 0;
        }
        const int top = column.top + 1 + row * lineHeight;
        PaintFoldRow(canvas, column.left, column.right, top, top + lineHeight, marks, look);
    }
}

void PaintEllipsisBox(Canvas &canvas, int x, int rowBottom, TColor lineColor, TColor bkColor)
{
    canvas.SetPen({lineColor, 1, psSolid});
    canvas.SetBrushColor(bkColor);
    canvas.Rectangle({x + 5, 0, x + 30, rowBottom});
    canvas.SetBrushColor(lineColor);
    for (int dot : {9, 17, 25})
        canvas.FillRect({x + dot, rowBottom - 6, x + dot + 2, rowBottom - 4});
}

} // namespace tarnwick
