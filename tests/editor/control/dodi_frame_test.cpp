// The control frame: construction defaults of both classes, message answers,
// version texts, the font rule, border offsets, theme adaptation, setters
// that repaint, and the virtual operations.
#include "editor/base/win_constants.h"
#include "editor/control/redodi.h"
#include "support/fake_host.h"

#include <gtest/gtest.h>

using namespace tarnwick;
using tarnwick::test::FakeHost;

TEST(DodiDefaults, BaseControlConstructionValues)
{
    TCustomDodi ed;
    EXPECT_EQ(ed.Width(), 100);
    EXPECT_EQ(ed.Height(), 40);
    EXPECT_FALSE(ed.DelErase());
    EXPECT_EQ(ed.Font().Name, "Courier New");
    EXPECT_EQ(ed.Font().Size(), 10);
    EXPECT_TRUE(ed.BlockShow());
    EXPECT_TRUE(ed.WantTab());
    EXPECT_EQ(ed.BlockLineColor(), clNone);
    EXPECT_EQ(ed.BlockColor(), 0xFFFF00u);
    EXPECT_EQ(ed.BorderColor(), 0x808080u);
    EXPECT_EQ(ed.AutoHintParameterDelay(), 2500);
    EXPECT_EQ(ed.ViewState().TopStateLine, -1);
    EXPECT_EQ(ed.RightMargin(), 80);
    EXPECT_EQ(ed.RightMarginColor(), 0xE2E2E2u);
    EXPECT_TRUE(ed.UrlAware());
    EXPECT_EQ(ed.UrlStyle(), TCharStyle(0xFF0000, 0xFFFFFF, TFontStyles{fsUnderline}));
    EXPECT_EQ(ed.Flags().WordSeparators, " \"',");
    EXPECT_TRUE(ed.Flags().ChangeHandling);
    EXPECT_FALSE(ed.TrimTrailingSpaces());
    EXPECT_TRUE(ed.ShowRightMargin());
    EXPECT_TRUE(ed.UseStyler());
    EXPECT_FALSE(ed.SmartTabs());
    EXPECT_FALSE(ed.EnhancedHomeKey());
    EXPECT_TRUE(ed.TabStop());
    EXPECT_EQ(ed.Cursor(), crIBeam);
    EXPECT_EQ(ed.BorderStyle(), bsSingle);
    EXPECT_FALSE(ed.Ctl3D());
    EXPECT_EQ(ed.ViewState().ActiveLine, -1);
    EXPECT_EQ(ed.BreakpointColor(), 0x0000FFu);
    EXPECT_EQ(ed.BreakpointTextColor(), 0xFFFFFFu);
    EXPECT_FALSE(ed.CaseSensitive());
    EXPECT_EQ(ed.TabSize(), 4);
    EXPECT_TRUE(ed.AutoIndent());
    EXPECT_TRUE(ed.AutoExpand());
    EXPECT_TRUE(ed.HideSelection());
    EXPECT_EQ(ed.ScrollBars(), ssBoth);
    EXPECT_EQ(ed.BkColor(), 0xFFFFFFu);
    EXPECT_EQ(ed.SelColor(), 0xFFFFFFu);
    EXPECT_EQ(ed.SelBkColor(), 0x800000u);
    EXPECT_EQ(ed.ScrollMode(), smAuto);
    EXPECT_EQ(ed.UndoLimit(), 100);
    EXPECT_EQ(ed.AutoHintParameters(), hpAuto);
    EXPECT_EQ(ed.AutoHintParameterPosition(), hpBelowCode);
    EXPECT_EQ(ed.WordWrap(), wwNone);
    EXPECT_FALSE(ed.AcceptFiles());
    EXPECT_FALSE(ed.AutoThemeAdapt());
    EXPECT_FALSE(ed.ReadOnly());
    EXPECT_FALSE(ed.ScrollHint());
}

