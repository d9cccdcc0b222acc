// Soft word wrap: where lines are cut, continuation marks, and that joining
// the pieces gives back exactly the text, its line records and the caret.
#include "editor/control/redodi.h"
#include "editor/view/word_wrap.h"
#include "support/fake_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace tarnwick::test {
namespace {

std::vector<std::string> Pieces(std::string_view text, int width)
{
    const std::vector<size_t> starts = WrapPieceStarts(text, width);
    std::vector<std::string> out;
    for (size_t k = 0; k < starts.size(); ++k) {
        const size_t end = k + 1 < starts.size() ? starts[k + 1] : text.size();
        out.emplace_back(text.substr(starts[k], end - starts[k]));
    }
    return out;
}

TEST(WrapPieces, ALongWordIsCutAtTheWidth)
{
    const std::vector<std::string> pieces = Pieces(std::string(200, 'x'), 80);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].size(), 80u);
    EXPECT_EQ(pieces[1].size(), 80u);
    EXPECT_EQ(pieces[2].size(), 40u);
}

TEST(WrapPieces, WordsStayWholeAndPiecesEndWithTheirSpace)
{
    EXPECT_EQ(Pieces("aaaa bbbb cccc", 10), (std::vector<std::string>{"aaaa ", "bbbb cccc"}));
    // "aaa " + "bbbbb " would make 10 characters: the word moves on.
    EXPECT_EQ(Pieces("aaa bbbbb cc dd", 10), (std::vector<std::string>{"aaa ", "bbbbb cc ", "dd"}));
    EXPECT_EQ(Pieces("short", 10), (std::vector<std::string>{"short"}));
}

TEST(WrapPieces, WidthsCountCodePoints)
{
    const std::string e = "\xC3\xA9"; // é, two bytes
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += e;
    const std::vector<std::string> pieces = Pieces(text, 5);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].size(), 10u);
    EXPECT_EQ(pieces[2].size(), 4u);
}

class Wrapping : public ::testing::Test {
protected:
    std::vector<std::string> Lines() const { return ed.Lines()->ToVector(); }
    bool Continues(int line) const
    {
        const TLineProp *p = ed.Lines()->LinePropOf(line);
        return p && p->WrapContinuation;
    }

    FakeHost host;
    REdoDodi ed{&host};
};

TEST_F(Wrapping, LongLineBecomesContinuationPiecesAndJoinsBackExactly)
{
    const std::string longLine = std::string(200, 'x');
    ed.Lines()->SetText("before\r\n" + longLine + "\r\nafter");
    ed.SetWordWrap(wwRightMargin);
    ASSERT_EQ(Lines(), (std::vector<std::string>{"before", std::string(80, 'x'), std::string(80, 'x'),
                                                 std::string(40, 'x'), "after"}));
    EXPECT_FALSE(Continues(1));
    EXPECT_TRUE(Continues(2));
    EXPECT_TRUE(Continues(3));
    EXPECT_FALSE(Continues(4));
    EXPECT_EQ(ed.ViewState().WrapList.Items(), (std::vector<int32_t>{2, 3}));
    ed.SetWordWrap(wwNone);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"before", longLine, "after"}));
    EXPECT_FALSE(Continues(1));
}

// Character indexes count the text as the user has it: a soft break is no
// character, whether the index comes from the selection, a search or a position.
TEST_F(Wrapping, IndexesAndTheTextIgnoreSoftBreaks)
{
    const std::string longLine = std::string(100, 'x') + "needle";
    ed.Lines()->SetText("ab\r\n" + longLine);
    ed.SetWordWrap(wwRightMargin);
    ASSERT_GT(ed.Lines()->Count(), 2);
    const int hit = ed.SearchText("needle", TFindOptions{frDown});
    EXPECT_EQ(hit, 4 + 100);
    EXPECT_EQ(ed.SelStart(), ed.IndexOfPosition(ed.CaretState().SelStart));
    EXPECT_EQ(ed.Lines()->Text(), "ab\r\n" + longLine + "\r\n");
    std::ostringstream saved;
    ed.Lines()->SaveToStream(saved);
    EXPECT_EQ(saved.str(), ed.Lines()->Text());
}

TEST_F(Wrapping, ClientWidthWrapsOneColumnShortOfTheView)
{
    ed.Lines()->SetText(std::string(60, 'y'));
    ed.SetWordWrap(wwClientWidth);
    const int width = ed.VisibleColumns() - 1;
    ASSERT_GT(width, 0);
    EXPECT_EQ(static_cast<int>(Lines()[0].size()), width);
}

