// What the folding column shows beside one row (lines through the regions,
// a tick where one ends, a button where one starts), and the ellipsis box
// drawn after the text of a collapsed region's first line.
#pragma once

#include "editor/base/graphics_types.h"
#include "editor/platform/canvas.h"

namespace tarnwick {

class TFoldRegions;
class TRowLayout;

struct TFoldRowMarks {
    bool Inside = false;     // below a region's start, up to and including its end
    bool Starts = false;     // a region starts on the line
    bool Expanded = true;    // that region is open
    int Ends = 0;            // regions that end on the line
    bool FoldsToEnd = false; // starts a collapsed region that ends on the text's last line
};

TFoldRowMarks FoldMarksOfLine(const TFoldRegions &regions, int line);

struct TFoldLook {
    TColor LineColor = clGray;
    TColor BkColor = clWhite;
    // Null or empty: a drawn plus or minus.
    TBitmap *ExpandGlyph = nullptr;
    TBitmap *CollapsedGlyph = nullptr;
};

// The marks of one row in the column from x0 to `columnRight`, rows from y0 to y1.
void PaintFoldRow(Canvas &canvas, int x0, int columnRight, int y0, int y1, const TFoldRowMarks &marks,
                  const TFoldLook &look);
// The marks of the rows shown in `column` from row `topRow` of the layout
// on, row r from column.top + 1 + r * lineHeight; `rows` whole rows and the
// part below.
void PaintFoldColumn(Canvas &canvas, const TFoldRegions &regions, const TRowLayout &layout, const TRect &column,
                     int topRow, int rows, int lineHeight, const TFoldLook &look);
// The box with three dots after a collapsed line's text that ends at x.
void PaintEllipsisBox(Canvas &canvas, int x, int rowBottom, TColor lineColor, TColor bkColor);

} // namespace tarnwick
