// Auto-completion and parameter hints through the control: the list's
// entries and choice, its narrowing as the user types, the completion timer,
// the parameter hint with its bold current parameter, and hover hints.
#include "editor/control/completion.h"
#include "editor/control/parameter_hint.h"
#include "editor/highlight/styler.h"
#include "support/editing_fixture.h"

namespace tarnwick::test {
namespace {

using Texts = std::vector<std::string>;

class Completion : public EditingFixture {
protected:
    Completion()
    {
        styler.SetCompletionList({"var Count", "function Compute(a; b)", "Close", "procedure Add(x)"});
        AddElementStyle(styler.AllStyles(), "", stSymbol, clBlack, {}).SetSymbols(".(),;");
        THintParameter hints;
        hints.SetParameters({"F(x; y; z)", "Fill(a; b)", "Compute(first; second)"});
        styler.SetParameterHints(hints);
        TFont font;
        font.Name = "Courier New";
        ed.AutoCompletion()->SetFont(font);
        ed.SetSyntaxStyles(&styler);
        host.HasFocus = true;
    }

    FakePopup &List() { return *static_cast<FakePopup *>(ed.CompletionPopup()); }
    FakePopup &HintWindow() { return *static_cast<FakePopup *>(ed.HintWindow()); }
    Texts Shown()
    {
        Texts texts;
        for (const TCompletionItem &item : ed.Completion().ListItems())
            texts.push_back(item.Text);
        return texts;
    }
    void CtrlSpace() { Char(U' ', VK_SPACE, {ssCtrl}); }
    // A key pressed while the list has the focus; its character follows
    // unless the list swallowed the key.
    void ListKey(uint16_t vk, char32_t ch = 0, TShiftState shift = {})
    {
        uint16_t key = vk;
        List().OnKeyDown(key, shift);
        if (key != 0 && ch != 0 && List().OnKeyPress)
            List().OnKeyPress(ch);
    }

