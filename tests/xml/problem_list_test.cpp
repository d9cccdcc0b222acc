// Every problem listed, not only the first: Validate's parse and validators
// under a ProblemListScope (DTD, XML Schema, RELAX NG through xml-model),
// which still fail with the first error; the form check's every error and
// warning against libxml2's own tree parse; hostile documents whose listed
// messages must not show the files they read.
#include "xml/problem_list.h"
#include "xml/wellformedness.h"
#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

#include <libxml/parser.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>

namespace tarnwick::xml {
namespace {

class ListedValidation : public testing::XmlTest {
protected:
    // Validates `text` as Validate does, every problem going to `list`;
    // returns the error the load failed with (code 0 when it passed).
    IDOMParseErrorPtr Validate(const std::string &text, ProblemList &list)
    {
        TXMLDocument doc;
        doc.SetParseOptions({poValidateOnParse});
        doc.XML().SetText(text);
        doc.SetBaseDirectory(folder.Path());
        ProblemListScope scope(list);
        try {
            doc.SetActive(true);
        } catch (const EDOMParseError &e) {
            return e.ParseError();
        }
        return doc.DOMPersistAccess()->parseError();
    }
    static std::set<int> ErrorLines(const ProblemList &list)
    {
        std::set<int> lines;
        for (const DocumentProblem &p : list.Listed())
            if (!p.warning)
                lines.insert(p.line);
        return lines;
    }
    testing::TempFolder folder;
};

TEST_F(ListedValidation, EveryErrorOfADtdASchemaAndARelaxNGGrammarIsListedAndTheFirstStillFails)
{
    testing::WriteFile(folder.File("n.xsd"),
                       "<xs:schema xmlns:xs='http://www.w3.org/2001/XMLSchema'><xs:element name='list'>"
                       "<xs:complexType><xs:sequence><xs:element name='n' type='xs:integer' maxOccurs='unbounded'/>"
                       "</xs:sequence></xs:complexType></xs:element></xs:schema>");
    testing::WriteFile(folder.File("n.rng"),
                       "<element name='list' xmlns='http://relaxng.org/ns/structure/1.0' "
                       "datatypeLibrary='http://www.w3.org/2001/XMLSchema-datatypes'><oneOrMore>"
                       "<element name='n'><data type='integer'/></element></oneOrMore></element>");
    const std::string body = "<n>1</n>\n<n>x</n>\n<n>2</n>\n<n>y</n>\n</list>\n";
    struct Case {
        const char *grammar;
        std::string text;
        std::set<int> lines;
    } const cases[] = {
        {"DTD",
         "<!DOCTYPE list [<!ELEMENT list (n*)><!ELEMENT n (#PCDATA)>]>\n<list>\n<n/>\n<c/>\n<n/>\n<d/>\n</list>\n",
         {4, 6}},
        {"XML Schema",
         "<list xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' xsi:noNamespaceSchemaLocation='n.xsd'>\n" + body,
         {3, 5}},
        {"RELAX NG", "<?xml-model href='n.rng'?>\n<list>\n" + body, {4, 6}},
    };
    for (const Case &c : cases) {
        ProblemList list;
        const IDOMParseErrorPtr first = Validate(c.text, list);
        ASSERT_TRUE(first && first->errorCode() != 0) << c.grammar;
        const std::set<int> lines = ErrorLines(list);
        for (int line : c.lines)
            EXPECT_TRUE(lines.count(line)) << c.grammar << " line " << line;
        ASSERT_FALSE(list.Listed().empty()) << c.grammar;
        EXPECT_EQ(list.Listed().front().line, first->line()) << c.grammar << ": the first listed is the one told";
        EXPECT_EQ(list.Listed().front().message, first->reason()) << c.grammar;
        EXPECT_EQ(list.Count(), list.Listed().size()) << c.grammar;
    }

    // A valid document lists nothing.
    ProblemList none;
    EXPECT_EQ(Validate("<!DOCTYPE a [<!ELEMENT a EMPTY>]><a/>", none)->errorCode(), 0);
    EXPECT_EQ(none.Count(), 0u);
}

TEST_F(ListedValidation, AListKeepsTheFirstItWasToldToAndCountsTheRest)
{
    std::string text = "<!DOCTYPE a [<!ELEMENT a EMPTY>]>\n<a>";
    for (int i = 0; i < 30; ++i)
        text += "\n<x" + std::to_string(i) + "/>";
    text += "\n</a>";
    ProblemList list(10);
    Validate(text, list);
    EXPECT_EQ(list.Listed().size(), 10u);
    EXPECT_GE(list.Count(), 30u);
    EXPECT_EQ(list.Listed()[0].line, 3) << "the undeclared elements, one a line, in order";
    EXPECT_EQ(list.Listed()[9].line, 12);
}

// Documents that try to show another file's text in a message (the test
// data's hostile folder), beside the files they name.
TEST_F(ListedValidation, NoListedMessageQuotesAFileTheDocumentReads)
{
    for (const auto &entry : std::filesystem::directory_iterator(std::string(TARNWICK_TEST_DATA) + "/hostile"))
        std::filesystem::copy_file(entry.path(), folder.File(entry.path().filename().string()));
    testing::WriteFile(folder.File("secret.txt"), "SECRET line one\nSECRET line two\n");
    testing::WriteFile(folder.File("secret-name.txt"), "SECRETNAME");
    size_t listed = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder.Path())) {
        if (entry.path().extension() != ".xml")
            continue;
        ProblemList list;
        Validate(testing::ReadFile(entry.path().string()), list);
        listed += list.Count();
        for (const DocumentProblem &p : list.Listed())
            EXPECT_EQ(p.message.find("SECRET"), std::string::npos) << entry.path() << ": " << p.message;
    }
    EXPECT_GT(listed, 3u) << "the errors in the files they read were listed";
}

