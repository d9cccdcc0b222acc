// Code folding in the control, with a styler that has region definitions: the
// regions a load finds, the rows a collapsed region leaves (its end line
// hidden too), painting the column, the ellipsis and the summary, the caret
// and the keys around collapsed regions, the mouse on the folding column, and
// collapsed text that stays in the text for everything that reads it.
#include "editor/highlight/styler.h"
#include "support/editing_fixture.h"
#include "support/paint_fixture.h"

namespace tarnwick::test {
namespace {

// A small Pascal-like language: { } comments, routines folding from their
// header to their own end.
class PascalStyler : public TCustomDodiStyler {
public:
    PascalStyler()
    {
        SetMultiCommentLeft("{");
        SetMultiCommentRight("}");
        SetLineComment("//");
    }
    TRegionDefinition &Routines()
    {
        TRegionDefinition &d = Regions().Add();
        d.SetIdentifier("procedure");
        d.SetRegionStart("begin");
        d.SetRegionEnd("end");
        return d;
    }
};

const std::vector<std::string> kProgram = {
    "program Shapes;",            // 0
    "procedure Draw; { paints }", // 1
    "begin",                      // 2
    "  if x then begin",          // 3
    "    y := 1;",                // 4
    "  end;",                     // 5
    "end;",                       // 6
    "x := 2;",                    // 7
    "procedure Fill;",            // 8
    "begin",                      // 9
    "end;",                       // 10
};

class CodeFolding : public EditingFixture {
protected:
    CodeFolding()
    {
        ed.CodeFolding()->SetEnabled(true);
        ed.SetSyntaxStyles(&styler);
    }
    void Load()
    {
        SetText(kProgram);
        Place(0, 0);
    }
    std::string Whole() const
    {
        std::string all;
        for (const std::string &line : kProgram)
            all += line + "\r\n";
        return all;
    }

