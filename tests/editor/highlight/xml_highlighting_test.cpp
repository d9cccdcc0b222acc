// XML drawn as XML by the main window's editor and styler: the cases that
// real documents are full of, and an oracle over real and generated documents
// where libxml2 says which bytes are comments, text content and markup.
#include "app/main_editor_settings.h"
#include "app/main_styler.h"
#include "editor/base/utf8.h"
#include "editor/control/redodi.h"
#include "editor/highlight/xml_styler.h"
#include "painted_colours.h"
#include "xml_parts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace tarnwick {
namespace {

const TRunColour kName{clMaroon, clWhite, {fsBold}};
const TRunColour kDelimiter{clBlue, clWhite, {}};
const TRunColour kText{clBlack, clWhite, {}};
const TRunColour kComment{clGray, clWhite, {fsItalic}};
const TRunColour kUrl{clBlue, clWhite, {fsUnderline}};
// Line breaks are not drawn.
const TRunColour kBreak{clNone, clNone, {}};

class MainWindowXml : public ::testing::Test {
protected:
    MainWindowXml()
    {
        ConfigureMainStyler(styler);
        ConfigureMainEditor(editor, styler);
        editor.PrepareTokenizer();
        context.Styler = &styler;
        context.FontColor = editor.Font().Color;
        context.FontStyle = editor.Font().Style;
        context.BkColor = editor.BkColor();
        context.UrlStyle = editor.UrlStyle();
    }

    // The colour of every byte of `text`, painting from the top; with
    // `fromRow`, painting starts there in the state the view computes for it.
    std::vector<TRunColour> Paint(std::string_view text, int fromRow = 0)
    {
        editor.Lines()->LoadFromString(text);
        RunState state = editor.ComputeTopState(fromRow);
        std::vector<TRunColour> colours;
        int row = 0;
        for (size_t at = 0; at <= text.size(); ++row) {
            const size_t end = std::min(text.size(), text.find('\n', at));
            if (row >= fromRow) {
                const auto line = PaintLine(editor.Tokenizer(), context, text.substr(at, end - at), state);
                colours.insert(colours.end(), line.begin(), line.end());
            } else {
                colours.insert(colours.end(), end - at, kBreak);
            }
            if (end < text.size())
                colours.push_back(kBreak);
            at = end + 1;
        }
        return colours;
    }

    // The colours of the first occurrence of `part` in `text`.
    std::vector<TRunColour> ColoursOf(std::string_view text, std::string_view part)
    {
        const size_t at = text.find(part);
        EXPECT_NE(at, std::string_view::npos) << part;
        const auto all = Paint(text);
        return {all.begin() + at, all.begin() + at + part.size()};
    }

