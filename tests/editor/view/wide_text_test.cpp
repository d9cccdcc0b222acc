// The view on text whose characters take two cells or none: runs, the
// selection, underlines, block lines, the caret, printing, scrolling to the
// caret and word wrap all count cells, while lines of one-cell characters
// paint exactly as their ASCII twins.
#include "support/paint_fixture.h"

#include "editor/base/utf8.h"
#include "editor/base/win_constants.h"
#include "editor/highlight/xml_styler.h"
#include "editor/view/row_layout.h"

#include <tuple>

namespace tarnwick::test {
namespace {

// 中, 文, 😀 and e with a combining acute, spelled in UTF-8.
const std::string kZhong = "\xE4\xB8\xAD";
const std::string kWen = "\xE6\x96\x87";
const std::string kSmile = "\xF0\x9F\x98\x80";
const std::string kAcute = "\xCC\x81";

class WideText : public PaintTest {
protected:
    std::vector<CanvasCall> Texts(int line) { return Only(LineCalls(line), "TextOut"); }

    // Where each drawn run starts, what it says and in which colours.
    static std::vector<std::tuple<int, int, TColor, TColor>> Layout(const std::vector<CanvasCall> &texts)
    {
        std::vector<std::tuple<int, int, TColor, TColor>> out;
        for (const CanvasCall &c : texts)
            out.emplace_back(c.Args[0], utf8::Length(c.Text), c.Font.Color, c.Brush.Color);
        return out;
    }
};

TEST_F(WideText, AccentedLatinLinesPaintAsTheirAsciiTwins)
{
    TDodiXMLStyler xml;
    ed.SetSyntaxStyles(&xml);
    ed.SetHideSelection(false);
    // Precomposed letters, one cell each: every run, cut by the selection
    // and scrolled, lands where the same line in plain ASCII does.
    SetText("<caf\xC3\xA9 cr\xC3\xA8me=\"br\xC3\xBBl\xC3\xA9\">na\xC3\xAFve</caf\xC3\xA9>\r\n"
            "<cafe creme=\"brule\">naive</cafe>");
    ed.CaretState().SelStart = {3, 0};
    ed.CaretState().SelEnd = {17, 0};
    for (const int left : {0, 2, 9}) {
        ed.ViewState().LeftColumn = left;
        ed.CaretState().SelStart.Line = ed.CaretState().SelEnd.Line = 0;
        const auto accented = Layout(Texts(0));
        ed.CaretState().SelStart.Line = ed.CaretState().SelEnd.Line = 1;
        EXPECT_EQ(accented, Layout(Texts(1))) << "left column " << left;
    }
}

TEST_F(WideText, RunsSelectionUnderlinesAndBlockLinesTakeTheCellsOfTheirCharacters)
{
    ed.SetHideSelection(false);
    // a 中 b 😀 c e+acute d: cells 0, 1-2, 3, 4-5, 6, 7, 8.
    SetText("a" + kZhong + "b" + kSmile + "ce" + kAcute + "d");
    ed.CaretState().SelStart = {1, 0};
    ed.CaretState().SelEnd = {4, 0};
    std::vector<CanvasCall> texts = Texts(0);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Args[0], 0);
    EXPECT_EQ(texts[1].Text, kZhong + "b" + kSmile);
    EXPECT_EQ(texts[1].Args[0], 1 * kCell);
    EXPECT_EQ(texts[1].Brush.Color, ed.SelBkColor());
    EXPECT_EQ(texts[2].Args[0], 6 * kCell);

    // Scrolled by cells: the view starts in the right half of 中, which is
    // drawn from one cell left of the edge and clipped.
    ed.ViewState().LeftColumn = 2;
    texts = Texts(0);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].Args[0], -kCell);
    EXPECT_EQ(texts[0].Text.substr(0, kZhong.size()), kZhong);
    ed.ViewState().LeftColumn = 0;

    TUnderlineRanges &ranges = ed.Lines()->EnsureLineProp(0)->EnsureUnderlineRanges();
    ranges.Starts.Add(3);
    ranges.Lengths.Add(2);                 // 😀 c: cells 4 to 7
    ed.ViewState().BlockStart = {0, 1, 2}; // 中 b: cells 1 to 4
    ed.SetBlockLineColor(clBlue);
    const std::vector<CanvasCall> lines = Only(LineCalls(0), "Line");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().Args[0], 4 * kCell);
    const CanvasCall &lastWave = lines[lines.size() - 2];
    EXPECT_EQ(lastWave.Args[2], 7 * kCell);
    EXPECT_EQ(lines.back().Args, (std::vector<int>{1 * kCell, kRow - 2, 4 * kCell, kRow - 2}));
}

