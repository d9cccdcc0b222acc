// Word wrap as rows of the view over unchanged lines: where rows break, that
// rows and positions convert both ways, that the rows follow edits, and that
// editing at and around row breaks changes exactly the text it touches.
#include "support/editing_fixture.h"

#include "editor/base/utf8.h"
#include "editor/view/row_layout.h"

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

class Wrapping : public EditingFixture {
protected:
    Wrapping()
    {
        ed.SetRightMargin(20);
        ed.SetWordWrap(wwRightMargin);
    }

    const TRowLayout &Layout() const { return ed.RowLayout(); }

    // Every row of every line against a fresh wrap of its text: the starts,
    // the row count, and positions that go to a row and back unchanged.
    void ExpectRowsAgreeWithTheText()
    {
        const REdoDodiStrings &store = *ed.Lines();
        int row = 0;
        for (int line = 0; line < store.Count(); ++line) {
            const std::string text = store.Get(line);
            std::vector<int> expected;
            for (const size_t start : WrapPieceStarts(text, Layout().WrapWidth(), store.TabSize()))
                expected.push_back(utf8::Length(std::string_view(text).substr(0, start)));
            ASSERT_EQ(Layout().RowStarts(line), expected) << "line " << line;
            ASSERT_EQ(ed.VisibleIndexOf(line), row) << "line " << line;
            for (size_t k = 0; k < expected.size(); ++k, ++row) {
                const TRowSpan span = Layout().SpanOfRow(row);
                ASSERT_EQ(span.Line, line);
                ASSERT_EQ(span.Start, expected[k]);
                const int end = span.Last ? span.End : span.End - 1;
                for (int col = span.Start; col <= end; ++col) {
                    const TCaretPos pos{col, line};
                    ASSERT_EQ(Layout().RowOf(pos), row) << "line " << line << " col " << col;
                    ASSERT_EQ(Layout().PositionAt(row, Layout().CellInRow(pos)), pos);
                }
            }
        }
        ASSERT_EQ(Layout().RowCount(), row);
    }

    const std::string text_ = "alpha beta gamma delta epsilon zeta eta theta iota kappa";
};

// Rows break after "alpha beta gamma " and "delta epsilon zeta ".
TEST_F(Wrapping, TheTextStaysAsItIsAndOnlyTheRowsBreak)
{
    SetText({"head", text_, "tail"});
    ASSERT_EQ(Layout().RowStarts(1), (std::vector<int>{0, 17, 36}));
    EXPECT_EQ(Text(), (std::vector<std::string>{"head", text_, "tail"}));
    EXPECT_EQ(Layout().RowCount(), 5);
    EXPECT_EQ(ed.VisibleIndexOf(2), 4);

    const std::string all = "head\r\n" + text_ + "\r\ntail\r\n";
    EXPECT_EQ(ed.Lines()->Text(), all);
    std::ostringstream streamed;
    ed.Lines()->SaveToStream(streamed);
    EXPECT_EQ(streamed.str(), all);
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tarnwick_wrap_save_test.txt";
    ed.Lines()->SaveToFile(path.string());
    std::ifstream in(path, std::ios::binary);
    std::stringstream saved;
    saved << in.rdbuf();
    std::filesystem::remove(path);
    EXPECT_EQ(saved.str(), all);

    // Indexes count the text as it is, from a search as from a position.
    const int hit = ed.SearchText("epsilon", TFindOptions{frDown});
    EXPECT_EQ(hit, 6 + 23);
    EXPECT_EQ(ed.SelStart(), ed.IndexOfPosition(ed.CaretState().SelStart));
    EXPECT_EQ(ed.PositionOfIndex(hit), (TCaretPos{23, 1}));
}

TEST_F(Wrapping, EditsAtRowBreaksChangeExactlyWhatTheyTouch)
{
    SetText({text_});
    // Backspace at the start of a continuation row takes the blank before it.
    Place(17, 0);
    Key(VK_BACK);
    EXPECT_EQ(Line(0), "alpha beta gammadelta epsilon zeta eta theta iota kappa");
    EXPECT_EQ(Caret(), (TCaretPos{16, 0}));
    ed.Undo();
    EXPECT_EQ(Line(0), text_);

    // Enter inside a continuation row splits the line right there.
    Place(20, 0);
    Enter();
    EXPECT_EQ(Text(), (std::vector<std::string>{"alpha beta gamma del", "ta epsilon zeta eta theta iota kappa"}));
    ed.Undo();
    EXPECT_EQ(Text(), (std::vector<std::string>{text_}));

    // Enter at a row break, then Undo: not a blank lost.
    Place(36, 0);
    Enter();
    ed.Undo();
    EXPECT_EQ(Text(), (std::vector<std::string>{text_}));
    ed.Redo();
    EXPECT_EQ(Text(), (std::vector<std::string>{"alpha beta gamma delta epsilon zeta", "eta theta iota kappa"}));
    ExpectRowsAgreeWithTheText();
}

