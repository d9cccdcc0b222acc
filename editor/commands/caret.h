// TDodiCaret: setting the caret's column and line. A setter clamps as
// the editor's settings say and then tells everything that follows the caret:
// the view, the status, the block match, the active line.
#pragma once

namespace tarnwick {

class TEditTarget;

class TDodiCaret {
public:
    explicit TDodiCaret(TEditTarget &editor) : ed_(editor) {}

    // A negative column goes to the end of the previous line (column 0 on
    // line 0). Past the end of the line the caret stands in free space when
    // AutoExpand is on (no blank is written), else it stops at the line end.
    void SetCol(int column);
    // Clamped to the store; the column keeps its value, so the caret may
    // stand past the end of the new line.
    void SetLine(int line);
    // Puts the caret at a position of the text as it stands, clamped into
    // it, without padding or trimming any line: where undo and redo leave it.
    void Place(int column, int line);

private:
    TEditTarget &ed_;
};

} // namespace tarnwick
