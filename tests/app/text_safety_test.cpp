// What the shell does with the user's text around Validate, Save and text that
// is not well-formed: Validate leaves every later parse as it was, Save writes
// what the editor shows, and text the parser rejects opens and saves as it is.
#include "shell_fixture.h"

#include "app/config_dialog.h"
#include "app/status_fields.h"
#include "app/xml_commands.h"
#include "editor/base/utf8.h"
#include "xml/transcode.h"

#include <QLineEdit>
#include <QStringList>

#include <sys/stat.h>

#include <filesystem>

using namespace tarnwick;
using namespace tarnwick::xml;

namespace {

const QByteArray kIndented = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<root>\n"
                             "  <item>one</item>\n"
                             "  <item>two</item>\n"
                             "</root>\n";

// The bytes Save writes for the editor's text: LF line breaks, the declared
// encoding.
std::string SavedBytesOf(const std::string &editorText, const std::string &encoding)
{
    std::string lf;
    for (size_t i = 0; i < editorText.size(); ++i)
        if (!(editorText[i] == '\r' && i + 1 < editorText.size() && editorText[i + 1] == '\n'))
            lf += editorText[i];
    return EncodeFromUtf8(lf, encoding.empty() ? "UTF-8" : encoding);
}

std::string DeclaredEncodingOf(const std::string &text)
{
    const size_t at = text.find("encoding=\"");
    if (at == std::string::npos || at > text.find('\n'))
        return "";
    const size_t start = at + 10;
    return text.substr(start, text.find('"', start) - start);
}

} // namespace

// ---- Validate changes nothing but its verdict ----

using ValidateChangesNothing = ShellTest;

TEST_F(ValidateChangesNothing, TheDocumentKeepsItsParseOptions)
{
    const auto before = window->Document().ParseOptions();
    window->Run(CommandId::Validate);
    EXPECT_EQ(Last(MessageKind::Information), "XML document is valid.");
    EXPECT_EQ(window->Document().ParseOptions(), before);

    window->Editor().Lines()->SetText("<root><a></root>");
    window->Run(CommandId::Validate);
    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());
    EXPECT_EQ(window->Document().ParseOptions(), before);
}

TEST_F(ValidateChangesNothing, SaveAfterValidateKeepsTheIndentation)
{
    const QString path = WriteFile("doc.xml", kIndented);
    Open(path);
    window->Run(CommandId::Validate);
    EXPECT_EQ(Last(MessageKind::Information), "XML document is valid.");
    window->Run(CommandId::Save);
    EXPECT_EQ(window->StatusText(), "Status: saved");
    EXPECT_EQ(ReadFile(path), kIndented);
}

// The editor holds the text: a tree of a big document takes many times its
// size, so none stays behind a command, whatever its verdict.
TEST_F(ValidateChangesNothing, NoTreeNorTextStaysInTheDocumentAfterValidateOrSave)
{
    const auto released = [this] { return !window->Document().Active() && window->Document().XML().Count() == 0; };
    const QString path = WriteFile("doc.xml", kIndented);
    Open(path);
    EXPECT_TRUE(released()) << "after Open";
    window->Run(CommandId::Validate);
    EXPECT_EQ(Last(MessageKind::Information), "XML document is valid.");
    EXPECT_TRUE(released()) << "after Validate";
    InsertAt(2, 2, "<new/>");
    window->Run(CommandId::Save);
    EXPECT_EQ(window->StatusText(), "Status: saved");
    EXPECT_TRUE(released()) << "after Save";

    window->Editor().Lines()->SetText("<root><a></root>");
    window->Run(CommandId::Validate);
    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());
    EXPECT_TRUE(released()) << "after Validate of a text that is not well-formed";
    window->Run(CommandId::Save);
    EXPECT_TRUE(released()) << "after Save of a text that is not well-formed";
}

TEST_F(ValidateChangesNothing, FormatAfterValidateGivesTheSameLayoutAsBefore)
{
    const QString path = WriteFile("doc.xml", kIndented);
    Open(path);
    window->Run(CommandId::Format);
    const std::string formatted = EditorText();
    EXPECT_GT(window->Editor().Lines()->Count(), 3);

    Open(path);
    window->Run(CommandId::Validate);
    window->Run(CommandId::Format);
    EXPECT_EQ(EditorText(), formatted);
}

TEST_F(ValidateChangesNothing, ADocumentWhoseDtdIsMissingStillOpensAndSaves)
{
    const QByteArray text =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE root SYSTEM \"missing.dtd\">\n<root>\n  <a/>\n</root>\n";
    const QString path = WriteFile("doc.xml", text);
    Open(path);
    window->Run(CommandId::Validate);
    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());

    messages.clear();
    Open(path);
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty()) << Last(MessageKind::Error).toStdString();
    window->Run(CommandId::Save);
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty()) << Last(MessageKind::Error).toStdString();
    EXPECT_EQ(ReadFile(path), text);
}

