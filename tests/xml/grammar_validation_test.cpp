// Validation against a chosen grammar: RELAX NG verdicts on valid and
// invalid pairs, every error of a DTD, a schema or a grammar collected at its
// line, grammars that cannot be used; and Validate finding a RELAX NG grammar
// through <?xml-model?>.
#include <fstream>

#include "xml/grammar_validation.h"
#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

class GrammarValidation : public testing::XmlTest {
protected:
    std::string Write(const std::string &name, const std::string &text)
    {
        std::ofstream(folder.File(name), std::ios::binary) << text;
        return folder.File(name);
    }
    GrammarReport Check(const std::string &text, const std::string &grammar, size_t listed = 1000)
    {
        return ValidateAgainstGrammar(text, grammar, folder.Path(), listed);
    }
    static std::vector<int> Lines(const GrammarReport &report)
    {
        std::vector<int> lines;
        for (const GrammarProblem &p : report.problems)
            lines.push_back(p.line);
        return lines;
    }
    testing::TempFolder folder;
};

// Each grammar with documents it accepts and documents it rejects.
struct Pair {
    const char *grammar;
    std::vector<const char *> valid;
    std::vector<const char *> invalid;
};

TEST_F(GrammarValidation, RelaxNGAcceptsWhatItsGrammarAllowsAndRejectsTheRest)
{
    const char *const ns = "xmlns=\"http://relaxng.org/ns/structure/1.0\"";
    const char *const types = " datatypeLibrary=\"http://www.w3.org/2001/XMLSchema-datatypes\"";
    const std::vector<Pair> pairs = {
        // A sequence with an optional and a repeated element.
        {"<element name='a' NS><element name='b'><text/></element><optional><element name='c'><empty/></element>"
         "</optional><oneOrMore><element name='d'><empty/></element></oneOrMore></element>",
         {"<a><b>x</b><d/></a>", "<a><b/><c/><d/><d/></a>"},
         {"<a><d/></a>", "<a><b/><c/></a>", "<a><b/><d/><c/></a>", "<x/>"}},
        // A choice, and attributes, one of them optional.
        {"<element name='p' NS><attribute name='id'/><optional><attribute name='lang'/></optional>"
         "<choice><element name='q'><empty/></element><element name='r'><empty/></element></choice></element>",
         {"<p id='1'><q/></p>", "<p id='1' lang='en'><r/></p>"},
         {"<p><q/></p>", "<p id='1'><q/><r/></p>", "<p id='1' other='x'><q/></p>"}},
        // Interleave, a datatype, and a value list.
        {"<element name='m' NS TYPES><interleave><element name='n'><data type='integer'/></element>"
         "<element name='o'><choice><value>yes</value><value>no</value></choice></element></interleave></element>",
         {"<m><n>12</n><o>yes</o></m>", "<m><o>no</o><n>-3</n></m>"},
         {"<m><n>1.5</n><o>yes</o></m>", "<m><n>1</n><o>maybe</o></m>", "<m><n>1</n></m>"}},
        // Named patterns, a namespace, and mixed content.
        {"<grammar NS ns='urn:t'><start><element name='doc'><zeroOrMore><ref name='para'/></zeroOrMore></element>"
         "</start><define name='para'><element name='para'><mixed><zeroOrMore><element name='em'><text/>"
         "</element></zeroOrMore></mixed></element></define></grammar>",
         {"<doc xmlns='urn:t'/>", "<doc xmlns='urn:t'><para>a <em>b</em> c</para><para/></doc>"},
         {"<doc/>", "<doc xmlns='urn:t'><para><para/></para></doc>", "<doc xmlns='urn:t'>text</doc>"}},
    };
    for (size_t i = 0; i < pairs.size(); ++i) {
        std::string grammar = pairs[i].grammar;
        for (const auto &[from, to] : {std::pair<std::string, std::string>{"NS", ns}, {" TYPES", types}})
            if (size_t at = grammar.find(from); at != std::string::npos)
                grammar.replace(at, from.size(), to);
        const std::string path = Write("g" + std::to_string(i) + ".rng", grammar);
        for (const char *document : pairs[i].valid) {
            const GrammarReport report = Check(document, path);
            EXPECT_TRUE(report.valid) << document << ": "
                                      << (report.problems.empty() ? "" : report.problems[0].message);
        }
        for (const char *document : pairs[i].invalid) {
            const GrammarReport report = Check(document, path);
            EXPECT_FALSE(report.valid) << document;
            EXPECT_GE(report.problemCount, 1u) << document;
            EXPECT_FALSE(report.problems.empty() || report.problems[0].message.empty()) << document;
        }
    }
}

