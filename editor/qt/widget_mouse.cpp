#include "editor/qt/widget_mouse.h"

#include "editor/control/custom_dodi.h"
#include "editor/control/redodi.h"
#include "editor/qt/dodi_widget.h"
#include "editor/qt/qt_keys.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

namespace tarnwick::qt {

const char *const WidgetMouse::kSelectionFormat = "application/x-tarnwick-editor-selection";

namespace {

std::optional<TMouseButton> ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return mbLeft;
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return std::nullopt;
    }
}

TShiftState ShiftOf(const QMouseEvent *event) { return ShiftStateOf(event->modifiers(), event->buttons()); }

// Local files among the dropped URLs, in order.
std::vector<std::string> LocalFiles(const QMimeData *mime)
{
    std::vector<std::string> files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile())
            files.push_back(url.toLocalFile().toStdString());
    return files;
}

} // namespace

WidgetMouse::WidgetMouse(QWidget &widget, TCustomDodi &control) : widget_(widget), control_(control)
{
    widget_.setMouseTracking(true);
    widget_.setAcceptDrops(true);
}

void WidgetMouse::Press(QMouseEvent *event)
{
    const auto button = ButtonOf(event->button());
    if (!button)
        return;
    const QPoint p = event->position().toPoint();
    if (*button == mbLeft) {
        pressPos_ = p;
        dragThreshold_ = -1;
    }
    control_.MouseDown(*button, ShiftOf(event), p.x(), p.y());
    event->accept();
}

void WidgetMouse::Move(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    control_.MouseMove(ShiftOf(event), p.x(), p.y());
    if (dragThreshold_ >= 0 && (event->buttons() & Qt::LeftButton) &&
        (p - pressPos_).manhattanLength() >= dragThreshold_)
        RunDrag();
    event->accept();
}

void WidgetMouse::Release(QMouseEvent *event)
{
    const auto button = ButtonOf(event->button());
    if (!button)
        return;
    const QPoint p = event->position().toPoint();
    control_.MouseUp(*button, ShiftOf(event), p.x(), p.y());
    // Released before the pointer went far enough: the drag never started.
    if (*button == mbLeft && dragThreshold_ >= 0) {
        dragThreshold_ = -1;
        control_.EndDrag(nullptr, p.x(), p.y());
    }
    event->accept();
}

// The first click of the pair already placed the caret; the second one
// only selects the word.
void WidgetMouse::DoubleClick(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        Press(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    control_.DblClick(p.x(), p.y());
    event->accept();
}

void WidgetMouse::ContextMenu(QContextMenuEvent *event)
{
    const QPoint global = event->globalPos();
    control_.ContextMenu(global.x(), global.y());
    event->accept();
}

void WidgetMouse::BeginDrag(int threshold) { dragThreshold_ = std::max(0, threshold); }

void WidgetMouse::RunDrag()
{
    dragThreshold_ = -1;
    auto *mime = new QMimeData;
    mime->setText(QString::fromStdString(control_.SelText()));
    mime->setData(QString::fromLatin1(kSelectionFormat), QByteArray());
    QDrag drag(&widget_);
    drag.setMimeData(mime);
    drag.exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    const QPoint p = widget_.mapFromGlobal(QCursor::pos());
    QObject *target = drag.target();
    auto *targetEditor = dynamic_cast<DodiWidget *>(target);
    control_.EndDrag(targetEditor ? static_cast<void *>(&targetEditor->Control()) : static_cast<void *>(target), p.x(),
                     p.y());
}

void *WidgetMouse::SourceOf(QDropEvent *event) const
{
    QObject *source = event->source();
    if (auto *editor = dynamic_cast<DodiWidget *>(source))
        return static_cast<TCustomDodi *>(&editor->Control());
    return source;
}

void WidgetMouse::DragEnter(QDragEnterEvent *event) { DragMove(event); }

void WidgetMouse::DragMove(QDragMoveEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (!LocalFiles(event->mimeData()).empty()) {
        if (control_.AcceptFiles())
            event->acceptProposedAction();
        else
            event->ignore();
        return;
    }
    const TDragState state = event->type() == QEvent::DragEnter ? dsDragEnter : dsDragMove;
    dragSource_ = SourceOf(event);
    if (!control_.DragOver(dragSource_, p.x(), p.y(), state)) {
        event->ignore();
        return;
    }
    event->setDropAction((event->modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void WidgetMouse::DragLeave(QDragLeaveEvent *event)
{
    const QPoint p = widget_.mapFromGlobal(QCursor::pos());
    control_.DragOver(dragSource_, p.x(), p.y(), dsDragLeave);
    dragSource_ = nullptr;
    event->accept();
}

void WidgetMouse::Drop(QDropEvent *event)
{
    const QPoint p = event->position().toPoint();
    const std::vector<std::string> files = LocalFiles(event->mimeData());
    if (!files.empty()) {
        if (!control_.AcceptFiles()) {
            event->ignore();
            return;
        }
        event->acceptProposedAction();
        control_.DropFiles(files);
        return;
    }
    const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
    event->setDropAction(shift.Contains(ssCtrl) ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    control_.DragDrop(SourceOf(event), p.x(), p.y(), shift);
}

} // namespace tarnwick::qt
