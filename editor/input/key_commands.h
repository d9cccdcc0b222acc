// The key-command tables: what a control character or a key code does, in
// two tables. The first works in read-only mode too (copy, escape, paging,
// Home, End); the second holds the edits.
#pragma once

#include "editor/base/editor_types.h"

namespace tarnwick {

class TInputTarget;

using TKeyCommandAction = void (*)(TInputTarget &editor, TShiftState shift);

// A row of the first table: runs when the code matches and the shift state
// holds at least `Required`.
struct TReadOnlyKeyCommand {
    int Code;
    TShiftState Required;
    TKeyCommandAction Run;
};

// A row of the second table. `Modifies` rows are skipped while the control
// cannot be modified; `MarksModified` rows mark the caret line afterwards.
struct TEditKeyCommand {
    int Code;
    TKeyCommandAction Run;
    bool Modifies;
    bool MarksModified;
};

// Runs the rows for `code`: the first table, then, unless ReadOnly, the second.
void RunKeyCommand(TInputTarget &editor, int code, TShiftState shift);

} // namespace tarnwick
