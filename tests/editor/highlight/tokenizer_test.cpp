// The line tokenizer: URL pieces, the runs of a line and their states, run
// merging, and the colour chosen for each kind of run.
#include "editor/highlight/styler.h"
#include "editor/highlight/tokenizer.h"
#include "editor/highlight/tokenizer_run_colour.h"
#include "editor/highlight/xml_styler.h"
#include "support/styler_client_double.h"
#include "support/token_runs.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

// The rules every styler follows, with the XML styler's delimiters and styles;
// the XML syntax its own tokenizing follows is checked in xml_highlighting_test.
class Tokenizing : public ::testing::Test {
protected:
    Tokenizing() { xml.SetMarkupSyntax(false); }
    void Prepare(TCustomDodiStyler *styler, bool urlAware = true, bool caseSensitive = false)
    {
        tokenizer.Prepare({styler, styler != nullptr, caseSensitive, urlAware});
    }
    std::vector<TokenRun> Tokenize(std::initializer_list<std::string_view> lines) { return recorder.Tokenize(lines); }
    static std::vector<std::string> Texts(const std::vector<TokenRun> &runs) { return TokenRunRecorder::Texts(runs); }

    TDodiXMLStyler xml;
    TLineTokenizer tokenizer;
    TokenRunRecorder recorder{tokenizer};
    RunState &state = recorder.State;
};

using Strings = std::vector<std::string>;

TEST_F(Tokenizing, UrlPiecesAlternateSeparatorsAndOtherCharacters)
{
    Prepare(&xml);
    EXPECT_EQ(tokenizer.SplitUrlPieces("see http://x.org/a, b"), (Strings{"see", " ", "http://x.org/a", ", ", "b"}));
    EXPECT_EQ(tokenizer.SplitUrlPieces(" 'a' "), (Strings{" '", "a", "' "}));
    EXPECT_TRUE(tokenizer.SplitUrlPieces("").empty());
    Prepare(&xml, false);
    EXPECT_EQ(tokenizer.SplitUrlPieces("a b, c"), (Strings{"a b, c"}));
}

TEST_F(Tokenizing, EscapeKeepsTheNextCharacterInTheSamePiece)
{
    xml.SetStringEscape("\\");
    Prepare(&xml);
    EXPECT_EQ(tokenizer.SplitUrlPieces("a\\ b c"), (Strings{"a\\ b", " ", "c"}));
    EXPECT_EQ(tokenizer.SplitUrlPieces("x\\"), (Strings{"x\\"}));
}

TEST_F(Tokenizing, UrlPrefixesAreRecognisedInAnyCase)
{
    for (const char *url : {"http://a", "HTTPS://a", "mailto:me", "www.example.org", "ftp://f", "NnTp://n"})
        EXPECT_TRUE(TLineTokenizer::IsUrl(url)) << url;
    for (const char *word : {"xhttp://a", "http:/a", "www", "", "mail:"})
        EXPECT_FALSE(TLineTokenizer::IsUrl(word)) << word;
}

TEST_F(Tokenizing, WithoutStylerALineIsOnePlainRun)
{
    Prepare(nullptr, false);
    auto r = Tokenize({"<a b=\"1\">text</a> <!-- x"});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].Text, "<a b=\"1\">text</a> <!-- x");
    EXPECT_EQ(r[0].State, RunState{});
    EXPECT_EQ(state, RunState{});
}

TEST_F(Tokenizing, WithoutStylerUrlsStillFormTheirOwnRun)
{
    Prepare(nullptr);
    auto r = Tokenize({"go to www.x.org now"});
    EXPECT_EQ(Texts(r), (Strings{"go to ", "www.x.org", " now"}));
    EXPECT_TRUE(r[1].State.Url);
    EXPECT_EQ(r[1].Column, 6);
}

