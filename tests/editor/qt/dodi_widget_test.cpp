// The widget hosting the editor: its size reaches the control, focus makes
// the caret that blinks at the desktop's rate, the scroll bars show only when
// the text needs them, and the wheel scrolls four lines a notch.
#include "editor/qt/dodi_widget.h"

#include "editor/control/redodi.h"

#include <QApplication>
#include <QEventLoop>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace tarnwick;

namespace {

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class Widget : public ::testing::Test {
protected:
    void SetUp() override
    {
        widget.resize(400, 300);
        widget.show();
        QApplication::processEvents();
    }
    void Lines(int count, int width = 10)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += std::string(width, 'x') + "\r\n";
        widget.Control().Lines()->SetText(text);
        QApplication::processEvents();
    }
    void Wheel(int delta)
    {
        const QPointF at(100, 100);
        QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&widget, &event);
    }

    DodiWidget widget;
};

TEST_F(Widget, TheControlTakesTheWidgetsSize)
{
    EXPECT_EQ(widget.Control().Width(), 400);
    EXPECT_EQ(widget.Control().Height(), 300);
    widget.resize(500, 320);
    QApplication::processEvents();
    EXPECT_EQ(widget.Control().Width(), 500);
    EXPECT_GT(widget.Control().CharWidth(), 0);
    EXPECT_GT(widget.Control().LineHeight(), 0);
}

TEST_F(Widget, FocusMakesACaretThatBlinksAtTheDesktopRate)
{
    widget.Control().FocusGained();
    const qt::WidgetCaret &caret = widget.Caret();
    ASSERT_TRUE(caret.Exists());
    EXPECT_TRUE(caret.Shown());
    EXPECT_EQ(caret.Rect().width(), 2);
    EXPECT_EQ(caret.Rect().height(), widget.Control().LineHeight() - 2);
    EXPECT_EQ(caret.BlinkTime(), QApplication::cursorFlashTime());
    EXPECT_TRUE(caret.Lit());
    if (caret.BlinkTime() > 0) {
        Wait(caret.BlinkTime() / 2 + 100);
        EXPECT_FALSE(caret.Lit());
    }
    widget.Control().FocusLost(false);
    EXPECT_FALSE(caret.Exists());
}

TEST_F(Widget, ScrollBarsShowOnlyWhenTheTextNeedsThem)
{
    Lines(5);
    EXPECT_FALSE(widget.ScrollBar(sbVertical)->isVisible());
    EXPECT_FALSE(widget.ScrollBar(sbHorizontal)->isVisible());
    Lines(200);
    EXPECT_TRUE(widget.ScrollBar(sbVertical)->isVisible());
    EXPECT_FALSE(widget.ScrollBar(sbHorizontal)->isVisible());
    // The bar sits right of the text area, inside the border.
    const TRect text = widget.Control().TextArea();
    EXPECT_EQ(widget.ScrollBar(sbVertical)->geometry().left(), text.right);
    Lines(5, 300);
    EXPECT_TRUE(widget.ScrollBar(sbHorizontal)->isVisible());
}

TEST_F(Widget, DraggingTheBarMovesTheView)
{
    Lines(200);
    QScrollBar *bar = widget.ScrollBar(sbVertical);
    bar->setSliderPosition(50);
    bar->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(widget.Control().TopLine(), 50);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(widget.Control().TopLine(), 50 + widget.Control().VisibleRows());
    EXPECT_EQ(bar->value(), widget.Control().TopLine());
}

TEST_F(Widget, WheelScrollsFourLinesPerNotch)
{
    Lines(200);
    Wheel(-120);
    EXPECT_EQ(widget.Control().TopLine(), 4);
    Wheel(-60);
    EXPECT_EQ(widget.Control().TopLine(), 4);
    Wheel(-60);
    EXPECT_EQ(widget.Control().TopLine(), 8);
    Wheel(240);
    EXPECT_EQ(widget.Control().TopLine(), 0);
}

} // namespace
