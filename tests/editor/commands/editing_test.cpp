// Caret setters, the selection and its character index, and the editing
// operations: typing, new line, Tab, Backspace, Delete, text insertion,
// selection and line deletion, the clipboard and Clear, each with the one
// change notification it raises.
#include "support/editing_fixture.h"

#include <chrono>

namespace tarnwick::test {
namespace {

using Lines = std::vector<std::string>;

class CaretSetters : public EditingFixture {};

TEST_F(CaretSetters, ColumnPastTheLineEndStandsInFreeSpaceWithAutoExpandAndStopsWithout)
{
    SetText({"ab"});
    ed.SetCaretCol(10);
    EXPECT_EQ(ed.CaretCol(), 10);
    EXPECT_EQ(Line(0), "ab") << "a caret move writes no blanks";
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(ed.CanUndo());

    SetText({"ab"});
    ed.SetAutoExpand(false);
    ed.SetCaretCol(10);
    EXPECT_EQ(ed.CaretCol(), 2);
    EXPECT_EQ(Line(0), "ab");
}

TEST_F(CaretSetters, ChangingLineKeepsTheColumnAndTypingThenPads)
{
    SetText({"abcdefgh", "ab"});
    Place(6, 0);
    ed.SetCaretLine(1);
    EXPECT_EQ(Caret(), (TCaretPos{6, 1}));
    EXPECT_EQ(Line(1), "ab");
    Type(U"x");
    EXPECT_EQ(Line(1), "ab    x");
    ed.Undo();
    EXPECT_EQ(Line(1), "ab") << "the padding goes with the typed character";
}

TEST_F(CaretSetters, NegativeColumnGoesToTheEndOfThePreviousLine)
{
    SetText({"abc", "de"});
    Place(1, 1);
    ed.SetCaretCol(-1);
    EXPECT_EQ(Caret(), (TCaretPos{3, 0}));
    ed.SetCaretCol(-1);
    EXPECT_EQ(Caret(), (TCaretPos{0, 0}));
}

TEST_F(CaretSetters, LineIsClampedAndAnEmptyStoreGetsALine)
{
    SetText({"a", "b"});
    ed.SetCaretLine(7);
    EXPECT_EQ(ed.CaretLine(), 1);
    ed.SetCaretLine(-3);
    EXPECT_EQ(ed.CaretLine(), 0);
    SetText({});
    ASSERT_EQ(ed.Lines()->Count(), 0);
    ed.SetCaretLine(2);
    EXPECT_EQ(ed.Lines()->Count(), 1);
    EXPECT_EQ(ed.CaretLine(), 0);
}

TEST_F(CaretSetters, RaiseColumnAndStatusEvents)
{
    SetText({"abc"});
    std::vector<int> columns;
    int statuses = 0;
    ed.OnColumnChange = [&](int col) { columns.push_back(col); };
    ed.OnStatusChange = [&](TCustomDodi &) { ++statuses; };
    ed.SetCaretCol(2);
    ed.SetCaretCol(2);
    EXPECT_EQ(columns, std::vector<int>{2});
    EXPECT_EQ(statuses, 1);
}

class Selection : public EditingFixture {};

TEST_F(Selection, SelStartCountsEachLineBreakAsTwoCharacters)
{
    SetText({"ab", "cd"});
    Place(2, 1);
    EXPECT_EQ(ed.SelStart(), 6);
    EXPECT_EQ(ed.SelLength(), 0);
}

TEST_F(Selection, IndexConversionsRoundTripAndCountCodePoints)
{
    SetText({"h\u00e9llo", "\u4e2dx", ""});
    EXPECT_EQ(ed.IndexOfPosition({2, 1}), 9);
    EXPECT_EQ(ed.PositionOfIndex(9), (TCaretPos{2, 1}));
    EXPECT_EQ(ed.PositionOfIndex(6), (TCaretPos{6, 0})) << "an index inside the line break";
    EXPECT_EQ(ed.IndexOfPosition({40, 0}), 5) << "the column is capped at the line length";
    EXPECT_EQ(ed.PositionOfIndex(100), (TCaretPos{0, 0})) << "past the end";
    EXPECT_EQ(ed.PositionOfIndex(-4), (TCaretPos{0, 0})) << "before the start";
    for (int i = 0; i < 11; ++i) {
        const TCaretPos p = ed.PositionOfIndex(i);
        if (p.Col <= ed.Lines()->LineLength(p.Line)) {
            EXPECT_EQ(ed.IndexOfPosition(p), i);
        }
    }
}

TEST_F(Selection, SettingSelStartKeepsTheLengthAndSelTextJoinsLinesWithCrLf)
{
    SetText({"abc", "def", "ghi"});
    Select({1, 0}, {2, 1});
    EXPECT_EQ(ed.SelText(), "bc\r\nde");
    EXPECT_EQ(ed.SelLength(), 6);
    ed.SetSelStart(5);
    EXPECT_EQ(ed.CaretState().SelStart, (TCaretPos{0, 1}));
    EXPECT_EQ(ed.SelText(), "def\r\ng");
    ed.SetSelLength(2);
    EXPECT_EQ(ed.SelText(), "de");
}

TEST_F(Selection, SelectAllReachesTheEndOfTheLastLine)
{
    SetText({"abc", "de"});
    int events = 0;
    ed.OnSelectionChange = [&](TCustomDodi &) { ++events; };
    ed.SelectAll();
    EXPECT_EQ(ed.SelText(), "abc\r\nde");
    EXPECT_EQ(events, 1);
}

class Typing : public EditingFixture {};

TEST_F(Typing, InsertsAtTheCaretAndOverwriteReplaces)
{
    SetText({"abc"});
    Place(1, 0);
    Type(U"X");
    EXPECT_EQ(Line(0), "aXbc");
    EXPECT_EQ(changes, 1);
    ed.CaretState().Overwrite = true;
    Type(U"YZW");
    EXPECT_EQ(Line(0), "aXYZW") << "overwrites b and c, then inserts at the end";
}

TEST_F(Typing, AcceptsEveryPrintableUnicodeCharacter)
{
    SetText({""});
    Type(U"\u00e9\u4e2d\U0001F600\u20ac");
    EXPECT_EQ(Line(0), "\u00e9\u4e2d\U0001F600\u20ac");
    EXPECT_EQ(ed.CaretCol(), 4);
    EXPECT_EQ(ed.Lines()->LineLength(0), 4);
}

TEST_F(Typing, OverASelectionReplacesItOnlyWithDelErase)
{
    SetText({"hello world"});
    Select({0, 0}, {5, 0});
    Type(U"J");
    EXPECT_EQ(Line(0), "J world");
    EXPECT_EQ(changes, 1);

    SetText({"hello world"});
    ed.SetDelErase(false);
    Select({0, 0}, {5, 0});
    Type(U"J");
    EXPECT_EQ(Line(0), "helloJ world");
}

TEST_F(Typing, MarksTheCaretLineModified)
{
    SetText({"a", "b"});
    Place(1, 1);
    Type(U"c");
    EXPECT_TRUE(Modified(1));
    EXPECT_FALSE(Modified(0));
    ed.SetModified(false);
    EXPECT_FALSE(Modified(1));
    EXPECT_FALSE(ed.CanUndo());
}

class NewLine : public EditingFixture {};

TEST_F(NewLine, AutoIndentCarriesTheIndentAndOneUndoRestoresTheLine)
{
    SetText({"    foo bar"});
    Place(8, 0);
    Enter();
    EXPECT_EQ(Text(), (Lines{"    foo ", "    bar"}));
    EXPECT_EQ(Caret(), (TCaretPos{4, 1}));
    EXPECT_EQ(changes, 1);
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"    foo bar"}));
    EXPECT_EQ(Caret(), (TCaretPos{8, 0}));
}