    PascalStyler styler;
};

TEST_F(CodeFolding, WithoutDefinitionsNothingFoldsAndTheColumnStaysHidden)
{
    const int left = ed.TextArea().left;
    Load();
    EXPECT_EQ(ed.RegionCount(), 0);
    EXPECT_EQ(ed.TextArea().left, left);

    styler.Routines();
    Load();
    EXPECT_EQ(ed.RegionCount(), 2);
    EXPECT_EQ(ed.RegionEndOf(1), 6);
    EXPECT_EQ(ed.RegionEndOf(8), 10);
    EXPECT_EQ(ed.TextArea().left, left + 16);
    EXPECT_FALSE(ed.AddRegion(1, 4)) << "a line starts one region at most";
}

TEST_F(CodeFolding, ACollapsedRegionHidesItsEndLineAndTheCaretStepsOverIt)
{
    styler.Routines();
    Load();
    ed.SetExpanded(1, false);
    EXPECT_EQ(ed.VisibleIndexOf(7), 2);
    EXPECT_EQ(ed.LineOfVisibleIndex(2), 7);
    EXPECT_EQ(ed.VisibleIndexOf(6), 1) << "a hidden line maps to its region's row";

    Place(0, 1);
    Key(VK_DOWN);
    EXPECT_EQ(ed.CaretLine(), 7);
    Key(VK_UP);
    EXPECT_EQ(ed.CaretLine(), 1);

    // Backspace at the start of the line below opens the region and joins onto its end.
    Place(0, 7);
    Key(VK_BACK);
    EXPECT_TRUE(ed.IsExpanded(1));
    EXPECT_EQ(Line(6), "end;x := 2;");
}

TEST_F(CodeFolding, CollapsingAtTheCaretTakesTheInnermostOpenRegionAndTheCaretToItsFirstLine)
{
    styler.Routines();
    Load();
    Place(3, 4);
    ed.CollapseRegionAtCaret();
    EXPECT_FALSE(ed.IsExpanded(1));
    EXPECT_EQ(Caret(), (TCaretPos{3, 1}));
    ed.ExpandRegionAtCaret();
    EXPECT_TRUE(ed.IsExpanded(1));

    ed.CollapseAllRegions();
    EXPECT_EQ(ed.LineOfVisibleIndex(3), 8);
    EXPECT_EQ(ed.LineOfVisibleIndex(4), 11) << "past the end";
    ed.ExpandAllRegions();
    EXPECT_EQ(ed.LineOfVisibleIndex(4), 4);
}

TEST_F(CodeFolding, CollapsedTextStaysInTheTextAndAJumpIntoItOpensIt)
{
    styler.Routines();
    Load();
    ed.CollapseAllRegions();
    ed.SelectAll();
    EXPECT_EQ(ed.SelText() + "\r\n", Whole());
    EXPECT_EQ(ed.Lines()->Text(), Whole());

    // Find's hit in a collapsed region opens it, and only it.
    Place(0, 0);
    EXPECT_GE(ed.SearchText("y := 1", {frDown}), 0);
    EXPECT_EQ(Caret(), (TCaretPos{4, 4}));
    EXPECT_TRUE(ed.IsExpanded(1));
    EXPECT_FALSE(ed.IsExpanded(8));
    // So does a jump to a line.
    ed.SetCaretLine(9);
    EXPECT_TRUE(ed.IsExpanded(8));
}

TEST_F(CodeFolding, ASummaryLineTakesNoCharactersAndEnterOpensIt)
{
    styler.Routines().SetShowComments(true);
    Load();
    ed.SetExpanded(1, false);
    int definition = -1;
    std::string summary;
    ASSERT_TRUE(ed.RegionSummary(1, definition, summary));
    EXPECT_EQ(summary, "[Draw; { paints]");

    Place(4, 1);
    Char(U'x');
    Key(VK_BACK);
    Key(VK_DELETE);
    EXPECT_EQ(Line(1), kProgram[1]);
    EXPECT_FALSE(ed.IsExpanded(1));
    Place(26, 1);
    Enter();
    EXPECT_TRUE(ed.IsExpanded(1));
    EXPECT_EQ(Line(2), "");
}

TEST_F(CodeFolding, RegionsFollowInsertedLinesAndDeletedStartsAndEnds)
{
    styler.Routines();
    Load();
    Place(0, 4);
    Enter();
    EXPECT_EQ(ed.RegionEndOf(1), 7);
    EXPECT_EQ(ed.RegionEndOf(9), 11);

    // Deleting a region's end line takes the region with it; the other one stays.
    Place(0, 7);
    Ctrl('Y');
    EXPECT_FALSE(ed.IsRegionStart(1));
    EXPECT_EQ(ed.RegionEndOf(8), 10);
    // Deleting a start line likewise.
    Place(0, 8);
    Ctrl('Y');
    EXPECT_EQ(ed.RegionCount(), 0);
}

TEST_F(CodeFolding, CollapsedRegionsStayCollapsedUnderWordWrap)
{
    styler.Routines();
    Load();
    ed.SetExpanded(8, false);
    const int row = ed.VisibleIndexOf(10);
    ed.SetWordWrap(wwRightMargin);
    EXPECT_EQ(ed.RegionCount(), 2);
    EXPECT_FALSE(ed.IsExpanded(8));
    EXPECT_EQ(ed.VisibleIndexOf(10), row);
    ed.SetWordWrap(wwNone);
    EXPECT_EQ(ed.VisibleIndexOf(10), row);
}

// A finder that reads a change only when made to, as one over much text:
// one region over the whole text.
class LazyFinder : public TFoldRegionFinder {
public:
    void FindAll(const REdoDodiStrings &lines, TFoldRegions &regions) override
    {
        regions.SetRegions({{0, lines.Count() - 1}});
        pending_ = false;
    }
    void Update(const REdoDodiStrings &lines, TFoldRegions &regions, bool force) override
    {
        if (force)
            FindAll(lines, regions);
    }
    bool Pending() const override { return pending_; }
    void LinesChanged(REdoDodiStrings &, const TLinesChange &) override { pending_ = true; }

private:
    bool pending_ = true;
};

// A change too large to read while painting is read once the editor is idle.
TEST_F(CodeFolding, AChangeLeftByPaintingIsReadWhenIdle)
{
    ed.SetFoldRegionFinder(std::make_unique<LazyFinder>());
    Load();
    ed.UpdateFoldRegions(true);
    ASSERT_EQ(ed.RegionEndOf(0), static_cast<int>(kProgram.size()) - 1);
    ed.Lines()->Add("end.");
    ed.UpdateFoldRegions(false);
    EXPECT_EQ(ed.RegionEndOf(0), static_cast<int>(kProgram.size()) - 1) << "left for later";
    ASSERT_TRUE(host.FireTimer(TCustomDodi::kFoldTimerId));
    EXPECT_EQ(ed.RegionEndOf(0), static_cast<int>(kProgram.size()));
    EXPECT_FALSE(host.Timers[TCustomDodi::kFoldTimerId].Running);
}

class CodeFoldingPaint : public PaintTest {
protected:
    CodeFoldingPaint()
    {
        ed.SetBounds(0, 0, 400, 300);
        ed.CodeFolding()->SetEnabled(true);
        ed.SetSyntaxStyles(&styler);
        styler.Routines();
        std::string text;
        for (const std::string &line : kProgram)
            text += line + "\n";
        ed.Lines()->LoadFromString(text);
    }
    std::string Drawn()
    {
        Paint();
        return window.Last->Recording().AllText();
    }

