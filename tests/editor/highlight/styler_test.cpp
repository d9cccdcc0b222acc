// The styler model: construction defaults, stored-form loading, the keyword
// folding done when an editor attaches a styler, notifications and
// the delimiter test.
#include "editor/highlight/region_definition.h"
#include "editor/highlight/styler_client.h"
#include "editor/highlight/xml_styler.h"
#include "support/styler_client_double.h"

#include <gtest/gtest.h>

#include <memory>

namespace tarnwick {
namespace {

using FakeEditor = StylerClientDouble;

std::vector<std::string> Words(const TElementStyle &style) { return style.KeyWords().Items(); }

TEST(StylerDefaults, BaseStylerStartsWithSilverCommentsNavyNumbersAndNoStyles)
{
    TCustomDodiStyler styler;
    EXPECT_EQ(styler.CommentStyle(), TCharStyle(clSilver, clWhite, {fsItalic}));
    EXPECT_EQ(styler.NumberStyle(), TCharStyle(clNavy, clWhite, {fsBold}));
    EXPECT_EQ(styler.NumberCharacters(), "+-.0123456789");
    EXPECT_EQ(styler.HexPrefix(), "");
    EXPECT_EQ(styler.StringEscape(), "");
    EXPECT_EQ(styler.LineComment(), "");
    EXPECT_EQ(styler.AllStyles().Count(), 0);
    EXPECT_EQ(styler.Regions().Count(), 0);
    EXPECT_TRUE(styler.CompletionList().empty());
    EXPECT_EQ(styler.ParameterHints().BkColor(), clInfoBk);
    EXPECT_EQ(styler.ParameterHints().HintCharStart(), U'(');
}

TEST(StylerDefaults, XmlStylerHasItsDescriptionDelimitersAndFourElementStyles)
{
    TDodiXMLStyler styler;
    EXPECT_EQ(styler.Version(), "1.0");
    EXPECT_EQ(styler.Description(), "XML Files (XML)");
    EXPECT_EQ(styler.Filter(), "XML Files (*.xml)|*.xml");
    EXPECT_EQ(styler.DefaultExtension(), ".xml");
    EXPECT_EQ(styler.StylerName(), "XML Files");
    EXPECT_EQ(styler.Extensions(), "xml");
    EXPECT_EQ(styler.MultiCommentLeft(), "<!--");
    EXPECT_EQ(styler.MultiCommentRight(), "-->");
    EXPECT_EQ(styler.LineComment(), "//");
    EXPECT_EQ(styler.CommentStyle(), TCharStyle(clNavy, clWhite, {fsItalic}));
    EXPECT_EQ(styler.NumberStyle(), TCharStyle(clFuchsia, clWhite, {fsBold}));

    const TElementStyles &styles = styler.AllStyles();
    ASSERT_EQ(styles.Count(), 4);
    EXPECT_EQ(styles[0].Info(), "XML Default");
    EXPECT_EQ(styles[0].StyleType(), stKeyword);
    EXPECT_EQ(styles[0].Font().Color, clGreen);
    EXPECT_EQ(Words(styles[0]), (std::vector<std::string>{"val", "encoding", "xml version"}));
    EXPECT_EQ(styles[1].Info(), "Single quote");
    EXPECT_EQ(styles[1].StyleType(), stBracket);
    EXPECT_EQ(styles[1].Font().Color, clBlue);
    EXPECT_EQ(styles[1].BracketStart(), U'\'');
    EXPECT_EQ(styles[1].BracketEnd(), U'\'');
    EXPECT_EQ(styles[2].Info(), "Double Quote");
    EXPECT_EQ(styles[2].Font().Color, clBlack);
    EXPECT_EQ(styles[2].Font().Style, TFontStyles{fsBold});
    EXPECT_EQ(styles[2].BracketStart(), U'"');
    EXPECT_EQ(styles[3].Info(), "XML delimiters");
    EXPECT_EQ(styles[3].StyleType(), stSymbol);
    EXPECT_EQ(styles[3].Font().Color, clTeal);
    EXPECT_EQ(styles[3].Symbols(), " =<?/>#\r\n");
}

TEST(StylerDefaults, ElementStyleStartsInEightPointCourierOnWhiteOrTheLinkedEditorsBackground)
{
    TCustomDodiStyler styler;
    TElementStyle &unlinked = styler.AllStyles().Add();
    EXPECT_EQ(unlinked.Font().Name, "Courier New");
    EXPECT_EQ(unlinked.Font().Size(), 8);
    EXPECT_EQ(unlinked.Font().Color, clBlack);
    EXPECT_TRUE(unlinked.Font().Style.Empty());
    EXPECT_EQ(unlinked.BGColor(), clWhite);
    EXPECT_EQ(unlinked.StyleType(), stKeyword);
    EXPECT_EQ(unlinked.BracketStart(), 0u);
    EXPECT_EQ(unlinked.DisplayName(), "TElementStyle");

    FakeEditor editor;
    styler.AttachEditor(editor, false);
    EXPECT_EQ(styler.AllStyles().Add().BGColor(), editor.Background);
}

TEST(StylerLoading, FormThatRebuiltTheStylesKeepsThem)
{
    TDodiXMLStyler styler;
    styler.AllStyles().Clear(); // what reading a stored list does first
    AddElementStyle(styler.AllStyles(), "only", stSymbol, clRed, {});
    styler.Loaded();
    ASSERT_EQ(styler.AllStyles().Count(), 1);
    EXPECT_EQ(styler.AllStyles()[0].Info(), "only");
}

TEST(StylerLoading, FormWithoutStylesDropsTheConstructionDefaults)
{
    TDodiXMLStyler styler;
    EXPECT_FALSE(styler.AllStyles().ItemsReset());
    styler.Loaded();
    EXPECT_EQ(styler.AllStyles().Count(), 0);
}

TEST(StylerLoading, StylerNeverLoadedKeepsItsDefaultsAndLoadedTellsTheLinkedEditor)
{
    TDodiXMLStyler styler;
    EXPECT_EQ(styler.AllStyles().Count(), 4);
    FakeEditor editor;
    styler.AttachEditor(editor, false);
    editor.Changes = 0;
    styler.Loaded();
    EXPECT_GT(editor.Changes, 0);
}

TEST(KeywordFolding, AttachingLowerCasesAndSortsKeywordsWhenCaseInsensitive)
{
    TCustomDodiStyler styler;
    TElementStyle &keywords = AddElementStyle(styler.AllStyles(), "k", stKeyword, clRed, {});
    keywords.SetKeyWords({"Zeta", "ALPHA", "Ünïcode", "mid"});
    TElementStyle &symbols = AddElementStyle(styler.AllStyles(), "s", stSymbol, clRed, {});
    symbols.SetKeyWords({"Keep"});
    FakeEditor editor;
    styler.AttachEditor(editor, false);
    EXPECT_EQ(Words(keywords), (std::vector<std::string>{"alpha", "mid", "zeta", "ünïcode"}));
    EXPECT_TRUE(keywords.KeyWords().Sorted());
    EXPECT_TRUE(keywords.KeyWords().Contains("ZETA"));
    EXPECT_EQ(Words(symbols), (std::vector<std::string>{"Keep"}));
    EXPECT_EQ(styler.AllStyles().EditorLink(), &editor);
}

TEST(KeywordFolding, CaseSensitiveAttachKeepsTheCaseAndMatchesExactly)
{
    TCustomDodiStyler styler;
    TElementStyle &keywords = AddElementStyle(styler.AllStyles(), "k", stKeyword, clRed, {});
    keywords.SetKeyWords({"beta", "Alpha"});
    FakeEditor editor;
    styler.AttachEditor(editor, true);
    keywords.KeyWords().SetCaseSensitive(true);
    EXPECT_EQ(Words(keywords), (std::vector<std::string>{"Alpha", "beta"}));
    EXPECT_TRUE(keywords.KeyWords().Contains("Alpha"));
    EXPECT_FALSE(keywords.KeyWords().Contains("alpha"));
}

TEST(KeywordFolding, KeywordWithASpaceIsStoredLikeAnyOther)
{
    TDodiXMLStyler styler;
    FakeEditor editor;
    styler.AttachEditor(editor, false);
    EXPECT_TRUE(styler.AllStyles()[0].KeyWords().Contains("xml version"));
}

TEST(StylerNotifications, ElementStyleSettersTellTheLinkedEditorButInfoDoesNot)
{
    TDodiXMLStyler styler;
    FakeEditor editor;
    styler.AttachEditor(editor, false);
    TElementStyle &style = styler.AllStyles()[1];
    editor.Changes = 0;
    style.SetInfo("renamed");
    EXPECT_EQ(editor.Changes, 0);
    style.SetBracketStart(U'`');
    style.SetBGColor(clRed);
    style.SetSymbols("x");
    EXPECT_EQ(editor.Changes, 3);
    styler.SetMultiCommentLeft("(*");
    EXPECT_EQ(editor.Changes, 4);
}

TEST(StylerNotifications, DestroyingTheStylerTellsEveryAttachedEditorOnce)
{
    auto styler = std::make_unique<TDodiXMLStyler>();
    FakeEditor first, second, detached;
    styler->AttachEditor(first, false);
    styler->AttachEditor(second, false);
    styler->AttachEditor(detached, false);
    styler->DetachEditor(detached);
    const TCustomDodiStyler *address = styler.get();
    styler.reset();
    EXPECT_EQ(first.Destroyed, address);
    EXPECT_EQ(second.Destroyed, address);
    EXPECT_EQ(detached.Destroyed, nullptr);
}

TEST(StylerNotifications, DetachingTheLinkedEditorClearsTheLink)
{
    TDodiXMLStyler styler;
    FakeEditor editor;
    styler.AttachEditor(editor, false);
    styler.DetachEditor(editor);
    EXPECT_EQ(styler.AllStyles().EditorLink(), nullptr);
    EXPECT_EQ(styler.AllStyles().Add().BGColor(), clWhite);
}

TEST(ElementStyles, DestroyingAnItemMarksTheCollectionReset)
{
    TDodiXMLStyler styler;
    styler.AllStyles().Delete(0);
    EXPECT_TRUE(styler.AllStyles().ItemsReset());
    EXPECT_EQ(styler.AllStyles().Count(), 3);
    EXPECT_EQ(styler.AllStyles().Items(3), nullptr);
}

TEST(ElementStyles, AssignCopiesAllEightFields)
{
    TDodiXMLStyler source;
    TElementStyle &from = source.AllStyles()[0];
    from.SetBGColor(clAqua);
    from.SetBracketStart(U'«');
    from.SetBracketEnd(U'»');
    from.SetSymbols("§");
    TElementStyle to;
    to.Assign(from);
    EXPECT_EQ(to.KeyWords(), from.KeyWords());
    EXPECT_EQ(to.Font(), from.Font());
    EXPECT_EQ(to.BGColor(), clAqua);
    EXPECT_EQ(to.Info(), "XML Default");
    EXPECT_EQ(to.DisplayName(), "XML Default");
    EXPECT_EQ(to.StyleType(), stKeyword);
    EXPECT_EQ(to.BracketStart(), U'«');
    EXPECT_EQ(to.BracketEnd(), U'»');
    EXPECT_EQ(to.Symbols(), "§");
}

TEST(CharStyles, SetStyleReplacesCommentOrNumberAndIgnoresOtherIndexes)
{
    TCustomDodiStyler styler;
    styler.SetStyle(1, TCharStyle(clRed, clNone, {}));
    styler.SetStyle(2, TCharStyle(clLime, clBlack, {fsUnderline}));
    styler.SetStyle(3, TCharStyle(clYellow, clYellow, {}));
    EXPECT_EQ(styler.CommentStyle(), TCharStyle(clRed, clNone, {}));
    EXPECT_EQ(styler.NumberStyle(), TCharStyle(clLime, clBlack, {fsUnderline}));
}

TEST(StyleDelimiters, XmlStylerDelimitsOnSymbolsAndBracketCharacters)
{
    TDodiXMLStyler styler;
    for (char32_t c : std::u32string(U"=<?/># \r\n'\""))
        EXPECT_TRUE(styler.IsStyleDelimiter(c)) << static_cast<int>(c);
    for (char32_t c : std::u32string(U"a1-.;:é"))
        EXPECT_FALSE(styler.IsStyleDelimiter(c)) << static_cast<int>(c);
}

TEST(RegionDefinitions, WordsAreTrimmedAndAssignLeavesShowComments)
{
    TCustomDodiStyler styler;
    TRegionDefinition &region = styler.Regions().Add();
    region.SetIdentifier("  procedure\t");
    region.SetRegionStart(" begin ");
    region.SetRegionEnd("end ");
    region.SetRegionType(rtOpen);
    region.SetShowComments(true);
    EXPECT_EQ(region.Identifier(), "procedure");
    EXPECT_EQ(region.RegionStart(), "begin");
    EXPECT_EQ(region.RegionEnd(), "end");
    EXPECT_EQ(region.DisplayName(), "TRegionDefinition");

    TRegionDefinition copy;
    EXPECT_EQ(copy.RegionType(), rtClosed);
    copy.Assign(region);
    EXPECT_EQ(copy.RegionType(), rtOpen);
    EXPECT_EQ(copy.Identifier(), "procedure");
    EXPECT_FALSE(copy.ShowComments());
}

TEST(KeyWordLists, SortedListsFindWordsUnderTheirCaseRule)
{
    TKeyWordList list;
    list.Assign({"delta", "Alpha", "charlie", "bravo"});
    EXPECT_EQ(list.IndexOf("CHARLIE"), 2);
    list.SetSorted(true);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"Alpha", "bravo", "charlie", "delta"}));
    EXPECT_EQ(list.Add("Beta"), 1);
    EXPECT_EQ(list.IndexOf("ALPHA"), 0);
    EXPECT_EQ(list.IndexOf("echo"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("ALPHA"), -1);
    EXPECT_EQ(list.IndexOf("Beta"), 1);
    EXPECT_EQ(list.LongestLength(), 7);
    EXPECT_EQ(list.Get(99), "");
}

} // namespace
} // namespace tarnwick
