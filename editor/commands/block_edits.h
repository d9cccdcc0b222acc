// TBlockEdits: the edits that put in or take away any amount of text at once:
// inserting text over the selection (paste, completion, undo), deleting the
// selection, and clearing the whole text. Each records an undo record and runs
// in an edit scope. Lines are inserted and removed in blocks, so the cost
// does not grow with the product of the text's size and the edit's.
#pragma once

#include "editor/document/line_end.h"

#include <string>

namespace tarnwick {

class TEditTarget;

class TBlockEdits {
public:
    explicit TBlockEdits(TEditTarget &editor) : ed_(editor) {}

    // Replaces the selection by `text`; CR LF pairs are line breaks, a lone
    // CR or LF stays in the line. No read-only check: the application can
    // always replace the text.
    void InsertText(const std::string &text);
    // Deletes the selection; does nothing when it is empty.
    void DeleteSelection(bool repaint);
    // Empties the store. The history stays, and gains a record that gives the
    // text back on undo.
    void Clear();
    // Every line ends with `style`, and new lines get it: one undoable step.
    // Nothing happens when every break is `style` already.
    void ConvertLineEnds(TLineEnd style);

private:
    TEditTarget &ed_;
};

} // namespace tarnwick
