// TDodiPainter: paints the control's whole client area in a fixed order
// (folding column, gutter, text rows through the line renderer, margins,
// scroll-bar corners, right margin line, border), places the caret, and
// keeps the one-line bitmap every row is drawn through.
#pragma once

#include "editor/base/run_state.h"
#include "editor/platform/canvas.h"
#include "editor/view/line_renderer.h"

#include <memory>
#include <optional>
#include <typeindex>

namespace tarnwick {

class TEditorView;
struct TViewModel;

class TDodiPainter {
public:
    // PaintLine modes.
    static constexpr int kScreen = 0;
    static constexpr int kPrint = 2;

    explicit TDodiPainter(TEditorView &view);

    // Nothing is drawn while the line store is inside an update bracket.
    void Paint(Canvas &canvas);
    // One line; on the screen `rect` is the row (its left and right are the
    // text area's), when printing the rectangle the line is drawn into.
    void PaintLine(Canvas &canvas, int line, const TRect &rect, int mode, RunState &state);
    // Moves the host's caret to the caret cell, shows it there, and hides it
    // while that cell is outside the text area.
    void PlaceCaret();

    // Forgets the caret position last given to the host (the caret was recreated).
    void CaretRecreated() { caretPos_.reset(); }

private:
    void PrepareLineBitmap(Canvas &canvas, const TRect &textArea);
    void PaintLines(Canvas &canvas, const TRect &textArea);
    void PaintMargins(Canvas &canvas, const TRect &textArea);
    void PaintBorder(Canvas &canvas);

    TEditorView &view_;
    const TViewModel &data_;
    TLineRenderer renderer_;
    std::unique_ptr<TBitmap> lineBitmap_;
    // The kind of canvas that made the bitmap: any canvas of that kind can
    // draw it, another kind may not.
    std::optional<std::type_index> bitmapMaker_;
    std::optional<TPoint> caretPos_;
    bool painting_ = false;
};

} // namespace tarnwick
