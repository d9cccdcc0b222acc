// Mouse scripts through the real editor widget offscreen: clicks, drags,
// Shift+click, double clicks, press and release inside the selection, the
// pointer shape, URL clicks, dropped files and the context menu.
#include "editor/control/redodi.h"
#include "editor/qt/dodi_widget.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <fstream>
#include <map>

using namespace tarnwick;

namespace {

class WidgetMouseTest : public ::testing::Test {
protected:
    WidgetMouseTest()
    {
        widget.resize(420, 300);
        widget.show();
        ed.SetLines({"say \"hello\" to the world", "second line here", "see http://example.org/a now"});
    }

    QPoint At(int col, int line) const
    {
        const TRect text = ed.TextArea();
        return {text.left + (col - ed.LeftColumn()) * ed.CharWidth() + ed.CharWidth() / 2,
                text.top + (line - ed.TopLine()) * ed.LineHeight() + ed.LineHeight() / 2};
    }

    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent event(type, QPointF(p), QPointF(widget.mapToGlobal(p)), button, buttons, modifiers);
        QApplication::sendEvent(&widget, &event);
    }
    void Press(int col, int line, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        Send(QEvent::MouseButtonPress, At(col, line), Qt::LeftButton, Qt::LeftButton, m);
    }
    void Release(int col, int line, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        Send(QEvent::MouseButtonRelease, At(col, line), Qt::LeftButton, Qt::NoButton, m);
    }
    void Click(int col, int line, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        Press(col, line, m);
        Release(col, line, m);
    }
    void MoveTo(int col, int line, Qt::MouseButtons buttons)
    {
        Send(QEvent::MouseMove, At(col, line), Qt::NoButton, buttons);
    }
    void DoubleClick(int col, int line)
    {
        Click(col, line);
        Send(QEvent::MouseButtonDblClick, At(col, line), Qt::LeftButton, Qt::LeftButton);
        Release(col, line);
    }
    void DropFiles(const QStringList &paths)
    {
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls.push_back(QUrl::fromLocalFile(path));
        QMimeData mime;
        mime.setUrls(urls);
        // The drop goes to the widget a drag entered last.
        QDragEnterEvent enter(At(2, 0), Qt::CopyAction, &mime, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &enter);
        QDropEvent drop(QPointF(At(2, 0)), Qt::CopyAction, &mime, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &drop);
    }
    QString Write(const QString &name, const std::string &content)
    {
        const QString path = folder.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << content;
        return path;
    }

    TCaretPos Caret() const { return {ed.CaretCol(), ed.CaretLine()}; }

    DodiWidget widget;
    REdoDodi &ed = widget.Control();
    QTemporaryDir folder;
};

TEST_F(WidgetMouseTest, ClickPlacesTheCaret)
{
    Click(7, 1);
    EXPECT_EQ(Caret(), (TCaretPos{7, 1}));
    EXPECT_EQ(ed.SelLength(), 0);
}

TEST_F(WidgetMouseTest, DragSelectsAcrossLines)
{
    Press(4, 0);
    MoveTo(5, 0, Qt::LeftButton);
    MoveTo(6, 1, Qt::LeftButton);
    Release(6, 1);
    EXPECT_EQ(ed.SelText(), "\"hello\" to the world\r\nsecond");
    EXPECT_EQ(Caret(), (TCaretPos{6, 1}));
}

TEST_F(WidgetMouseTest, ShiftClickExtendsFromTheFirstClick)
{
    Click(7, 1);
    Click(11, 1, Qt::ShiftModifier);
    EXPECT_EQ(ed.SelText(), "line");
}

TEST_F(WidgetMouseTest, DoubleClickOnAWordSelectsIt)
{
    DoubleClick(7, 0);
    EXPECT_EQ(ed.SelText(), "hello");
    EXPECT_EQ(Caret(), (TCaretPos{7, 0}));
}