TEST_F(Tokenizing, UrlIsOneRunWhateverItContainsEvenInsideAComment)
{
    Prepare(&xml);
    auto r = Tokenize({"<!-- see http://x.org/a=1, b -->"});
    EXPECT_EQ(Texts(r), (Strings{"<!-- see ", "http://x.org/a=1", ", b -->"}));
    EXPECT_TRUE(r[1].State.Url);
    EXPECT_TRUE(r[1].State.InComment);
    EXPECT_FALSE(r[2].State.Url);
    EXPECT_FALSE(state.InComment);
}

TEST_F(Tokenizing, EqualStatesMergeIntoOneRun)
{
    Prepare(&xml);
    auto r = Tokenize({"plain words here"});
    // Each word is plain and each space a symbol: five runs, not one per character.
    EXPECT_EQ(Texts(r), (Strings{"plain", " ", "words", " ", "here"}));
    EXPECT_TRUE(r[1].State.Symbol);
    EXPECT_FALSE(r[0].State.Symbol);
}

TEST_F(Tokenizing, AppendRunClearsThePerRunFlagsOfTheCallersState)
{
    Prepare(&xml);
    tokenizer.BeginLine(state);
    RunState s;
    s.Number = s.Keyword = s.Symbol = s.Url = 1;
    s.InComment = 1;
    tokenizer.AppendRun("x", s);
    EXPECT_FALSE(s.Number || s.Keyword || s.Symbol || s.Url);
    EXPECT_TRUE(s.InComment);
}

TEST_F(Tokenizing, CommentOpenerAfterSpacesStartsAComment)
{
    Prepare(&xml);
    auto r = Tokenize({"  <!-- note -->"});
    EXPECT_EQ(Texts(r), (Strings{"  ", "<!-- note -->"}));
    EXPECT_TRUE(r[1].State.InComment);
    EXPECT_FALSE(state.InComment);
}

TEST_F(Tokenizing, CommentOpenerIsOnlyRecognisedAtItsFirstOccurrenceInThePiece)
{
    // As one piece, the first "<!--" sits inside the quoted value, so the
    // second one is no opener.
    Prepare(&xml, false);
    for (const TokenRun &run : Tokenize({"x=\"<!--\"<!--y"}))
        EXPECT_FALSE(run.State.InComment) << run.Text;
    // Cut at the quotes, the second one starts a piece of its own.
    Prepare(&xml, true);
    EXPECT_TRUE(Tokenize({"x=\"<!--\"<!--y"}).back().State.InComment);
}

TEST_F(Tokenizing, MultiLineCommentColoursEveryLineUntilItsCloser)
{
    Prepare(&xml);
    auto first = Tokenize({"<a/> <!-- begins"});
    EXPECT_TRUE(state.InComment);
    EXPECT_EQ(first.back().Text, "<!-- begins");
    auto middle = Tokenize({"  \"quoted\" 'text' 42 <b>"});
    ASSERT_EQ(middle.size(), 1u);
    EXPECT_TRUE(middle[0].State.InComment);
    auto last = Tokenize({"ends --> <b/>"});
    EXPECT_EQ(Texts(last), (Strings{"ends -->", " <", "b", "/>"}));
    EXPECT_TRUE(last[0].State.InComment);
    EXPECT_FALSE(last[1].State.InComment);
}

TEST_F(Tokenizing, LineCommentRunsToTheEndOfTheLineOnly)
{
    Prepare(&xml);
    auto r = Tokenize({"a // b \"c"});
    EXPECT_EQ(Texts(r), (Strings{"a", " ", "// b \"c"}));
    EXPECT_TRUE(r[2].State.InComment);
    EXPECT_FALSE(state.InComment);
    EXPECT_FALSE(state.InBracket);
    auto next = Tokenize({"d"});
    EXPECT_FALSE(next[0].State.InComment);
}