    TCustomDodiStyler styler;
};

TEST_F(Completion, CtrlSpaceOffersTheStylersEntriesForTheWordAtTheCaretAndTypesNoSpace)
{
    SetText({"x Co"});
    Place(4, 0);
    CtrlSpace();
    EXPECT_TRUE(List().Visible());
    EXPECT_EQ(Shown(), (Texts{"var Count", "function Compute(a; b)"}));
    EXPECT_EQ(List().Index, 0);
    EXPECT_EQ(Line(0), "x Co");
    const TPoint caret = host.ClientToScreen(ed.CaretCellOrigin());
    EXPECT_EQ(List().BoundsValue.left, caret.x);
    EXPECT_EQ(List().BoundsValue.top, caret.y + ed.LineHeight() + 2) << "under the caret's row";

    ListKey(VK_ESCAPE);
    EXPECT_FALSE(List().Visible());
    styler.SetCompletionList({});
    CtrlSpace();
    EXPECT_FALSE(List().Visible()) << "no entries, no list";
    EXPECT_EQ(Line(0), "x Co");
}

TEST_F(Completion, TheHostsListIsTheOneShown)
{
    SetText({""});
    ed.OnGetAutoCompletionList = [](TCustomDodi &, const std::string &, TCompletionItems &list) { list.clear(); };
    CtrlSpace();
    EXPECT_FALSE(List().Visible()) << "a host that empties the list prevents it";

    styler.SetCompletionList({});
    ed.OnGetAutoCompletionList = [](TCustomDodi &, const std::string &token, TCompletionItems &list) {
        list = {{"alpha", 0}, {"beta", 1}};
    };
    CtrlSpace();
    EXPECT_EQ(Shown(), (Texts{"alpha", "beta"})) << "the host's entries open the list without the styler's";
}

TEST_F(Completion, TypingInTheListNarrowsItAndBackspaceWidensIt)
{
    SetText({"C"});
    Place(1, 0);
    CtrlSpace();
    ASSERT_EQ(Shown().size(), 3u);
    ListKey('O', U'o');
    ListKey('U', U'u');
    EXPECT_EQ(Line(0), "Cou");
    EXPECT_EQ(Shown(), (Texts{"var Count"}));
    ListKey(VK_BACK);
    ListKey(VK_BACK);
    EXPECT_EQ(Line(0), "C");
    EXPECT_EQ(Shown().size(), 3u);
    ListKey(0xBC, U','); // a key the list does not take closes it, and is typed
    EXPECT_FALSE(List().Visible());
    EXPECT_EQ(Line(0), "C,");
}

TEST_F(Completion, ChoosingAnEntryReplacesTheWordAsOneUndoStep)
{
    SetText({"a Comp b"});
    Place(6, 0);
    CtrlSpace();
    ASSERT_EQ(Shown(), (Texts{"function Compute(a; b)"}));
    ListKey(VK_RETURN);
    EXPECT_EQ(Line(0), "a Compute() b");
    EXPECT_EQ(Caret(), (TCaretPos{10, 0})) << "between the parentheses";
    EXPECT_TRUE(HintWindow().Visible()) << "the parameter hint of the entry";
    EXPECT_FALSE(List().Visible());
    ed.Undo();
    EXPECT_EQ(Line(0), "a Comp b");

    Place(6, 0);
    CtrlSpace();
    List().OnMouseUp(mbLeft, {}, 0, 0);
    EXPECT_EQ(Line(0), "a Compute b") << "the mouse inserts the bare name";

    SetText({"Cou"});
    Place(3, 0);
    CtrlSpace();
    ListKey(VK_RETURN);
    EXPECT_EQ(Line(0), "Count") << "without the kind word";

    ed.OnInsertAutoCompletionEntry = [](TCustomDodi &, std::string &entry) { entry = "<" + entry + ">"; };
    SetText({"Cl"});
    Place(2, 0);
    CtrlSpace();
    ListKey(VK_RETURN);
    EXPECT_EQ(Line(0), "<Close>") << "a host's entry goes in as it is";
}

TEST_F(Completion, TheTimerOpensTheListAfterAStartCharacterAndAKeyStopsIt)
{
    SetText({""});
    Type(U"Co.");
    EXPECT_TRUE(host.Timers[TCustomDodi::kCompletionTimerId].Running);
    ed.OnGetAutoCompletionList = [](TCustomDodi &, const std::string &, TCompletionItems &list) {
        list = {{"Clear", 0}, {"Count", 0}};
    };
    ASSERT_TRUE(host.FireTimer(TCustomDodi::kCompletionTimerId));
    EXPECT_TRUE(List().Visible());
    EXPECT_TRUE(ed.Completion().MemberContext());
    EXPECT_EQ(ed.Completion().MemberStart(), (TCaretPos{3, 0}));
    ListKey('C', U'c');
    ListKey('L', U'l');
    EXPECT_EQ(Shown(), (Texts{"Clear"})) << "narrowed by the word after the dot";
    ListKey(VK_RETURN);
    EXPECT_EQ(Line(0), "Co.Clear");

    Type(U"(");
    EXPECT_TRUE(host.Timers[TCustomDodi::kCompletionTimerId].Running);
    Key(VK_LEFT);
    EXPECT_FALSE(host.Timers[TCustomDodi::kCompletionTimerId].Running);

    // A start character that ends words opens the list with nothing after it.
    ed.AutoCompletion()->SetStartChars("<");
    ed.AutoCompletion()->SetWordDelimiters("<>");
    SetText({"a "});
    Place(2, 0);
    Type(U"<");
    ASSERT_TRUE(host.FireTimer(TCustomDodi::kCompletionTimerId));
    EXPECT_TRUE(List().Visible());
}

TEST_F(Completion, TheListMeasuresItsItemsAndDrawsTheKindWordNameAndParameters)
{
    ed.AutoCompletion()->SetShowImages(true);
    SetText({""});
    ed.OnGetAutoCompletionList = [](TCustomDodi &, const std::string &, TCompletionItems &list) {
        list = {{"var Count", 1}, {"function Compute(a; b)", 5}};
    };
    CtrlSpace();
    const int w = RecordingCanvas::kCharWidth;
    EXPECT_EQ(ed.Completion().KindWordWidth(), 9 * w) << "\"function \"";
    EXPECT_EQ(ed.Completion().MeasuredWidth(), 9 * w + 13 * w + 20 + 17 + 8);
    EXPECT_EQ(List().BoundsValue.Width(), ed.Completion().MeasuredWidth());
    EXPECT_EQ(List().Height, 17);

    RecordingCanvas canvas;
    List().OnDrawItem(canvas, 1, {0, 0, 300, 17}, false);
    const auto texts = canvas.CallsOf("TextOut");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, "function ");
    EXPECT_EQ(texts[0].Font.Color, ed.AutoCompletion()->ColorFunc());
    EXPECT_EQ(texts[1].Text, "Compute");
    EXPECT_TRUE(texts[1].Font.Style.Contains(fsBold));
    EXPECT_EQ(texts[1].Args[0], 20 + 9 * w);
    EXPECT_EQ(texts[2].Text, "(a; b)");
    EXPECT_FALSE(texts[2].Font.Style.Contains(fsBold));
    EXPECT_EQ(canvas.CallsOf("DrawTransparent").size(), 1u) << "the kind's glyph";
}

class ParameterHints : public Completion {};

TEST_F(ParameterHints, TheParameterTheCaretIsInIsBold)
{
    SetText({"F(a, b"});
    Place(6, 0);
    Key(VK_SPACE, {ssCtrl, ssShift});
    ASSERT_TRUE(HintWindow().Visible());
    const TParameterHint &hint = ed.ParameterHint();
    EXPECT_EQ(hint.Part(0), "x;");
    EXPECT_EQ(hint.Part(1), " y;");
    EXPECT_EQ(hint.Part(2), " z");
    RecordingCanvas canvas;
    HintWindow().OnPaint(canvas, {0, 0, 100, 20});
    const auto texts = canvas.CallsOf("TextOut");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_FALSE(texts[0].Font.Style.Contains(fsBold));
    EXPECT_TRUE(texts[1].Font.Style.Contains(fsBold));
    EXPECT_EQ(texts[1].Text, " y;");
    EXPECT_TRUE(host.FireTimer(TCustomDodi::kHintTimerId));
    EXPECT_FALSE(HintWindow().Visible()) << "the hint timer hides it";
}

TEST_F(ParameterHints, WhenThereIsNoHint)
{
    ed.SetAutoHintParameters(hpManual);
    struct Case {
        const char *line;
        bool shown;
    };
    for (const Case &c : {Case{"F(a,      ", false}, Case{"F(a) ", false}, Case{"x Fi(", true}, Case{"(a", false}}) {
        SetText({c.line});
        Place(static_cast<int>(std::string(c.line).size()), 0);
        Key(VK_SPACE, {ssCtrl, ssShift});
        EXPECT_EQ(HintWindow().Visible(), c.shown) << c.line;
        if (c.shown)
            EXPECT_EQ(ed.ParameterHint().Part(1), "a;") << "the first entry that begins with the name";
    }
    ed.SetAutoHintParameters(hpNone);
    SetText({"F("});
    Place(2, 0);
    Key(VK_SPACE, {ssCtrl, ssShift});
    EXPECT_FALSE(HintWindow().Visible());
}

TEST_F(ParameterHints, AutomaticHintsFollowTheCaretAndLeaveWithItsLine)
{
    SetText({"F(a, b", "x"});
    Place(0, 0);
    Key(VK_END);
    ASSERT_TRUE(HintWindow().Visible());
    EXPECT_EQ(ed.ParameterHint().Part(1), " y;");
    Key(VK_LEFT);
    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_EQ(ed.ParameterHint().Part(1), "x;");
    Key(VK_DOWN);
    EXPECT_FALSE(HintWindow().Visible());
}

TEST_F(Completion, HoverHintsAskTheWordThenTheToken)
{
    SetText({"alpha.beta gamma"});
    ed.SetSyntaxStyles(nullptr);
    std::string hint;
    const int w = ed.CharWidth(), y = ed.TextArea().top + 1;
    const int x = ed.TextArea().left + 7 * w + 1; // in "beta"
    EXPECT_FALSE(ed.HintAt(x, y, hint));
    ed.OnHintForToken = [](TCustomDodi &, int, int, const std::string &value, std::string &h, bool &show) {
        h = "token " + value;
        show = true;
    };
    ASSERT_TRUE(ed.HintAt(x, y, hint));
    EXPECT_EQ(hint, "token beta");
    ed.OnHintForWord = [](TCustomDodi &, int X, int Y, const std::string &value, std::string &h, bool &show) {
        h = "word " + value + " at " + std::to_string(X) + "," + std::to_string(Y);
        show = value != "alpha.beta";
    };
    ASSERT_TRUE(ed.HintAt(x, y, hint));
    EXPECT_EQ(hint, "token beta") << "a word handler that declines leaves it to the token's";
    const int inGamma = ed.TextArea().left + 12 * w + 1;
    ASSERT_TRUE(ed.HintAt(inGamma, y, hint));
    EXPECT_EQ(hint, "word gamma at 12,0");
}

} // namespace
} // namespace tarnwick::test