TEST(DodiDefaults, SharedStateStartsAtZero)
{
    TCustomDodi ed;
    const TIntList &bookmarks = ed.Bookmarks().Slots;
    const TCaretState &caret = ed.CaretState();
    const TViewState &view = ed.ViewState();
    EXPECT_EQ(caret.CaretCol, 0);
    EXPECT_EQ(caret.CaretLine, 0);
    EXPECT_TRUE(caret.SelectionEmpty());
    EXPECT_EQ(view.TopLine, 0);
    EXPECT_EQ(view.LeftColumn, 0);
    EXPECT_EQ(view.MaxLineLength, 0);
    EXPECT_FALSE(caret.Overwrite);
    EXPECT_EQ(view.FoldRegionCount, 0);
    ASSERT_EQ(bookmarks.Count(), 10);
    for (int b : bookmarks)
        EXPECT_EQ(b, -1);
    EXPECT_EQ(view.BlockStart.Line, -1);
    EXPECT_EQ(view.BlockEnd.Line, -1);
}

TEST(DodiDefaults, LineStoreStartsWithOneEmptyLineOwnedByTheEditor)
{
    TCustomDodi ed;
    ASSERT_EQ(ed.Lines()->Count(), 1);
    EXPECT_EQ((*ed.Lines())[0], "");
    EXPECT_EQ(ed.Lines()->OwnerMemo(), &ed);
    EXPECT_TRUE(static_cast<bool>(ed.Lines()->OnChange));
}

TEST(DodiDefaults, SettingsObjects)
{
    TCustomDodi ed;
    EXPECT_FALSE(ed.CodeFolding()->Enabled());
    EXPECT_EQ(ed.CodeFolding()->LineColor(), 0x808080u);
    EXPECT_TRUE(ed.AutoCorrect()->Active);
    EXPECT_TRUE(ed.AutoCompletion()->Active());
    EXPECT_EQ(ed.AutoCompletion()->Delay(), 500);
    EXPECT_EQ(ed.AutoCompletion()->Color(), clWindow);
    EXPECT_EQ(*ed.PrintOptions(), TPrintOptions{});
    EXPECT_EQ(ed.Gutter()->GutterWidth(), 45);
    EXPECT_EQ(ed.Gutter()->GutterColor(), clBtnFace);
    EXPECT_EQ(ed.Gutter()->GutterColorTo(), 0xFFFFFFu);
    EXPECT_EQ(ed.Gutter()->Rect().left, 1);
    EXPECT_EQ(ed.Gutter()->Rect().top, 1);
    EXPECT_FALSE(ed.ActiveLineSettings()->ShowActiveLine());
    EXPECT_EQ(ed.ActiveLineSettings()->ActiveLineColor(), 0x800000u);
    EXPECT_EQ(ed.ActiveLineSettings()->ActiveLineTextColor(), 0x00FFFFu);
    EXPECT_EQ(ed.MarkerList()->DefaultMarkerImageIndex(), -1);
    EXPECT_FALSE(ed.MarkerList()->UseDefaultMarkerImageIndex());
    EXPECT_FALSE(ed.VertScrollBar().Visible());
    EXPECT_FALSE(ed.HorzScrollBar().Visible());
    EXPECT_EQ(ed.VertScrollBar().Extent(), 16);
    EXPECT_EQ(ed.VertScrollBar().SmallChange(), 1);
    EXPECT_EQ(ed.HintTimer().Interval(), 2500);
    EXPECT_FALSE(ed.HintTimer().Enabled());
    EXPECT_EQ(ed.CompletionTimer().Interval(), 500);
    EXPECT_FALSE(ed.CompletionTimer().Enabled());
}

TEST(DodiDefaults, PublishedControlOverridesItsBase)
{
    REdoDodi ed;
    EXPECT_EQ(ed.BoundsRect(), (TRect{0, 0, 250, 350}));
    EXPECT_TRUE(ed.DelErase());
    EXPECT_FALSE(ed.ReadOnly());
    EXPECT_FALSE(ed.HiddenCaret());
    EXPECT_FALSE(ed.CaseSensitive());
    EXPECT_EQ(ed.Font().Name, "COURIER NEW");
    EXPECT_EQ(ed.Font().Height, -13);
    EXPECT_EQ(ed.Font().Charset, 1);
    EXPECT_EQ(ed.Font().Color, clBlack);
    EXPECT_TRUE(ed.Font().Style.Empty());
    EXPECT_TRUE(ed.DoubleBuffered());
}

