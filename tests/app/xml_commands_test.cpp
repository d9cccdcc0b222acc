// Format (Tidy), Validate and Doc Configuration through the main window, and
// the same commands from the command line.
#include "shell_fixture.h"

#include "app/command_line.h"
#include "app/config_dialog.h"
#include "app/xml_commands.h"

#include <QComboBox>
#include <QGuiApplication>
#include <sstream>

namespace {

const char *const kCatalogDtd = "<!ELEMENT catalog (book+)>\n"
                                "<!ELEMENT book (#PCDATA)>\n"
                                "<!ATTLIST book id CDATA #REQUIRED>\n";

const char *const kCatalogXsd = "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">\n"
                                "  <xs:element name=\"catalog\"><xs:complexType><xs:sequence>\n"
                                "    <xs:element name=\"book\" type=\"xs:string\" maxOccurs=\"unbounded\"/>\n"
                                "  </xs:sequence></xs:complexType></xs:element>\n"
                                "</xs:schema>\n";

} // namespace

class XmlCommands : public ShellTest {
protected:
    void SetEditorText(const std::string &text) { window->Editor().Lines()->SetText(text); }
    void SetEncodingBox(const QString &text) { window->ConfigDialog().ComboBox2->setEditText(text); }
};

TEST_F(XmlCommands, FormatIndentsAOneLineDocumentWithTheChosenEncoding)
{
    SetEditorText("<root><a x=\"1\"><b>text</b><c/></a><!-- note --></root>");
    window->Run(CommandId::Format);
    EXPECT_TRUE(messages.empty()) << Last(MessageKind::Error).toStdString();
    EXPECT_EQ(EditorText(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                            "<root>\r\n"
                            "  <a x=\"1\">\r\n"
                            "    <b>text</b>\r\n"
                            "    <c/>\r\n"
                            "  </a>\r\n"
                            "  <!-- note -->\r\n"
                            "</root>\r\n");
    EXPECT_EQ(window->StatusText(), "Status: changed");

    SetEncodingBox("UTF-8");
    window->Run(CommandId::Format);
    EXPECT_EQ(EditorText().rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", 0), 0u);
}

TEST_F(XmlCommands, FormatOfAnEmptyEditorLeavesJustTheDeclaration)
{
    window->Run(CommandId::Delete);
    window->Run(CommandId::Format);
    EXPECT_EQ(EditorText(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n");
}

TEST_F(XmlCommands, FailingFormatLeavesTheEditorTextAlone)
{
    const std::vector<std::pair<std::string, QString>> cases = {
        {"<root><a></root>", "Line"},
        {"plain words, not XML", "Line"},
    };
    for (const auto &[text, expected] : cases) {
        SetEditorText(text);
        const std::string before = EditorText();
        messages.clear();
        window->Run(CommandId::Format);
        EXPECT_TRUE(Last(MessageKind::Error).contains(expected)) << Last(MessageKind::Error).toStdString();
        EXPECT_EQ(EditorText(), before);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }

    SetEditorText("<root/>");
    SetEncodingBox("NO-SUCH-ENCODING");
    messages.clear();
    window->Run(CommandId::Format);
    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());
    EXPECT_EQ(EditorText(), "<root/>\r\n");
}

TEST_F(XmlCommands, ValidateReportsAValidDocumentWithoutGrammar)
{
    SetEditorText("<root><a/></root>");
    window->Run(CommandId::Validate);
    EXPECT_EQ(Last(MessageKind::Information), "XML document is valid.");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(XmlCommands, ValidateChecksTheInternalAndTheExternalDtd)
{
    SetEditorText("<!DOCTYPE catalog [<!ELEMENT catalog (book+)><!ELEMENT book (#PCDATA)>]>"
                  "<catalog><book>a</book></catalog>");
    window->Run(CommandId::Validate);
    EXPECT_EQ(Last(MessageKind::Information), "XML document is valid.");

    SetEditorText("<!DOCTYPE catalog [<!ELEMENT catalog (book+)><!ELEMENT book (#PCDATA)>]>"
                  "<catalog><shelf/></catalog>");
    messages.clear();
    window->Run(CommandId::Validate);
    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());
    EXPECT_TRUE(Last(MessageKind::Information).isEmpty());

    // An external DTD is found beside the document's own file.
    WriteFile("catalog.dtd", kCatalogDtd);
    const QString path = WriteFile("catalog.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE catalog SYSTEM \"catalog.dtd\">\n"
                                                  "<catalog><book id=\"b1\">x</book></catalog>\n");
    Open(path);
    messages.clear();
    window->Run(CommandId::Validate);
    EXPECT_EQ(Last(MessageKind::Information), "XML document is valid.");

    SetEditorText("<!DOCTYPE catalog SYSTEM \"catalog.dtd\"><catalog><book>no id</book></catalog>");
    messages.clear();
    window->Run(CommandId::Validate);
    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());
}

TEST_F(XmlCommands, ValidateErrorPutsTheCaretWhereTheErrorIs)
{
    std::string text = "<root>\r\n";
    for (int i = 0; i < 200; ++i)
        text += "  <item/>\r\n";
    text += "  <item>x</itme>\r\n</root>";
    SetEditorText(text);
    tarnwick::REdoDodi &editor = window->Editor();
    editor.SetTopLine(0);
    window->Run(CommandId::Validate);
    EXPECT_TRUE(Last(MessageKind::Error).contains("202"));
    EXPECT_EQ(editor.CaretLine(), 201);
    EXPECT_GE(editor.CaretCol(), 9);
    EXPECT_LE(editor.TopLine(), 201);
    EXPECT_GT(editor.TopLine() + editor.VisibleRows(), 201) << "the error's line is in view";
}

TEST_F(XmlCommands, ValidateChecksASchemaNamedByTheDocument)
{
    WriteFile("catalog.xsd", kCatalogXsd);
    const QString path =
        WriteFile("catalog.xml", "<catalog xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                                 "xsi:noNamespaceSchemaLocation=\"catalog.xsd\"><book>x</book></catalog>\n");
    Open(path);
    window->Run(CommandId::Validate);
    EXPECT_EQ(Last(MessageKind::Information), "XML document is valid.");

    SetEditorText("<catalog xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                  "xsi:noNamespaceSchemaLocation=\"catalog.xsd\"><shelf/></catalog>");
    messages.clear();
    window->Run(CommandId::Validate);
    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());
}

TEST_F(XmlCommands, AfterValidateOtherCommandsStillWorkWithoutGrammar)
{
    window->Run(CommandId::Validate);
    EXPECT_EQ(Last(MessageKind::Information), "XML document is valid.");

    messages.clear();
    SetEditorText("<root>\r\n  <a/>\r\n</root>");
    window->Run(CommandId::Format);
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty()) << Last(MessageKind::Error).toStdString();

    const QString path = WriteFile("plain.xml", "<root><b/></root>");
    Open(path);
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty()) << Last(MessageKind::Error).toStdString();
    window->Run(CommandId::Save);
    EXPECT_TRUE(Last(MessageKind::Error).isEmpty()) << Last(MessageKind::Error).toStdString();
    EXPECT_EQ(window->StatusText(), "Status: saved");
}

