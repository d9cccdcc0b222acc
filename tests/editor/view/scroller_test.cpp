// Scrolling: when the bars appear, the limits of TopLine, the wheel, keeping
// the caret in view, the bars' notifications and the row hint.
#include "support/paint_fixture.h"

#include "editor/view/scroller.h"

namespace tarnwick::test {
namespace {

class Scrolling : public PaintTest {
protected:
    void Lines(int count, int width = 4)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += std::string(width, 'x') + "\r\n";
        SetText(text);
    }
    int topLeftChanges = 0;
    void SetUp() override
    {
        ed.OnTopLeftChanged = [this](TCustomDodi &) { ++topLeftChanges; };
    }
};

TEST_F(Scrolling, ViewGeometryOfTheTestControl)
{
    // 250 x 350 with a flat single border: 20 whole rows of 17 and 25 columns of 8.
    EXPECT_EQ(ed.VisibleRows(), 20);
    EXPECT_EQ(ed.VisibleColumns(), 25);
}

TEST_F(Scrolling, ShortTextShowsNoBarsAndStaysAtTheTop)
{
    Lines(5);
    EXPECT_FALSE(ed.VertScrollBar().Visible());
    EXPECT_FALSE(ed.HorzScrollBar().Visible());
    EXPECT_FALSE(host.Bars[sbVertical].Visible);
    ed.ScrollBy(sbVertical, 3);
    EXPECT_EQ(ed.TopLine(), 0);
}

TEST_F(Scrolling, LongTextShowsTheVerticalBarWithItsRangeAndPage)
{
    Lines(100);
    const TDodiScrollBar &bar = ed.VertScrollBar();
    ASSERT_TRUE(bar.Visible());
    EXPECT_TRUE(host.Bars[sbVertical].Visible);
    EXPECT_EQ(bar.Max(), 99);
    EXPECT_EQ(bar.PageSize(), 20);
    EXPECT_EQ(bar.Extent(), host.ScrollBarExtent(sbVertical));
    // The bar takes its width from the text area.
    EXPECT_EQ(ed.VisibleColumns(), (250 - 2 - 48 - 17 - 1) / kCell);
    EXPECT_FALSE(ed.HorzScrollBar().Visible());
}

TEST_F(Scrolling, LongLineShowsTheHorizontalBarUnlessWrapping)
{
    Lines(3, 100);
    const TDodiScrollBar &bar = ed.HorzScrollBar();
    ASSERT_TRUE(bar.Visible());
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.PageSize(), ed.VisibleColumns() + 1);
    EXPECT_EQ(ed.VisibleRows(), 19);
    ed.SetWordWrap(wwClientWidth);
    EXPECT_FALSE(ed.HorzScrollBar().Visible());
}

TEST_F(Scrolling, BarsAppearingTogetherSettleBothWays)
{
    // 20 lines fit until the horizontal bar takes a row away.
    Lines(20, 100);
    EXPECT_TRUE(ed.HorzScrollBar().Visible());
    EXPECT_TRUE(ed.VertScrollBar().Visible());
    EXPECT_EQ(ed.VertScrollBar().PageSize(), 19);
}

TEST_F(Scrolling, SetTopLinePastTheEndShowsTheLastLineMidView)
{
    Lines(100);
    ed.SetTopLine(30);
    EXPECT_EQ(ed.TopLine(), 30);
    EXPECT_EQ(ed.VertScrollBar().Position(), 30);
    ed.SetTopLine(95);
    EXPECT_EQ(ed.TopLine(), 90);
    EXPECT_EQ(topLeftChanges, 2);
    ed.SetTopLine(-4);
    EXPECT_EQ(ed.TopLine(), 90);
}

TEST_F(Scrolling, SetTopLineOnAShortTextKeepsTheCaretWhereItIs)
{
    Lines(5);
    ed.SetCaretDirect(2, 3);
    ed.SetTopLine(2);
    EXPECT_EQ(ed.TopLine(), 0);
    EXPECT_EQ(ed.CaretLine(), 3);
    EXPECT_EQ(ed.CaretCol(), 2);
}

TEST_F(Scrolling, ScrollByStopsAtTheLastPage)
{
    Lines(100);
    ed.ScrollBy(sbVertical, 10);
    EXPECT_EQ(ed.TopLine(), 10);
    ed.ScrollBy(sbVertical, 1000);
    EXPECT_EQ(ed.TopLine(), 80);
    ed.ScrollBy(sbVertical, -1000);
    EXPECT_EQ(ed.TopLine(), 0);
    Lines(3, 100);
    ed.ScrollBy(sbHorizontal, 1000);
    EXPECT_EQ(ed.LeftColumn(), 100 - ed.VisibleColumns() + 1);
}