TEST(DodiDefaults, PublishedControlInstallsDefaultHandlers)
{
    FakeHost host;
    REdoDodi ed(&host);
    ed.Lines()->SetText("a\r\nb\r\nc");
    ASSERT_TRUE(static_cast<bool>(ed.OnGutterClick));
    ed.DoGutterClick(2);
    EXPECT_EQ(ed.CaretLine(), 2);
    const int before = host.InvalidateCount;
    ed.DoChange();
    EXPECT_GT(host.InvalidateCount, before);
    EXPECT_TRUE(static_cast<bool>(ed.OnGutterDraw));
}

TEST(DodiMessages, DialogCodeFollowsWantTab)
{
    REdoDodi ed;
    EXPECT_EQ(ed.DialogCode(), 0x83u);
    ed.SetWantTab(false);
    EXPECT_EQ(ed.DialogCode(), 0x81u);
}

TEST(DodiMessages, GetSelCountsEachEarlierLineWithItsBreak)
{
    REdoDodi ed;
    ed.Lines()->SetText("ab\r\ncd");
    ed.SetCaretLine(1);
    ed.SetCaretCol(2);
    ed.CollapseSelection();
    int start = -1, end = -1;
    EXPECT_EQ(ed.EditMessage(EM_GETSEL, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end)), 0);
    EXPECT_EQ(start, 6);
    EXPECT_EQ(end, 6);
    ed.SelectAll();
    ed.GetSel(&start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 6);
    ed.GetSel(nullptr, nullptr);
}

TEST(DodiMessages, OtherEditMessagesAnswerZero)
{
    REdoDodi ed;
    ed.Lines()->SetText("abc\r\ndef");
    EXPECT_EQ(ed.EditMessage(EM_LINEINDEX, 1, 0), 0);
    EXPECT_EQ(ed.EditMessage(EM_LINEFROMCHAR, 5, 0), 0);
    EXPECT_EQ(ed.EditMessage(EM_SCROLLCARET, 0, 0), 0);
    EXPECT_EQ(ed.Lines()->Text(), "abc\r\ndef\r\n");
}

TEST(DodiMessages, AltBackspaceIsSwallowedAndEnterWanted)
{
    REdoDodi ed;
    EXPECT_TRUE(ed.SysChar(VK_BACK, TShiftState{ssAlt}));
    EXPECT_FALSE(ed.SysChar('F', TShiftState{ssAlt}));
    EXPECT_TRUE(ed.WantsSpecialKey(VK_RETURN));
    EXPECT_FALSE(ed.WantsSpecialKey(VK_ESCAPE));
    EXPECT_TRUE(ed.EraseBackground());
}

TEST(DodiMessages, CursorIsTheControlsOverTextAndArrowElsewhere)
{
    FakeHost host;
    REdoDodi ed(&host);
    ed.SetCursorRequest(100, 20);
    EXPECT_EQ(host.CursorShape, crIBeam);
    ed.SetCursorRequest(10, 20);
    EXPECT_EQ(host.CursorShape, crArrow);
}

TEST(DodiMessages, FocusCreatesAndDestroysTheCaret)
{
    FakeHost host;
    REdoDodi ed(&host);
    host.BlinkTime = 400;
    ed.FocusGained();
    EXPECT_TRUE(host.CaretExists);
    EXPECT_EQ(host.CaretSize, (TSize{2, ed.LineHeight() - 2}));
    EXPECT_TRUE(host.CaretVisible);
    EXPECT_TRUE(ed.Flags().BlinkTimeSaved);
    EXPECT_EQ(ed.Flags().SavedBlinkTime, 400);
    ed.FocusLost(false);
    EXPECT_FALSE(host.CaretExists);
    EXPECT_FALSE(ed.Flags().CaretShown);
    EXPECT_TRUE(ed.HintTimer().Enabled());
}

TEST(DodiMessages, FocusToOwnScrollBarKeepsCaret)
{
    FakeHost host;
    REdoDodi ed(&host);
    ed.FocusGained();
    ed.FocusLost(true);
    EXPECT_TRUE(host.CaretExists);
}