TEST_F(Tokenizing, QuotedTextIsOneBracketRunWithTheQuoteStyle)
{
    Prepare(&xml);
    auto r = Tokenize({"x='a b'"});
    EXPECT_EQ(Texts(r), (Strings{"x", "=", "'a b'"}));
    EXPECT_TRUE(r[2].State.InBracket);
    EXPECT_EQ(r[2].State.StyleIndex, 1);
    EXPECT_FALSE(state.InBracket);
}

TEST_F(Tokenizing, OpenQuoteCarriesToTheNextLine)
{
    Prepare(&xml);
    Tokenize({"v=\"first"});
    EXPECT_TRUE(state.InBracket);
    auto r = Tokenize({"second\" rest"});
    EXPECT_EQ(Texts(r), (Strings{"second\"", " ", "rest"}));
    EXPECT_EQ(r[0].State.StyleIndex, 2);
}

TEST_F(Tokenizing, EscapeInsideABracketRunKeepsTheClosingCharacterInTheRun)
{
    xml.SetStringEscape("\\");
    Prepare(&xml);
    auto r = Tokenize({"\"a\\\"b\" c"});
    EXPECT_EQ(Texts(r), (Strings{"\"a\\\"b\"", " ", "c"}));
    EXPECT_FALSE(state.InBracket);
}

TEST_F(Tokenizing, BracketRunClosedByASpaceEndsWithItsPiece)
{
    TCustomDodiStyler styler;
    AddElementStyle(styler.AllStyles(), "var", stBracket, clRed, {}).SetBrackets(U'$', U' ');
    Prepare(&styler);
    auto r = Tokenize({"$name rest"});
    EXPECT_EQ(Texts(r), (Strings{"$name", " rest"}));
    EXPECT_TRUE(r[0].State.InBracket);
    EXPECT_FALSE(r[1].State.InBracket);
    EXPECT_FALSE(recorder.State.InBracket);
}

TEST_F(Tokenizing, NumbersEndBeforeTheFirstDotWhenASecondDotFollows)
{
    Prepare(&xml);
    auto r = Tokenize({"=1..5"});
    EXPECT_EQ(Texts(r), (Strings{"=", "1", "..5"}));
    EXPECT_TRUE(r[1].State.Number);
    EXPECT_FALSE(r[2].State.Number);
    auto decimal = Tokenize({"=-1.5e3"});
    EXPECT_EQ(Texts(decimal), (Strings{"=", "-1.5e3"}));
}

TEST_F(Tokenizing, LoneSignOrDotAfterADelimiterIsANumber)
{
    Prepare(&xml);
    for (const char *line : {"=-", "=."}) {
        auto r = Tokenize({line});
        ASSERT_EQ(r.size(), 2u) << line;
        EXPECT_TRUE(r[1].State.Number) << line;
    }
}

TEST_F(Tokenizing, DigitsInsideAWordArePlain)
{
    Prepare(&xml);
    auto r = Tokenize({"<abc123/>"});
    EXPECT_EQ(Texts(r), (Strings{"<", "abc123", "/>"}));
    EXPECT_FALSE(r[1].State.Number);
}

TEST_F(Tokenizing, HexPrefixAllowsLettersAToF)
{
    TCustomDodiStyler styler;
    styler.SetHexPrefix("0x");
    AddElementStyle(styler.AllStyles(), "ops", stSymbol, clRed, {}).SetSymbols(" =");
    Prepare(&styler);
    auto r = Tokenize({"=0x1fG"});
    EXPECT_EQ(Texts(r), (Strings{"=", "0x1f", "G"}));
    EXPECT_TRUE(r[1].State.Number);
}

TEST_F(Tokenizing, KeywordsMatchWholeWordsInAnyCaseAfterFolding)
{
    StylerClientDouble editor;
    xml.AttachEditor(editor, false);
    Prepare(&xml);
    auto r = Tokenize({"=val =VAL =value =Encoding"});
    EXPECT_EQ(Texts(r), (Strings{"=", "val", " =", "VAL", " =", "value", " =", "Encoding"}));
    EXPECT_TRUE(r[1].State.Keyword);
    EXPECT_EQ(r[1].State.StyleIndex, 0);
    EXPECT_TRUE(r[3].State.Keyword);
    EXPECT_FALSE(r[5].State.Keyword) << "a keyword that is a proper prefix does not count";
    EXPECT_TRUE(r[7].State.Keyword);
}

