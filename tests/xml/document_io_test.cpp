// Streams, 8-bit strings, refreshing, auto-save and the file name's rules.
#include <sstream>

#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

TEST_F(XmlTest, StreamLoadAndSaveUseTheDeclaredEncoding)
{
    std::istringstream in(std::string("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>"));
    TXMLDocument doc;
    doc.LoadStream(in);
    EXPECT_EQ(doc.LoadSource(), lsStream);
    std::ostringstream out;
    doc.SaveStream(out);
    EXPECT_EQ(out.str(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>\xE9</a>\n");
    doc.SetActive(false);
    EXPECT_EQ(doc.XML().Count(), 0);
}

TEST_F(XmlTest, AnsiStringsAreUtf8Text)
{
    TXMLDocument doc;
    doc.LoadAnsiString("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xC3\xA9</a>");
    EXPECT_EQ(doc.RootElement()->TextValue(), "\xC3\xA9");
    std::string text;
    doc.SaveAnsiString(text);
    EXPECT_EQ(text, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>\xC3\xA9</a>\n");
}

TEST_F(XmlTest, RefreshReloadsTheFile)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("a.xml"), "<a/>");
    TXMLDocument doc;
    doc.LoadFile(folder.File("a.xml"));
    testing::WriteFile(folder.File("a.xml"), "<b/>");
    doc.Refresh();
    EXPECT_EQ(doc.RootElement()->QualifiedName(), "b");
}

TEST_F(XmlTest, AutoSaveWritesAChangedFileOnClose)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("a.xml"), "<a/>");
    TXMLDocument doc;
    doc.SetOptions(doc.Options() + doAutoSave);
    doc.LoadFile(folder.File("a.xml"));
    doc.RootElement()->AddElement("b");
    doc.SetActive(false);
    EXPECT_EQ(testing::ReadFile(folder.File("a.xml")), "<a><b/></a>\n");
}

TEST_F(XmlTest, SettingAnotherFileNameDeactivatesADocumentLoadedFromAFile)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("a.xml"), "<a/>");
    TXMLDocument doc;
    doc.LoadFile(folder.File("a.xml"));
    doc.SetFileName(folder.File("other.xml"));
    EXPECT_FALSE(doc.Active());
    EXPECT_EQ(doc.FileName(), folder.File("other.xml"));
}

TEST_F(XmlTest, ConstructingWithAFileNameLoadsItOnActivation)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("a.xml"), "<a/>");
    TXMLDocument doc(folder.File("a.xml"));
    doc.SetActive(true);
    EXPECT_EQ(doc.LoadSource(), lsFile);
    EXPECT_EQ(doc.RootElement()->QualifiedName(), "a");
}

TEST_F(XmlTest, ASecondLoadThroughThePersistenceInterfaceReportsItsError)
{
    TXMLDocument doc;
    doc.SetParseOptions({poValidateOnParse});
    doc.XML().SetText("<a/>");
    doc.SetActive(true);
    std::shared_ptr<IDOMPersist> persist = doc.DOMPersistAccess();
    EXPECT_TRUE(persist->loadxml("<a/>"));
    EXPECT_EQ(persist->parseError()->errorCode(), 0);
    EXPECT_FALSE(persist->loadxml("<!DOCTYPE a [<!ELEMENT a EMPTY>]>\n<a><b/></a>"));
    EXPECT_NE(persist->parseError()->errorCode(), 0);
    EXPECT_EQ(persist->parseError()->line(), 2);
}

TEST_F(XmlTest, NodeChangeEventsNameTheChange)
{
    TXMLDocument doc;
    doc.LoadString("<a x='1'/>");
    std::vector<TNodeChange> changes;
    doc.AfterNodeChange = [&](TXMLNode &, TNodeChange change) { changes.push_back(change); };
    IXMLNodePtr root = doc.RootElement();
    root->AddElement("b");
    root->WriteAttribute("y", "2");
    root->Attributes().Item("x")->SetValue("3");
    root->Children().DeleteAt(0);
    std::vector<TNodeChange> expected = {ncInsertChild, ncUpdate, ncAddAttribute, ncUpdate, ncRemoveChild};
    EXPECT_EQ(changes, expected);
    EXPECT_EQ(doc.SaveString(), "<a x=\"3\" y=\"2\"/>\n");
}

TEST_F(XmlTest, RootElementCanBeReplaced)
{
    TXMLDocument doc;
    doc.LoadString("<?xml version=\"1.0\"?><!--c--><a/>");
    doc.SetRootElement(doc.NewElement("b"));
    EXPECT_EQ(doc.SaveString(), "<?xml version=\"1.0\"?>\n<!--c-->\n<b/>\n");
}

} // namespace
} // namespace tarnwick::xml
