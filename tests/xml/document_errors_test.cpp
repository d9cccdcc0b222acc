// The failure messages of the document object, the registry and the vendor.
#include "xml/dom_interfaces.h"
#include "xml/vendor_registry.h"
#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

template <typename E, typename F>
std::string MessageOf(F f)
{
    try {
        f();
    } catch (const E &e) {
        return e.what();
    }
    return "(nothing raised)";
}

std::vector<std::string> Lines(const std::string &text) { return TXMLStrings::SplitLines(text); }

TEST_F(XmlTest, ParseErrorMessageHasExactlyThreeLines)
{
    TXMLDocument doc;
    std::string message = MessageOf<EDOMParseError>([&] { doc.LoadString("<a>\n  <b>text</c>\n</a>"); });
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 2);
    auto lines = Lines(message);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("mismatch"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "Line: 2");
    EXPECT_EQ(lines[2], "  <b>text</c>");
}

TEST_F(XmlTest, ParseErrorKeepsCodeLinePositionSourceAndReason)
{
    TXMLDocument doc;
    try {
        doc.LoadString("<a>\n  <b>text</c>\n</a>");
        FAIL();
    } catch (const EDOMParseError &e) {
        ASSERT_TRUE(e.ParseError());
        EXPECT_NE(e.ParseError()->errorCode(), 0);
        EXPECT_EQ(e.ParseError()->line(), 2);
        EXPECT_GE(e.ParseError()->linepos(), 1);
        EXPECT_EQ(e.ParseError()->srcText(), "  <b>text</c>");
        EXPECT_FALSE(e.ParseError()->reason().empty());
    }
    EXPECT_FALSE(doc.Active());
}

TEST_F(XmlTest, SourceTextInTheMessageIsCutToFortyCharacters)
{
    TXMLDocument doc;
    std::string line = "<a>" + std::string(60, 'x') + "</b>";
    auto lines = Lines(MessageOf<EDOMParseError>([&] { doc.LoadString(line); }));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], line.substr(0, 40));
}

TEST_F(XmlTest, ParseErrorIsZeroAfterASuccessfulLoad)
{
    TXMLDocument doc;
    doc.LoadString("<a/>");
    EXPECT_EQ(doc.DOMPersistAccess()->parseError()->errorCode(), 0);
    EXPECT_TRUE(doc.DOMPersistAccess()->loadxml("<b/>"));
    EXPECT_FALSE(doc.DOMPersistAccess()->loadxml("<b>"));
    EXPECT_NE(doc.DOMPersistAccess()->parseError()->errorCode(), 0);
}

TEST_F(XmlTest, NoActiveDocument)
{
    TXMLDocument doc;
    EXPECT_EQ(MessageOf<EXMLDocError>([&] { doc.SaveFile("x.xml"); }), "No active document");
    EXPECT_EQ(MessageOf<EXMLDocError>([&] { doc.SaveString(); }), "No active document");
    EXPECT_EQ(MessageOf<EXMLDocError>([&] { doc.AddElement("a"); }), "No active document");
}

TEST_F(XmlTest, FileNameCannotBeBlank)
{
    TXMLDocument doc;
    EXPECT_EQ(MessageOf<EXMLDocError>([&] { doc.LoadFile(); }), "FileName cannot be blank");
}

TEST_F(XmlTest, RefreshNeedsATextListOrFileSource)
{
    TXMLDocument doc;
    doc.LoadString("<a/>");
    EXPECT_EQ(MessageOf<EXMLDocError>([&] { doc.Refresh(); }),
              "Refresh is only supported if the FileName or XML properties are set");
}

TEST_F(XmlTest, MissingFileIsAParseError)
{
    TXMLDocument doc;
    std::string message = MessageOf<EDOMParseError>([&] { doc.LoadFile("/nonexistent/folder/x.xml"); });
    EXPECT_NE(message.find("cannot be opened"), std::string::npos) << message;
    EXPECT_FALSE(doc.Active());
}

