// The About box shows every line whole at the desktop's font sizes: lines wrap
// inside the box and push the OK button down rather than being cut.
#include "app/about_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(AboutBox, EveryLineFitsInsideTheBoxAtSmallAndLargeFonts)
{
    const QFont original = QApplication::font();
    for (int points : {9, 16}) {
        QFont font = original;
        font.setPointSize(points);
        QApplication::setFont(font);
        TAboutBox box;
        int lowest = 0;
        for (QLabel *label : box.findChildren<QLabel *>()) {
            if (label->text().isEmpty())
                continue;
            const QRect area(label->mapTo(&box, QPoint(0, 0)), label->size());
            const QSize needed = label->wordWrap()
                                     ? QSize(label->minimumSizeHint().width(), label->heightForWidth(label->width()))
                                     : label->sizeHint();
            EXPECT_TRUE(box.rect().contains(area)) << points << "pt: " << label->text().toStdString();
            EXPECT_GE(label->width(), needed.width()) << points << "pt: " << label->text().toStdString();
            EXPECT_GE(label->height(), needed.height()) << points << "pt: " << label->text().toStdString();
            lowest = std::max(lowest, area.bottom());
        }
        const QPushButton *ok = box.findChild<QPushButton *>(QStringLiteral("OKButton"));
        EXPECT_GT(ok->y(), lowest) << points << "pt";
        EXPECT_TRUE(box.rect().contains(ok->geometry())) << points << "pt";
    }
    QApplication::setFont(original);
}

} // namespace
