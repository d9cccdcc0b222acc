// Long commands keep the window alive: while their work runs the window
// repaints, the status strip names the step and shows how far it got once
// half a second has passed, and keys and closing the window are held off;
// what the work throws comes out of the command. The work here waits until
// the test lets it go, so nothing depends on the machine's speed.
#include "app/long_work.h"
#include "app/progress_strip.h"
#include "editor/qt/dodi_widget.h"
#include "shell_fixture.h"

#include <QTest>
#include <QTimer>

#include <future>
#include <stdexcept>

namespace {

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

using LongCommands = ShellTest;

TEST_F(LongCommands, ShowProgressKeepPaintingAndHoldOffInputAndClosing)
{
    const std::string before = EditorText();
    PaintCounter counter;
    window->EditorWidget().installEventFilter(&counter);
    std::promise<void> release;
    bool checked = false;
    bool shownEarly = true;

    // Early on nothing shows yet; once past half a second the step and the
    // fraction do, and the window takes no key and does not close.
    QTimer::singleShot(50, [&] { shownEarly = !window->Progress().StepText().isEmpty(); });
    QTimer::singleShot(LongWork::kShowAfterMs + 300, [&] {
        EXPECT_EQ(window->Progress().StepText(), "Working on it");
        EXPECT_EQ(window->Progress().Permille(), 250);
        QTest::keyClick(&window->EditorWidget(), Qt::Key_X);
        window->close();
        EXPECT_TRUE(window->isVisible());
        const int paints = counter.paints;
        window->EditorWidget().update();
        QTest::qWait(100);
        EXPECT_GT(counter.paints, paints) << "the window repaints while the work runs";
        checked = true;
        release.set_value();
    });
    window->Work().Run(QStringLiteral("Working on it"), [&](TWorkProgress &progress) {
        progress.SetFraction(0.25);
        release.get_future().wait();
    });

    EXPECT_TRUE(checked);
    EXPECT_FALSE(shownEarly);
    EXPECT_TRUE(window->Progress().StepText().isEmpty());
    EXPECT_EQ(EditorText(), before);
    EXPECT_TRUE(window->isVisible());
    // Once the work is over the window takes keys again.
    window->EditorWidget().setFocus();
    QTest::keyClick(&window->EditorWidget(), Qt::Key_X);
    EXPECT_NE(EditorText(), before);
}

TEST_F(LongCommands, WhatTheWorkThrowsComesOutAndASecondCommandWaitsItsTurn)
{
    EXPECT_THROW(window->Work().Run(QStringLiteral("Failing"), [](TWorkProgress &) { throw std::range_error("x"); }),
                 std::range_error);
    bool refused = false;
    window->Work().Run(QStringLiteral("First"), [&](TWorkProgress &) {
        std::promise<void> done;
        QMetaObject::invokeMethod(
            window.get(),
            [&] {
                try {
                    window->Work().Run(QStringLiteral("Second"), [](TWorkProgress &) {});
                } catch (const std::runtime_error &) {
                    refused = true;
                }
                done.set_value();
            },
            Qt::QueuedConnection);
        done.get_future().wait();
    });
    EXPECT_TRUE(refused);
    EXPECT_FALSE(window->Work().Busy());
}

TEST_F(LongCommands, OpenReadsTheDocumentAwayFromTheWindowAndShowsIt)
{
    QByteArray big = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<catalog>";
    for (int i = 0; i < 2000; ++i)
        big += "\n  <book id=\"b" + QByteArray::number(i) + "\"><title>T\xC3\xAFtle</title></book>";
    big += "\n</catalog>\n";
    Open(WriteFile(QStringLiteral("big.xml"), big));
    EXPECT_EQ(window->Editor().Lines()->Count(), 2003);
    EXPECT_EQ(window->Editor().Lines()->Strings(1), "<catalog>");
    EXPECT_EQ(window->Editor().Lines()->Strings(2002), "</catalog>");
    EXPECT_EQ(window->StatusText(), "Status: openned");
    EXPECT_FALSE(window->Work().Busy());
}
