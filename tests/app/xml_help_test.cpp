// XML help while typing in the main window: completion after "<", "</",
// in a start tag and inside an attribute's quotes, with a DTD, with an XML
// Schema and with no grammar; the live form check's underline.
#include "app/xml_form_checker.h"
#include "editor/control/completion.h"
#include "editor/platform/host.h"
#include "editor/qt/dodi_widget.h"
#include "shell_fixture.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

using Names = std::vector<std::string>;

class XmlHelp : public ShellTest {
protected:
    tarnwick::REdoDodi &Ed() { return window->Editor(); }
    QWidget &List() { return *dynamic_cast<QWidget *>(Ed().CompletionPopup()); }
    bool ListShown() { return Ed().CompletionPopup()->Visible(); }
    Names Entries()
    {
        Names names;
        for (const tarnwick::TCompletionItem &item : Ed().Completion().ListItems())
            names.push_back(item.Text);
        return names;
    }
    void OpenText(const QString &name, const QByteArray &text) { Open(WriteFile(name, text)); }
    void PlaceAt(int line, int col)
    {
        Ed().SetCaretLine(line);
        Ed().SetCaretCol(col);
        Ed().CollapseSelection();
    }
    QWidget &EditorWidget() { return window->EditorWidget(); }
    void Type(const char *text) { QTest::keyClicks(&EditorWidget(), QString::fromUtf8(text)); }
    std::string Line(int line) { return Ed().Lines()->Get(line); }
    // Which line has an underline, and where it starts; {-1, -1} for none.
    std::pair<int, int> Underline()
    {
        for (int line = 0; line < Ed().Lines()->Count(); ++line)
            if (const tarnwick::TLineProp *p = Ed().Lines()->LinePropOf(line); p && p->HasUnderlines())
                return {line, p->UnderlineRanges->Starts[0]};
        return {-1, -1};
    }
};

TEST_F(XmlHelp, AfterALessThanTheElementsTheDtdAllowsThereOneUndoStepToInsert)
{
    WriteFile("shelf.dtd", "<!ELEMENT shelf (book*)>\n<!ELEMENT book (title, author?, price)>\n"
                           "<!ELEMENT title (#PCDATA)>\n<!ELEMENT author (#PCDATA)>\n<!ELEMENT price EMPTY>\n");
    OpenText("shelf.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE shelf SYSTEM \"shelf.dtd\">\n"
                          "<shelf>\n<book><title>T</title></book>\n</shelf>\n");
    PlaceAt(3, 22);
    Type("<");
    QTRY_VERIFY(ListShown());
    EXPECT_EQ(Entries(), (Names{"author", "price"}));
    QTest::keyClick(&List(), Qt::Key_P);
    EXPECT_EQ(Entries(), (Names{"price"}));
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_FALSE(ListShown());
    EXPECT_EQ(Line(3), "<book><title>T</title><price</book>");
    Ed().Undo();
    EXPECT_EQ(Line(3), "<book><title>T</title><p</book>") << "the insertion was one step";
}

TEST_F(XmlHelp, WithASchemaAttributesAndTheirValuesWithoutAGrammarTheOpenElement)
{
    WriteFile("order.xsd", "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">\n"
                           "<xs:element name=\"order\"><xs:complexType>\n"
                           "<xs:attribute name=\"size\"><xs:simpleType><xs:restriction base=\"xs:string\">\n"
                           "<xs:enumeration value=\"small\"/><xs:enumeration value=\"large\"/>\n"
                           "</xs:restriction></xs:simpleType></xs:attribute>\n"
                           "<xs:attribute name=\"note\" type=\"xs:string\"/>\n"
                           "</xs:complexType></xs:element>\n</xs:schema>\n");
    OpenText("order.xml", "<order xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                          "xsi:noNamespaceSchemaLocation=\"order.xsd\">\n</order>\n");
    const std::string tag = Line(0);
    PlaceAt(0, static_cast<int>(tag.size()) - 1);
    Type(" ");
    QTest::keyClick(&EditorWidget(), Qt::Key_Space, Qt::ControlModifier);
    ASSERT_TRUE(ListShown());
    EXPECT_EQ(Entries(), (Names{"size", "note"}));
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_EQ(Line(0), tag.substr(0, tag.size() - 1) + " size=\"\">");
    QTRY_VERIFY(ListShown()); // the caret stepped into the quotes, and the values follow
    EXPECT_EQ(Entries(), (Names{"small", "large"}));
    QTest::keyClick(&List(), Qt::Key_Down);
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_EQ(Line(0), tag.substr(0, tag.size() - 1) + " size=\"large\">");

    OpenText("plain.xml", "<list>\n<entry><item/>\n</list>\n");
    PlaceAt(1, 14);
    Type("</");
    QTRY_VERIFY(ListShown());
    EXPECT_EQ(Entries(), (Names{"entry", "list"})) << "the element open here first";
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_EQ(Line(1), "<entry><item/></entry>");
}

