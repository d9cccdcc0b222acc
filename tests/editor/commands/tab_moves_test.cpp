// Caret moves over lines holding tabs: the word moves and the stepping Home
// key stop at a tab as at the blanks it shows as, End stops before trailing
// tabs, and Home scrolls the view back only as far as the caret's cell.
#include "support/editing_fixture.h"

namespace tarnwick::test {
namespace {

class TabMoves : public EditingFixture {};

TEST_F(TabMoves, WordMovesAndHomeStopAtATabAsAtABlank)
{
    ed.SetEnhancedHomeKey(true);
    SetText({"\t\tfoo bar", "a\tb", "ab\t\t"});
    Place(9, 0);
    int stops[3];
    for (int &stop : stops) {
        Key(VK_HOME);
        stop = ed.CaretCol();
    }
    EXPECT_EQ((std::vector<int>(std::begin(stops), std::end(stops))), (std::vector<int>{6, 2, 0}));

    Place(0, 1);
    Key(VK_RIGHT, {ssCtrl});
    EXPECT_EQ(Caret(), (TCaretPos{2, 1}));
    Place(3, 1);
    Key(VK_LEFT, {ssCtrl});
    EXPECT_EQ(Caret(), (TCaretPos{2, 1}));

    Place(0, 2);
    Key(VK_END);
    EXPECT_EQ(Caret(), (TCaretPos{2, 2}));
}

TEST_F(TabMoves, HomeScrollsBackToTheCellOfItsColumn)
{
    ed.SetEnhancedHomeKey(true);
    // Thirty tabs, a word, a blank and a word: the second word starts at
    // column 35, cell 125.
    SetText({std::string(30, '\t') + "abcd efgh"});
    Place(39, 0);
    ed.SetLeftColumn(128);
    Key(VK_HOME);
    EXPECT_EQ(ed.CaretCol(), 35);
    EXPECT_LE(ed.LeftColumn(), 125);
    EXPECT_GT(ed.LeftColumn() + ed.VisibleColumns(), 125) << "the caret in view";
}

} // namespace
} // namespace tarnwick::test
