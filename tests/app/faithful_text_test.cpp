// What the window opens is the file's own text, and an unedited Save writes
// the file's own bytes back: every encoding the window offers, with and
// without a byte order mark, every kind of line break, tabs, the internal
// subset, references, no final break, files that are not well-formed or not
// what their declaration says. An edit changes only what was edited.
#include "shell_fixture.h"

#include "app/status_fields.h"
#include "editor/undo/undo_list.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QStringEncoder>

namespace {

// A document that holds what a re-serialisation would change: tabs in text
// and attributes, single quotes, an empty element written with both tags,
// references, an internal subset over several lines with comments, CDATA,
// a processing instruction and a comment after the root. Lines are joined
// with `lineEnd`; the last has none.
QString Sample(const QString &encoding, const QString &lineEnd)
{
    const QStringList lines = {
        QStringLiteral("<?xml version='1.0' encoding='%1'?>").arg(encoding),
        QStringLiteral("<!DOCTYPE r ["),
        QStringLiteral("  <!-- the entities -->"),
        QStringLiteral("\t<!ENTITY  custom   \"caf\u00e9\">"),
        QStringLiteral("  <!ELEMENT r ANY>"),
        QStringLiteral("]>"),
        QStringLiteral("<r  a = 'x\ty' >"),
        QStringLiteral("\t<item>tab\tinside &amp; &custom; &#233; &#x20AC;</item>"),
        QStringLiteral("    <empty></empty>"),
        QStringLiteral("\t<![CDATA[ <raw>\t]]>"),
        QStringLiteral("  <?pi data ?>"),
        QStringLiteral("</r>"),
        QStringLiteral("<!-- after the root \u00e9 -->"),
    };
    return lines.join(lineEnd);
}

QByteArray Encoded(const QString &text, QStringConverter::Encoding encoding, bool mark)
{
    QStringEncoder encoder(encoding, mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

class FaithfulText : public ShellTest {
protected:
    // Opens `bytes` as a file, saves it unedited and returns what was written.
    QByteArray OpenAndSave(const QString &name, const QByteArray &bytes)
    {
        const QString path = WriteFile(name, bytes);
        answer = MessageAnswer::Discard;
        Open(path);
        EXPECT_EQ(window->CurrentFileName(), path);
        EXPECT_FALSE(window->DocumentModified()) << name.toStdString();
        // A file that is not well-formed is saved as it is.
        answer = MessageAnswer::Save;
        QFile::remove(path);
        window->Run(CommandId::Save);
        return ReadFile(path);
    }

    QString LineEnds() { return window->StatusBarFields().LineEndsText(); }
};

TEST_F(FaithfulText, AnUneditedSaveWritesTheFilesOwnBytes)
{
    std::vector<std::pair<QString, QByteArray>> corpus;
    for (const auto &[end, label] : {std::pair{"\n", "lf"}, {"\r\n", "crlf"}, {"\r", "cr"}}) {
        const QString name = QString::fromLatin1(label);
        corpus.emplace_back("utf8-" + name, Sample("UTF-8", end).toUtf8());
        corpus.emplace_back("latin1-" + name, Encoded(Sample("ISO-8859-1", end), QStringConverter::Latin1, false));
    }
    corpus.emplace_back("utf8-bom", Encoded(Sample("UTF-8", "\n"), QStringConverter::Utf8, true));
    corpus.emplace_back("utf16le-bom", Encoded(Sample("UTF-16", "\r\n"), QStringConverter::Utf16LE, true));
    corpus.emplace_back("utf16be-bom", Encoded(Sample("UTF-16", "\n"), QStringConverter::Utf16BE, true));
    corpus.emplace_back("utf16le", Encoded(Sample("UTF-16", "\n"), QStringConverter::Utf16LE, false));
    corpus.emplace_back("utf32-bom", Encoded(Sample("UTF-32", "\n"), QStringConverter::Utf32LE, true));
    corpus.emplace_back("mixed-ends", Sample("UTF-8", "\n").replace(3, 0, QStringLiteral("\r\n\r")).toUtf8() + "\r\n");
    corpus.emplace_back("final-break", Sample("UTF-8", "\r\n").toUtf8() + "\r\n\r\n");
    corpus.emplace_back("not-well-formed", QByteArray("<a>\n\t<b>\r\n</a>"));
    corpus.emplace_back("empty", QByteArray());
    corpus.emplace_back("one-break", QByteArray("\n"));
    corpus.emplace_back("latin1-undeclared", QByteArray("<a>caf\xE9 \x80\x81</a>\n"));
    corpus.emplace_back("utf8-declared-latin1", QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>caf\xC3\xA9</a>"));
    for (const char *name : {"android-layout.xml", "atom-latin1.xml", "catalog-with-dtd.xml", "docbook-article.xml",
                             "maven-pom.xml", "rss-feed.xml", "strings-utf16.xml", "svg-icon.xml", "web-config.xml",
                             "xslt-stylesheet.xml"})
        corpus.emplace_back(name, ReadFile(QStringLiteral(TARNWICK_TEST_DATA "/documents/") + name));

    for (const auto &[name, bytes] : corpus)
        EXPECT_EQ(OpenAndSave(name + ".xml", bytes), bytes) << name.toStdString();
}

TEST_F(FaithfulText, TheEditorShowsTheTextAsWrittenAndSaysWhatItIs)
{
    Open(WriteFile("a.xml", Encoded(Sample("UTF-16", "\r\n"), QStringConverter::Utf16LE, true)));
    const tarnwick::REdoDodiStrings &lines = *window->Editor().Lines();
    ASSERT_EQ(lines.Count(), 13);
    EXPECT_EQ(lines[0], "<?xml version='1.0' encoding='UTF-16'?>");
    EXPECT_EQ(lines[3], "\t<!ENTITY  custom   \"caf\u00e9\">");
    EXPECT_EQ(lines[8], "    <empty></empty>");
    EXPECT_EQ(window->StatusBarFields().EncodingText(), QStringLiteral("UTF-16LE BOM"));
    EXPECT_EQ(LineEnds(), QStringLiteral("CRLF"));
    EXPECT_TRUE(window->StatusBarFields().NoteText().isEmpty());

    // Bytes that are not what the file says: read so that nothing is lost, and said so.
    Open(WriteFile("b.xml", QByteArray("<a>caf\xE9</a>\n")));
    EXPECT_EQ(lines[0], "<a>caf\u00e9</a>");
    EXPECT_FALSE(window->StatusBarFields().NoteText().isEmpty());
    EXPECT_EQ(Last(MessageKind::Information), window->StatusBarFields().NoteText());
    window->Run(CommandId::New);
    EXPECT_TRUE(window->StatusBarFields().NoteText().isEmpty());
}

TEST_F(FaithfulText, AnEditChangesOnlyWhatWasEdited)
{
    const QByteArray original = Encoded(Sample("ISO-8859-1", "\r\n"), QStringConverter::Latin1, false);
    const QString path = WriteFile("edit.xml", original);
    Open(path);

    // One character typed on line 8, after its tab.
    tarnwick::REdoDodi &ed = window->Editor();
    ed.SetCaretLine(7);
    ed.SetCaretCol(1);
    ed.CollapseSelection();
    ed.TypeCharacter(U'\u00e9');
    window->Run(CommandId::Save);
    QByteArray expected = original;
    const qsizetype line8 = original.indexOf("\t<item>");
    expected.insert(line8 + 1, '\xE9');
    EXPECT_EQ(ReadFile(path), expected);

    // A paste keeps its tabs and breaks its lines as the document does.
    ed.SetCaretLine(8);
    ed.SetCaretCol(0);
    ed.CollapseSelection();
    QGuiApplication::clipboard()->setText(QStringLiteral("\t<p>1\t2</p>\n\t<q/>\n"));
    window->Run(CommandId::Paste);
    window->Run(CommandId::Save);
    expected.insert(expected.indexOf("    <empty>"), "\t<p>1\t2</p>\r\n\t<q/>\r\n");
    EXPECT_EQ(ReadFile(path), expected);
}

TEST_F(FaithfulText, LineEndsAreConvertedAsOneStepAndNewLinesTakeTheDocumentsStyle)
{
    const QByteArray mixed("<a>\n<b/>\r\n<c/>\r</a>\n");
    const QString path = WriteFile("ends.xml", mixed);
    Open(path);
    EXPECT_EQ(LineEnds(), QStringLiteral("Mixed"));

    window->Run(CommandId::LineEndsCrLf);
    EXPECT_EQ(LineEnds(), QStringLiteral("CRLF"));
    EXPECT_TRUE(window->DocumentModified());
    tarnwick::REdoDodi &ed = window->Editor();
    ed.SetCaretLine(1);
    ed.SetCaretCol(4);
    ed.CollapseSelection();
    ed.NewLine();
    window->Run(CommandId::Save);
    EXPECT_EQ(ReadFile(path), QByteArray("<a>\r\n<b/>\r\n\r\n<c/>\r\n</a>\r\n"));

    window->Run(CommandId::Undo);
    window->Run(CommandId::Undo);
    EXPECT_EQ(LineEnds(), QStringLiteral("Mixed"));
    window->Run(CommandId::Save);
    EXPECT_EQ(ReadFile(path), mixed);
}

} // namespace
