// The gutter: background, number placement and padding, continuation rows,
// the marks of a line, the click events and the marker events.
#include "support/paint_fixture.h"

#include "editor/platform/image_list.h"
#include "editor/view/gutter_painter.h"

#include <algorithm>

namespace tarnwick::test {
namespace {

class Gutter : public PaintTest {
protected:
    void SetUp() override
    {
        std::string text;
        for (int i = 0; i < 12; ++i)
            text += "line\r\n";
        SetText(text);
    }

    // The gutter row of `line`: what the default handler draws for it.
    std::vector<CanvasCall> Row(int line)
    {
        RecordingCanvas canvas;
        const TRect r = ed.Gutter()->Rect();
        ed.PaintGutterLine(canvas, line, {r.left, r.top + line * kRow, r.right - 2, r.top + (line + 1) * kRow});
        return canvas.Calls();
    }
    std::vector<CanvasCall> GutterCalls()
    {
        RecordingCanvas canvas;
        ed.Gutter()->SetHeight(ed.TextArea().Height());
        ed.PaintGutter(canvas);
        return canvas.Calls();
    }
    std::vector<std::string> Numbers()
    {
        std::vector<std::string> out;
        for (const CanvasCall &c : GutterCalls())
            if (c.Op == "TextOut")
                out.push_back(c.Text);
        return out;
    }
};

TEST_F(Gutter, NumbersMoveLeftAsTheyGainDigits)
{
    const TDodiGutter &g = *ed.Gutter();
    ASSERT_EQ(g.GutterWidth() - g.GutterMargin(), 0);
    EXPECT_EQ(Only(Row(0), "TextOut")[0].Args[0], 24);
    EXPECT_EQ(Only(Row(9), "TextOut")[0].Args[0], 16);
    ed.Gutter()->SetLineNumberStart(100);
    EXPECT_EQ(Only(Row(0), "TextOut")[0].Args[0], 8);
    ed.Gutter()->SetLineNumberStart(1000);
    EXPECT_EQ(Only(Row(0), "TextOut")[0].Args[0], 0);
    // Placement ignores the row's left edge and follows GutterWidth.
    ed.Gutter()->SetLineNumberStart(1);
    ed.Gutter()->SetGutterWidth(60);
    EXPECT_EQ(Only(Row(0), "TextOut")[0].Args[0], 60 - 45 + 24);
}

TEST_F(Gutter, LeadingZerosPadToDigitCountAndTheSuffixFollows)
{
    ed.Gutter()->SetShowLeadingZeros(true);
    std::vector<CanvasCall> texts = Only(Row(7), "TextOut");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, "0008");
    EXPECT_EQ(texts[0].Args[0], ed.Gutter()->GutterWidth() - ed.Gutter()->GutterMargin());
    EXPECT_EQ(texts[0].Brush.Style, bsClear);
    ed.Gutter()->SetNumberSuffix(".");
    EXPECT_EQ(Only(Row(7), "TextOut")[0].Text, "0008.");
    EXPECT_EQ(Only(Row(7), "TextOut")[0].Args[0], 0);
    ed.Gutter()->SetShowLeadingZeros(false);
    EXPECT_EQ(Only(Row(7), "TextOut")[0].Text, "8.");
}

TEST_F(Gutter, NumbersStartAtLineNumberStartAndNegativeStartIsIgnored)
{
    ed.Gutter()->SetLineNumberStart(0);
    EXPECT_EQ(Numbers().front(), "0");
    ed.Gutter()->SetLineNumberStart(-1);
    EXPECT_EQ(Numbers().front(), "0");
}

TEST_F(Gutter, OneNumberPerRowFromTheTopLine)
{
    std::vector<std::string> numbers = Numbers();
    ASSERT_EQ(numbers.size(), 12u);
    EXPECT_EQ(numbers.front(), "1");
    EXPECT_EQ(numbers.back(), "12");
    ed.ViewState().TopLine = 5;
    numbers = Numbers();
    EXPECT_EQ(numbers.front(), "6");
    EXPECT_EQ(numbers.size(), 7u);
}

// A wrapped line's number and marks go beside its first row only; the next
// line's marks beside the next line.
TEST_F(Gutter, ContinuationRowsOfAWrappedLineHaveNoNumberNorMarks)
{
    SetText(std::string(200, 'x') + "\r\nnext\r\n");
    ed.Lines()->EnsureLineProp(1)->Breakpoint = true;
    ed.SetWordWrap(wwRightMargin);
    ASSERT_EQ(ed.Lines()->Count(), 2);
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"1", "2"}));
    const std::vector<CanvasCall> breakpoints = Only(GutterCalls(), "Ellipse");
    ASSERT_EQ(breakpoints.size(), 1u);
    const int row = (breakpoints[0].Args[1] - ed.Gutter()->Rect().top) / kRow;
    EXPECT_EQ(row, ed.VisibleIndexOf(1));
    EXPECT_EQ(row, 3);
}