TEST(VendorRegistry, DuplicateRegistrationAndUnknownVendors)
{
    testing::EnsureVendor();
    EXPECT_EQ(MessageOf<EXMLLayerError>([&] { RegisterVendor(&Libxml2Vendor()); }),
              "\"libxml2\" DOMImplementation already registered");
    EXPECT_EQ(MessageOf<EXMLLayerError>([&] { FindVendor("MSXML"); }), "No matching DOM Vendor: \"MSXML\"");
}

TEST(VendorRegistry, EmptyDescriptionFindsTheFirstVendor)
{
    testing::EnsureVendor();
    EXPECT_EQ(FindVendor("")->VendorDescription(), "libxml2");
    EXPECT_EQ(FindVendor("libxml2"), &Libxml2Vendor());
    auto vendors = RegisteredVendors();
    ASSERT_FALSE(vendors.empty());
    EXPECT_EQ(vendors.front()->VendorDescription(), "libxml2");
}

TEST(VendorRegistry, UnregisterKeepsTheOrderOfTheRest)
{
    struct Fake : TDOMVendor {
        std::string name;
        explicit Fake(std::string n) : name(std::move(n)) {}
        std::string VendorDescription() const override { return name; }
        IDOMImplementationPtr NewImplementation() override { return nullptr; }
    } a("A"), b("B");
    testing::EnsureVendor();
    RegisterVendor(&a);
    RegisterVendor(&b);
    UnregisterVendor(&a);
    auto vendors = RegisteredVendors();
    ASSERT_GE(vendors.size(), 2u);
    EXPECT_EQ(vendors[vendors.size() - 1]->VendorDescription(), "B");
    UnregisterVendor(&b);
    EXPECT_EQ(MessageOf<EXMLLayerError>([&] { FindVendor("B"); }), "No matching DOM Vendor: \"B\"");
}

TEST_F(XmlTest, MethodsTheVendorDoesNotServeRaiseDOMException)
{
    TXMLDocument doc;
    doc.LoadString("<!DOCTYPE r [<!ELEMENT r ANY>]><r a='1'/>");
    IDOMDocumentPtr dom = doc.VendorDocument();
    auto expect = [](const char *method, auto call) {
        EXPECT_EQ(MessageOf<DOMException>(call),
                  std::string("Property or Method \"") + method + "\" is not supported by DOM Vendor \"libxml2\"");
    };
    expect("createDocumentType", [&] { dom->domImplementation()->createDocumentType("r", "", ""); });
    expect("normalize", [&] { dom->normalize(); });
    expect("supports", [&] { dom->supports("XML", "1.0"); });
    expect("getElementsByTagNameNS", [&] { dom->getElementsByTagNameNS("", "r"); });
    expect("getElementById", [&] { dom->getElementById("x"); });
    expect("importNode", [&] { dom->importNode(dom->documentElement(), true); });
    auto attr = QueryInterface<IDOMAttr>(dom->documentElement()->attributes()->item(0));
    expect("get_ownerElement", [&] { attr->ownerElement(); });
    auto doctype = QueryInterface<IDOMDocumentType>(dom->doctype());
    ASSERT_TRUE(doctype);
    expect("get_internalSubset", [&] { doctype->internalSubset(); });
    expect("get_publicId", [&] { doctype->publicId(); });
    expect("get_systemId", [&] { doctype->systemId(); });
}

TEST_F(XmlTest, TheDocumentReportsTheLibxml2Vendor)
{
    TXMLDocument doc;
    EXPECT_EQ(doc.DOMVendor(), nullptr);
    EXPECT_EQ(FindVendor("")->VendorDescription(), kLibxml2VendorName);
    doc.SetDOMVendor(&Libxml2Vendor());
    doc.LoadString("<a/>");
    EXPECT_EQ(doc.DOMVendor()->VendorDescription(), "libxml2");
}

TEST(NodeTypeNames, FollowTheDomNumbering)
{
    EXPECT_EQ(NodeTypeName(ntElement), "Element");
    EXPECT_EQ(NodeTypeName(ntCData), "CDATASection");
    EXPECT_EQ(NodeTypeName(ntProcessingInstr), "ProcessingInstr");
    EXPECT_EQ(NodeTypeName(ntNotation), "Notation");
}

} // namespace
} // namespace tarnwick::xml
