// XPath over a document's text: node-sets described by line, path and text;
// values; the root's prefixes; the bounds on a large result; failures.
#include <gtest/gtest.h>

#include <fstream>

#include "xml/xpath_query.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

const char *const kCatalog = "<?xml version=\"1.0\"?>\n"
                             "<catalog>\n"
                             "  <book id=\"a\"><title>One</title><price>10</price></book>\n"
                             "  <!-- second -->\n"
                             "  <book id=\"b\">\n"
                             "    <title>Two  words\n   here</title><price>40</price>\n"
                             "  </book>\n"
                             "  <book id=\"c\"><title>Three</title><price>35.5</price></book>\n"
                             "  <extra/>\n"
                             "</catalog>\n";

std::vector<std::string> Paths(const XPathResult &result)
{
    std::vector<std::string> paths;
    for (const XPathNodeItem &node : result.nodes)
        paths.push_back(node.path);
    return paths;
}

TEST(XPathQuery, SelectedNodesCarryTheirLinePathAndText)
{
    const XPathResult result = EvaluateXPath(kCatalog, "//book[price>30]/title", "");
    ASSERT_EQ(result.kind, XPathValueKind::NodeSet);
    ASSERT_EQ(result.nodeCount, 2u);
    EXPECT_EQ(Paths(result), (std::vector<std::string>{"/catalog/book[2]/title", "/catalog/book[3]/title"}));
    EXPECT_EQ(result.nodes[0].line, 6);
    EXPECT_EQ(result.nodes[1].line, 9);
    // White space runs read as one space.
    EXPECT_EQ(result.nodes[0].text, "Two words here");
}

TEST(XPathQuery, EveryKindOfNodeHasAPathThatSelectsItAgain)
{
    const char *const expression = "/catalog/book[1]/@id | //comment() | /catalog/book[2]/text()[1] | /catalog/extra"
                                   " | / | //processing-instruction()";
    const std::string text = std::string(kCatalog) + "<?tail x?>";
    const XPathResult result = EvaluateXPath(text, expression, "");
    const std::vector<std::string> expected{"/",
                                            "/catalog/book[1]/@id",
                                            "/catalog/comment()",
                                            "/catalog/book[2]/text()[1]",
                                            "/catalog/extra",
                                            "/processing-instruction('tail')"};
    EXPECT_EQ(Paths(result), expected);
    // The declaration is no processing instruction to XPath.
    EXPECT_EQ(result.nodeCount, expected.size());
    EXPECT_EQ(result.nodes[0].line, 0);
    EXPECT_EQ(result.nodes[1].line, 3);
    EXPECT_EQ(result.nodes[1].text, "a");
    EXPECT_EQ(result.nodes[2].text, "second");
    // Each path (but the text node's, which XPath numbers among all text
    // children) selects exactly its node again.
    for (const XPathNodeItem &node : result.nodes) {
        const XPathResult again = EvaluateXPath(text, node.path, "");
        ASSERT_EQ(again.nodeCount, 1u) << node.path;
        EXPECT_EQ(again.nodes[0].path, node.path);
    }
}

TEST(XPathQuery, NumbersStringsAndBooleansAreWrittenAsXPathWritesThem)
{
    struct Case {
        const char *expression;
        XPathValueKind kind;
        const char *value;
    };
    const Case cases[] = {
        {"count(//book)", XPathValueKind::Number, "3"},           {"sum(//price)", XPathValueKind::Number, "85.5"},
        {"1 div 0", XPathValueKind::Number, "Infinity"},          {"number('x')", XPathValueKind::Number, "NaN"},
        {"string(//book[2]/@id)", XPathValueKind::String, "b"},   {"//price > 39", XPathValueKind::Boolean, "true"},
        {"boolean(//missing)", XPathValueKind::Boolean, "false"},
    };
    for (const Case &c : cases) {
        const XPathResult result = EvaluateXPath(kCatalog, c.expression, "");
        EXPECT_EQ(result.kind, c.kind) << c.expression;
        EXPECT_EQ(result.value, c.value) << c.expression;
        EXPECT_TRUE(result.nodes.empty());
    }
}

TEST(XPathQuery, PrefixesDeclaredOnTheRootAreBoundAndKeptInPaths)
{
    const char *const text = "<r:root xmlns:r=\"urn:r\" xmlns:d=\"urn:d\" xmlns=\"urn:default\">\n"
                             "  <d:item>1</d:item><plain>x</plain><d:item>2</d:item>\n"
                             "  <q:deep xmlns:q=\"urn:q\"/>\n"
                             "</r:root>";
    const XPathResult items = EvaluateXPath(text, "/r:root/d:item", "");
    EXPECT_EQ(Paths(items), (std::vector<std::string>{"/r:root/d:item[1]", "/r:root/d:item[2]"}));
    // An element in the default namespace is not matched by a plain name
    // (XPath 1.0), but local-name() reaches it.
    EXPECT_EQ(EvaluateXPath(text, "//plain", "").nodeCount, 0u);
    EXPECT_EQ(Paths(EvaluateXPath(text, "//*[local-name()='plain']", "")), std::vector<std::string>{"/r:root/plain"});
    // A prefix declared below the root is not bound.
    try {
        EvaluateXPath(text, "//q:deep", "");
        FAIL() << "an undeclared prefix was accepted";
    } catch (const EXPathError &error) {
        EXPECT_NE(std::string(error.what()).find("prefix"), std::string::npos) << error.what();
    }
    const XPathResult ns = EvaluateXPath(text, "/r:root/namespace::d", "");
    ASSERT_EQ(ns.nodeCount, 1u);
    EXPECT_EQ(ns.nodes[0].path, "/r:root/namespace::d");
    EXPECT_EQ(ns.nodes[0].text, "urn:d");
    EXPECT_EQ(ns.nodes[0].line, 1);
}

