// The state at the start of a line: agreement with tokenizing every line
// above it, the cache stored every 20 lines, staying right while lines above
// change, the cost of warm look-ups, and the top-line state of the control.
#include "editor/control/redodi.h"
#include "editor/document/line_store.h"
#include "editor/highlight/tokenizer.h"
#include "editor/highlight/xml_styler.h"

#include <gtest/gtest.h>

#include <random>

namespace tarnwick {
namespace {

// The carried part of two states agrees. The style index of a run outside
// brackets is the last symbol's in painting but the last bracket style's in
// the top-state scan, which skips symbols; it colours nothing there.
::testing::AssertionResult SameCarriedState(const RunState &a, const RunState &b)
{
    if (a.InComment == b.InComment && a.InBracket == b.InBracket && a.BracketEnd == b.BracketEnd &&
        a.BracketStart == b.BracketStart && (!a.InBracket || a.StyleIndex == b.StyleIndex))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "comment " << a.InComment << "/" << b.InComment << ", bracket "
                                         << a.InBracket << "/" << b.InBracket << ", end " << a.BracketEnd << "/"
                                         << b.BracketEnd << ", style " << a.StyleIndex << "/" << b.StyleIndex;
}

// With the rules every styler follows; xml_highlighting_test has the XML ones.
class TopState : public ::testing::Test {
protected:
    TopState()
    {
        xml.SetMarkupSyntax(false);
        Prepare();
    }

    void Prepare()
    {
        tokenizer.Prepare({&xml, true, false, true});
        oracle.Prepare({&xml, true, false, true});
    }
    // The run of text between tags, which crosses lines (and swallows the
    // "<" of a comment opener that follows a tag).
    void AddBetweenTagsStyle()
    {
        AddElementStyle(xml.AllStyles(), "", stBracket, clBlack, {}).SetBrackets(U'>', U'<');
        Prepare();
    }

    RunState Compute(int line) { return tokenizer.ComputeTopState(lines, lines.StateTracker(), line); }

    // The state carried by tokenizing every line from the top, as painting does.
    RunState Expected(int line)
    {
        RunState state;
        for (int l = 0; l < line && l < lines.Count(); ++l)
            oracle.TokenizeText(lines[l], state);
        return state;
    }

    bool HasEntry(int line) const
    {
        const TLineProp *prop = lines.LinePropOf(line);
        return prop && prop->StateCacheValid;
    }

    void Fill(int count, const std::string &text)
    {
        for (int i = 0; i < count; ++i)
            lines.Add(text);
    }