TEST(DodiMessages, HiddenCaretIsNeverShown)
{
    FakeHost host;
    REdoDodi ed(&host);
    ed.SetHiddenCaret(true);
    ed.FocusGained();
    EXPECT_TRUE(host.CaretExists);
    EXPECT_FALSE(host.CaretVisible);
    ed.SetHiddenCaret(false);
    EXPECT_TRUE(host.CaretVisible);
}

TEST(DodiMessages, ClipboardMessagesRunTheClipboardOperations)
{
    FakeHost host;
    REdoDodi ed(&host);
    ed.Lines()->SetText("copy me");
    ed.SelectAll();
    ed.CopyMessage();
    EXPECT_EQ(host.Clipboard, "copy me");
}

TEST(DodiVersion, TextsAndNumber)
{
    REdoDodi ed;
    EXPECT_EQ(ed.Version(), "2.1.6.1");
    EXPECT_EQ(ed.VersionText(), "2.1.6.1 Aug, 2008");
    EXPECT_EQ(ed.VersionNumber(), 0x02010601u);
    ed.SetVersion("9.9");
    EXPECT_EQ(ed.Version(), "2.1.6.1");
}

TEST(DodiFont, ProportionalFontBecomesFixedSys)
{
    FakeHost host;
    REdoDodi ed(&host);
    TFont f;
    f.Name = "Tahoma";
    f.Height = -11;
    f.Style = TFontStyles{fsBold};
    ed.SetFont(f);
    EXPECT_EQ(ed.Font().Name, "FixedSys");
    EXPECT_EQ(ed.Font().Height, -11);
    EXPECT_TRUE(ed.Font().Style.Contains(fsBold));
}

TEST(DodiFont, FixedFontIsKeptAndMeasured)
{
    FakeHost host;
    REdoDodi ed(&host);
    TFont f;
    f.Name = "Courier New";
    ed.SetFont(f);
    EXPECT_EQ(ed.Font().Name, "Courier New");
    EXPECT_EQ(ed.CharWidth(), 8);
    EXPECT_EQ(ed.LineHeight(), 17);
}

TEST(DodiFont, WithoutHostGeometryStaysUnmeasured)
{
    REdoDodi ed;
    EXPECT_EQ(ed.CharWidth(), 0);
    EXPECT_EQ(ed.LineHeight(), 0);
    ed.FocusGained();
    EXPECT_EQ(ed.LineHeight(), 0);
}

TEST(DodiFont, ShownCaretIsRecreatedWithTheNewHeight)
{
    FakeHost host;
    REdoDodi ed(&host);
    ed.FocusGained();
    const int creates = host.CaretCreates;
    ed.SetFont(ed.Font());
    EXPECT_EQ(host.CaretCreates, creates + 1);
    EXPECT_TRUE(host.CaretVisible);
}

TEST(DodiBorder, OffsetsFollowBorderStyleAndCtl3D)
{
    REdoDodi ed;
    ed.SetCtl3D(true);
    EXPECT_EQ(ed.Gutter()->Rect().left, 2);
    EXPECT_EQ(ed.Gutter()->Rect().top, 2);
    EXPECT_EQ(ed.Gutter()->Rect().Width(), 45);
    ed.SetCtl3D(false);
    EXPECT_EQ(ed.Gutter()->Rect().left, 1);
    ed.SetBorderStyle(bsNone);
    EXPECT_EQ(ed.Gutter()->Rect().left, 0);
    EXPECT_EQ(ed.Gutter()->Rect().top, 0);
    EXPECT_EQ(ed.Gutter()->Rect().right, 47);
}

TEST(DodiTheme, WithoutThemeLibraryGutterTakesNoThemeColours)
{
    REdoDodi ed;
    ed.SetAutoThemeAdapt(true);
    EXPECT_EQ(ed.Gutter()->GutterColor(), 0xFFFFFFu);
    EXPECT_EQ(ed.Gutter()->GutterColorTo(), clBtnFace);
    ed.Gutter()->SetGutterColor(0x123456);
    ed.ThemeChanged();
    EXPECT_EQ(ed.Gutter()->GutterColor(), 0xFFFFFFu);
}

