// Wide characters in the real editor widget offscreen: a painted line of CJK
// text is twice as wide as as many ASCII characters, and the caret, clicks
// and a dragged selection keep to whole characters.
#include "editor/control/redodi.h"
#include "editor/qt/dodi_widget.h"
#include "editor/qt/qt_colors.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace tarnwick;

namespace {

// 中文字 and again, then 中文: eight CJK characters.
const std::string kCjk = "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97"
                         "\xE4\xB8\xAD\xE6\x96\x87";
const std::string kZhong = "\xE4\xB8\xAD";

class WideTextWidget : public ::testing::Test {
protected:
    WideTextWidget()
    {
        widget.resize(420, 200);
        widget.show();
    }

    // A pixel inside the left or right half of view cell `cell` of `line`.
    QPoint At(int cell, int line, bool rightHalf) const
    {
        const TRect text = ed.TextArea();
        const int w = ed.CharWidth();
        return {text.left + cell * w + (rightHalf ? w - 2 : 1),
                text.top + line * ed.LineHeight() + ed.LineHeight() / 2};
    }
    void Send(QEvent::Type type, QPoint p, Qt::MouseButtons buttons)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(p), QPointF(widget.mapToGlobal(p)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }
    // A drag: the move right after the press only settles the placement.
    void Drag(QPoint from, QPoint to)
    {
        Send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Send(QEvent::MouseMove, from, Qt::LeftButton);
        Send(QEvent::MouseMove, to, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    void Click(QPoint p)
    {
        Send(QEvent::MouseButtonPress, p, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, p, Qt::NoButton);
    }

    // How far the selection's background reaches along the middle of `line`,
    // from the text area's left edge.
    int SelectionWidth(const QImage &image, int line) const
    {
        const TRect text = ed.TextArea();
        const int y = text.top + line * ed.LineHeight() + ed.LineHeight() / 2;
        const QRgb selection = qt::ToQColor(ed.SelBkColor()).rgb();
        int right = text.left;
        for (int x = text.left; x < text.right; ++x)
            if (image.pixel(x, y) == selection)
                right = x + 1;
        return right - text.left;
    }

    DodiWidget widget;
    REdoDodi &ed = widget.Control();
};

TEST_F(WideTextWidget, ALineOfCjkTextPaintsTwiceAsWideAsAsMuchAscii)
{
    ed.SetLines({"abcdefgh", kCjk});
    ed.SetHideSelection(false);
    ed.SelectAll();
    const QImage image = widget.grab().toImage();
    const int ascii = SelectionWidth(image, 0);
    EXPECT_EQ(ascii, 8 * ed.CharWidth());
    EXPECT_EQ(SelectionWidth(image, 1), 2 * ascii);
}

TEST_F(WideTextWidget, CaretClicksAndSelectionKeepToWholeCharacters)
{
    ed.SetLines({"a" + kZhong + "b" + kZhong + "c"}); // cells a 0, 中 1-2, b 3, 中 4-5, c 6
    const TRect text = ed.TextArea();
    const int w = ed.CharWidth();

    Click(At(1, 0, true)); // the right half of the first cell of 中
    EXPECT_EQ(ed.CaretCol(), 1);
    Click(At(2, 0, false)); // the left half of its second cell
    EXPECT_EQ(ed.CaretCol(), 2);
    QApplication::processEvents();
    EXPECT_EQ(widget.Caret().Rect().left(), text.left + 3 * w);

    // From the middle of the first 中 to the middle of the second.
    Drag(At(2, 0, false), At(4, 0, true));
    EXPECT_EQ(ed.SelText(), "b");
    Drag(At(0, 0, false), At(5, 0, false));
    EXPECT_EQ(ed.SelText(), "a" + kZhong + "b" + kZhong);
    QApplication::processEvents();
    EXPECT_EQ(widget.Caret().Rect().left(), text.left + 6 * w);
}

} // namespace
