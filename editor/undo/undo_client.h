// TUndoClient: what the undo list asks of the editor whose history it keeps:
// the text its records change, and the caret and selection to put back.
#pragma once

#include "editor/base/editor_types.h"

namespace tarnwick {

class REdoDodiStrings;

class TUndoClient {
public:
    virtual ~TUndoClient() = default;
    // The text the list records and replays on.
    virtual REdoDodiStrings &UndoLines() = 0;
    // Brackets one undo or redo, so that the editor raises one change for it.
    virtual void BeginReplay() = 0;
    virtual void EndReplay() = 0;
    // Where the caret stands.
    virtual TCaretPos UndoCaret() const = 0;
    // Puts the caret at (col, line), clamped into the text, leaving the
    // selection and the text as they are.
    virtual void ReplayCaret(int col, int line) = 0;
    // Selects start..end; equal positions collapse the selection there.
    virtual void ReplaySelection(TCaretPos start, TCaretPos end) = 0;
    // The history changed: what CanUndo and CanRedo now answer.
    virtual void UndoChanged(bool canUndo, bool canRedo) = 0;
};

} // namespace tarnwick
