// Where the caret is, through the main window: the status strip's path of
// the caret's element on text being edited, copied as an XPath expression by
// a click; the Outline dock's tree, following the caret, and a click on an
// element putting the caret there.
#include "shell_fixture.h"

#include "app/document_outline.h"
#include "app/xml_tools.h"
#include "editor/qt/dodi_widget.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>
#include <QTreeView>

namespace {

class OutlineWindow : public ShellTest {
protected:
    tarnwick::REdoDodi &Ed() { return window->Editor(); }
    DocumentOutline &Outline() { return window->Tools().Outline(); }
    QString Path() { return Outline().CaretPath(); }
    void PlaceAt(int line, int col)
    {
        Ed().SetCaretLine(line);
        Ed().SetCaretCol(col);
        Ed().CollapseSelection();
    }
    QLabel *PathLabel() { return window->findChild<QLabel *>(QStringLiteral("ElementPath")); }
    const char *catalog = "<catalog>\n"
                          "  <book id='a'><title>A</title></book>\n"
                          "  <book id='b'>\n"
                          "    <title>B</title>\n"
                          "  </book>\n"
                          "</catalog>\n";
};

TEST_F(OutlineWindow, TheStatusStripShowsTheCaretsPathOnEditedTextAndCopiesIt)
{
    Open(WriteFile("catalog.xml", catalog));
    PlaceAt(3, 12);
    QTRY_COMPARE(Path(), QStringLiteral("/catalog/book[2]/title"));
    ASSERT_NE(PathLabel(), nullptr);
    EXPECT_EQ(PathLabel()->toolTip().left(22), QStringLiteral("/catalog/book[2]/title"));
    PlaceAt(1, 3);
    EXPECT_EQ(Path(), QStringLiteral("/catalog/book[1]"));
    PlaceAt(5, 9);
    EXPECT_EQ(Path(), QStringLiteral("/catalog"));
    PlaceAt(5, 10);
    EXPECT_EQ(Path(), QString());

    // Lines inserted above: the caret's element is known at once, before
    // the next check.
    InsertAt(0, 0, "<!-- a -->\r\n<!-- b -->\r\n");
    PlaceAt(5, 12);
    EXPECT_EQ(Path(), QStringLiteral("/catalog/book[2]/title"));
    // A new book before it: the next check numbers it anew.
    InsertAt(3, 0, "  <book/>\r\n");
    PlaceAt(6, 12);
    QTRY_COMPARE(Path(), QStringLiteral("/catalog/book[3]/title"));

    // A click on the path copies it.
    QApplication::clipboard()->clear();
    QTest::mouseClick(PathLabel(), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("/catalog/book[3]/title"));
}

TEST_F(OutlineWindow, TheOutlineDockShowsTheTreeFollowsTheCaretAndGoesToAnElementClicked)
{
    QAction *item = window->MenuItem("Outline1");
    ASSERT_NE(item, nullptr);
    Open(WriteFile("catalog.xml", catalog));
    PlaceAt(3, 12);
    QTRY_COMPARE(Path(), QStringLiteral("/catalog/book[2]/title"));
    window->Run(CommandId::ShowOutline);
    ASSERT_TRUE(Outline().Dock().isVisible());
    EXPECT_TRUE(item->isChecked());
    QTreeView &view = Outline().View();
    QAbstractItemModel &model = *view.model();
    ASSERT_EQ(model.rowCount({}), 1);
    const QModelIndex root = model.index(0, 0, {});
    EXPECT_EQ(model.data(root).toString(), "catalog");
    ASSERT_EQ(model.rowCount(root), 2);
    EXPECT_EQ(model.data(model.index(1, 0, root)).toString(), "book id=\"b\"");
    // The caret's element is the current one.
    EXPECT_EQ(view.currentIndex(), model.index(0, 0, model.index(1, 0, root)));
    PlaceAt(1, 3);
    EXPECT_EQ(view.currentIndex(), model.index(0, 0, root));

    // A click on the second book's title puts the caret on its "<".
    const QModelIndex title = model.index(0, 0, model.index(1, 0, root));
    view.scrollTo(title);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(title).center());
    EXPECT_EQ(Ed().CaretLine(), 3);
    EXPECT_EQ(Ed().CaretCol(), 4);

    window->Run(CommandId::ShowOutline);
    EXPECT_FALSE(Outline().Dock().isVisible());
    EXPECT_FALSE(item->isChecked());
}

} // namespace
