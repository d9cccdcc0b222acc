// Nothing is discarded without asking: New, Open and closing the window with
// a changed document ask whether to save, discard or cancel. And New starts
// an unnamed document, which Save never writes over the file opened before.
#include "shell_fixture.h"

#include <QDir>

namespace {

const QByteArray kDocument = "<?xml version=\"1.0\"?>\n<root>\n  <item>one</item>\n</root>\n";
const QByteArray kOther = "<?xml version=\"1.0\"?>\n<other/>\n";

} // namespace

class UnsavedChangesQuestion : public ShellTest {
protected:
    // An opened file with one edit in the editor.
    QString OpenAndChange()
    {
        const QString path = WriteFile("doc.xml", kDocument);
        Open(path);
        InsertAt(2, 8, "and ");
        EXPECT_TRUE(window->DocumentModified());
        messages.clear();
        return path;
    }

    int Questions(MessageKind kind) const
    {
        return static_cast<int>(
            std::count_if(messages.begin(), messages.end(), [&](const Message &m) { return m.kind == kind; }));
    }

    const std::string changedText = "<?xml version=\"1.0\"?>\r\n<root>\r\n  <item>and one</item>\r\n</root>\r\n";
};

TEST_F(UnsavedChangesQuestion, NewAsksAndCancelKeepsEverything)
{
    const QString path = OpenAndChange();
    answer = MessageAnswer::Cancel;
    window->Run(CommandId::New);
    EXPECT_EQ(Questions(MessageKind::SaveChangesQuestion), 1);
    EXPECT_EQ(messages.back().text, "Do you wish to save the changes to the document first?");
    EXPECT_EQ(EditorText(), changedText);
    EXPECT_EQ(window->CurrentFileName(), path);
    EXPECT_EQ(Title(), "* Tarnwick - " + path);
    EXPECT_EQ(ReadFile(path), kDocument);
}

TEST_F(UnsavedChangesQuestion, NewAndDiscardDropsTheChanges)
{
    const QString path = OpenAndChange();
    answer = MessageAnswer::Discard;
    window->Run(CommandId::New);
    EXPECT_NE(EditorText().find("<a/>"), std::string::npos);
    EXPECT_EQ(ReadFile(path), kDocument);
}

TEST_F(UnsavedChangesQuestion, NewAndSaveWritesTheChangesFirst)
{
    const QString path = OpenAndChange();
    answer = MessageAnswer::Save;
    window->Run(CommandId::New);
    EXPECT_TRUE(ReadFile(path).contains("<item>and one</item>"));
    EXPECT_NE(EditorText().find("<a/>"), std::string::npos);
}

TEST_F(UnsavedChangesQuestion, OpenAsksBeforeTheFileDialog)
{
    const QString path = OpenAndChange();
    const QString other = WriteFile("other.xml", kOther);
    int dialogs = 0;
    window->ChooseOpenFile = [&] {
        ++dialogs;
        return other;
    };

    answer = MessageAnswer::Cancel;
    window->Run(CommandId::Open);
    EXPECT_EQ(Questions(MessageKind::SaveChangesQuestion), 1);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(EditorText(), changedText);

    answer = MessageAnswer::Save;
    window->Run(CommandId::Open);
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(ReadFile(path).contains("<item>and one</item>"));
    EXPECT_NE(EditorText().find("<other/>"), std::string::npos);
    EXPECT_EQ(window->CurrentFileName(), other);
}

TEST_F(UnsavedChangesQuestion, AnUnchangedDocumentIsReplacedWithoutAQuestion)
{
    const QString path = WriteFile("doc.xml", kDocument);
    Open(path);
    messages.clear();
    Open(WriteFile("other.xml", kOther));
    window->Run(CommandId::New);
    EXPECT_TRUE(messages.empty());
}