    TDodiXMLStyler styler;
    REdoDodi editor;
    TRunColourContext context;
};

::testing::AssertionResult AllAre(const std::vector<TRunColour> &colours, std::initializer_list<TRunColour> allowed)
{
    for (size_t i = 0; i < colours.size(); ++i)
        if (std::find(allowed.begin(), allowed.end(), colours[i]) == allowed.end())
            return ::testing::AssertionFailure() << "byte " << i << " has colour " << std::hex << colours[i].TextColor;
    return ::testing::AssertionSuccess();
}

// ---- the cases real documents are full of ----

TEST_F(MainWindowXml, CommentAfterATagIsACommentWhateverItHolds)
{
    const std::string comment = "<!-- don't use 42 <b>\"x\"</b> -->";
    EXPECT_TRUE(AllAre(ColoursOf("<a>" + comment + "text</a>", comment), {kComment}));
    EXPECT_TRUE(AllAre(ColoursOf("<a>x</a>" + comment, comment), {kComment}));
    EXPECT_TRUE(AllAre(ColoursOf("<a>text" + comment + "</a>", comment), {kComment}));
}

TEST_F(MainWindowXml, TextAfterACommentIsDrawnAsWithoutTheComment)
{
    for (const char *line : {"<a>x<!-- c -->y 'q' 1</a><b/>", "<?xml version=\"1.0\"?><!-- c --><r a='1'>t</r>"}) {
        const std::string withComment = line;
        const size_t at = withComment.find("<!--");
        const size_t end = withComment.find("-->") + 3;
        auto colours = Paint(withComment);
        colours.erase(colours.begin() + at, colours.begin() + end);
        EXPECT_EQ(colours, Paint(withComment.substr(0, at) + withComment.substr(end))) << line;
    }
}

TEST_F(MainWindowXml, CommentSpanningLinesWithQuotesLeaksNothing)
{
    const std::string document =
        "<?xml version=\"1.0\"?>\n<!-- Licence: don't\n   copy <this> 2024\n-->\n<r a=\"1\">t</r>";
    const std::string comment =
        document.substr(document.find("<!--"), document.find("-->") + 3 - document.find("<!--"));
    EXPECT_TRUE(AllAre(ColoursOf(document, comment), {kComment, kBreak}));
    const auto root = ColoursOf(document, "<r a=\"1\">t</r>");
    const auto alone = Paint("<?xml version=\"1.0\"?>\n<r a=\"1\">t</r>");
    EXPECT_EQ(root, std::vector<TRunColour>(alone.end() - root.size(), alone.end()));
}

TEST_F(MainWindowXml, CDataSectionIsTextWithSymbolDelimiters)
{
    const std::string document = "<s><![CDATA[ if (a < b && c > d) 'q' \"r\" 42\n  <!-- no --> ]]></s><t/>";
    const auto colours = Paint(document);
    const size_t open = document.find("<![CDATA[");
    const size_t close = document.find("]]>");
    EXPECT_TRUE(AllAre({colours.begin() + open, colours.begin() + open + 9}, {kDelimiter}));
    EXPECT_TRUE(AllAre({colours.begin() + open + 9, colours.begin() + close}, {kText, kBreak}));
    EXPECT_TRUE(AllAre({colours.begin() + close, colours.begin() + close + 3}, {kDelimiter}));
    EXPECT_EQ(colours[document.find("t/>")], kName) << "the tag after the section is a tag";
}

TEST_F(MainWindowXml, InternalSubsetIsMarkupWithItsComments)
{
    const std::string document = "<!DOCTYPE r [\n  <!-- the 'root' -->\n  <!ENTITY e \"don't <b>\">\n"
                                 "  <?pi don't?>\n  <!ATTLIST r a CDATA '1'>\n]>\n<r>&e;</r>";
    const auto colours = Paint(document);
    EXPECT_TRUE(AllAre(ColoursOf(document, "<!-- the 'root' -->"), {kComment}));
    EXPECT_EQ(colours[document.find("ENTITY")], kName);
    EXPECT_EQ(colours[document.find("ATTLIST") - 2], kDelimiter);
    EXPECT_EQ(colours[document.find("r>&e;")], kName);
    EXPECT_TRUE(AllAre(ColoursOf(document, "&e;"), {kText}));
    for (size_t i = document.find('['); i < document.find("]>"); ++i)
        EXPECT_NE(colours[i], kText) << i;
}

TEST_F(MainWindowXml, InstructionsEndAtTheirCloserWhateverTheyHold)
{
    for (const char *pi : {"<?pi don't > 'x' ?>", "<?php if (a > b) { echo 'it\"s'; } // ?>", "<?pi \"open"}) {
        const std::string document =
            std::string(pi) + (std::string(pi).ends_with("?>") ? "" : "?>") + "\n<a b='1'>t</a>";
        const auto colours = Paint(document);
        EXPECT_EQ(colours[document.find("a b")], kName) << pi;
        EXPECT_EQ(colours[document.find("t</a>")], kText) << pi;
    }
}

TEST_F(MainWindowXml, QuotesAndNumbersInTextContentOpenNoRun)
{
    const std::string document = "<p>don't 42</p><q>x</q>\n<!-- c -->it's \"so\"<q/>";
    const auto colours = Paint(document);
    EXPECT_TRUE(AllAre(ColoursOf(document, "don't 42"), {kText}));
    EXPECT_EQ(colours[document.find("q>x")], kName);
    EXPECT_TRUE(AllAre(ColoursOf(document, "it's \"so\""), {kText}));
    EXPECT_EQ(colours[document.find("q/>")], kName);
}

TEST_F(MainWindowXml, AddressesStopAtMarkupAndHideNoCloser)
{
    const std::string document = "<a> http://x.org/a</a><!-- http://y.org/--><![CDATA[ http://z.org]]><b/>";
    const auto colours = Paint(document);
    EXPECT_TRUE(AllAre(ColoursOf(document, "http://x.org/a"), {kUrl}));
    EXPECT_EQ(colours[document.find("/a>") - 1], kText);
    EXPECT_EQ(colours[document.find("b/>")], kName) << "neither the comment nor the section runs on";
    EXPECT_EQ(editor.Tokenizer().SplitUrlPieces("<a> http://x.org</a> b"),
              (std::vector<std::string>{"<a>", " ", "http://x.org", "</a>", " ", "b"}));
}

TEST(XmlStylerDefaults, WithoutATextRunStyleTextIsPlainAndTagsStayTags)
{
    TDodiXMLStyler styler;
    TLineTokenizer tokenizer;
    tokenizer.Prepare({&styler, true, false, true});
    TRunColourContext context;
    context.Styler = &styler;
    const std::string line = "<a>don't 1.5 'x'</a><b c=\"2\">";
    RunState state;
    const auto colours = PaintLine(tokenizer, context, line, state);
    const TRunColour plain = ColourOfRun({}, context);
    for (size_t i = line.find("don't"); i < line.find("</a>"); ++i)
        EXPECT_EQ(colours[i], plain) << i;
    EXPECT_NE(colours[line.find("\"2\"")], plain);
    EXPECT_EQ(state.Markup, mcText);
    EXPECT_FALSE(state.InBracket);
}

// ---- the oracle ----

// Well-formed documents built at random from what trips a highlighter:
// quotes, "<", ">", digits and addresses inside comments, CDATA sections,
// instructions, attribute values, the internal subset and text, with line
// breaks wherever XML allows them.
class RandomXml {
public:
    explicit RandomXml(unsigned seed) : random_(seed) {}

