// TCaretState: where the caret stands and what is selected, the state every
// editing command reads and moves.
#pragma once

#include "editor/base/editor_types.h"

namespace tarnwick {

struct TCaretState {
    // CaretLine is a valid line index while the store has lines; CaretCol may
    // lie past the end of its line (free space, or after a change of line).
    int CaretCol = 0;
    int CaretLine = 0;
    // The selection in the order it was set; empty when both are equal.
    TCaretPos SelStart;
    TCaretPos SelEnd;
    // Where the last keyboard or mouse selection began.
    TCaretPos SelAnchor;
    bool Overwrite = false;

    bool SelectionEmpty() const { return SelStart == SelEnd; }
};

} // namespace tarnwick