// ---- Save writes what the editor shows ----

using SaveWritesWhatIsShown = ShellTest;

TEST_F(SaveWritesWhatIsShown, RealDocumentsOpenedValidatedFormattedAndSavedReopenAsShown)
{
    const QStringList documents = {"android-layout.xml",  "atom-latin1.xml", "catalog-with-dtd.xml",
                                   "docbook-article.xml", "maven-pom.xml",   "rss-feed.xml",
                                   "strings-utf16.xml",   "svg-icon.xml",    "web-config.xml",
                                   "xslt-stylesheet.xml"};
    for (const QString &name : documents) {
        SCOPED_TRACE(name.toStdString());
        const QString path = CopyDocument(name);
        messages.clear();
        Open(path);
        ASSERT_TRUE(Last(MessageKind::Error).isEmpty()) << Last(MessageKind::Error).toStdString();
        const std::string opened = EditorText();

        // Unformatted: the file holds exactly the shown text and reopens as it.
        window->Run(CommandId::Validate);
        window->Run(CommandId::Save);
        EXPECT_EQ(window->StatusText(), "Status: saved");
        EXPECT_EQ(ReadFile(path).toStdString(), SavedBytesOf(opened, DeclaredEncodingOf(opened)));
        Open(path);
        EXPECT_EQ(EditorText(), opened);

        // Formatted (where Format can: a document type cannot be formatted).
        window->Run(CommandId::Validate);
        messages.clear();
        window->Run(CommandId::Format);
        const bool formatted = Last(MessageKind::Error).isEmpty();
        const std::string shown = EditorText();
        if (!formatted)
            EXPECT_EQ(shown, opened);
        window->Run(CommandId::Save);
        EXPECT_EQ(ReadFile(path).toStdString(), SavedBytesOf(shown, DeclaredEncodingOf(shown)));
        Open(path);
        EXPECT_EQ(EditorText(), shown);
        EXPECT_FALSE(window->DocumentModified());
    }
}

TEST_F(SaveWritesWhatIsShown, EditedTextIsSavedAsTyped)
{
    const QString path = WriteFile("doc.xml", kIndented);
    Open(path);
    InsertAt(2, 2, "<!-- note -->\r\n  ");
    const std::string shown = EditorText();
    window->Run(CommandId::Validate);
    window->Run(CommandId::Save);
    EXPECT_EQ(ReadFile(path).toStdString(), SavedBytesOf(shown, "UTF-8"));
}

// ---- Text that is not well-formed can be opened and saved ----

using NotWellFormedText = ShellTest;

// It opens as any file does (the live check of the form marks the error a
// moment later); Validate then names the error and takes the caret there.
TEST_F(NotWellFormedText, OpenShowsTheFilesOwnTextAndValidateFindsTheError)
{
    const QString path = WriteFile("broken.xml", "<root>\n  <item>one\n</root>\n");
    Open(path);
    EXPECT_EQ(EditorText(), "<root>\r\n  <item>one\r\n</root>\r\n");
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty());
    window->Run(CommandId::Validate);
    const QString error = Last(MessageKind::Error);
    EXPECT_TRUE(error.contains("Line: 3")) << error.toStdString();
    EXPECT_TRUE(error.contains("mismatch")) << error.toStdString();
    EXPECT_EQ(window->Editor().CaretLine(), 2);
    EXPECT_EQ(Title(), "Tarnwick - " + path);
    EXPECT_EQ(window->StatusText(), "Status: openned");
    EXPECT_FALSE(window->DocumentModified());
    EXPECT_EQ(window->CurrentFileName(), path);
}

TEST_F(NotWellFormedText, TheCaretGoesToTheErrorsColumnPastTabsAndWideLetters)
{
    // The value lacks its quotes: the error is at the 1 (column 9 of the line).
    const QString path = WriteFile("broken.xml", "<r>\n\t<a \xc3\xa9\xc3\xa9=1/>\n</r>\n");
    Open(path);
    window->Run(CommandId::Validate);
    EXPECT_TRUE(Last(MessageKind::Error).contains("Line: 2")) << Last(MessageKind::Error).toStdString();
    EXPECT_EQ(window->Editor().CaretLine(), 1);
    // The tab is one character of the line, as it is to the parser.
    EXPECT_EQ(window->Editor().CaretCol(), 7);
    EXPECT_EQ(utf8::Mid(window->Editor().Lines()->Strings(1), window->Editor().CaretCol(), 1), "1");
}