TEST_F(XmlCommands, NetworkGrammarIsReportedNotFetched)
{
    SetEditorText("<!DOCTYPE root SYSTEM \"http://127.0.0.1:9/none.dtd\"><root/>");
    window->Run(CommandId::Validate);
    EXPECT_FALSE(Last(MessageKind::Error).isEmpty());
}

TEST_F(XmlCommands, ConfigurationDialogListsTheVendorAndKeepsTypedText)
{
    TfrmConfig &config = window->ConfigDialog();
    EXPECT_EQ(config.ComboBox1->currentText(), "1.0");
    EXPECT_EQ(config.ComboBox2->currentText(), "ISO-8859-1");
    EXPECT_EQ(config.ComboBox3->currentText(), "libxml2");
    EXPECT_EQ(config.windowTitle(), "Configuration");
    EXPECT_EQ(config.size(), QSize(283, 254));
}

class CommandLineTools : public testing::Test {
protected:
    QString Write(const QString &name, const QByteArray &bytes) { return WriteTestFile(folder, name, bytes); }

    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "tarnwick");
        std::vector<const char *> argv;
        for (const std::string &arg : args)
            argv.push_back(arg.c_str());
        const CommandLine line = ParseCommandLine(int(argv.size()), argv.data());
        out.str({});
        err.str({});
        if (line.action == CommandLine::Action::Format)
            return tarnwick::RunFormatCommand(line, out, err);
        if (line.action == CommandLine::Action::Validate)
            return tarnwick::RunValidateCommand(line, out, err);
        return -1;
    }

    QTemporaryDir folder;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CommandLineTools, FormatWritesTheTidyTextWithUnixLineBreaks)
{
    const QString path = Write("one.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><root><a>x</a></root>");
    EXPECT_EQ(Run({"--format", path.toStdString()}), 0) << err.str();
    EXPECT_EQ(out.str(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n  <a>x</a>\n</root>\n");

    EXPECT_EQ(Run({"--format", path.toStdString(), "--encoding", "ISO-8859-1"}), 0);
    EXPECT_EQ(out.str().rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n", 0), 0u);
}

TEST_F(CommandLineTools, FormatToAFileWritesTheDeclaredEncoding)
{
    const QString path = Write("in.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><p>caf\xe9</p>");
    const QString output = folder.filePath("out.xml");
    EXPECT_EQ(Run({"--format", path.toStdString(), "-o", output.toStdString()}), 0) << err.str();
    QFile file(output);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("caf\xe9"));
}

TEST_F(CommandLineTools, FormatFailureGoesToStandardErrorWithAnExitStatus)
{
    const QString path = Write("bad.xml", "<root>");
    EXPECT_NE(Run({"--format", path.toStdString()}), 0);
    EXPECT_TRUE(out.str().empty());
    EXPECT_NE(err.str().find("bad.xml"), std::string::npos);
    EXPECT_NE(Run({"--format", folder.filePath("missing.xml").toStdString()}), 0);
    EXPECT_NE(Run({"--format", Write("empty.xml", "").toStdString()}), 0);
}

TEST_F(CommandLineTools, ValidateExitsZeroOnlyWhenEveryFileIsValid)
{
    const QString good = Write("good.xml", "<root/>");
    const QString bad = Write("bad.xml", "<!DOCTYPE root [<!ELEMENT root EMPTY>]><root><x/></root>");
    EXPECT_EQ(Run({"--validate", good.toStdString()}), 0);
    EXPECT_NE(out.str().find("XML document is valid."), std::string::npos);

    EXPECT_NE(Run({"--validate", good.toStdString(), bad.toStdString()}), 0);
    EXPECT_NE(out.str().find("good.xml: XML document is valid."), std::string::npos);
    EXPECT_NE(err.str().find("bad.xml"), std::string::npos);
}

TEST(CommandLineParsing, RecognisesTheActionsAndRejectsMisuse)
{
    auto parse = [](std::vector<const char *> args) {
        args.insert(args.begin(), "tarnwick");
        return ParseCommandLine(int(args.size()), args.data());
    };
    EXPECT_EQ(parse({}).action, CommandLine::Action::Edit);
    EXPECT_EQ(parse({"a.xml"}).files, std::vector<std::string>{"a.xml"});
    EXPECT_EQ(parse({"--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({"--version"}).action, CommandLine::Action::Version);
    const CommandLine format = parse({"--format", "a.xml", "-o", "b.xml", "--encoding", "UTF-8"});
    EXPECT_EQ(format.action, CommandLine::Action::Format);
    EXPECT_EQ(format.output, "b.xml");
    EXPECT_EQ(format.encoding, "UTF-8");
    EXPECT_EQ(parse({"--validate", "a.xml", "b.xml"}).files.size(), 2u);

    EXPECT_EQ(parse({"--format"}).action, CommandLine::Action::Error);
    EXPECT_EQ(parse({"--format", "a.xml", "b.xml"}).action, CommandLine::Action::Error);
    EXPECT_EQ(parse({"--validate"}).action, CommandLine::Action::Error);
    EXPECT_EQ(parse({"-o", "x", "a.xml"}).action, CommandLine::Action::Error);
    EXPECT_EQ(parse({"--bogus"}).action, CommandLine::Action::Error);
    EXPECT_EQ(parse({"a.xml", "b.xml"}).action, CommandLine::Action::Error);
}
