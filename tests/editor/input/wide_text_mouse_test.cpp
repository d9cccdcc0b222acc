// The mouse on text whose characters take two cells or none: the right half
// of a wide character stands for the place after it, a drag selects whole
// characters, and the view's scrolling counts cells.
#include "support/mouse_fixture.h"

using namespace tarnwick;
using tarnwick::test::MouseTest;

namespace {

using WideTextMouse = MouseTest;

const std::string kZhong = "\xE4\xB8\xAD"; // 中
const std::string kAcute = "\xCC\x81";     // combining acute

TEST_F(WideTextMouse, EachHalfOfAWideCharacterLandsOnItsOwnSide)
{
    // a 中 b, then e + acute x: cells 0, 1-2, 3 and 0, 0, 1.
    SetText({"a" + kZhong + "b", "e" + kAcute + "x"});
    const std::vector<std::pair<TCaretPos, TCaretPos>> clicks = {
        {{1, 0}, {1, 0}}, // left half of 中: before it
        {{2, 0}, {2, 0}}, // right half: after it
        {{3, 0}, {2, 0}}, // b
        {{4, 0}, {3, 0}}, // end of the line
        {{6, 0}, {5, 0}}, // two cells past it
        {{1, 1}, {2, 1}}, // after e and its accent, never between them
    };
    for (const auto &[cell, caret] : clicks) {
        Click(cell.Col, cell.Line);
        EXPECT_EQ(Caret(), caret) << "cell " << cell.Col << ", " << cell.Line;
    }
}

TEST_F(WideTextMouse, ADragSelectsWholeCharacters)
{
    SetText({"a" + kZhong + kZhong + "b"});
    Press(0, 0);
    DragTo(0, 0); // the move right after a placement is skipped
    DragTo(2, 0); // the right half of the first 中
    Release(2, 0);
    EXPECT_EQ(ed.SelText(), "a" + kZhong);
    Press(6, 0); // after b
    DragTo(6, 0);
    DragTo(3, 0); // the left half of the second 中
    Release(3, 0);
    EXPECT_EQ(ed.SelText(), kZhong + "b");
}

TEST_F(WideTextMouse, AViewScrolledByCellsMapsClicksThroughThem)
{
    std::string line;
    for (int k = 0; k < 50; ++k)
        line += kZhong;
    SetText({line});
    ed.SetLeftColumn(21); // the right half of the eleventh 中
    Click(21, 0);
    EXPECT_EQ(Caret(), (TCaretPos{11, 0}));
    Click(24, 0);
    EXPECT_EQ(Caret(), (TCaretPos{12, 0}));
}

} // namespace
