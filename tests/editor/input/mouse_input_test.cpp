// Mouse input on the editor core: caret placement, selection by dragging and
// Shift+click, press and release inside the selection, double-click words,
// gutter clicks, URL clicks, the pointer shape, drag-and-drop of the
// selection and files dropped from the desktop.
#include "support/mouse_fixture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace tarnwick;
using tarnwick::test::MouseTest;

namespace {

using Placement = MouseTest;

TEST_F(Placement, ClickPutsTheCaretInTheCellAndEmptiesTheSelection)
{
    SetText({"alpha", "beta gamma"});
    ed.CaretState().SelStart = {0, 0};
    ed.CaretState().SelEnd = {3, 0};
    Click(6, 1);
    EXPECT_EQ(Caret(), (TCaretPos{6, 1}));
    EXPECT_EQ(SelStartPos(), (TCaretPos{6, 1}));
    EXPECT_EQ(SelEndPos(), (TCaretPos{6, 1}));
    EXPECT_TRUE(host.HasFocus);
    EXPECT_FALSE(Mouse().MouseSelecting);
}

TEST_F(Placement, ClickBelowTheTextTakesTheLastLine)
{
    SetText({"one", "two"});
    Click(1, 5);
    EXPECT_EQ(Caret(), (TCaretPos{1, 1}));
}

TEST_F(Placement, ClickPastTheEndLeavesTheLineTheCaretLeaves)
{
    SetText({"ab", "cd"});
    ed.SetCaretDirect(1, 0);
    Click(6, 1);
    EXPECT_EQ(ed.Lines()->Get(0), "ab");
    EXPECT_EQ(ed.CaretLine(), 1);
}

TEST_F(Placement, ClickOutsideTheTextAreaLeavesTheCaret)
{
    SetText({"ab", "cd"});
    ed.SetCaretDirect(1, 1);
    ed.MouseDown(mbLeft, TShiftState{ssLeft}, ed.TextArea().right, ed.TextArea().top + 1);
    EXPECT_EQ(Caret(), (TCaretPos{1, 1}));
}

TEST_F(Placement, MouseDownEventComesFirstWithItsArguments)
{
    SetText({"ab"});
    std::vector<std::string> seen;
    ed.OnMouseDown = [&](TCustomDodi &, TMouseButton b, TShiftState s, int x, int y) {
        seen.push_back(b == mbLeft && s.Contains(ssLeft) && x == 60 && y == 4 ? "down" : "wrong");
        seen.push_back(ed.CaretCol() == 0 ? "before placing" : "after placing");
    };
    ed.MouseDown(mbLeft, TShiftState{ssLeft}, 60, 4);
    EXPECT_EQ(seen, (std::vector<std::string>{"down", "before placing"}));
}

TEST_F(Placement, RightButtonDoesNotMoveTheCaret)
{
    SetText({"abcdef"});
    const TPoint p = At(4, 0);
    ed.MouseDown(mbRight, TShiftState{ssRight}, p.x, p.y);
    EXPECT_EQ(Caret(), (TCaretPos{0, 0}));
}

using Selecting = MouseTest;

TEST_F(Selecting, DraggingSelectsFromThePressToThePointer)
{
    SetText({"first line", "second line"});
    Press(2, 0);
    EXPECT_TRUE(Mouse().SkipNextMouseMove);
    DragTo(3, 0); // the move right after a placement is skipped
    EXPECT_EQ(SelEndPos(), (TCaretPos{2, 0}));
    DragTo(4, 1);
    EXPECT_EQ(SelStartPos(), (TCaretPos{2, 0}));
    EXPECT_EQ(SelEndPos(), (TCaretPos{4, 1}));
    EXPECT_EQ(Caret(), (TCaretPos{4, 1}));
    EXPECT_EQ(ed.SelText(), "rst line\r\nseco");
    Release(4, 1);
    DragTo(6, 1); // no longer selecting after the release
    EXPECT_EQ(SelEndPos(), (TCaretPos{4, 1}));
}

TEST_F(Selecting, DraggingPastTheLineEndStopsAtTheEnd)
{
    SetText({"ab", "long line"});
    Press(5, 1);
    DragTo(5, 1);
    DragTo(9, 0);
    EXPECT_EQ(SelEndPos(), (TCaretPos{2, 0}));
}

TEST_F(Selecting, DraggingLeftOfTheTextGoesToColumnZero)
{
    SetText({"abcdef"});
    Press(4, 0);
    DragTo(4, 0);
    const TPoint p = At(0, 0);
    ed.MouseMove(TShiftState{ssLeft}, ed.TextArea().left - 20, p.y);
    EXPECT_EQ(Caret(), (TCaretPos{0, 0}));
    EXPECT_EQ(ed.SelText(), "abcd");
}

TEST_F(Selecting, DraggingAboveTheTextMovesUpALineOnceAFullRowAbove)
{
    std::vector<std::string> lines(60, "text");
    SetText(lines);
    ed.SetTopLine(5);
    ASSERT_EQ(ed.TopLine(), 5);
    Press(2, 5);
    DragTo(2, 5);
    const int top = ed.TextArea().top;
    ed.MouseMove(TShiftState{ssLeft}, At(2, 5).x, top - 3);
    EXPECT_EQ(ed.CaretLine(), 5);
    ed.MouseMove(TShiftState{ssLeft}, At(2, 5).x, top - ed.LineHeight() - 1);
    EXPECT_EQ(ed.CaretLine(), 4);
    EXPECT_EQ(ed.TopLine(), 4);
    EXPECT_EQ(ed.SelText(), "xt\r\nte");
}

TEST_F(Selecting, ShiftClickExtendsTheSelection)
{
    SetText({"one two three"});
    Click(4, 0);
    Click(9, 0, TShiftState{ssShift});
    EXPECT_EQ(SelStartPos(), (TCaretPos{4, 0}));
    EXPECT_EQ(SelEndPos(), (TCaretPos{9, 0}));
    EXPECT_EQ(ed.SelText(), "two t");
}

TEST_F(Selecting, PressAndReleaseInsideTheSelectionDropsItAtTheReleasePoint)
{
    SetText({"one two three"});
    ed.CaretState().SelStart = {4, 0};
    ed.CaretState().SelEnd = {9, 0};
    ed.SetCaretDirect(9, 0);
    Press(6, 0);
    EXPECT_TRUE(Mouse().DragPending);
    EXPECT_EQ(Caret(), (TCaretPos{9, 0}));
    EXPECT_EQ(ed.SelText(), "two t");
    Release(6, 0);
    EXPECT_FALSE(Mouse().DragPending);
    EXPECT_EQ(Caret(), (TCaretPos{6, 0}));
    EXPECT_EQ(ed.SelLength(), 0);
    EXPECT_EQ(ed.SelStart(), 6);
}

TEST_F(Selecting, MovingAfterAPressInsideTheSelectionStartsADrag)
{
    SetText({"one two three"});
    ed.CaretState().SelStart = {4, 0};
    ed.CaretState().SelEnd = {9, 0};
    int started = 0;
    ed.OnStartDrag = [&](TCustomDodi &) { ++started; };
    Press(6, 0);
    DragTo(7, 0);
    EXPECT_EQ(host.DragThreshold, 2);
    EXPECT_EQ(started, 1);
    Release(7, 0);
    EXPECT_EQ(ed.SelText(), "two t");
    ed.EndDrag(nullptr, 0, 0);
    EXPECT_FALSE(Mouse().Dragging);
}

using DoubleClicking = MouseTest;

TEST_F(DoubleClicking, SelectsTheWordAroundTheClickedCharacter)
{
    SetText({"say \"hello\" now"});
    int events = 0;
    ed.OnDblClick = [&](TCustomDodi &) { ++events; };
    DoubleClick(7, 0);
    EXPECT_EQ(ed.SelText(), "hello");
    EXPECT_EQ(Caret(), (TCaretPos{7, 0}));
    EXPECT_EQ(events, 1);
}

TEST_F(DoubleClicking, OnTheFirstLetterSelectsTheWholeWord)
{
    SetText({"alpha beta"});
    DoubleClick(6, 0);
    EXPECT_EQ(SelStartPos(), (TCaretPos{6, 0}));
    EXPECT_EQ(SelEndPos(), (TCaretPos{10, 0}));
}

TEST_F(DoubleClicking, WordsCountCodePoints)
{
    SetText({"é café x"});
    DoubleClick(3, 0);
    EXPECT_EQ(ed.SelText(), "café");
}

TEST_F(DoubleClicking, OnABlankOrPastTheEndSelectsNothing)
{
    SetText({"alpha beta"});
    DoubleClick(5, 0);
    EXPECT_EQ(ed.SelLength(), 0);
    DoubleClick(14, 0);
    EXPECT_EQ(ed.SelLength(), 0);
}

TEST_F(DoubleClicking, OnTrailingBlanksWithFoldingTrimsThemAndBringsTheCaretBack)
{
    SetText({"ab    ", "cd ef"});
    ed.CodeFolding()->SetEnabled(true);
    DoubleClick(4, 0);
    EXPECT_EQ(ed.Lines()->Get(0), "ab");
    EXPECT_EQ(Caret(), (TCaretPos{2, 0}));
    // A blank inside the text keeps the caret where it was clicked.
    DoubleClick(2, 1);
    EXPECT_EQ(Caret(), (TCaretPos{2, 1}));
    EXPECT_EQ(ed.Lines()->Get(1), "cd ef");
}

TEST_F(DoubleClicking, InTheGutterRaisesTheGutterEventOnly)
{
    SetText({"alpha", "beta"});
    int line = -1, events = 0;
    ed.OnGutterDblClick = [&](TCustomDodi &, int l) { line = l; };
    ed.OnDblClick = [&](TCustomDodi &) { ++events; };
    const TPoint p = At(0, 1);
    ed.DblClick(10, p.y);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(ed.SelLength(), 0);
}

using GutterClicks = MouseTest;

TEST_F(GutterClicks, LeftClickRaisesOnGutterClickWithTheLine)
{
    SetText({"a", "b", "c"});
    int clicked = -1;
    ed.OnGutterClick = [&](TCustomDodi &, int l) { clicked = l; };
    ed.MouseDown(mbLeft, TShiftState{ssLeft}, 10, At(0, 2).y);
    EXPECT_EQ(clicked, 2);
}

TEST_F(GutterClicks, LeftClickLeavesNoSelectionElsewhere)
{
    SetText({"alpha beta", "b", "c"});
    DoubleClick(7, 0);
    ASSERT_GT(ed.SelLength(), 0);
    ed.MouseDown(mbLeft, TShiftState{ssLeft}, 10, At(0, 2).y);
    ed.MouseUp(mbLeft, TShiftState{}, 10, At(0, 2).y);
    EXPECT_EQ(ed.SelLength(), 0);
    EXPECT_EQ(Caret(), (TCaretPos{0, 2}));
    ed.InsertText("x");
    EXPECT_EQ(ed.Lines()->Get(0), "alpha beta") << "typing lands at the clicked line";
}

TEST_F(GutterClicks, RightClickRaisesOnGutterRightClickBelowTheLastLineNot)
{
    SetText({"a", "b"});
    std::vector<int> lines;
    ed.OnGutterRightClick = [&](TCustomDodi &, int l) { lines.push_back(l); };
    ed.MouseDown(mbRight, TShiftState{ssRight}, 10, At(0, 1).y);
    ed.MouseDown(mbRight, TShiftState{ssRight}, 10, At(0, 4).y);
    EXPECT_EQ(lines, std::vector<int>{1});
}

using Urls = MouseTest;

TEST_F(Urls, ClickOnAnAddressOpensItThroughTheHost)
{
    SetText({"see http://example.org/x now"});
    Click(10, 0);
    EXPECT_EQ(host.OpenedUrls, std::vector<std::string>{"http://example.org/x"});
    Click(2, 0);
    EXPECT_EQ(host.OpenedUrls.size(), 1u);
}

TEST_F(Urls, OnURLClickReplacesOpening)
{
    SetText({"www.example.org"});
    std::string url;
    ed.OnURLClick = [&](TCustomDodi &, const std::string &u) { url = u; };
    Click(3, 0);
    EXPECT_EQ(url, "www.example.org");
    EXPECT_TRUE(host.OpenedUrls.empty());
}

TEST_F(Urls, NothingOpensWhenNotUrlAware)
{
    SetText({"http://example.org"});
    ed.SetUrlAware(false);
    Click(3, 0);
    EXPECT_TRUE(host.OpenedUrls.empty());
}

TEST_F(Urls, PointerIsTheHandOverAnAddressTheIBeamOverTextTheArrowElsewhere)
{
    SetText({"go http://example.org"});
    const TPoint url = At(5, 0), word = At(1, 0);
    ed.MouseMove({}, url.x, url.y);
    EXPECT_EQ(host.CursorShape, crHandPoint);
    ed.MouseMove({}, word.x, word.y);
    EXPECT_EQ(host.CursorShape, crIBeam);
    ed.MouseMove({}, 5, word.y);
    EXPECT_EQ(host.CursorShape, crArrow);
    ed.SetCursor(crArrow);
    ed.MouseMove({}, word.x, word.y);
    ed.MouseMove({}, url.x, url.y);
    ed.MouseMove({}, word.x, word.y);
    EXPECT_EQ(host.CursorShape, crArrow);
}

using DragAndDrop = MouseTest;

TEST_F(DragAndDrop, NothingIsAcceptedWithoutAnOnDragOverHandler)
{
    EXPECT_FALSE(ed.DragOver(&ed, 60, 5, dsDragMove));
    ed.OnDragOver = [](TCustomDodi &, void *, int, int, TDragState, bool &) {};
    EXPECT_TRUE(ed.DragOver(&ed, 60, 5, dsDragMove));
    ed.OnDragOver = [](TCustomDodi &, void *, int, int, TDragState, bool &accept) { accept = false; };
    EXPECT_FALSE(ed.DragOver(&ed, 60, 5, dsDragMove));
}

TEST_F(DragAndDrop, ReadOnlyEditorKeepsItsTextButReportsTheDrop)
{
    SetText({"hello world"});
    ed.CaretState().SelStart = {0, 0};
    ed.CaretState().SelEnd = {5, 0};
    ed.SetReadOnly(true);
    int drops = 0;
    ed.OnDragDrop = [&](TCustomDodi &, void *source, int, int) { drops += source == &ed; };
    const TPoint p = At(8, 0);
    ed.DragDrop(&ed, p.x, p.y, {});
    EXPECT_EQ(ed.Lines()->Get(0), "hello world");
    EXPECT_EQ(drops, 1);
}

class FileDrop : public MouseTest {
protected:
    std::string Write(const std::string &name, const std::string &content)
    {
        const std::filesystem::path path = std::filesystem::path(folder) / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string folder =
        (std::filesystem::temp_directory_path() / ("tarnwick_file_drop_" + std::to_string(::getpid()))).string();
};

TEST_F(FileDrop, EachDroppedFileReplacesTheTextSoTheLastRemains)
{
    SetText({"old"});
    const std::string a = Write("a.xml", "<a/>\r\n"), b = Write("b.xml", "<b>\r\n</b>\r\n");
    std::vector<std::string> seen;
    ed.OnFileDrop = [&](TCustomDodi &, const std::string &name, bool &) { seen.push_back(name); };
    ed.DropFiles({a, b});
    EXPECT_EQ(seen, (std::vector<std::string>{a, b}));
    EXPECT_EQ(ed.Lines()->Text(), "<b>\r\n</b>\r\n");
}

TEST_F(FileDrop, AHandlerRefusingTheDefaultKeepsTheText)
{
    SetText({"kept"});
    const std::string a = Write("a.xml", "<a/>");
    ed.OnFileDrop = [](TCustomDodi &, const std::string &, bool &defaultHandler) { defaultHandler = false; };
    ed.DropFiles({a});
    EXPECT_EQ(ed.Lines()->Text(), "kept\r\n");
}

TEST_F(FileDrop, AFolderOrAMissingFileIsReportedAndTheTextKept)
{
    SetText({"kept"});
    ed.DropFiles({folder});
    ed.DropFiles({folder + "/missing.xml"});
    EXPECT_EQ(ed.Lines()->Text(), "kept\r\n");
    ASSERT_EQ(host.Messages.size(), 2u);
    EXPECT_EQ(host.Messages[0].Kind, TMessageKind::Error);
    EXPECT_NE(host.Messages[1].Text.find("missing.xml"), std::string::npos);
}

} // namespace
