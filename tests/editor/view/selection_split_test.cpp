// How the selection cuts a run into before, selected and after parts.
#include "editor/view/selection_split.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

// A run of 5 characters at column 10 of line 3.
TRunSplit Split(TCaretPos from, TCaretPos to, bool hidden = false)
{
    return SplitRunBySelection(3, 10, 5, from, to, hidden);
}

constexpr TRunSplit kAllBefore{5, 5};
constexpr TRunSplit kAllSelected{0, 5};
constexpr TRunSplit kAllAfter{0, 0};

TEST(SelectionSplit, HiddenOrOtherLinesLeaveTheRunBeforeTheSelection)
{
    EXPECT_EQ(Split({0, 0}, {20, 9}, true), kAllBefore);
    EXPECT_EQ(Split({0, 4}, {20, 9}), kAllBefore);
    EXPECT_EQ(Split({0, 0}, {20, 2}), kAllBefore);
}

TEST(SelectionSplit, LinesStrictlyInsideAreSelectedWhole) { EXPECT_EQ(Split({50, 2}, {0, 4}), kAllSelected); }

TEST(SelectionSplit, EmptySelectionShowsNothing) { EXPECT_EQ(Split({12, 3}, {12, 3}), kAllBefore); }

TEST(SelectionSplit, SingleLineSelectionAroundTheRun)
{
    // Wholly after the run, wholly before it, inside it, across its ends.
    EXPECT_EQ(Split({15, 3}, {18, 3}), kAllBefore);
    EXPECT_EQ(Split({2, 3}, {10, 3}), kAllAfter);
    EXPECT_EQ(Split({11, 3}, {13, 3}), (TRunSplit{1, 3}));
    EXPECT_EQ(Split({8, 3}, {12, 3}), (TRunSplit{0, 2}));
    EXPECT_EQ(Split({13, 3}, {40, 3}), (TRunSplit{3, 5}));
    EXPECT_EQ(Split({0, 3}, {40, 3}), kAllSelected);
}

TEST(SelectionSplit, MultiLineSelectionOnItsFirstAndLastLine)
{
    EXPECT_EQ(Split({12, 3}, {1, 5}), (TRunSplit{2, 5}));
    EXPECT_EQ(Split({20, 3}, {1, 5}), kAllBefore);
    EXPECT_EQ(Split({0, 1}, {12, 3}), (TRunSplit{0, 2}));
    EXPECT_EQ(Split({0, 1}, {4, 3}), kAllAfter);
    EXPECT_EQ(Split({0, 1}, {40, 3}), kAllSelected);
}

} // namespace
} // namespace tarnwick
