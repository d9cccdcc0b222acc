// Safety: entity expansion limits, the entity loader's refusals, and error
// messages that quote no other file's text.
#include <sys/stat.h>

#include <filesystem>
#include <utility>

#include "xml/dom_interfaces.h"
#include "xml/external_access.h"
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
    doc.SetBaseDirectory(folder.Path());
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
        doc.LoadString("<!DOCTYPE a [<!ENTITY s SYSTEM \"nonexistent/part.txt\">]><a>&s;</a>");
        FAIL();
    } catch (const EDOMParseError &e) {
        EXPECT_NE(std::string(e.what()).find("not found"), std::string::npos) << e.what();
    }
}

TEST_F(XmlTest, AnEntityOrDtdThatIsNoFileIsNeverReadAndIsSaidWhatItIs)
{
    testing::TempFolder folder;
    std::filesystem::create_directory(folder.File("folder"));
    ASSERT_EQ(::mkfifo(folder.File("pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink("loop-b", folder.File("loop-a"));
    std::filesystem::create_symlink("loop-a", folder.File("loop-b"));
    // The kernel's files are regular to stat, and some are read for ever.
    std::filesystem::create_symlink("/proc/self/status", folder.File("kernel.ent"));
    // Not even a folder the user allows lets them be read.
    const ExternalAccess saved = CurrentExternalAccess();
    SetExternalAccess({{"/proc", "/dev"}});
    const std::pair<const char *, const char *> cases[] = {
        {"folder", "is a folder"},          {"pipe", "is a named pipe"},  {"loop-a", "is a loop of symbolic links"},
        {"kernel.ent", "is a system file"}, {"/dev/zero", "is a device"},
    };
    for (const auto &[name, said] : cases) {
        for (const std::string &text : {"<!DOCTYPE a [<!ENTITY s SYSTEM \"" + std::string(name) + "\">]><a>&s;</a>",
                                        "<!DOCTYPE a SYSTEM \"" + std::string(name) + "\"><a/>"}) {
            TXMLDocument doc;
            doc.SetParseOptions({poValidateOnParse, poResolveExternals});
            doc.XML().SetText(text);
            doc.SetBaseDirectory(folder.Path());
            try {
                doc.SetActive(true);
                ADD_FAILURE() << text;
            } catch (const EDOMParseError &e) {
                EXPECT_NE(std::string(e.what()).find(said), std::string::npos) << text << ": " << e.what();
            }
        }
    }
    SetExternalAccess(saved);
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

// The hostile documents of the test data, copied beside "secret" files the
// test writes; their messages must not show a byte of those files.
class HostileDocuments : public XmlTest {
protected:
    void SetUp() override
    {
        XmlTest::SetUp();
        for (const auto &entry : std::filesystem::directory_iterator(std::string(TARNWICK_TEST_DATA) + "/hostile"))
            std::filesystem::copy_file(entry.path(), folder.File(entry.path().filename().string()));
        testing::WriteFile(folder.File("secret.txt"), "SECRET line one\nSECRET line two\n");
        testing::WriteFile(folder.File("secret-name.txt"), "SECRETNAME");
    }
    // Every message a load of the file gives with the options: the
    // exception's text and the parse error's parts.
    std::string MessagesOf(const std::string &name, TParseOptions options)
    {
        TXMLDocument doc;
        doc.SetParseOptions(options);
        doc.XML().SetText(testing::ReadFile(folder.File(name)));
        doc.SetBaseDirectory(folder.Path());
        try {
            doc.SetActive(true);
        } catch (const EDOMParseError &e) {
            return std::string(e.what()) + "|" + e.ParseError()->reason() + "|" + e.ParseError()->srcText();
        }
        return "";
    }
    testing::TempFolder folder;
};

TEST_F(HostileDocuments, NoMessageQuotesAFileTheDocumentReads)
{
    for (const char *name :
         {"dtd-is-secret.xml", "parameter-entity-is-secret.xml", "uri-from-secret.xml", "uri-from-secret-name.xml",
          "entity-uri-from-secret-name.xml", "model-from-secret.xml", "enumeration-from-secret.xml"}) {
        for (TParseOptions options : {TParseOptions{}, TParseOptions{poValidateOnParse},
                                      TParseOptions{poValidateOnParse, poResolveExternals}}) {
            const std::string messages = MessagesOf(name, options);
            EXPECT_EQ(messages.find("SECRET"), std::string::npos) << name << ": " << messages;
        }
        // Each fails validation, so the messages above were made.
        EXPECT_NE(MessagesOf(name, {poValidateOnParse}), "") << name;
    }
}

TEST_F(HostileDocuments, MessagesStillQuoteTheDocumentAndWhatItNames)
{
    // The document's own line, and an identifier as the document wrote it.
    testing::WriteFile(folder.File("own.xml"), "<!DOCTYPE r SYSTEM \"missing.dtd\">\n<r><bad</r>\n");
    const std::string own = MessagesOf("own.xml", {});
    EXPECT_NE(own.find("<r><bad</r>"), std::string::npos) << own;
    testing::WriteFile(folder.File("named.xml"), "<!DOCTYPE r SYSTEM \"missing.dtd\">\n<r/>\n");
    const std::string named = MessagesOf("named.xml", {poValidateOnParse});
    EXPECT_NE(named.find("missing.dtd"), std::string::npos) << named;
    // An error in the DTD says where it is.
    const std::string inDtd = MessagesOf("dtd-is-secret.xml", {poValidateOnParse});
    EXPECT_NE(
        inDtd.find("Could not read \"" + folder.File("secret.txt") + "\": it is not well-formed at line 1, column 1"),
        std::string::npos)
        << inDtd;
}

} // namespace
} // namespace tarnwick::xml