TEST(DodiTheme, ThemeChangeIgnoredWithoutAutoThemeAdapt)
{
    REdoDodi ed;
    ed.ThemeChanged();
    EXPECT_EQ(ed.Gutter()->GutterColor(), clBtnFace);
}

TEST(DodiSetters, ColourSetterRepaintsOnlyOnChange)
{
    FakeHost host;
    REdoDodi ed(&host);
    int before = host.InvalidateCount;
    ed.SetBkColor(clWhite);
    ed.SetSelColor(clWhite);
    ed.SetSelBkColor(clNavy);
    EXPECT_EQ(host.InvalidateCount, before);
    ed.SetBkColor(0x123456);
    EXPECT_EQ(host.InvalidateCount, before + 1);
    before = host.InvalidateCount;
    ed.SetBreakpointColor(ed.BreakpointColor());
    EXPECT_EQ(host.InvalidateCount, before + 1);
}

TEST(DodiSetters, UndoLimitIsClampedAndHintDelayKeepsTimerForNonPositive)
{
    REdoDodi ed;
    ed.SetUndoLimit(0);
    EXPECT_EQ(ed.UndoLimit(), 1);
    ed.SetUndoLimit(500);
    EXPECT_EQ(ed.UndoLimit(), 100);
    ed.SetAutoHintParameterDelay(-5);
    EXPECT_EQ(ed.AutoHintParameterDelay(), -5);
    EXPECT_EQ(ed.HintTimer().Interval(), 2500);
    ed.SetAutoHintParameterDelay(1000);
    EXPECT_EQ(ed.HintTimer().Interval(), 1000);
}

TEST(DodiSetters, GutterSettingsRepaintOnlyTheGutter)
{
    FakeHost host;
    REdoDodi ed(&host);
    const int before = host.InvalidateCount;
    ed.Gutter()->SetDigitCount(6);
    EXPECT_EQ(host.InvalidateCount, before);
    ASSERT_FALSE(host.InvalidatedRects.empty());
    EXPECT_EQ(host.InvalidatedRects.back().left, ed.Gutter()->Rect().left);
    ed.Gutter()->SetGutterMargin(10);
    EXPECT_EQ(ed.Gutter()->GutterMargin(), 45);
    ed.Gutter()->SetLineNumberStart(-1);
    EXPECT_EQ(ed.Gutter()->LineNumberStart(), 1);
}

TEST(DodiSetters, AcceptFilesRegistersWithTheHost)
{
    FakeHost host;
    REdoDodi ed(&host);
    ed.SetAcceptFiles(true);
    EXPECT_TRUE(host.AcceptsFiles);
    ed.SetAcceptFiles(false);
    EXPECT_FALSE(host.AcceptsFiles);
}

TEST(DodiSetters, CompletionSettingsReachTheListAtOnce)
{
    FakeHost host;
    REdoDodi ed(&host);
    ASSERT_NE(ed.CompletionPopup(), nullptr);
    ed.AutoCompletion()->SetColor(0x00AA00);
    auto *list = static_cast<test::FakePopup *>(ed.CompletionPopup());
    EXPECT_EQ(list->Color, 0x00AA00u);
    ed.AutoCompletion()->SetDelay(750);
    EXPECT_EQ(ed.CompletionTimer().Interval(), 750);
}

TEST(DodiSetters, SettingsObjectsAreCopiedIn)
{
    REdoDodi ed;
    TPrintOptions opts;
    opts.Title = "T";
    opts.MarginLeft = 5;
    ed.SetPrintOptions(opts);
    EXPECT_EQ(ed.PrintOptions()->Title, "T");
    opts.Title = "changed later";
    EXPECT_EQ(ed.PrintOptions()->Title, "T");
    TCharStyle url(clRed, clBlack, TFontStyles{});
    ed.SetUrlStyle(url);
    EXPECT_EQ(ed.UrlStyle(), url);
}