TEST_F(XmlHelp, TheFormCheckUnderlinesTheFirstErrorFollowsEditsAndGoes)
{
    OpenText("form.xml", "<a>\n  <b>text</c>\n</a>\n");
    QTRY_COMPARE(Underline(), (std::pair<int, int>{1, 9}));
    std::string hint;
    const int w = Ed().CharWidth(), h = Ed().LineHeight();
    ASSERT_TRUE(Ed().HintAt(Ed().TextArea().left + 10 * w + 1, Ed().TextArea().top + h + 1, hint));
    EXPECT_NE(hint.find("mismatch"), std::string::npos) << hint;

    PlaceAt(0, 0);
    QTest::keyClick(&EditorWidget(), Qt::Key_Return);
    EXPECT_EQ(Underline().first, 2) << "the mark moves with its line at once";
    QTRY_COMPARE(Underline(), (std::pair<int, int>{2, 9}));
    PlaceAt(2, 12);
    QTest::keyClick(&EditorWidget(), Qt::Key_Backspace);
    Type("b");
    QTRY_COMPARE(Underline(), (std::pair<int, int>{-1, -1}));
}

TEST(XmlMarks, AMarkCoversTheTagOrReferenceBeforeItOrTheNameAtIt)
{
    struct Case {
        const char *line;
        int column, markColumn, markLength;
    } const cases[] = {
        {"  <b>text</c>", 13, 9, 4},                  // just after a tag
        {"x &amp; y", 7, 2, 5},                       // just after a reference
        {"<\xC3\xA9\xE5\x90\x8D x=\"1\"/>", 1, 1, 2}, // the name at the column, in characters
        {"<a b", 9, 3, 1},                            // past the end: the last character
        {"a > b", 3, 3, 1},                           // a '>' with no '<' before it
    };
    for (const Case &c : cases) {
        int column = c.column, length = 0;
        XmlMarkExtent(c.line, column, length);
        EXPECT_EQ(std::make_pair(column, length), std::make_pair(c.markColumn, c.markLength)) << c.line;
    }
}

TEST_F(XmlHelp, AnErrorInANameOfTwentyMegabytesIsMarkedAndTheWindowKeepsAnswering)
{
    // On the interface thread the mark widens to the name the error points
    // into, and after "</" the list offers to close that name: both over a
    // line of 20 MB, again after each key. Each took minutes.
    QElapsedTimer clock;
    clock.start();
    OpenText("name.xml", "<" + QByteArray(20 << 20, 'a'));
    QTRY_VERIFY_WITH_TIMEOUT(Underline().first == 0, 30000);
    EXPECT_LT(clock.elapsed(), 15000);
    const tarnwick::TLineProp *marked = Ed().Lines()->LinePropOf(0);
    EXPECT_EQ(marked->UnderlineRanges->Starts[0] + marked->UnderlineRanges->Lengths[0], (20 << 20) + 1);

    PlaceAt(0, 1 + (20 << 20));
    for (const char *typed : {">", "<", "/"}) {
        clock.restart();
        Type(typed);
        QTest::qWait(1000);
        EXPECT_LT(clock.elapsed(), 6000) << typed;
    }
    EXPECT_FALSE(ListShown());
}

} // namespace
