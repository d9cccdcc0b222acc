// TLineRenderer: draws one line of text: its runs in their styler colours,
// cut by the selection, then the rest of the row, the wavy underlines and the
// block-match lines. On screen it draws into the one-line bitmap and copies
// that to the row; for printing it draws straight onto the page.
#pragma once

#include "editor/base/editor_types.h"
#include "editor/base/run_state.h"
#include "editor/highlight/tokenizer_run_colour.h"
#include "editor/platform/canvas.h"

#include <climits>
#include <string_view>

namespace tarnwick {

class TEditorView;
struct TViewModel;
class TLineTokenizer;
class REdoDodiStrings;

// The cells of a line one screen row shows: from cell First of the line up to
// cell End (-1: as far as the row reaches).
struct TRowCells {
    int First = 0;
    int End = -1;
};

// The columns [From, To) of a line one printed row shows, and whether the
// line's number goes before them.
struct TPrintColumns {
    int From = 0;
    int To = INT_MAX;
    bool Numbered = true;
};

class TLineRenderer {
public:
    explicit TLineRenderer(TEditorView &view);

    // Mode 0: the row `dest` of the window shows `cells` of `line`;
    // `lineBitmap` is one row high and as wide as the text area. `state` is
    // the tokenizer state at the start of the line and becomes the state at
    // its end (unless `endState` is false: no line is painted after this
    // row). A long line costs what shows of it.
    void PaintScreenLine(Canvas &window, TBitmap &lineBitmap, int line, const TRect &dest, TRowCells cells,
                         RunState &state, bool endState = true);
    // Mode 2: the text starts at rect's top left, widths are measured with "w".
    void PaintPrintLine(Canvas &canvas, int line, const TRect &rect, RunState &state, TPrintColumns columns = {});

private:
    // What DrawRun needs while one line is being drawn.
    struct TLineContext {
        Canvas *Target = nullptr;
        int Line = 0;
        int Top = 0;
        int X = 0;
        int Origin = 0;     // where column 0 is
        int NextColumn = 0; // the column after the last run drawn
        int Cell = 0;       // the cell of the line where X is
        int TabSize = 0;    // the cells between tab stops
        int Unit = 0;       // pixels per cell
        int Right = 0;      // nothing is drawn from here on
        // Only the columns [FromColumn, ToColumn) are drawn.
        int FromColumn = 0;
        int ToColumn = INT_MAX;
        TRunColourContext Colours;
        bool SelectionHidden = false;
        TCaretPos SelStart;
        TCaretPos SelEnd;
    };

    void BeginLine(Canvas &target, int line, int x, int top, int unit, int right);
    void DrawRuns(std::string_view text, RunState &state);
    // The runs of the columns of `line` that reach into the row.
    void DrawVisibleRuns(int line, RunState &state, bool endState);
    void DrawRun(int column, std::string_view text, const RunState &state);
    void DrawPart(std::string_view text, int length, TColor textColor, TColor bkColor, TFontStyles style);
    bool StartsBlockWord(int column) const;
    void DrawUnderlines(Canvas &canvas, int line);
    void DrawBlockLines(Canvas &canvas, int line);
    int DrawPrintLineNumber(Canvas &canvas, int line, const TRect &rect, int unit, bool numbered);
    TColor RestOfLineColour(int line) const;

    TEditorView &view_;
    const TViewModel &data_;
    TLineTokenizer &tokenizer_;
    TLineContext ctx_;
};

} // namespace tarnwick
