#include "app/application_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon ApplicationIcon()
{
    QIcon icon;
    QSvgRenderer picture(QStringLiteral(":/tarnwick.svg"));
    if (!picture.isValid())
        return icon;
    // Rendered once per size rather than scaled from one bitmap, so the small
    // sizes stay sharp.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        picture.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
