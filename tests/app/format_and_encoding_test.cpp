// Format as one undoable step, and the document's encoding through Format,
// the configuration dialog and Save: every encoding the dialog offers comes
// back as it was written.
#include "shell_fixture.h"

#include "app/config_dialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

namespace {

const std::string kEAcute = "\xc3\xa9";

} // namespace

// ---- Format is one undoable step ----

using FormatUndo = ShellTest;

TEST_F(FormatUndo, UndoGivesBackTheTextBeforeFormatExactlyAndRedoReappliesIt)
{
    const QString path = WriteFile("doc.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                              "<root><a x=\"caf\xc3\xa9\">text</a>  <b/>\n\n<c>  </c></root>\n");
    Open(path);
    // An edit of the user's own comes first; its undo step must stay apart.
    InsertAt(1, 6, "<z/>");
    const std::string typed = EditorText();

    window->Run(CommandId::Format);
    const std::string formatted = EditorText();
    ASSERT_NE(formatted, typed);
    EXPECT_TRUE(window->Editor().CanUndo());

    window->Run(CommandId::Undo);
    EXPECT_EQ(EditorText(), typed);
    window->Run(CommandId::Redo);
    EXPECT_EQ(EditorText(), formatted);
    window->Run(CommandId::Undo);
    window->Run(CommandId::Undo);
    EXPECT_EQ(EditorText(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                            "<root><a x=\"caf\xc3\xa9\">text</a>  <b/>\r\n\r\n<c>  </c></root>\r\n");
    window->Run(CommandId::Redo);
    window->Run(CommandId::Redo);
    EXPECT_EQ(EditorText(), formatted);
}

TEST_F(FormatUndo, FormatOfTheStartUpDocumentUndoesToIt)
{
    const std::string generated = EditorText();
    window->Run(CommandId::Format);
    EXPECT_NE(EditorText(), generated);
    window->Run(CommandId::Undo);
    EXPECT_EQ(EditorText(), generated);
}

TEST_F(FormatUndo, BlankLinesAndAnEmptyLastLineComeBack)
{
    Open(WriteFile("doc.xml", "<r>\n\n   <a/>   \n\n</r>\n\n"));
    // The file's last line is empty, and ends with a break.
    const std::string opened = "<r>\r\n\r\n   <a/>   \r\n\r\n</r>\r\n\r\n";
    ASSERT_EQ(EditorText(), opened);
    InsertAt(4, 4, "\r\n");
    const std::string typed = EditorText();
    window->Run(CommandId::Format);
    ASSERT_NE(EditorText(), typed);
    window->Run(CommandId::Undo);
    EXPECT_EQ(EditorText(), typed);
    window->Run(CommandId::Undo);
    EXPECT_EQ(EditorText(), opened);
}

TEST_F(FormatUndo, AFailedFormatAddsNoUndoStep)
{
    window->Editor().Lines()->SetText("<root><a></root>");
    window->Editor().ClearUndo();
    window->Run(CommandId::Format);
    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());
    EXPECT_FALSE(window->Editor().CanUndo());
}

// ---- Format keeps the document's encoding ----

class DocumentEncoding : public ShellTest {
protected:
    QComboBox &EncodingBox() { return *window->ConfigDialog().ComboBox2; }

    // Runs Doc Configuration with `edit` done inside the dialog, then the
    // button named by `button` ("Apply" or "Cancel") clicked.
    void Configure(const std::function<void(TfrmConfig &)> &edit, const QString &button)
    {
        QTimer::singleShot(0, [&] {
            TfrmConfig &dialog = window->ConfigDialog();
            edit(dialog);
            for (QPushButton *b : dialog.findChildren<QPushButton *>())
                if (b->text() == button)
                    b->click();
        });
        window->Run(CommandId::DocConfiguration);
    }

    // A document with a non-ASCII letter in an attribute, a comment and text.
    static std::string Sample(const std::string &encoding)
    {
        return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n<doc title=\"caf" + kEAcute + "\">\n  <!-- cr" +
               kEAcute + "me -->\n  <p>d" + kEAcute + "j" + kEAcute + "</p>\n</doc>\n";
    }
};

TEST_F(DocumentEncoding, TheBoxShowsTheEncodingOfTheDocumentInTheEditor)
{
    EXPECT_EQ(EncodingBox().currentText(), "ISO-8859-1"); // New's document

    Open(WriteFile("u8.xml", QByteArray::fromStdString(Sample("UTF-8"))));
    EXPECT_EQ(EncodingBox().currentText(), "UTF-8");
    Open(CopyDocument("atom-latin1.xml"));
    EXPECT_EQ(EncodingBox().currentText(), "ISO-8859-1");
    Open(WriteFile("plain.xml", "<doc/>"));
    EXPECT_EQ(EncodingBox().currentText(), "UTF-8");
    Open(CopyDocument("strings-utf16.xml"));
    EXPECT_EQ(EncodingBox().currentText(), "UTF-16");

    window->Editor().Lines()->SetText(Sample("ISO-8859-1"));
    nextSavePath = folder.filePath("saved-as.xml");
    window->Run(CommandId::SaveAs);
    EXPECT_EQ(EncodingBox().currentText(), "ISO-8859-1");

    window->Run(CommandId::New);
    EXPECT_EQ(EncodingBox().currentText(), "ISO-8859-1");
}