    std::string Document()
    {
        std::string doc = Chance(2) ? "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" : "";
        doc += Misc();
        entity_ = Chance(2);
        if (entity_)
            doc += "<!DOCTYPE r [" + Subset() + "<!ENTITY ent \"a 'quoted' <b>x</b>\">" + Subset() + "]>" + Space();
        return doc + Misc() + Element(0) + Misc();
    }

private:
    bool Chance(int in) { return random_() % in == 0; }
    std::string Pick(std::initializer_list<std::string> choices) { return choices.begin()[random_() % choices.size()]; }
    template <typename F>
    std::string Repeat(int most, F f)
    {
        std::string out;
        for (int n = random_() % (most + 1); n > 0; --n)
            out += f();
        return out;
    }
    std::string Space() { return Pick({" ", "\n", "  ", "\n  "}); }
    std::string Words(std::initializer_list<std::string> words)
    {
        return Repeat(5, [&] { return Pick(words); });
    }
    std::string Comment()
    {
        return "<!--" + Words({"don't", "\"", "'", "<b>", ">", "42", " http://x.org/", "<![CDATA[", "?>", "\n", " "}) +
               "x-->";
    }
    std::string Instruction()
    {
        return "<?pi " + Words({"don't", "'", "\"", ">", " a > b", "42", " http://x.org/a", "\n", " "}) + "?>";
    }
    std::string Subset()
    {
        return Repeat(3, [&] {
            return Pick({Comment(), Instruction(), Space(), "<!ELEMENT r ANY>",
                         "<!ATTLIST r a CDATA \"x>y\"\n b CDATA 'don\"t'>"});
        });
    }
    std::string Misc()
    {
        return Repeat(2, [&] { return Pick({Comment(), Instruction(), Space()}); });
    }
    std::string Attributes()
    {
        std::string out;
        for (const char *name : {"a", "b", "val"}) {
            const std::string value = Words({">", "1", "http://x.org/", "a b", "\n", "&amp;", "é"});
            if (Chance(2))
                out += Space() + name + "=" + Pick({"\"" + value + "'\"", "'" + value + "\"'"});
        }
        return out;
    }
    std::string Text()
    {
        return Words({"don't", "\"q\"", "42", "1.5", " a > b", "&amp;", "&lt;x&gt;", " http://x.org/a", "\n", " ", "é",
                      "--", "//", "]]", entity_ ? "&ent;" : "x"});
    }
    std::string CData()
    {
        return "<![CDATA[" +
               Words({"a < b", "c > d", "'", "\"", "42", "<!--", "-->", "<?x?>", "]", "http://x.org", "\n", " "}) +
               "x]]>";
    }
    std::string Element(int depth)
    {
        const std::string name = Pick({"r", "a", "q"});
        const std::string open = "<" + name + Attributes() + Pick({"", " ", "\n"});
        if (depth > 3 || Chance(4))
            return open + "/>";
        std::string content = Repeat(5, [&] {
            return Pick({Text(), Comment(), CData(), Instruction(), Element(depth + 1), Text()});
        });
        return open + ">" + content + "</" + name + ">";
    }

