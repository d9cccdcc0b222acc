// Adding nodes with automatic indentation, and the node lists' bookkeeping.
#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

std::string Kinds(TXMLNodeList &list)
{
    std::string s;
    for (int i = 0; i < list.Count(); ++i) {
        IXMLNodePtr n = list.Item(i);
        if (!s.empty())
            s += ",";
        s += n->Kind() == ntText ? "'" + n->Value() + "'" : n->QualifiedName();
    }
    return s;
}

class AutoIndentTest : public XmlTest {
protected:
    void SetUp() override
    {
        XmlTest::SetUp();
        doc.SetNodeIndentStr("    ");
        doc.SetActive(true);
        doc.SetOptions({doNodeAutoIndent});
    }
    TXMLDocument doc;
};

TEST_F(AutoIndentTest, FirstChildOfTheRootGetsLineBreaksAndOneUnit)
{
    IXMLNodePtr root = doc.AddElement("xml");
    root->AddElement("a");
    EXPECT_EQ(Kinds(root->Children()), "'\r\n','    ',a,'\r\n'");
}

TEST_F(AutoIndentTest, SecondChildFollowsOnItsOwnLine)
{
    IXMLNodePtr root = doc.AddElement("xml");
    root->AddElement("a");
    root->AddElement("b");
    EXPECT_EQ(Kinds(root->Children()), "'\r\n','    ',a,'\r\n','    ',b,'\r\n'");
}

TEST_F(AutoIndentTest, GrandchildIsIndentedByItsDepth)
{
    IXMLNodePtr root = doc.AddElement("xml");
    IXMLNodePtr a = root->AddElement("a");
    a->AddElement("c");
    EXPECT_EQ(Kinds(a->Children()), "'\r\n    ','    ',c,'\r\n    '");
    EXPECT_EQ(doc.SaveString(), "<xml>\n    <a>\n        <c/>\n    </a>\n</xml>\n");
}

TEST_F(AutoIndentTest, TheNewDocumentComesOutAsFourLines)
{
    doc.SetDeclVersion("1.0");
    doc.SetDeclEncoding("ISO-8859-1");
    IXMLNodePtr root = doc.AddElement("xml");
    root->AddElement("a");
    doc.NewElement("here", "a");
    EXPECT_EQ(doc.XML().Text(),
              testing::CrLf("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<xml>\n    <a/>\n</xml>\n"));
}

TEST_F(AutoIndentTest, LineBreaksComeOutPlainNeverAsCharacterReferences)
{
    IXMLNodePtr root = doc.AddElement("xml");
    root->AddElement("a");
    EXPECT_EQ(doc.SaveString().find("&#"), std::string::npos);
    EXPECT_EQ(doc.XML().Text().find("&#"), std::string::npos);
}

TEST_F(AutoIndentTest, TheDocumentNodeReceivesNoIndentation)
{
    doc.AddElement("xml");
    doc.Children().Append(doc.NewNode("c", ntComment));
    EXPECT_EQ(Kinds(doc.Children()), "xml,#comment");
}

TEST_F(AutoIndentTest, InsertingATextNodeAddsNoIndentation)
{
    IXMLNodePtr root = doc.AddElement("xml");
    root->Children().Append(doc.NewNode("hello", ntText));
    EXPECT_EQ(Kinds(root->Children()), "'hello'");
}

TEST_F(AutoIndentTest, WithoutTheOptionNodesAreInsertedPlainly)
{
    doc.SetOptions({});
    IXMLNodePtr root = doc.AddElement("xml");
    root->AddElement("a");
    EXPECT_EQ(Kinds(root->Children()), "a");
}

TEST_F(AutoIndentTest, InsertAtAnIndexIndentsAfterTheNodeAtTheOwnersDepth)
{
    IXMLNodePtr root = doc.AddElement("xml");
    root->AddElement("a");
    root->Children().InsertAt(0, doc.NewElement("z"));
    EXPECT_EQ(Kinds(root->Children()), "z,'\r\n    ','\r\n','    ',a,'\r\n'");
}

TEST_F(AutoIndentTest, ChangesCountAndRaiseNodeChangeEvents)
{
    int before = 0, after = 0;
    doc.BeforeNodeChange = [&](TXMLNode &, TNodeChange) { ++before; };
    doc.AfterNodeChange = [&](TXMLNode &, TNodeChange) { ++after; };
    EXPECT_FALSE(doc.IsModified());
    doc.AddElement("xml");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
}

TEST_F(XmlTest, AppendingManyChildrenStaysLinear)
{
    TXMLDocument doc;
    doc.SetActive(true);
    doc.SetOptions({doNodeAutoIndent});
    IXMLNodePtr root = doc.AddElement("root");
    TXMLNodeList &children = root->Children();
    for (int i = 0; i < 100000; ++i)
        children.Append(doc.NewElement("item"));
    EXPECT_EQ(children.Count(), 100000 * 3 + 1);
    std::string text = doc.SaveString();
    EXPECT_EQ(text.substr(0, 16), "<root>\n  <item/>");
}

