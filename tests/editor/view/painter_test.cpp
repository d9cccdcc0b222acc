// Painting the control: where runs land and in which colours, the
// selection, active and breakpoint lines, underlines, block highlights, the
// empty text, the right margin, the border, the caret and the printed line.
#include "support/paint_fixture.h"

#include "editor/highlight/xml_styler.h"

#include <algorithm>

namespace tarnwick::test {
namespace {

class Painting : public PaintTest {
protected:
    std::vector<CanvasCall> Texts(int line) { return Only(LineCalls(line), "TextOut"); }
    static std::string Joined(const std::vector<CanvasCall> &texts)
    {
        std::string out;
        for (const CanvasCall &c : texts)
            out += c.Text;
        return out;
    }
};

TEST_F(Painting, RunsSitOnTheCellGridInTheirStylerColours)
{
    TDodiXMLStyler xml;
    ed.SetSyntaxStyles(&xml);
    SetText("<a b=\"1\">t</a>");
    const std::vector<CanvasCall> texts = Texts(0);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(Joined(texts), "<a b=\"1\">t</a>");
    int column = 0;
    for (const CanvasCall &c : texts) {
        EXPECT_EQ(c.Args[0], column * kCell) << c.Text;
        EXPECT_EQ(c.Args[1], 0);
        EXPECT_EQ(c.Brush.Color, clWhite) << c.Text;
        column += static_cast<int>(c.Text.size());
    }
    // "<" is a symbol of the XML delimiters (teal); the quoted value is bold black.
    EXPECT_EQ(texts.front().Text, "<");
    EXPECT_EQ(texts.front().Font.Color, clTeal);
    auto quoted = std::find_if(texts.begin(), texts.end(), [](const CanvasCall &c) { return c.Text == "\"1\""; });
    ASSERT_NE(quoted, texts.end());
    EXPECT_TRUE(quoted->Font.Style.Contains(fsBold));
}

TEST_F(Painting, WithoutStylerTheLineIsOneRunInTheEditorFont)
{
    SetText("plain text");
    const std::vector<CanvasCall> texts = Texts(0);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Font.Name, "COURIER NEW");
    EXPECT_EQ(texts[0].Font.Color, clBlack);
}

TEST_F(Painting, ScrolledRightOnlyTheCharactersFromLeftColumnAreDrawn)
{
    SetText("0123456789");
    ed.ViewState().LeftColumn = 3;
    const std::vector<CanvasCall> texts = Texts(0);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Args[0], 0);
    EXPECT_EQ(texts[0].Text, "3456789");
}

TEST_F(Painting, WideCharactersTakeTwoCells)
{
    SetText("\xC3\xA9"
            "a\xE4\xB8\xAD"
            "b\xF0\x9F\x98\x80"
            "c"); // é a 中 b 😀 c
    ed.SetHideSelection(false);
    ed.CaretState().SelStart = {2, 0};
    ed.CaretState().SelEnd = {4, 0};
    const std::vector<CanvasCall> texts = Texts(0);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, "\xC3\xA9"
                             "a");
    EXPECT_EQ(texts[1].Text, "\xE4\xB8\xAD"
                             "b");
    EXPECT_EQ(texts[1].Args[0], 2 * kCell);
    EXPECT_EQ(texts[2].Text, "\xF0\x9F\x98\x80"
                             "c");
    EXPECT_EQ(texts[2].Args[0], 5 * kCell);
}

TEST_F(Painting, SelectedPartIsDrawnInSelectionColours)
{
    SetText("abcdef");
    ed.SetHideSelection(false);
    ed.CaretState().SelStart = {4, 0};
    ed.CaretState().SelEnd = {2, 0};
    const std::vector<CanvasCall> texts = Texts(0);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].Text, "cd");
    EXPECT_EQ(texts[1].Font.Color, ed.SelColor());
    EXPECT_EQ(texts[1].Brush.Color, ed.SelBkColor());
    EXPECT_EQ(texts[2].Font.Color, clBlack);
    EXPECT_EQ(texts[2].Brush.Color, clWhite);
}

TEST_F(Painting, SelectionIsHiddenWithoutFocusUnlessAskedToStay)
{
    SetText("abcdef");
    ed.CaretState().SelStart = {0, 0};
    ed.CaretState().SelEnd = {3, 0};
    EXPECT_EQ(Texts(0).size(), 1u);
    ed.Flags().FindDialogOpen = true;
    EXPECT_EQ(Texts(0).size(), 2u);
    ed.Flags().FindDialogOpen = false;
    ed.FocusGained();
    EXPECT_EQ(Texts(0).size(), 2u);
    ed.FocusLost(false);
    ed.SetHideSelection(false);
    EXPECT_EQ(Texts(0).size(), 2u);
}

