// The command line's XML tools as a terminal user meets them: --xpath lists
// nodes by file, line and path or prints a value, says how many nodes a
// long list left out, and reports a bad file or expression on one line;
// --validate with --grammar lists every error of each file.
#include "app/command_line.h"
#include "app/grammar_command.h"
#include "app/xpath_command.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>

namespace {

class XmlToolsCommandLine : public testing::Test {
protected:
    std::string Write(const std::string &name, const std::string &bytes)
    {
        const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }

    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "tarnwick");
        std::vector<const char *> argv;
        for (const std::string &arg : args)
            argv.push_back(arg.c_str());
        const CommandLine line = ParseCommandLine(int(argv.size()), argv.data());
        out.str({});
        err.str({});
        if (line.action == CommandLine::Action::XPath)
            return tarnwick::RunXPathCommand(line, out, err);
        if (line.action == CommandLine::Action::Validate && !line.grammar.empty())
            return tarnwick::RunGrammarValidateCommand(line, out, err);
        err << line.error;
        return -1;
    }

    QTemporaryDir folder;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(XmlToolsCommandLine, XPathListsEachNodeByFileLineAndPathOrPrintsTheValue)
{
    const std::string file = Write("c.xml", "<c>\n<b><t>A</t></b>\n<b><t>B\xE2\x80\xAE</t></b>\n</c>");
    EXPECT_EQ(Run({"--xpath", "//b/t", file}), 0);
    // Text a terminal would act on is escaped.
    EXPECT_EQ(out.str(), file + ":2: /c/b[1]/t: A\n" + file + ":3: /c/b[2]/t: B\\u202E\n");
    EXPECT_EQ(err.str(), "");

    EXPECT_EQ(Run({"--xpath", "count(//t)", file}), 0);
    EXPECT_EQ(out.str(), "2\n");

    EXPECT_EQ(Run({"--xpath", "//none", file}), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("no node"), std::string::npos);
}

TEST_F(XmlToolsCommandLine, XPathSaysHowManyNodesALongListLeftOut)
{
    std::string text = "<r>";
    for (size_t i = 0; i < tarnwick::kCommandLineListedNodes + 5; ++i)
        text += "<i/>";
    const std::string file = Write("long.xml", text + "</r>");
    EXPECT_EQ(Run({"--xpath", "//i", file}), 0);
    const std::string listed = out.str();
    EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), long(tarnwick::kCommandLineListedNodes));
    EXPECT_NE(err.str().find(std::to_string(tarnwick::kCommandLineListedNodes + 5) + " nodes"), std::string::npos)
        << err.str();
}

TEST_F(XmlToolsCommandLine, XPathReportsABadFileOrExpressionOnOneLine)
{
    const std::string broken = Write("broken.xml", "<a>\n<b></a>");
    EXPECT_EQ(Run({"--xpath", "/a", broken}), 2);
    EXPECT_EQ(err.str().rfind(broken + ":2:", 0), 0u) << err.str();

    const std::string good = Write("good.xml", "<a/>");
    EXPECT_EQ(Run({"--xpath", "/a[", good}), 2);
    const std::string report = err.str();
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
    EXPECT_EQ(Run({"--xpath", "/a", folder.filePath("missing.xml").toStdString()}), 2);

    EXPECT_EQ(Run({"--xpath"}), -1);
    EXPECT_EQ(Run({"--xpath", "/a", good, good}), -1);
}

TEST_F(XmlToolsCommandLine, ValidateWithAGrammarListsEveryErrorOfEachFile)
{
    const std::string grammar = Write("list.rng", "<element name='list' xmlns='http://relaxng.org/ns/structure/1.0'>"
                                                  "<zeroOrMore><element name='item'><attribute name='n'/>"
                                                  "</element></zeroOrMore></element>");
    const std::string schema =
        Write("list.xsd", "<xs:schema xmlns:xs='http://www.w3.org/2001/XMLSchema'><xs:element name='list'>"
                          "<xs:complexType><xs:sequence><xs:element name='item' maxOccurs='unbounded'>"
                          "<xs:complexType><xs:attribute name='n' use='required'/></xs:complexType></xs:element>"
                          "</xs:sequence></xs:complexType></xs:element></xs:schema>");
    const std::string good = Write("good.xml", "<list><item n='1'/><item n='2'/></list>");
    // The file names another grammar; the one given is used.
    const std::string bad = Write("bad.xml", "<!DOCTYPE list [<!ELEMENT list ANY>]>\n<list>\n<item/>\n"
                                             "<item n='1'/>\n<item/>\n</list>");
    EXPECT_EQ(Run({"--validate", good, bad, "--grammar", grammar}), 1);
    EXPECT_EQ(out.str(), good + ": XML document is valid.\n");
    EXPECT_EQ(err.str().rfind(bad + ":3:", 0), 0u) << err.str();

    EXPECT_EQ(Run({"--validate", bad, "--grammar", schema}), 1);
    const std::string report = err.str();
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 2) << report;
    for (const char *line : {":3:", ":5:"})
        EXPECT_NE(report.find(bad + line), std::string::npos) << line << "\n" << report;

    EXPECT_EQ(Run({"--validate", good, "--grammar", Write("g.txt", "")}), 1);
    EXPECT_NE(err.str().find("no grammar"), std::string::npos);
    EXPECT_EQ(Run({"--xpath", "/a", good, "--grammar", grammar}), -1);
}

} // namespace
