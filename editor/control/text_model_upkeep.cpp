// How the control follows its text model: the line store's change reports,
// the store's line deletion, and the undo list's replay of recorded edits.
#include "editor/control/custom_dodi.h"

#include "editor/commands/caret.h"
#include "editor/commands/edit_session.h"
#include "editor/undo/undo_list.h"
#include "editor/view/row_layout.h"

namespace tarnwick {

namespace {

void ShiftMarkers(TDodiMarkers &markers, const TLinesChange &change)
{
    for (int i = markers.Count() - 1; i >= 0; --i) {
        int &line = markers.Items(i).LineNumber;
        line = LineAfterChange(line, change, lrDrop);
        if (line < 0)
            markers.Delete(i);
    }
}

} // namespace

void TCustomDodi::LinesChanging(REdoDodiStrings &lines, const TLinesChange &change)
{
    if (&lines != ActiveLines())
        return;
    // Emptied or replaced text: the caret goes home while there are still
    // lines to put it on.
    if (change.Kind == TLinesChange::lcClear || change.Kind == TLinesChange::lcReset) {
        caretState_.SelStart = {};
        caretState_.SelEnd = {};
        SetCaretLine(0);
        SetCaretCol(0);
        Invalidate();
    }
}

void TCustomDodi::LinesChanged(REdoDodiStrings &lines, const TLinesChange &change)
{
    if (&lines != ActiveLines())
        return;
    FoldLinesChanged(lines, change);
    view_->Rows().LinesChanged(change);
    // A top line that lost rows hands the rows past its end to the next line.
    if (viewState_.TopSubRow > 0)
        SetTopRowDirect(TopRow());
    switch (change.Kind) {
    case TLinesChange::lcEdit:
    case TLinesChange::lcInsert:
    case TLinesChange::lcRemove:
        if (change.Line < viewState_.TopStateLine)
            DropTopLineState();
        if (change.Kind == TLinesChange::lcEdit)
            break;
        ShiftMarkers(markerList_->Markers(), change);
        // Lines put in from outside the editing operations move the text
        // under the selection.
        if (change.Kind == TLinesChange::lcInsert && editSession_->Depth == 0) {
            TCaretPos start, end;
            NormalizedSelection(start, end);
            if (change.Line <= end.Line)
                CollapseSelection();
            Invalidate();
        }
        break;
    case TLinesChange::lcEnds:
        break;
    case TLinesChange::lcClear:
        DropTopLineState();
        viewState_.FoldRegionCount = 0;
        break;
    case TLinesChange::lcReset:
        DropTopLineState();
        viewState_.FoldRegionCount = 0;
        RecomputeMaxLineLength();
        UpdateScrollBars();
        DoSelectionChange();
        Refresh();
        break;
    case TLinesChange::lcLoad: {
        CollapseSelection();
        // The caret's old line belongs to the text that went: nothing of the
        // loaded text is trimmed on its way home.
        TDodiCaret(*this).Place(0, 0);
        DropTopLineState();
        viewState_.MaxLineLength = lines.LongestLineLength();
        LinesChanged();
        // A finder may leave a large text to be read after the first paint.
        if (foldFinder_)
            UpdateFoldRegions(false);
        else
            ScanRegions();
        Refresh();
        break;
    }
    }
}

void TCustomDodi::DeleteStoreLine(int index)
{
    TEditScope scope(*this);
    REdoDodiStrings &store = *ActiveLines();
    const int x = CaretCol();
    const int y = CaretLine();
    const int n = store.Count();
    SetCaretLine(index);
    DeleteLine();
    // When the caret's own line was the last one, it stays on the new last line.
    SetCaretDirect(n == 1 ? 0 : x, std::min(index < y ? y - 1 : y, store.Count() - 1));
}

void TCustomDodi::BeginReplay()
{
    if (!replayScope_) {
        replayScope_ = std::make_unique<TEditScope>(*this);
        replayScope_->Changed(TChangeNotice::Full);
    }
}

void TCustomDodi::EndReplay() { replayScope_.reset(); }

void TCustomDodi::ReplayCaret(int col, int line) { TDodiCaret(*this).Place(col, line); }

void TCustomDodi::ReplaySelection(TCaretPos start, TCaretPos end)
{
    caretState_.SelStart = start;
    caretState_.SelEnd = end;
    caretState_.SelAnchor = end;
    Invalidate();
    DoSelectionChange();
}

void TCustomDodi::UndoChanged(bool canUndo, bool canRedo)
{
    if (!destroying_ && OnUndoChange)
        OnUndoChange(*this, canUndo, canRedo);
}

} // namespace tarnwick
