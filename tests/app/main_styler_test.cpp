// The main window's XML styler: its six element styles, and the runs, states
// and colours it gives typical XML lines in the main window's editor.
#include "app/main_styler.h"
#include "editor/control/redodi.h"
#include "editor/highlight/tokenizer_run_colour.h"
#include "editor/highlight/xml_styler.h"
#include "support/token_runs.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using Strings = std::vector<std::string>;

TEST(MainStyler, ReplacesTheDefaultsBySixStylesWithTheMainWindowsColours)
{
    TDodiXMLStyler styler;
    ConfigureMainStyler(styler);
    EXPECT_EQ(styler.Name(), "DodiXMLStyler1");
    EXPECT_EQ(styler.LineComment(), "//");
    EXPECT_EQ(styler.MultiCommentLeft(), "<!--");
    EXPECT_EQ(styler.MultiCommentRight(), "-->");
    EXPECT_EQ(styler.CommentStyle(), TCharStyle(clGray, clWhite, {fsItalic}));
    EXPECT_EQ(styler.NumberStyle(), TCharStyle(clBlack, clWhite, {fsBold}));
    EXPECT_EQ(styler.Description(), "XML Files (XML)");
    EXPECT_EQ(styler.Filter(), "XML Files (*.xml)|*.xml");
    EXPECT_EQ(styler.DefaultExtension(), ".xml");
    EXPECT_EQ(styler.StylerName(), "XML Files");
    EXPECT_EQ(styler.Extensions(), "xml");

    const TElementStyles &styles = styler.AllStyles();
    ASSERT_EQ(styles.Count(), 6);
    struct Expected {
        const char *Info;
        TStyleType Type;
        TColor Color;
        TFontStyles Style;
    };
    const Expected expected[] = {
        {"", stKeyword, clNavy, {}},
        {"XML Default", stKeyword, clBlue, {}},
        {"Single quote", stBracket, clBlue, {}},
        {"Double Quote", stBracket, clBlack, {fsBold}},
        {"XML delimiters", stSymbol, clBlue, {}},
        {"", stBracket, clBlack, {}},
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(styles[i].Info(), expected[i].Info);
        EXPECT_EQ(styles[i].StyleType(), expected[i].Type);
        EXPECT_EQ(styles[i].Font().Color, expected[i].Color);
        EXPECT_EQ(styles[i].Font().Style, expected[i].Style);
        EXPECT_EQ(styles[i].Font().Name, "Courier New");
        EXPECT_EQ(styles[i].Font().Height, -11);
        EXPECT_EQ(styles[i].BGColor(), clWhite);
    }
    EXPECT_EQ(styles[0].KeyWords().Items(), (Strings{"/>", "?>", "<", "<?", ">"}));
    EXPECT_EQ(styles[1].KeyWords().Items(), (Strings{"encoding", "val", "xml version"}));
    EXPECT_EQ(styles[2].BracketStart(), U'\'');
    EXPECT_EQ(styles[2].BracketEnd(), U'\'');
    EXPECT_EQ(styles[3].BracketStart(), U'"');
    EXPECT_EQ(styles[3].BracketEnd(), U'"');
    EXPECT_EQ(styles[4].Symbols(), " =<?/>#\r\n");
    EXPECT_EQ(styles[5].BracketStart(), U'>');
    EXPECT_EQ(styles[5].BracketEnd(), U'<');
}

// The main window's editor with the configured styler attached.
class MainWindowHighlighting : public ::testing::Test {
protected:
    MainWindowHighlighting()
    {
        ConfigureMainStyler(styler);
        editor.SetFont(TFont{"COURIER NEW", -13, 1, clMaroon, {fsBold}});
        editor.SetSyntaxStyles(&styler);
        editor.PrepareTokenizer();
    }

    std::vector<TokenRun> Tokenize(std::initializer_list<std::string_view> lines) { return recorder.Tokenize(lines); }

    TRunColour Colour(const TokenRun &run) const
    {
        TRunColourContext context;
        context.Styler = &styler;
        context.FontColor = editor.Font().Color;
        context.FontStyle = editor.Font().Style;
        context.BkColor = editor.BkColor();
        context.UrlStyle = editor.UrlStyle();
        return ColourOfRun(run.State, context);
    }

    TDodiXMLStyler styler;
    REdoDodi editor;
    TokenRunRecorder recorder{editor.Tokenizer()};
};

const TRunColour kPlain{clMaroon, clWhite, {fsBold}};
const TRunColour kDelimiter{clBlue, clWhite, {}};
const TRunColour kDoubleQuoted{clBlack, clWhite, {fsBold}};
const TRunColour kBetweenTags{clBlack, clWhite, {}};
const TRunColour kComment{clGray, clWhite, {fsItalic}};
const TRunColour kNumber{clBlack, clWhite, {fsBold}};
const TRunColour kUrl{clBlue, clWhite, {fsUnderline}};

