// TDeletion: the edits that take text away around the caret: Backspace (with
// smart backspace), delete word left, the Delete key's character deletion and
// line join, and deleting the caret line. Each records an undo record and
// runs in an edit scope.
#pragma once

#include "editor/base/editor_types.h"

#include <optional>

namespace tarnwick {

class TEditTarget;

class TDeletion {
public:
    explicit TDeletion(TEditTarget &editor) : ed_(editor) {}

    // `plain` leaves smart backspace out (undo and redo replay with it).
    void Backspace(bool plain = false);
    void DeleteWordLeft();
    // The character at the caret, or at the end of the line the line break.
    void DeleteChar() { DeleteCharAt(std::nullopt); }
    void DeleteLine();

private:
    // Moves the caret one position left as Backspace does; false at the start
    // of the text.
    bool StepLeft();
    // Deletes at the caret; `from` is where a backspace started.
    void DeleteCharAt(std::optional<TCaretPos> from);
    bool SmartBackspace();
    int SmartBackspaceColumn(int column, int line);

    TEditTarget &ed_;
};

} // namespace tarnwick
