// XML completion: the place a position stands at, and what is offered there
// with a DTD, with an XML Schema and with no grammar; what choosing inserts.
#include "xml/scan_checkpoints.h"
#include "xml/xml_completion.h"
#include "xml_test_support.h"

#include <random>

namespace tarnwick::xml {
namespace {

using Names = std::vector<std::string>;

// Text with its last "|" where the position is.
struct Marked {
    explicit Marked(const std::string &marked)
    {
        const size_t at = marked.rfind('|');
        std::string text = marked.substr(0, at) + marked.substr(at + 1);
        lines = std::make_unique<SplitLines>(text);
        const std::string before = marked.substr(0, at);
        line = static_cast<int>(std::count(before.begin(), before.end(), '\n'));
        byte = before.size() - (before.rfind('\n') == std::string::npos ? 0 : before.rfind('\n') + 1);
    }
    std::unique_ptr<SplitLines> lines;
    int line = 0;
    size_t byte = 0;
};

CompletionContext ContextOf(const std::string &marked)
{
    Marked m(marked);
    return FindCompletionContext(*m.lines, m.line, m.byte);
}

TEST(CompletionPlaces, ThePlaceFollowsTheMarkupBeforeThePosition)
{
    struct Case {
        const char *text;
        CompletionPlace place;
        const char *prefix;
    };
    const Case cases[] = {
        {"<a><b|", CompletionPlace::ElementName, "b"},
        {"<a>\n  <|", CompletionPlace::ElementName, ""},
        {"<a></|", CompletionPlace::EndTagName, ""},
        {"<a></a|", CompletionPlace::EndTagName, "a"},
        {"<a><b x=\"1\" |", CompletionPlace::AttributeName, ""},
        {"<a><b x=\"1\"\n    y|", CompletionPlace::AttributeName, "y"},
        {"<a><b x=\"1|", CompletionPlace::AttributeValue, "1"},
        {"<a><b x='o|", CompletionPlace::AttributeValue, "o"},
        {"<a><b x=\"1\"|", CompletionPlace::None, ""},
        {"<a>text|", CompletionPlace::None, ""},
        {"<a><!-- <b|", CompletionPlace::None, ""},
        {"<a><!-- x -->\n<b|", CompletionPlace::ElementName, "b"},
        {"<a><![CDATA[ <b|", CompletionPlace::None, ""},
        {"<a><?pi <b|", CompletionPlace::None, ""},
        {"<!DOCTYPE a [ <!ELEMENT a (#PCDATA)> ]>\n<a><|", CompletionPlace::ElementName, ""},
        {"<!DOCTYPE a [ <!ATTLIST a x CDATA \">\"> <|", CompletionPlace::None, ""},
    };
    for (const Case &c : cases) {
        const CompletionContext context = ContextOf(c.text);
        EXPECT_EQ(context.place, c.place) << c.text;
        EXPECT_EQ(context.prefix, c.prefix) << c.text;
    }
}

TEST(CompletionPlaces, OpenElementsSiblingsAndTheTagsAttributesAroundThePosition)
{
    const CompletionContext inside = ContextOf("<r>\n<a><b><c></b>\n<x/><y></y><|<z/><w><v/></w></a><q/></r>");
    EXPECT_EQ(inside.openElements, (Names{"r", "a"})) << "an end tag closes the elements opened inside its element";
    EXPECT_EQ(inside.precedingSiblings, (Names{"b", "x", "y"}));
    EXPECT_EQ(inside.followingSiblings, (Names{"z", "w"}));
    EXPECT_EQ(inside.rootName, "r");

    const CompletionContext tag = ContextOf("<r a=\"1\"><e x=\"1\"\n  | y=\"2\" z='3'/></r>");
    EXPECT_EQ(tag.place, CompletionPlace::AttributeName);
    EXPECT_EQ(tag.element, "e");
    EXPECT_EQ(tag.presentAttributes, (Names{"x", "y", "z"}));
    EXPECT_EQ(tag.rootAttributes, (std::vector<std::pair<std::string, std::string>>{{"a", "1"}}));
}

class GrammarCompletion : public testing::XmlTest {
protected:
    Names Offered(const std::string &marked)
    {
        Marked m(marked);
        last = OfferCompletion(*m.lines, m.line, m.byte, folder.Path());
        return last.entries;
    }
    CompletionOffer last;
    testing::TempFolder folder;
};

constexpr const char *kDtd = "<!ELEMENT shelf (book*)>\n"
                             "<!ELEMENT book (title, author?, price)>\n"
                             "<!ATTLIST book id ID #REQUIRED available (yes|no) \"yes\" lang CDATA #IMPLIED>\n"
                             "<!ELEMENT title (#PCDATA | em)*>\n"
                             "<!ELEMENT em (#PCDATA)>\n"
                             "<!ELEMENT author (#PCDATA)>\n"
                             "<!ELEMENT price EMPTY>\n"
                             "<!ATTLIST price currency (EUR|USD) #REQUIRED>\n";

TEST_F(GrammarCompletion, WithADtdTheElementsItAllowsAtThePlace)
{
    testing::WriteFile(folder.File("shelf.dtd"), kDtd);
    const std::string head = "<?xml version=\"1.0\"?>\n<!DOCTYPE shelf SYSTEM \"shelf.dtd\">\n";
    EXPECT_EQ(Offered(head + "<|"), (Names{"shelf"})) << "the declared root at the top";
    EXPECT_EQ(Offered(head + "<shelf><book id=\"b1\"><|<price/></book></shelf>"), (Names{"title"}));
    EXPECT_EQ(Offered(head + "<shelf><book id=\"b1\"><title/><|</book></shelf>"), (Names{"author", "price"}));
    EXPECT_EQ(Offered(head + "<shelf><book id=\"b1\"><title/><P|</book></shelf>"), (Names{"price"}))
        << "what is typed narrows the list, case aside";
    EXPECT_EQ(Offered(head + "<shelf><book><title><|"), (Names{"em"})) << "mixed content";
    EXPECT_EQ(Offered(head + "<shelf><book><price><|"), Names{}) << "an empty element takes nothing";
    EXPECT_EQ(Offered(head + "<shelf><book><title/><price/><|</book>"), (Names{"title", "author", "price"}))
        << "where nothing fits, every child the model names";

    EXPECT_EQ(Offered(head + "<shelf><book id=\"1\" |"), (Names{"available", "lang"}));
    EXPECT_EQ(Offered(head + "<shelf><book available=\"|"), (Names{"yes", "no"}));
    EXPECT_EQ(Offered(head + "<shelf><book><price currency=\"u|"), (Names{"USD"}));
    EXPECT_EQ(Offered(head + "<shelf><book lang=\"|"), Names{}) << "free text has no values to offer";
    EXPECT_EQ(Offered(head + "<shelf><book><title></|"), (Names{"title", "book", "shelf"}))
        << "the element open at the position first";
}

TEST_F(GrammarCompletion, AnInternalSubsetIsAGrammarTooAndANetworkDtdIsNeverRead)
{
    EXPECT_EQ(Offered("<!DOCTYPE n [<!ELEMENT n (a|b)*><!ELEMENT a EMPTY><!ELEMENT b EMPTY>]>\n<n><|"),
              (Names{"a", "b"}));
    EXPECT_EQ(Offered("<!DOCTYPE n SYSTEM \"http://example.com/n.dtd\">\n<n><used/><|"), (Names{"n", "used"}))
        << "without a grammar that can be read locally, the names the document uses";
}

TEST_F(GrammarCompletion, WithAnXmlSchemaTheChildrenAttributesAndValuesOfItsTypes)
{
    testing::WriteFile(folder.File("types.xsd"),
                       "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">\n"
                       "  <xs:simpleType name=\"size\"><xs:restriction base=\"xs:string\">\n"
                       "    <xs:enumeration value=\"small\"/><xs:enumeration value=\"large\"/>\n"
                       "  </xs:restriction></xs:simpleType>\n"
                       "  <xs:attributeGroup name=\"common\"><xs:attribute name=\"id\" type=\"xs:ID\"/>"
                       "</xs:attributeGroup>\n"
                       "  <xs:complexType name=\"base\"><xs:sequence><xs:element name=\"name\"/></xs:sequence>\n"
                       "    <xs:attributeGroup ref=\"common\"/></xs:complexType>\n"
                       "</xs:schema>\n");
    testing::WriteFile(folder.File("order.xsd"),
                       "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">\n"
                       "  <xs:include schemaLocation=\"types.xsd\"/>\n"
                       "  <xs:element name=\"order\"><xs:complexType><xs:sequence>\n"
                       "    <xs:element name=\"item\" maxOccurs=\"unbounded\"><xs:complexType><xs:complexContent>\n"
                       "      <xs:extension base=\"base\"><xs:choice><xs:element name=\"qty\"/>"
                       "<xs:element ref=\"note\"/></xs:choice>\n"
                       "        <xs:attribute name=\"size\" type=\"size\"/>\n"
                       "        <xs:attribute name=\"gift\" type=\"xs:boolean\"/>\n"
                       "      </xs:extension></xs:complexContent></xs:complexType></xs:element>\n"
                       "  </xs:sequence></xs:complexType></xs:element>\n"
                       "  <xs:element name=\"note\" type=\"xs:string\"/>\n"
                       "</xs:schema>\n");
    const std::string root = "<order xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                             "xsi:noNamespaceSchemaLocation=\"order.xsd\">";
    EXPECT_EQ(Offered("<|"), Names{});
    EXPECT_EQ(Offered(root + "<|"), (Names{"item"}));
    EXPECT_EQ(Offered(root + "<item><|"), (Names{"name", "qty", "note"})) << "the base type's content first";
    EXPECT_EQ(Offered(root + "<item size=\"large\" |"), (Names{"id", "gift"}));
    EXPECT_EQ(Offered(root + "<item size=\"|"), (Names{"small", "large"}));
    EXPECT_EQ(Offered(root + "<item gift=\"|"), (Names{"true", "false"}));
}

TEST_F(GrammarCompletion, WithoutAGrammarTheNamesTheDocumentAlreadyUses)
{
    const std::string text = "<list>\n  <entry key=\"a\" when=\"now\"/>\n  <entry key=\"b\" note=\"x\"/>\n"
                             "  <group label=\"g\"/>\n  <";
    EXPECT_EQ(Offered(text + "|\n</list>"), (Names{"entry", "group", "list"}));
    EXPECT_EQ(Offered(text + "e|\n</list>"), (Names{"entry"}));
    EXPECT_EQ(Offered(text + "entry note=\"1\" |\n</list>"), (Names{"key", "when"}));
    EXPECT_EQ(Offered(text + "entry key=\"|\n</list>"), Names{});
    EXPECT_EQ(Offered(text + "entry>some text|"), Names{});
}

// Lines that can be edited in place.
class EditableLines : public TextLines {
public:
    int Count() const override { return static_cast<int>(lines.size()); }
    std::string_view Line(int index) const override { return lines[index]; }
    std::vector<std::string> lines;
};

TEST(CompletionPlaces, ScansResumedFromCheckpointsFindWhatAFullScanFinds)
{
    std::mt19937 random(7);
    const char *pieces[] = {"<item id=\"",  "\">", "<!-- c <x> -->", "<![CDATA[ <y> ]]>", "</item>",
                            "<note/>",      "<",   "text & more",    "<?pi <z>?>",        "</group>",
                            "<group a='1'", ">"};
    EditableLines text;
    text.lines.push_back("<root>");
    while (text.lines.size() < 40000) {
        std::string line;
        for (int k = 0; k < 4; ++k)
            line += pieces[random() % std::size(pieces)];
        text.lines.push_back(line);
    }
    ScanCheckpoints checkpoints;
    for (int query = 0; query < 60; ++query) {
        const int edited = static_cast<int>(random() % text.lines.size());
        text.lines[edited] = pieces[random() % std::size(pieces)];
        checkpoints.Forget(edited);
        const int line = static_cast<int>(random() % text.lines.size());
        const size_t byte = random() % (text.lines[line].size() + 1);
        const CompletionContext resumed = FindCompletionContext(text, line, byte, &checkpoints);
        const CompletionContext full = FindCompletionContext(text, line, byte);
        ASSERT_EQ(resumed.place, full.place) << line << ":" << byte;
        EXPECT_EQ(resumed.prefix, full.prefix);
        EXPECT_EQ(resumed.openElements, full.openElements);
        EXPECT_EQ(resumed.precedingSiblings, full.precedingSiblings);
        EXPECT_EQ(resumed.presentAttributes, full.presentAttributes);
        EXPECT_EQ(resumed.rootAttributes, full.rootAttributes);
    }
    EXPECT_GT(checkpoints.Count(), 1);
}

TEST(CompletionInsertions, EndTagsGetTheirBracketAndAttributesTheirQuotes)
{
    CompletionContext end;
    end.place = CompletionPlace::EndTagName;
    EXPECT_EQ(CompletionInsertion(end, "book", "\r\n"), "book>");
    EXPECT_EQ(CompletionInsertion(end, "book", ">"), "book");
    CompletionContext attribute;
    attribute.place = CompletionPlace::AttributeName;
    EXPECT_EQ(CompletionInsertion(attribute, "id", " x=\"1\">"), "id=\"\"");
    EXPECT_EQ(CaretBackAfter(attribute, "id=\"\""), 1);
    EXPECT_EQ(CompletionInsertion(attribute, "id", "=\"1\">"), "id");
    EXPECT_EQ(CaretBackAfter(attribute, "id"), 0);
    CompletionContext element;
    element.place = CompletionPlace::ElementName;
    EXPECT_EQ(CompletionInsertion(element, "book", ">"), "book");
}

} // namespace
} // namespace tarnwick::xml