TEST_F(Wrapping, UpAndDownGoByRowsKeepingTheCell)
{
    SetText({text_, "short"});
    Place(3, 0);
    Key(VK_DOWN);
    EXPECT_EQ(Caret(), (TCaretPos{20, 0}));
    Key(VK_DOWN);
    EXPECT_EQ(Caret(), (TCaretPos{39, 0}));
    Key(VK_DOWN);
    EXPECT_EQ(Caret(), (TCaretPos{3, 1}));
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(Caret(), (TCaretPos{20, 0}));
    // Past the end of a row the caret stops before its break.
    Place(16, 0);
    Key(VK_DOWN);
    EXPECT_EQ(Caret(), (TCaretPos{33, 0}));
    Place(50, 0);
    Key(VK_UP);
    EXPECT_EQ(Caret(), (TCaretPos{31, 0}));
}

TEST_F(Wrapping, AClickOnAContinuationRowLandsInItsColumns)
{
    SetText({text_});
    const TRect text = ed.TextArea();
    const int x = text.left + 2 * ed.CharWidth() + 1;
    const int y = text.top + 1 * ed.LineHeight() + 1;
    ed.MouseDown(mbLeft, TShiftState{ssLeft}, x, y);
    ed.MouseUp(mbLeft, TShiftState{}, x, y);
    EXPECT_EQ(Caret(), (TCaretPos{19, 0}));
}

TEST_F(Wrapping, AWidthChangeMovesTheBreaksNotTheTextNorItsHistory)
{
    SetText({text_});
    Place(5, 0);
    Type(U"!");
    ed.SetRightMargin(30);
    EXPECT_EQ(Layout().WrapWidth(), 30);
    ExpectRowsAgreeWithTheText();
    ed.SetWordWrap(wwClientWidth);
    EXPECT_EQ(Layout().WrapWidth(), ed.VisibleColumns() - 1);
    ed.SetWordWrap(wwNone);
    EXPECT_EQ(Layout().RowCount(), 1);
    ASSERT_TRUE(ed.CanUndo());
    ed.Undo();
    EXPECT_EQ(Line(0), text_);

    // Scrolled into the middle of a long line, the view keeps showing the
    // same text at its top across a new width.
    std::string words;
    for (int k = 0; k < 150; ++k)
        words += "word" + std::to_string(k) + " ";
    SetText({words});
    ed.SetWordWrap(wwRightMargin);
    ed.SetRightMargin(20);
    ed.SetTopRow(6);
    ASSERT_EQ(ed.TopRow(), 6);
    const int column = Layout().SpanOfRow(6).Start;
    ed.SetRightMargin(33);
    EXPECT_EQ(ed.TopRow(), Layout().RowOf({column, 0}));
    EXPECT_GT(ed.TopRow(), 0);
}

// Random lines of words and blanks, wrapped at random widths and edited at
// random: the rows kept up edit by edit always match a fresh wrap.
TEST_F(Wrapping, RowsFollowRandomTextsWidthsAndEdits)
{
    std::mt19937 random(20240607);
    auto word = [&](int maxLength) {
        std::string w(1 + random() % maxLength, 'a');
        for (char &c : w)
            c = static_cast<char>('a' + random() % 26);
        return w;
    };
    for (int round = 0; round < 30; ++round) {
        std::vector<std::string> lines;
        for (int i = 1 + random() % 8; i > 0; --i) {
            std::string line;
            for (int k = random() % 20; k > 0; --k)
                line += word(random() % 3 == 0 ? 30 : 7) + std::string(random() % 3, ' ');
            lines.push_back(line);
        }
        SetText(lines);
        ed.SetRightMargin(5 + random() % 40);
        for (int edit = 0; edit < 6; ++edit) {
            const int line = random() % ed.Lines()->Count();
            Place(random() % (ed.Lines()->LineLength(line) + 1), line);
            if (random() % 3 == 0)
                Enter();
            else if (random() % 2 == 0)
                Key(VK_BACK);
            else
                Type(U"zz ");
            ExpectRowsAgreeWithTheText();
            if (HasFatalFailure())
                FAIL() << "round " << round << " edit " << edit;
        }
    }
}

} // namespace
} // namespace tarnwick::test
