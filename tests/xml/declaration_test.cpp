// The XML declaration: its helpers, and how a document reads, writes and
// keeps it as a processing instruction "xml".
#include "xml/declaration.h"

#include "xml/xml_document.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

TEST(DeclarationValue, FindsTheValueBetweenQuotesOfEitherKind)
{
    EXPECT_EQ(DeclarationValue("version", "version=\"1.0\" encoding='UTF-8'", ""), "1.0");
    EXPECT_EQ(DeclarationValue("encoding", "version=\"1.0\" encoding='UTF-8'", ""), "UTF-8");
}

TEST(DeclarationValue, GivesTheDefaultWhenTheNameIsAbsent)
{
    EXPECT_EQ(DeclarationValue("standalone", "version=\"1.0\"", "no"), "no");
}

TEST(AppendDeclarationItem, SkipsEmptyValuesAndSeparatesWithOneBlank)
{
    std::string text;
    AppendDeclarationItem(text, "version", "1.0");
    AppendDeclarationItem(text, "encoding", "");
    AppendDeclarationItem(text, "standalone", "yes");
    EXPECT_EQ(text, "version=\"1.0\" standalone=\"yes\"");
}

TEST(DropForeignEncoding, RemovesAnEncodingNotInTheList)
{
    EXPECT_EQ(DropForeignEncoding("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>", WideEncodings()),
              "<?xml version=\"1.0\"?><a/>");
}

TEST(DropForeignEncoding, KeepsUtf16CaseInsensitively)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-16\"?><a/>";
    EXPECT_EQ(DropForeignEncoding(text, WideEncodings()), text);
}

TEST(DropForeignEncoding, LooksOnlyAtTheFirstFiftyCharacters)
{
    std::string text = "<?xml version=\"1.0\"?><a>" + std::string(40, 'x') + " encoding=\"latin1\"</a>";
    EXPECT_EQ(DropForeignEncoding(text, WideEncodings()), text);
}

TEST(DropForeignEncoding, TouchesNothingButTheDeclarationThatOpensTheText)
{
    // The same words as content are data, whatever they say.
    for (const std::string text : {
             "<r encoding=\"ISO-8859-1\">x</r>",
             "<!-- encoding=\"ISO-8859-1\" --><r/>",
             "<?pi encoding=\"ISO-8859-1\"?><r/>",
             "<?xml-stylesheet encoding=\"ISO-8859-1\"?><r/>",
             "<?xml version=\"1.0\"?><r encoding=\"ISO-8859-1\"/>",
             "<?xml version=\"1.0\"?><!--encoding=\"latin1\"--><r/>",
             " <?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r/>",
             "<?xml version=\"1.0\" myencoding=\"ISO-8859-1\"?><r/>",
         })
        EXPECT_EQ(DropForeignEncoding(text, WideEncodings()), text) << text;
}

