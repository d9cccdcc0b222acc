// PrettyPrintXML: the layout the auto-indent rule gives, the declaration
// rules and the failures.
#include "xml/pretty_printer.h"

#include "xml/text_list.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

std::vector<std::string> Lines(const std::string& text) { return TXMLStrings::SplitLines(text); }

TEST_F(XmlTest, TheWorkedExampleComesOutLineForLine) {
  auto lines = Lines(PrettyPrintXML(
      "<?xml version=\"1.0\"?><root><a x=\"1\"><b>text</b><c/></a><!-- note --></root>"));
  std::vector<std::string> expected = {"<?xml version=\"1.0\"?>", "<root>",       "  <a x=\"1\">",
                                       "    <b>text</b>",        "    <c/>",     "  </a>",
                                       "  <!-- note -->",        "</root>"};
  EXPECT_EQ(lines, expected);
}

TEST_F(XmlTest, IndentedInputGetsTheTwoSpaceUnit) {
  std::string input = "<root>\n\t\t<a>\n\t\t\t\t<b>x</b>\n\t\t</a>\n</root>\n";
  auto lines = Lines(PrettyPrintXML(input));
  std::vector<std::string> expected = {"<root>", "  <a>", "    <b>x</b>", "  </a>", "</root>"};
  EXPECT_EQ(lines, expected);
}

TEST_F(XmlTest, Latin1EncodingIsDroppedUtf16AndStandaloneSurvive) {
  EXPECT_EQ(Lines(PrettyPrintXML("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>"))[0], "<?xml version=\"1.0\"?>");
  EXPECT_EQ(Lines(PrettyPrintXML("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>"))[0],
            "<?xml version=\"1.0\" encoding=\"UTF-16\"?>");
  EXPECT_EQ(Lines(PrettyPrintXML("<?xml version=\"1.0\" standalone=\"yes\"?><a/>"))[0],
            "<?xml version=\"1.0\" standalone=\"yes\"?>");
}

TEST_F(XmlTest, DocumentWithoutDeclarationComesOutWithout) {
  EXPECT_EQ(PrettyPrintXML("<a><b/></a>"), "<a>\n  <b/>\n</a>\n");
}

TEST_F(XmlTest, CommentBeforeTheRootStaysBeforeIt) {
  auto lines = Lines(PrettyPrintXML("<?xml version=\"1.0\"?><!-- head --><a><b/></a>"));
  std::vector<std::string> expected = {"<?xml version=\"1.0\"?>", "<!-- head -->", "<a>", "  <b/>", "</a>"};
  EXPECT_EQ(lines, expected);
}

TEST_F(XmlTest, CommentFirstWithoutDeclarationIsNotDropped) {
  auto lines = Lines(PrettyPrintXML("<!-- head --><a/>"));
  std::vector<std::string> expected = {"<!-- head -->", "<a/>"};
  EXPECT_EQ(lines, expected);
}

TEST_F(XmlTest, MixedContentIsNotProtected) {
  auto lines = Lines(PrettyPrintXML("<p>word <b>bold</b> end</p>"));
  std::vector<std::string> expected = {"<p>word   <b>bold</b>", " end</p>"};
  EXPECT_EQ(lines, expected);
}

TEST_F(XmlTest, ElementHoldingOnlyCDataGetsItOnItsOwnLine) {
  auto lines = Lines(PrettyPrintXML("<a><s><![CDATA[x < y]]></s></a>"));
  std::vector<std::string> expected = {"<a>", "  <s>", "    <![CDATA[x < y]]>", "  </s>", "</a>"};
  EXPECT_EQ(lines, expected);
}

TEST_F(XmlTest, AttributesKeepOrderAndValuesAreEscapedAgain) {
  auto lines = Lines(PrettyPrintXML("<a z=\"1\" y=\"&lt;&amp;\"><b>&amp;</b></a>"));
  EXPECT_EQ(lines[0], "<a z=\"1\" y=\"&lt;&amp;\">");
  EXPECT_EQ(lines[1], "  <b>&amp;</b>");
}

TEST_F(XmlTest, NamespacesAreKeptWithoutExtraDeclarations) {
  auto lines = Lines(PrettyPrintXML("<r xmlns=\"urn:d\" xmlns:p=\"urn:p\"><p:a p:x=\"1\"><c/></p:a></r>"));
  std::vector<std::string> expected = {"<r xmlns=\"urn:d\" xmlns:p=\"urn:p\">", "  <p:a p:x=\"1\">", "    <c/>",
                                       "  </p:a>", "</r>"};
  EXPECT_EQ(lines, expected);
}

TEST_F(XmlTest, ProcessingInstructionsAreIndentedLikeElements) {
  auto lines = Lines(PrettyPrintXML("<a><?go now?></a>"));
  std::vector<std::string> expected = {"<a>", "  <?go now?>", "</a>"};
  EXPECT_EQ(lines, expected);
}

TEST_F(XmlTest, DocumentTypeDeclarationGivesInvalidNodeType) {
  try {
    PrettyPrintXML("<!DOCTYPE a [<!ELEMENT a ANY>]><a/>");
    FAIL();
  } catch (const EXMLDocError& e) {
    EXPECT_STREQ(e.what(), "Invalid node type");
  }
}

TEST_F(XmlTest, TextThatIsNotWellFormedRaisesTheParseError) {
  EXPECT_THROW(PrettyPrintXML("<a><b></a>"), EDOMParseError);
}

TEST_F(XmlTest, EmptyInputGivesEmptyOutput) { EXPECT_EQ(PrettyPrintXML(""), ""); }

}  // namespace
}  // namespace tarnwick::xml
