// A file's bytes as the editor's text and back: every input comes back byte
// for byte, Unicode forms and code pages decode to the characters the system
// converter reads, and the save format follows the declaration.
#include "xml/file_text.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <filesystem>
#include <random>

#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using namespace std::string_literals;

// The system's converter, as an oracle independent of the code under test.
bool Iconv(const std::string &text, const char *to, const char *from, std::string &out)
{
    iconv_t cd = iconv_open(to, from);
    out.assign(text.size() * 4 + 8, '\0');
    char *in = const_cast<char *>(text.data());
    char *o = out.data();
    size_t inLeft = text.size(), outLeft = out.size();
    const size_t done = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return done != static_cast<size_t>(-1);
}

std::string Iconv(const std::string &text, const char *to, const char *from = "UTF-8")
{
    std::string out;
    EXPECT_TRUE(Iconv(text, to, from, out)) << to;
    return out;
}

bool IsUnicodeText(const std::string &utf8)
{
    std::string ignored;
    return Iconv(utf8, "UTF-32LE", "UTF-8", ignored);
}

void ExpectRoundTrip(const std::string &bytes, const std::string &label)
{
    const TFileText decoded = DecodeFileText(bytes);
    EXPECT_TRUE(IsUnicodeText(decoded.text)) << label;
    EXPECT_EQ(EncodeFileText(decoded.text, decoded.format), bytes) << label;
    EXPECT_EQ(FormatForSave(decoded.text, decoded.format).encoding, decoded.format.encoding) << label;
}

// A document with the constructs whose bytes a re-serialisation would change.
std::string Document(const std::string &declared, const std::string &wide, const std::string &end)
{
    std::string text = (declared.empty() ? "" : "<?xml version='1.0' encoding='" + declared + "'?>\n") +
                       "<!DOCTYPE r [\n"
                       "  <!-- the subset, over several lines -->\n"
                       "  <!ENTITY e 'caf\xC3\xA9'>\n"
                       "  <!ELEMENT r ANY>\n"
                       "]>\n"
                       "<r a='single'\tb=\"&e;\">\n"
                       "\t<a></a><b>&#233;&e;&lt;" +
                       wide +
                       "</b>\n"
                       "  <![CDATA[ <raw> & " +
                       wide +
                       " ]]>\n"
                       "</r>\n"
                       "<!-- after the root -->";
    std::string out;
    for (char c : text)
        out += c == '\n' ? end : std::string(1, c);
    return out;
}

TEST(DecodeFileText, EveryFormGivesTheTextAndWritesTheSameBytes)
{
    const std::string wide = "\xE2\x82\xAC \xE6\x97\xA5 \xF0\x9F\x98\x80"; // euro, a CJK ideograph, an emoji
    // Every character of the code pages, but the five bytes Windows-1252 leaves free.
    std::string high;
    for (int byte = 0x80; byte < 0x100; ++byte)
        if (byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D)
            high += static_cast<char>(byte);
    struct TCase {
        const char *declared;
        const char *iconvName;
        std::string mark;
        const char *encoding;
    };
    const TCase cases[] = {
        {"", "UTF-8", "", "UTF-8"},
        {"UTF-8", "UTF-8", "\xEF\xBB\xBF", "UTF-8"},
        {"utf-8", "UTF-8", "", "UTF-8"},
        {"UTF-16", "UTF-16LE", "", "UTF-16LE"},
        {"UTF-16", "UTF-16LE", "\xFF\xFE", "UTF-16LE"},
        {"UTF-16", "UTF-16BE", "", "UTF-16BE"},
        {"UTF-16", "UTF-16BE", "\xFE\xFF", "UTF-16BE"},
        {"UTF-32", "UTF-32LE", "\xFF\xFE\0\0"s, "UTF-32LE"},
        {"UTF-32", "UTF-32BE", "", "UTF-32BE"},
        {"ISO-8859-1", "ISO-8859-1", "", "ISO-8859-1"},
        {"Windows-1252", "WINDOWS-1252", "", "windows-1252"},
    };
    for (const TCase &c : cases) {
        const bool oneByte = std::string(c.iconvName).find("UTF") == std::string::npos;
        for (const std::string end : {"\r\n", "\n", "\r"}) {
            std::string text = Document(c.declared, oneByte ? Iconv(high, "UTF-8", c.iconvName) : wide, end);
            if (end == "\n")
                text += "\r\n<!-- mixed -->\r\r\n"; // mixed ends, and a final one this time
            const std::string bytes = c.mark + Iconv(text, c.iconvName);
            const std::string label = c.iconvName + " mark "s + std::to_string(c.mark.size()) + " ends " + end;
            const TFileText decoded = DecodeFileText(bytes);
            EXPECT_EQ(decoded.text, text) << label;
            EXPECT_EQ(decoded.format.encoding, c.encoding) << label;
            EXPECT_EQ(decoded.format.byteOrderMark, !c.mark.empty()) << label;
            EXPECT_EQ(decoded.format.declared, c.declared) << label;
            EXPECT_EQ(decoded.format.mismatch, "") << label;
            ExpectRoundTrip(bytes, label);
        }
    }
}