TEST_F(UnsavedChangesQuestion, CloseAsksWithItsOwnWordingAndSaveWritesThenCloses)
{
    const QString path = OpenAndChange();
    answer = MessageAnswer::Save;
    EXPECT_TRUE(window->close());
    ASSERT_EQ(Questions(MessageKind::ExitQuestion), 1);
    EXPECT_EQ(messages.front().text, "Are you sure you wish to exit");
    EXPECT_TRUE(ReadFile(path).contains("<item>and one</item>"));
}

TEST_F(UnsavedChangesQuestion, CloseAndDiscardClosesWithoutWriting)
{
    const QString path = OpenAndChange();
    answer = MessageAnswer::Discard;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(ReadFile(path), kDocument);
}

TEST_F(UnsavedChangesQuestion, SaveOfAnUnnamedDocumentRunsSaveAsAndCancellingItCancelsTheClose)
{
    // The generated document at start-up has no file.
    answer = MessageAnswer::Save;
    nextSavePath.clear();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->DocumentModified());

    nextSavePath = folder.filePath("kept.xml");
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(ReadFile(nextSavePath).contains("<a/>"));
}

TEST_F(UnsavedChangesQuestion, AFailedSaveCancelsTheCommand)
{
    const QString path = OpenAndChange();
    // Text that is not well-formed, and the user declines to save it as it is:
    // nothing is written, so nothing may be discarded either.
    window->Editor().Lines()->SetText("<root><item></root>");
    answer = MessageAnswer::Save;
    int asked = 0;
    SetMessageSink([&](MessageKind kind, const QString &text) {
        messages.push_back({kind, text});
        if (kind == MessageKind::SaveAsItIsQuestion) {
            ++asked;
            return MessageAnswer::Cancel;
        }
        return kind == MessageKind::ExitQuestion ? MessageAnswer::Save : MessageAnswer::Ok;
    });
    EXPECT_FALSE(window->close());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadFile(path), kDocument);
    EXPECT_EQ(EditorText(), "<root><item></root>\r\n");
}

using NewStartsAnUnnamedDocument = ShellTest;

TEST_F(NewStartsAnUnnamedDocument, TheTitleNamesNoFileAndSaveRunsSaveAs)
{
    const QString path = WriteFile("doc.xml", kDocument);
    Open(path);
    window->Run(CommandId::New);
    EXPECT_TRUE(window->CurrentFileName().isEmpty());
    EXPECT_EQ(Title(), "* Tarnwick");

    int dialogs = 0;
    window->ChooseSaveFile = [&] {
        ++dialogs;
        return QString();
    };
    window->Run(CommandId::Save);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(ReadFile(path), kDocument);
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty());
    EXPECT_EQ(window->StatusText(), "Status: changed");
}

TEST_F(NewStartsAnUnnamedDocument, SaveWritesTheNamedFileAndLaterSavesGoThere)
{
    const QString path = WriteFile("doc.xml", kDocument);
    Open(path);
    window->Run(CommandId::New);
    const QString fresh = folder.filePath("fresh.xml");
    window->ChooseSaveFile = [&] { return fresh; };
    window->Run(CommandId::Save);
    EXPECT_TRUE(ReadFile(fresh).contains("<a/>"));
    EXPECT_EQ(ReadFile(path), kDocument);
    EXPECT_EQ(Title(), "Tarnwick - " + fresh);
    EXPECT_EQ(window->StatusText(), "Status: saved");

    window->ChooseSaveFile = [] { return QString(); };
    window->Editor().Lines()->SetText("<xml><b/></xml>");
    window->Run(CommandId::Save);
    EXPECT_TRUE(ReadFile(fresh).contains("<b/>"));
}

TEST_F(NewStartsAnUnnamedDocument, SaveAtStartUpWithTheDialogCancelledWritesNothing)
{
    nextSavePath.clear();
    window->Run(CommandId::Save);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Title(), "* Tarnwick");
    EXPECT_EQ(window->StatusText(), "Status: changed");
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}
