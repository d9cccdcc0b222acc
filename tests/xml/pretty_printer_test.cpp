// PrettyPrintXML and FormatXML: the layout, the declaration rules, the
// content kept as written (document type, mixed content, whitespace-only
// content, xml:space, entity references, CDATA) and the failures.
#include "xml/pretty_printer.h"

#include "xml/text_list.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

std::vector<std::string> Lines(const std::string &text) { return TXMLStrings::SplitLines(text); }

// ---- layout ----

TEST_F(XmlTest, TheWorkedExampleComesOutLineForLine)
{
    auto lines =
        Lines(PrettyPrintXML("<?xml version=\"1.0\"?><root><a x=\"1\"><b>text</b><c/></a><!-- note --></root>"));
    std::vector<std::string> expected = {"<?xml version=\"1.0\"?>", "<root>",   "  <a x=\"1\">",
                                         "    <b>text</b>",         "    <c/>", "  </a>",
                                         "  <!-- note -->",         "</root>"};
    EXPECT_EQ(lines, expected);
}

TEST_F(XmlTest, CommentsAndInstructionsAroundTheRootKeepTheirPlaces)
{
    EXPECT_EQ(PrettyPrintXML("<?xml version=\"1.0\"?><!-- head --><?go now?><a><?x?><b/></a><!--tail-->"),
              "<?xml version=\"1.0\"?>\n<!-- head -->\n<?go now?>\n<a>\n  <?x?>\n  <b/>\n</a>\n<!--tail-->\n");
    EXPECT_EQ(PrettyPrintXML("<!-- head --><a/>"), "<!-- head -->\n<a/>\n");
}

// ---- declaration ----

TEST_F(XmlTest, DeclarationKeepsVersionStandaloneAndOnlyAUtf16Encoding)
{
    EXPECT_EQ(Lines(PrettyPrintXML("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>"))[0],
              "<?xml version=\"1.0\"?>");
    EXPECT_EQ(Lines(PrettyPrintXML("<?xml version=\"1.0\" encoding=\"utf-16\"?><a/>"))[0],
              "<?xml version=\"1.0\" encoding=\"utf-16\"?>");
    EXPECT_EQ(Lines(PrettyPrintXML("<?xml version=\"1.1\" standalone=\"yes\"?><a/>"))[0],
              "<?xml version=\"1.1\" standalone=\"yes\"?>");
    EXPECT_EQ(PrettyPrintXML("<a><b/></a>"), "<a>\n  <b/>\n</a>\n");
    EXPECT_EQ(PrettyPrintXML(""), "");
}

