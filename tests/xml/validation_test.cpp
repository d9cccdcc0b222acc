// Validation with poValidateOnParse: internal and external DTDs, XML Schemas
// named by xsi attributes, and documents naming neither; the verdict a load
// gives; and the external DTD read for its entities without validation.
#include <filesystem>
#include <utility>
#include <vector>

#include "xml/pretty_printer.h"
#include "xml/verdict.h"
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
        // The first error in the text's order: the undeclared element.
        EXPECT_NE(e.ParseError()->errorCode(), 0);
        EXPECT_EQ(e.ParseError()->line(), 3);
        EXPECT_EQ(e.ParseError()->srcText(), "<c/>");
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

// The files one case puts beside its document, by name.
using Files = std::vector<std::pair<std::string, std::string>>;

struct VerdictCase {
    const char *what;
    Files files;
    std::string document;
    Verdict verdict;
};

TEST_F(ValidationTest, VerdictsOfDocumentsUsingExternalDtdsAndEntities)
{
    const std::string word = "<!ELEMENT p (#PCDATA)><!ENTITY nbsp '&#160;'>";
    const std::vector<VerdictCase> cases = {
        {"an entity declared in the external DTD",
         {{"w.dtd", word}},
         "<!DOCTYPE p SYSTEM 'w.dtd'><p>a&nbsp;b</p>",
         Verdict::Valid},
        {"declarations in an external parameter entity",
         {{"decls.ent", word}},
         "<!DOCTYPE p [<!ENTITY % decls SYSTEM 'decls.ent'>%decls;]><p>&nbsp;</p>",
         Verdict::Valid},
        {"the external DTD uses the internal subset's parameter entity",
         {{"m.dtd", "<!ELEMENT p %model;>"}},
         "<!DOCTYPE p SYSTEM 'm.dtd' [<!ENTITY % model '(#PCDATA)'>]><p/>",
         Verdict::Valid},
        {"an ID value checked after normalisation",
         {},
         "<!DOCTYPE p [<!ELEMENT p EMPTY><!ATTLIST p id ID #IMPLIED>]><p id=' a1 '/>",
         Verdict::Valid},
        {"an external entity's content checked against the DTD",
         {{"part.ent", "<q/>"}},
         "<!DOCTYPE p [<!ELEMENT p (q)><!ELEMENT q EMPTY><!ENTITY part SYSTEM 'part.ent'>]><p>&part;</p>",
         Verdict::Valid},
        {"no DTD and no schema", {}, "<p><q/></p>", Verdict::Valid},
        {"a name twice in mixed content",
         {},
         "<!DOCTYPE p [<!ELEMENT p (#PCDATA|q|q)*><!ELEMENT q EMPTY>]><p/>",
         Verdict::NotValid},
        {"an ID attribute with a default",
         {},
         "<!DOCTYPE p [<!ELEMENT p EMPTY><!ATTLIST p id ID 'x'>]><p/>",
         Verdict::NotValid},
        {"a default outside its enumeration",
         {},
         "<!DOCTYPE p [<!ELEMENT p EMPTY><!ATTLIST p k (a|b) 'c'>]><p/>",
         Verdict::NotValid},
        {"a DTD that declares no element", {}, "<!DOCTYPE p [<!ENTITY % e 'x'>]><p/>", Verdict::NotValid},
        {"an external entity that is not well-formed",
         {{"part.ent", "<q>"}},
         "<!DOCTYPE p [<!ELEMENT p ANY><!ELEMENT q ANY><!ENTITY part SYSTEM 'part.ent'>]><p>&part;</p>",
         Verdict::NotWellFormed},
        {"an external DTD that is not well-formed",
         {{"bad.dtd", "<!ELEMENT p"}},
         "<!DOCTYPE p SYSTEM 'bad.dtd'><p/>",
         Verdict::NotWellFormed},
        {"a missing DTD", {}, "<!DOCTYPE p SYSTEM 'missing.dtd'><p/>", Verdict::NotChecked},
        {"a parameter entity on the network",
         {},
         "<!DOCTYPE p [<!ENTITY % d SYSTEM 'http://127.0.0.1:9/d.ent'>%d;<!ELEMENT p EMPTY>]><p/>",
         Verdict::NotChecked},
        {"a missing external entity",
         {},
         "<!DOCTYPE p [<!ELEMENT p ANY><!ENTITY part SYSTEM 'gone.ent'>]><p>&part;</p>",
         Verdict::NotChecked},
        {"a missing schema",
         {},
         "<p xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' xsi:noNamespaceSchemaLocation='gone.xsd'/>",
         Verdict::NotChecked},
    };
    for (const VerdictCase &c : cases) {
        testing::TempFolder beside;
        for (const auto &[name, text] : c.files)
            testing::WriteFile(beside.File(name), text);
        testing::WriteFile(beside.File("doc.xml"), c.document);
        TXMLDocument fileDoc;
        fileDoc.SetParseOptions({poValidateOnParse});
        Verdict verdict = Verdict::Valid;
        std::string message;
        try {
            fileDoc.LoadFile(beside.File("doc.xml"));
        } catch (const EDOMParseError &e) {
            verdict = VerdictOf(e.ParseError());
            message = e.what();
        }
        EXPECT_EQ(VerdictText(verdict), std::string(VerdictText(c.verdict))) << c.what << ": " << message;
    }
}

TEST_F(ValidationTest, WithoutValidationTheExternalDtdDeclaresTheEntities)
{
    // Open and Format read the DTD beside the document (and no network).
    testing::WriteFile(folder.File("x.dtd"), "<!ENTITY nbsp '&#160;'><!ENTITY % more SYSTEM 'more.ent'>%more;");
    testing::WriteFile(folder.File("more.ent"), "<!ENTITY copy '&#169;'>");
    const std::string text = "<!DOCTYPE html SYSTEM 'x.dtd'>\n<html><p>a&nbsp;b&copy;</p></html>";
    doc.SetParseOptions({poPreserveWhiteSpace});
    LoadText(text);
    EXPECT_EQ(doc.SaveString(), "<!DOCTYPE html SYSTEM \"x.dtd\">\n<html><p>a&nbsp;b&copy;</p></html>\n");
    EXPECT_NE(FormatXML(text, "", folder.Path()).find("a&nbsp;b&copy;"), std::string::npos);

    // A DTD that cannot be read fails the load only through what it would
    // have declared, and says why it is missing.
    LoadText("<!DOCTYPE html PUBLIC '-//W3C//DTD XHTML 1.0 Strict//EN' "
             "'http://127.0.0.1:9/xhtml1-strict.dtd'><html><p>x</p></html>");
    EXPECT_TRUE(doc.Active());
    const std::string message = FailureOf("<!DOCTYPE html SYSTEM 'http://127.0.0.1:9/x.dtd'><html>&nbsp;</html>");
    EXPECT_NE(message.find("nbsp"), std::string::npos) << message;
    EXPECT_NE(message.find("network access is disabled"), std::string::npos) << message;
}

TEST_F(ValidationTest, WithoutValidationAnInvalidDocumentLoads)
{
    doc.SetParseOptions({});
    LoadText("<!DOCTYPE a [<!ELEMENT a (b)><!ELEMENT b EMPTY>]><a><c/></a>");
    EXPECT_TRUE(doc.Active());
}

} // namespace
} // namespace tarnwick::xml