    std::mt19937 random_;
    bool entity_ = false;
};

std::vector<std::filesystem::path> Corpus()
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    auto add = [&](const fs::path &root, std::initializer_list<const char *> extensions) {
        std::error_code error;
        if (fs::is_regular_file(root, error)) {
            files.push_back(root);
            return;
        }
        for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error), end;
             !error && it != end; it.increment(error))
            for (const char *extension : extensions)
                if (it->is_regular_file(error) && it->path().extension() == extension)
                    files.push_back(it->path());
    };
    add(TARNWICK_TEST_DATA, {".xml", ".xsd", ".svg"});
    add("/etc/fonts/fonts.conf", {});
    add("/usr/share/mime/packages", {".xml"});
    add("/usr/share", {".svg"});
    std::sort(files.begin(), files.end());
    return files;
}

// The text as the editor holds it: UTF-8 without a byte-order mark, LF line
// breaks. Empty for a file in another encoding.
std::string EditorText(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.erase(0, 3);
    if (!utf8::IsValid(bytes))
        return {};
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] != '\r')
            text += bytes[i];
        else if (i + 1 == bytes.size() || bytes[i + 1] != '\n')
            text += '\n';
    return text;
}

class XmlOracle : public MainWindowXml {
protected:
    // Every byte libxml2 puts in a comment is drawn as a comment, every byte
    // of text or CDATA content as text, and no byte inside markup as either;
    // a view starting at any row draws it as painting from the top does.
    void Check(const std::string &name, const std::string &text, bool mustParse)
    {
        std::string why;
        const auto parts = XmlParts::Of(text, why);
        if (!parts) {
            EXPECT_FALSE(mustParse) << name << ": " << why << "\n" << text;
            return;
        }
        ++checked;
        const auto colours = Paint(text);
        for (size_t i = 0; i < text.size(); ++i) {
            const XmlPart part = (*parts)[i];
            const TRunColour c = colours[i];
            const bool right = part == XmlPart::Comment  ? c == kComment || c == kUrl || c == kBreak
                               : part == XmlPart::Text   ? c == kText || c == kUrl || c == kBreak
                               : part == XmlPart::Markup ? !(c == kComment) && !(c == kText)
                                                         : true;
            ++seen[static_cast<int>(part)];
            if (!right) {
                const size_t line = std::count(text.begin(), text.begin() + i, '\n');
                const size_t from = text.rfind('\n', i - (i > 0)) + 1;
                ADD_FAILURE() << name << " line " << line + 1 << " column " << i - from << " (part "
                              << static_cast<int>(part) << "): " << text.substr(from, text.find('\n', i) - from);
                return;
            }
        }
        const int rows = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        for (int row : {rows / 3, rows / 2, rows - 1}) {
            const auto fromRow = Paint(text, row);
            const size_t at =
                std::find_if(fromRow.begin(), fromRow.end(), [](const TRunColour &c) { return !(c == kBreak); }) -
                fromRow.begin();
            ASSERT_TRUE(std::equal(fromRow.begin() + at, fromRow.end(), colours.begin() + at))
                << name << " row " << row;
        }
    }

    int checked = 0;
    int seen[4] = {};
};

TEST_F(XmlOracle, RealDocumentsAreDrawnAsLibxml2ReadsThem)
{
    int files = 0;
    for (const auto &file : Corpus()) {
        const std::string text = EditorText(file);
        if (text.empty())
            continue;
        ++files;
        Check(file.string(), text, false);
    }
    EXPECT_GT(checked, 0);
    EXPECT_GE(checked * 10, files * 9) << "libxml2 should read nearly every file";
    RecordProperty("documents", checked);
}

TEST_F(XmlOracle, GeneratedDocumentsAreDrawnAsLibxml2ReadsThem)
{
    RandomXml random(20251207);
    for (int i = 0; i < 400 && !HasFailure(); ++i)
        Check("generated #" + std::to_string(i), random.Document(), true);
    for (int part = 1; part < 4; ++part)
        EXPECT_GT(seen[part], 1000) << "part " << part << " is exercised";
}

} // namespace
} // namespace tarnwick
