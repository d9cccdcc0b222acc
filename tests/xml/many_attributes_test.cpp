// Elements with very many attributes: every parse, on any thread, keeps them
// whole and in order, with the tree's attribute list linked both ways (the
// tree builder moves the list's head while it appends).
#include <libxml/tree.h>

#include <thread>

#include "xml/libxml2_dom.h"
#include "xml/xml_document.h"
#include "xml/xml_node.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

std::string ManyAttributes(int count, const std::string &extra = "")
{
    std::string text = "<r" + extra;
    for (int i = 0; i < count; ++i)
        text += " a" + std::to_string(i) + "=\"v" + std::to_string(i) + "\"";
    return text + "><e b=\"1\" c=\"2\"/></r>";
}

// The libxml2 element behind the root, its attributes walked forwards and
// back.
void ExpectLinkedInOrder(TXMLDocument &doc, int count)
{
    auto *node = dynamic_cast<libxml2::Libxml2Node *>(doc.RootElement()->VendorNode().get());
    ASSERT_NE(node, nullptr);
    xmlNodePtr root = node->native();
    int seen = 0;
    xmlAttrPtr last = nullptr;
    for (xmlAttrPtr a = root->properties; a; a = a->next, ++seen) {
        ASSERT_EQ(a->prev, last);
        ASSERT_EQ(a->parent, root);
        last = a;
    }
    EXPECT_EQ(seen, count);
    for (xmlAttrPtr a = last; a; a = a->prev)
        --seen;
    EXPECT_EQ(seen, 0);
}

TEST_F(XmlTest, ManyAttributesKeepTheirOrderInEveryKindOfParse)
{
    const int count = 3000;
    // The same attributes declared, the first an ID, the others of types
    // whose values the validating parser normalises and checks.
    std::string dtd = "<!DOCTYPE r [<!ELEMENT r (e)><!ELEMENT e EMPTY><!ATTLIST e b CDATA #IMPLIED c CDATA "
                      "#IMPLIED><!ATTLIST r a0 ID #REQUIRED";
    for (int i = 1; i < count; ++i)
        dtd += " a" + std::to_string(i) + (i % 2 ? " NMTOKEN #IMPLIED" : " CDATA #IMPLIED");
    dtd += ">]>";
    const std::string plain = ManyAttributes(count);
    const std::string declared = dtd + "\n" + plain;
    for (const std::string &text : {plain, declared})
        for (TParseOptions options : {TParseOptions{}, TParseOptions{poValidateOnParse}}) {
            // The main window opens documents on a worker thread.
            for (bool onWorker : {false, true}) {
                TXMLDocument doc;
                doc.SetParseOptions(options);
                if (onWorker)
                    std::thread([&] { doc.LoadString(text); }).join();
                else
                    doc.LoadString(text);
                // (The internal subset comes out in libxml2's own layout.)
                EXPECT_TRUE(doc.SaveString().ends_with(plain + "\n"));
                ExpectLinkedInOrder(doc, count);
            }
        }
}

} // namespace
} // namespace tarnwick::xml