TEST(XPathQuery, ALargeResultListsItsFirstNodesAndCountsTheRest)
{
    std::string text = "<list>\n";
    for (int i = 0; i < 5000; ++i)
        text += "<i>" + std::string(300, 'x') + "</i>\n";
    text += "</list>";
    XPathLimits limits;
    limits.listedNodes = 100;
    limits.nodeTextLength = 10;
    limits.valueLength = 50;
    const XPathResult result = EvaluateXPath(text, "//i", "", limits);
    EXPECT_EQ(result.nodeCount, 5000u);
    ASSERT_EQ(result.nodes.size(), 100u);
    EXPECT_EQ(result.nodes[99].path, "/list/i[100]");
    EXPECT_EQ(result.nodes[99].line, 101);
    EXPECT_EQ(result.nodes[0].text, "xxxxxxxxxx...");
    // The root's text is cut without reading it all.
    EXPECT_EQ(EvaluateXPath(text, "/list", "", limits).nodes[0].text, "xxxxxxxxxx...");
    const XPathResult value = EvaluateXPath(text, "string(/list)", "", limits);
    EXPECT_TRUE(value.valueCut);
    EXPECT_EQ(value.value.size(), 50u);
}

TEST(XPathQuery, LinesPastSixtyFiveThousandAreCountedInFull)
{
    std::string text = "<r>\n";
    for (int i = 0; i < 70000; ++i)
        text += "<a/>\n";
    text += "<last/></r>";
    const XPathResult result = EvaluateXPath(text, "//last", "");
    ASSERT_EQ(result.nodeCount, 1u);
    EXPECT_EQ(result.nodes[0].line, 70002);
}

TEST(XPathQuery, FailuresSayWhatWentWrong)
{
    // A text that is not well-formed fails as Validate fails, at its line.
    try {
        EvaluateXPath("<a>\n<b></a>", "/a", "");
        FAIL();
    } catch (const EDOMParseError &error) {
        ASSERT_TRUE(error.ParseError());
        EXPECT_EQ(error.ParseError()->line(), 2);
    }
    // A broken expression names where it broke.
    try {
        EvaluateXPath(kCatalog, "//book[", "");
        FAIL();
    } catch (const EXPathError &error) {
        EXPECT_GT(error.Position(), 0);
        EXPECT_NE(std::string(error.what()).find("character"), std::string::npos) << error.what();
    }
    EXPECT_THROW(EvaluateXPath(kCatalog, "nosuchfunction()", ""), EXPathError);
}

TEST(XPathQuery, AnExpressionThatRunsAwayIsStopped)
{
    std::string text = "<r>";
    for (int i = 0; i < 3000; ++i)
        text += "<a><b/></a>";
    text += "</r>";
    // Each node searches the whole document again, for each of its nodes:
    // billions of steps, stopped by the budget.
    try {
        EvaluateXPath(text, "count(//*[count(//*[count(//*) > 0]) > 0])", "");
        FAIL() << "the expression ran to its end";
    } catch (const EXPathError &error) {
        EXPECT_NE(std::string(error.what()).find("stopped"), std::string::npos) << error.what();
    }
}

TEST(XPathQuery, NothingOutsideTheDocumentIsRead)
{
    testing::TempFolder folder;
    std::ofstream(folder.File("secret.txt")) << "secret";
    // An external entity stays a reference: its file is not read for XPath.
    const std::string text = "<!DOCTYPE r [<!ENTITY s SYSTEM \"secret.txt\">]><r>&s;</r>";
    const XPathResult result = EvaluateXPath(text, "/r", folder.Path());
    EXPECT_EQ(result.nodes.at(0).text, "&s;");
    EXPECT_EQ(EvaluateXPath(text, "string(/r)", folder.Path()).value, "");
}

TEST(XPathQuery, AFileIsDecodedAsOpenDecodesIt)
{
    testing::TempFolder folder;
    const std::string path = folder.File("latin1.xml");
    std::ofstream(path, std::ios::binary) << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>caf\xE9</a>";
    EXPECT_EQ(XPathDocument::FromFile(path).Evaluate("string(/a)").value, "caf\xC3\xA9");
    EXPECT_THROW(XPathDocument::FromFile(folder.File("missing.xml")), EXMLLayerError);
}

} // namespace
} // namespace tarnwick::xml