    PascalStyler styler;
};

TEST_F(CodeFoldingPaint, ACollapsedRegionShowsItsFirstLineWithAnEllipsisOrItsSummary)
{
    ed.SetExpanded(1, false);
    const std::string drawn = Drawn();
    EXPECT_NE(drawn.find("{ paints }x := 2;"), std::string::npos) << drawn;
    EXPECT_EQ(drawn.find("if x"), std::string::npos);
    const auto boxes = window.Last->Recording().CallsOf("Rectangle");
    ASSERT_EQ(boxes.size(), 1u) << "one ellipsis box";
    EXPECT_EQ(boxes[0].Pen.Color, ed.CodeFolding()->LineColor());

    styler.Regions()[0].SetShowComments(true);
    const std::string summarised = Drawn();
    EXPECT_NE(summarised.find("[Draw; { paints]x := 2;"), std::string::npos) << summarised;
    EXPECT_TRUE(window.Last->Recording().CallsOf("Rectangle").empty());
}

TEST_F(CodeFoldingPaint, TheColumnShowsAButtonPerRegionAndAClickOnOneTogglesIt)
{
    ed.SetExpanded(8, false);
    Paint();
    const TRect fold = ed.FoldColumn();
    std::vector<CanvasCall> buttons;
    for (const CanvasCall &c : window.CallsOf("Rectangle"))
        if (c.Args[0] == fold.left + 2)
            buttons.push_back(c);
    ASSERT_EQ(buttons.size(), 2u);
    // The collapsed one has the plus's upright stroke.
    int uprights = 0;
    for (const CanvasCall &c : window.CallsOf("Line"))
        if (c.Args[0] == fold.left + 6 && c.Args[3] - c.Args[1] == 5)
            ++uprights;
    EXPECT_EQ(uprights, 1);

    const int y = ed.TextArea().top + 1 + ed.RowOfLine(1) * ed.LineHeight() + 3;
    ed.MouseDown(mbLeft, {ssLeft}, fold.left + 6, y);
    ed.MouseUp(mbLeft, {}, fold.left + 6, y);
    EXPECT_FALSE(ed.IsExpanded(1));
    EXPECT_EQ(ed.CaretLine(), 1);
}

} // namespace
} // namespace tarnwick::test
