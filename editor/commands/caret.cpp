#include "editor/commands/caret.h"

#include "editor/commands/edit_session.h"
#include "editor/commands/edit_target.h"
#include "editor/commands/line_edits.h"
#include "editor/platform/host.h"

#include <algorithm>

namespace tarnwick {

namespace {

// Whatever follows every caret move, column or line.
void FollowCaret(TEditTarget &ed)
{
    // A caret put on a line a collapsed region hides (by a search, a jump, an
    // undo) opens the region.
    ed.RevealLine(ed.CaretState().CaretLine);
    ed.MakeCaretVisible();
    ed.UpdateScrollBars();
    ed.DoStatusChange();
    if (ed.Flags().Focused)
        ed.PlaceCaret();
}

} // namespace

void TDodiCaret::SetCol(int column)
{
    TCaretState &caret = ed_.CaretState();
    TViewState &view = ed_.ViewState();
    if (column == caret.CaretCol)
        return;
    TLineEdits lines(ed_);
    if (column < 0) {
        if (caret.CaretLine > 0) {
            SetLine(ed_.LineOfVisibleIndex(ed_.VisibleIndexOf(caret.CaretLine) - 1));
            column = lines.Length(caret.CaretLine);
        } else {
            column = 0;
        }
    }
    {
        TEditScope quiet(ed_);
        TEditSession &session = ed_.EditSession();
        if (column > view.MaxLineLength) {
            // The horizontal range covers the caret even where no line is
            // that long; the next rescan gives the true maximum back.
            view.MaxLineLength = column;
            session.MaxLengthStale = true;
            ed_.SetLeftColumn(std::max(0, column - ed_.VisibleColumns()));
        } else if (session.MaxLengthStale) {
            ed_.RecomputeMaxLineLength();
            session.MaxLengthStale = false;
        }
        // With AutoExpand the caret may stand past the end of its line; the
        // blanks up to it are written only by the edit that types there.
        lines.EnsureLine();
        if (!ed_.AutoExpand())
            column = std::min(column, lines.Length(caret.CaretLine));
    }
    caret.CaretCol = column;
    FollowCaret(ed_);
    ed_.BlockMatch();
    if (ed_.OnColumnChange)
        ed_.OnColumnChange(caret.CaretCol);
}

void TDodiCaret::Place(int column, int line)
{
    TCaretState &state = ed_.CaretState();
    TLineEdits lines(ed_);
    const int oldLine = state.CaretLine;
    const int oldColumn = state.CaretCol;
    state.CaretLine = std::clamp(line, 0, std::max(0, lines.Count() - 1));
    state.CaretCol = std::clamp(column, 0, lines.Length(state.CaretLine));
    if (ed_.ActiveLineSettings()->ActiveLineAtCursor())
        ed_.SetActiveLine(state.CaretLine);
    FollowCaret(ed_);
    ed_.BlockMatch();
    if (state.CaretCol != oldColumn && ed_.OnColumnChange)
        ed_.OnColumnChange(state.CaretCol);
    if (state.CaretLine != oldLine && ed_.ActiveLineSettings()->ActiveLineAtCursor() && ed_.OnActiveLineChange)
        ed_.OnActiveLineChange(state.CaretLine);
}

void TDodiCaret::SetLine(int line)
{
    TCaretState &state = ed_.CaretState();
    if (line == state.CaretLine)
        return;
    TLineEdits lines(ed_);
    {
        TEditScope scope(ed_);
        lines.EnsureLine();
        line = std::clamp(line, 0, lines.Count() - 1);
        const bool atCursor = ed_.ActiveLineSettings()->ActiveLineAtCursor();
        if (atCursor)
            ed_.SetActiveLine(line);
        const int left = state.CaretLine;
        state.CaretLine = line;
        // Trailing blanks of the line the caret leaves go.
        if (left != line && left >= 0 && left < lines.Count() &&
            (ed_.TrimTrailingSpaces() || ed_.WordWrap() != wwNone)) {
            const std::string_view text = lines.Text(left);
            const std::string_view trimmed = text::TrimRightBlanks(text);
            if (trimmed.size() != text.size()) {
                // The trimmed blanks are a change of the text like any other:
                // undone with the step before, and reported.
                lines.Replace(left, std::string(trimmed));
                scope.Changed(TChangeNotice::Full);
            }
        }
    }
    if (PopupWindow *hint = ed_.HintWindow(); hint && hint->Visible())
        hint->Hide();
    FollowCaret(ed_);
    ed_.BlockMatch();
    if (ed_.ActiveLineSettings()->ActiveLineAtCursor() && ed_.OnActiveLineChange)
        ed_.OnActiveLineChange(state.CaretLine);
    bool &rescan = ed_.Flags().RegionRescanPending;
    if (rescan) {
        rescan = false;
        ed_.ScanRegions();
    }
}

} // namespace tarnwick