TEST_F(NewLine, BlanksDroppedAtTheSplitComeBackOnUndo)
{
    SetText({"  foo   bar  "});
    Place(5, 0);
    Enter();
    EXPECT_EQ(Text(), (Lines{"  foo", "  bar"}));
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"  foo   bar  "}));
}

TEST_F(NewLine, AtTheEndOfABlankLineKeepsItsWholeWidth)
{
    SetText({"      "});
    Place(6, 0);
    Enter();
    EXPECT_EQ(Text(), (Lines{"      ", "      "}));
    ed.SetAutoIndent(false);
    Enter();
    EXPECT_EQ(Line(2), "");
}

TEST_F(NewLine, TypingAcrossLineBreaksIsOneUndo)
{
    SetText({""});
    Type(U"ab");
    Enter();
    Type(U"cd");
    EXPECT_EQ(ed.UndoList().Count(), 1);
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{""}));
}

class TabKey : public EditingFixture {};

TEST_F(TabKey, InsertsTabSizeSpacesAndShiftTabMovesBack)
{
    SetText({"ab"});
    Place(1, 0);
    Key(VK_TAB);
    EXPECT_EQ(Line(0), "a    b");
    EXPECT_EQ(changes, 1);
    Key(VK_TAB, {ssShift});
    EXPECT_EQ(ed.CaretCol(), 1);
    Key(VK_TAB, {ssShift});
    EXPECT_EQ(ed.CaretCol(), 0);
    Key(VK_TAB, {ssCtrl});
    EXPECT_EQ(Line(0), "a    b");
}

