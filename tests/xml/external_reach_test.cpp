// Where external resources come from: the document's folder and below, the
// system catalog's files for the identifiers it knows, the folders the user
// allows, and a chosen grammar's folder; anything else is refused unread as
// "<identifier> is outside the document's folder".
#include <filesystem>
#include <string>
#include <vector>

#include "xml/dom_interfaces.h"
#include "xml/external_access.h"
#include "xml/grammar_validation.h"
#include "xml/pretty_printer.h"
#include "xml/verdict.h"
#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml/xml_grammar.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

namespace fs = std::filesystem;

// A document folder "doc" with a sub-folder, and beside it a folder "outside"
// whose files declare everything the documents need, plus a secret.
class ExternalReach : public testing::XmlTest {
protected:
    void SetUp() override
    {
        XmlTest::SetUp();
        saved = CurrentExternalAccess();
        fs::create_directories(root.File("doc/sub"));
        fs::create_directories(root.File("outside"));
        Write("outside/r.dtd", "<!ELEMENT r EMPTY>");
        Write("outside/r.ent", "<!ELEMENT r EMPTY>");
        Write("outside/text.ent", "SECRET TEXT");
        Write("outside/r.xsd", kSchema);
        Write("outside/r.rng", kRelaxNG);
        Write("doc/sub/r.dtd", "<!ENTITY % more SYSTEM '../more.ent'>%more;");
        Write("doc/more.ent", "<!ELEMENT r EMPTY>");
    }
    void TearDown() override { SetExternalAccess(saved); }

    void Write(const std::string &name, const std::string &text) { testing::WriteFile(root.File(name), text); }
    std::string Outside(const std::string &name) const { return root.File("outside/" + name); }

    // The verdict of a validating load of `text` as the file doc/doc.xml, and its message.
    std::pair<Verdict, std::string> Validate(const std::string &text, TParseOptions options = {poValidateOnParse})
    {
        Write("doc/doc.xml", text);
        TXMLDocument document;
        document.SetParseOptions(options);
        try {
            document.LoadFile(root.File("doc/doc.xml"));
        } catch (const EDOMParseError &e) {
            return {VerdictOf(e.ParseError()), e.ParseError()->reason()};
        }
        return {Verdict::Valid, ""};
    }

    static constexpr const char *kSchema = "<xs:schema xmlns:xs='http://www.w3.org/2001/XMLSchema'>"
                                           "<xs:element name='r'/></xs:schema>";
    static constexpr const char *kRelaxNG = "<element name='r' xmlns='http://relaxng.org/ns/structure/1.0'>"
                                            "<empty/></element>";
    testing::TempFolder root;
    ExternalAccess saved;
};

// Each way a document may name a file beside its folder, with the identifier
// the refusal names.
struct Reference {
    std::string document;
    std::string identifier;
};

std::vector<Reference> ReferencesOutside(const std::string &outside)
{
    const std::string xsi = "xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' ";
    return {
        {"<!DOCTYPE r SYSTEM '../outside/r.dtd'><r/>", "../outside/r.dtd"},
        {"<!DOCTYPE r SYSTEM '" + outside + "/r.dtd'><r/>", outside + "/r.dtd"},
        {"<!DOCTYPE r SYSTEM 'file://" + outside + "/r.dtd'><r/>", "file://" + outside + "/r.dtd"},
        {"<!DOCTYPE r SYSTEM 'sub/../../outside/r.dtd'><r/>", "sub/../../outside/r.dtd"},
        {"<!DOCTYPE r [<!ENTITY % p SYSTEM '../outside/r.ent'>%p;]><r/>", "../outside/r.ent"},
        {"<!DOCTYPE r SYSTEM 'link.dtd'><r/>", "link.dtd"},
        {"<r " + xsi + "xsi:noNamespaceSchemaLocation='../outside/r.xsd'/>", "../outside/r.xsd"},
        {"<?xml-model href='../outside/r.rng'?><r/>", "../outside/r.rng"},
    };
}

TEST_F(ExternalReach, AFileBesideTheDocumentsFolderIsRefusedUnreadUnlessItsFolderIsAllowed)
{
    // A link inside the folder that leads out is out.
    fs::create_symlink(Outside("r.dtd"), root.File("doc/link.dtd"));
    for (const Reference &reference : ReferencesOutside(root.File("outside"))) {
        const auto [verdict, message] = Validate(reference.document);
        EXPECT_EQ(verdict, Verdict::NotChecked) << reference.document << ": " << message;
        EXPECT_EQ(message, reference.identifier + " is outside the document's folder") << reference.document;
    }
    SetExternalAccess({{root.File("outside")}});
    for (const Reference &reference : ReferencesOutside(root.File("outside"))) {
        const auto [verdict, message] = Validate(reference.document);
        EXPECT_EQ(verdict, Verdict::Valid) << reference.document << ": " << message;
    }
}

TEST_F(ExternalReach, TheDocumentsFolderAndBelowAreRead)
{
    // A DTD in a sub-folder reading an entity back in the document's folder.
    EXPECT_EQ(Validate("<!DOCTYPE r SYSTEM 'sub/r.dtd'><r/>").first, Verdict::Valid);
    EXPECT_EQ(Validate("<!DOCTYPE r SYSTEM '" + root.File("doc/sub/r.dtd") + "'><r/>").first, Verdict::Valid);
    // ...but not on from there to what lies beside the document's folder.
    Write("doc/sub/out.dtd", "<!ENTITY % p SYSTEM '../../outside/r.ent'>%p;");
    const auto [verdict, message] = Validate("<!DOCTYPE r SYSTEM 'sub/out.dtd'><r/>");
    EXPECT_EQ(verdict, Verdict::NotChecked);
    EXPECT_EQ(message, "../../outside/r.ent is outside the document's folder");
}

