// Regions from a styler's region definitions, on the styler and a bare line
// store: announced regions with nested begin/end pairs, the open kind, the
// ignored kind that keeps its words from closing what holds it, words in
// comments, and the summary a collapsed first line shows.
#include "editor/document/line_store.h"
#include "editor/highlight/region_scan.h"
#include "editor/highlight/styler.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using Regions = std::vector<std::pair<int, int>>;

// A small Pascal-like language: { } and // comments.
class PascalStyler : public TCustomDodiStyler {
public:
    PascalStyler()
    {
        SetMultiCommentLeft("{");
        SetMultiCommentRight("}");
        SetLineComment("//");
        TElementStyle &symbols = AllStyles().Add();
        symbols.SetStyleType(stSymbol);
        symbols.SetSymbols(" ();=");
    }
    TRegionDefinition &Define(const char *identifier, const char *start, const char *end, TRegionType type)
    {
        TRegionDefinition &d = Regions().Add();
        d.SetIdentifier(identifier);
        d.SetRegionStart(start);
        d.SetRegionEnd(end);
        d.SetRegionType(type);
        return d;
    }
};

Regions Find(const TCustomDodiStyler &styler, const std::vector<std::string> &text)
{
    REdoDodiStrings lines;
    lines.AddStrings(text);
    return FindDefinedRegions(styler, lines);
}

const std::vector<std::string> kRoutine = {
    "procedure Draw(x: Integer); { paints }", // 0
    "var i: Integer;",                        // 1
    "begin",                                  // 2
    "  if x > 0 then begin",                  // 3
    "    asm",                                // 4
    "      mov ax, 1",                        // 5
    "    end;",                               // 6
    "  end; // begin end",                    // 7
    "  { begin",                              // 8
    "    end }",                              // 9
    "end;",                                   // 10
    "x := 1;",                                // 11
};

TEST(RegionScan, AnAnnouncedRegionRunsFromItsHeaderToItsOwnEnd)
{
    PascalStyler styler;
    EXPECT_TRUE(Find(styler, kRoutine).empty()) << "no definitions, no regions";

    styler.Define(" procedure ", "begin", " end", rtClosed);
    // Without a definition for asm its end closes what began before it.
    EXPECT_EQ(Find(styler, kRoutine), (Regions{{0, 7}}));

    // An ignored kind is matched, so its end no longer closes the routine,
    // and gets no region of its own.
    styler.Define("asm", "asm", "end", rtIgnore);
    EXPECT_EQ(Find(styler, kRoutine), (Regions{{0, 10}}));
}

TEST(RegionScan, OpenRegionsRunToTheNextOneOrTheEndOfTheText)
{
    PascalStyler styler;
    styler.Define("interface", "", "", rtOpen);
    styler.Define("implementation", "", "", rtOpen);
    styler.Define("unit", "", "", rtFile);
    std::vector<std::string> text(14, "x := 1;");
    text[1] = "unit Shapes;";
    text[3] = "interface";
    text[10] = "implementation";
    EXPECT_EQ(Find(styler, text), (Regions{{3, 9}, {10, 13}, {1, 13}}));
}

TEST(RegionScan, WordsInCommentsDoNotCountButAFirstWordBeforeAClosedCommentDoes)
{
    PascalStyler styler;
    bool inComment = false;
    EXPECT_EQ(RegionWordsOfLine(styler, "begin;end:x{y} z // begin", inComment),
              (std::vector<std::string>{"BEGIN", "END", "X", "Z"}));
    EXPECT_FALSE(inComment);
    styler.Define("", "begin", "end", rtClosed);
    EXPECT_EQ(RegionWordsOfLine(styler, "end;{ note } x", inComment), (std::vector<std::string>{"END", "X"}));
    EXPECT_EQ(RegionWordsOfLine(styler, "a(b) { open", inComment), (std::vector<std::string>{"A", "(", "B", ")"}));
    EXPECT_TRUE(inComment);
    EXPECT_TRUE(RegionWordsOfLine(styler, "begin end", inComment).empty());
    EXPECT_EQ(RegionWordsOfLine(styler, "still } end", inComment), (std::vector<std::string>{"END"}));
    EXPECT_FALSE(inComment);
}

TEST(RegionScan, ASummaryShowsTheRestOfTheFirstLineForDefinitionsThatShowComments)
{
    PascalStyler styler;
    TRegionDefinition &routine = styler.Define("procedure", "begin", "end", rtClosed);
    styler.Define("function", "begin", "end", rtClosed).SetShowComments(true);
    int index = -1;
    std::string summary;
    EXPECT_FALSE(RegionSummaryOfLine(styler, "  procedure Draw; { paints }", index, summary));
    routine.SetShowComments(true);
    ASSERT_TRUE(RegionSummaryOfLine(styler, "  procedure Draw; { paints }", index, summary));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(summary, "  [Draw; { paints]");
    ASSERT_TRUE(RegionSummaryOfLine(styler, "FUNCTION Size: Integer;", index, summary));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(summary, "[Size: Integer;]");
    EXPECT_FALSE(RegionSummaryOfLine(styler, "x := procedure", index, summary));
}

} // namespace
} // namespace tarnwick
