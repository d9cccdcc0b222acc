// The pretty printer's fast path (the vendor copies the tree) against the
// node-by-node path through wrappers and node lists, on random documents.
#include <random>

#include "xml/pretty_printer.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

// Random well-formed documents with the node kinds the printer copies.
class RandomDocument {
 public:
  explicit RandomDocument(unsigned seed) : rng_(seed) {}

  std::string Make() {
    std::string s;
    if (Chance(2)) s += Chance(2) ? "<?xml version=\"1.0\"?>" : "<?xml version=\"1.0\" standalone=\"yes\"?>";
    if (Chance(3)) s += "<!-- lead -->";
    s += "<root xmlns:p=\"urn:p\"" + std::string(Chance(2) ? " xmlns=\"urn:d\"" : "") + ">";
    Children(s, 0);
    s += "</root>";
    if (Chance(3)) s += "<?tail end?>";
    return s;
  }

 private:
  bool Chance(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_) == 0; }
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  void Children(std::string& s, int depth) {
    int count = Pick(depth < 4 ? 5 : 2);
    for (int i = 0; i < count; ++i) {
      switch (Pick(depth < 4 ? 8 : 5)) {
        case 0: s += "word" + std::to_string(Pick(100)); break;
        case 1: s += Pick(2) ? "  \n  " : " &amp; more &lt; "; break;
        case 2: s += "<!-- c" + std::to_string(Pick(9)) + " -->"; break;
        case 3: s += "<![CDATA[x < y]]>"; break;
        case 4: s += "<?pi data?>"; break;
        default: {
          std::string name = Pick(3) == 0 ? "p:e" + std::to_string(Pick(3)) : "e" + std::to_string(Pick(5));
          s += "<" + name;
          if (Chance(3)) s += " a=\"1\"";
          if (Chance(4)) s += " p:b=\"&quot;2&quot;\"";
          if (Chance(6)) s += " xmlns:q=\"urn:q\"";
          if (Chance(3)) {
            s += "/>";
          } else {
            s += ">";
            Children(s, depth + 1);
            s += "</" + name + ">";
          }
        }
      }
    }
  }

  std::mt19937 rng_;
};

TEST_F(XmlTest, FastPathGivesTheSameTextAsTheNodeByNodeCopy) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::string text = RandomDocument(seed).Make();
    ASSERT_EQ(PrettyPrintXML(text), PrettyPrintXMLNodeByNode(text)) << "seed " << seed << ": " << text;
  }
}

TEST_F(XmlTest, BothPathsAgreeOnAwkwardCases) {
  const char* cases[] = {
      "<a xmlns=\"urn:d\"><b xmlns=\"\"><c/></b></a>",
      "<p:a xmlns:p=\"urn:1\"><p:b xmlns:p=\"urn:2\"><p:c/></p:b></p:a>",
      "<a xml:lang=\"en\" v=\"line&#10;break&#13;tab&#9;\">x&#13;y</a>",
      "<a><![CDATA[]]]]><![CDATA[>]]></a>",
      "<?xml version=\"1.0\" encoding=\"UTF-16\" standalone=\"no\"?><a/>",
      "<?xml version=\"1.1\"?><a>\t<b/>\t</a>",
      "<!--only--><?pi?><a><?x?><!--y--><z>t</z>tail</a><!--after-->",
      "<a>&lt;&amp;&gt;\"'<b c=\"&lt;&quot;\"/></a>",
  };
  for (const char* text : cases) EXPECT_EQ(PrettyPrintXML(text), PrettyPrintXMLNodeByNode(text)) << text;
}

TEST_F(XmlTest, BothPathsRefuseADocumentType) {
  const std::string text = "<!DOCTYPE a [<!ELEMENT a ANY>]><a/>";
  EXPECT_THROW(PrettyPrintXML(text), EXMLDocError);
  EXPECT_THROW(PrettyPrintXMLNodeByNode(text), EXMLDocError);
}

TEST_F(XmlTest, BothPathsAgreeOnTheWorkedExample) {
  const std::string text = "<?xml version=\"1.0\"?><root><a x=\"1\"><b>text</b><c/></a><!-- note --></root>";
  EXPECT_EQ(PrettyPrintXML(text), PrettyPrintXMLNodeByNode(text));
}

}  // namespace
}  // namespace tarnwick::xml
