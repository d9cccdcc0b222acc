#include "editor/qt/widget_caret.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace tarnwick::qt {

WidgetCaret::WidgetCaret(QWidget *owner) : owner_(owner), blinkTime_(QApplication::cursorFlashTime())
{
    timer_.callOnTimeout(this, [this] { Toggle(); });
}

void WidgetCaret::Update()
{
    if (rect_.isValid())
        owner_->update(rect_);
}

void WidgetCaret::Create(int width, int height)
{
    Update();
    exists_ = true;
    shown_ = false;
    rect_.setSize(QSize(width, height));
}

void WidgetCaret::Destroy()
{
    Update();
    exists_ = false;
    shown_ = false;
    timer_.stop();
}

void WidgetCaret::SetPos(int x, int y)
{
    if (rect_.topLeft() == QPoint(x, y))
        return;
    Update();
    rect_.moveTopLeft(QPoint(x, y));
    Restart();
}

void WidgetCaret::Show()
{
    if (!exists_ || shown_)
        return;
    shown_ = true;
    Restart();
}

void WidgetCaret::Hide()
{
    if (!shown_)
        return;
    shown_ = false;
    timer_.stop();
    Update();
}

void WidgetCaret::SetBlinkTime(int ms)
{
    blinkTime_ = ms;
    if (shown_)
        Restart();
}

void WidgetCaret::Restart()
{
    on_ = true;
    Update();
    timer_.stop();
    if (shown_ && blinkTime_ > 0)
        timer_.start(blinkTime_ / 2);
}

void WidgetCaret::Toggle()
{
    on_ = !on_;
    Update();
}

void WidgetCaret::Paint(QPainter &painter) const
{
    if (!Lit())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(rect_, Qt::white);
    painter.restore();
}

} // namespace tarnwick::qt
