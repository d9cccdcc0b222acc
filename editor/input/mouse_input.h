// TMouseInput: what the mouse does to the editor: caret placement and
// selection by pressing and dragging, double-click word selection, URL clicks,
// the pointer shape, drag-and-drop of the selection and files dropped from the
// desktop. The context menu has its own file (context_menu.h).
#pragma once

#include "editor/base/editor_types.h"

#include <string>
#include <vector>

namespace tarnwick {

class TInputTarget;

struct TMouseState {
    // The left button went down in the text area and the selection follows the mouse.
    bool MouseSelecting = false;
    // The left button went down inside the selection; the next move starts a drag.
    bool DragPending = false;
    // Set by every caret placement from the mouse; the next move is ignored.
    bool SkipNextMouseMove = false;
    // A drag of the selection was begun and has not ended yet.
    bool Dragging = false;
    // The cell a word hint was last asked for; (-1, -1) when none.
    TCaretPos HintCell{-1, -1};
    // The pointer shape last given to the host, so moves only send changes.
    TCursor ShownCursor = crDefault;
};

class TMouseInput {
public:
    explicit TMouseInput(TInputTarget &editor) : ed_(editor) {}

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void DblClick(int x, int y);

    bool DragOver(void *source, int x, int y, TDragState state);
    void DragDrop(void *source, int x, int y, TShiftState shift);
    void DragEnded();
    void DropFiles(const std::vector<std::string> &fileNames);

    // The pointer shape at a client point: the arrow outside the text area,
    // the hand over a web address, else the editor's Cursor.
    TCursor CursorAt(int x, int y) const;
    // The text cell (column, line) under a client point, clamped to 0 like a
    // click; (0, 0) while the font is not measured.
    TCaretPos CellAt(int x, int y);

    TMouseState &State() { return state_; }
    const TMouseState &State() const { return state_; }

private:
    void PlaceCaretAt(int x, int y, TMouseButton button, TShiftState shift, bool press);
    void MoveCaretTo(TCaretPos cell);
    void OpenUrlAtCaret();
    void SelectByDragging(int x, int y);
    bool CellMetricsReady();
    // The URL piece of `line` that covers `column`, or empty.
    std::string UrlPieceAt(int line, int column) const;
    // The character index of a cell as SelStart counts, the column capped at the line.
    long long IndexOfCell(TCaretPos cell) const;
    void HideCaret();
    void ShowCaret();
    void ShowCursor(TCursor cursor);

    TInputTarget &ed_;
    TMouseState state_;
};

} // namespace tarnwick
