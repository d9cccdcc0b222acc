// Safety: entity expansion limits and the entity loader's refusals.
#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

std::string BillionLaughs()
{
    std::string dtd = "<!DOCTYPE lolz [<!ENTITY lol \"lol\">";
    std::string prev = "lol";
    for (int i = 1; i <= 9; ++i) {
        std::string name = "lol" + std::to_string(i);
        dtd += "<!ENTITY " + name + " \"";
        for (int k = 0; k < 10; ++k)
            dtd += "&" + prev + ";";
        dtd += "\">";
        prev = name;
    }
    return dtd + "]>\n<lolz>&lol9;</lolz>";
}

TEST_F(XmlTest, BillionLaughsIsRefused)
{
    TXMLDocument doc;
    try {
        doc.LoadString(BillionLaughs());
        FAIL();
    } catch (const EDOMParseError &e) {
        EXPECT_GE(e.ParseError()->line(), 1);
    }
    TXMLDocument validating;
    validating.SetParseOptions({poValidateOnParse, poResolveExternals});
    EXPECT_THROW(validating.LoadString(BillionLaughs()), EDOMParseError);
}

TEST_F(XmlTest, ExternalEntityIsNotReadWithoutResolveExternals)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("secret.txt"), "TOP-SECRET");
    std::string text = "<!DOCTYPE a [<!ENTITY s SYSTEM \"" + folder.File("secret.txt") + "\">]><a>&s;</a>";
    for (TParseOptions options : {TParseOptions{}, TParseOptions{poValidateOnParse}}) {
        TXMLDocument doc;
        doc.SetParseOptions(options);
        try {
            doc.LoadString(text);
        } catch (const EDOMParseError &) {
            continue; // refusing is fine too
        }
        EXPECT_EQ(doc.SaveString().find("TOP-SECRET"), std::string::npos);
        EXPECT_EQ(doc.RootElement()->VendorNode()->firstChild()->nodeType(), ntEntityRef);
    }
}

TEST_F(XmlTest, ExternalEntityIsReadWithResolveExternals)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("part.txt"), "shared part");
    TXMLDocument doc;
    doc.SetParseOptions({poResolveExternals});
    doc.LoadString("<!DOCTYPE a [<!ENTITY s SYSTEM \"" + folder.File("part.txt") + "\">]><a>&s;</a>");
    EXPECT_NE(doc.SaveString().find("shared part"), std::string::npos);
}

TEST_F(XmlTest, NetworkEntityIsNeverFetchedEvenWithResolveExternals)
{
    TXMLDocument doc;
    doc.SetParseOptions({poResolveExternals});
    try {
        doc.LoadString("<!DOCTYPE a [<!ENTITY s SYSTEM \"http://127.0.0.1:9/x\">]>\n<a>&s;</a>");
        FAIL();
    } catch (const EDOMParseError &e) {
        EXPECT_NE(std::string(e.what()).find("network access is disabled"), std::string::npos) << e.what();
        EXPECT_GE(e.ParseError()->line(), 1);
    }
}

TEST_F(XmlTest, MissingExternalEntityFailsTheLoadWithResolveExternals)
{
    TXMLDocument doc;
    doc.SetParseOptions({poResolveExternals});
    try {
        doc.LoadString("<!DOCTYPE a [<!ENTITY s SYSTEM \"/nonexistent/part.txt\">]><a>&s;</a>");
        FAIL();
    } catch (const EDOMParseError &e) {
        EXPECT_NE(std::string(e.what()).find("not found"), std::string::npos) << e.what();
    }
}

TEST_F(XmlTest, DeepNestingSurfacesAsAClearErrorWithALine)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "<a>\n";
    for (int i = 0; i < 300; ++i)
        text += "</a>";
    TXMLDocument doc;
    try {
        doc.LoadString(text);
        FAIL();
    } catch (const EDOMParseError &e) {
        EXPECT_GT(e.ParseError()->line(), 200);
        EXPECT_NE(std::string(e.what()).find("nested more than 256 levels"), std::string::npos) << e.what();
    }
}

TEST_F(XmlTest, OverlongTextSurfacesAsAClearErrorWithALine)
{
    TXMLDocument doc;
    try {
        doc.LoadString("<a>\n" + std::string(11 * 1024 * 1024, 'x') + "</a>");
        FAIL();
    } catch (const EDOMParseError &e) {
        EXPECT_EQ(e.ParseError()->line(), 2);
        EXPECT_NE(std::string(e.what()).find("limit (10 MB)"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace tarnwick::xml
