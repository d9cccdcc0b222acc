// TEditTarget: what the editing commands need of the editor they edit, beyond
// the view: caret and selection setters, the edit session and undo history,
// the editing settings and the notifications an edit raises. The control
// implements it; the commands hold this narrow face, never the control.
#pragma once

#include "editor/view/view_target.h"

#include <string>

namespace tarnwick {

class TDodiUndoList;
struct TEditSession;

class TEditTarget : public TViewTarget {
public:
    // ---- caret and selection ----
    virtual void SetCaretCol(int col) = 0;
    virtual void SetCaretLine(int line) = 0;
    // Places the caret without any event or side effect.
    virtual void SetCaretDirect(int col, int line) = 0;
    virtual int SelStart() const = 0;
    virtual void SetSelStart(int index) = 0;
    virtual void SetSelLength(int count) = 0;
    virtual std::string SelText() const = 0;
    virtual void CollapseSelection() = 0;
    virtual void ExtendSelection() = 0;
    virtual void SetLeftColumn(int column) = 0;
    virtual void SetActiveLine(int line) = 0;

    // ---- edits and their history ----
    virtual bool CanModify() const = 0;
    // Bracket state of the edit scopes (edit_session.h).
    virtual TEditSession &EditSession() = 0;
    // The history edits record into: the shared source's when one is attached.
    virtual TDodiUndoList &UndoList() = 0;
    // Sets the line's Modified flag (creating its record), repainting after.
    virtual void SetLineModified(int line, bool modified) = 0;
    // The line store's OnChange handler: raises OnChange and refreshes.
    virtual void LinesChanged() = 0;
    virtual void InvalidateStateCaches() = 0;

    // ---- notifications ----
    virtual void DoChange() = 0;
    virtual void DoSelectionChange() = 0;
    virtual void DoStatusChange() = 0;
    virtual void BlockMatch() = 0;
    virtual PopupWindow *HintWindow() = 0;

    // ---- fold regions ----
    virtual void RemoveFoldRegionStartingAt(int line) = 0;
    virtual void RemoveFoldRegionEndingAt(int line) = 0;
    virtual void ScanRegions() = 0;
    virtual void SetExpanded(int line, bool expanded) = 0;
    // Expands the collapsed regions that hide `line`.
    virtual void RevealLine(int line) = 0;

    // ---- editing settings ----
    virtual bool AutoExpand() const = 0;
    virtual bool AutoIndent() const = 0;
    virtual bool EnhancedHomeKey() const = 0;
    virtual bool ReadOnly() const = 0;
    virtual bool SmartTabs() const = 0;
    virtual int TabSize() const = 0;
    virtual bool TrimTrailingSpaces() const = 0;
};

} // namespace tarnwick