TEST_F(Tokenizing, CaseSensitiveMatchingNeedsTheExactCase)
{
    StylerClientDouble editor;
    xml.AttachEditor(editor, true);
    Prepare(&xml, true, true);
    auto r = Tokenize({"=val =VAL"});
    EXPECT_TRUE(r[1].State.Keyword);
    EXPECT_FALSE(r[3].State.Keyword);
}

TEST_F(Tokenizing, KeywordWithASpaceIsNeverHighlighted)
{
    StylerClientDouble editor;
    xml.AttachEditor(editor, false);
    Prepare(&xml);
    for (const TokenRun &run : Tokenize({"<?xml version=\"1.0\"?>"}))
        EXPECT_FALSE(run.State.Keyword) << run.Text;
}

TEST_F(Tokenizing, EmptyStylerColoursOnlyCommentsAndNumbers)
{
    TCustomDodiStyler empty;
    empty.SetMultiCommentLeft("<!--");
    empty.SetMultiCommentRight("-->");
    Prepare(&empty);
    EXPECT_TRUE(tokenizer.DelimiterSet().empty());
    auto r = Tokenize({"abc123 x<!--c-->"});
    EXPECT_EQ(Texts(r), (Strings{"abc", "123", " x", "<!--c-->"}));
    EXPECT_TRUE(r[1].State.Number);
    EXPECT_FALSE(r[2].State.Number);
    EXPECT_TRUE(r[3].State.InComment);
}

TEST_F(Tokenizing, ColumnsCountCodePointsNotBytes)
{
    Prepare(&xml);
    auto r = Tokenize({"<é>ü€𝄞<"});
    ASSERT_EQ(Texts(r), (Strings{"<", "é", ">", "ü€𝄞", "<"}));
    EXPECT_EQ(r[1].Column, 1);
    EXPECT_EQ(r[2].Column, 2);
    EXPECT_EQ(r[3].Column, 3);
    EXPECT_EQ(r[4].Column, 6);
}

TEST_F(Tokenizing, NonAsciiSymbolsAndBracketsWork)
{
    TCustomDodiStyler styler;
    AddElementStyle(styler.AllStyles(), "guillemets", stBracket, clRed, {}).SetBrackets(U'«', U'»');
    AddElementStyle(styler.AllStyles(), "section", stSymbol, clRed, {}).SetSymbols("§");
    Prepare(&styler);
    auto r = Tokenize({"a§«b c»d"});
    EXPECT_EQ(Texts(r), (Strings{"a", "§", "«b c»", "d"}));
    EXPECT_TRUE(r[1].State.Symbol);
    EXPECT_EQ(r[2].State.StyleIndex, 0);
    EXPECT_EQ(r[2].Column, 2);
    EXPECT_EQ(r[3].Column, 7);
}

TEST_F(Tokenizing, VeryLongWordIsTokenizedInLinearTime)
{
    TCustomDodiStyler styler; // no delimiters: every position is a token start
    AddElementStyle(styler.AllStyles(), "k", stKeyword, clRed, {}).SetKeyWords({"key"});
    Prepare(&styler);
    std::string line(2'000'000, 'w');
    auto r = Tokenize({line});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].Text.size(), line.size());
}

// ---- colour of a run ----

class RunColours : public ::testing::Test {
protected:
    RunColours()
    {
        context.Styler = &xml;
        context.FontColor = clMaroon;
        context.FontStyle = {fsBold};
        context.BkColor = 0x00F0F0F0;
    }
    TDodiXMLStyler xml;
    TRunColourContext context;
};