TEST(DecodeFileText, AnyBytesAtAllComeBackUnchanged)
{
    const std::string marks[] = {"",        "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "\xFF\xFE\0\0"s, "\0\0\xFE\xFF"s,
                                 "<\0?\0"s, "\0<\0?"s};
    const std::string declared[] = {"",       "ISO-8859-1", "windows-1252", "UTF-16",  "Shift_JIS",
                                    "KOI8-R", "ISO-8859-2", "US-ASCII",     "x-nobody"};
    const std::string pieces[] = {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xED\xA0\x80", "\r\n",
                                  "\0"s,      "<a>",          "\0\xD8"s,          "\xDC\0"s,      "\0\0\x11\0"s};
    std::mt19937 random(20240601);
    for (int round = 0; round < 4000; ++round) {
        const std::string &encoding = declared[random() % std::size(declared)];
        std::string bytes = random() % 2       ? marks[random() % std::size(marks)]
                            : encoding.empty() ? "<?xml version='1.0'?>"
                                               : "<?xml version='1.0' encoding='" + encoding + "'?>";
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            if (random() % 3 == 0)
                bytes += pieces[random() % std::size(pieces)];
            else
                bytes += static_cast<char>(random() % 256);
        }
        ExpectRoundTrip(bytes, "round " + std::to_string(round));
        // Without a mark or a declaration, valid UTF-8 is the text itself.
        if (bytes.rfind("<?xml version='1.0'?>", 0) == 0 && IsUnicodeText(bytes)) {
            EXPECT_EQ(DecodeFileText(bytes).text, bytes);
        }
        if (::testing::Test::HasFailure())
            break;
    }
}

TEST(DecodeFileText, BytesThatAreNotWhatTheyClaimAreReportedAndKept)
{
    struct TCase {
        std::string bytes;
        const char *encoding;
        std::string text;
    };
    const TCase cases[] = {
        {"<a>caf\xE9 \x80</a>", "windows-1252", "<a>caf\xC3\xA9 \xE2\x82\xAC</a>"},
        {"<?xml version='1.0' encoding='UTF-8'?><a>\xC3\xA9\xFF</a>", "windows-1252",
         "<?xml version='1.0' encoding='UTF-8'?><a>\xC3\x83\xC2\xA9\xC3\xBF</a>"},
        {"\xEF\xBB\xBF<a>\x81</a>", "windows-1252", "\xC3\xAF\xC2\xBB\xC2\xBF<a>\xC2\x81</a>"},
        {"<?xml version='1.0' encoding='x-nobody'?><a>\x8D</a>", "windows-1252",
         "<?xml version='1.0' encoding='x-nobody'?><a>\xC2\x8D</a>"},
        {"\xFF\xFE<\0\0\xD8\0\xD8"s, "windows-1252", "\xC3\xBF\xC3\xBE<\0\0\xC3\x98\0\xC3\x98"s},
        {"<?xml version='1.0' encoding='US-ASCII'?>\xE9", "windows-1252",
         "<?xml version='1.0' encoding='US-ASCII'?>\xC3\xA9"},
        {"<?xml version='1.0' encoding='ISO-8859-1'?><a>\xC3\xA9</a>", "ISO-8859-1",
         "<?xml version='1.0' encoding='ISO-8859-1'?><a>\xC3\x83\xC2\xA9</a>"},
        {"<?xml version='1.0' encoding='ISO-8859-2'?><a>\xC3\xA9</a>", "ISO-8859-2",
         "<?xml version='1.0' encoding='ISO-8859-2'?><a>\xC4\x82\xC5\xA0</a>"},
        {"<?xml version='1.0' encoding='UTF-16'?><a/>", "UTF-8", "<?xml version='1.0' encoding='UTF-16'?><a/>"},
        {"<?xml version='1.0' encoding='UCS-2'?><a/>", "UTF-8", "<?xml version='1.0' encoding='UCS-2'?><a/>"},
        {"\xFF\xFE" + Iconv("<?xml version='1.0' encoding='ISO-8859-1'?><a/>", "UTF-16LE"), "UTF-16LE",
         "<?xml version='1.0' encoding='ISO-8859-1'?><a/>"},
    };
    for (const TCase &c : cases) {
        const TFileText decoded = DecodeFileText(c.bytes);
        EXPECT_EQ(decoded.format.encoding, c.encoding) << c.text;
        EXPECT_EQ(decoded.text, c.text);
        EXPECT_FALSE(decoded.format.mismatch.empty()) << c.text;
        ExpectRoundTrip(c.bytes, c.text);
    }
    // The five bytes Windows-1252 leaves free are characters of their own.
    const std::string free = "<?xml version='1.0' encoding='windows-1252'?><!--\x81\x8D\x8F\x90\x9D-->";
    EXPECT_EQ(DecodeFileText(free).format.mismatch, "");
    ExpectRoundTrip(free, "free bytes");
}