TEST_F(Gutter, GradientIn48BandsFromGutterColourToColourTo)
{
    std::vector<CanvasCall> fills;
    for (const CanvasCall &c : GutterCalls())
        if (c.Op == "FillRect")
            fills.push_back(c);
    ASSERT_EQ(fills.size(), 48u);
    const TRect r = ed.Gutter()->Rect();
    const TColor from = host.ResolveColor(clBtnFace);
    EXPECT_EQ(fills.front().Brush.Color, from);
    EXPECT_EQ(fills.front().Args[0], r.left);
    // 44 pixels over 48 bands: the last band reaches the border line.
    EXPECT_EQ(fills.back().Args[2], r.right - 1);
    const int blueFrom = GetBValue(from);
    EXPECT_EQ(GetBValue(fills.back().Brush.Color), blueFrom + (47 * (255 - blueFrom) + 24) / 48);
}

TEST_F(Gutter, FlatBackgroundLeavesTheWhiteLineAtTheEdge)
{
    ed.Gutter()->SetGutterColorTo(clNone);
    const std::vector<CanvasCall> calls = GutterCalls();
    const TRect r = ed.Gutter()->Rect();
    const std::vector<CanvasCall> fills = Only(calls, "FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].Args, (std::vector<int>{r.left, r.top, r.right - 2, r.bottom}));
    const std::vector<CanvasCall> lines = Only(calls, "Line");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].Args[0], r.right - 1);
    EXPECT_EQ(lines[0].Pen.Color, ed.Gutter()->BorderColor());
    EXPECT_EQ(lines[1].Args[0], r.right - 2);
    EXPECT_EQ(lines[1].Pen.Color, clWhite);
}