// libxml2 building its tree from the same text lists every error and
// warning it meets, an entity a DTD may declare left aside.
std::vector<DocumentProblem> TreeParseProblems(const std::string &text)
{
    std::vector<DocumentProblem> found;
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    ctxt->_private = &found;
    ctxt->sax->serror = [](void *c, xmlErrorPtr e) {
        if (e->code == XML_WAR_UNDECLARED_ENTITY)
            return;
        std::string message = e->message ? e->message : "";
        while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
            message.pop_back();
        std::replace(message.begin(), message.end(), '\n', ' '); // a list's entry is one line
        static_cast<std::vector<DocumentProblem> *>(static_cast<xmlParserCtxtPtr>(c)->_private)
            ->push_back({e->line, e->int2, message, e->level < XML_ERR_ERROR});
    };
    xmlDocPtr doc = xmlCtxtReadMemory(ctxt, text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                      XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_IGNORE_ENC);
    xmlFreeDoc(doc);
    xmlFreeParserCtxt(ctxt);
    return found;
}

std::optional<ProblemList> FormProblems(std::string_view text, const std::atomic<bool> *cancel = nullptr)
{
    return WellFormednessProblems(
        [&](char *buffer, size_t length) {
            const size_t n = std::min(text.size(), length);
            text.copy(buffer, n);
            text.remove_prefix(n);
            return n;
        },
        cancel);
}

TEST(FormProblems, EveryErrorAndWarningInOrderAsTheTreeParseMeetsThem)
{
    const auto listed = FormProblems("<a xmlns='foo' x='1' x='2'>\n<b>&nope;</b>\n<c y=3/>\n</a>\n");
    ASSERT_TRUE(listed);
    ASSERT_GE(listed->Listed().size(), 4u);
    EXPECT_TRUE(listed->Listed()[0].warning) << "a namespace name that is no URI: " << listed->Listed()[0].message;
    std::vector<int> lines;
    for (const DocumentProblem &p : listed->Listed())
        lines.push_back(p.line);
    EXPECT_EQ(std::vector<int>(lines.begin(), lines.begin() + 4), (std::vector<int>{1, 1, 2, 3}));
    EXPECT_EQ(listed->ErrorCount() + 1, listed->Count());

    EXPECT_EQ(FormProblems("<!DOCTYPE a SYSTEM 'a.dtd'>\n<a>&declaredThere;</a>")->Count(), 0u);
    EXPECT_EQ(FormProblems("")->ErrorCount(), 1u) << "an empty text fails with a word";
    std::atomic<bool> cancel = true;
    EXPECT_FALSE(FormProblems("<a>", &cancel));

    // Over the sample documents broken at random places, the same list.
    std::mt19937 random(29);
    int compared = 0;
    for (const auto &entry : std::filesystem::directory_iterator(std::string(TARNWICK_TEST_DATA) + "/documents")) {
        const std::string original = testing::ReadFile(entry.path().string());
        if (original.find('\0') != std::string::npos)
            continue;
        for (int trial = 0; trial < 30; ++trial) {
            std::string text = original;
            for (int cut = 0; cut <= trial % 3; ++cut) {
                const size_t at = std::uniform_int_distribution<size_t>(0, text.size() - 1)(random);
                const char *inserts[] = {"<", "&", "</x>", "\"", ">", "", "<y a='1' a='2'>"};
                text.replace(at, trial % 2, inserts[(trial + cut) % 7]);
            }
            const std::vector<DocumentProblem> expected = TreeParseProblems(text);
            const std::optional<ProblemList> found = FormProblems(text);
            ASSERT_TRUE(found);
            if (expected.empty()) {
                EXPECT_EQ(found->Count(), 0u) << entry.path();
                continue;
            }
            ASSERT_EQ(found->Listed().size(), expected.size()) << entry.path() << " trial " << trial;
            for (size_t i = 0; i < expected.size(); ++i) {
                const DocumentProblem &f = found->Listed()[i], &e = expected[i];
                // Where a message quotes the text after its reason, the quote
                // depends on what the parse keeps (the check keeps no comment).
                EXPECT_EQ(std::tie(f.line, f.column, f.warning), std::tie(e.line, e.column, e.warning))
                    << entry.path() << " trial " << trial << " #" << i << ": " << e.message;
                EXPECT_EQ(f.message.substr(0, 20), e.message.substr(0, 20));
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 100);
}

} // namespace
} // namespace tarnwick::xml