TEST_F(Scrolling, WheelMovesFourRowsAndStopsAtTheBottom)
{
    Lines(100);
    ed.MouseWheel(true);
    EXPECT_EQ(ed.TopLine(), 4);
    for (int i = 0; i < 40; ++i)
        ed.MouseWheel(true);
    EXPECT_EQ(ed.TopLine(), 90);
    ed.SetTopLine(3);
    ed.MouseWheel(false);
    EXPECT_EQ(ed.TopLine(), 0);
    ed.SetTopLine(10);
    ed.MouseWheel(false);
    EXPECT_EQ(ed.TopLine(), 6);
}

TEST_F(Scrolling, CaretMovesTheViewJustEnough)
{
    Lines(100, 100);
    const int rows = ed.VisibleRows();
    const int columns = ed.VisibleColumns();
    ed.SetCaretDirect(60, 50);
    ed.MakeCaretVisible();
    EXPECT_EQ(ed.TopLine(), 50 - rows + 1);
    EXPECT_EQ(ed.LeftColumn(), 60 - (columns - 1) + 2);
    ed.SetCaretDirect(3, 10);
    ed.MakeCaretVisible();
    EXPECT_EQ(ed.TopLine(), 10);
    EXPECT_EQ(ed.LeftColumn(), 1);
    EXPECT_GT(topLeftChanges, 0);
}

TEST_F(Scrolling, StrictModeWithoutBarsConfinesTheCaret)
{
    Lines(100, 100);
    ed.SetScrollBars(ssNone);
    ed.SetScrollMode(smStrict);
    EXPECT_FALSE(ed.VertScrollBar().Visible());
    ed.SetCaretDirect(60, 50);
    ed.MakeCaretVisible();
    EXPECT_EQ(ed.LeftColumn(), 0);
    EXPECT_EQ(ed.TopLine(), 0);
    EXPECT_EQ(ed.CaretCol(), ed.VisibleColumns() - 1);
    EXPECT_EQ(ed.CaretLine(), ed.VisibleRows() - 1);
}

TEST_F(Scrolling, BarNotificationsMoveTheView)
{
    Lines(100);
    ed.ScrollBarScroll(sbVertical, scPageDown, 0);
    EXPECT_EQ(ed.TopLine(), 20);
    EXPECT_EQ(ed.VertScrollBar().Position(), 20);
    EXPECT_EQ(host.Bars[sbVertical].Position, 20);
    ed.ScrollBarScroll(sbVertical, scLineUp, 0);
    EXPECT_EQ(ed.TopLine(), 19);
    ed.ScrollBarScroll(sbVertical, scTrack, 55);
    EXPECT_EQ(ed.TopLine(), 55);
    ed.ScrollBarScroll(sbVertical, scBottom, 0);
    EXPECT_EQ(ed.TopLine(), 80);
    EXPECT_EQ(host.FocusRequests, 1);
}

TEST_F(Scrolling, RowHintFollowsTheThumbAndCanBeRewritten)
{
    Lines(100);
    ed.SetScrollHint(true);
    auto hintText = [&]() {
        RecordingCanvas canvas;
        PopupWindow *hint = ed.ScrollHintWindow();
        hint->OnPaint(canvas, {0, 0, hint->Bounds().Width(), hint->Bounds().Height()});
        return canvas.AllText();
    };
    host.Cursor = {300, 200};
    ed.ScrollBarScroll(sbVertical, scTrack, 0);
    ASSERT_TRUE(ed.ScrollHintWindow()->Visible());
    EXPECT_EQ(hintText(), "Row : 1");
    EXPECT_EQ(ed.ScrollHintWindow()->Bounds().left, 310);
    EXPECT_EQ(ed.ScrollHintWindow()->Bounds().top, 200);
    EXPECT_LE(ed.ScrollHintWindow()->Bounds().Width(), 100);
    ed.OnScrollHint = [](TCustomDodi &, int row, std::string &text) { text = "Line " + std::to_string(row); };
    ed.ScrollBarScroll(sbVertical, scTrack, 41);
    EXPECT_EQ(hintText(), "Line 42");
    ed.ScrollBarScroll(sbVertical, scEndScroll, 41);
    EXPECT_FALSE(ed.ScrollHintWindow()->Visible());
}

TEST_F(Scrolling, GrowingTheControlNeverLeavesTextScrolledOutOfReach)
{
    Lines(100);
    ed.SetTopLine(70);
    ed.SetBounds(0, 0, 250, 3000);
    EXPECT_FALSE(ed.VertScrollBar().Visible());
    EXPECT_EQ(ed.TopLine(), 0);
    ed.SetBounds(0, 0, 250, 350);
    EXPECT_TRUE(ed.VertScrollBar().Visible());
    ed.SetTopLine(60);
    ed.SetBounds(0, 0, 250, 300);
    EXPECT_EQ(ed.TopLine(), 60);
}

} // namespace
} // namespace tarnwick::test
