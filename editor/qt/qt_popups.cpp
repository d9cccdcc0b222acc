#include "editor/qt/qt_popups.h"

#include "editor/base/win_constants.h"
#include "editor/qt/qt_canvas.h"
#include "editor/qt/qt_colors.h"
#include "editor/qt/qt_keys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tarnwick::qt {

template <typename Base>
PopupWidget<Base>::PopupWidget(Qt::WindowFlags flags) : QWidget(nullptr, flags | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

template <typename Base>
void PopupWidget<Base>::SetBounds(const TRect &r)
{
    setGeometry(r.left, r.top, std::max(1, r.Width()), std::max(1, r.Height()));
}

template <typename Base>
TRect PopupWidget<Base>::Bounds() const
{
    const QRect g = geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

template <typename Base>
void PopupWidget<Base>::SetColor(TColor color)
{
    color_ = color;
    update();
}

template <typename Base>
void PopupWidget<Base>::mousePressEvent(QMouseEvent *event)
{
    if (!this->OnMouseDown)
        return;
    const TMouseButton button = event->button() == Qt::RightButton    ? mbRight
                                : event->button() == Qt::MiddleButton ? mbMiddle
                                                                      : mbLeft;
    const QPoint p = event->position().toPoint();
    this->OnMouseDown(button, ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y());
}

template <typename Base>
void PopupWidget<Base>::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible() && this->OnDeactivate)
        this->OnDeactivate();
}

QtPopupWindow::QtPopupWindow() : PopupWidget<PopupWindow>(Qt::ToolTip | Qt::FramelessWindowHint) {}

void QtPopupWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QtCanvas canvas(&painter);
    const TRect client{0, 0, width(), height()};
    canvas.SetFont(font_);
    canvas.SetBrushColor(color_);
    canvas.FillRect(client);
    if (OnPaint)
        OnPaint(canvas, client);
}

QtListPopup::QtListPopup() : PopupWidget<ListPopup>(Qt::Tool | Qt::FramelessWindowHint)
{
    setFocusPolicy(Qt::StrongFocus);
}

int QtListPopup::VisibleItems() const { return std::max(1, height() / std::max(1, itemHeight_)); }

void QtListPopup::KeepIndexVisible()
{
    if (index_ < 0)
        return;
    if (index_ < top_)
        top_ = index_;
    else if (index_ >= top_ + VisibleItems())
        top_ = index_ - VisibleItems() + 1;
    top_ = std::clamp(top_, 0, std::max(0, count_ - 1));
}

void QtListPopup::SetItemCount(int count)
{
    count_ = std::max(0, count);
    index_ = std::min(index_, count_ - 1);
    top_ = std::min(top_, std::max(0, count_ - 1));
    update();
}

void QtListPopup::SetItemIndex(int index)
{
    index_ = std::clamp(index, -1, count_ - 1);
    KeepIndexVisible();
    update();
}

void QtListPopup::SetItemHeight(int height)
{
    itemHeight_ = std::max(1, height);
    update();
}

void QtListPopup::SetListFocus()
{
    activateWindow();
    setFocus();
}

void QtListPopup::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    KeepIndexVisible();
}

void QtListPopup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QtCanvas canvas(&painter);
    canvas.SetFont(font_);
    canvas.SetBrushColor(color_);
    canvas.FillRect({0, 0, width(), height()});
    if (!OnDrawItem)
        return;
    for (int i = top_, y = 0; i < count_ && y < height(); ++i, y += itemHeight_) {
        canvas.SetFont(font_);
        OnDrawItem(canvas, i, {0, y, width(), y + itemHeight_}, i == index_);
    }
}

void QtListPopup::keyPressEvent(QKeyEvent *event)
{
    const uint16_t pressed = VirtualKeyOf(event->key());
    uint16_t key = pressed;
    if (key != 0 && OnKeyDown)
        OnKeyDown(key, ShiftStateOf(event->modifiers()));
    if (pressed != 0 && key == 0)
        return; // the handler swallowed it
    switch (key) {
    case 0:
        break;
    case VK_UP:
        SetItemIndex(std::max(0, index_ - 1));
        return;
    case VK_DOWN:
        SetItemIndex(std::min(count_ - 1, index_ + 1));
        return;
    case VK_PRIOR:
        SetItemIndex(std::max(0, index_ - VisibleItems()));
        return;
    case VK_NEXT:
        SetItemIndex(std::min(count_ - 1, index_ + VisibleItems()));
        return;
    case VK_HOME:
        SetItemIndex(0);
        return;
    case VK_END:
        SetItemIndex(count_ - 1);
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (key != 0 && text.isEmpty())
        return;
    for (char32_t c : text.toStdU32String()) {
        char32_t ch = c;
        if (OnKeyPress)
            OnKeyPress(ch);
    }
}

void QtListPopup::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    const int hit = top_ + p.y() / std::max(1, itemHeight_);
    if (hit >= 0 && hit < count_)
        SetItemIndex(hit);
    if (OnMouseUp) {
        const TMouseButton button = event->button() == Qt::RightButton ? mbRight : mbLeft;
        OnMouseUp(button, ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y());
    }
}

void QtListPopup::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (OnExit)
        OnExit();
}

template class PopupWidget<PopupWindow>;
template class PopupWidget<ListPopup>;

} // namespace tarnwick::qt
