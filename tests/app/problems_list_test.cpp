// The Problems dock through the main window: Validate lists every error it
// met while its box tells the first, the live form check lists what it finds
// a moment after typing, a click or Enter puts the caret there, the entries
// follow the lines they stand on, and View > Problems opens and closes it.
#include "shell_fixture.h"

#include "app/problems_list.h"
#include "app/results_dock.h"
#include "app/xml_tools.h"
#include "editor/qt/dodi_widget.h"

#include <QAction>
#include <QTest>
#include <QTreeWidget>

namespace {

class ProblemsWindow : public ShellTest {
protected:
    tarnwick::REdoDodi &Ed() { return window->Editor(); }
    ResultsDock &Dock() { return window->Tools().ProblemsDock(); }
    // Each row's line and message.
    std::vector<std::pair<int, std::string>> Rows()
    {
        std::vector<std::pair<int, std::string>> rows;
        for (int i = 0; i < Dock().RowCount(); ++i)
            rows.emplace_back(Dock().List().topLevelItem(i)->text(0).toInt(),
                              Dock().List().topLevelItem(i)->text(2).toStdString());
        return rows;
    }
    std::vector<int> Lines()
    {
        std::vector<int> lines;
        for (const auto &row : Rows())
            lines.push_back(row.first);
        return lines;
    }
    void ClickRow(int row)
    {
        QTreeWidget &list = Dock().List();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.topLevelItem(row)).center());
    }
};

TEST_F(ProblemsWindow, ValidateListsEveryErrorTellsTheFirstAndTheListFollowsTheLines)
{
    WriteFile("list.dtd", "<!ELEMENT list (n*)>\n<!ELEMENT n (#PCDATA)>\n");
    Open(WriteFile("list.xml", "<!DOCTYPE list SYSTEM \"list.dtd\">\n<list>\n<n/>\n<c/>\n<n/>\n<d/>\n</list>\n"));
    messages.clear();
    window->Run(CommandId::Validate);
    // The box as before: the first error alone.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.indexOf(QStringLiteral("element c")), -1) << messages[0].text.toStdString();
    EXPECT_EQ(messages[0].text.indexOf(QStringLiteral("element d")), -1) << messages[0].text.toStdString();
    EXPECT_EQ(Ed().CaretLine(), 3);
    EXPECT_TRUE(Dock().isVisible());
    // In the order of their places: the list's content (its start tag),
    // then the two elements the DTD does not declare.
    const std::vector<int> lines = Lines();
    EXPECT_EQ(lines, (std::vector<int>{2, 4, 6}));
    EXPECT_NE(Rows()[1].second.find("element c"), std::string::npos);
    EXPECT_TRUE(Dock().Summary().startsWith(QStringLiteral("Validate: 3 errors"))) << Dock().Summary().toStdString();

    // Two lines inserted above move every entry down; a click and Enter go
    // where they now stand.
    InsertAt(0, 0, "<!-- one -->\r\n<!-- two -->\r\n");
    EXPECT_EQ(Lines(), (std::vector<int>{4, 6, 8}));
    ClickRow(1);
    EXPECT_EQ(Ed().CaretLine(), 5);
    EXPECT_EQ(Ed().Lines()->Get(5), "<c/>");
    Dock().List().setFocus();
    Dock().List().setCurrentItem(Dock().List().topLevelItem(2));
    QTest::keyClick(&Dock().List(), Qt::Key_Return);
    EXPECT_EQ(Ed().CaretLine(), 7);
    EXPECT_EQ(Ed().Lines()->Get(7), "<d/>");
    // Removing a line takes the entries below it up.
    Ed().Lines()->Delete(0);
    EXPECT_EQ(Lines(), (std::vector<int>{3, 5, 7}));

    // A valid document: the box says so and the list empties.
    messages.clear();
    Open(WriteFile("good.xml", "<!DOCTYPE list SYSTEM \"list.dtd\">\n<list><n/></list>\n"));
    window->Run(CommandId::Validate);
    EXPECT_EQ(Last(MessageKind::Information), "XML document is valid.");
    EXPECT_EQ(Dock().RowCount(), 0);
}

TEST_F(ProblemsWindow, TheFormCheckListsWhatItFindsAndViewProblemsOpensAndClosesTheDock)
{
    QAction *item = window->MenuItem("Problems1");
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(Dock().isVisible());
    EXPECT_FALSE(item->isChecked());

    Open(WriteFile("form.xml", "<a xmlns='foo'>\n<b x='1' x='2'/>\n<c y=3/>\n</a>\n"));
    QTRY_VERIFY(Dock().RowCount() >= 3);
    EXPECT_TRUE(Dock().isVisible()) << "shown once there is something to show";
    EXPECT_TRUE(item->isChecked());
    const auto rows = Rows();
    EXPECT_EQ(rows[0].first, 1);
    EXPECT_TRUE(rows[0].second.starts_with("Warning: ")) << rows[0].second;
    EXPECT_EQ(rows[1].first, 2);
    EXPECT_EQ(rows[2].first, 3);
    ClickRow(2);
    EXPECT_EQ(Ed().CaretLine(), 2);

    // Closed by the user, the dock stays closed while the check goes on.
    window->Run(CommandId::ShowProblems);
    EXPECT_FALSE(Dock().isVisible());
    EXPECT_FALSE(item->isChecked());
    Ed().SetCaretLine(0);
    Ed().SetCaretCol(0);
    Ed().InsertText("\r\n");
    QTRY_COMPARE(Lines().front(), 2);
    QTest::qWait(800);
    EXPECT_FALSE(Dock().isVisible());

    // Mended, the check's entries go; the menu opens the dock again.
    Ed().Lines()->SetText("<a/>\r\n");
    QTRY_COMPARE(Dock().RowCount(), 0);
    window->Run(CommandId::ShowProblems);
    EXPECT_TRUE(Dock().isVisible());
    EXPECT_TRUE(item->isChecked());
}

} // namespace