    TDodiXMLStyler xml;
    TLineTokenizer tokenizer;
    TLineTokenizer oracle;
    REdoDodiStrings lines;
};

TEST_F(TopState, MultiLineCommentCarriesAcrossLines)
{
    for (const char *l : {"<a>x</a>", "<!-- open", "still", "closed --> <b>", "after"})
        lines.Add(l);
    EXPECT_FALSE(Compute(1).InComment);
    EXPECT_TRUE(Compute(2).InComment);
    EXPECT_TRUE(Compute(3).InComment);
    EXPECT_FALSE(Compute(4).InComment);
    for (int l = 0; l <= 5; ++l)
        EXPECT_TRUE(SameCarriedState(Compute(l), Expected(l))) << l;
}

TEST_F(TopState, BetweenTagsRunCarriesAcrossLinesAndSwallowsAFollowingCommentOpener)
{
    AddBetweenTagsStyle();
    for (const char *l : {"<a>", "text", "more</a>", "<!-- no comment", "x"})
        lines.Add(l);
    EXPECT_TRUE(Compute(1).InBracket);
    EXPECT_EQ(Compute(1).StyleIndex, 4);
    EXPECT_TRUE(Compute(2).InBracket);
    EXPECT_TRUE(Compute(3).InBracket);
    EXPECT_FALSE(Compute(4).InComment);
    for (int l = 0; l <= 5; ++l)
        EXPECT_TRUE(SameCarriedState(Compute(l), Expected(l))) << l;
}

TEST_F(TopState, LineCommentAndUrlPiecesDoNotCarry)
{
    for (const char *l : {"x // <!-- not a comment", "y http://a.b/<!-- z", "w"})
        lines.Add(l);
    EXPECT_TRUE(SameCarriedState(Compute(1), Expected(1)));
    EXPECT_FALSE(Compute(1).InComment);
    EXPECT_FALSE(Compute(2).InComment);
}

TEST_F(TopState, TextAfterALineCommentCarriesAsPaintingCarriesIt)
{
    // Painting closes the line comment at the "-->" of a later piece and then
    // opens the quote; the scan must agree, or colours would depend on
    // where the view starts.
    lines.Add("x // --> \"open");
    lines.Add("y");
    EXPECT_TRUE(Expected(1).InBracket);
    EXPECT_TRUE(SameCarriedState(Compute(1), Expected(1)));
}

TEST_F(TopState, WithoutStylerTheStateIsZeroAndNothingIsCached)
{
    lines.Add("<!--");
    lines.Add("x");
    tokenizer.Prepare({&xml, false, false, true});
    EXPECT_EQ(Compute(1), RunState{});
    EXPECT_FALSE(HasEntry(1));
    tokenizer.Prepare({nullptr, true, false, true});
    EXPECT_EQ(Compute(1), RunState{});
}

TEST_F(TopState, StatesAreCachedEveryTwentyLinesAndAtTheTarget)
{
    Fill(100, "<a>x</a>");
    lines.Put(40, "");
    Compute(95);
    for (int l = 0; l < 100; ++l) {
        const bool expected = l == 95 || (l % 20 == 0 && l != 40);
        EXPECT_EQ(HasEntry(l), expected) << l;
    }
}

TEST_F(TopState, WarmLookUpsScanFewerThanTwentyLines)
{
    Fill(10000, "  <item id=\"7\">text</item>");
    Compute(5000);
    EXPECT_EQ(tokenizer.LastScanLength(), 5000);
    Compute(5013);
    EXPECT_LE(tokenizer.LastScanLength(), 13);
    Compute(4990);
    EXPECT_LT(tokenizer.LastScanLength(), 20);
    Compute(7000);
    Compute(6999);
    EXPECT_LT(tokenizer.LastScanLength(), 20);
}

TEST_F(TopState, EditAboveTheLineChangesItsState)
{
    Fill(600, "<a>x</a>");
    EXPECT_FALSE(Compute(500).InComment);
    lines.Put(10, "<!-- from here on");
    EXPECT_TRUE(Compute(500).InComment);
    EXPECT_TRUE(SameCarriedState(Compute(250), Expected(250)));
    lines.Delete(10);
    EXPECT_FALSE(Compute(500).InComment);
    lines.Insert(3, "<!--");
    EXPECT_TRUE(Compute(499).InComment);
    EXPECT_TRUE(Compute(501).InComment);
}

TEST_F(TopState, EditThatKeepsTheStateResyncsWithTheCacheBelow)
{
    AddBetweenTagsStyle();
    Fill(10000, "<a>x</a>");
    Compute(9000);
    lines.Put(100, "<b>changed</b>");
    EXPECT_TRUE(SameCarriedState(Compute(9000), Expected(9000)));
    EXPECT_LT(tokenizer.LastScanLength(), 60);
    // Two edits: the scan covers the span between them, then resyncs.
    lines.Insert(200, "<c/>");
    lines.Delete(300);
    EXPECT_TRUE(SameCarriedState(Compute(8000), Expected(8000)));
    EXPECT_LT(tokenizer.LastScanLength(), 160);
}

class RandomEdits : public TopState, public ::testing::WithParamInterface<bool> {};

TEST_P(RandomEdits, EditsAboveTheLineNeverLeaveAStaleState)
{
    if (GetParam()) {
        xml.SetStringEscape("\\");
        AddBetweenTagsStyle();
    }
    const char *fragments[] = {"<a>", "</a>",      "text", "<!--", "-->", "\"",       "'", " ",
                               "x=",  "<b c='v'>", "1.5",  "é",    "//",  "http://u", "\\"};
    std::mt19937 random(20240611);
    auto randomLine = [&] {
        std::string line;
        for (int n = random() % 6; n > 0; --n)
            line += fragments[random() % std::size(fragments)];
        return line;
    };
    for (int i = 0; i < 400; ++i)
        lines.Add(randomLine());
    for (int step = 0; step < 400; ++step) {
        const int at = random() % lines.Count();
        switch (random() % 4) {
        case 0:
            lines.Put(at, randomLine());
            break;
        case 1:
            lines.Insert(at, randomLine());
            break;
        case 2:
            if (lines.Count() > 50)
                lines.Delete(at);
            break;
        default:
            break;
        }
        const int line = random() % (lines.Count() + 5);
        ASSERT_TRUE(SameCarriedState(Compute(line), Expected(line))) << "step " << step << " line " << line;
    }
}

INSTANTIATE_TEST_SUITE_P(PlainAndWithBetweenTagsRunsAndEscapes, RandomEdits, ::testing::Bool());

TEST_F(TopState, ClearedCachesAreRebuiltForANewStyler)
{
    Fill(100, "(* x");
    EXPECT_FALSE(Compute(50).InComment);
    xml.SetMultiCommentLeft("(*");
    xml.SetMultiCommentRight("*)");
    lines.InvalidateStateCaches(); // what attaching a changed styler does
    tokenizer.Prepare({&xml, true, false, true});
    EXPECT_TRUE(Compute(50).InComment);
}

TEST_F(TopState, TopLineStateIsReusedUntilALineAboveChanges)
{
    Fill(300, "<a>x</a>");
    int storedLine = -1;
    RunState stored;
    TStateCacheTracker &tracker = lines.StateTracker();
    tokenizer.TopLineState(lines, tracker, 200, storedLine, stored);
    EXPECT_EQ(storedLine, 200);
    tokenizer.TopLineState(lines, tracker, 200, storedLine, stored);
    EXPECT_EQ(tokenizer.LastScanLength(), 0);
    lines.Put(250, "<!--");
    tokenizer.TopLineState(lines, tracker, 200, storedLine, stored);
    EXPECT_EQ(tokenizer.LastScanLength(), 0);
    lines.Put(150, "<!--");
    EXPECT_TRUE(tokenizer.TopLineState(lines, tracker, 200, storedLine, stored).InComment);
}

// ---- through the control ----

TEST(ControlHighlighting, AttachingTheStylerFoldsKeywordsAndDelimitsOnItsCharacters)
{
    TDodiXMLStyler styler;
    styler.AllStyles()[0].SetKeyWords({"Val", "ENCODING"});
    REdoDodi editor;
    editor.SetUseStyler(false);
    editor.SetSyntaxStyles(&styler);
    EXPECT_TRUE(editor.UseStyler());
    EXPECT_EQ(styler.AllStyles()[0].KeyWords().Items(), (std::vector<std::string>{"encoding", "val"}));
    for (char32_t c : std::u32string(U"=<?/># \r\n'\""))
        EXPECT_TRUE(editor.IsDelimiter(c)) << static_cast<int>(c);
    EXPECT_FALSE(editor.IsDelimiter(U'a'));
    editor.SetUseStyler(false);
    EXPECT_FALSE(editor.IsDelimiter(U'<'));
    EXPECT_TRUE(editor.IsDelimiter(U' '));
}

TEST(ControlHighlighting, DestroyedStylerIsDroppedAndPaintingGoesOnPlain)
{
    REdoDodi editor;
    editor.Lines()->Assign(std::vector<std::string>{"<!--", "x"});
    {
        TDodiXMLStyler styler;
        editor.SetSyntaxStyles(&styler);
        EXPECT_TRUE(editor.ComputeTopState(1).InComment);
    }
    EXPECT_EQ(editor.SyntaxStyles(), nullptr);
    EXPECT_EQ(editor.ComputeTopState(1), RunState{});
}

TEST(ControlHighlighting, TopLineStateFollowsEditsThroughTheLineStore)
{
    TDodiXMLStyler styler;
    REdoDodi editor;
    editor.SetSyntaxStyles(&styler);
    editor.Lines()->Assign(std::vector<std::string>(200, "<a>x</a>"));
    editor.ViewState().TopLine = 100;
    EXPECT_FALSE(editor.TopLineState().InComment);
    EXPECT_EQ(editor.ViewState().TopStateLine, 100);
    editor.Lines()->Put(5, "<!--");
    EXPECT_TRUE(editor.TopLineState().InComment);
    styler.SetMultiCommentLeft("<!!");
    EXPECT_FALSE(editor.TopLineState().InComment);
}

} // namespace
} // namespace tarnwick
