// The main window's document workflow as a user meets it: the start-up
// document, Open, Save, Save as, the close query, and what a failure leaves.
#include "shell_fixture.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDevice>
#include <QPrinterInfo>
#include <QToolButton>

namespace {

const QByteArray kSmallDocument = "<?xml version=\"1.0\"?>\n<root>\n  <item>one</item>\n</root>\n";

} // namespace

using DocumentWorkflow = ShellTest;

TEST_F(DocumentWorkflow, StartsWithTheGeneratedDocumentMarkedChanged)
{
    EXPECT_EQ(EditorText(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                            "<xml>\r\n"
                            "    <a/>\r\n"
                            "</xml>\r\n");
    EXPECT_EQ(Title(), "* Tarnwick");
    EXPECT_EQ(window->StatusText(), "Status: changed");
    EXPECT_TRUE(window->DocumentModified());
}

TEST_F(DocumentWorkflow, ClosingAChangedDocumentAsksAndCancelKeepsTheWindow)
{
    answer = MessageAnswer::Cancel;
    EXPECT_FALSE(window->close());
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().kind, MessageKind::ExitQuestion);
    EXPECT_EQ(messages.back().text, "Are you sure you wish to exit");
    EXPECT_TRUE(window->isVisible());

    answer = MessageAnswer::Discard;
    EXPECT_TRUE(window->close());
}

TEST_F(DocumentWorkflow, OpenShowsTheFileAndClosesWithoutAsking)
{
    const QString path = WriteFile("doc.xml", kSmallDocument);
    Open(path);
    EXPECT_EQ(Title(), "Tarnwick - " + path);
    EXPECT_EQ(window->StatusText(), "Status: openned");
    EXPECT_FALSE(window->DocumentModified());
    EXPECT_NE(EditorText().find("<item>one</item>"), std::string::npos);
    EXPECT_EQ(EditorText().rfind("<?xml version=\"1.0\"?>", 0), 0u);

    messages.clear();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(messages.empty());
}

TEST_F(DocumentWorkflow, FailedOpenLeavesEverythingAsItWas)
{
    const QString good = WriteFile("good.xml", kSmallDocument);
    Open(good);
    const std::string before = EditorText();

    // Neither is text to show (text that is only not well-formed opens as it is).
    const QByteArray binaryBytes("\x00\x01\x02\xff\xfe garbage", 14);
    const QString binary = WriteFile("binary.xml", binaryBytes);
    const QString missing = folder.filePath("missing.xml");
    for (const QString &path : {binary, missing}) {
        messages.clear();
        Open(path);
        ASSERT_EQ(messages.size(), 1u) << path.toStdString();
        EXPECT_EQ(messages.front().kind, MessageKind::Error);
        EXPECT_FALSE(messages.front().text.isEmpty());
        EXPECT_EQ(EditorText(), before);
        EXPECT_EQ(Title(), "Tarnwick - " + good);
        EXPECT_EQ(window->StatusText(), "Status: openned");
    }

    // The next Save goes to the file that did load, never over a failed one.
    window->Run(CommandId::Save);
    EXPECT_EQ(ReadFile(binary), binaryBytes);
    EXPECT_EQ(window->StatusText(), "Status: saved");
}

TEST_F(DocumentWorkflow, SaveWritesTheEditorTextAndMarksItSaved)
{
    const QString path = WriteFile("doc.xml", kSmallDocument);
    Open(path);
    window->Editor().Lines()->SetText("<?xml version=\"1.0\"?>\r\n<root>\r\n  <item>two</item>\r\n</root>\r\n");
    EXPECT_EQ(Title(), "* Tarnwick - " + path);

    window->Run(CommandId::Save);
    EXPECT_EQ(Title(), "Tarnwick - " + path);
    EXPECT_EQ(window->StatusText(), "Status: saved");
    EXPECT_FALSE(window->DocumentModified());
    EXPECT_TRUE(ReadFile(path).contains("<item>two</item>"));
}

