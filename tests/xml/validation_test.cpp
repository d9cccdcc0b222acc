// Validation with poValidateOnParse: internal and external DTDs, XML Schemas
// named by xsi attributes, and documents naming neither.
#include <filesystem>

#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

class ValidationTest : public XmlTest {
protected:
    void SetUp() override
    {
        XmlTest::SetUp();
        doc.SetParseOptions({poValidateOnParse});
        for (const char *name : {"catalog.dtd", "note.xsd", "note-ns.xsd"})
            std::filesystem::copy_file(testing::DataFile(name), folder.File(name));
    }
    // Loads the text as the editor's text list with the folder as the base.
    void LoadText(const std::string &text)
    {
        doc.XML().SetText(text);
        doc.SetBaseDirectory(folder.Path());
        doc.SetActive(true);
    }
    std::string FailureOf(const std::string &text)
    {
        try {
            LoadText(text);
        } catch (const EDOMParseError &e) {
            return e.what();
        }
        return "(valid)";
    }
    testing::TempFolder folder;
    TXMLDocument doc;
};

TEST_F(ValidationTest, DocumentNamingNoDtdOrSchemaIsValid)
{
    LoadText("<a><b/></a>");
    EXPECT_TRUE(doc.Active());
}

TEST_F(ValidationTest, DoctypeWithoutDeclarationsNamesNothingToValidate)
{
    LoadText("<!DOCTYPE a><a/>");
    EXPECT_TRUE(doc.Active());
}

TEST_F(ValidationTest, InternalSubsetValid)
{
    LoadText("<!DOCTYPE a [<!ELEMENT a (b)><!ELEMENT b EMPTY>]><a><b/></a>");
    EXPECT_TRUE(doc.Active());
}

TEST_F(ValidationTest, InternalSubsetInvalidReportsTheLineAndTheReason)
{
    try {
        LoadText("<!DOCTYPE a [<!ELEMENT a (b)><!ELEMENT b EMPTY>]>\r\n<a>\r\n<c/>\r\n</a>");
        FAIL();
    } catch (const EDOMParseError &e) {
        EXPECT_NE(e.ParseError()->errorCode(), 0);
        EXPECT_EQ(e.ParseError()->line(), 2);
        EXPECT_EQ(e.ParseError()->srcText(), "<a>");
        EXPECT_FALSE(e.ParseError()->reason().empty());
    }
    EXPECT_FALSE(doc.Active());
}

TEST_F(ValidationTest, ExternalDtdRelativeToTheBase)
{
    LoadText(testing::ReadFile(testing::DataFile("catalog-valid.xml")));
    EXPECT_TRUE(doc.Active());
    std::string message = FailureOf(testing::ReadFile(testing::DataFile("catalog-invalid.xml")));
    EXPECT_NE(message.find("book"), std::string::npos) << message;
}

TEST_F(ValidationTest, FileLoadResolvesTheDtdNextToTheFile)
{
    std::filesystem::copy_file(testing::DataFile("catalog-valid.xml"), folder.File("c.xml"));
    TXMLDocument fileDoc;
    fileDoc.SetParseOptions({poValidateOnParse});
    fileDoc.LoadFile(folder.File("c.xml"));
    EXPECT_TRUE(fileDoc.Active());
}

TEST_F(ValidationTest, TreeGetsNeitherEntityContentsNorDefaultedAttributes)
{
    LoadText("<!DOCTYPE a [<!ELEMENT a (#PCDATA)><!ATTLIST a x CDATA 'dflt'><!ENTITY e 'text'>]><a>&e;</a>");
    EXPECT_EQ(doc.SaveString().find("<a x="), std::string::npos);
    EXPECT_NE(doc.SaveString().find("&e;"), std::string::npos);
}

TEST_F(ValidationTest, MissingDtdFileIsAClearError)
{
    std::string message = FailureOf("<!DOCTYPE a SYSTEM \"missing.dtd\"><a/>");
    EXPECT_NE(message.find("missing.dtd"), std::string::npos) << message;
    EXPECT_NE(message.find("not found"), std::string::npos) << message;
}

TEST_F(ValidationTest, HttpDtdIsReportedAsNotLoadedNeverFetched)
{
    std::string message = FailureOf("<!DOCTYPE a SYSTEM \"http://127.0.0.1:9/a.dtd\"><a/>");
    EXPECT_NE(message.find("not loaded"), std::string::npos) << message;
    EXPECT_NE(message.find("network"), std::string::npos) << message;
}

TEST_F(ValidationTest, SchemaByNoNamespaceSchemaLocation)
{
    const std::string head =
        "<note xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:noNamespaceSchemaLocation=\"note.xsd\">";
    LoadText(head + "<to>A</to><count>3</count></note>");
    EXPECT_TRUE(doc.Active());
    std::string message = FailureOf(head + "\r\n<to>A</to>\r\n<count>three</count></note>");
    EXPECT_NE(message.find("count"), std::string::npos) << message;
    EXPECT_NE(message.find("Line: 3"), std::string::npos) << message;
}

TEST_F(ValidationTest, SchemaBySchemaLocation)
{
    const std::string head =
        "<note xmlns=\"urn:tarnwick:note\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xsi:schemaLocation=\"urn:tarnwick:note note-ns.xsd\">";
    LoadText(head + "<to>A</to><count>3</count></note>");
    EXPECT_TRUE(doc.Active());
    EXPECT_NE(FailureOf(head + "<count>3</count></note>"), "(valid)");
}

TEST_F(ValidationTest, SchemaThatDoesNotParseIsAClearError)
{
    testing::WriteFile(folder.File("broken.xsd"), "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">");
    std::string message = FailureOf(
        "<a xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:noNamespaceSchemaLocation=\"broken.xsd\"/>");
    EXPECT_NE(message.find("broken.xsd"), std::string::npos) << message;
}

TEST_F(ValidationTest, HttpSchemaIsNotFetched)
{
    std::string message = FailureOf("<a xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                                    "xsi:noNamespaceSchemaLocation=\"http://127.0.0.1:9/a.xsd\"/>");
    EXPECT_NE(message.find("not loaded"), std::string::npos) << message;
}

TEST_F(ValidationTest, WithoutValidationAnInvalidDocumentLoads)
{
    doc.SetParseOptions({});
    LoadText("<!DOCTYPE a [<!ELEMENT a (b)><!ELEMENT b EMPTY>]><a><c/></a>");
    EXPECT_TRUE(doc.Active());
}

} // namespace
} // namespace tarnwick::xml