TEST_F(XmlTest, NodeListReadsAndRemoves)
{
    TXMLDocument doc;
    doc.LoadString("<r><a/><b x='1'/><c/></r>");
    TXMLNodeList &list = doc.RootElement()->Children();
    EXPECT_EQ(list.FirstItem()->QualifiedName(), "a");
    EXPECT_EQ(list.LastItem()->QualifiedName(), "c");
    EXPECT_EQ(list.Item("b")->ReadAttribute("x"), "1");
    EXPECT_EQ(list.RemoveNode(list.Item("b")), 1);
    EXPECT_EQ(doc.SaveString(), "<r><a/><c/></r>\n");
    list.ReplaceWith(list.Item(0), doc.NewElement("z"));
    EXPECT_EQ(doc.SaveString(), "<r><z/><c/></r>\n");
    list.DeleteAt(1);
    EXPECT_EQ(doc.SaveString(), "<r><z/></r>\n");
    EXPECT_THROW(list.Item(5), EStringListError);
}

TEST_F(XmlTest, ItemByNameAutoCreatesOnlyWithTheOption)
{
    TXMLDocument doc;
    doc.LoadString("<r/>");
    EXPECT_EQ(doc.RootElement()->Children().Item("n")->QualifiedName(), "n");
    doc.SetOptions({});
    try {
        doc.RootElement()->Children().Item("m");
        FAIL();
    } catch (const EXMLDocError &e) {
        EXPECT_STREQ(e.what(), "Node \"m\" not found");
    }
}

TEST_F(XmlTest, TextValueNeedsASingleTextChild)
{
    TXMLDocument doc;
    doc.LoadString("<r><a>t</a><b><c/></b><e/></r>");
    IXMLNodePtr root = doc.RootElement();
    EXPECT_EQ(root->Children().Item("a")->TextValue(), "t");
    EXPECT_EQ(root->Children().Item("e")->TextValue(), "");
    EXPECT_TRUE(root->Children().Item("e")->HasChildren());
    try {
        root->Children().Item("b")->TextValue();
        FAIL();
    } catch (const EXMLDocError &e) {
        EXPECT_STREQ(e.what(), "Element does not contain a single text node");
    }
    root->Children().Item("a")->SetTextValue("new & <");
    EXPECT_EQ(doc.SaveString(), "<r><a>new &amp; &lt;</a><b><c/></b><e></e></r>\n");
}

TEST_F(XmlTest, AddElementTakesTheParentsPrefixAndNamespace)
{
    TXMLDocument doc;
    doc.LoadString("<p:r xmlns:p='urn:p'/>");
    IXMLNodePtr child = doc.RootElement()->AddElement("c");
    EXPECT_EQ(child->QualifiedName(), "p:c");
    EXPECT_EQ(child->Namespace(), "urn:p");
    EXPECT_EQ(doc.SaveString(), "<p:r xmlns:p=\"urn:p\"><p:c/></p:r>\n");
}

TEST_F(XmlTest, AddElementWithANewNamespaceGeneratesAPrefixAndDeclaresIt)
{
    TXMLDocument doc;
    doc.LoadString("<r/>");
    IXMLNodePtr child = doc.RootElement()->AddElement("c", "urn:new", true);
    EXPECT_EQ(child->QualifiedName(), "NS1:c");
    EXPECT_EQ(doc.SaveString(), "<r><NS1:c xmlns:NS1=\"urn:new\"/></r>\n");
}

TEST_F(XmlTest, NavigationBetweenWrappers)
{
    TXMLDocument doc;
    doc.LoadString("<r><a/><b/></r>");
    IXMLNodePtr a = doc.RootElement()->Children().Item(0);
    EXPECT_EQ(a->FollowingSibling()->QualifiedName(), "b");
    EXPECT_EQ(a->PrecedingSibling(), nullptr);
    EXPECT_EQ(a->Parent(), doc.RootElement());
    EXPECT_EQ(a->AncestorCount(), 2);
}

TEST_F(XmlTest, InvalidNodeTypeForNewNode)
{
    TXMLDocument doc;
    doc.SetActive(true);
    try {
        doc.NewNode("x", ntDocType);
        FAIL();
    } catch (const EXMLDocError &e) {
        EXPECT_STREQ(e.what(), "Invalid node type");
    }
}

TEST_F(XmlTest, NamesThatAreNotXmlNamesAreRefused)
{
    TXMLDocument doc;
    doc.LoadString("<r/>");
    for (const char *name : {"two words", "\\\\", "", "1a"}) {
        try {
            doc.RootElement()->AddElement(name);
            ADD_FAILURE() << name;
        } catch (const DOMException &e) {
            EXPECT_NE(std::string(e.what()).find("not a valid XML name"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(doc.SaveString(), "<r/>\n");
    EXPECT_THROW(doc.RootElement()->WriteAttribute("a b", "1"), DOMException);
}

TEST_F(XmlTest, WrappersOutliveTheirDocumentSafely)
{
    IXMLNodePtr kept;
    {
        TXMLDocument doc;
        doc.LoadString("<r><a/></r>");
        kept = doc.RootElement();
    }
    EXPECT_EQ(kept->QualifiedName(), "r");
    EXPECT_EQ(kept->OwnerDocument(), nullptr);
    EXPECT_THROW(kept->AddElement("x"), EXMLDocError);
}

} // namespace
} // namespace tarnwick::xml
