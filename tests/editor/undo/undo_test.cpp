// The undo list: merging of typing and deleting runs, the limit, the redo
// side, OnUndoChange, and records that replay to exactly the text they were
// made on.
#include "support/editing_fixture.h"

namespace tarnwick::test {
namespace {

using Lines = std::vector<std::string>;

class UndoHistory : public EditingFixture {
protected:
    UndoHistory()
    {
        ed.OnUndoChange = [this](TCustomDodi &, bool canUndo, bool canRedo) { reports.push_back({canUndo, canRedo}); };
    }
    std::vector<std::pair<bool, bool>> reports;
};

TEST_F(UndoHistory, TypingIsOneStepThatUndoesAndRedoes)
{
    SetText({"x"});
    Place(1, 0);
    Type(U"abc");
    EXPECT_EQ(Line(0), "xabc");
    changes = 0;
    ed.Undo();
    EXPECT_EQ(Line(0), "x");
    EXPECT_EQ(Caret(), (TCaretPos{1, 0}));
    EXPECT_EQ(changes, 1) << "one notification for the whole replay";
    ed.Redo();
    EXPECT_EQ(Line(0), "xabc");
    EXPECT_EQ(Caret(), (TCaretPos{4, 0}));
}

TEST_F(UndoHistory, TheLimitKeepsOnlyTheNewestSteps)
{
    SetText({""});
    ed.SetUndoLimit(3);
    for (int i = 0; i < 5; ++i) {
        Place(0, 0);
        Type(U"a"); // each at column 0: no run to continue
    }
    EXPECT_EQ(ed.UndoList().Count(), 3);
    while (ed.CanUndo())
        ed.Undo();
    EXPECT_EQ(Line(0), "aa");
}

TEST_F(UndoHistory, AnEditAfterAnUndoDropsTheRedoSide)
{
    SetText({"abc"});
    Place(3, 0);
    Type(U"d");
    ed.Undo();
    EXPECT_TRUE(ed.CanRedo());
    Place(0, 0);
    Type(U"e");
    EXPECT_FALSE(ed.CanRedo());
    EXPECT_EQ(Line(0), "eabc");
}

TEST_F(UndoHistory, TypingRightAfterAnUndoStartsANewStep)
{
    SetText({""});
    Type(U"ab");
    ed.Undo();
    Type(U"cd");
    ed.Undo();
    EXPECT_EQ(Line(0), "") << "the new typing did not hide in the undone step";
}

TEST_F(UndoHistory, ChangingTheLimitEmptiesTheHistory)
{
    SetText({""});
    Type(U"a");
    reports.clear();
    ed.SetUndoLimit(50);
    EXPECT_FALSE(ed.CanUndo());
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), (std::pair{false, false}));
}

TEST_F(UndoHistory, LimitValuesAreClampedOrReplaced)
{
    ed.SetUndoLimit(0);
    EXPECT_EQ(ed.UndoLimit(), 1);
    EXPECT_EQ(ed.UndoList().Limit(), 1);
    ed.SetUndoLimit(500);
    EXPECT_EQ(ed.UndoLimit(), 100);
    TDodiUndoList list(&ed);
    list.SetLimit(0);
    EXPECT_EQ(list.Limit(), 10);
    list.SetLimit(101);
    EXPECT_EQ(list.Limit(), 100);
}

TEST_F(UndoHistory, OnUndoChangeFollowsAddUndoRedoAndClear)
{
    SetText({""});
    reports.clear();
    Type(U"a");
    ed.Undo();
    ed.Redo();
    ed.ClearUndo();
    EXPECT_EQ(reports,
              (std::vector<std::pair<bool, bool>>{{true, false}, {false, true}, {true, false}, {false, false}}));
}

TEST_F(UndoHistory, AtTheEndsOfTheHistoryNothingHappens)
{
    SetText({"a"});
    ed.Undo();
    ed.Redo();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(Text(), (Lines{"a"}));
}

TEST_F(UndoHistory, RecordsOfferedWhileReplayingAreDropped)
{
    TDodiUndoList &list = ed.UndoList();
    list.SetPerforming(true);
    EXPECT_EQ(list.Add(std::make_unique<TInsertCharUndo>(0, 0, 1, 0, "a")), -1);
    list.SetPerforming(false);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Add(std::make_unique<TInsertCharUndo>(0, 0, 1, 0, "a")), 0);
    EXPECT_EQ(list.Add(std::make_unique<TInsertCharUndo>(1, 0, 2, 0, "b")), -1) << "merged";
    EXPECT_EQ(list.Items(0)->Text, "ab");
}

class UndoMerging : public EditingFixture {};

TEST_F(UndoMerging, DeletePressesAtOnePlaceMergeAndComeBackInOrder)
{
    SetText({"abcdef"});
    Place(1, 0);
    Key(VK_DELETE);
    Key(VK_DELETE);
    Key(VK_DELETE);
    EXPECT_EQ(ed.UndoList().Count(), 1);
    EXPECT_EQ(ed.UndoList().Items(0)->Text, "dcb");
    ed.Undo();
    EXPECT_EQ(Line(0), "abcdef");
}