TEST(FormatForSave, FollowsTheDeclarationOnlyWhenItChanged)
{
    const TFileText fallback = DecodeFileText("<?xml version='1.0' encoding='UTF-8'?><a>\xE9</a>");
    const TFileFormat kept = FormatForSave("<?xml version='1.0' encoding='utf-8'?><a/>", fallback.format);
    EXPECT_EQ(kept.encoding, "windows-1252");
    EXPECT_EQ(kept.mismatch, "");

    const auto format = [](const char *encoding, bool mark, const char *declared) {
        TFileFormat f;
        f.encoding = encoding;
        f.byteOrderMark = mark;
        f.declared = declared;
        return f;
    };
    struct TCase {
        TFileFormat opened;
        const char *declaredNow;
        const char *encoding;
        bool mark;
    };
    const TCase cases[] = {
        {format("UTF-8", false, ""), "ISO-8859-1", "ISO-8859-1", false},
        {format("UTF-8", false, "UTF-8"), "UTF-16", "UTF-16LE", true},
        {format("UTF-8", true, ""), "utf-8", "UTF-8", true},
        {format("UTF-16BE", true, "UTF-16"), "UTF-8", "UTF-8", false},
        {format("UTF-16BE", false, "UTF-16BE"), "UTF-16", "UTF-16BE", true},
        {format("UTF-16LE", true, "UTF-16"), "UTF-16LE", "UTF-16LE", true},
        {format("UTF-16LE", false, "UTF-16"), "UTF-32", "UTF-32LE", true},
        {format("ISO-8859-1", false, "ISO-8859-1"), "", "UTF-8", false},
        {format("UTF-16LE", true, "UTF-16"), "KOI8-R", "KOI8-R", false},
    };
    for (const TCase &c : cases) {
        const std::string text =
            *c.declaredNow ? "<?xml version='1.0' encoding='"s + c.declaredNow + "'?><a/>" : "<a/>"s;
        const TFileFormat saved = FormatForSave(text, c.opened);
        EXPECT_EQ(saved.encoding, c.encoding) << c.declaredNow;
        EXPECT_EQ(saved.byteOrderMark, c.mark) << c.declaredNow;
        EXPECT_EQ(saved.declared, c.declaredNow);
        // Saved and opened again, the text keeps the format it was saved in.
        const TFileText reopened = DecodeFileText(EncodeFileText(text, saved));
        EXPECT_EQ(reopened.text, text);
        EXPECT_EQ(reopened.format.encoding, saved.encoding) << c.declaredNow;
        EXPECT_EQ(reopened.format.byteOrderMark, saved.byteOrderMark) << c.declaredNow;
    }
}

TEST(EncodeFileText, CharactersACodePageLacksBecomeReferencesWhereOneCanStand)
{
    TFileFormat latin1;
    latin1.encoding = "ISO-8859-1";
    EXPECT_EQ(EncodeFileText("<a t='\xE2\x82\xAC'>\xC3\xA9\xE6\x97\xA5</a>", latin1),
              "<a t='&#8364;'>\xE9&#26085;</a>");
    EXPECT_THROW(EncodeFileText("<a><!-- \xE2\x82\xAC --></a>", latin1), EXMLLayerError);
    TFileFormat windows1252;
    windows1252.encoding = "windows-1252";
    EXPECT_EQ(EncodeFileText("<!--\xC2\x81\xE2\x82\xAC--><a>\xE6\x97\xA5</a>", windows1252),
              "<!--\x81\x80--><a>&#26085;</a>");
    TFileFormat unknown;
    unknown.encoding = "x-nobody";
    EXPECT_THROW(EncodeFileText("<a/>", unknown), EXMLLayerError);
}

TEST(ReadFileText, SampleDocumentsComeBackByteForByte)
{
    int files = 0;
    for (const auto &entry : std::filesystem::directory_iterator(std::string(TARNWICK_TEST_DATA) + "/documents")) {
        if (entry.path().extension() != ".xml")
            continue;
        ++files;
        const std::string bytes = testing::ReadFile(entry.path().string());
        const TFileText read = ReadFileText(entry.path().string());
        EXPECT_EQ(read.format.mismatch, "") << entry.path();
        EXPECT_EQ(EncodeFileText(read.text, read.format), bytes) << entry.path();
    }
    EXPECT_GE(files, 10);
    EXPECT_THROW(ReadFileText(std::string(TARNWICK_TEST_DATA) + "/documents/no-such-file.xml"), EXMLLayerError);
}

} // namespace
} // namespace tarnwick::xml