TEST_F(GrammarValidation, EveryErrorIsCollectedAtItsLine)
{
    const std::string text = "<catalog>\n"
                             "  <book id='1'/>\n"
                             "  <book/>\n"
                             "  <magazine/>\n"
                             "  <book id='2' extra='x'/>\n"
                             "</catalog>\n";
    const std::string dtd = Write("c.dtd", "<!ELEMENT catalog (book*)>\n<!ELEMENT book EMPTY>\n"
                                           "<!ATTLIST book id CDATA #REQUIRED>\n");
    const GrammarReport byDtd = Check(text, dtd);
    EXPECT_FALSE(byDtd.valid);
    // The missing attribute, the undeclared element and its place in the
    // content model, the undeclared attribute.
    const std::vector<int> lines = Lines(byDtd);
    for (int line : {3, 4, 5})
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;

    const std::string xsd = Write(
        "c.xsd", "<xs:schema xmlns:xs='http://www.w3.org/2001/XMLSchema'><xs:element name='catalog'><xs:complexType>"
                 "<xs:choice maxOccurs='unbounded'><xs:element name='book'><xs:complexType>"
                 "<xs:attribute name='id' type='xs:integer' use='required'/></xs:complexType></xs:element>"
                 "<xs:element name='magazine'/></xs:choice></xs:complexType></xs:element></xs:schema>");
    const GrammarReport bySchema = Check(text, xsd);
    EXPECT_EQ(Lines(bySchema), (std::vector<int>{3, 5}));
    EXPECT_EQ(bySchema.problemCount, 2u);

    // A long list keeps its first problems and counts the rest.
    std::string many = "<catalog>\n";
    for (int i = 0; i < 50; ++i)
        many += "<book/>\n";
    many += "</catalog>";
    const GrammarReport capped = Check(many, xsd, 10);
    EXPECT_EQ(capped.problemCount, 50u);
    ASSERT_EQ(capped.problems.size(), 10u);
    EXPECT_EQ(capped.problems[9].line, 11);
}

TEST_F(GrammarValidation, LinesPastSixtyFiveThousandAreCountedInFull)
{
    std::string text = "<r>\n";
    for (int i = 0; i < 70000; ++i)
        text += "<a/>\n";
    text += "<b/></r>";
    const std::string dtd = Write("r.dtd", "<!ELEMENT r (a*)><!ELEMENT a EMPTY>");
    const GrammarReport report = Check(text, dtd);
    const std::vector<int> lines = Lines(report);
    EXPECT_NE(std::find(lines.begin(), lines.end(), 70002), lines.end());
}

TEST_F(GrammarValidation, AGrammarThatCannotBeUsedIsSaidSo)
{
    const auto failure = [&](const std::string &grammar) -> std::string {
        try {
            Check("<a/>", grammar);
        } catch (const EXMLLayerError &error) {
            return error.what();
        }
        return "(used)";
    };
    EXPECT_NE(failure(Write("a.txt", "x")).find("no grammar"), std::string::npos);
    EXPECT_NE(failure(folder.File("missing.rng")).find("cannot be used"), std::string::npos);
    EXPECT_NE(failure("http://example.com/a.xsd").find("network"), std::string::npos);
    // A broken grammar names the place of its error, not its text.
    const std::string broken = failure(Write("broken.rng", "<element name='a'\n xmlns='http://relaxng.org/ns/"
                                                           "structure/1.0'><secret-word/></element>"));
    EXPECT_NE(broken.find("cannot be used"), std::string::npos) << broken;
    EXPECT_EQ(broken.find("secret-word"), std::string::npos) << broken;
    // A text that is not well-formed fails as Validate fails.
    EXPECT_THROW(Check("<a>", Write("ok.dtd", "<!ELEMENT a EMPTY>")), EDOMParseError);
}

TEST_F(GrammarValidation, ValidateFindsARelaxNGGrammarThroughXmlModel)
{
    Write("note.rng", "<element name='note' xmlns='http://relaxng.org/ns/structure/1.0'>"
                      "<element name='to'><text/></element></element>");
    TXMLDocument doc;
    doc.SetParseOptions({poValidateOnParse});
    doc.SetBaseDirectory(folder.Path());
    const auto load = [&](const std::string &text) -> std::string {
        try {
            doc.SetActive(false);
            doc.XML().SetText(text);
            doc.SetActive(true);
        } catch (const EDOMParseError &error) {
            return error.ParseError()->reason() + " @" + std::to_string(error.ParseError()->line());
        }
        return "(valid)";
    };
    const std::string model = "<?xml-model href=\"note.rng\" type=\"application/xml\" "
                              "schematypens=\"http://relaxng.org/ns/structure/1.0\"?>\n";
    EXPECT_EQ(load(model + "<note><to>x</to></note>"), "(valid)");
    const std::string invalid = load(model + "<note>\n<from/></note>");
    EXPECT_NE(invalid.find("@3"), std::string::npos) << invalid;
    // Found by its extension alone too; a missing grammar cannot check.
    EXPECT_NE(load("<?xml-model href='note.rng'?><note/>"), "(valid)");
    EXPECT_NE(load("<?xml-model href='none.rng'?><note/>").find("not loaded"), std::string::npos);
    // An instruction for another kind of grammar is not RELAX NG's.
    EXPECT_EQ(load("<?xml-model href='x.sch' schematypens='http://purl.oclc.org/dsdl/schematron'?><note/>"), "(valid)");
}

} // namespace
} // namespace tarnwick::xml
