// A document's text without a parse: the encoding its bytes are in, decoding
// that keeps bad bytes visible, encoding as a save does, and the file entry
// points that read and write text the parser rejects.
#include "xml/document_text.h"
#include "xml/transcode.h"
#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using namespace std::string_literals;
using testing::XmlTest;

const std::string kEAcute = "\xC3\xA9";

TEST(DetectDocumentEncoding, ByteOrderMarksAndUtfPatternsComeFirst)
{
    EXPECT_EQ(DetectDocumentEncoding("\xEF\xBB\xBF<a/>"), "UTF-8");
    EXPECT_EQ(DetectDocumentEncoding("\xFF\xFE<\0a\0"s), "UTF-16LE");
    EXPECT_EQ(DetectDocumentEncoding("\xFE\xFF\0<\0a"s), "UTF-16BE");
    EXPECT_EQ(DetectDocumentEncoding("<\0?\0x\0"s), "UTF-16LE");
    EXPECT_EQ(DetectDocumentEncoding("\0<\0?\0x"s), "UTF-16BE");
    EXPECT_EQ(DetectDocumentEncoding("\xFF\xFE\0\0<\0\0\0"s), "UTF-32LE");
    EXPECT_EQ(DetectDocumentEncoding("\0\0\0<\0\0\0?"s), "UTF-32BE");
}

TEST(DetectDocumentEncoding, ThenTheDeclarationThenUtf8)
{
    EXPECT_EQ(DetectDocumentEncoding("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>"), "ISO-8859-1");
    EXPECT_EQ(DetectDocumentEncoding("<?xml version='1.0' encoding='windows-1252'?>"), "windows-1252");
    EXPECT_EQ(DetectDocumentEncoding("<?xml version=\"1.0\"?><a/>"), "UTF-8");
    EXPECT_EQ(DetectDocumentEncoding("<a encoding=\"ISO-8859-1\"/>"), "UTF-8");
    EXPECT_EQ(DetectDocumentEncoding(""), "UTF-8");
}

TEST(DecodeKeepingInvalidBytes, ValidUtf8StaysAsItIsWithoutItsMark)
{
    EXPECT_EQ(DecodeKeepingInvalidBytes("\xEF\xBB\xBF<a>" + kEAcute + "</a>", "UTF-8"), "<a>" + kEAcute + "</a>");
}

TEST(DecodeKeepingInvalidBytes, EachBadUtf8ByteStandsForItselfAlone)
{
    // A Latin-1 e-acute in UTF-8 text: the byte alone becomes its Windows-1252
    // letter, and the valid UTF-8 around it is not reread as another encoding.
    EXPECT_EQ(DecodeKeepingInvalidBytes("caf\xE9 " + kEAcute, "UTF-8"), "caf" + kEAcute + " " + kEAcute);
    EXPECT_EQ(DecodeKeepingInvalidBytes("\x80\x93", ""), "\xE2\x82\xAC\xE2\x80\x9C");
    // A cut sequence, an overlong form and a surrogate are single bad bytes too.
    EXPECT_EQ(DecodeKeepingInvalidBytes("a\xC3", "UTF-8"), "a\xC3\x83");
    EXPECT_EQ(DecodeKeepingInvalidBytes("\xC0\xAF", "UTF-8"), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(DecodeKeepingInvalidBytes("\xED\xA0\x80", "UTF-8"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
}

TEST(DecodeKeepingInvalidBytes, OtherEncodingsDecodeAndGoOnAfterABadByte)
{
    EXPECT_EQ(DecodeKeepingInvalidBytes("caf\xE9", "ISO-8859-1"), "caf" + kEAcute);
    EXPECT_EQ(DecodeKeepingInvalidBytes("\xFF\xFE"
                                        "a\0\xE9\0"s,
                                        "UTF-16LE"),
              "a" + kEAcute);
    EXPECT_EQ(DecodeKeepingInvalidBytes("\0a\0\xE9"s, "UTF-16BE"), "a" + kEAcute);
    // An unpaired surrogate and an odd last byte are kept byte by byte.
    const std::string decoded = DecodeKeepingInvalidBytes("a\0\x00\xD8"
                                                          "b\0c"s,
                                                          "UTF-16LE");
    EXPECT_EQ(decoded.substr(0, 1), "a");
    EXPECT_NE(decoded.find("b"), std::string::npos);
    EXPECT_EQ(decoded.back(), 'c');
    // Shift_JIS with a byte that starts no character.
    EXPECT_EQ(DecodeKeepingInvalidBytes("\x82\xA0\xFF"
                                        "x",
                                        "Shift_JIS"),
              "\xE3\x81\x82\xC3\xBF"
              "x");
}

TEST(DecodeKeepingInvalidBytes, AnUnknownEncodingReadsAsUtf8)
{
    EXPECT_EQ(DecodeKeepingInvalidBytes("caf\xE9", "NO-SUCH-ENCODING"), "caf" + kEAcute);
}

TEST(EncodeFromUtf8, WritesAsASaveWrites)
{
    EXPECT_EQ(EncodeFromUtf8("<a>" + kEAcute + "</a>", "UTF-8"), "<a>" + kEAcute + "</a>");
    EXPECT_EQ(EncodeFromUtf8("<a>" + kEAcute + "\xE2\x82\xAC</a>", "ISO-8859-1"), "<a>\xE9&#8364;</a>");
    EXPECT_EQ(EncodeFromUtf8("<a/>", "UTF-16"), "\xFF\xFE<\0a\0/\0>\0"s);
    EXPECT_EQ(EncodeFromUtf8("<a/>", "UTF-16BE"), "\0<\0a\0/\0>"s);
    EXPECT_EQ(EncodeFromUtf8("<", "UTF-32"), "\xFF\xFE\0\0<\0\0\0"s);
    EXPECT_THROW(EncodeFromUtf8("<a/>", "NO-SUCH-ENCODING"), EXMLLayerError);
}

TEST_F(XmlTest, NotWellFormedTextIsSavedAsItIsInItsDeclaredEncoding)
{
    testing::TempFolder folder;
    const std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<a>" + kEAcute + "<b>\r\n</a>\r\n";
    SaveDocumentText(folder.File("x.xml"), text);
    EXPECT_EQ(testing::ReadFile(folder.File("x.xml")),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>\xE9<b>\n</a>\n");
    const TDocumentText back = ReadDocumentText(folder.File("x.xml"));
    EXPECT_EQ(back.encoding, "ISO-8859-1");
    EXPECT_EQ(back.text, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>" + kEAcute + "<b>\n</a>\n");

    SaveDocumentText(folder.File("u16.xml"), "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<a>" + kEAcute);
    const std::string bytes = testing::ReadFile(folder.File("u16.xml"));
    EXPECT_EQ(bytes.substr(0, 4), "\xFF\xFE<\0"s);
    EXPECT_EQ(ReadDocumentText(folder.File("u16.xml")).text,
              "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<a>" + kEAcute);
}

TEST_F(XmlTest, SavingTextAsItIsLeavesTheOldFileWhenTheEncodingIsUnknown)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("x.xml"), "old");
    EXPECT_THROW(SaveDocumentText(folder.File("x.xml"), "<?xml version=\"1.0\" encoding=\"NO-SUCH\"?><a"),
                 EXMLLayerError);
    EXPECT_EQ(testing::ReadFile(folder.File("x.xml")), "old");
    EXPECT_THROW(ReadDocumentText(folder.File("missing.xml")), EXMLLayerError);
}

} // namespace
} // namespace tarnwick::xml
