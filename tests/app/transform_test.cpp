// XSLT from the command line (--transform XSL FILE -o OUT) and from the
// window (XML > Transform opens the result as a new document without a
// file; the stylesheet's errors go to the Problems list and an error box).
#include "app/command_line.h"
#include "app/results_dock.h"
#include "app/transform_command.h"
#include "app/xml_tools.h"
#include "shell_fixture.h"

#include <QTreeWidget>

#include <sstream>

namespace {

const char *const kSheet = "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>\n"
                           "<xsl:output method='xml' encoding='UTF-8'/>\n"
                           "<xsl:template match='/'><titles><xsl:for-each select='//title'>"
                           "<t><xsl:value-of select='.'/></t></xsl:for-each></titles>"
                           "<xsl:message>listed</xsl:message></xsl:template>\n"
                           "</xsl:stylesheet>\n";
const char *const kResult = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<titles><t>A</t><t>B</t></titles>\n";

CommandLine Parse(std::vector<const char *> args)
{
    args.insert(args.begin(), "tarnwick");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST_F(ShellTest, TransformFromTheCommandLineWritesTheResultAndSaysTheStylesheetsErrors)
{
    const std::string sheet = WriteFile("titles.xsl", kSheet).toStdString();
    const std::string file = WriteFile("books.xml", "<books><title>A</title><title>B</title></books>").toStdString();
    const std::string out = folder.filePath(QStringLiteral("out.xml")).toStdString();
    const CommandLine line = Parse({"--transform", sheet.c_str(), file.c_str(), "-o", out.c_str()});
    ASSERT_EQ(line.action, CommandLine::Action::Transform) << line.error;
    std::ostringstream stdOut, stdErr;
    EXPECT_EQ(tarnwick::RunTransformCommand(line, stdOut, stdErr), 0) << stdErr.str();
    EXPECT_EQ(ReadFile(QString::fromStdString(out)).toStdString(), kResult);
    EXPECT_NE(stdErr.str().find("listed"), std::string::npos) << stdErr.str();

    const std::string bad = WriteFile("bad.xsl", "<xsl:stylesheet version='1.0' "
                                                 "xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>\n"
                                                 "<xsl:template match='/'><xsl:value-of select='(('/>"
                                                 "</xsl:template>\n</xsl:stylesheet>\n")
                                .toStdString();
    std::ostringstream none, errors;
    EXPECT_EQ(tarnwick::RunTransformCommand(Parse({"--transform", bad.c_str(), file.c_str()}), none, errors), 2);
    EXPECT_NE(errors.str().find("bad.xsl:2:"), std::string::npos) << errors.str();
    EXPECT_TRUE(none.str().empty());

    EXPECT_EQ(Parse({"--transform", sheet.c_str()}).action, CommandLine::Action::Error);
    EXPECT_EQ(Parse({"--xpath", "/", file.c_str(), "-o", out.c_str()}).action, CommandLine::Action::Error);
}

TEST_F(ShellTest, TransformInTheWindowOpensTheResultAsANewDocumentWithoutAFile)
{
    WriteFile("titles.xsl", kSheet);
    Open(WriteFile("books.xml", "<?xml-stylesheet type='text/xsl' href='titles.xsl'?>\n"
                                "<books><title>A</title><title>B</title></books>\n"));
    QString offered;
    window->Tools().ChooseStylesheet = [&](const QString &suggested) {
        offered = suggested;
        return suggested;
    };
    window->Run(CommandId::Transform);
    EXPECT_EQ(offered, folder.filePath(QStringLiteral("titles.xsl"))) << "the stylesheet the document names";
    EXPECT_EQ(QString::fromStdString(EditorText()),
              QString::fromLatin1(kResult).replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    EXPECT_TRUE(window->CurrentFileName().isEmpty());
    EXPECT_TRUE(window->DocumentModified());
    EXPECT_TRUE(Title().startsWith(QStringLiteral("* Tarnwick"))) << Title().toStdString();

    // A stylesheet that fails: the box says why, the list where.
    const QString bad = WriteFile("bad.xsl", "<xsl:stylesheet version='1.0' "
                                             "xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>\n"
                                             "<xsl:template match='/'><xsl:value-of select='(('/>"
                                             "</xsl:template>\n</xsl:stylesheet>\n");
    messages.clear();
    const std::string before = EditorText();
    window->Tools().ChooseStylesheet = [&](const QString &) { return bad; };
    window->Run(CommandId::Transform);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().kind, MessageKind::Error);
    EXPECT_EQ(EditorText(), before);
    ResultsDock &dock = window->Tools().ProblemsDock();
    bool placed = false;
    for (int row = 0; row < dock.RowCount(); ++row)
        placed = placed || dock.List().topLevelItem(row)->text(2).startsWith(QStringLiteral("bad.xsl:2: "));
    EXPECT_TRUE(placed) << "the stylesheet's file and line";
}

} // namespace
