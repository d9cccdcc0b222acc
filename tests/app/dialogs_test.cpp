// The Go to, Add Node and About dialogs, driven as their buttons drive them,
// and the message boxes.
#include "shell_fixture.h"

#include "app/add_node_dialog.h"
#include "app/error_guard.h"
#include "app/goto_dialog.h"
#include "app/message_helpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>

using Dialogs = ShellTest;

TEST_F(Dialogs, GotoMovesTheCaretToTheStartOfTheLine)
{
    TFrmGoto &dialog = window->GotoDialog();
    dialog.Edit1->setText("2");
    dialog.BitBtn1Click();
    EXPECT_EQ(window->Editor().CaretLine(), 2);
    EXPECT_EQ(window->Editor().CaretCol(), 0);

    dialog.Edit1->setText("0");
    dialog.BitBtn1Click();
    EXPECT_EQ(window->Editor().CaretLine(), 0);
    EXPECT_EQ(window->Editor().SelStart(), 0);
}

TEST_F(Dialogs, GotoRejectsTextThatIsNotANumber)
{
    TFrmGoto &dialog = window->GotoDialog();
    dialog.Edit1->setText("2");
    dialog.BitBtn1Click();
    dialog.Edit1->setText("two");
    RunGuarded([&] { dialog.BitBtn1Click(); });
    EXPECT_TRUE(Last(MessageKind::Error).contains("two"));
    EXPECT_EQ(window->Editor().CaretLine(), 2);
}

TEST_F(Dialogs, GotoArrowsStepWithinTheirRange)
{
    TFrmGoto &dialog = window->GotoDialog();
    dialog.Edit1->setText("0");
    dialog.StepLine(-1);
    EXPECT_EQ(dialog.Edit1->text(), "0");
    dialog.StepLine(1);
    EXPECT_EQ(dialog.Edit1->text(), "1");
    dialog.Edit1->setText("100");
    dialog.StepLine(1);
    EXPECT_EQ(dialog.Edit1->text(), "100");
}

TEST_F(Dialogs, AddNodeAppendsAnIndentedElementUnderTheRoot)
{
    window->Run(CommandId::AddNode);
    TfrmAddNode &dialog = window->AddNodeDialog();
    dialog.Edit1->setText("b");
    dialog.Button2Click();
    EXPECT_EQ(EditorText(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                            "<xml>\r\n"
                            "    <a/>\r\n"
                            "    <b/>\r\n"
                            "</xml>\r\n");
    EXPECT_EQ(window->StatusText(), "Status: changed");
    // The text the tree gave keeps the document's line breaks.
    EXPECT_EQ(window->Editor().Lines()->FileText().find('\r'), std::string::npos);
}

TEST_F(Dialogs, AddNodeWithABadNameSaysSoAndKeepsTheText)
{
    const std::string before = EditorText();
    TfrmAddNode &dialog = window->AddNodeDialog();
    for (const char *name : {"\\\\", "two words", ""}) {
        messages.clear();
        dialog.Edit1->setText(name);
        dialog.Button2Click();
        EXPECT_FALSE(Last(MessageKind::Plain).isEmpty()) << name;
        EXPECT_EQ(EditorText(), before);
    }

    // An empty text parses to a document without any element.
    window->Editor().Lines()->Clear();
    messages.clear();
    dialog.Edit1->setText("b");
    dialog.Button2Click();
    EXPECT_FALSE(Last(MessageKind::Plain).isEmpty());
}

TEST_F(Dialogs, AddNodeOnBrokenTextIsAnErrorAndChangesNothing)
{
    window->Editor().Lines()->SetText("<root><a></root>");
    const std::string before = EditorText();
    TfrmAddNode &dialog = window->AddNodeDialog();
    dialog.Edit1->setText("b");
    RunGuarded([&] { dialog.Button2Click(); });
    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());
    EXPECT_TRUE(Last(MessageKind::Plain).isEmpty());
    EXPECT_EQ(EditorText(), before);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(Dialogs, ListAppendsTheFirstNodeEveryClick)
{
    window->Run(CommandId::AddNode);
    TfrmAddNode &dialog = window->AddNodeDialog();
    dialog.Button1Click();
    dialog.Button1Click();
    ASSERT_EQ(dialog.ListBox1->count(), 2);
    EXPECT_EQ(dialog.ListBox1->item(0)->text(), "#version=\"1.0\" encoding=\"ISO-8859-1\"");
    EXPECT_EQ(dialog.ListBox1->item(1)->text(), dialog.ListBox1->item(0)->text());
}

// A parser's message may begin with what looks like a tag; the box shows it
// whole rather than as rich text.
TEST_F(Dialogs, MessageBoxesShowTheirTextAsItIs)
{
    SetMessageSink({});
    const QString text = QStringLiteral("<!DOCTYPE page SYSTEM \"missing.dtd\">\nError in 4:23: no DTD");
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        format = box->textFormat();
        shown = box->text();
        box->accept();
    });
    ShowErrorMessage(text);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, text);
}
