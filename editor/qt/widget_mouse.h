// WidgetMouse: feeds a widget's pointer, context-menu and drop events to the
// editor control it hosts, and runs the drag of the selection the control
// begins. Drops are taken per event: files while the control accepts files,
// anything else only as the control's OnDragOver allows.
#pragma once

#include <QPoint>

class QContextMenuEvent;
class QDragEnterEvent;
class QDragLeaveEvent;
class QDragMoveEvent;
class QDropEvent;
class QMouseEvent;
class QWidget;

namespace tarnwick {
class TCustomDodi;
}

namespace tarnwick::qt {

class WidgetMouse {
public:
    WidgetMouse(QWidget &widget, TCustomDodi &control);

    void Press(QMouseEvent *event);
    void Move(QMouseEvent *event);
    void Release(QMouseEvent *event);
    void DoubleClick(QMouseEvent *event);
    void ContextMenu(QContextMenuEvent *event);
    void DragEnter(QDragEnterEvent *event);
    void DragMove(QDragMoveEvent *event);
    void DragLeave(QDragLeaveEvent *event);
    void Drop(QDropEvent *event);

    // The control's request: drag the selection once the pointer is
    // `threshold` pixels away from where the button went down.
    void BeginDrag(int threshold);

    // The format that marks the selection dragged out of an editor.
    static const char *const kSelectionFormat;

private:
    void RunDrag();
    // What the control knows as the source of a drag: the control of an
    // editor widget, else the Qt object itself.
    void *SourceOf(QDropEvent *event) const;

    QWidget &widget_;
    TCustomDodi &control_;
    QPoint pressPos_;
    int dragThreshold_ = -1;
    // The source of the drag now over the widget, told again when it leaves.
    void *dragSource_ = nullptr;
};

} // namespace tarnwick::qt