TEST_F(XmlTest, FormatXmlDeclaresTheChosenEncodingAndReferencesWhatItCannotHold)
{
    const std::string text =
        "<?xml version=\"1.1\" standalone=\"no\"?><a t=\"\xC3\xA9\xE6\x9D\xB1\">\xC3\xA9\xE6\x9D\xB1</a>";
    EXPECT_EQ(FormatXML(text, "UTF-8"), "<?xml version=\"1.1\" encoding=\"UTF-8\" standalone=\"no\"?>\n<a "
                                        "t=\"\xC3\xA9\xE6\x9D\xB1\">\xC3\xA9\xE6\x9D\xB1</a>\n");
    EXPECT_EQ(FormatXML(text, "ISO-8859-1"), "<?xml version=\"1.1\" encoding=\"ISO-8859-1\" standalone=\"no\"?>\n<a "
                                             "t=\"\xC3\xA9&#26481;\">\xC3\xA9&#26481;</a>\n");
    EXPECT_EQ(FormatXML("<a/>", ""), "<?xml version=\"1.0\"?>\n<a/>\n");
    EXPECT_EQ(FormatXML("", "UTF-8"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    EXPECT_THROW(FormatXML("<a/>", "NO-SUCH-ENCODING"), EXMLLayerError);
}

// ---- content kept as written ----

TEST_F(XmlTest, DocumentTypeWithInternalSubsetAndCommentsIsKeptAsWritten)
{
    const std::string doctype = "<!DOCTYPE r SYSTEM 'quoted ]> \"stays\".dtd' [\n"
                                "  <!-- a comment ] > inside -->\n"
                                "  <!ENTITY % pe \"<!ENTITY inner 'i'>\">  %pe;\n"
                                "  <!ENTITY e \"a ]> b\">\n"
                                "\t<?setup keep ]>?>\n"
                                "  <!ATTLIST r a CDATA 'x>y'>\n"
                                "]  >";
    std::string formatted = PrettyPrintXML("<?xml version=\"1.0\"?>\r\n<!--before-->" + doctype + "<r><x/></r>");
    EXPECT_EQ(formatted, "<?xml version=\"1.0\"?>\n<!--before-->\n" + doctype + "\n<r>\n  <x/>\n</r>\n");
    // CR LF line breaks inside it become LF, as everywhere else.
    EXPECT_EQ(PrettyPrintXML("<!DOCTYPE r [\r\n<!ELEMENT r ANY>\r\n]><r/>"),
              "<!DOCTYPE r [\n<!ELEMENT r ANY>\n]>\n<r/>\n");
}

TEST_F(XmlTest, MixedContentIsKeptAsWrittenWithEverythingInside)
{
    const std::string paragraph = "<p>one <b>two</b> <i>three</i> \n <span>\n  <em>four</em>\n </span></p>";
    EXPECT_EQ(PrettyPrintXML("<doc><sec>" + paragraph + "</sec></doc>"),
              "<doc>\n  <sec>\n    " + paragraph + "\n  </sec>\n</doc>\n");
}

TEST_F(XmlTest, WhitespaceThatIsTheWholeContentIsKept)
{
    EXPECT_EQ(PrettyPrintXML("<r><replace>  </replace><n>\n\t</n><e></e></r>"),
              "<r>\n  <replace>  </replace>\n  <n>\n\t</n>\n  <e/>\n</r>\n");
}

TEST_F(XmlTest, PreservedSpaceIsKeptUntilADescendantSetsItBackToDefault)
{
    const std::string input =
        "<r><pre xml:space=\"preserve\"> <a/><b>\n  <c/></b>"
        "<d xml:space=\"default\"> <e/> <f><g/></f> <h xml:space=\"preserve\"><i/> </h></d>  </pre><q> <s/> </q></r>";
    EXPECT_EQ(PrettyPrintXML(input), "<r>\n"
                                     "  <pre xml:space=\"preserve\"> <a/><b>\n  <c/></b><d xml:space=\"default\">\n"
                                     "      <e/>\n"
                                     "      <f>\n"
                                     "        <g/>\n"
                                     "      </f>\n"
                                     "      <h xml:space=\"preserve\"><i/> </h>\n"
                                     "    </d>  </pre>\n"
                                     "  <q>\n"
                                     "    <s/>\n"
                                     "  </q>\n"
                                     "</r>\n");
}

TEST_F(XmlTest, EntityReferencesStayReferencesAndKeepTheirContentAsWritten)
{
    const std::string subset = "<!DOCTYPE r [<!ENTITY e \"text\"><!ENTITY m \"<b>x</b>\">]>";
    EXPECT_EQ(PrettyPrintXML(subset + "<r><a>&e;</a><c x=\"1&e;2\"> &m; </c><d>&#65;&lt;</d></r>"),
              subset + "\n<r>\n  <a>&e;</a>\n  <c x=\"1&e;2\"> &m; </c>\n  <d>A&lt;</d>\n</r>\n");
}

TEST_F(XmlTest, CDataSectionsStayWhereTheyAreWithTheWhitespaceAroundThem)
{
    EXPECT_EQ(
        PrettyPrintXML("<a><s><![CDATA[x < y]]></s><t>\n  <![CDATA[]]>\n</t><u><![CDATA[a]]]]><![CDATA[>b]]></u></a>"),
        "<a>\n  <s><![CDATA[x < y]]></s>\n  <t>\n  <![CDATA[]]>\n</t>\n"
        "  <u><![CDATA[a]]]]><![CDATA[>b]]></u>\n</a>\n");
}

TEST_F(XmlTest, TextKeepsItsCharactersAndGetsItsEscapesBack)
{
    EXPECT_EQ(PrettyPrintXML("<a>&amp;&gt;&#13;\"'\xC3\xA9</a>"), "<a>&amp;&gt;&#13;\"'\xC3\xA9</a>\n");
}

// ---- failures ----

TEST_F(XmlTest, TextThatIsNotWellFormedRaisesTheParseErrorWithItsLine)
{
    try {
        PrettyPrintXML("<a>\n<b></a>");
        FAIL();
    } catch (const EDOMParseError &e) {
        EXPECT_NE(std::string(e.what()).find("\r\nLine: 2\r\n"), std::string::npos) << e.what();
        EXPECT_EQ(e.ParseError()->line(), 2);
    }
}

} // namespace
} // namespace tarnwick::xml