TEST_F(TabKey, SmartTabLinesUpWithTheNextWordAboveAndUndoesExactly)
{
    SetText({"let value = 1", "x  "});
    ed.SetSmartTabs(true);
    Place(1, 1);
    Key(VK_TAB);
    EXPECT_EQ(Line(1), "x   ");
    EXPECT_EQ(ed.CaretCol(), 4);
    ed.Undo();
    EXPECT_EQ(Line(1), "x  ");
}

TEST_F(TabKey, SmartTabWithoutATargetInsertsAPlainTab)
{
    SetText({"ab", "x"});
    ed.SetSmartTabs(true);
    Place(1, 1);
    Key(VK_TAB);
    EXPECT_EQ(Line(1), "x    ");
}

class Backspace : public EditingFixture {};

TEST_F(Backspace, AtColumnZeroJoinsThePreviousLine)
{
    SetText({"one", "two", "three"});
    Place(0, 2);
    Key(VK_BACK);
    EXPECT_EQ(Text(), (Lines{"one", "twothree"}));
    EXPECT_EQ(Caret(), (TCaretPos{3, 1}));
    EXPECT_EQ(changes, 1);
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"one", "two", "three"}));
}

TEST_F(Backspace, PastTheLineEndStepsLeftThenJoinsTheNextLine)
{
    SetText({"abcdefgh", "ab", "cd"});
    Place(6, 0);
    ed.SetCaretLine(1);
    Key(VK_BACK);
    EXPECT_EQ(Text(), (Lines{"abcdefgh", "ab   cd"}));
    EXPECT_EQ(Caret(), (TCaretPos{5, 1}));
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"abcdefgh", "ab", "cd"}));

    ed.SetAutoExpand(false);
    Place(6, 0);
    ed.SetCaretLine(1);
    Key(VK_BACK);
    EXPECT_EQ(Text(), (Lines{"abcdefgh", "abcd"}));
}

TEST_F(Backspace, AtTheStartOfTheTextDoesNothing)
{
    SetText({"ab"});
    Place(0, 0);
    Key(VK_BACK);
    EXPECT_EQ(Text(), (Lines{"ab"}));
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(ed.CanUndo());
}

TEST_F(Backspace, SmartBackspaceGoesToTheWordStartAboveAndUndoGivesTheSpacesBack)
{
    SetText({"if x then do", "          y"});
    ed.SetSmartTabs(true);
    Place(10, 1);
    Key(VK_BACK);
    EXPECT_EQ(Line(1), "     y");
    EXPECT_EQ(ed.CaretCol(), 5);
    ed.Undo();
    EXPECT_EQ(Line(1), "          y");
}

