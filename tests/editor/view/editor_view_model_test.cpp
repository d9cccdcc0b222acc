// The view on plain data, with a host double and no control: the rows a
// paint draws against a naive walk of the fold regions and of the wrapped
// text, the gutter's rows and clicks, and what a paint asks of the host.
#include "support/view_rig.h"

#include <gtest/gtest.h>

#include <random>

namespace tarnwick::test {
namespace {

constexpr int kRow = ViewRig::kRow;

// Regions nested as a stack makes them, no two meeting on a line, each
// collapsed or not at random.
void FoldAtRandom(ViewRig &rig, std::mt19937 &random)
{
    std::vector<int> open;
    const int count = rig.lines.Count();
    for (int line = 0; line < count; ++line) {
        if (!open.empty() && open.back() < line && random() % 3 == 0) {
            ASSERT_TRUE(rig.folds.AddRegion(open.back(), line));
            open.pop_back();
        } else if (line + 1 < count && random() % 3 == 0) {
            open.push_back(line);
        }
    }
    for (int line = 0; line < count; ++line)
        if (rig.folds.IsRegionStart(line) && random() % 2 == 0)
            rig.folds.SetExpanded(line, false);
    rig.state.FoldRegionCount = rig.folds.RegionCount();
}

// A line is hidden by every collapsed region that starts above it and ends
// on or below it.
std::vector<int> ShownLines(const ViewRig &rig)
{
    std::vector<int> shown;
    std::vector<bool> hidden(rig.lines.Count());
    for (int start = 0; start < rig.lines.Count(); ++start)
        if (rig.folds.IsRegionStart(start) && !rig.folds.IsExpanded(start))
            for (int line = start + 1; line <= rig.folds.RegionEndOf(start); ++line)
                hidden[line] = true;
    for (int line = 0; line < rig.lines.Count(); ++line)
        if (!hidden[line])
            shown.push_back(line);
    return shown;
}

TEST(EditorView, RowsShowFromTheTopLineTheLinesNoCollapsedRegionHides)
{
    std::mt19937 random(7);
    for (int round = 0; round < 150; ++round) {
        ViewRig rig;
        rig.folding.SetEnabled(true);
        std::vector<std::string> text;
        for (int line = 0, count = 1 + random() % 40; line < count; ++line)
            text.push_back("line" + std::to_string(line));
        rig.SetText(text);
        FoldAtRandom(rig, random);
        const std::vector<int> shown = ShownLines(rig);
        const size_t top = random() % shown.size();
        rig.state.TopLine = shown[top];

        const std::vector<RowCanvas::Row> rows = rig.PaintedRows();
        const TRect area = rig.view->TextArea();
        const size_t expected = std::min(shown.size() - top, size_t(rig.view->VisibleRows() + 1));
        ASSERT_EQ(rows.size(), expected) << "round " << round;
        for (size_t k = 0; k < rows.size(); ++k) {
            EXPECT_EQ(rows[k].Text, text[shown[top + k]]) << "round " << round << " row " << k;
            EXPECT_EQ(rows[k].Top, area.top + 1 + int(k) * kRow) << "round " << round << " row " << k;
        }
    }
}

TEST(EditorView, WrappedRowsOfALineJoinToTheLineAndFitTheWrapWidth)
{
    std::mt19937 random(11);
    for (int round = 0; round < 60; ++round) {
        ViewRig rig;
        rig.settings.WordWrap = wwClientWidth;
        rig.bounds = {0, 0, 120 + int(random() % 200), 400 * kRow};
        std::vector<std::string> text;
        for (int line = 0, count = 1 + random() % 8; line < count; ++line) {
            std::string s;
            for (int word = 0, words = random() % 9; word < words; ++word)
                s += std::string(1 + random() % 9, char('a' + random() % 26)) + std::string(1 + random() % 2, ' ');
            text.push_back(s);
        }
        rig.host.MeasureCells();
        rig.SetText(text);
        const TRowLayout &layout = rig.view->Rows();
        ASSERT_TRUE(layout.Wrapping());

        const std::vector<RowCanvas::Row> rows = rig.PaintedRows();
        ASSERT_EQ(int(rows.size()), layout.RowCount()) << "round " << round;
        std::vector<std::string> joined(text.size());
        for (int row = 0; row < int(rows.size()); ++row) {
            const TRowSpan span = layout.SpanOfRow(row);
            EXPECT_LE(int(rows[row].Text.size()), layout.WrapWidth()) << "round " << round << " row " << row;
            joined[span.Line] += rows[row].Text;
        }
        EXPECT_EQ(joined, text) << "round " << round;
    }
}

TEST(EditorView, GutterMarksGoBesideEachLinesFirstRowAndClicksNameThatLine)
{
    ViewRig rig;
    rig.settings.WordWrap = wwClientWidth;
    rig.bounds = {0, 0, 160, 12 * kRow};
    rig.host.MeasureCells();
    rig.SetText({"short", "a line long enough to take several rows of the view", "", "end"});
    rig.PaintedRows();

    const TRowLayout &layout = rig.view->Rows();
    const TRect gutter = rig.gutter.Rect();
    std::vector<std::pair<int, int>> firstRows;
    for (int row = 0, top = gutter.top; top < gutter.bottom && layout.SpanOfRow(row).Line < 4; ++row, top += kRow)
        if (layout.SpanOfRow(row).Index == 0)
            firstRows.push_back({row, top});
    ASSERT_EQ(firstRows.size(), 4u);
    EXPECT_EQ(rig.host.GutterRows, firstRows);

    const TRect area = rig.view->TextArea();
    for (int row = 0; row < layout.RowCount(); ++row) {
        const int y = area.top + row * kRow + kRow / 2;
        rig.view->GutterMouseDown(mbLeft, 3, y);
        ASSERT_EQ(rig.host.GutterClicks.back(), std::make_pair(mbLeft, layout.SpanOfRow(row).Line)) << row;
        EXPECT_TRUE(rig.view->GutterDblClick(3, y));
        EXPECT_EQ(rig.host.GutterDblClicks.back(), layout.SpanOfRow(row).Line) << row;
    }
    const size_t clicks = rig.host.GutterClicks.size();
    rig.view->GutterMouseDown(mbMiddle, 3, area.top + 1);
    rig.view->GutterMouseDown(mbLeft, 3, area.top + layout.RowCount() * kRow + 1);
    EXPECT_EQ(rig.host.GutterClicks.size(), clicks) << "a middle click, or a click below the text";
}

TEST(EditorView, TheFirstPaintMeasuresTheCellsAndAnUpdateBracketHoldsPaintingBack)
{
    ViewRig rig;
    rig.SetText({"one", "two"});
    rig.lines.BeginUpdate();
    EXPECT_TRUE(rig.PaintedRows().empty());
    rig.lines.EndUpdate();
    EXPECT_EQ(rig.host.Measured, 0);

    EXPECT_EQ(rig.PaintedRows().size(), 2u);
    EXPECT_EQ(rig.PaintedRows().size(), 2u);
    EXPECT_EQ(rig.host.Measured, 1);
    EXPECT_EQ(rig.host.FoldUpdates, 2) << "regions are brought up to date before every paint";
}

} // namespace
} // namespace tarnwick::test
