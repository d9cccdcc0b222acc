// PrettyPrintXML on random documents against oracles of libxml2's own: the
// layout of its indenting serialiser (xmllint --format) where a document has
// no content to keep as written, and for any document the same canonical
// form, the kept content unchanged, and a second format changing nothing.
#include <random>

#include "format_oracles.h"
#include "xml/pretty_printer.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

// Random well-formed documents. Plain ones have no content to keep as
// written: no text beside elements, no xml:space, no entity references.
class RandomDocument {
public:
    RandomDocument(unsigned seed, bool plain) : rng_(seed), plain_(plain) {}

    std::string Make()
    {
        std::string s;
        if (Chance(2))
            s += Chance(2) ? "<?xml version=\"1.0\"?>" : "<?xml version=\"1.0\" standalone=\"yes\"?>";
        if (!plain_)
            s += "<!DOCTYPE root [<!ENTITY e \"ent\"><!ENTITY m \"<b>m</b> \">]>";
        if (Chance(3))
            s += "<!-- lead -->";
        s += "<root xmlns:p=\"urn:p\"" + std::string(Chance(2) ? " xmlns=\"urn:d\"" : "") + ">";
        Children(s, 0);
        s += "</root>";
        if (Chance(3))
            s += "<?tail end?>";
        return s;
    }

private:
    bool Chance(int n) { return Pick(n) == 0; }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    std::string Blank()
    {
        static const char *const kBlanks[] = {"", " ", "\n  ", "\t", "\r\n    "};
        return kBlanks[Pick(5)];
    }

    void Children(std::string &s, int depth)
    {
        // Now and then a chain deeper than where the indentation stops growing.
        if (depth == 1 && Chance(10)) {
            const int length = 28 + Pick(8);
            for (int i = 0; i < length; ++i)
                s += "<chain>";
            Children(s, depth + length);
            for (int i = 0; i < length; ++i)
                s += "</chain>";
            return;
        }
        if (plain_ && Chance(4)) {
            Leaf(s);
            return;
        }
        int count = Pick(depth < 5 ? 5 : 2);
        for (int i = 0; i < count; ++i) {
            s += Blank();
            switch (Pick(plain_ ? 6 : 11)) {
            case 0:
                s += "<!-- c" + std::to_string(Pick(9)) + " -->";
                break;
            case 1:
                s += "<?pi data?>";
                break;
            case 6:
                s += "word" + std::to_string(Pick(100)) + " &amp; more &lt; &#13;";
                break;
            case 7:
                s += "<![CDATA[x < y]]>";
                break;
            case 8:
                s += Chance(2) ? "&e;" : "&m;";
                break;
            case 9:
                s += "&#10;&#32;";
                break;
            case 10:
                Element(s, depth, Chance(2) ? " xml:space=\"preserve\"" : " xml:space=\"default\"");
                break;
            default:
                Element(s, depth, "");
                break;
            }
        }
        s += Blank();
    }

    // Content no layout may change: text alone, a CDATA section alone, or
    // whitespace alone.
    void Leaf(std::string &s)
    {
        switch (Pick(3)) {
        case 0:
            s += "text " + std::to_string(Pick(100)) + " &lt;&quot;&#13;\xC3\xA9";
            break;
        case 1:
            s += "<![CDATA[a]]]]><![CDATA[>b]]>";
            break;
        default:
            s += Chance(2) ? "  " : "\n";
            break;
        }
    }

    void Element(std::string &s, int depth, const std::string &space)
    {
        std::string name = Pick(3) == 0 ? "p:e" + std::to_string(Pick(3)) : "e" + std::to_string(Pick(5));
        s += "<" + name + space;
        if (Chance(3))
            s += " a=\"1 &lt; 2 &#10;&#9;&#13;'\xC3\xA9&gt;\"";
        if (Chance(4))
            s += " p:b=\"&quot;2&quot;\"";
        if (Chance(6))
            s += " xmlns:q=\"urn:q\"";
        if (Chance(3)) {
            s += Chance(2) ? "/>" : "></" + name + ">";
        } else {
            s += ">";
            Children(s, depth + 1);
            s += "</" + name + ">";
        }
    }

    std::mt19937 rng_;
    bool plain_;
};

TEST_F(XmlTest, PlainDocumentsComeOutAsXmllintLaysThemOut)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::string text = RandomDocument(seed, true).Make();
        ASSERT_EQ(testing::WithoutDeclaration(PrettyPrintXML(text)), testing::XmllintFormat(text))
            << "seed " << seed << ": " << text;
    }
}

TEST_F(XmlTest, AnyDocumentKeepsItsMeaningAndItsKeptContentAndFormatsToItself)
{
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        std::string text = RandomDocument(seed, false).Make();
        std::string formatted = PrettyPrintXML(text);
        std::string canonical = testing::CanonicalWithoutBlankText(testing::ParseText(text, XML_PARSE_NOENT).get());
        ASSERT_FALSE(canonical.empty()) << text;
        ASSERT_EQ(testing::CanonicalWithoutBlankText(testing::ParseText(formatted, XML_PARSE_NOENT).get()), canonical)
            << "seed " << seed << ": " << text << "\n"
            << formatted;
        ASSERT_EQ(testing::ContentKeptAsWritten(testing::ParseText(formatted).get()),
                  testing::ContentKeptAsWritten(testing::ParseText(text).get()))
            << "seed " << seed << ": " << text << "\n"
            << formatted;
        ASSERT_EQ(PrettyPrintXML(formatted), formatted) << "seed " << seed;
    }
}

} // namespace
} // namespace tarnwick::xml