TEST_F(ExternalReach, AnExternalEntitysTextOutsideNeverReachesTheTreeNorTheFormattedText)
{
    const std::string text = "<!DOCTYPE r [<!ENTITY t SYSTEM '../outside/text.ent'>]><r>&t;</r>";
    const auto [verdict, message] = Validate(text, {poValidateOnParse, poResolveExternals});
    EXPECT_EQ(verdict, Verdict::NotChecked) << message;
    EXPECT_EQ(message.find("SECRET"), std::string::npos);
    const auto [plain, why] = Validate(text, {poResolveExternals});
    EXPECT_EQ(plain, Verdict::NotChecked) << why;
    // Format reads the document type's parts only, and none of them outside.
    const std::string dtd = "<!DOCTYPE r [<!ENTITY % p SYSTEM '../outside/r.ent'>%p;]>\n<r/>";
    EXPECT_EQ(FormatXML(dtd, "", root.File("doc")).find("SECRET"), std::string::npos);
}

TEST_F(ExternalReach, TheSystemCatalogsFilesAreReadWithWhatTheyNameBesideThem)
{
    // The catalog maps a public identifier, and a network address, to a DTD
    // outside that reads a part beside it.
    fs::create_directories(root.File("shared"));
    Write("shared/shared.dtd", "<!ENTITY % part SYSTEM 'part.ent'>%part;");
    Write("shared/part.ent", "<!ELEMENT r EMPTY>");
    Write("catalog.xml", "<catalog xmlns='urn:oasis:names:tc:entity:xmlns:xml:catalog'>"
                         "<public publicId='-//Tarnwick Test//DTD Shared//EN' uri='shared/shared.dtd'/>"
                         "<system systemId='http://example.invalid/shared.dtd' uri='shared/shared.dtd'/>"
                         "</catalog>");
    ExternalAccess access;
    access.catalog = root.File("catalog.xml");
    SetExternalAccess(access);
    EXPECT_EQ(Validate("<!DOCTYPE r PUBLIC '-//Tarnwick Test//DTD Shared//EN' 'shared.dtd'><r/>").first,
              Verdict::Valid);
    EXPECT_EQ(Validate("<!DOCTYPE r SYSTEM 'http://example.invalid/shared.dtd'><r/>").first, Verdict::Valid);
    EXPECT_NE(LoadDtdGrammar("<!DOCTYPE r PUBLIC '-//Tarnwick Test//DTD Shared//EN' 'x.dtd'>", root.File("doc")),
              nullptr);
    // The same file named by its path is the document's to reach, and is not.
    const auto [verdict, message] = Validate("<!DOCTYPE r SYSTEM '../shared/shared.dtd'><r/>");
    EXPECT_EQ(verdict, Verdict::NotChecked);
    EXPECT_EQ(message, "../shared/shared.dtd is outside the document's folder");
    // An address the catalog does not know stays on the network.
    EXPECT_NE(Validate("<!DOCTYPE r SYSTEM 'http://example.invalid/other.dtd'><r/>").second.find("network"),
              std::string::npos);
}

TEST_F(ExternalReach, AChosenGrammarReadsWhatItNamesFromItsOwnFolderOnly)
{
    Write("outside/with-part.xsd", "<xs:schema xmlns:xs='http://www.w3.org/2001/XMLSchema'>"
                                   "<xs:include schemaLocation='part.xsd'/></xs:schema>");
    Write("outside/part.xsd", kSchema);
    Write("outside/with-part.dtd", "<!ENTITY % p SYSTEM 'r.ent'>%p;");
    for (const char *grammar : {"r.dtd", "r.xsd", "r.rng", "with-part.xsd", "with-part.dtd"})
        EXPECT_TRUE(ValidateAgainstGrammar("<r/>", Outside(grammar), root.File("doc")).valid) << grammar;
    Write("outside/leaving.dtd", "<!ENTITY % p SYSTEM '../doc/more.ent'>%p;");
    try {
        ValidateAgainstGrammar("<r/>", Outside("leaving.dtd"), root.File("doc"));
        ADD_FAILURE();
    } catch (const EXMLLayerError &e) {
        EXPECT_NE(std::string(e.what()).find("../doc/more.ent is outside the grammar's folder"), std::string::npos)
            << e.what();
    }
}

TEST_F(ExternalReach, CompletionReadsGrammarsByTheSameRule)
{
    const std::string doc = root.File("doc");
    EXPECT_NE(LoadDtdGrammar("<!DOCTYPE r SYSTEM 'sub/r.dtd'>", doc), nullptr);
    EXPECT_EQ(LoadDtdGrammar("<!DOCTYPE r SYSTEM '../outside/r.dtd'>", doc), nullptr);
    EXPECT_EQ(LoadSchemaGrammar("../outside/r.xsd", doc), nullptr);
    SetExternalAccess({{root.File("outside")}});
    EXPECT_NE(LoadDtdGrammar("<!DOCTYPE r SYSTEM '../outside/r.dtd'>", doc), nullptr);
    EXPECT_NE(LoadSchemaGrammar("../outside/r.xsd", doc), nullptr);
}

} // namespace
} // namespace tarnwick::xml