TEST_F(DocumentEncoding, FormatOfAUtf8FileKeepsItUtf8)
{
    const QString path = WriteFile("u8.xml", QByteArray::fromStdString(Sample("UTF-8")));
    Open(path);
    window->Run(CommandId::Format);
    EXPECT_EQ(EditorText().rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", 0), 0u);
    window->Run(CommandId::Save);
    const QByteArray saved = ReadFile(path);
    EXPECT_TRUE(saved.contains(QByteArray::fromStdString("caf" + kEAcute))) << saved.toStdString();
    EXPECT_TRUE(saved.contains(QByteArray::fromStdString("d" + kEAcute + "j" + kEAcute)));
}

TEST_F(DocumentEncoding, CancelLeavesEveryBoxAsItWasAndApplyKeepsTheChoice)
{
    TfrmConfig &config = window->ConfigDialog();
    const QString version = config.ComboBox1->currentText();
    const QString vendor = config.ComboBox3->currentText();
    Configure(
        [](TfrmConfig &d) {
            d.ComboBox1->setEditText("9.9");
            d.ComboBox2->setEditText("UTF-16");
            d.ComboBox3->setEditText("other");
        },
        "Cancel");
    EXPECT_EQ(config.ComboBox1->currentText(), version);
    EXPECT_EQ(EncodingBox().currentText(), "ISO-8859-1");
    EXPECT_EQ(config.ComboBox3->currentText(), vendor);

    Configure([](TfrmConfig &d) { d.ComboBox2->setCurrentText("UTF-8"); }, "Apply");
    EXPECT_EQ(EncodingBox().currentText(), "UTF-8");
    window->Run(CommandId::Format);
    EXPECT_EQ(EditorText().rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
}

TEST_F(DocumentEncoding, EveryEncodingTheBoxOffersIsWrittenAndReadBack)
{
    const std::map<QString, QByteArray> starts = {
        {"UTF-8", "<?xml"},
        {"UTF-16", QByteArray("\xff\xfe<\0?\0", 6)},
        {"UTF-32", QByteArray("\xff\xfe\0\0<\0\0\0", 8)},
        {"ISO-8859-1", "<?xml"},
    };
    const QString source = WriteFile("source.xml", QByteArray::fromStdString(Sample("UTF-8")));
    for (int i = 0; i < EncodingBox().count(); ++i) {
        const QString encoding = EncodingBox().itemText(i);
        SCOPED_TRACE(encoding.toStdString());
        Open(source);
        EncodingBox().setCurrentText(encoding);
        messages.clear();
        window->Run(CommandId::Format);
        ASSERT_TRUE(messages.empty()) << Last(MessageKind::Error).toStdString();
        EXPECT_EQ(EditorText().rfind("<?xml version=\"1.0\" encoding=\"" + encoding.toStdString() + "\"?>\r\n", 0), 0u);
        const std::string shown = EditorText();

        nextSavePath = folder.filePath("out-" + encoding + ".xml");
        window->Run(CommandId::SaveAs);
        const QByteArray bytes = ReadFile(nextSavePath);
        ASSERT_TRUE(starts.count(encoding));
        EXPECT_TRUE(bytes.startsWith(starts.at(encoding))) << bytes.left(8).toHex().toStdString();
        EXPECT_EQ(EncodingBox().currentText(), encoding);

        Open(nextSavePath);
        EXPECT_EQ(EditorText(), shown);
        EXPECT_NE(EditorText().find("title=\"caf" + kEAcute + "\""), std::string::npos);
        EXPECT_NE(EditorText().find("<!-- cr" + kEAcute + "me -->"), std::string::npos);
        EXPECT_NE(EditorText().find("<p>d" + kEAcute + "j" + kEAcute + "</p>"), std::string::npos);
    }
}

TEST_F(DocumentEncoding, Utf16FilesOfEitherByteOrderStayUtf16)
{
    auto utf16 = [](const std::string &ascii, bool bigEndian) {
        QByteArray out;
        for (QChar c : QString::fromStdString(ascii)) {
            const char16_t unit = c.unicode();
            const char high = char(unit >> 8), low = char(unit & 0xff);
            out.append(bigEndian ? high : low).append(bigEndian ? low : high);
        }
        return out;
    };
    const std::string le = Sample("UTF-16");
    const std::string be = Sample("UTF-16BE");
    const QString lePath = WriteFile("le.xml", QByteArray("\xff\xfe", 2) + utf16(le, false));
    const QString bePath = WriteFile("be.xml", utf16(be, true));
    for (const QString &path : {lePath, bePath}) {
        SCOPED_TRACE(path.toStdString());
        Open(path);
        ASSERT_TRUE(Last(MessageKind::Error).isEmpty()) << Last(MessageKind::Error).toStdString();
        const std::string shown = EditorText();
        EXPECT_NE(shown.find("<p>d" + kEAcute + "j" + kEAcute + "</p>"), std::string::npos);
        window->Run(CommandId::Format);
        window->Run(CommandId::Save);
        const QByteArray bytes = ReadFile(path);
        if (path == lePath)
            EXPECT_TRUE(bytes.startsWith(QByteArray("\xff\xfe<\0?\0", 6))) << bytes.left(8).toHex().toStdString();
        else
            EXPECT_TRUE(bytes.startsWith(QByteArray("\0<\0?", 4))) << bytes.left(8).toHex().toStdString();
        const std::string formatted = EditorText();
        Open(path);
        EXPECT_EQ(EditorText(), formatted);
    }
    // Opened and saved without edits, a UTF-16 file with its mark keeps its bytes.
    const QByteArray before = ReadFile(lePath);
    Open(lePath);
    window->Run(CommandId::Save);
    EXPECT_EQ(ReadFile(lePath), before);
}