TEST(DodiSetters, LinesSetterTrimsTrailingSpacesWhenAsked)
{
    REdoDodi ed;
    ed.SetTrimTrailingSpaces(true);
    int selectionChanges = 0;
    ed.OnSelectionChange = [&](TCustomDodi &) { ++selectionChanges; };
    ed.SetLines(std::vector<std::string>{"a  ", "  b", "   "});
    EXPECT_EQ(ed.Lines()->ToVector(), (std::vector<std::string>{"a", "  b", ""}));
    EXPECT_EQ(selectionChanges, 1);
}

TEST(DodiVirtuals, DelimitersOfTheBaseControl)
{
    TCustomDodi ed;
    for (char32_t c : {U' ', U'"', U'\''})
        EXPECT_TRUE(ed.IsDelimiter(c));
    EXPECT_FALSE(ed.IsDelimiter(U','));
    EXPECT_FALSE(ed.IsDelimiter(U'<'));
    const std::u32string tokenDelims = U" \"(),.:;=[]'";
    for (char32_t c = 0; c < 256; ++c)
        EXPECT_EQ(ed.IsTokenDelimiter(c), tokenDelims.find(c) != std::u32string::npos) << int(c);
}

TEST(DodiVirtuals, UrlPrefixesAreMatchedCaseInsensitively)
{
    REdoDodi ed;
    EXPECT_TRUE(ed.IsUrl("http://x"));
    EXPECT_TRUE(ed.IsUrl("HTTPS://X"));
    EXPECT_TRUE(ed.IsUrl("Mailto:me"));
    EXPECT_TRUE(ed.IsUrl("www.example.org"));
    EXPECT_TRUE(ed.IsUrl("ftp://a"));
    EXPECT_TRUE(ed.IsUrl("nntp://a"));
    EXPECT_FALSE(ed.IsUrl("file://a"));
    EXPECT_FALSE(ed.IsUrl("xhttp://"));
    EXPECT_FALSE(ed.IsUrl(""));
}

TEST(DodiVirtuals, EventsAreRaisedOnlyWhenAssigned)
{
    REdoDodi ed;
    ed.OnChange = nullptr;
    ed.DoChange();
    ed.DoSelectionChange();
    ed.DoStatusChange();
    ed.BlockMatch();
    TCompletionItems items;
    ed.DoGetAutoCompletionList("x", items);
    EXPECT_TRUE(items.empty());
    ed.OnGetAutoCompletionList = [](TCustomDodi &, const std::string &token, TCompletionItems &list) {
        list.push_back({token + "1", 0});
    };
    ed.DoGetAutoCompletionList("x", items);
    EXPECT_EQ(items, (TCompletionItems{{"x1", 0}}));
    EXPECT_TRUE(ed.CanModify());
}

TEST(DodiHost, WorksWithoutHostAndAttachesLater)
{
    REdoDodi ed;
    ed.Lines()->SetText("text");
    ed.Invalidate();
    ed.CopyToClipboard();
    EXPECT_EQ(ed.CompletionPopup(), nullptr);
    FakeHost host;
    ed.SetHost(&host);
    EXPECT_NE(ed.CompletionPopup(), nullptr);
    EXPECT_NE(ed.HintWindow(), nullptr);
    EXPECT_NE(ed.ScrollHintWindow(), nullptr);
    EXPECT_EQ(ed.CharWidth(), 8);
}

TEST(DodiHost, HintTimerRunsThroughTheHost)
{
    FakeHost host;
    REdoDodi ed(&host);
    int fired = 0;
    ed.HintTimer().OnTimer = [&] { ++fired; };
    ed.HintTimer().Start();
    EXPECT_EQ(host.Timers[TCustomDodi::kHintTimerId].Interval, 2500);
    EXPECT_TRUE(host.FireTimer(TCustomDodi::kHintTimerId));
    EXPECT_EQ(fired, 1);
    ed.HintTimer().Stop();
    EXPECT_FALSE(host.FireTimer(TCustomDodi::kHintTimerId));
}

TEST(DodiHost, DestructionStopsTimers)
{
    FakeHost host;
    {
        REdoDodi ed(&host);
        ed.CompletionTimer().Start();
    }
    EXPECT_FALSE(host.Timers[TCustomDodi::kCompletionTimerId].Running);
}
