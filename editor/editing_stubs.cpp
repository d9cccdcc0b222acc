// Simple first versions of the operations whose full behaviour belongs to the
// caret and editing, undo, scrolling, folding, gutter and printing code. Each
// does the least that keeps the control consistent; the full versions replace
// them one by one.
#include "editor/custom_dodi.h"

#include "editor/host.h"

#include <algorithm>

namespace tarnwick {

void TCustomDodi::SetCaretCol(int col)
{
    if (col == state_.CaretCol)
        return;
    state_.CaretCol = std::max(0, col);
    DoStatusChange();
    BlockMatch();
    if (OnColumnChange)
        OnColumnChange(state_.CaretCol);
}

void TCustomDodi::SetCaretLine(int line)
{
    if (line == state_.CaretLine)
        return;
    REdoDodiStrings &store = *ActiveLines();
    if (store.Empty())
        store.Add("");
    state_.CaretLine = std::clamp(line, 0, store.Count() - 1);
    DoStatusChange();
    BlockMatch();
}

void TCustomDodi::Clear()
{
    SetCaretCol(0);
    SetCaretLine(0);
    state_.TopLine = 0;
    state_.LeftColumn = 0;
    state_.ChangeHandling = false;
    ActiveLines()->Clear();
    Invalidate();
    SetCaretDirect(0, 0);
    state_.SelStart = state_.SelEnd = state_.SelAnchor = {};
    state_.ChangeHandling = true;
    LinesChanged();
    InvalidateStateCaches();
}

void TCustomDodi::DeleteLine()
{
    if (!CanModify())
        return;
    REdoDodiStrings &store = *ActiveLines();
    if (store.Empty())
        return;
    const int line = std::clamp(state_.CaretLine, 0, store.Count() - 1);
    state_.CaretCol = 0;
    markerList_->Markers().RemoveMarker(line);
    if (store.Count() == 1) {
        store.Put(0, "");
    } else if (line == store.Count() - 1) {
        state_.CaretLine = line - 1;
        store.RemoveLine(line);
    } else {
        store.RemoveLine(line);
    }
    for (int i = 0; i < state_.Bookmarks.Count(); ++i)
        if (state_.Bookmarks[i] > line)
            state_.Bookmarks.Set(i, state_.Bookmarks[i] - 1);
    CollapseSelection();
    Invalidate();
}

void TCustomDodi::CopyToClipboard()
{
    if (host_)
        host_->SetClipboardText(SelText());
}

void TCustomDodi::CutToClipboard() {}
void TCustomDodi::PasteFromClipboard() {}
void TCustomDodi::DeleteSelection(bool) {}
void TCustomDodi::InsertText(const std::string &) {}

void TCustomDodi::SetModified(bool modified)
{
    if (modified)
        return;
    ClearUndo();
    DoStatusChange();
    ActiveLines()->ForEachLineProp([](int, TLineProp &p) { p.Modified = false; });
    Invalidate();
}

void TCustomDodi::Undo() {}
void TCustomDodi::Redo() {}
bool TCustomDodi::CanUndo() const { return false; }
bool TCustomDodi::CanRedo() const { return false; }
void TCustomDodi::ClearUndo() {}

void TCustomDodi::Print() {}

void TCustomDodi::RemoveFoldRegionStartingAt(int) {}
void TCustomDodi::RemoveFoldRegionEndingAt(int) {}
void TCustomDodi::ScanRegions() {}

} // namespace tarnwick
