// Encodings: the text list is UTF-8; files are decoded by their declaration
// and written in it.
#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

const std::string kEuro = "\xE2\x82\xAC";
const std::string kEAcute = "\xC3\xA9";

TEST_F(XmlTest, Latin1FileShowsUtf8TextAndSavesBackByteForByte) {
  testing::TempFolder folder;
  std::string original = testing::ReadFile(testing::DataFile("latin1.xml"));
  ASSERT_FALSE(original.empty());
  TXMLDocument doc;
  doc.SetParseOptions({poPreserveWhiteSpace});
  doc.LoadFile(testing::DataFile("latin1.xml"));
  EXPECT_EQ(doc.XML()[0], "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
  EXPECT_EQ(doc.XML()[2], "  <dish lang=\"fr\">Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e</dish>");
  EXPECT_EQ(doc.DeclEncoding(), "ISO-8859-1");
  doc.SaveFile(folder.File("out.xml"));
  EXPECT_EQ(testing::ReadFile(folder.File("out.xml")), original);
}

TEST_F(XmlTest, Latin1RoundTripThroughTheEditorText) {
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

TEST_F(XmlTest, CharactersLatin1CannotHoldBecomeCharacterReferences) {
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

TEST_F(XmlTest, Utf16SerialisationGivesUtf8TextWithAUtf8Declaration) {
  TXMLDocument doc;
  doc.LoadString("<a>" + kEAcute + "</a>");
  doc.SetDeclEncoding("UTF-16");
  EXPECT_EQ(doc.XML().Text(), testing::CrLf("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>" + kEAcute + "</a>\n"));
  // The DOM itself keeps its declaration.
  EXPECT_EQ(doc.DeclEncoding(), "UTF-16");
}

TEST_F(XmlTest, Utf16FileIsWrittenWithAByteOrderMarkAndReadBack) {
  testing::TempFolder folder;
  TXMLDocument doc;
  doc.LoadString("<a>" + kEAcute + "</a>");
  doc.SetDeclEncoding("UTF-16");
  doc.SaveFile(folder.File("u16.xml"));
  std::string bytes = testing::ReadFile(folder.File("u16.xml"));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE<\0", 4));
  TXMLDocument back;
  back.LoadFile(folder.File("u16.xml"));
  EXPECT_EQ(back.RootElement()->TextValue(), kEAcute);
  EXPECT_EQ(back.XML()[0], "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
}

TEST_F(XmlTest, Utf8IsTheEncodingWithoutDeclaration) {
  testing::TempFolder folder;
  TXMLDocument doc;
  doc.LoadString("<a>" + kEuro + "</a>");
  doc.SaveFile(folder.File("x.xml"));
  EXPECT_EQ(testing::ReadFile(folder.File("x.xml")), "<a>" + kEuro + "</a>\n");
}

TEST_F(XmlTest, StreamLoadHonoursTheDeclaredEncoding) {
  std::istringstream in(std::string("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>"));
  TXMLDocument doc;
  doc.LoadStream(in);
  EXPECT_EQ(doc.RootElement()->TextValue(), kEAcute);
}

TEST_F(XmlTest, UnknownEncodingFailsClearlyWhenWriting) {
  testing::TempFolder folder;
  TXMLDocument doc;
  doc.LoadString("<a/>");
  doc.SetDeclEncoding("NO-SUCH-ENCODING");
  try {
    doc.SaveFile(folder.File("x.xml"));
    FAIL();
  } catch (const EXMLLayerError& e) {
    EXPECT_NE(std::string(e.what()).find("NO-SUCH-ENCODING"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(folder.File("x.xml")));
  EXPECT_THROW(doc.XML(), EXMLLayerError);
}

}  // namespace
}  // namespace tarnwick::xml