TEST_F(Backspace, WithCtrlDeletesTheWordLeftAsOneUndo)
{
    SetText({"foo barbaz"});
    Place(10, 0);
    Key(VK_BACK, {ssCtrl});
    EXPECT_EQ(Line(0), "foo ");
    EXPECT_EQ(changes, 1);
    ed.Undo();
    EXPECT_EQ(Line(0), "foo barbaz");
}

class DeleteKey : public EditingFixture {};

TEST_F(DeleteKey, DeletesTheCharacterAndJoinsAtTheLineEnd)
{
    SetText({"ab", "cd"});
    Place(1, 0);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), (Lines{"a", "cd"}));
    Key(VK_DELETE);
    EXPECT_EQ(Text(), (Lines{"acd"}));
    EXPECT_EQ(Caret(), (TCaretPos{1, 0}));
    Place(3, 0);
    changes = 0;
    Key(VK_DELETE);
    EXPECT_EQ(changes, 0) << "nothing to delete at the end of the text";
}

TEST_F(DeleteKey, AJoinIsOneUndoRecordThatGivesBackBothLines)
{
    SetText({"ab  ", "cd  "});
    Place(4, 0);
    Key(VK_DELETE);
    EXPECT_EQ(ed.UndoList().Count(), 1);
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"ab  ", "cd  "}));
}

TEST_F(DeleteKey, JoinPastTheLineEndSplitsBackAtTheOldEnd)
{
    SetText({"abcdefgh", "ab", "cd"});
    Place(6, 0);
    ed.SetCaretLine(1);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), (Lines{"abcdefgh", "abcd"}));
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"abcdefgh", "ab", "cd"}));
}

class BlockEdits : public EditingFixture {};

TEST_F(BlockEdits, InsertTextSplitsAtCrLfOnlyAndPutsTheCaretAfterIt)
{
    SetText({"abcd"});
    Place(2, 0);
    ed.InsertText("X\r\nY\rZ\r\nW");
    EXPECT_EQ(Text(), (Lines{"abX", "Y\rZ", "Wcd"}));
    EXPECT_EQ(Caret(), (TCaretPos{1, 2}));
    EXPECT_EQ(changes, 1);
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"abcd"}));
}

TEST_F(BlockEdits, InsertTextWorksInReadOnlyModeAndDeleteSelectionDoesNot)
{
    SetText({"abcd"});
    ed.SetReadOnly(true);
    Select({1, 0}, {3, 0});
    ed.DeleteSelection(true);
    EXPECT_EQ(Line(0), "abcd");
    ed.InsertText("X");
    EXPECT_EQ(Line(0), "aXd");
}

TEST_F(BlockEdits, DeleteSelectionAcrossLinesAndUndoSelectsTheRestoredText)
{
    SetText({"one", "two", "three"});
    Select({1, 0}, {2, 2});
    ed.DeleteSelection(true);
    EXPECT_EQ(Text(), (Lines{"oree"}));
    EXPECT_EQ(Caret(), (TCaretPos{1, 0}));
    EXPECT_EQ(changes, 1);
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"one", "two", "three"}));
    EXPECT_EQ(ed.SelText(), "ne\r\ntwo\r\nth");
}

TEST_F(BlockEdits, LargeBlocksCostTimeLinearInTheirSize)
{
    std::vector<std::string> lines(100000, "<book id=\"1\"/>");
    ed.SetLines(lines);
    std::string block;
    for (int i = 0; i < 100000; ++i)
        block += "<a/>\r\n";
    const auto start = std::chrono::steady_clock::now();
    Place(0, 50000);
    ed.InsertText(block);
    Select({0, 20000}, {0, 180000});
    ed.DeleteSelection(true);
    ed.Undo();
    ed.Undo();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(ed.Lines()->Count(), 100000);
    EXPECT_LT(seconds, 2.0);
}

class DeleteLine : public EditingFixture {};

