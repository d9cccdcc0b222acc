// TCaretMovement: the caret moves of the movement keys (arrows, word left and
// right, Home, End, Page Up and Down) with Shift extending the selection.
#pragma once

#include "editor/base/editor_types.h"

namespace tarnwick {

class TEditTarget;

class TCaretMovement {
public:
    explicit TCaretMovement(TEditTarget &editor) : ed_(editor) {}

    // dx columns and dy visible rows; with Ctrl, left and right move by words
    // and up and down move nothing.
    void Arrow(int dx, int dy, TShiftState shift);
    void Home(TShiftState shift);
    void End(TShiftState shift);
    // direction -1 is Page Up, +1 Page Down.
    void Page(int direction, TShiftState shift);

private:
    // Runs `move`, then extends the selection to the caret when Shift is held
    // and the caret started at the selection anchor, else collapses it.
    template <typename F>
    void Move(TShiftState shift, F &&move);
    void WordLeft();
    void WordRight();
    bool IsWordDelimiter(char32_t c) const;
    // The position `rows` rows of the view away from `from`, within the text.
    TCaretPos RowsAway(TCaretPos from, int rows) const;
    // The next line shown below `line`; `line` itself at the end of the text.
    int ShownLineAfter(int line) const;
    void MoveTo(TCaretPos pos);
    int SkipMarks(int line, int column, int dx) const;

    TEditTarget &ed_;
};

} // namespace tarnwick
