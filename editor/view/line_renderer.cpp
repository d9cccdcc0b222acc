#include "editor/view/line_renderer.h"

#include "editor/base/utf8.h"
#include "editor/document/caret_state.h"
#include "editor/document/fold_regions.h"
#include "editor/document/line_cells.h"
#include "editor/document/line_store.h"
#include "editor/highlight/styler.h"
#include "editor/highlight/tokenizer.h"
#include "editor/view/active_line_settings.h"
#include "editor/view/code_folding.h"
#include "editor/view/control_flags.h"
#include "editor/view/dodi_gutter.h"
#include "editor/view/editor_view.h"
#include "editor/view/fold_marks.h"
#include "editor/view/gutter_painter.h"
#include "editor/view/print_options.h"
#include "editor/view/run_placement.h"
#include "editor/view/selection_split.h"
#include "editor/view/view_settings.h"
#include "editor/view/view_state.h"

#include <algorithm>
#include <climits>
#include <string>

namespace tarnwick {

namespace {

constexpr TColor kUnderlineColor = clRed;

const TLineProp *PropOf(const REdoDodiStrings &store, int line) { return store.LinePropOf(line); }

} // namespace

TLineRenderer::TLineRenderer(TEditorView &view) : view_(view), data_(view.Model()), tokenizer_(*data_.Tokenizer) {}

void TLineRenderer::BeginLine(Canvas &target, int line, int x, int top, int unit, int right)
{
    const REdoDodiStrings &store = view_.Lines();
    const TLineProp *prop = PropOf(store, line);
    TDodiActiveLineSettings &active = *data_.ActiveLine;

    ctx_.Target = &target;
    ctx_.Line = line;
    ctx_.Top = top;
    ctx_.X = x;
    ctx_.Origin = x;
    ctx_.NextColumn = 0;
    ctx_.Cell = 0;
    ctx_.TabSize = store.TabSize();
    ctx_.Unit = unit;
    ctx_.Right = right;
    ctx_.FromColumn = 0;
    ctx_.ToColumn = INT_MAX;

    TRunColourContext &c = ctx_.Colours;
    c.Styler = data_.Settings->UseStyler ? view_.ViewHost().ShownText().Styler : nullptr;
    c.FontColor = data_.Settings->Font.Color;
    c.FontStyle = data_.Settings->Font.Style;
    c.BkColor = data_.Settings->BkColor;
    c.UrlStyle = data_.Settings->UrlStyle;
    c.ActiveLine = active.ShowActiveLine() && line == data_.View->ActiveLine;
    c.ActiveLineTextColor = active.ActiveLineTextColor();
    c.ActiveLineColor = active.ActiveLineColor();
    c.Breakpoint = prop && prop->Breakpoint;
    c.BreakpointTextColor = data_.Settings->BreakpointTextColor;
    c.BreakpointColor = data_.Settings->BreakpointColor;
    c.FoldSummary = false;
    c.FoldLineColor = data_.Folding->LineColor();

    const TControlFlags &st = *data_.Flags;
    ctx_.SelectionHidden = data_.Settings->HideSelection && !st.Focused && !st.FindDialogOpen;
    // In document order, whichever way it was made.
    ctx_.SelStart = std::min(data_.Caret->SelStart, data_.Caret->SelEnd);
    ctx_.SelEnd = std::max(data_.Caret->SelStart, data_.Caret->SelEnd);
}

void TLineRenderer::DrawRuns(std::string_view text, RunState &state)
{
    tokenizer_.OnRun = [this](int column, std::string_view run, const RunState &runState) {
        DrawRun(column, run, runState);
    };
    tokenizer_.TokenizeText(text, state);
}

void TLineRenderer::DrawVisibleRuns(int line, RunState &state, bool endState)
{
    tokenizer_.OnRun = [this](int column, std::string_view run, const RunState &runState) {
        DrawRun(column, run, runState);
    };
    REdoDodiStrings &store = view_.Lines();
    const int unit = std::max(1, ctx_.Unit);
    // A wide character cut by either edge still shows its part.
    const int firstCell = std::max(0, -ctx_.Origin / unit);
    const int from = std::max(0, ColumnOfCell(store, line, firstCell) - 1);
    const int to = ColumnOfCell(store, line, firstCell + ctx_.Right / unit + 1) + 2;
    tokenizer_.TokenizeColumns(store, line, state, from, to, endState);
}

bool TLineRenderer::StartsBlockWord(int column) const
{
    if (!data_.Settings->BlockShow)
        return false;
    const TViewState &st = *data_.View;
    return (st.BlockStart.Line == ctx_.Line && st.BlockStart.Col == column) ||
           (st.BlockEnd.Line == ctx_.Line && st.BlockEnd.Col == column);
}

void TLineRenderer::DrawRun(int column, std::string_view text, const RunState &state)
{
    if (text.empty())
        return;
    int length = utf8::Length(text);
    if (column < ctx_.FromColumn || column + length > ctx_.ToColumn) {
        const int skip = std::max(0, ctx_.FromColumn - column);
        const int keep = std::min(column + length, ctx_.ToColumn) - column - skip;
        if (keep <= 0)
            return;
        const size_t from = utf8::ByteOffset(text, skip);
        text = text.substr(from, utf8::ByteOffset(text.substr(from), keep));
        column += skip;
        length = keep;
    }
    const TRunColour colour = ColourOfRun(state, ctx_.Colours);
    // Runs come one after another, but a stretch of a long line starts
    // where the row does.
    if (column != ctx_.NextColumn) {
        ctx_.Cell = CellOfColumn(view_.Lines(), ctx_.Line, column);
        ctx_.X = ctx_.Origin + ctx_.Cell * ctx_.Unit;
    }
    ctx_.NextColumn = column + length;
    const TRunSplit split =
        SplitRunBySelection(ctx_.Line, column, length, ctx_.SelStart, ctx_.SelEnd, ctx_.SelectionHidden);

    TColor textColor = colour.TextColor;
    TColor bkColor = StartsBlockWord(column) ? data_.Settings->BlockColor : colour.BkColor;

    const size_t selFrom = utf8::ByteOffset(text, split.Start);
    const size_t selTo = utf8::ByteOffset(text, split.End);
    DrawPart(text.substr(0, selFrom), split.Start, textColor, bkColor, colour.Style);

    if (split.End > split.Start) {
        // On a line drawn in its own colours the selection shows them swapped.
        const bool ownColours = ctx_.Colours.ActiveLine || ctx_.Colours.Breakpoint;
        const TColor selText = ownColours ? bkColor : data_.Settings->SelColor;
        const TColor selBk = ownColours ? textColor : data_.Settings->SelBkColor;
        DrawPart(text.substr(selFrom, selTo - selFrom), split.End - split.Start, selText, selBk, colour.Style);
    }

    textColor = colour.TextColor;
    bkColor = colour.BkColor;
    DrawPart(text.substr(selTo), length - split.End, textColor, bkColor, colour.Style);
}

// Only the characters that reach into the target are handed to the canvas,
// so a long line scrolled far to the right costs no more than a short one.
// Tabs go as the blanks they reach across, in the part's colours.
void TLineRenderer::DrawPart(std::string_view text, int length, TColor textColor, TColor bkColor, TFontStyles style)
{
    if (length <= 0)
        return;
    const TRunPlacement placed = PlaceRun(text, length, ctx_.Cell, ctx_.TabSize, ctx_.X, ctx_.Unit, ctx_.Right);
    ctx_.X += placed.Advance;
    ctx_.Cell += placed.Cells;
    if (placed.Shown.empty())
        return;
    Canvas &canvas = *ctx_.Target;
    TFont font = data_.Settings->Font;
    font.Color = textColor;
    font.Style = style;
    canvas.SetFont(font);
    canvas.SetBrushColor(bkColor);
    if (placed.Shown.find('\t') == std::string_view::npos)
        canvas.TextOut(placed.Left, ctx_.Top, placed.Shown);
    else
        canvas.TextOut(placed.Left, ctx_.Top, BlankTabs(placed.Shown, placed.ShownCell, ctx_.TabSize));
}

TColor TLineRenderer::RestOfLineColour(int line) const
{
    const TLineProp *prop = PropOf(view_.Lines(), line);
    if (prop && prop->Breakpoint)
        return data_.Settings->BreakpointColor;
    if (data_.ActiveLine->ShowActiveLine() && line == data_.View->ActiveLine)
        return data_.ActiveLine->ActiveLineColor();
    return data_.Settings->BkColor;
}

void TLineRenderer::PaintScreenLine(Canvas &window, TBitmap &lineBitmap, int line, const TRect &dest, TRowCells cells,
                                    RunState &state, bool endState)
{
    const REdoDodiStrings &store = view_.Lines();
    const int rowHeight = dest.Height();
    if (line < 0 || line >= store.Count()) {
        window.SetBrushColor(data_.Settings->BkColor);
        window.FillRect(dest);
        return;
    }

    Canvas &canvas = lineBitmap.GetCanvas();
    const int width = lineBitmap.Width();
    canvas.SetBrushColor(data_.Settings->BkColor);
    canvas.FillRect({0, 0, width, rowHeight});

    const int charWidth = data_.View->CharWidth;
    const int right = cells.End < 0 ? width : std::clamp((cells.End - cells.First) * charWidth, 0, width);
    BeginLine(canvas, line, -cells.First * charWidth, 0, charWidth, right);
    // A collapsed region's first line shows its summary in place of its text
    // where its definition gives one, else its text and an ellipsis box.
    const bool collapsed = data_.Folding->Enabled() && !data_.Folds->IsExpanded(line);
    int definition = -1;
    std::string summary;
    const bool summarised = collapsed && cells.First == 0 && view_.RegionSummary(line, definition, summary);
    if (summarised) {
        ctx_.Colours.FoldSummary = true;
        DrawRun(0, summary, state);
    } else {
        DrawVisibleRuns(line, state, endState);
    }

    const int textEnd = std::clamp(ctx_.X, 0, right);
    canvas.SetBrushColor(RestOfLineColour(line));
    canvas.FillRect({textEnd, 0, width, rowHeight - 1});
    if (collapsed && !summarised && cells.End < 0)
        PaintEllipsisBox(canvas, ctx_.X, rowHeight, data_.Folding->LineColor(), data_.Settings->BkColor);

    DrawUnderlines(canvas, line);
    DrawBlockLines(canvas, line);
    window.CopyRect(dest, lineBitmap, {0, 0, dest.Width(), rowHeight});
}

// A red line that zigzags between y + 1 and y - 1 every 2 pixels. The phase
// follows x, so the waves of neighbouring ranges join up.
void TLineRenderer::DrawUnderlines(Canvas &canvas, int line)
{
    const TLineProp *prop = PropOf(view_.Lines(), line);
    if (!prop || !prop->HasUnderlines())
        return;
    const TUnderlineRanges &ranges = *prop->UnderlineRanges;
    const REdoDodiStrings &store = view_.Lines();
    const int charWidth = data_.View->CharWidth;
    const int y = data_.View->LineHeight - 2;
    canvas.SetPen({kUnderlineColor, 1, psSolid});
    for (int k = 0; k < ranges.Starts.Count(); ++k) {
        const int s = ranges.Starts[k];
        const int n = ranges.Lengths[k];
        const int from = std::clamp(ctx_.Origin + CellOfColumn(store, line, s) * charWidth, 0, ctx_.Right) & ~1;
        const int to = std::clamp(ctx_.Origin + CellOfColumn(store, line, s + n) * charWidth, 0, ctx_.Right);
        if (from >= to)
            continue;
        auto waveY = [y](int x) { return (x / 2) % 2 == 0 ? y + 1 : y - 1; };
        for (int x = from; x < to; x += 2)
            canvas.Line(x, waveY(x), x + 2, waveY(x + 2));
    }
}

void TLineRenderer::DrawBlockLines(Canvas &canvas, int line)
{
    if (!data_.Settings->BlockShow || data_.Settings->BlockLineColor == clNone)
        return;
    const int charWidth = data_.View->CharWidth;
    const int y = data_.View->LineHeight - 2;
    canvas.SetPen({data_.Settings->BlockLineColor, 1, psSolid});
    for (const TBlockRange &block : {data_.View->BlockStart, data_.View->BlockEnd}) {
        if (block.Line != line || block.Col < 0)
            continue;
        const REdoDodiStrings &store = view_.Lines();
        const int from = std::clamp(ctx_.Origin + CellOfColumn(store, line, block.Col) * charWidth, 0, ctx_.Right);
        const int to = std::clamp(
            ctx_.Origin + CellOfColumn(store, line, block.Col + std::max(1, block.Length)) * charWidth, 0, ctx_.Right);
        if (from < to)
            canvas.Line(from, y, to, y);
    }
}

// The number right-aligned in a field as wide as the line count's text and
// the suffix (left empty unless `numbered`); returns the field's width.
int TLineRenderer::DrawPrintLineNumber(Canvas &canvas, int line, const TRect &rect, int unit, bool numbered)
{
    const TDodiGutter &gutter = *data_.Gutter;
    const std::string field = std::to_string(view_.Lines().Count()) + gutter.NumberSuffix();
    const int fieldWidth = unit * utf8::Length(field);
    if (!numbered)
        return fieldWidth;
    const std::string number = GutterNumberText(line + gutter.LineNumberStart(), gutter);
    TFont font = data_.Settings->Font;
    font.Color = clBlack;
    font.Style = {};
    canvas.SetFont(font);
    canvas.SetBrushColor(data_.Settings->BkColor);
    canvas.TextOut(rect.left + fieldWidth - unit * utf8::Length(number), rect.top, number);
    return fieldWidth;
}

void TLineRenderer::PaintPrintLine(Canvas &canvas, int line, const TRect &rect, RunState &state, TPrintColumns columns)
{
    const REdoDodiStrings &store = view_.Lines();
    if (line < 0 || line >= store.Count()) {
        canvas.SetBrushColor(data_.Settings->BkColor);
        canvas.FillRect(rect);
        return;
    }
    canvas.SetFont(data_.Settings->Font);
    const int unit = canvas.TextWidth("w");
    int x = rect.left;
    if (data_.Print->PrintLineNumbers)
        x += DrawPrintLineNumber(canvas, line, rect, unit, columns.Numbered);

    BeginLine(canvas, line, x - CellOfColumn(store, line, columns.From) * unit, rect.top, unit, INT_MAX);
    ctx_.FromColumn = columns.From;
    ctx_.ToColumn = columns.To;
    DrawRuns(store.Get(line), state);
    ctx_.X = std::max(ctx_.X, x);
    canvas.SetBrushColor(RestOfLineColour(line));
    if (ctx_.X < rect.right)
        canvas.FillRect({ctx_.X, rect.top, rect.right, rect.bottom});
}

} // namespace tarnwick