TEST_F(DocumentWorkflow, FailedSaveKeepsTheOldFileAndTheChangedMark)
{
    const QString path = WriteFile("doc.xml", kSmallDocument);
    Open(path);
    window->Editor().Lines()->SetText("<root><changed/></root>");
    // A read-only file is refused, whoever saves it (a read-only folder is
    // not a failure: the file is written in place).
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    window->Run(CommandId::Save);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());
    EXPECT_TRUE(Title().startsWith("* "));
    EXPECT_TRUE(window->DocumentModified());
    EXPECT_EQ(ReadFile(path), kSmallDocument);
}

TEST_F(DocumentWorkflow, SaveAsRenamesTheDocumentAndLaterSavesGoThere)
{
    nextSavePath = folder.filePath("copy.xml");
    window->Run(CommandId::SaveAs);
    EXPECT_EQ(Title(), "Tarnwick - " + nextSavePath);
    EXPECT_EQ(window->StatusText(), "Status: saved");
    EXPECT_TRUE(ReadFile(nextSavePath).contains("<a/>"));

    window->Editor().Lines()->SetText("<xml><b/></xml>");
    window->Run(CommandId::Save);
    EXPECT_TRUE(ReadFile(nextSavePath).contains("<b/>"));
}

TEST_F(DocumentWorkflow, CancelledDialogsChangeNothing)
{
    const std::string before = EditorText();
    nextOpenPath.clear();
    nextSavePath.clear();
    window->Run(CommandId::Open);
    window->Run(CommandId::SaveAs);
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty());
    EXPECT_EQ(EditorText(), before);
    EXPECT_EQ(Title(), "* Tarnwick");
}

TEST_F(DocumentWorkflow, Latin1FileShowsItsLettersAndSavesBackByteForByte)
{
    const QByteArray latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<p>caf\xe9 \xfc\xdf</p>\n";
    const QString path = WriteFile("latin1.xml", latin1);
    Open(path);
    EXPECT_NE(EditorText().find("caf\xc3\xa9 \xc3\xbc\xc3\x9f"), std::string::npos);
    window->Run(CommandId::Save);
    EXPECT_EQ(ReadFile(path), latin1);
}

TEST_F(DocumentWorkflow, EditCommandsActOnTheWholeTextOrTheCaretLine)
{
    window->Run(CommandId::Delete);
    EXPECT_EQ(EditorText(), "");
    EXPECT_EQ(window->StatusText(), "Status: changed");

    window->Editor().Lines()->SetText("one\r\ntwo\r\nthree");
    window->Editor().SetSelStart(6); // inside "two"
    window->Run(CommandId::DeleteLine);
    EXPECT_EQ(EditorText(), "one\r\nthree\r\n");

    window->Editor().Lines()->Clear();
    window->Run(CommandId::DeleteLine);
    EXPECT_TRUE(messages.empty());
}

TEST_F(DocumentWorkflow, PrintWithoutAPrinterSaysNothingWasPrinted)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    window->Run(CommandId::Print);
    EXPECT_TRUE(Last(MessageKind::Error).contains("Nothing was printed"));
}

TEST_F(DocumentWorkflow, WordWrapTogglesOnlyItsCheckMark)
{
    QAction *item = window->MenuItem("WordWrap1");
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(window->Editor().WordWrap(), tarnwick::wwNone);
    item->trigger();
    EXPECT_FALSE(item->isChecked());
}

TEST_F(DocumentWorkflow, MenuAndToolBarFollowTheCommandTable)
{
    EXPECT_EQ(window->MenuItem("Open1")->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(window->MenuItem("Redo1")->shortcut(), QKeySequence("Ctrl+Alt+Z"));
    EXPECT_FALSE(window->MenuItem("Close1")->isVisible());
    EXPECT_EQ(window->ToolButton("ToolButton1")->text(), "Open File");
    EXPECT_FALSE(window->ToolButton("ToolButton13")->isVisible());
    EXPECT_FALSE(window->ToolButton("ToolButton16")->isVisible());
    EXPECT_TRUE(window->ToolButton("ToolButton11")->isVisible());
    EXPECT_FALSE(window->ToolButton("ToolButton9")->icon().isNull());
}