TEST_F(DeleteLine, CtrlYOnTheOnlyLineLeavesOneEmptyLine)
{
    SetText({"only"});
    Ctrl('Y');
    EXPECT_EQ(Text(), (Lines{""}));
    EXPECT_EQ(changes, 1);
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"only"}));
}

TEST_F(DeleteLine, UndoPutsALineBackWhereItWas)
{
    SetText({"a", "b", "c"});
    Place(0, 1);
    Ctrl('Y');
    EXPECT_EQ(Text(), (Lines{"a", "c"}));
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"a", "b", "c"}));
    Place(0, 2);
    Ctrl('Y');
    EXPECT_EQ(Text(), (Lines{"a", "b"}));
    EXPECT_EQ(ed.CaretLine(), 1);
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"a", "b", "c"})) << "the last line comes back below, not above";
}

TEST_F(DeleteLine, StoreDeleteIsUndoableAndKeepsTheCaretOnItsLine)
{
    SetText({"a", "b", "c"});
    Place(1, 2);
    ed.Lines()->Delete(0);
    EXPECT_EQ(Text(), (Lines{"b", "c"}));
    EXPECT_EQ(Caret(), (TCaretPos{1, 1}));
    EXPECT_EQ(changes, 1);
    ed.Lines()->Delete(1);
    EXPECT_EQ(ed.CaretLine(), 0) << "the caret's own last line went";
    ed.Lines()->Delete(5);
    ed.Undo();
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"a", "b", "c"}));
}

class Clipboard : public EditingFixture {};

TEST_F(Clipboard, CopyCutAndPasteGoThroughTheHost)
{
    SetText({"hello world"});
    Select({0, 0}, {5, 0});
    ed.CopyToClipboard();
    EXPECT_EQ(host.Clipboard, "hello");
    ed.CutToClipboard();
    EXPECT_EQ(Line(0), " world");
    Place(6, 0);
    changes = 0;
    ed.PasteFromClipboard();
    EXPECT_EQ(Line(0), " worldhello");
    EXPECT_EQ(changes, 1);
}

TEST_F(Clipboard, PastedLineBreaksOfAnyKindBecomeLines)
{
    SetText({"[]"});
    Place(1, 0);
    host.Clipboard = std::string("a\nb\rc\r\nd\0ignored", 16);
    ed.PasteFromClipboard();
    EXPECT_EQ(Text(), (Lines{"[a", "b", "c", "d]"}));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(Modified(i)) << i;
}

TEST_F(Clipboard, PasteOverASelectionIsOneChangeAndOneUndo)
{
    SetText({"abcdef"});
    host.Clipboard = "XY";
    Select({1, 0}, {4, 0});
    ed.PasteFromClipboard();
    EXPECT_EQ(Line(0), "aXYef");
    EXPECT_EQ(changes, 1);
    ed.Undo();
    ed.Undo();
    EXPECT_EQ(Line(0), "abcdef");
}

TEST_F(Clipboard, ReadOnlyStillCopiesButNeitherCutsNorPastes)
{
    SetText({"abc"});
    ed.SetReadOnly(true);
    host.Clipboard = "Z";
    Select({0, 0}, {2, 0});
    ed.CutToClipboard();
    ed.PasteFromClipboard();
    EXPECT_EQ(Line(0), "abc");
    ed.CopyToClipboard();
    EXPECT_EQ(host.Clipboard, "ab");
}

class ClearText : public EditingFixture {};

TEST_F(ClearText, EmptiesTheStoreWithOneNotificationAndCanBeUndone)
{
    SetText({"one", "two"});
    Place(2, 1);
    ed.Clear();
    EXPECT_EQ(ed.Lines()->Count(), 0);
    EXPECT_EQ(Caret(), (TCaretPos{0, 0}));
    EXPECT_EQ(changes, 1);
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"one", "two"}));
}

TEST_F(ClearText, LoadingOrReplacingTheTextIsOneChangeEach)
{
    SetText({"one"});
    ed.Lines()->LoadFromString("a\r\nb\r\n");
    EXPECT_EQ(changes, 1);
    changes = 0;
    ed.SetLines({"x", "y"});
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace tarnwick::test
