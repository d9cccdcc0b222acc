// Opening a file without holding its tree gives, line for line, the text a
// document object's LoadFile shows (the oracle), on the test documents and
// on small documents made to hold what a serialiser may write differently;
// files it does not handle are left to the document object.
#include "xml/streamed_open.h"
#include "xml/xml_document.h"
#include "xml_test_support.h"

#include <random>
#include <vector>

namespace tarnwick::xml {
namespace {

using testing::TempFolder;

// The text as the editor splits it: at CR LF, CR and LF, no line after a
// final break.
std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

class Collect : public TTextAssembly {
public:
    void Append(std::string_view text) override
    {
        middle += text;
        ++appends;
    }
    void Surround(std::string_view head, std::string_view tail) override
    {
        text = std::string(head) + middle + std::string(tail);
    }
    std::string middle;
    std::string text;
    int appends = 0;
};

// The document object's text of the file, as Open shows it.
std::string Oracle(const std::string &path)
{
    TXMLDocument document;
    document.SetParseOptions({poPreserveWhiteSpace});
    document.LoadFile(path);
    return document.XML().Text();
}

void ExpectSameText(const std::string &path)
{
    Collect streamed;
    ASSERT_TRUE(StreamDocumentText(path, {poPreserveWhiteSpace}, streamed)) << path;
    EXPECT_EQ(Lines(streamed.text), Lines(Oracle(path))) << path;
}

std::string Write(const TempFolder &folder, const std::string &name, const std::string &text)
{
    const std::string path = folder.File(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Many children, so that some are written while the parse goes on, with
// what text, attributes, comments and references may hold.
std::string Children(std::mt19937 &rng, int count)
{
    static const char *const kParts[] = {
        "<b id=\"x1\" v='caf\xC3\xA9 \xE2\x82\xAC'>t&amp;t &lt;x&gt; \xF0\x9F\x98\x80</b>",
        "\n  ",
        "<e/>",
        "<e></e>",
        "<!-- a comment -->",
        "<?pi some data?>",
        "<![CDATA[ <raw> & ]]>",
        "<n:q xmlns:n=\"urn:n\" n:a=\"1\">&ent;</n:q>",
        "<c a=\"line&#10;break&#13;&#9;tab\">&#13;&#x20AC;</c>",
        "text ' \" > ]]&gt;",
        "\r\n",
        "<d a=\"&quot;&apos;&lt;\"/>",
    };
    std::string s;
    for (int i = 0; i < count; ++i)
        s += kParts[rng() % std::size(kParts)];
    return s;
}

TEST(StreamedOpen, GivesTheDocumentObjectsTextOnTheTestDocuments)
{
    testing::EnsureVendor();
    int handled = 0;
    for (const auto &entry : std::filesystem::directory_iterator(TARNWICK_TEST_DATA "/documents")) {
        Collect streamed;
        if (!StreamDocumentText(entry.path().string(), {poPreserveWhiteSpace}, streamed))
            continue;
        ++handled;
        EXPECT_EQ(Lines(streamed.text), Lines(Oracle(entry.path().string()))) << entry.path();
    }
    EXPECT_GE(handled, 6);
}

TEST(StreamedOpen, GivesTheDocumentObjectsTextWhateverTheRootHolds)
{
    testing::EnsureVendor();
    TempFolder folder;
    std::mt19937 rng(15);
    const std::string prolog = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                               "<!-- before -->\n<!DOCTYPE r [\n<!ENTITY ent \"entity &#233;\">\n"
                               "<!ATTLIST b id ID #IMPLIED>\n]>\n<?before pi?>\n";
    for (int round = 0; round < 6; ++round) {
        const std::string body = Children(rng, 40 + round * 120);
        ExpectSameText(Write(folder, "a.xml", prolog + "<r a=\"1\" xmlns=\"urn:d\">" + body + "</r>\n<!-- after -->"));
        // No declaration: no encoding in the document either.
        ExpectSameText(Write(folder, "b.xml", "<!DOCTYPE r [<!ENTITY ent \"e\">]><r>" + body + "</r>"));
    }
    // Roots that hold nothing, only text, or one child.
    ExpectSameText(Write(folder, "c.xml", "<?xml version=\"1.0\"?><r/>"));
    ExpectSameText(Write(folder, "d.xml", "<?xml version=\"1.0\"?><r></r>"));
    ExpectSameText(Write(folder, "e.xml", "<r>only text \xC3\xA9</r>\n"));
    ExpectSameText(Write(folder, "f.xml", "<r><one/></r>"));
    ExpectSameText(Write(folder, "g.xml", "<?xml version=\"1.0\"?>\n<root>\n  <item>one</item>\n</root>\n"));
}

TEST(StreamedOpen, LeavesOtherFilesToTheDocumentObject)
{
    testing::EnsureVendor();
    TempFolder folder;
    Collect out;
    // Another encoding, a parse error, whitespace not preserved, no file.
    EXPECT_FALSE(
        StreamDocumentText(Write(folder, "l.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>\xE9</r>"),
                           {poPreserveWhiteSpace}, out));
    EXPECT_FALSE(StreamDocumentText(Write(folder, "m.xml", "<r><a></r>"), {poPreserveWhiteSpace}, out));
    EXPECT_FALSE(StreamDocumentText(Write(folder, "n.xml", "<r/>"), {}, out));
    EXPECT_FALSE(StreamDocumentText(folder.File("none.xml"), {poPreserveWhiteSpace}, out));
}

} // namespace
} // namespace tarnwick::xml
