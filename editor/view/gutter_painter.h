// TGutterPainter: the strip left of the text: background, border lines and,
// row by row through OnGutterDraw, line numbers, markers, flag, modified bar,
// dots and the active-line arrow. Also the gutter's hit test and clicks.
#pragma once

#include "editor/base/editor_types.h"
#include "editor/platform/canvas.h"

#include <string>

namespace tarnwick {

class TEditorView;
struct TViewModel;
class TDodiGutter;

// The number as the gutter and printed pages show it: zero-padded to
// DigitCount when ShowLeadingZeros, followed by NumberSuffix.
std::string GutterNumberText(int number, const TDodiGutter &gutter);

// How far apart the gutter places numbers of one digit more or less, so that
// they end in one column.
inline constexpr int kGutterDigitStep = 8;

// x of a line number in the gutter, for a number of `digits` digits (leading
// zeros counted, suffix not). Numbers of more than four digits end in the same
// column as shorter ones where the gutter is wide enough, never left of 0.
int GutterNumberLeft(const TDodiGutter &gutter, int digits);

class TGutterPainter {
public:
    explicit TGutterPainter(TEditorView &view);

    // Background, border lines, then the host's marks once per row that
    // starts a line, with that row's index among the rows of the text; the
    // further rows of a wrapped line get none.
    void Paint(Canvas &canvas);
    // The default marks of the line whose first row is `number`, in `rect`.
    void PaintLine(Canvas &canvas, int number, const TRect &rect);

    // The existing line whose row holds (x, y) inside the gutter, else -1.
    int LineAt(int x, int y) const;
    // A left or right button went down at (x, y): the host hears of it.
    void MouseDown(TMouseButton button, int x, int y);
    // Tells the host of a double click on a gutter line; true when the
    // double click ends here (x left of GutterWidth) instead of selecting a word.
    bool DblClick(int x, int y);

private:
    void PaintBackground(Canvas &canvas, const TRect &r);
    TBitmap &FlagGlyph(Canvas &canvas);

    TEditorView &view_;
    const TViewModel &data_;
};

} // namespace tarnwick
