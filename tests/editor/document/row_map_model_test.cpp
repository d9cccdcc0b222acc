// The row map against a plain list of lines, on long random sequences of
// inserts, removals, hiding, showing and rows per line.
#include "editor/document/row_map.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace tarnwick;

namespace {

struct TPlainLine {
    bool Hidden = false;
    int Rows = 1;
};

// Row of every line and line of every row, by walking the list.
void ExpectSameMapping(const TRowMap &map, const std::vector<TPlainLine> &plain)
{
    ASSERT_TRUE(map.Check());
    ASSERT_EQ(map.LineCount(), static_cast<int>(plain.size()));
    int row = 0;
    for (int line = 0; line < static_cast<int>(plain.size()); ++line) {
        ASSERT_EQ(map.RowsBefore(line), row) << "line " << line;
        ASSERT_EQ(map.IsHidden(line), plain[line].Hidden) << "line " << line;
        if (plain[line].Hidden)
            continue;
        ASSERT_EQ(map.RowsPerLine(line), plain[line].Rows) << "line " << line;
        for (int k = 0; k < plain[line].Rows; ++k)
            ASSERT_EQ(map.LineAtRow(row + k), line) << "row " << row + k;
        row += plain[line].Rows;
    }
    EXPECT_EQ(map.RowCount(), row);
    EXPECT_EQ(map.LineAtRow(row), map.LineCount());
    EXPECT_EQ(map.RowsBefore(map.LineCount()), row);
}

} // namespace

TEST(RowMap, RandomEditsAgreeWithAPlainListOfLines)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        TRowMap map;
        const int start = static_cast<int>(rng() % 50);
        map.Reset(start);
        std::vector<TPlainLine> plain(start);
        for (int step = 0; step < 200; ++step) {
            const int count = static_cast<int>(plain.size());
            const int at = count == 0 ? 0 : static_cast<int>(rng() % (count + 1));
            const int n = 1 + static_cast<int>(rng() % 8);
            switch (rng() % 5) {
            case 0: {
                const bool hidden = rng() % 3 == 0;
                map.InsertLines(at, n, hidden);
                plain.insert(plain.begin() + at, n, TPlainLine{hidden, 1});
                break;
            }
            case 1: {
                const int k = std::min(n, count - at);
                map.RemoveLines(at, n);
                plain.erase(plain.begin() + at, plain.begin() + at + std::max(0, k));
                break;
            }
            case 2:
            case 3: {
                const bool hidden = rng() % 2 == 0;
                const int k = std::min(n * 3, count - at);
                map.SetHidden(at, n * 3, hidden);
                for (int i = at; i < at + k; ++i)
                    plain[i].Hidden = hidden;
                break;
            }
            case 4: {
                const int rows = 1 + static_cast<int>(rng() % 3);
                const int k = std::min(n, count - at);
                map.SetRowsPerLine(at, n, rows);
                for (int i = at; i < at + k; ++i)
                    plain[i].Rows = rows;
                break;
            }
            }
            ExpectSameMapping(map, plain);
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(RowMap, HidingAndShowingAgainLeavesOneRun)
{
    TRowMap map;
    map.Reset(1000);
    for (int i = 0; i < 100; ++i)
        map.SetHidden(i * 10 + 1, 5, true);
    EXPECT_EQ(map.RowCount(), 500);
    EXPECT_EQ(map.Runs().size(), 201u);
    map.SetHidden(0, 1000, false);
    ASSERT_EQ(map.Runs().size(), 1u);
    EXPECT_EQ(map.Runs()[0], (TRowMap::TRun{1000, 1, false}));
}

TEST(RowMap, AssignedRunsAreMappedAsGiven)
{
    TRowMap map;
    map.Assign({{3, 1, false}, {4, 1, true}, {0, 1, false}, {2, 2, false}});
    EXPECT_EQ(map.LineCount(), 9);
    EXPECT_EQ(map.RowCount(), 7);
    EXPECT_EQ(map.LineAtRow(3), 7);
    EXPECT_EQ(map.LineAtRow(4), 7);
    EXPECT_EQ(map.LineAtRow(5), 8);
    EXPECT_EQ(map.RowsBefore(5), 3);
    EXPECT_TRUE(map.Check());
}