TEST(DropForeignEncoding, RemovesThePseudoAttributeWhateverItsSpacingAndQuotes)
{
    const std::string rest = "?><r a=\"1\"/>";
    EXPECT_EQ(DropForeignEncoding("<?xml version=\"1.0\" encoding = 'ISO-8859-1'" + rest, WideEncodings()),
              "<?xml version=\"1.0\"" + rest);
    EXPECT_EQ(
        DropForeignEncoding("<?xml version='1.0'\n\tencoding=\"latin1\" standalone='yes'" + rest, WideEncodings()),
        "<?xml version='1.0'\n standalone='yes'" + rest);
    EXPECT_EQ(DropForeignEncoding("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"" + rest, WideEncodings()),
              "\xEF\xBB\xBF<?xml version=\"1.0\"" + rest);
}

TEST_F(XmlTest, LoadStringKeepsContentThatLooksLikeAnEncoding)
{
    TXMLDocument doc;
    doc.LoadString("<r encoding=\"ISO-8859-1\"><!-- encoding=\"x\" --><?p encoding='y'?>x</r>");
    EXPECT_EQ(doc.RootElement()->ReadAttribute("encoding"), "ISO-8859-1");
    EXPECT_EQ(doc.SaveString(), "<r encoding=\"ISO-8859-1\"><!-- encoding=\"x\" --><?p encoding='y'?>x</r>\n");

    doc.LoadString("<?xml version=\"1.0\" encoding = \"ISO-8859-1\" ?><r>caf\xC3\xA9</r>");
    EXPECT_EQ(doc.DeclEncoding(), "");
    EXPECT_EQ(doc.RootElement()->TextValue(), "caf\xC3\xA9");
}

TEST_F(XmlTest, ParsedDeclarationIsTheFirstChildProcessingInstruction)
{
    TXMLDocument doc;
    doc.LoadString("<?xml version=\"1.0\" standalone=\"yes\"?><a/>");
    IXMLNodePtr first = doc.Children().Item(0);
    EXPECT_EQ(first->Kind(), ntProcessingInstr);
    EXPECT_EQ(first->QualifiedName(), "xml");
    EXPECT_EQ(first->Value(), "version=\"1.0\" standalone=\"yes\"");
    EXPECT_EQ(doc.DeclVersion(), "1.0");
    EXPECT_EQ(doc.DeclStandalone(), "yes");
}

TEST_F(XmlTest, DocumentWithoutDeclarationHasNoDeclarationNodeAndWritesNone)
{
    TXMLDocument doc;
    doc.LoadString("<a>x</a>");
    EXPECT_EQ(doc.Children().Count(), 1);
    EXPECT_EQ(doc.DeclVersion(), "");
    EXPECT_EQ(doc.SaveString(), "<a>x</a>\n");
    EXPECT_EQ(doc.XML().Text(), "<a>x</a>\r\n");
}

TEST_F(XmlTest, DeclarationIsWrittenFromItsNodeWithALineBreakAfterIt)
{
    TXMLDocument doc;
    doc.LoadString("<?xml version='1.0'?><a/>");
    EXPECT_EQ(doc.SaveString(), "<?xml version=\"1.0\"?>\n<a/>\n");
}

TEST_F(XmlTest, SettingEncodingOnADocumentWithoutDeclarationCreatesOne)
{
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.SetDeclEncoding("UTF-8");
    EXPECT_EQ(doc.Children().Item(0)->Value(), "version=\"1.0\" encoding=\"UTF-8\"");
    EXPECT_EQ(doc.XML()[0], "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
}

TEST_F(XmlTest, VersionThenEncodingOnAnEmptyDocumentGiveOneDeclaration)
{
    TXMLDocument doc;
    doc.SetActive(true);
    doc.SetDeclVersion("1.0");
    doc.SetDeclEncoding("ISO-8859-1");
    ASSERT_EQ(doc.Children().Count(), 1);
    EXPECT_EQ(doc.Children().Item(0)->Value(), "version=\"1.0\" encoding=\"ISO-8859-1\"");
}

TEST_F(XmlTest, EmptyEncodingDropsThePseudoAttribute)
{
    TXMLDocument doc;
    doc.LoadString("<?xml version=\"1.0\" encoding=\"UTF-16\" standalone=\"no\"?><a/>");
    doc.SetDeclEncoding("");
    EXPECT_EQ(doc.Children().Item(0)->Value(), "version=\"1.0\" standalone=\"no\"");
}

TEST_F(XmlTest, SettingAValueReplacesTheDeclarationInPlaceKeepingTheOthers)
{
    TXMLDocument doc;
    doc.LoadString("<?xml version=\"1.0\" standalone=\"yes\"?><!--c--><a/>");
    doc.SetDeclEncoding("UTF-8");
    EXPECT_EQ(doc.Children().Count(), 3);
    EXPECT_EQ(doc.Children().Item(0)->Value(), "version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"");
}

TEST_F(XmlTest, LoadStringDropsAForeignEncodingBeforeParsing)
{
    TXMLDocument doc;
    doc.LoadString("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xC3\xA9</a>");
    EXPECT_EQ(doc.DeclEncoding(), "");
    EXPECT_EQ(doc.RootElement()->TextValue(), "caf\xC3\xA9");
}

TEST_F(XmlTest, LoadStringKeepsAUtf16Declaration)
{
    TXMLDocument doc;
    doc.LoadString("<?xml version=\"1.0\" encoding=\"utf-16\"?><a/>");
    EXPECT_EQ(doc.DeclEncoding(), "utf-16");
}

TEST_F(XmlTest, TextListLoadKeepsTheDeclaredEncodingName)
{
    TXMLDocument doc;
    doc.XML().SetText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<a>\xC3\xA9</a>\r\n");
    doc.SetActive(true);
    EXPECT_EQ(doc.DeclEncoding(), "ISO-8859-1");
    EXPECT_EQ(doc.RootElement()->TextValue(), "\xC3\xA9");
}

} // namespace
} // namespace tarnwick::xml
