// XSLT through libxslt: the result of a stylesheet, the one the document's
// <?xml-stylesheet?> names, messages at their file and line, and what a
// stylesheet may not do: read another file, write one, reach beyond its
// folder, recurse without end, run on once cancelled.
#include "xml/xml_errors.h"
#include "xml/xslt_transform.h"
#include "xml_test_support.h"

#include <filesystem>
#include <thread>

namespace tarnwick::xml {
namespace {

class Xslt : public testing::XmlTest {
protected:
    std::string Sheet(const std::string &name, const std::string &body)
    {
        const std::string path = folder.File(name);
        testing::WriteFile(path, "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>" +
                                     body + "</xsl:stylesheet>");
        return path;
    }
    TransformResult Run(const std::string &text, const std::string &sheet, const std::atomic<bool> *cancel = nullptr)
    {
        return TransformText(text, sheet, folder.Path(), cancel);
    }
    // The message a failing transform gives, with all it listed.
    std::string Failure(const std::string &text, const std::string &sheet)
    {
        try {
            Run(text, sheet);
        } catch (const ETransformError &e) {
            std::string all = e.what();
            for (const StylesheetMessage &m : e.Messages())
                all += "|" + m.file + ":" + std::to_string(m.line) + ":" + m.message;
            return all;
        }
        return "(ran)";
    }
    testing::TempFolder folder;
};

TEST_F(Xslt, TheResultAsItsOutputSaysTheStylesheetTheDocumentNamesAndItsMessages)
{
    const std::string sheet = Sheet("list.xsl", "<xsl:output method='text'/>"
                                                "<xsl:template match='/'><xsl:for-each select='//b[@n &gt; 1]'>"
                                                "<xsl:value-of select='.'/>;</xsl:for-each>"
                                                "<xsl:message>done</xsl:message></xsl:template>");
    const std::string text = "<?xml version='1.0'?>\n<a><b n='1'>x</b><b n='2'>y</b><b n='3'>z</b></a>\n";
    const TransformResult result = Run(text, sheet);
    EXPECT_EQ(result.bytes, "y;z;");
    EXPECT_EQ(result.method, "text");
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages[0].message, "done");

    // Named by the document, relative to its folder.
    const TransformResult named = Run("<?xml-stylesheet type='text/xsl' href='list.xsl'?>\n" + text.substr(22), "");
    EXPECT_EQ(named.bytes, "y;z;");
    EXPECT_EQ(named.stylesheet, sheet);
    EXPECT_NE(Failure("<a/>", "").find("names no stylesheet"), std::string::npos);

    // XML output in the encoding it asks for.
    const std::string latin =
        Sheet("latin.xsl", "<xsl:output encoding='ISO-8859-1'/>"
                           "<xsl:template match='/'><r><xsl:value-of select='a'/></r></xsl:template>");
    EXPECT_EQ(Run("<a>\xC3\xA9</a>", latin).bytes, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r>\xE9</r>\n");
}

TEST_F(Xslt, ErrorsNameTheStylesheetsFileAndLine)
{
    const std::string sheet = folder.File("bad.xsl");
    testing::WriteFile(sheet, "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>\n"
                              "<xsl:template match='/'>\n"
                              "  <xsl:value-of select='1 +'/>\n"
                              "</xsl:template>\n</xsl:stylesheet>\n");
    const std::string failure = Failure("<a/>", sheet);
    EXPECT_NE(failure.find("bad.xsl:3:"), std::string::npos) << failure;
    EXPECT_NE(Failure("<a/>", folder.File("missing.xsl")).find("cannot be used"), std::string::npos);
    EXPECT_THROW(Run("<a>", sheet), EDOMParseError);
}

TEST_F(Xslt, AStylesheetReadsNoOtherFileWritesNoneAndStaysInItsFolder)
{
    testing::WriteFile(folder.File("secret.xml"), "<s>SECRET</s>");
    const std::string reads = Sheet("reads.xsl", "<xsl:template match='/'><r><xsl:copy-of "
                                                 "select=\"document('secret.xml')\"/></r></xsl:template>");
    std::string failure;
    try {
        const TransformResult result = Run("<a/>", reads);
        failure = result.bytes;
    } catch (const ETransformError &e) {
        failure = e.what();
    }
    EXPECT_EQ(failure.find("SECRET"), std::string::npos) << failure;

    const std::string writes = Sheet("writes.xsl", "<xsl:template match='/'><xsl:document href='written.xml' "
                                                   "xmlns:xsl='http://www.w3.org/1999/XSL/Transform'><w/>"
                                                   "</xsl:document></xsl:template>");
    std::string ignored = Failure("<a/>", writes);
    EXPECT_FALSE(std::filesystem::exists(folder.File("written.xml"))) << ignored;

    // An include from outside the stylesheet's folder is not read.
    std::filesystem::create_directory(folder.File("sub"));
    testing::WriteFile(folder.File("outside.xsl"),
                       "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
                       "<xsl:template match='/'>OUTSIDE</xsl:template></xsl:stylesheet>");
    const std::string includes = Sheet("sub/includes.xsl", "<xsl:include href='../outside.xsl'/>");
    const std::string refused = Failure("<a/>", includes);
    EXPECT_EQ(refused.find("OUTSIDE"), std::string::npos);
    EXPECT_NE(refused, "(ran)");
}

TEST_F(Xslt, ARunawayRecursionIsStoppedWithAMessageAndACancelledTransformStops)
{
    const std::string deep = Sheet("deep.xsl", "<xsl:template match='/'><xsl:call-template name='r'/></xsl:template>"
                                               "<xsl:template name='r'><x><xsl:call-template name='r'/></x>"
                                               "</xsl:template>");
    const std::string failure = Failure("<a/>", deep);
    EXPECT_NE(failure.find("recursion"), std::string::npos) << failure;

    // Two calls a level, thirty levels: a billion calls, unless cancelled.
    const std::string wide = Sheet("wide.xsl", "<xsl:template match='/'><xsl:call-template name='w'>"
                                               "<xsl:with-param name='n' select='30'/></xsl:call-template>"
                                               "</xsl:template><xsl:template name='w'><xsl:param name='n'/>"
                                               "<xsl:if test='$n &gt; 0'><xsl:call-template name='w'><xsl:with-param "
                                               "name='n' select='$n - 1'/></xsl:call-template><xsl:call-template "
                                               "name='w'><xsl:with-param name='n' select='$n - 1'/>"
                                               "</xsl:call-template></xsl:if></xsl:template>");
    std::atomic<bool> cancel = false;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cancel = true;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(Run("<a/>", wide, &cancel), ETransformError);
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

} // namespace
} // namespace tarnwick::xml
