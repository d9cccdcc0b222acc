// Code folding in the main window: the XML document's elements, comments and
// sections fold by the keys and the View menu; edits find regions again around
// them while collapsed ones elsewhere stay collapsed; collapsed text is copied,
// saved and formatted whole; Go to opens what hides its line.
#include "shell_fixture.h"

#include "app/goto_dialog.h"
#include "editor/qt/dodi_widget.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

using namespace tarnwick;

namespace {

const char kDocument[] = "<?xml version=\"1.0\"?>\n" // 0
                         "<root>\n"                  // 1
                         "  <!-- a\n"                // 2
                         "       note -->\n"         // 3
                         "  <item>\n"                // 4
                         "    <name>alpha</name>\n"  // 5
                         "  </item>\n"               // 6
                         "  <item>\n"                // 7
                         "    <name>beta</name>\n"   // 8
                         "  </item>\n"               // 9
                         "</root>\n";                // 10

class Folding : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        document = WriteFile(QStringLiteral("doc.xml"), kDocument);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        Open(document);
        window->EditorWidget().setFocus();
    }
    // Keys as the user presses them in the editor, a chord as its parts.
    void Press(const char *keys)
    {
        const QKeySequence sequence(QString::fromLatin1(keys));
        for (int i = 0; i < sequence.count(); ++i)
            QTest::keyClick(&window->EditorWidget(), sequence[i].key(), sequence[i].keyboardModifiers());
    }
    REdoDodi &Ed() { return window->Editor(); }
    void Place(int col, int line)
    {
        Ed().SetCaretLine(line);
        Ed().SetCaretCol(col);
        Ed().CollapseSelection();
    }

    QString document;
};

TEST_F(Folding, ElementsCommentsAndSectionsFoldByTheKeysAndTheMenu)
{
    EXPECT_EQ(Ed().RegionEndOf(1), 10);
    EXPECT_EQ(Ed().RegionEndOf(2), 3);
    EXPECT_EQ(Ed().RegionEndOf(4), 6);

    Place(6, 5);
    Press("Ctrl+Shift+[");
    EXPECT_FALSE(Ed().IsExpanded(4));
    EXPECT_EQ(Ed().CaretLine(), 4) << "the caret stands on the region's first line";
    Press("Ctrl+Shift+[");
    EXPECT_FALSE(Ed().IsExpanded(1)) << "on a collapsed line, the region around it";
    Press("Ctrl+Shift+]");
    EXPECT_TRUE(Ed().IsExpanded(1));
    EXPECT_FALSE(Ed().IsExpanded(4));

    Press("Ctrl+K, Ctrl+J");
    EXPECT_TRUE(Ed().IsExpanded(4));
    Press("Ctrl+K, Ctrl+0");
    EXPECT_EQ(Ed().VisibleIndexOf(10), 1) << "everything but the declaration folds into the root";
    window->MenuItem("ExpandAll1")->trigger();
    EXPECT_EQ(Ed().VisibleIndexOf(10), 10);
    Place(0, 8);
    window->MenuItem("CollapseRegion1")->trigger();
    EXPECT_FALSE(Ed().IsExpanded(7));
    window->MenuItem("ExpandRegion1")->trigger();
    EXPECT_TRUE(Ed().IsExpanded(7));
    window->MenuItem("CollapseAll1")->trigger();
    EXPECT_FALSE(Ed().IsExpanded(2));
}

TEST_F(Folding, EditsFindRegionsAgainAndCollapsedOnesElsewhereStay)
{
    Ed().SetExpanded(7, false);
    InsertAt(5, 4, "<extra>\r\n    </extra>\r\n    ");
    window->EditorWidget().repaint();
    EXPECT_EQ(Ed().RegionEndOf(5), 6);
    EXPECT_EQ(Ed().RegionEndOf(4), 8);
    EXPECT_FALSE(Ed().IsExpanded(9)) << "the collapsed item moved down two lines";
    EXPECT_EQ(Ed().RegionEndOf(9), 11);

    // Breaking an end tag makes the element run on; mending it brings it back.
    InsertAt(8, 3, "x");
    window->EditorWidget().repaint();
    EXPECT_NE(Ed().RegionEndOf(4), 8);
    Ed().Undo();
    window->EditorWidget().repaint();
    EXPECT_EQ(Ed().RegionEndOf(4), 8);
    EXPECT_FALSE(Ed().IsExpanded(9));
}

TEST_F(Folding, CollapsedTextIsCopiedSavedAndFormattedWhole)
{
    Press("Ctrl+K, Ctrl+0");
    Press("Ctrl+A");
    Press("Ctrl+C");
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QStringLiteral("beta")));
    InsertAt(0, 0, "");
    window->Run(CommandId::Save);
    EXPECT_TRUE(ReadFile(document).contains("<name>beta</name>"));
    window->Run(CommandId::Format);
    EXPECT_NE(EditorText().find("<name>alpha</name>"), std::string::npos);
    window->EditorWidget().repaint();
    EXPECT_GT(Ed().RegionCount(), 0) << "the formatted text folds again";
}

TEST_F(Folding, GoToOpensTheRegionsThatHideItsLine)
{
    Press("Ctrl+K, Ctrl+0");
    TFrmGoto &dialog = window->GotoDialog();
    dialog.Edit1->setText("8");
    dialog.BitBtn1Click();
    EXPECT_EQ(Ed().CaretLine(), 8);
    EXPECT_TRUE(Ed().IsExpanded(1));
    EXPECT_TRUE(Ed().IsExpanded(7));
    EXPECT_FALSE(Ed().IsExpanded(4));
}

} // namespace