TEST_F(Painting, SelectionOnTheActiveLineSwapsItsColours)
{
    SetText("abcdef");
    ed.SetHideSelection(false);
    ed.ActiveLineSettings()->SetShowActiveLine(true);
    ed.ViewState().ActiveLine = 0;
    ed.CaretState().SelStart = {0, 0};
    ed.CaretState().SelEnd = {2, 0};
    const std::vector<CanvasCall> texts = Texts(0);
    ASSERT_EQ(texts.size(), 2u);
    const TDodiActiveLineSettings &active = *ed.ActiveLineSettings();
    EXPECT_EQ(texts[0].Font.Color, active.ActiveLineColor());
    EXPECT_EQ(texts[0].Brush.Color, active.ActiveLineTextColor());
    EXPECT_EQ(texts[1].Font.Color, active.ActiveLineTextColor());
    EXPECT_EQ(texts[1].Brush.Color, active.ActiveLineColor());
}

TEST_F(Painting, BreakpointLineIsRedToItsEnd)
{
    SetText("ab");
    ed.Lines()->EnsureLineProp(0)->Breakpoint = true;
    const std::vector<CanvasCall> calls = LineCalls(0);
    const std::vector<CanvasCall> texts = Only(calls, "TextOut");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Brush.Color, ed.BreakpointColor());
    EXPECT_EQ(texts[0].Font.Color, ed.BreakpointTextColor());
    const std::vector<CanvasCall> fills = Only(calls, "FillRect");
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].Args, (std::vector<int>{2 * kCell, 0, ed.TextArea().Width(), kRow - 1}));
    EXPECT_EQ(fills[1].Brush.Color, ed.BreakpointColor());
}

TEST_F(Painting, UnderlineIsARedWaveWhosePhaseFollowsX)
{
    SetText("abcdef");
    TUnderlineRanges &ranges = ed.Lines()->EnsureLineProp(0)->EnsureUnderlineRanges();
    ranges.Starts.Add(1);
    ranges.Lengths.Add(2);
    const std::vector<CanvasCall> lines = Only(LineCalls(0), "Line");
    ASSERT_EQ(lines.size(), 8u);
    const int y = kRow - 2;
    EXPECT_EQ(lines[0].Args, (std::vector<int>{8, y + 1, 10, y - 1}));
    EXPECT_EQ(lines[1].Args, (std::vector<int>{10, y - 1, 12, y + 1}));
    EXPECT_EQ(lines[0].Pen.Color, clRed);
}