TEST_F(MainWindowHighlighting, ElementWithAttributeAndText)
{
    auto runs = Tokenize({"<a b=\"1\">text</a>"});
    ASSERT_EQ(TokenRunRecorder::Texts(runs), (Strings{"<", "a", " ", "b", "=", "\"1\"", ">text<", "/", "a", ">"}));
    const TRunColour colours[] = {kDelimiter,    kPlain,       kDelimiter, kPlain, kDelimiter,
                                  kDoubleQuoted, kBetweenTags, kDelimiter, kPlain, kBetweenTags};
    const int columns[] = {0, 1, 2, 3, 4, 5, 8, 14, 15, 16};
    for (size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(runs[i].Text);
        EXPECT_EQ(Colour(runs[i]), colours[i]);
        EXPECT_EQ(runs[i].Column, columns[i]);
    }
    EXPECT_TRUE(runs[0].State.Symbol);
    EXPECT_EQ(runs[0].State.StyleIndex, 4);
    EXPECT_TRUE(runs[5].State.InBracket);
    EXPECT_EQ(runs[5].State.StyleIndex, 3);
    EXPECT_TRUE(runs[6].State.InBracket);
    EXPECT_EQ(runs[6].State.StyleIndex, 5);
    // The final ">" opens a between-tags run that goes on into the next line.
    EXPECT_TRUE(recorder.State.InBracket);
    EXPECT_EQ(recorder.State.StyleIndex, 5);
    auto next = Tokenize({"more text</a>"});
    EXPECT_EQ(TokenRunRecorder::Texts(next), (Strings{"more text<", "/", "a", ">"}));
    EXPECT_EQ(Colour(next[0]), kBetweenTags);
}

TEST_F(MainWindowHighlighting, CommentAtTheStartOfALineIsRecognised)
{
    auto runs = Tokenize({"  <!-- note -->"});
    ASSERT_EQ(TokenRunRecorder::Texts(runs), (Strings{"  ", "<!-- note -->"}));
    EXPECT_EQ(Colour(runs[1]), kComment);
    auto spanning = Tokenize({"<!-- one", "two", "three --> <a>"});
    EXPECT_EQ(TokenRunRecorder::Texts(spanning), (Strings{"three -->", " ", "<", "a", ">"}));
    EXPECT_EQ(Colour(spanning[0]), kComment);
}

TEST_F(MainWindowHighlighting, CommentAfterATagIsACommentAndTextGoesOnAfterIt)
{
    auto runs = Tokenize({"<a><!-- x 'y' -->"});
    EXPECT_EQ(TokenRunRecorder::Texts(runs), (Strings{"<", "a", ">", "<!-- x 'y' -->"}));
    EXPECT_EQ(Colour(runs[3]), kComment);
    auto next = Tokenize({"don't</a>"});
    EXPECT_EQ(TokenRunRecorder::Texts(next), (Strings{"don't<", "/", "a", ">"}));
    EXPECT_EQ(Colour(next[0]), kBetweenTags);
}

TEST_F(MainWindowHighlighting, DoubleSlashIsNoCommentInXml)
{
    auto runs = Tokenize({"<a x // y=\"z\">t"});
    EXPECT_EQ(TokenRunRecorder::Texts(runs), (Strings{"<", "a", " ", "x", " // ", "y", "=", "\"z\"", ">t"}));
    EXPECT_EQ(Colour(runs[4]), kDelimiter);
    EXPECT_EQ(Colour(runs[7]), kDoubleQuoted);
    EXPECT_FALSE(recorder.State.InComment);
}

TEST_F(MainWindowHighlighting, NumbersAfterADelimiter)
{
    auto runs = Tokenize({"<a n=1..5 m=-/>"});
    EXPECT_EQ(TokenRunRecorder::Texts(runs),
              (Strings{"<", "a", " ", "n", "=", "1", "..5", " ", "m", "=", "-", "/", ">"}));
    EXPECT_EQ(Colour(runs[5]), kNumber);
    EXPECT_EQ(Colour(runs[6]), kPlain);
    EXPECT_EQ(Colour(runs[10]), kNumber);
}

TEST_F(MainWindowHighlighting, UrlIsDrawnWholeInTheUrlStyleEvenInAComment)
{
    EXPECT_EQ(editor.Tokenizer().SplitUrlPieces("see http://x.org/a, b"),
              (Strings{"see", " ", "http://x.org/a", ", ", "b"}));
    auto runs = Tokenize({"<!-- see http://x.org/a, b -->"});
    ASSERT_EQ(TokenRunRecorder::Texts(runs), (Strings{"<!-- see ", "http://x.org/a", ", b -->"}));
    EXPECT_EQ(Colour(runs[1]), kUrl);
    EXPECT_EQ(Colour(runs[2]), kComment);
}

TEST_F(MainWindowHighlighting, DeclarationHighlightsEncodingButNeverXmlVersion)
{
    auto runs = Tokenize({"<?xml version=\"1.0\" encoding=\"UTF-8\"?>"});
    std::vector<std::string> keywords;
    for (const TokenRun &run : runs)
        if (run.State.Keyword) {
            keywords.push_back(run.Text);
            EXPECT_EQ(Colour(run), kDelimiter) << "the keyword style is blue too";
        }
    EXPECT_EQ(keywords, (Strings{"encoding"}));
}

TEST_F(MainWindowHighlighting, DelimitersAreTheSymbolsQuotesAndTagBrackets)
{
    for (char32_t c : std::u32string(U"=<?/>#\r\n '\""))
        EXPECT_TRUE(editor.IsDelimiter(c)) << static_cast<int>(c);
    for (char32_t c : std::u32string(U"a-.;:,"))
        EXPECT_FALSE(editor.IsDelimiter(c)) << static_cast<int>(c);
}

} // namespace
} // namespace tarnwick
