// Encodings: the text list is UTF-8; files are decoded by their declaration
// and written in it.
#include "xml/file_save.h"
#include "xml/file_text.h"
#include "xml/transcode.h"
#include "xml/unencodable_markup.h"
#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

const std::string kEuro = "\xE2\x82\xAC";
const std::string kEAcute = "\xC3\xA9";

TEST_F(XmlTest, Latin1FileShowsUtf8TextAndSavesBackByteForByte)
{
    testing::TempFolder folder;
    std::string original = testing::ReadFile(testing::DataFile("latin1.xml"));
    ASSERT_FALSE(original.empty());
    TXMLDocument doc;
    doc.SetParseOptions({poPreserveWhiteSpace});
    doc.LoadFile(testing::DataFile("latin1.xml"));
    EXPECT_EQ(doc.XML()[0], "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
    EXPECT_EQ(doc.XML()[2], "  <dish lang=\"fr\">Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                            "e</dish>");
    EXPECT_EQ(doc.DeclEncoding(), "ISO-8859-1");
    doc.SaveFile(folder.File("out.xml"));
    EXPECT_EQ(testing::ReadFile(folder.File("out.xml")), original);
}

TEST_F(XmlTest, Latin1RoundTripThroughTheEditorText)
{
    testing::TempFolder folder;
    TXMLDocument doc;
    doc.SetParseOptions({poPreserveWhiteSpace});
    doc.LoadFile(testing::DataFile("latin1.xml"));
    std::string editorText = doc.XML().Text();
    doc.XML().SetText(editorText);
    doc.SetActive(true);
    doc.SaveFile(folder.File("again.xml"));
    EXPECT_EQ(testing::ReadFile(folder.File("again.xml")), testing::ReadFile(testing::DataFile("latin1.xml")));
}

TEST_F(XmlTest, CharactersLatin1CannotHoldBecomeCharacterReferences)
{
    testing::TempFolder folder;
    TXMLDocument doc;
    doc.XML().SetText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<a>" + kEAcute + kEuro + "</a>");
    doc.SetActive(true);
    doc.SaveFile(folder.File("x.xml"));
    EXPECT_EQ(testing::ReadFile(folder.File("x.xml")),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>\xE9&#8364;</a>\n");
    TXMLDocument back;
    back.LoadFile(folder.File("x.xml"));
    EXPECT_EQ(back.RootElement()->TextValue(), kEAcute + kEuro);
}

TEST_F(XmlTest, Utf16DocumentShowsUtf8TextThatKeepsItsDeclaration)
{
    TXMLDocument doc;
    doc.LoadString("<a>" + kEAcute + "</a>");
    doc.SetDeclEncoding("UTF-16");
    EXPECT_EQ(doc.XML().Text(), testing::CrLf("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<a>" + kEAcute + "</a>\n"));
    EXPECT_EQ(doc.DeclEncoding(), "UTF-16");
}

TEST_F(XmlTest, UnicodeFilesAreWrittenWithAByteOrderMarkAndReadBack)
{
    testing::TempFolder folder;
    const std::pair<std::string, std::string> cases[] = {
        {"UTF-16", std::string("\xFF\xFE<\0", 4)},
        {"UTF-32", std::string("\xFF\xFE\0\0<\0\0\0", 8)},
    };
    for (const auto &[encoding, start] : cases) {
        TXMLDocument doc;
        doc.LoadString("<a>" + kEAcute + "</a>");
        doc.SetDeclEncoding(encoding);
        doc.SaveFile(folder.File("u.xml"));
        EXPECT_EQ(testing::ReadFile(folder.File("u.xml")).substr(0, start.size()), start) << encoding;
        TXMLDocument back;
        back.LoadFile(folder.File("u.xml"));
        EXPECT_EQ(back.RootElement()->TextValue(), kEAcute);
        EXPECT_EQ(back.XML()[0], "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>");
    }
}

TEST_F(XmlTest, Utf32FilesOfEitherByteOrderAreRead)
{
    testing::TempFolder folder;
    auto utf32 = [](const std::string &ascii, bool bigEndian) {
        std::string out;
        for (char c : ascii)
            out += bigEndian ? std::string(3, '\0') + c : c + std::string(3, '\0');
        return out;
    };
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-32\"?><a>x</a>";
    testing::WriteFile(folder.File("be.xml"), utf32(text, true));
    testing::WriteFile(folder.File("be-mark.xml"), std::string("\0\0\xFE\xFF", 4) + utf32(text, true));
    testing::WriteFile(folder.File("le.xml"), utf32(text, false));
    for (const char *name : {"be.xml", "be-mark.xml", "le.xml"}) {
        TXMLDocument doc;
        doc.LoadFile(folder.File(name));
        EXPECT_EQ(doc.RootElement()->TextValue(), "x") << name;
        EXPECT_EQ(doc.DeclEncoding(), "UTF-32") << name;
    }
}

// What the editor shows of a document in each encoding is saved and read back
// as the same text, non-ASCII letters in text, attribute and comment included.
TEST_F(XmlTest, EveryEncodingRoundTripsThroughTheTextList)
{
    testing::TempFolder folder;
    for (const std::string encoding : {"UTF-8", "UTF-16", "UTF-16LE", "UTF-16BE", "UTF-32", "ISO-8859-1"}) {
        TXMLDocument doc;
        doc.SetParseOptions({poPreserveWhiteSpace});
        doc.LoadString("<a x=\"" + kEAcute + "\">\n  <!-- " + kEAcute + " -->\n  <b>" + kEAcute + "</b>\n</a>");
        doc.SetDeclEncoding(encoding);
        const std::string shown = doc.XML().Text();
        EXPECT_EQ(doc.XML()[0], "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>");

        TXMLDocument saved;
        saved.SetParseOptions({poPreserveWhiteSpace});
        saved.XML().SetText(shown);
        saved.SetActive(true);
        saved.SaveFile(folder.File("doc.xml"));
        TXMLDocument back;
        back.SetParseOptions({poPreserveWhiteSpace});
        back.LoadFile(folder.File("doc.xml"));
        EXPECT_EQ(back.XML().Text(), shown) << encoding;
        EXPECT_EQ(back.DeclEncoding(), encoding);
    }
}

TEST_F(XmlTest, Utf8IsTheEncodingWithoutDeclaration)
{
    testing::TempFolder folder;
    TXMLDocument doc;
    doc.LoadString("<a>" + kEuro + "</a>");
    doc.SaveFile(folder.File("x.xml"));
    EXPECT_EQ(testing::ReadFile(folder.File("x.xml")), "<a>" + kEuro + "</a>\n");
}

TEST_F(XmlTest, StreamLoadHonoursTheDeclaredEncoding)
{
    std::istringstream in(std::string("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>"));
    TXMLDocument doc;
    doc.LoadStream(in);
    EXPECT_EQ(doc.RootElement()->TextValue(), kEAcute);
}

TEST_F(XmlTest, UnknownEncodingFailsClearlyWhenWriting)
{
    testing::TempFolder folder;
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.SetDeclEncoding("NO-SUCH-ENCODING");
    try {
        doc.SaveFile(folder.File("x.xml"));
        FAIL();
    } catch (const EXMLLayerError &e) {
        EXPECT_NE(std::string(e.what()).find("NO-SUCH-ENCODING"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("x.xml")));
    EXPECT_THROW(doc.XML(), EXMLLayerError);
}

// Where a character reference cannot stand for a character the encoding
// lacks, nothing is written and the message names the character and its
// line; in text and attribute values the reference stands for it and the
// document reads back the same.
TEST_F(XmlTest, AnEightBitEncodingRefusesACharacterItCannotHoldOutsideTextAndValues)
{
    const std::string kJapanese = "\xE6\x97\xA5"; // U+65E5
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
    struct Case {
        std::string body; // after the declaration; the character is on its line 2
        int column;
        std::string place;
    };
    const Case refused[] = {
        {"<r>\n<!-- a " + kJapanese + " -->\n</r>", 8, "comment"},
        {"<r>\n<?p " + kJapanese + "?>\n</r>", 5, "processing instruction"},
        {"<r>\n<![CDATA[" + kJapanese + "]]>\n</r>", 10, "CDATA section"},
        {"<r>\n<x" + kJapanese + "/>\n</r>", 3, "start tag"},
        {"<r>\n<x a" + kJapanese + "=\"1\"/>\n</r>", 5, "start tag"},
        {"<!DOCTYPE r [\n<!ENTITY e" + kJapanese + " \"x\">]>\n<r/>", 11, "document type"},
        {"<!DOCTYPE r [<!ENTITY e \"x\">\n<!-- " + kJapanese + " -->]>\n<r/>", 6, "comment"},
    };
    testing::TempFolder folder;
    for (const Case &c : refused) {
        const std::string text = declaration + c.body;
        const auto found = FindUnencodableMarkup(text, "ISO-8859-1");
        ASSERT_TRUE(found.has_value()) << c.body;
        EXPECT_EQ(found->character, U'\u65E5');
        EXPECT_EQ(found->line, 3) << c.body;
        EXPECT_EQ(found->column, c.column) << c.body;
        EXPECT_NE(found->place.find(c.place), std::string::npos) << found->place;
        EXPECT_FALSE(FindUnencodableMarkup(text, "UTF-16").has_value());

        // Every way of writing refuses it: text as it stands (naming its
        // line), and a document (naming the line it would have been written on).
        const std::string path = folder.File("x.xml");
        try {
            WriteDocumentFile(path, EncodeFileText(text, FormatForSave(text, {})));
            ADD_FAILURE() << c.body;
        } catch (const EXMLLayerError &e) {
            EXPECT_NE(std::string(e.what()).find("(U+65E5), used on line 3, column"), std::string::npos) << e.what();
        }
        EXPECT_THROW(EncodeFromUtf8(text, "ISO-8859-1"), EXMLLayerError);
        TXMLDocument doc;
        doc.XML().SetText(text);
        doc.SetActive(true);
        try {
            doc.SaveFile(path);
            ADD_FAILURE() << c.body;
        } catch (const EXMLLayerError &e) {
            EXPECT_NE(std::string(e.what()).find("(U+65E5)"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(std::filesystem::exists(path));
    }

    // A system identifier is taken literally, an entity value is not.
    EXPECT_TRUE(FindUnencodableMarkup("<!DOCTYPE r [<!ENTITY e SYSTEM \"" + kJapanese + ".xml\">]><r/>", "ISO-8859-1"));
    EXPECT_TRUE(FindUnencodableMarkup("<!DOCTYPE r SYSTEM \"" + kJapanese + ".dtd\"><r/>", "ISO-8859-1"));

    const std::string kept = declaration + "<!DOCTYPE r [<!ENTITY e \"" + kJapanese + "\">]>\n<r a=\"" + kJapanese +
                             "&amp;\">" + kJapanese + "&e;</r>";
    EXPECT_FALSE(FindUnencodableMarkup(kept, "ISO-8859-1").has_value());
    TXMLDocument doc;
    doc.XML().SetText(kept);
    doc.SetActive(true);
    doc.SaveFile(folder.File("kept.xml"));
    TXMLDocument back;
    back.LoadFile(folder.File("kept.xml"));
    EXPECT_EQ(back.RootElement()->ReadAttribute("a"), kJapanese + "&");
    EXPECT_EQ(back.RootElement()->VendorNode()->firstChild()->nodeValue(), kJapanese);
}

} // namespace
} // namespace tarnwick::xml