TEST_F(UndoMerging, BackspacesMergeButNotWithDeletePresses)
{
    SetText({"abcdef"});
    Place(4, 0);
    Key(VK_BACK);
    Key(VK_BACK);
    EXPECT_EQ(ed.UndoList().Count(), 1);
    Key(VK_DELETE);
    EXPECT_EQ(ed.UndoList().Count(), 2);
    EXPECT_EQ(Line(0), "abf");
    ed.Undo();
    EXPECT_EQ(Line(0), "abef");
    ed.Undo();
    EXPECT_EQ(Line(0), "abcdef");
}

TEST_F(UndoMerging, OverwrittenCharactersComeBackOnUndo)
{
    SetText({"abcd"});
    Key(VK_INSERT);
    Place(1, 0);
    Type(U"XYZW");
    EXPECT_EQ(Line(0), "aXYZW");
    ed.Undo();
    EXPECT_EQ(Line(0), "abcd");
    ed.Redo();
    EXPECT_EQ(Line(0), "aXYZW");
}

class UndoRecords : public EditingFixture {};

TEST_F(UndoRecords, DeletedMultiLineSelectionComesBackSelected)
{
    SetText({"one", "two", "three"});
    Select({2, 0}, {1, 2});
    Key(VK_DELETE);
    EXPECT_EQ(Text(), (Lines{"onhree"}));
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"one", "two", "three"}));
    EXPECT_EQ(ed.SelText(), "e\r\ntwo\r\nt");
    ed.Redo();
    EXPECT_EQ(Text(), (Lines{"onhree"}));
}

TEST_F(UndoRecords, DeletedLineGoesBackAtItsIndexUnchanged)
{
    SetText({"a", "  b  ", "c"});
    Place(3, 1);
    Ctrl('Y');
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"a", "  b  ", "c"}));
    EXPECT_EQ(Caret(), (TCaretPos{3, 1}));
}

TEST_F(UndoRecords, PasteUndoesAsOneBlock)
{
    SetText({"ab"});
    Place(1, 0);
    host.Clipboard = "1\r\n2\r\n3";
    Ctrl('V');
    EXPECT_EQ(Text(), (Lines{"a1", "2", "3b"}));
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"ab"}));
    ed.Redo();
    EXPECT_EQ(Text(), (Lines{"a1", "2", "3b"}));
}

TEST_F(UndoRecords, ReplayIgnoresAutoIndentOverwriteAndSmartTabs)
{
    SetText({"    x", ""});
    Place(0, 1);
    Type(U"ab");
    Place(1, 1);
    Enter();
    ed.SetSmartTabs(true);
    ed.CaretState().Overwrite = true;
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"    x", "ab"}));
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"    x", ""}));
    ed.Redo();
    ed.Redo();
    EXPECT_EQ(Text(), (Lines{"    x", "a", "b"}));
}

TEST_F(UndoRecords, CorrectionSwapsTheLineBothWays)
{
    SetText({"a", "teh cat"});
    ed.UndoList().Add(std::make_unique<TCorrectUndo>(1, "teh cat"));
    ed.Lines()->Put(1, "the cat");
    ed.Undo();
    EXPECT_EQ(Line(1), "teh cat");
    EXPECT_EQ(Caret(), (TCaretPos{0, 0}));
    ed.Redo();
    EXPECT_EQ(Line(1), "the cat");
}

TEST_F(UndoRecords, UndoAndRedoWorkInReadOnlyMode)
{
    SetText({"abc"});
    Select({0, 0}, {2, 0});
    Key(VK_DELETE);
    ed.SetReadOnly(true);
    Key(VK_BACK, {ssAlt});
    EXPECT_EQ(Line(0), "abc");
    Key(VK_BACK, {ssAlt, ssShift});
    EXPECT_EQ(Line(0), "c");
}

class UndoExactness : public EditingFixture {};

// Blanks the editor writes or drops around an edit belong to that edit's step:
// undo takes them back with it, and never moves them elsewhere.
TEST_F(UndoExactness, BlanksWrittenOrTrimmedAroundAnEditGoWithItsStep)
{
    SetText({"foo bar"});
    Place(3, 0);
    Enter();
    Key(VK_UP);
    Key(VK_END);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    EXPECT_EQ(Line(0), "foo") << "moving into free space writes nothing";
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"foo bar"}));

    SetText({"abc", ""});
    ed.SetTrimTrailingSpaces(true);
    Place(3, 0);
    Type(U"  x  ");
    Key(VK_DOWN);
    EXPECT_EQ(Line(0), "abc  x");
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"abc", ""}));
    ed.Redo();
    EXPECT_EQ(Text(), (Lines{"abc  x", ""}));
}

TEST_F(UndoExactness, ChangesNoEditRecordedAreUndoneToo)
{
    SetText({"a  ", "b"});
    ed.SetTrimTrailingSpaces(true);
    Place(1, 0);
    Key(VK_DOWN);
    EXPECT_EQ(Line(0), "a");
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"a  ", "b"})) << "a trim before any edit is a step of its own";

    ed.Lines()->Add("c");
    Type(U"x");
    ed.Lines()->Put(0, "changed from outside");
    ed.Undo();
    ed.Undo();
    EXPECT_EQ(Text(), (Lines{"a  ", "b"}));
}

} // namespace
} // namespace tarnwick::test