TEST_F(WideText, ThePrintedLineAdvancesByCellsOfItsOwnUnit)
{
    SetText(kZhong + kWen + "x");
    RecordingCanvas page;
    RunState state = ed.ComputeTopState(0);
    ed.PaintLine(page, 0, {100, 200, 700, 217}, 2, state);
    const std::vector<CanvasCall> fills = page.CallsOf("FillRect");
    ASSERT_FALSE(fills.empty());
    // The rest of the line is filled from after the five cells of text.
    EXPECT_EQ(fills.back().Args[0], 100 + 5 * kCell);
}

TEST_F(WideText, TheCaretStandsAtTheCellOfItsColumnAndIsScrolledIntoViewByIt)
{
    std::string line;
    for (int k = 0; k < 60; ++k)
        line += k % 2 ? kWen : kZhong;
    SetText(line + "\r\nplain");
    ed.SetBounds(0, 0, 30 * kCell, 10 * kRow);
    ed.FocusGained();
    const TRect text = ed.TextArea();
    ed.SetCaretDirect(3, 0);
    Paint();
    EXPECT_EQ(host.CaretPos.x, text.left + 6 * kCell);

    // Column 40 is cell 80: the view scrolls by cells until it shows it.
    ed.SetCaretCol(40);
    const int columns = ed.VisibleColumns();
    EXPECT_LE(ed.LeftColumn(), 80);
    EXPECT_GT(ed.LeftColumn() + columns, 80);
    Paint();
    EXPECT_EQ(host.CaretPos.x, text.left + (80 - ed.LeftColumn()) * kCell);
    EXPECT_TRUE(host.CaretVisible);

    // Up and Down keep the caret's cell, not its column.
    ed.SetCaretDirect(2, 0);
    uint16_t key = VK_DOWN;
    ed.KeyDown(key, {});
    EXPECT_EQ(ed.CaretCol(), 4);
    EXPECT_EQ(ed.CaretLine(), 1);
    key = VK_UP;
    ed.KeyDown(key, {});
    EXPECT_EQ(ed.CaretCol(), 2);

    // Left and Right never stop between a letter and its combining marks.
    SetText("ae\xCC\x81\xCC\xA3x");
    ed.SetCaretDirect(1, 0);
    key = VK_RIGHT;
    ed.KeyDown(key, {});
    EXPECT_EQ(ed.CaretCol(), 4);
    key = VK_LEFT;
    ed.KeyDown(key, {});
    EXPECT_EQ(ed.CaretCol(), 1);
}

TEST(WideTextWrap, PiecesHoldAtMostTheWidthInCellsAndKeepMarksWithTheirLetter)
{
    std::string text;
    for (int k = 0; k < 12; ++k)
        text += kZhong;
    // Twelve two-cell characters in ten cells: five to a piece.
    std::vector<size_t> starts = WrapPieceStarts(text, 10);
    EXPECT_EQ(starts, (std::vector<size_t>{0, 5 * kZhong.size(), 10 * kZhong.size()}));
    // "a" then 中 x 5 reaches cell 11: the fifth 中 goes on.
    starts = WrapPieceStarts("a" + text.substr(0, 5 * kZhong.size()), 10);
    EXPECT_EQ(starts, (std::vector<size_t>{0, 1 + 4 * kZhong.size()}));
    // A cut after the fourth e keeps its acute with it.
    std::string accents;
    for (int k = 0; k < 6; ++k)
        accents += "e" + kAcute;
    starts = WrapPieceStarts(accents, 4);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1], 4 * (1 + kAcute.size()));
    // Words: "中文 " is three characters but five cells, so three of them
    // (nine characters) are cut after the first.
    const std::string word = kZhong + kWen + " ";
    starts = WrapPieceStarts(word + word + word, 10);
    EXPECT_EQ(starts, (std::vector<size_t>{0, word.size()}));
}

} // namespace
} // namespace tarnwick::test
