// Block matching: the opener and closer words around the caret, found by
// counting nested pairs, and only where delimiters surround them.
#include "editor/control/redodi.h"
#include "editor/highlight/styler.h"
#include "editor/view/block_matcher.h"
#include "support/fake_host.h"

#include <gtest/gtest.h>

namespace tarnwick::test {
namespace {

class BlockMatching : public ::testing::Test {
protected:
    void SetUp() override
    {
        // ";" is a symbol, so it ends a word as a blank does.
        AddElementStyle(styler.AllStyles(), "Symbols", stSymbol, clTeal, {}).SetSymbols(";:=");
        styler.SetBlockOpener("begin,case");
        styler.SetBlockCloser("end");
        ed.SetSyntaxStyles(&styler);
        ed.Lines()->SetText("begin\r\n"          // 0
                            "  x := 1;\r\n"      // 1
                            "  Begin y end;\r\n" // 2
                            "  z;\r\n"           // 3
                            "END;\r\n"           // 4
                            "beginning end");    // 5
    }
    std::pair<TBlockRange, TBlockRange> At(int line)
    {
        ed.SetCaretDirect(0, line);
        ed.BlockMatch();
        return {ed.ViewState().BlockStart, ed.ViewState().BlockEnd};
    }

    TCustomDodiStyler styler;
    FakeHost host;
    REdoDodi ed{&host};
};

TEST_F(BlockMatching, OpenerLineFindsItsOwnCloserPastNestedPairs)
{
    const auto [start, end] = At(0);
    EXPECT_EQ(start, (TBlockRange{0, 0, 5}));
    EXPECT_EQ(end, (TBlockRange{4, 0, 3}));
}

TEST_F(BlockMatching, PairOnOneLine)
{
    const auto [start, end] = At(2);
    EXPECT_EQ(start, (TBlockRange{2, 2, 5}));
    EXPECT_EQ(end, (TBlockRange{2, 10, 3}));
}

TEST_F(BlockMatching, CloserLineAndLinesInsideFindTheEnclosingPair)
{
    EXPECT_EQ(At(4).first, (TBlockRange{0, 0, 5}));
    EXPECT_EQ(At(3).first, (TBlockRange{0, 0, 5}));
    EXPECT_EQ(At(3).second, (TBlockRange{4, 0, 3}));
    EXPECT_EQ(At(1).second, (TBlockRange{4, 0, 3}));
}

TEST_F(BlockMatching, WordsCountOnlyBetweenDelimiters)
{
    // "beginning" is no opener, so the lone "end" has no partner.
    const auto [start, end] = At(5);
    EXPECT_EQ(start.Line, -1);
    EXPECT_EQ(end.Line, -1);
}

TEST_F(BlockMatching, WithoutBothWordListsNothingIsMatchedButTheEventComes)
{
    int events = 0;
    ed.OnCursorChange = [&](TCustomDodi &) { ++events; };
    At(0);
    EXPECT_EQ(events, 1);
    styler.SetBlockCloser("");
    const auto [start, end] = At(0);
    EXPECT_EQ(start.Line, -1);
    EXPECT_EQ(end.Line, -1);
    EXPECT_EQ(events, 2);
}

TEST_F(BlockMatching, ChangedHighlightsRepaintTheirRows)
{
    At(3);
    host.InvalidatedRects.clear();
    At(3);
    EXPECT_TRUE(host.InvalidatedRects.empty());
    At(2);
    EXPECT_EQ(host.InvalidatedRects.size(), 4u);
}

} // namespace
} // namespace tarnwick::test