TEST_F(NotWellFormedText, OpenDecodesByTheDeclarationOrByteOrderMark)
{
    Open(WriteFile("latin1.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<p>caf\xe9<p>\n"));
    EXPECT_EQ(EditorText(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<p>caf\xc3\xa9<p>\r\n");

    QByteArray utf16("\xff\xfe", 2);
    for (char c : std::string("<p>caf\xe9<p>"))
        utf16.append(c).append('\0');
    Open(WriteFile("utf16.xml", utf16));
    EXPECT_EQ(EditorText(), "<p>caf\xc3\xa9<p>\r\n");
}

TEST_F(NotWellFormedText, AFileThatIsNotTheUtf8ItShouldBeIsReadByteForByteAndSaidSo)
{
    const QString path = WriteFile("mixed.xml", "<p>\xc3\xa9t\xe9</q>\n");
    Open(path);
    // Each byte is a letter of its own, so the same bytes go back.
    EXPECT_EQ(EditorText(), "<p>\xc3\x83\xc2\xa9t\xc3\xa9</q>\r\n");
    EXPECT_FALSE(window->StatusBarFields().NoteText().isEmpty());
}

TEST_F(NotWellFormedText, SaveAsksAndCancelWritesNothing)
{
    const QString path = WriteFile("doc.xml", kIndented);
    Open(path);
    window->Editor().Lines()->SetText("<root>\r\n  <item>\r\n</root>");
    answer = MessageAnswer::Cancel;
    messages.clear();
    window->Run(CommandId::Save);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::SaveAsItIsQuestion);
    EXPECT_TRUE(messages[0].text.startsWith("Error in 3:")) << messages[0].text.toStdString();
    EXPECT_EQ(ReadFile(path), kIndented);
    EXPECT_TRUE(window->DocumentModified());
    EXPECT_EQ(window->StatusText(), "Status: changed");
    EXPECT_EQ(EditorText(), "<root>\r\n  <item>\r\n</root>\r\n");
}

TEST_F(NotWellFormedText, SaveAsItIsWritesTheTextInItsDeclaredEncoding)
{
    const QString path = WriteFile("doc.xml", kIndented);
    Open(path);
    window->Editor().Lines()->SetText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<p>caf\xc3\xa9\r\n");
    answer = MessageAnswer::Save;
    window->Run(CommandId::Save);
    EXPECT_EQ(ReadFile(path), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<p>caf\xe9\r\n");
    EXPECT_EQ(window->StatusText(), "Status: saved");
    EXPECT_FALSE(window->DocumentModified());
    EXPECT_EQ(Title(), "Tarnwick - " + path);

    // Reopened, the same text comes back, the error reported again.
    Open(path);
    EXPECT_EQ(EditorText(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<p>caf\xc3\xa9\r\n");
}

TEST_F(NotWellFormedText, ABrokenFileOpenedAndSavedKeepsItsBytes)
{
    const QByteArray bytes = "<?xml version=\"1.0\"?>\n<list>\n  <entry>caf\xc3\xa9 & cr\xc3\xa8me</entry>\n</list>\n";
    const QString path = WriteFile("broken.xml", bytes);
    Open(path);
    answer = MessageAnswer::Save;
    window->Run(CommandId::Save);
    EXPECT_EQ(Last(MessageKind::SaveAsItIsQuestion).isEmpty(), false);
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(NotWellFormedText, SaveAsOfBrokenTextWritesTheChosenFile)
{
    window->Editor().Lines()->SetText("<a><b></a>");
    answer = MessageAnswer::Save;
    nextSavePath = folder.filePath("new.xml");
    window->Run(CommandId::SaveAs);
    EXPECT_EQ(ReadFile(nextSavePath), "<a><b></a>");
    EXPECT_EQ(Title(), "Tarnwick - " + nextSavePath);
}

TEST_F(NotWellFormedText, FormatAndValidateStillReportTheErrorAndChangeNothing)
{
    Open(WriteFile("broken.xml", "<root>\n<item>\n</root>\n"));
    const std::string before = EditorText();
    messages.clear();
    window->Run(CommandId::Format);
    EXPECT_TRUE(Last(MessageKind::Error).contains("Line: 3")) << Last(MessageKind::Error).toStdString();
    window->Run(CommandId::Validate);
    EXPECT_TRUE(Last(MessageKind::Information).isEmpty());
    EXPECT_EQ(EditorText(), before);
    EXPECT_FALSE(window->DocumentModified());
}

TEST_F(NotWellFormedText, BinaryAndMissingFilesStillDoNotOpen)
{
    const std::string before = EditorText();
    Open(WriteFile("binary.xml", QByteArray("<a>\0\0\0</a>", 10)));
    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());
    Open(folder.filePath("missing.xml"));
    // A pipe nobody writes and a device that never ends are refused at once.
    const QString fifo = folder.filePath("fifo.xml");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    messages.clear();
    Open(fifo);
    EXPECT_TRUE(Last(MessageKind::Error).contains("named pipe")) << Last(MessageKind::Error).toStdString();
    Open(QStringLiteral("/dev/zero"));
    EXPECT_TRUE(Last(MessageKind::Error).contains("device")) << Last(MessageKind::Error).toStdString();
    EXPECT_EQ(EditorText(), before);
    EXPECT_EQ(Title(), "* Tarnwick");
}

// ---- Messages quote the document, never a file it reads ----

using HostileDocuments = ShellTest;

TEST_F(HostileDocuments, ValidateFormatAndSaveShowNothingOfTheFilesTheDocumentReads)
{
    QStringList documents;
    for (const auto &entry : std::filesystem::directory_iterator(TARNWICK_TEST_DATA "/hostile")) {
        const QString name = QString::fromStdString(entry.path().filename().string());
        const QString copy = WriteFile(name, ReadFile(QString::fromStdString(entry.path().string())));
        if (name.endsWith(".xml"))
            documents << copy;
    }
    WriteFile("secret.txt", "SECRET line one\nSECRET line two\n");
    WriteFile("secret-name.txt", "SECRETNAME");
    ASSERT_EQ(documents.size(), 7);
    for (const QString &path : documents) {
        answer = MessageAnswer::Discard;
        Open(path);
        messages.clear();
        answer = MessageAnswer::Cancel; // Save's question about a text that is not well-formed
        for (CommandId command : {CommandId::Validate, CommandId::Format, CommandId::Save})
            window->Run(command);
        ASSERT_FALSE(Last(MessageKind::Error).isEmpty()) << path.toStdString();
        for (const Message &message : messages)
            EXPECT_FALSE(message.text.contains("SECRET")) << path.toStdString() << ": " << message.text.toStdString();
        EXPECT_FALSE(window->StatusText().contains("SECRET"));
    }
}

TEST_F(HostileDocuments, ValidateReadsFromTheDocumentsFolderAndTheFoldersTheConfigurationAllows)
{
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("doc")));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("outside")));
    const QString outside = folder.filePath(QStringLiteral("outside"));
    WriteFile("outside/r.dtd", "<!ELEMENT r EMPTY>\n<!ENTITY e 'shared'>\n");
    Open(WriteFile("doc/doc.xml", "<!DOCTYPE r SYSTEM \"../outside/r.dtd\">\n<r/>\n"));
    window->Run(CommandId::Validate);
    EXPECT_TRUE(Last(MessageKind::Error).contains("../outside/r.dtd is outside the document's folder"))
        << Last(MessageKind::Error).toStdString();

    TfrmConfig &config = window->ConfigDialog();
    config.show();
    EXPECT_EQ(config.EditFolders->text(), "");
    config.EditFolders->setText(QStringLiteral("/nowhere:") + outside);
    config.accept();
    messages.clear();
    window->Run(CommandId::Validate);
    EXPECT_EQ(Last(MessageKind::Information), "XML document is valid.");
    EXPECT_EQ(Last(MessageKind::Error), "");
    // The folders are kept for the next run; Cancel keeps what was kept.
    config.show();
    EXPECT_EQ(config.EditFolders->text(), QStringLiteral("/nowhere:") + outside);
    config.EditFolders->setText(QString());
    config.reject();
    window->Run(CommandId::Validate);
    EXPECT_EQ(Last(MessageKind::Error), "");
    config.show();
    config.EditFolders->setText(QString());
    config.accept();
    window->Run(CommandId::Validate);
    EXPECT_TRUE(Last(MessageKind::Error).contains("is outside the document's folder"));
}

TEST_F(HostileDocuments, ABrokenDtdMakesSaveAndValidateSayTheDtdCouldNotBeRead)
{
    WriteFile("broken.dtd", "<!ELEMENT root (#PCDATA)\n<!ELEMENT other EMPTY>\n");
    const QString path = WriteFile("doc.xml", "<!DOCTYPE root SYSTEM \"broken.dtd\">\n<root/>\n");
    Open(path);
    InsertAt(1, 0, "<!-- note -->");
    answer = MessageAnswer::Cancel;
    window->Run(CommandId::Save);
    const QString question = Last(MessageKind::SaveAsItIsQuestion);
    EXPECT_TRUE(question.contains("broken.dtd\": it is not well-formed at line 2")) << question.toStdString();
    EXPECT_TRUE(question.contains("could not be read, so the text was not checked")) << question.toStdString();
    EXPECT_FALSE(question.contains("The text is not well-formed")) << question.toStdString();
    window->Run(CommandId::Validate);
    EXPECT_TRUE(Last(MessageKind::Error).contains("Could not read")) << Last(MessageKind::Error).toStdString();
}
