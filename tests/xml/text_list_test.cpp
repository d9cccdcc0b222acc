// The document's text list and its synchronisation with the DOM.
#include "xml/text_list.h"

#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

TEST(TXMLStrings, TextEndsEveryLineWithCrLf)
{
    TXMLStrings list;
    list.SetText("a\r\nb\nc");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\n");
}

TEST(TXMLStrings, FinalLineBreakAddsNoEmptyLine)
{
    TXMLStrings list;
    list.SetText("a\r\n\r\n");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list[1], "");
}

TEST(TXMLStrings, IndexOutOfRangeRaisesTheListError)
{
    TXMLStrings list;
    list.Add("x");
    try {
        list.Strings(3);
        FAIL();
    } catch (const EStringListError &e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
    }
}

TEST(TXMLStrings, LinesAndTextStayInStepThroughEdits)
{
    TXMLStrings list;
    list.SetText("a\nbb\r\n\rccc");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[2], "");
    list.SetStrings(2, "x");
    list.Add(list[0]);
    list.Insert(0, "first");
    list.Delete(2);
    EXPECT_EQ(list.Text(), "first\r\na\r\nx\r\nccc\r\na\r\n");
    EXPECT_EQ(list.Count(), 5);
    list.SetText(list.Text());
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list[4], "a");
    std::vector<std::string> expected = {"first", "a", "x", "ccc", "a"};
    EXPECT_EQ(list.Lines(), expected);
}

TEST(TXMLStrings, HookRunsBeforeEveryChangeButNotForClearingAnEmptyList)
{
    TXMLStrings list;
    int calls = 0;
    list.OnChanging = [&] { ++calls; };
    list.Clear();
    EXPECT_EQ(calls, 0);
    list.SetText("a");
    list.Add("b");
    list.Clear();
    EXPECT_EQ(calls, 3);
}

TEST_F(XmlTest, ActivatingWithNothingGivesAnEmptyDocumentAndAnEmptyList)
{
    TXMLDocument doc;
    doc.SetActive(true);
    EXPECT_TRUE(doc.Active());
    EXPECT_TRUE(doc.IsEmpty());
    EXPECT_EQ(doc.XML().Count(), 0);
}

TEST_F(XmlTest, SettingTheTextWhileActiveDeactivatesAndClearsTheFileName)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("a.xml"), "<a/>");
    TXMLDocument doc;
    doc.LoadFile(folder.File("a.xml"));
    ASSERT_TRUE(doc.Active());
    doc.XML().SetText("<b/>");
    EXPECT_FALSE(doc.Active());
    EXPECT_EQ(doc.FileName(), "");
    EXPECT_EQ(doc.XML().Text(), "<b/>\r\n");
}

TEST_F(XmlTest, ClearingAnEmptyListLeavesTheDocumentAlone)
{
    TXMLDocument doc;
    doc.SetActive(true);
    doc.XML().Clear();
    EXPECT_TRUE(doc.Active());
}

TEST_F(XmlTest, AfterActivationFromTheListTheLinesStayAsTheyWereSet)
{
    TXMLDocument doc;
    doc.XML().SetText("<a>\r\n   <b   x='1'/>\r\n</a>");
    doc.SetParseOptions({poPreserveWhiteSpace});
    doc.SetActive(true);
    EXPECT_EQ(doc.LoadSource(), lsTextList);
    EXPECT_EQ(doc.XML()[1], "   <b   x='1'/>");
}

TEST_F(XmlTest, ANodeChangeRegeneratesTheListFromTheDom)
{
    TXMLDocument doc;
    doc.XML().SetText("<a>\r\n   <b   x='1'/>\r\n</a>");
    doc.SetParseOptions({poPreserveWhiteSpace});
    doc.SetActive(true);
    doc.RootElement()->WriteAttribute("y", "2");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.XML().Text(), "<a y=\"2\">\r\n   <b x=\"1\"/>\r\n</a>\r\n");
}

TEST_F(XmlTest, AfterLoadFileTheListIsTheVendorSerialisation)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("a.xml"), "<a   x='1'><b></b></a>");
    TXMLDocument doc;
    doc.LoadFile(folder.File("a.xml"));
    EXPECT_EQ(doc.XML().Text(), "<a x=\"1\"><b/></a>\r\n");
}

TEST_F(XmlTest, DeactivatingAfterAFileLoadEmptiesTheList)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("a.xml"), "<a/>");
    TXMLDocument doc;
    doc.LoadFile(folder.File("a.xml"));
    EXPECT_EQ(doc.XML().Count(), 1);
    doc.SetActive(false);
    EXPECT_EQ(doc.XML().Count(), 0);
}

TEST_F(XmlTest, FailedLoadFromTheListLeavesItUnchangedAndTheDocumentInactive)
{
    TXMLDocument doc;
    doc.XML().SetText("<a><b></a>");
    EXPECT_THROW(doc.SetActive(true), EDOMParseError);
    EXPECT_FALSE(doc.Active());
    EXPECT_EQ(doc.XML().Text(), "<a><b></a>\r\n");
}

TEST_F(XmlTest, WhitespaceOnlyTextIsDroppedWithoutPreservation)
{
    TXMLDocument doc;
    doc.XML().SetText("<a>\r\n  <b> x </b>\r\n  <c>  </c>\r\n</a>");
    doc.SetActive(true);
    IXMLNodePtr root = doc.RootElement();
    ASSERT_EQ(root->Children().Count(), 2);
    EXPECT_EQ(root->Children().Item(0)->TextValue(), " x ");
    EXPECT_FALSE(root->Children().Item(1)->HasChildren());
}

TEST_F(XmlTest, WhitespaceOnlyTextIsKeptWithPreservation)
{
    TXMLDocument doc;
    doc.SetParseOptions({poPreserveWhiteSpace});
    doc.XML().SetText("<a>\r\n  <b/>\r\n</a>");
    doc.SetActive(true);
    EXPECT_EQ(doc.RootElement()->Children().Count(), 3);
}

TEST_F(XmlTest, EventsAreRaisedAroundOpenAndClose)
{
    TXMLDocument doc;
    std::string trace;
    doc.BeforeOpen = [&](TXMLDocument &) { trace += "bo "; };
    doc.AfterOpen = [&](TXMLDocument &) { trace += "ao "; };
    doc.BeforeClose = [&](TXMLDocument &) { trace += "bc "; };
    doc.AfterClose = [&](TXMLDocument &) { trace += "ac"; };
    doc.SetActive(true);
    doc.SetActive(false);
    EXPECT_EQ(trace, "bo ao bc ac");
}

} // namespace
} // namespace tarnwick::xml