TEST_F(Gutter, MarksOfALine)
{
    TLineProp &prop = *ed.Lines()->EnsureLineProp(2);
    prop.Breakpoint = true;
    prop.DotMark = true;
    prop.Modified = true;
    ed.Gutter()->SetShowModified(true);
    ed.ActiveLineSettings()->SetShowActiveLineIndicator(true);
    ed.ViewState().ActiveLine = 2;
    const std::vector<CanvasCall> calls = Row(2);
    const TRect r = ed.Gutter()->Rect();
    const int x = r.left;
    const int y = r.top + 2 * kRow;

    const std::vector<CanvasCall> fills = Only(calls, "FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].Args, (std::vector<int>{r.right - 2 - 4, y, r.right - 2, y + kRow}));
    EXPECT_EQ(fills[0].Brush.Color, ed.Gutter()->ModifiedColor());
    const std::vector<CanvasCall> ellipses = Only(calls, "Ellipse");
    ASSERT_EQ(ellipses.size(), 2u);
    EXPECT_EQ(ellipses[0].Args, (std::vector<int>{x + 5, y + 8, x + 9, y + 12}));
    EXPECT_EQ(ellipses[0].Brush.Color, clBlue);
    EXPECT_EQ(ellipses[1].Args, (std::vector<int>{x + 2, y + 4, x + 12, y + 14}));
    EXPECT_EQ(ellipses[1].Brush.Color, clRed);
    const std::vector<CanvasCall> arrow = Only(calls, "Polygon");
    ASSERT_EQ(arrow.size(), 1u);
    EXPECT_EQ(arrow[0].Args.size(), 14u);
    EXPECT_EQ(arrow[0].Brush.Color, clLime);

    // An unmodified line shows the background bar; none of the other marks.
    const std::vector<CanvasCall> plain = Row(3);
    EXPECT_EQ(Only(plain, "FillRect")[0].Brush.Color, ed.Gutter()->ModifiedColorBkg());
    EXPECT_TRUE(Only(plain, "Ellipse").empty());
    EXPECT_TRUE(Only(plain, "Polygon").empty());
}

TEST_F(Gutter, MarkerImageComesFirstAndPushesTheFlagRight)
{
    TImageList images;
    RecordingCanvas maker;
    images.Add(maker.CreateBitmap(16, 16));
    images.Add(maker.CreateBitmap(16, 16));
    ed.MarkerList()->SetMarkerImageList(&images);
    ed.AddMarker(1, "first", 1);
    ed.AddMarker(1, "second", 0);
    ed.Lines()->EnsureLineProp(1)->FlagMark = true;
    const std::vector<CanvasCall> drawn = Only(Row(1), "DrawTransparent");
    ASSERT_EQ(drawn.size(), 2u);
    const TRect r = ed.Gutter()->Rect();
    EXPECT_EQ(drawn[0].Args[0], r.left + 1);
    EXPECT_EQ(drawn[0].Args[1], r.top + kRow + 2);
    EXPECT_EQ(drawn[1].Args[0], r.left + 16);
    // Without an image list the marker still takes its 16 pixels.
    ed.MarkerList()->SetMarkerImageList(nullptr);
    const std::vector<CanvasCall> flagOnly = Only(Row(1), "DrawTransparent");
    ASSERT_EQ(flagOnly.size(), 1u);
    EXPECT_EQ(flagOnly[0].Args[0], r.left + 16);
}

TEST_F(Gutter, EmptyTextStillShowsTheFirstNumber)
{
    ed.Lines()->Clear();
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"1"}));
}

TEST_F(Gutter, ClicksOnExistingLinesRaiseTheirEvents)
{
    Paint();
    std::vector<std::string> events;
    ed.OnGutterRightClick = [&](TCustomDodi &, int line) { events.push_back("right " + std::to_string(line)); };
    ed.OnGutterDblClick = [&](TCustomDodi &, int line) { events.push_back("double " + std::to_string(line)); };
    const int y3 = ed.TextArea().top + 3 * kRow + 2;
    ed.GutterMouseDown(mbRight, 10, y3);
    ed.GutterMouseDown(mbLeft, 10, y3);
    EXPECT_EQ(ed.CaretLine(), 3);
    EXPECT_TRUE(ed.GutterDblClick(10, y3));
    EXPECT_EQ(events, (std::vector<std::string>{"right 3", "double 3"}));
    // Below the last line, or right of the gutter: nothing.
    events.clear();
    const int below = ed.TextArea().top + 15 * kRow;
    EXPECT_EQ(ed.GutterLineAt(10, below), -1);
    ed.GutterMouseDown(mbRight, 10, below);
    EXPECT_EQ(ed.GutterLineAt(100, y3), -1);
    EXPECT_FALSE(ed.GutterDblClick(100, y3));
    EXPECT_TRUE(events.empty());
}

TEST_F(Gutter, MarkersAddedAndRemovedThroughTheEditorRaiseTheirEvents)
{
    std::vector<std::string> events;
    ed.OnMarkerAdded = [&](int line, const std::string &text) { events.push_back(std::to_string(line) + text); };
    ed.OnMarkerRemoved = [&](int line) { events.push_back("-" + std::to_string(line)); };
    ed.AddMarker(4, "note", 0);
    EXPECT_TRUE(ed.MarkerList()->Markers().HasMarker(4));
    ed.RemoveMarker(5);
    ed.RemoveMarker(4);
    EXPECT_FALSE(ed.MarkerList()->Markers().HasMarker(4));
    EXPECT_EQ(events, (std::vector<std::string>{"4note", "-4"}));
}

} // namespace
} // namespace tarnwick::test
