// The view on text holding tabs: a tab reaches to the next tab stop counted
// from the start of its line, on wrapped rows too. Painted rows read back
// from the canvas equal the line with each tab expanded to blanks, in the
// colours of the run or the selection; the caret, Up and Down, scrolling,
// the find hit and word wrap count the same cells.
#include "support/paint_fixture.h"

#include "editor/base/win_constants.h"
#include "editor/highlight/xml_styler.h"
#include "editor/view/row_layout.h"

#include <random>

namespace tarnwick::test {
namespace {

// `line` with each tab widened to blanks up to its stop, a cell at a time,
// and the column each cell belongs to.
struct Expanded {
    std::string Text;
    std::vector<int> Column;
};

Expanded Expand(const std::string &line, int tabSize)
{
    Expanded e;
    for (int column = 0; column < static_cast<int>(line.size()); ++column) {
        if (line[column] != '\t') {
            e.Text += line[column];
            e.Column.push_back(column);
            continue;
        }
        do {
            e.Text += ' ';
            e.Column.push_back(column);
        } while (tabSize > 0 && e.Text.size() % tabSize != 0);
    }
    return e;
}

class TabCells : public PaintTest {
protected:
    // What the text calls drew into each of `cells` cells from x = `left`
    // (ASCII: a character a cell), '\0' where none drew; and whether each
    // cell was drawn in the selection's background.
    std::string Drawn(const std::vector<CanvasCall> &calls, int left, int cells, std::vector<bool> *selected = nullptr)
    {
        std::string row(static_cast<size_t>(cells), '\0');
        if (selected)
            selected->assign(static_cast<size_t>(cells), false);
        for (const CanvasCall &c : Only(calls, "TextOut")) {
            EXPECT_EQ(c.Text.find('\t'), std::string::npos) << "a tab handed to the canvas";
            EXPECT_EQ((c.Args[0] - left) % kCell, 0) << "off the grid";
            for (size_t k = 0; k < c.Text.size(); ++k) {
                const int cell = (c.Args[0] - left) / kCell + static_cast<int>(k);
                if (cell < 0 || cell >= cells)
                    continue;
                row[cell] = c.Text[k];
                if (selected)
                    (*selected)[cell] = c.Brush.Color == ed.SelBkColor();
            }
        }
        return row;
    }
};

// Random lines of markup, blanks and tabs, at random tab sizes, scrolled and
// selected at random, on the screen and on paper.
TEST_F(TabCells, PaintedRowsEqualTheLineWithEachTabExpandedToItsStop)
{
    TDodiXMLStyler xml;
    ed.SetSyntaxStyles(&xml);
    ed.SetHideSelection(false);
    ed.SetBounds(0, 0, 40 * kCell, 10 * kRow);
    std::mt19937 random(7);
    const char pieces[] = "<a b=\"c\">d e</a>\t\t\t";
    const int tabSizes[] = {0, 1, 2, 3, 4, 8};
    for (int round = 0; round < 150; ++round) {
        std::string line;
        for (int n = static_cast<int>(random() % 50); n > 0; --n)
            line += pieces[random() % (sizeof pieces - 1)];
        const int tabSize = tabSizes[random() % std::size(tabSizes)];
        ed.SetTabSize(tabSize);
        SetText(line);
        const Expanded expanded = Expand(line, tabSize);
        const int length = static_cast<int>(line.size());
        const int from = static_cast<int>(random() % (length + 1));
        const int to = from + static_cast<int>(random() % (length + 1 - from));
        ed.CaretState().SelStart = {from, 0};
        ed.CaretState().SelEnd = {to, 0};
        const std::string where = "round " + std::to_string(round) + ": \"" + line + "\"";

        ed.ViewState().LeftColumn = random() % 3 == 0 ? static_cast<int>(random() % 30) : 0;
        const int first = ed.LeftColumn();
        const int cells = ed.TextArea().Width() / kCell;
        std::vector<bool> selected;
        const std::string row = Drawn(LineCalls(0), 0, cells, &selected);
        for (int k = 0; k < cells; ++k) {
            const int cell = first + k;
            const bool inText = cell < static_cast<int>(expanded.Text.size());
            ASSERT_EQ(row[k], inText ? expanded.Text[cell] : '\0') << where << " cell " << cell;
            if (inText) {
                const int column = expanded.Column[cell];
                ASSERT_EQ(selected[k], from <= column && column < to) << where << " cell " << cell;
            }
        }

        RecordingCanvas page;
        RunState state = ed.ComputeTopState(0);
        ed.PaintLine(page, 0, {100, 200, 100 + 1000 * kCell, 217}, 2, state);
        const int printed = static_cast<int>(expanded.Text.size());
        ASSERT_EQ(Drawn(page.Calls(), 100, printed), expanded.Text) << where << " printed";
        const std::vector<CanvasCall> fills = page.CallsOf("FillRect");
        ASSERT_FALSE(fills.empty());
        EXPECT_EQ(fills.back().Args[0], 100 + printed * kCell) << where << ": the rest of the printed line";
    }
}

TEST_F(TabCells, TheCaretUpAndDownAndScrollingCountTheCellsATabReaches)
{
    // \t\tx: tabs at cells 0-3 and 4-7; a\tb: a, tab 1-3, b at 4.
    SetText("\t\tx\r\nabcdefghij\r\na\tb");
    ed.SetBounds(0, 0, 30 * kCell, 10 * kRow);
    ed.FocusGained();
    const TRect text = ed.TextArea();
    ed.SetCaretDirect(2, 0);
    Paint();
    EXPECT_EQ(host.CaretPos.x, text.left + 8 * kCell);

    const auto key = [this](uint16_t vk) {
        uint16_t k = vk;
        ed.KeyDown(k, {});
    };
    // From cell 4 up to the start of the second tab and back.
    ed.SetCaretDirect(4, 1);
    key(VK_UP);
    EXPECT_EQ(ed.CaretCol(), 1);
    key(VK_DOWN);
    EXPECT_EQ(ed.CaretCol(), 4);
    // Down into a tab's second cell lands after the tab, as a click would.
    ed.SetCaretDirect(2, 1);
    key(VK_DOWN);
    EXPECT_EQ((TCaretPos{ed.CaretCol(), ed.CaretLine()}), (TCaretPos{2, 2}));
    key(VK_LEFT);
    EXPECT_EQ(ed.CaretCol(), 1);
    Paint();
    EXPECT_EQ(host.CaretPos.x, text.left + 1 * kCell);

    // Forty tabs and a word: the view scrolls by cells to the caret, and
    // the widest line in view sets how far the bar reaches.
    SetText(std::string(40, '\t') + "needle");
    ed.SetCaretDirect(0, 0);
    ed.SetCaretCol(40);
    const int columns = ed.VisibleColumns();
    EXPECT_LE(ed.LeftColumn(), 160);
    EXPECT_GT(ed.LeftColumn() + columns, 160);
    Paint();
    EXPECT_EQ(host.CaretPos.x, text.left + (160 - ed.LeftColumn()) * kCell);
    ed.SetCaretDirect(0, 0);
    ed.SetLeftColumn(0);
    ASSERT_GE(ed.SearchText("needle", TFindOptions{frDown}), 0);
    EXPECT_GE(ed.LeftColumn() + columns, 166) << "the whole hit in view";
    EXPECT_LE(ed.LeftColumn(), 160);
}

TEST_F(TabCells, AWrappedRowBreaksBeforeATabThatDoesNotFitAndKeepsTheLinesStops)
{
    ed.SetRightMargin(10);
    ed.SetWordWrap(wwRightMargin);
    ed.SetBounds(0, 0, 30 * kCell, 10 * kRow);
    // a-h take cells 0-7; the tab from 8 would reach 12, past the width, so
    // it starts the second row. There it still reaches cell 12 of the line
    // (row cell 4), where x stands; the next tab reaches 16, where y stands.
    SetText("abcdefgh\tx\ty");
    const TRowLayout &layout = ed.RowLayout();
    ASSERT_EQ(layout.RowStarts(0), (std::vector<int>{0, 8}));
    EXPECT_EQ(layout.CellInRow({9, 0}), 4);
    EXPECT_EQ(layout.CellInRow({11, 0}), 8);
    EXPECT_EQ(layout.PositionAt(1, 5), (TCaretPos{10, 0}));
    EXPECT_EQ(layout.PositionAt(1, 6), (TCaretPos{11, 0}));

    Paint();
    std::vector<std::string> rows;
    for (const CanvasCall &c : Only(window.Last->Recording().Calls(), "TextOut"))
        rows.push_back(std::string(static_cast<size_t>(c.Args[0] / kCell), '.') + c.Text);
    EXPECT_EQ(rows, (std::vector<std::string>{"abcdefgh", "    x   y"}));
}

} // namespace
} // namespace tarnwick::test
