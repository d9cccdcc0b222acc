// TViewHost: what the view asks of the one who shows it. Everything else the
// view needs is data (view_model.h); these few calls are the moments it must
// hand over: repaint requests, the text on show, measuring the font, a fold
// finder to run, and the gutter's events.
#pragma once

#include "editor/base/editor_types.h"
#include "editor/base/graphics_types.h"
#include "editor/view/view_model.h"

namespace tarnwick {

class Canvas;

class TViewHost {
public:
    virtual void Invalidate() = 0;
    virtual void InvalidateRect(const TRect &r) = 0;
    // The text and stylers on show now.
    virtual TShownText ShownText() const = 0;
    // The cells were never measured: measure them from the font (painting
    // finds LineHeight 0).
    virtual void MeasureCells() = 0;
    // Reads the fold regions again around edits the region finder has not
    // seen; unless `force`, a change over much text is left for later.
    virtual void UpdateFoldRegions(bool force) = 0;
    // The marks of the gutter row `row` (counted from the first row of the
    // text) are the host's to draw; false when it draws none.
    virtual bool DrawGutterRow(Canvas &canvas, int row, const TRect &rect) = 0;
    // A button went down, or a double click happened, on the gutter beside `line`.
    virtual void GutterClicked(TMouseButton button, int line) = 0;
    virtual void GutterDblClicked(int line) = 0;

protected:
    ~TViewHost() = default;
};

} // namespace tarnwick
