#include "editor/qt/dodi_widget.h"

#include "editor/redodi.h"

#include <QFontDatabase>
#include <QPainter>
#include <QWheelEvent>

using namespace tarnwick;

DodiWidget::DodiWidget(QWidget *parent)
    : QWidget(parent), control_(std::make_unique<REdoDodi>())
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

DodiWidget::~DodiWidget() = default;

void DodiWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    painter.setFont(font);
    const int height = painter.fontMetrics().height();
    const REdoDodiStrings &lines = *control_->Lines();
    int y = 0;
    for (int i = topLine_; i < lines.Count() && y < this->height(); ++i, y += height)
        painter.drawText(4, y + painter.fontMetrics().ascent(), QString::fromStdString(lines[i]));
}

void DodiWidget::wheelEvent(QWheelEvent *event)
{
    const int notches = event->angleDelta().y() / 120;
    topLine_ = std::max(0, std::min(topLine_ - notches * 4, control_->Lines()->Count() - 1));
    update();
}
