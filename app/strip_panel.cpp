#include "app/strip_panel.h"

#include <QPainter>

StripPanel::StripPanel(const QPixmap &background, int height, QWidget *parent)
    : QWidget(parent), background_(background)
{
    setFixedHeight(height);
}

void StripPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(rect(), background_);
    if (bottomEdge_) {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(0, height() - 1, width(), height() - 1);
    }
}