TEST_F(RunColours, PlainTextUsesTheEditorsFont)
{
    EXPECT_EQ(ColourOfRun({}, context), (TRunColour{clMaroon, 0x00F0F0F0, {fsBold}}));
}

TEST_F(RunColours, CommentsNumbersSymbolsKeywordsAndBracketsTakeTheirStyles)
{
    RunState comment;
    comment.InComment = 1;
    EXPECT_EQ(ColourOfRun(comment, context), (TRunColour{clNavy, clWhite, {fsItalic}}));
    RunState number;
    number.Number = 1;
    EXPECT_EQ(ColourOfRun(number, context), (TRunColour{clFuchsia, clWhite, {fsBold}}));
    RunState symbol;
    symbol.Symbol = 1;
    symbol.StyleIndex = 3;
    EXPECT_EQ(ColourOfRun(symbol, context), (TRunColour{clTeal, clWhite, {}}));
    RunState keyword;
    keyword.Keyword = 1;
    keyword.StyleIndex = 0;
    EXPECT_EQ(ColourOfRun(keyword, context), (TRunColour{clGreen, clWhite, {}}));
    RunState quoted;
    quoted.InBracket = 1;
    quoted.StyleIndex = 2;
    quoted.Number = 1; // inside a bracket run the bracket style wins
    EXPECT_EQ(ColourOfRun(quoted, context), (TRunColour{clBlack, clWhite, {fsBold}}));
}

TEST_F(RunColours, UrlStyleWinsInsideCommentsAndBrackets)
{
    RunState url;
    url.Url = 1;
    url.InComment = 1;
    url.InBracket = 1;
    EXPECT_EQ(ColourOfRun(url, context), (TRunColour{clBlue, clWhite, {fsUnderline}}));
}

TEST_F(RunColours, NoneBackgroundAndMissingStyleFallBackToTheEditor)
{
    xml.AllStyles()[3].SetBGColor(clNone);
    RunState symbol;
    symbol.Symbol = 1;
    symbol.StyleIndex = 3;
    EXPECT_EQ(ColourOfRun(symbol, context).BkColor, 0x00F0F0F0u);
    symbol.StyleIndex = 17;
    EXPECT_EQ(ColourOfRun(symbol, context), (TRunColour{clMaroon, 0x00F0F0F0, {fsBold}}));
    RunState bracket;
    bracket.InBracket = 1;
    bracket.StyleIndex = -1;
    EXPECT_EQ(ColourOfRun(bracket, context), (TRunColour{clMaroon, 0x00F0F0F0, {fsBold}}));
}

TEST_F(RunColours, WithoutStylerOnlyUrlsChangeColour)
{
    context.Styler = nullptr;
    RunState stale;
    stale.InComment = 1;
    stale.Symbol = 1;
    stale.StyleIndex = 3;
    EXPECT_EQ(ColourOfRun(stale, context), (TRunColour{clMaroon, 0x00F0F0F0, {fsBold}}));
    RunState url;
    url.Url = 1;
    EXPECT_EQ(ColourOfRun(url, context).TextColor, clBlue);
}

TEST_F(RunColours, ActiveLineThenBreakpointThenFoldSummaryOverride)
{
    RunState comment;
    comment.InComment = 1;
    context.ActiveLine = true;
    context.ActiveLineTextColor = clYellow;
    context.ActiveLineColor = clPurple;
    EXPECT_EQ(ColourOfRun(comment, context), (TRunColour{clYellow, clPurple, {fsItalic}}));
    context.Breakpoint = true;
    EXPECT_EQ(ColourOfRun(comment, context), (TRunColour{clWhite, clRed, {fsItalic}}));
    context.FoldSummary = true;
    context.FoldLineColor = clGray;
    EXPECT_EQ(ColourOfRun(comment, context), (TRunColour{clGray, clRed, {fsItalic}}));
}

} // namespace
} // namespace tarnwick
