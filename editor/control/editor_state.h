// The editor state that caret, editing, painting, scrolling, folding and mouse
// code all read and write. The control owns one; its parts reach it through
// TCustomDodi::State().
#pragma once

#include "editor/base/editor_types.h"
#include "editor/base/int_list.h"
#include "editor/base/run_state.h"

#include <string>

namespace tarnwick {

// A matched block keyword for highlighting; Line -1 means none.
struct TBlockRange {
    int Line = -1;
    int Col = -1;
    int Length = -1;
    bool operator==(const TBlockRange &) const = default;
};

struct TEditorState {
    // CaretLine is a valid line index while the store has lines; CaretCol may
    // lie past the end of its line after a change of line.
    int CaretCol = 0;
    int CaretLine = 0;
    // The selection in the order it was set; empty when both are equal.
    TCaretPos SelStart;
    TCaretPos SelEnd;
    // Where the last keyboard or mouse selection began.
    TCaretPos SelAnchor;

    int TopLine = 0;
    int LeftColumn = 0;
    // Longest line length, the horizontal scroll range.
    int MaxLineLength = 0;

    // The tokenizer's state at the start of TopStateLine; -1 = none stored.
    int TopStateLine = -1;
    RunState TopState;

    // While false the line store's change handler does nothing, so that one
    // edit raises one change notification.
    bool ChangeHandling = true;

    // Cell geometry from the font; 0 until the font was measured.
    int CharWidth = 0;
    int LineHeight = 0;

    bool Overwrite = false;
    bool CaretShown = false;
    bool Focused = false;
    int SavedBlinkTime = 0;
    bool BlinkTimeSaved = false;

    // Ten bookmark slots holding line numbers, -1 when unused; shifted by line
    // insertion and deletion.
    TIntList Bookmarks{10, -1};
    int FoldRegionCount = 0;
    int ActiveLine = -1;
    TBlockRange BlockStart;
    TBlockRange BlockEnd;
    // Lines made continuation lines by the last wrap.
    TIntList WrapList;
    bool ScrollBarUpdatesSuspended = false;
    // The parameter hint window is being shown and may take the focus briefly.
    bool ShowingHint = false;
    // The find dialog is open: the selection stays painted without the focus
    // so that the hit remains visible.
    bool FindDialogOpen = false;
    // Characters the tokenizer treats as word separators.
    std::string WordSeparators = " \"',";

    bool SelectionEmpty() const { return SelStart == SelEnd; }
};

} // namespace tarnwick