TEST_F(WidgetMouseTest, DoubleClickOnABlankSelectsNothing)
{
    DoubleClick(11, 0);
    EXPECT_EQ(ed.SelLength(), 0);
    EXPECT_EQ(Caret(), (TCaretPos{11, 0}));
}

TEST_F(WidgetMouseTest, ClickAndReleaseInsideTheSelectionRemovesIt)
{
    Click(0, 1);
    Click(11, 1, Qt::ShiftModifier);
    ASSERT_EQ(ed.SelText(), "second line");
    Click(3, 1);
    EXPECT_EQ(ed.SelLength(), 0);
    EXPECT_EQ(Caret(), (TCaretPos{3, 1}));
}

TEST_F(WidgetMouseTest, PointerShowsTheHandOverAnAddress)
{
    MoveTo(8, 2, Qt::NoButton);
    EXPECT_EQ(widget.cursor().shape(), Qt::PointingHandCursor);
    MoveTo(1, 2, Qt::NoButton);
    EXPECT_EQ(widget.cursor().shape(), Qt::IBeamCursor);
    Send(QEvent::MouseMove, {3, At(0, 2).y()}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WidgetMouseTest, ClickOnAnAddressRaisesOnURLClick)
{
    std::string url;
    ed.OnURLClick = [&](TCustomDodi &, const std::string &u) { url = u; };
    Click(10, 2);
    EXPECT_EQ(url, "http://example.org/a");
}

TEST_F(WidgetMouseTest, DroppedFileReplacesTheText)
{
    ed.SetAcceptFiles(true);
    DropFiles({Write("a.xml", "<a>\r\n</a>\r\n")});
    EXPECT_EQ(ed.Lines()->Text(), "<a>\r\n</a>\r\n");
}

TEST_F(WidgetMouseTest, DroppedFileRefusedByTheHandlerLeavesTheText)
{
    ed.SetAcceptFiles(true);
    const std::string before = ed.Lines()->Text();
    std::string offered;
    ed.OnFileDrop = [&](TCustomDodi &, const std::string &name, bool &defaultHandler) {
        offered = name;
        defaultHandler = false;
    };
    const QString path = Write("b.xml", "<b/>");
    DropFiles({path});
    EXPECT_EQ(offered, path.toStdString());
    EXPECT_EQ(ed.Lines()->Text(), before);
}

TEST_F(WidgetMouseTest, FilesAreNotTakenWhileTheEditorRefusesThem)
{
    const std::string before = ed.Lines()->Text();
    DropFiles({Write("c.xml", "<c/>")});
    EXPECT_EQ(ed.Lines()->Text(), before);
}

TEST_F(WidgetMouseTest, ContextMenuGreysEditingCommandsInReadOnlyMode)
{
    Click(0, 1);
    Click(6, 1, Qt::ShiftModifier);
    ed.SetReadOnly(true);
    std::map<QString, bool> enabled;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions())
            if (!action->isSeparator())
                enabled[action->text()] = action->isEnabled();
        menu->close();
    });
    const QPoint p = At(3, 1);
    QContextMenuEvent event(QContextMenuEvent::Mouse, p, widget.mapToGlobal(p));
    QApplication::sendEvent(&widget, &event);
    ASSERT_EQ(enabled.size(), 7u);
    EXPECT_FALSE(enabled[QStringLiteral("Undo")]);
    EXPECT_FALSE(enabled[QStringLiteral("Redo")]);
    EXPECT_FALSE(enabled[QStringLiteral("Paste\tCtrl-V")]);
    EXPECT_TRUE(enabled[QStringLiteral("Copy\tCtrl-C")]);
    EXPECT_TRUE(enabled[QStringLiteral("Cut\tCtrl-X")]);
    EXPECT_TRUE(enabled[QStringLiteral("Delete")]);
    EXPECT_TRUE(enabled[QStringLiteral("Select All\tCtrl-A")]);
    EXPECT_EQ(ed.SelText(), "second");
}

} // namespace
