// The editor's line-oriented search: direction, the window left and right of
// the selection, overlapping hits, whole words, ASCII-only case folding,
// trailing blanks, code point columns and the end without wrap-around.
#include "editor/control/redodi.h"
#include "support/fake_host.h"

#include <gtest/gtest.h>

using namespace tarnwick;
using tarnwick::test::FakeHost;

namespace {

const TFindOptions kDown{frDown};
const TFindOptions kUp{};

class SearchTextTest : public ::testing::Test {
protected:
    void Load(const std::vector<std::string> &lines)
    {
        ed.SetLines(lines);
        Place(0, 0);
    }
    // Caret and an empty selection at (col, line), as after opening the dialog.
    void Place(int col, int line)
    {
        ed.SetCaretDirect(col, line);
        ed.CaretState().SelStart = ed.CaretState().SelEnd = {0, 0};
    }
    void Select(TCaretPos start, TCaretPos end)
    {
        ed.CaretState().SelStart = start;
        ed.CaretState().SelEnd = end;
    }
    TCaretPos Start() const { return ed.CaretState().SelStart; }
    TCaretPos End() const { return ed.CaretState().SelEnd; }

    FakeHost host;
    REdoDodi ed{&host};
};

TEST_F(SearchTextTest, DownFindsEachHitOfTheLineThenGoesOn)
{
    Load({"ab ab", "xx", "zab"});
    EXPECT_EQ(ed.SearchText("ab", kDown), 0);
    EXPECT_EQ(Start(), (TCaretPos{0, 0}));
    EXPECT_EQ(End(), (TCaretPos{2, 0}));
    EXPECT_EQ(ed.CaretCol(), 0);

    EXPECT_EQ(ed.SearchText("ab", kDown), 3);
    EXPECT_EQ(ed.CaretCol(), 3);
    EXPECT_EQ(End(), (TCaretPos{5, 0}));

    // "ab ab" + CR LF + "xx" + CR LF + "z" = 7 + 4 + 1.
    EXPECT_EQ(ed.SearchText("ab", kDown), 12);
    EXPECT_EQ(ed.CaretLine(), 2);
    EXPECT_EQ(ed.CaretCol(), 1);
    EXPECT_EQ(Start(), (TCaretPos{1, 2}));
    EXPECT_EQ(End(), (TCaretPos{3, 2}));
}

TEST_F(SearchTextTest, FirstSearchOnALaterLineStartsAtItsFirstColumn)
{
    Load({"", "ab cd ab"});
    Place(7, 1);
    EXPECT_EQ(ed.SearchText("ab", kDown), 2);
    EXPECT_EQ(ed.CaretCol(), 0);
}

TEST_F(SearchTextTest, UpLooksOnlyBeforeTheSelection)
{
    Load({"ab ab ab"});
    Place(3, 0);
    Select({3, 0}, {5, 0});
    EXPECT_EQ(ed.SearchText("ab", kUp), 0);
    EXPECT_EQ(Start(), (TCaretPos{0, 0}));
    EXPECT_EQ(End(), (TCaretPos{2, 0}));
    // Nothing before column 0 and no line above.
    EXPECT_EQ(ed.SearchText("ab", kUp), -1);
}

TEST_F(SearchTextTest, UpTakesTheLastHitOfEarlierLines)
{
    Load({"ab ab", "cd"});
    Place(0, 1);
    Select({0, 1}, {0, 1});
    EXPECT_EQ(ed.SearchText("ab", kUp), 3);
    EXPECT_EQ(ed.CaretLine(), 0);
    EXPECT_EQ(ed.CaretCol(), 3);
}

TEST_F(SearchTextTest, OccurrencesMayOverlap)
{
    Load({"aaa"});
    Place(0, 0);
    Select({1, 0}, {1, 0});
    EXPECT_EQ(ed.SearchText("aa", kDown), 1);

    Load({"aaa", ""});
    Place(0, 1);
    Select({0, 1}, {0, 1});
    EXPECT_EQ(ed.SearchText("aa", kUp), 1);
}

TEST_F(SearchTextTest, WholeWordPassesOverOccurrencesInsideLongerWords)
{
    Load({"xab ab", "ab"});
    EXPECT_EQ(ed.SearchText("ab", TFindOptions{frDown, frWholeWord}), 4);
    EXPECT_EQ(ed.CaretLine(), 0);

    Load({"xab ab", ""});
    Place(0, 1);
    Select({0, 1}, {0, 1});
    EXPECT_EQ(ed.SearchText("ab", TFindOptions{frWholeWord}), 4);
    EXPECT_EQ(ed.CaretCol(), 4);
}

TEST_F(SearchTextTest, WholeWordLooksAtTheWholeLineNotJustPastTheSelection)
{
    Load({"abab"});
    Select({0, 0}, {2, 0});
    EXPECT_EQ(ed.SearchText("ab", TFindOptions{frDown, frWholeWord}), -1);
}

TEST_F(SearchTextTest, CaseFoldingCoversAsciiLettersOnly)
{
    Load({"x abc"});
    EXPECT_EQ(ed.SearchText("ABC", kDown), 2);
    Load({"x abc"});
    EXPECT_EQ(ed.SearchText("ABC", TFindOptions{frDown, frMatchCase}), -1);
    Load({"été"});
    EXPECT_EQ(ed.SearchText("ÉTÉ", kDown), -1);
    Load({"été"});
    EXPECT_EQ(ed.SearchText("éTé", kDown), 0);
}

TEST_F(SearchTextTest, ColumnsCountCodePoints)
{
    Load({"€€ word"});
    EXPECT_EQ(ed.SearchText("word", kDown), 3);
    EXPECT_EQ(Start(), (TCaretPos{3, 0}));
    EXPECT_EQ(End(), (TCaretPos{7, 0}));
    EXPECT_EQ(ed.SelText(), "word");
}

TEST_F(SearchTextTest, TrailingBlanksAreNeverMatched)
{
    Load({"ab   ", "b"});
    EXPECT_EQ(ed.SearchText("b ", kDown), -1);
}

TEST_F(SearchTextTest, NoHitEmptiesTheSelectionAndKeepsTheCaret)
{
    Load({"ab", "cd", "ef"});
    Place(1, 1);
    Select({0, 1}, {1, 1});
    EXPECT_EQ(ed.SearchText("ab", kDown), -1);
    EXPECT_EQ(Start(), (TCaretPos{0, 0}));
    EXPECT_EQ(End(), (TCaretPos{0, 0}));
    EXPECT_EQ(ed.CaretLine(), 1);
    EXPECT_EQ(ed.CaretCol(), 1);
}

TEST_F(SearchTextTest, EmptyTextChangesNothing)
{
    Load({"ab"});
    Select({0, 0}, {1, 0});
    EXPECT_EQ(ed.SearchText("", kDown), -1);
    EXPECT_EQ(End(), (TCaretPos{1, 0}));
}

TEST_F(SearchTextTest, AHitNeverSpansTwoLines)
{
    Load({"ab", "cd"});
    EXPECT_EQ(ed.SearchText("b\r\nc", kDown), -1);
}

TEST(FindInLine, WindowBoundsTheHit)
{
    const std::u32string line = U"ab ab";
    EXPECT_EQ(FindInLine(line, U"ab", {1, 5}, TFindOptions{frDown}), 3);
    EXPECT_EQ(FindInLine(line, U"ab", {0, 4}, TFindOptions{}), 0);
    EXPECT_EQ(FindInLine(line, U"ab", {4, 5}, TFindOptions{frDown}), -1);
    EXPECT_EQ(FindInLine(line, U"ab", {-3, 99}, TFindOptions{}), 3);
}

} // namespace