TEST_F(Wrapping, LineRecordStaysWithTheFirstPieceAndSurvivesTheRoundTrip)
{
    ed.Lines()->SetText(std::string(200, 'x'));
    TLineProp &prop = *ed.Lines()->EnsureLineProp(0);
    prop.Breakpoint = true;
    prop.Modified = true;
    ed.SetWordWrap(wwRightMargin);
    ASSERT_NE(ed.Lines()->LinePropOf(0), nullptr);
    EXPECT_TRUE(ed.Lines()->LinePropOf(0)->Breakpoint);
    ed.SetWordWrap(wwNone);
    ASSERT_NE(ed.Lines()->LinePropOf(0), nullptr);
    EXPECT_TRUE(ed.Lines()->LinePropOf(0)->Breakpoint);
    EXPECT_TRUE(ed.Lines()->LinePropOf(0)->Modified);
}

TEST_F(Wrapping, CaretAndMarkersKeepTheirPlaceInTheText)
{
    ed.Lines()->SetText("head\r\n" + std::string(200, 'x') + "\r\ntail");
    ed.SetCaretDirect(170, 1);
    ed.AddMarker(2, "tail marker", 0);
    ed.SetWordWrap(wwRightMargin);
    EXPECT_EQ(ed.CaretLine(), 3);
    EXPECT_EQ(ed.CaretCol(), 10);
    EXPECT_EQ(ed.MarkerList()->Markers().Items(0).LineNumber, 4);
    ed.SetWordWrap(wwNone);
    EXPECT_EQ(ed.CaretLine(), 1);
    EXPECT_EQ(ed.CaretCol(), 170);
    EXPECT_EQ(ed.MarkerList()->Markers().Items(0).LineNumber, 2);
}

TEST_F(Wrapping, WrappingWrappedTextAgainKeepsTheBreaksSoft)
{
    ed.Lines()->SetText(std::string(200, 'x'));
    ed.SetWordWrap(wwRightMargin);
    ed.SetRightMargin(50);
    ed.Rewrap();
    EXPECT_EQ(Lines().size(), 4u);
    ed.WrapAll();
    ed.SetWordWrap(wwNone);
    EXPECT_EQ(Lines(), (std::vector<std::string>{std::string(200, 'x')}));
}

TEST_F(Wrapping, SavedFileHoldsTheUnwrappedLines)
{
    ed.Lines()->SetText("a b\r\n" + std::string(120, 'z'));
    ed.SetWordWrap(wwRightMargin);
    ASSERT_EQ(Lines().size(), 3u);
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tarnwick_wrap_save_test.txt";
    ed.Lines()->SaveToFile(path.string());
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::filesystem::remove(path);
    EXPECT_EQ(bytes.str(), "a b\r\n" + std::string(120, 'z') + "\r\n");
    EXPECT_EQ(Lines().size(), 3u);
}

// Random lines of words and spaces, wrapped at random widths, always join
// back to the text they came from, and no piece outgrows its width unless it
// is a single over-long word cut to exactly that width.
TEST_F(Wrapping, RandomTextsSurviveWrapAndUnwrap)
{
    std::mt19937 random(20240607);
    auto word = [&](int maxLength) {
        std::string w(1 + random() % maxLength, 'a');
        for (char &c : w)
            c = static_cast<char>('a' + random() % 26);
        return w;
    };
    for (int round = 0; round < 40; ++round) {
        std::vector<std::string> original;
        const int lineCount = 1 + random() % 12;
        for (int i = 0; i < lineCount; ++i) {
            std::string line;
            const int words = random() % 30;
            for (int k = 0; k < words; ++k)
                line += word(random() % 3 == 0 ? 40 : 8) + std::string(random() % 3, ' ');
            original.push_back(line);
        }
        std::string text;
        for (const std::string &line : original)
            text += line + "\r\n";
        ed.SetWordWrap(wwNone);
        ed.Lines()->SetText(text);
        const int width = 5 + random() % 60;
        ed.SetRightMargin(width);
        ed.SetWordWrap(wwRightMargin);
        for (int i = 0; i < ed.Lines()->Count(); ++i)
            EXPECT_LE(ed.Lines()->LineLength(i), std::max(width, 1)) << "round " << round;
        ed.SetWordWrap(wwNone);
        ASSERT_EQ(Lines(), original) << "round " << round << " width " << width;
    }
}

} // namespace
} // namespace tarnwick::test
