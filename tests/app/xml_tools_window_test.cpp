// The XML tools through the main window: Evaluate XPath asks for an
// expression, lists the result in its dock, and a click or Enter on a row
// puts the caret on that node's line; Validate Against lists every error
// against the grammar picked and tells the first as Validate does.
#include "shell_fixture.h"

#include "app/results_dock.h"
#include "app/xml_tools.h"
#include "editor/qt/dodi_widget.h"

#include <QTest>
#include <QTreeWidget>

namespace {

class XmlToolsWindow : public ShellTest {
protected:
    void SetEditorText(const std::string &text) { window->Editor().Lines()->SetText(text); }
    int CaretLine() { return window->Editor().CaretLine(); }
};

TEST_F(XmlToolsWindow, EvaluateXPathListsTheNodesAndGoesToTheOneChosen)
{
    SetEditorText("<catalog>\r\n"
                  "  <book><title>A</title><price>10</price></book>\r\n"
                  "  <book>\r\n"
                  "    <title>B</title><price>40</price>\r\n"
                  "  </book>\r\n"
                  "  <book><title>C</title><price>31</price></book>\r\n"
                  "</catalog>\r\n");
    QString asked;
    window->Tools().AskExpression = [&](const QString &previous) {
        asked = previous;
        return QStringLiteral("//book[price>30]/title");
    };
    // The menu item's key, as the user presses it.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->EditorWidget().setFocus();
    QTest::keyClick(&window->EditorWidget(), Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(messages.empty()) << Last(MessageKind::Error).toStdString();
    ResultsDock &dock = window->Tools().XPathDock();
    EXPECT_TRUE(dock.isVisible());
    EXPECT_EQ(dock.Summary(), "2 nodes.");
    ASSERT_EQ(dock.RowCount(), 2);
    QTreeWidget &list = dock.List();
    EXPECT_EQ(list.topLevelItem(0)->text(0), "4");
    EXPECT_EQ(list.topLevelItem(0)->text(1), "/catalog/book[2]/title");
    EXPECT_EQ(list.topLevelItem(1)->text(2), "C");

    // A click on a row, then Enter on the next.
    const QRect first = list.visualItemRect(list.topLevelItem(0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(CaretLine(), 3);
    list.setFocus();
    list.setCurrentItem(list.topLevelItem(1));
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(CaretLine(), 5);

    // The next time the last expression is offered; a value shows alone.
    window->Tools().AskExpression = [&](const QString &previous) {
        asked = previous;
        return QStringLiteral("count(//book)");
    };
    window->Run(CommandId::EvaluateXPath);
    EXPECT_EQ(asked, "//book[price>30]/title");
    EXPECT_EQ(dock.Summary(), "Number: 3");
    EXPECT_EQ(dock.RowCount(), 0);
}

TEST_F(XmlToolsWindow, AFailingExpressionOrDocumentShowsAnErrorAndLeavesTheTextAlone)
{
    const std::string text = "<a>\r\n<b/>\r\n</a>\r\n";
    SetEditorText(text);
    window->Tools().AskExpression = [](const QString &) { return QStringLiteral("//b["); };
    window->Run(CommandId::EvaluateXPath);
    EXPECT_NE(Last(MessageKind::Error).indexOf(QStringLiteral("character")), -1)
        << Last(MessageKind::Error).toStdString();

    // Cancelling the question does nothing.
    messages.clear();
    window->Tools().AskExpression = [](const QString &) { return QString(); };
    window->Run(CommandId::EvaluateXPath);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(EditorText(), text);
}

TEST_F(XmlToolsWindow, ValidateAgainstListsEveryErrorAndTellsTheFirst)
{
    const QString grammar = WriteFile(QStringLiteral("list.rng"),
                                      "<element name='list' xmlns='http://relaxng.org/ns/structure/1.0'>"
                                      "<zeroOrMore><element name='item'><attribute name='n'/></element></zeroOrMore>"
                                      "</element>");
    SetEditorText("<list>\r\n  <item n='1'/>\r\n  <item/>\r\n</list>\r\n");
    window->Tools().ChooseGrammarFile = [&] { return grammar; };
    window->Run(CommandId::ValidateAgainst);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Error);
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("Error in 3:"))) << messages[0].text.toStdString();
    EXPECT_NE(messages[0].text.indexOf(QStringLiteral("<item/>")), -1) << messages[0].text.toStdString();
    EXPECT_EQ(CaretLine(), 2);
    ResultsDock &dock = window->Tools().ProblemsDock();
    EXPECT_TRUE(dock.isVisible());
    ASSERT_GE(dock.RowCount(), 1);
    EXPECT_EQ(dock.List().topLevelItem(0)->text(0), "3");

    messages.clear();
    SetEditorText("<list><item n='1'/></list>\r\n");
    window->Run(CommandId::ValidateAgainst);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Information);
    EXPECT_EQ(dock.RowCount(), 0);
}

} // namespace
