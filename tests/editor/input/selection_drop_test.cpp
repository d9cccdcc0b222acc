// Dropping the editor's own selection back into it: a move takes the text out
// and puts it in at the drop point, Ctrl makes it a copy, and a drop inside
// the selection or into a read-only editor leaves the text alone.
#include "support/mouse_fixture.h"

using namespace tarnwick;
using tarnwick::test::MouseTest;

namespace {

class SelectionDrop : public MouseTest {
protected:
    void Select(TCaretPos start, TCaretPos end)
    {
        ed.CaretState().SelStart = start;
        ed.CaretState().SelEnd = end;
        ed.SetCaretDirect(end.Col, end.Line);
    }
    void DropAt(int col, int line, TShiftState shift = {})
    {
        const TPoint p = At(col, line);
        ed.DragDrop(&ed, p.x, p.y, shift);
    }
};

TEST_F(SelectionDrop, MoveBehindTheSelectionLandsWhereItWasDropped)
{
    SetText({"hello world"});
    Select({0, 0}, {5, 0});
    DropAt(8, 0); // before the "r"
    EXPECT_EQ(ed.Lines()->Get(0), " wohellorld");
}

TEST_F(SelectionDrop, MoveBeforeTheSelection)
{
    SetText({"one two", "three"});
    Select({4, 0}, {7, 0});
    DropAt(0, 1);
    EXPECT_EQ(ed.Lines()->Text(), "one \r\ntwothree\r\n");
}

TEST_F(SelectionDrop, MoveOfSeveralLinesToALaterLine)
{
    SetText({"a1", "b2", "c3", "d4"});
    Select({1, 0}, {1, 1});
    DropAt(1, 3);
    EXPECT_EQ(ed.Lines()->Text(), "a2\r\nc3\r\nd1\r\nb4\r\n");
}

TEST_F(SelectionDrop, CtrlCopiesAndKeepsTheOriginal)
{
    SetText({"hello world"});
    Select({0, 0}, {5, 0});
    DropAt(11, 0, TShiftState{ssCtrl});
    EXPECT_EQ(ed.Lines()->Get(0), "hello worldhello");
}

TEST_F(SelectionDrop, DropInsideTheSelectionChangesNothing)
{
    SetText({"hello world"});
    Select({0, 0}, {5, 0});
    DropAt(2, 0);
    EXPECT_EQ(ed.Lines()->Get(0), "hello world");
}

} // namespace