TEST_F(Painting, BlockWordTakesTheBlockColourAndItsLineWhenSet)
{
    SetText("begin x");
    ed.ViewState().BlockStart = {0, 0, 5};
    std::vector<CanvasCall> calls = LineCalls(0);
    EXPECT_EQ(Only(calls, "TextOut")[0].Brush.Color, ed.BlockColor());
    EXPECT_TRUE(Only(calls, "Line").empty());
    ed.SetBlockLineColor(clRed);
    calls = LineCalls(0);
    const std::vector<CanvasCall> lines = Only(calls, "Line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Args, (std::vector<int>{0, kRow - 2, 5 * kCell, kRow - 2}));
}

TEST_F(Painting, RowsAreCopiedFromTheLineBitmapOneBelowAnother)
{
    SetText("a\r\nb\r\nc");
    Paint();
    const std::vector<CanvasCall> copies = window.CallsOf("CopyRect");
    ASSERT_EQ(copies.size(), 3u);
    const TRect text = ed.TextArea();
    for (int row = 0; row < 3; ++row) {
        const int top = text.top + 1 + row * kRow;
        EXPECT_EQ(copies[row].Args,
                  (std::vector<int>{text.left, top, text.right, top + kRow, 0, 0, text.Width(), kRow}));
    }
    // The rest below the last row is filled with the background.
    const std::vector<CanvasCall> fills = window.CallsOf("FillRect");
    const bool filled = std::any_of(fills.begin(), fills.end(), [&](const CanvasCall &c) {
        return c.Args == std::vector<int>{text.left, text.top + 1 + 3 * kRow, text.right, text.bottom} &&
               c.Brush.Color == clWhite;
    });
    EXPECT_TRUE(filled);
}

TEST_F(Painting, EmptyTextFillsFromTheFirstRowDown)
{
    ed.Lines()->Clear();
    ASSERT_EQ(ed.Lines()->Count(), 0);
    Paint();
    EXPECT_TRUE(window.CallsOf("CopyRect").empty());
    const TRect text = ed.TextArea();
    const std::vector<CanvasCall> fills = window.CallsOf("FillRect");
    const bool filled = std::any_of(fills.begin(), fills.end(), [&](const CanvasCall &c) {
        return c.Args == std::vector<int>{text.left, text.top + 1, text.right, text.bottom};
    });
    EXPECT_TRUE(filled);
}

TEST_F(Painting, NothingIsDrawnInsideAnUpdateBracket)
{
    ed.Lines()->BeginUpdate();
    Paint();
    EXPECT_TRUE(window.Calls().empty());
    ed.Lines()->EndUpdate();
    Paint();
    EXPECT_FALSE(window.Calls().empty());
}

TEST_F(Painting, RightMarginMovesLeftAsTheViewScrollsRight)
{
    ed.SetBounds(0, 0, 900, 300);
    ed.SetRightMarginColor(0xEFE7DF);
    auto marginX = [&]() {
        Paint();
        for (const CanvasCall &c : window.CallsOf("Line"))
            if (c.Pen.Color == 0xEFE7DF && c.Pen.Width == 2)
                return c.Args[0];
        return -1;
    };
    const int left = ed.TextArea().left;
    EXPECT_EQ(marginX(), left + 80 * kCell);
    ed.ViewState().LeftColumn = 10;
    EXPECT_EQ(marginX(), left + 70 * kCell);
    ed.ViewState().LeftColumn = 90;
    EXPECT_EQ(marginX(), -1);
    ed.ViewState().LeftColumn = 0;
    ed.SetShowRightMargin(false);
    EXPECT_EQ(marginX(), -1);
}

TEST_F(Painting, GutterFirstBorderLast)
{
    SetText("a");
    Paint();
    const std::vector<CanvasCall> &calls = window.Calls();
    auto index = [&](const std::string &op, const std::string &text = "") {
        for (size_t i = 0; i < calls.size(); ++i)
            if (calls[i].Op == op && (text.empty() || calls[i].Text == text))
                return static_cast<int>(i);
        return -1;
    };
    const int number = index("TextOut", "1");
    const int row = index("CopyRect");
    const int border = index("Rectangle");
    ASSERT_GE(number, 0);
    EXPECT_LT(number, row);
    EXPECT_LT(row, border);
    EXPECT_EQ(calls[border].Args, (std::vector<int>{0, 0, ed.Width(), ed.Height()}));
    EXPECT_EQ(calls[border].Pen.Color, ed.BorderColor());
    EXPECT_EQ(calls[border].Brush.Style, bsClear);
}

TEST_F(Painting, CaretSitsOnePixelBelowItsCellAndHidesOutsideTheView)
{
    SetText("abc\r\ndef");
    ed.FocusGained();
    ed.SetCaretDirect(2, 1);
    Paint();
    const TRect text = ed.TextArea();
    EXPECT_EQ(host.CaretPos, (TPoint{text.left + 2 * kCell, text.top + 1 + kRow + 1}));
    EXPECT_TRUE(host.CaretVisible);
    ed.ViewState().LeftColumn = 3;
    Paint();
    EXPECT_FALSE(host.CaretVisible);
    ed.ViewState().LeftColumn = 0;
    Paint();
    EXPECT_TRUE(host.CaretVisible);
}

TEST_F(Painting, PrintedLineStartsWithItsRightAlignedNumber)
{
    std::string text;
    for (int i = 0; i < 120; ++i)
        text += "x\r\n";
    SetText(text);
    ed.PrintOptions()->PrintLineNumbers = true;
    ed.Gutter()->SetNumberSuffix(":");
    RecordingCanvas page;
    RunState state = ed.ComputeTopState(4);
    ed.PaintLine(page, 4, {100, 200, 700, 217}, 2, state);
    const std::vector<CanvasCall> texts = page.CallsOf("TextOut");
    ASSERT_EQ(texts.size(), 2u);
    // The field holds "120:" (4 cells); "5:" is right-aligned in it.
    EXPECT_EQ(texts[0].Text, "5:");
    EXPECT_EQ(texts[0].Args, (std::vector<int>{100 + 2 * kCell, 200}));
    EXPECT_EQ(texts[0].Font.Color, clBlack);
    EXPECT_EQ(texts[1].Text, "x");
    EXPECT_EQ(texts[1].Args, (std::vector<int>{100 + 4 * kCell, 200}));
    // A line past the end fills its rectangle.
    page.ClearCalls();
    ed.PaintLine(page, 500, {100, 200, 700, 217}, 2, state);
    ASSERT_EQ(page.CallsOf("FillRect").size(), 1u);
    EXPECT_TRUE(page.CallsOf("TextOut").empty());
}

} // namespace
} // namespace tarnwick::test
