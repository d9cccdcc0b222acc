// Keyboard input: key-down bindings, the two key-command tables and their
// read-only split, character processing, the movement keys with Shift, the
// Insert toggle, undo keys, find keys, and the caret's blink and focus.
#include "support/editing_fixture.h"

#include "editor/input/keyboard.h"

namespace tarnwick::test {
namespace {

using Lines = std::vector<std::string>;

class KeyDispatch : public EditingFixture {};

TEST_F(KeyDispatch, AHandlerThatClearsTheKeyDisablesItsBinding)
{
    SetText({"abc"});
    Place(3, 0);
    ed.OnKeyDown = [](TCustomDodi &, uint16_t &key, TShiftState) {
        if (key == VK_BACK)
            key = 0;
    };
    Key(VK_BACK);
    EXPECT_EQ(Line(0), "abc");
    Key(VK_LEFT);
    EXPECT_EQ(ed.CaretCol(), 2);
}

TEST_F(KeyDispatch, KeyPressHandlerCanChangeTheCharacter)
{
    SetText({""});
    ed.OnKeyPress = [](TCustomDodi &, char32_t &key) {
        if (key == U'a')
            key = U'b';
    };
    Type(U"aa");
    EXPECT_EQ(Line(0), "bb");
}

TEST_F(KeyDispatch, CtrlSpaceSwallowsItsSpaceAndAPlainSpaceIsTypedOnce)
{
    SetText({""});
    Type(U"ab");
    Char(U' ', VK_SPACE);
    EXPECT_EQ(Line(0), "ab ");
    Char(U' ', VK_SPACE, {ssCtrl});
    EXPECT_EQ(Line(0), "ab ");
    Type(U"c");
    EXPECT_EQ(Line(0), "ab c");
}

TEST_F(KeyDispatch, ControlCharactersAreNotTypedButRunTheirCommands)
{
    SetText({"a", "b"});
    Place(1, 0);
    Char(U'\x7f');
    Char(U'\x85');
    EXPECT_EQ(Text(), (Lines{"a", "b"}));
    Char(U'\x08', VK_BACK); // Backspace acts at key-down, once
    EXPECT_EQ(Text(), (Lines{"", "b"}));
    Ctrl('Y');
    EXPECT_EQ(Text(), (Lines{"b"}));
    Ctrl('A');
    EXPECT_EQ(ed.SelText(), "b");
}

TEST_F(KeyDispatch, FindAndReplaceKeysRaiseTheirEvents)
{
    int finds = 0;
    int replaces = 0;
    ed.OnFind = [&](TCustomDodi &) { ++finds; };
    ed.OnReplace = [&](TCustomDodi &) { ++replaces; };
    Key('F', {ssCtrl});
    Key('H', {ssCtrl, ssShift});
    Key('F');
    EXPECT_EQ(finds, 1);
    EXPECT_EQ(replaces, 1);
}

TEST_F(KeyDispatch, EditingKeysMarkTheCaretLineModified)
{
    SetText({"ab", "cd"});
    Place(1, 1);
    Key(VK_DELETE);
    EXPECT_TRUE(Modified(1));
    EXPECT_FALSE(Modified(0));
    Place(0, 0);
    Key(VK_INSERT);
    EXPECT_FALSE(Modified(0)) << "the Insert key edits nothing";
}

class ReadOnlySplit : public EditingFixture {
protected:
    void SetUp() override
    {
        SetText({"hello", "world"});
        Place(2, 0);
        ed.SetReadOnly(true);
    }
};

TEST_F(ReadOnlySplit, CopyingMovingAndPagingStillWork)
{
    Select({0, 0}, {5, 0});
    Ctrl('C');
    EXPECT_EQ(host.Clipboard, "hello");
    host.Clipboard.reset();
    Key(VK_INSERT, {ssCtrl});
    EXPECT_EQ(host.Clipboard, "hello");
    Key(VK_END, {ssCtrl});
    EXPECT_EQ(Caret(), (TCaretPos{5, 1}));
    Key(VK_HOME);
    EXPECT_EQ(Caret(), (TCaretPos{0, 1}));
    Key(VK_PRIOR);
    EXPECT_EQ(ed.CaretLine(), 0);
}

TEST_F(ReadOnlySplit, EveryEditingCommandDoesNothing)
{
    host.Clipboard = "X";
    Ctrl('A');
    EXPECT_TRUE(ed.CaretState().SelectionEmpty()) << "Ctrl+A is an edit-table command";
    Type(U"z");
    Key(VK_BACK);
    Key(VK_DELETE);
    Key(VK_TAB);
    Enter();
    Ctrl('V');
    Ctrl('X');
    Ctrl('Y');
    Key(VK_INSERT, {ssShift});
    EXPECT_EQ(Text(), (Lines{"hello", "world"}));
    EXPECT_EQ(changes, 0);
    Key(VK_INSERT);
    EXPECT_FALSE(ed.Overwrite());
}

class MovementKeys : public EditingFixture {};

TEST_F(MovementKeys, EnhancedHomeStepsBackWordByWordToColumnZero)
{
    SetText({"    foo bar"});
    ed.SetEnhancedHomeKey(true);
    Place(11, 0);
    Key(VK_HOME);
    EXPECT_EQ(ed.CaretCol(), 8);
    Key(VK_HOME);
    EXPECT_EQ(ed.CaretCol(), 4);
    Key(VK_HOME);
    EXPECT_EQ(ed.CaretCol(), 0);
}

TEST_F(MovementKeys, PlainHomeGoesToColumnZeroAndEndBeforeTrailingBlanks)
{
    SetText({"  abc   "});
    Place(4, 0);
    Key(VK_END);
    EXPECT_EQ(ed.CaretCol(), 5);
    Key(VK_HOME);
    EXPECT_EQ(ed.CaretCol(), 0);
    EXPECT_EQ(ed.LeftColumn(), 0);
}

TEST_F(MovementKeys, CtrlShiftEndSelectsToTheEndOfTheText)
{
    SetText({"abcd", "ef", "ghi  "});
    Place(2, 0);
    Key(VK_END, {ssCtrl, ssShift});
    EXPECT_EQ(ed.SelText(), "cd\r\nef\r\nghi");
    EXPECT_EQ(Caret(), (TCaretPos{3, 2}));
    Key(VK_HOME, {ssCtrl, ssShift});
    EXPECT_EQ(Caret(), (TCaretPos{0, 0}));
}

TEST_F(MovementKeys, ShiftRightStopsAtTheLineEndWhileRightGoesPastIt)
{
    SetText({"ab"});
    Place(2, 0);
    Key(VK_RIGHT, {ssShift});
    EXPECT_EQ(ed.CaretCol(), 2);
    Key(VK_RIGHT);
    EXPECT_EQ(ed.CaretCol(), 3);
    EXPECT_EQ(Line(0), "ab") << "the caret stands past the end without writing a blank";
    Type(U"x");
    EXPECT_EQ(Line(0), "ab x");
    ed.Undo();
    EXPECT_EQ(Line(0), "ab") << "the blank typing needed goes with the typing";
}

TEST_F(MovementKeys, ShiftExtendsOnlyFromTheAnchor)
{
    SetText({"abcdef"});
    Place(1, 0);
    Key(VK_RIGHT, {ssShift});
    Key(VK_RIGHT, {ssShift});
    EXPECT_EQ(ed.SelText(), "bc");
    ed.SetCaretCol(5); // moved without touching the selection
    Key(VK_RIGHT, {ssShift});
    EXPECT_TRUE(ed.CaretState().SelectionEmpty()) << "away from the anchor the selection collapses";
    Key(VK_LEFT, {ssShift});
    EXPECT_EQ(ed.SelText(), "f");
}

TEST_F(MovementKeys, ArrowsKeepTheColumnAcrossShorterLinesAndWrapAtLineStarts)
{
    SetText({"abcdef", "ab", "abcdef"});
    Place(5, 0);
    Key(VK_DOWN);
    EXPECT_EQ(Caret(), (TCaretPos{5, 1}));
    EXPECT_EQ(Line(1), "ab");
    Key(VK_DOWN);
    EXPECT_EQ(Caret(), (TCaretPos{5, 2}));
    Place(0, 1);
    Key(VK_LEFT);
    EXPECT_EQ(Caret(), (TCaretPos{6, 0}));
    Key(VK_UP, {ssCtrl});
    EXPECT_EQ(Caret(), (TCaretPos{6, 0}));
}

TEST_F(MovementKeys, CtrlArrowsMoveByWords)
{
    SetText({"foo bar baz", "next"});
    Place(0, 0);
    Key(VK_RIGHT, {ssCtrl});
    EXPECT_EQ(ed.CaretCol(), 4);
    Key(VK_RIGHT, {ssCtrl});
    EXPECT_EQ(ed.CaretCol(), 8);
    Key(VK_RIGHT, {ssCtrl});
    EXPECT_EQ(ed.CaretCol(), 11);
    Key(VK_RIGHT, {ssCtrl});
    EXPECT_EQ(Caret(), (TCaretPos{0, 1}));
    EXPECT_EQ(Line(0), "foo bar baz") << "no padding on the way";
    Place(11, 0);
    Key(VK_LEFT, {ssCtrl});
    EXPECT_EQ(ed.CaretCol(), 8);
    Key(VK_LEFT, {ssCtrl, ssShift});
    EXPECT_EQ(ed.SelText(), "bar ");
}

TEST_F(MovementKeys, PageDownMovesByTheRowsOfAPageLessOne)
{
    std::vector<std::string> lines(100, "x");
    SetText(lines);
    Place(0, 0);
    const int rows = ed.TextArea().Height() / ed.LineHeight() - 1;
    ASSERT_GT(rows, 1);
    Key(VK_NEXT);
    EXPECT_EQ(ed.CaretLine(), rows);
    Key(VK_NEXT, {ssCtrl});
    EXPECT_EQ(Caret(), (TCaretPos{1, 99}));
    Key(VK_PRIOR, {ssCtrl});
    EXPECT_EQ(Caret(), (TCaretPos{0, 0}));
}

class InsertAndUndoKeys : public EditingFixture {};

TEST_F(InsertAndUndoKeys, InsertTogglesOverwriteUnlessTheHandlerRefuses)
{
    Key(VK_INSERT);
    EXPECT_TRUE(ed.Overwrite());
    ed.OnOverwriteToggle = [](TCustomDodi &, bool &allow) { allow = false; };
    Key(VK_INSERT);
    EXPECT_TRUE(ed.Overwrite());
}

TEST_F(InsertAndUndoKeys, ShiftInsertPastesAndShiftDeleteCuts)
{
    SetText({"abc"});
    Select({0, 0}, {1, 0});
    Key(VK_DELETE, {ssShift});
    EXPECT_EQ(Line(0), "bc");
    EXPECT_EQ(host.Clipboard, "a");
    Place(2, 0);
    Key(VK_INSERT, {ssShift});
    EXPECT_EQ(Line(0), "bca");
}

TEST_F(InsertAndUndoKeys, AltBackspaceUndoesAndAltShiftBackspaceRedoes)
{
    SetText({""});
    Type(U"xy");
    Key(VK_BACK, {ssAlt});
    EXPECT_EQ(Line(0), "");
    Key(VK_BACK, {ssAlt, ssShift});
    EXPECT_EQ(Line(0), "xy");
    EXPECT_TRUE(ed.SysChar(VK_BACK, {ssAlt})) << "no system beep for Alt+Backspace";
}

class CaretDisplay : public EditingFixture {};

TEST_F(CaretDisplay, KeysHoldTheBlinkSteadyUntilKeyUp)
{
    host.BlinkTime = 530;
    ed.FocusGained();
    uint16_t key = VK_RIGHT;
    ed.KeyDown(key, {});
    EXPECT_EQ(host.BlinkTime, kSteadyCaretBlinkTime);
    ed.KeyUp(key, {});
    EXPECT_EQ(host.BlinkTime, 530);
    key = VK_CONTROL;
    ed.KeyDown(key, {ssCtrl});
    EXPECT_EQ(host.BlinkTime, 530) << "Ctrl alone leaves the blink alone";
}

TEST_F(CaretDisplay, FocusPutsTheCaretOnTheCaretCellAndLosingItRemovesIt)
{
    SetText({"abc", "def"});
    Place(2, 1);
    ed.FocusGained();
    ASSERT_TRUE(host.CaretExists);
    EXPECT_TRUE(host.CaretVisible);
    const TRect text = ed.TextArea();
    EXPECT_EQ(host.CaretPos.x, text.left + 2 * ed.CharWidth());
    EXPECT_GT(host.CaretPos.y, text.top + ed.LineHeight());
    Key(VK_LEFT);
    EXPECT_EQ(host.CaretPos.x, text.left + ed.CharWidth());
    ed.FocusLost(false);
    EXPECT_FALSE(host.CaretExists);
}

TEST_F(CaretDisplay, InputMethodTextIsTypedWithoutAKeyDown)
{
    SetText({""});
    ed.InputText(U"\u65e5\u672c");
    EXPECT_EQ(Line(0), "\u65e5\u672c");
    EXPECT_TRUE(TDodiKeyboard::IsPrintable(U'\u00a0'));
    EXPECT_FALSE(TDodiKeyboard::IsPrintable(U'\x9b'));
}

} // namespace
} // namespace tarnwick::test
