// The mouse on text holding tabs: a tab's first cell stands for the place
// before it and the rest of its cells for the place after it, as the halves
// of a wide character do; a drag selects whole tabs, and a view scrolled
// into a tab maps clicks through its cells.
#include "support/mouse_fixture.h"

using namespace tarnwick;
using tarnwick::test::MouseTest;

namespace {

using TabMouse = MouseTest;

TEST_F(TabMouse, ATabsFirstCellIsBeforeItAndTheRestAfterIt)
{
    // a, a tab over cells 1-3, b at 4; then a tab over 0-3 and x at 4.
    SetText({"a\tb", "\tx"});
    const std::vector<std::pair<TCaretPos, TCaretPos>> clicks = {
        {{1, 0}, {1, 0}}, // the tab's first cell: before it
        {{2, 0}, {2, 0}}, // its second: after it
        {{3, 0}, {2, 0}}, // its last
        {{4, 0}, {2, 0}}, // b
        {{5, 0}, {3, 0}}, // the end of the line
        {{0, 1}, {0, 1}}, // a tab at the line start
        {{3, 1}, {1, 1}}, // its last cell
        {{4, 1}, {1, 1}}, // x
    };
    for (const auto &[cell, caret] : clicks) {
        Click(cell.Col, cell.Line);
        EXPECT_EQ(Caret(), caret) << "cell " << cell.Col << ", " << cell.Line;
    }
    ed.SetTabSize(8);
    Click(6, 0);
    EXPECT_EQ(Caret(), (TCaretPos{2, 0})) << "the tab reaches cell 8 now";
}

TEST_F(TabMouse, ADragSelectsWholeTabs)
{
    SetText({"ab\t\tc"}); // tabs over cells 2-3 and 4-7
    Press(0, 0);
    DragTo(0, 0); // the move right after a placement is skipped
    DragTo(5, 0); // inside the second tab
    Release(5, 0);
    EXPECT_EQ(ed.SelText(), "ab\t\t");
    Press(8, 0); // c
    DragTo(8, 0);
    DragTo(2, 0); // the first cell of the first tab
    Release(2, 0);
    EXPECT_EQ(ed.SelText(), "\t\t");
}

TEST_F(TabMouse, AViewScrolledIntoATabMapsClicksThroughItsCells)
{
    SetText({std::string(20, '\t') + "x"});
    ed.SetLeftColumn(42); // inside the eleventh tab (cells 40-43)
    Click(42, 0);
    EXPECT_EQ(Caret(), (TCaretPos{11, 0}));
    Click(44, 0);
    EXPECT_EQ(Caret(), (TCaretPos{11, 0}));
    Click(45, 0);
    EXPECT_EQ(Caret(), (TCaretPos{12, 0}));
}

} // namespace
