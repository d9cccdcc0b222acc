// The grid cells of text: the width of a character from the Unicode data,
// and columns <-> cells of lines mixing ASCII, tabs, Latin with combining
// marks, CJK, Hangul and emoji, against a naive walk that expands each tab
// to its stop.
#include "editor/base/text_cells.h"
#include "editor/base/utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace tarnwick;

namespace {

struct Sample {
    char32_t c;
    int width;
};

// Widths as the Unicode data gives them, written out by hand.
const std::vector<Sample> kSamples = {
    {U'a', 1},    {U' ', 1},   {U'\t', 1},  {0x7F, 1},   // ASCII, controls
    {0xE9, 1},    {0x0142, 1}, {0x03A9, 1}, {0x0416, 1}, // é ł Ω Ж
    {0x0301, 0},  {0x0308, 0}, {0x20DD, 0},              // combining acute, diaeresis, enclosing circle
    {0x00AD, 0},  {0x200B, 0}, {0x200D, 0}, {0xFE0F, 0}, // soft hyphen, ZWSP, ZWJ, VS16
    {0x4E2D, 2},  {0x6587, 2}, {0x3042, 2}, {0x30AB, 2}, // 中 文 あ カ
    {0xAC00, 2},  {0xD55C, 2}, {0x1100, 2},              // 가 한, leading jamo
    {0x1161, 0},  {0x11A8, 0},                           // vowel and final jamo
    {0x3000, 2},  {0xFF21, 2}, {0xFF71, 1},              // ideographic space, Ａ, halfwidth ｱ
    {0x1F600, 2}, {0x231A, 2}, {0x2764, 1}, {0x2603, 1}, // 😀 ⌚, ❤ and ☃ shown as text
    {0x20000, 2},                                        // CJK extension B
};

int NaiveWidth(char32_t c)
{
    if (c < 0x7F)
        return 1;
    for (const Sample &s : kSamples)
        if (s.c == c)
            return s.width;
    ADD_FAILURE() << "no sample for " << static_cast<unsigned>(c);
    return 1;
}

std::u32string Decode(std::string_view text)
{
    std::u32string out;
    for (int k = 0; k < utf8::Length(text); ++k)
        out += utf8::At(text, k);
    return out;
}

std::string Encode(const std::u32string &chars)
{
    std::string out;
    for (char32_t c : chars)
        utf8::Append(out, c);
    return out;
}

// Where each character of `chars` starts and how many cells it takes when
// the text starts at cell `at` of its line: each tab is widened a cell at a
// time until it reaches a multiple of the tab size.
struct Laid {
    std::vector<int> Start; // from the start of the text
    std::vector<int> Width;
    int Total = 0;
};

Laid LayOut(const std::u32string &chars, int tabSize, int at)
{
    Laid laid;
    int cell = at;
    for (char32_t c : chars) {
        const int start = cell;
        if (c == U'\t') {
            do
                ++cell;
            while (tabSize > 0 && cell % tabSize != 0);
        } else {
            cell += NaiveWidth(c);
        }
        laid.Start.push_back(start - at);
        laid.Width.push_back(cell - start);
    }
    laid.Total = cell - at;
    return laid;
}

// The first character with width that starts at or after the cell.
int NaiveColumnOfCell(const Laid &laid, int cell)
{
    if (cell <= 0)
        return 0;
    const int n = static_cast<int>(laid.Start.size());
    for (int k = 0; k < n; ++k)
        if (laid.Start[k] >= cell && laid.Width[k] > 0)
            return k;
    return n + std::max(0, cell - laid.Total);
}

} // namespace

TEST(TextCellsWidth, FollowsTheUnicodeDataForEachKindOfCharacter)
{
    for (const Sample &s : kSamples)
        EXPECT_EQ(cells::WidthOf(s.c), s.width) << "U+" << std::hex << static_cast<unsigned>(s.c);
}

TEST(TextCellsLine, WideCharactersTakeTwoCellsAndMarksNone)
{
    // a, 中, e with two combining marks, 😀, b.
    const std::string line = Encode({U'a', 0x4E2D, U'e', 0x0301, 0x0308, 0x1F600, U'b'});
    EXPECT_EQ(cells::Count(line, 4), 1 + 2 + 1 + 0 + 0 + 2 + 1);
    const int cellOf[] = {0, 1, 3, 4, 4, 4, 6, 7, 8, 9};
    for (int column = 0; column < 10; ++column)
        EXPECT_EQ(cells::CellOfColumn(line, column, 4), cellOf[column]) << column;
    // The right half of a wide character stands for the place after it; the
    // cell after e is the place after its marks.
    const int columnOf[] = {0, 1, 2, 2, 5, 6, 6, 7, 8};
    for (int cell = 0; cell < 9; ++cell)
        EXPECT_EQ(cells::ColumnOfCell(line, cell, 4), columnOf[cell]) << cell;
}

TEST(TextCellsLine, ATabReachesTheNextStopCountedFromTheLineStart)
{
    // a tab b tab tab 中 c at tab size 4: cells 0, 1-3, 4, 5-7, 8-11, 12-13, 14.
    const std::string line = "a\tb\t\t" + Encode({0x4E2D}) + "c";
    EXPECT_EQ(cells::Count(line, 4), 15);
    const int cellOf[] = {0, 1, 4, 5, 8, 12, 14, 15, 16};
    for (int column = 0; column < 9; ++column)
        EXPECT_EQ(cells::CellOfColumn(line, column, 4), cellOf[column]) << column;
    // Only a tab's first cell stands for the place before it.
    const int columnOf[] = {0, 1, 2, 2, 2, 3, 4, 4, 4, 5, 5, 5, 5, 6, 6, 7, 8};
    for (int cell = 0; cell < 17; ++cell)
        EXPECT_EQ(cells::ColumnOfCell(line, cell, 4), columnOf[cell]) << cell;
    // The same text from cell 2 of its line: its first tab is one cell wide.
    EXPECT_EQ(cells::CellOfColumn(line, 2, 4, 2), 2);
    EXPECT_EQ(cells::Count(line, 4, 2), 13);
    // Sizes of 0 and less give a tab one cell, as does a size of 1.
    for (const int size : {-2, 0, 1})
        EXPECT_EQ(cells::Count(line, size), 8) << size;
    EXPECT_EQ(cells::ColumnsWithin(line, 3, 4), 1);
    EXPECT_EQ(cells::ColumnsWithin(line, 4, 4), 2);
}

TEST(TextCellsLine, AsciiAndLatinLinesCountOneCellPerColumn)
{
    for (const std::string line :
         {"", "<a href='x'>text</a>", "caf\xC3\xA9 na\xC3\xAFve \xC5\x81\xC3\xB3\x64\xC5\xBA"}) {
        const int length = utf8::Length(line);
        EXPECT_EQ(cells::Count(line, 4), length);
        for (int k = 0; k <= length + 3; ++k) {
            EXPECT_EQ(cells::CellOfColumn(line, k, 4), k);
            EXPECT_EQ(cells::ColumnOfCell(line, k, 4), k);
        }
    }
}

// Random lines of every kind of sample, tabs and runs of ASCII long enough
// for the eight-byte scans among them, at random tab sizes and starting
// cells: each conversion against the naive walk, and the invariants that tie
// them together.
TEST(TextCellsLine, ConversionsAgreeWithANaiveWalkOnRandomLines)
{
    std::mt19937 random(19);
    const int tabSizes[] = {0, 1, 2, 3, 4, 8};
    for (int round = 0; round < 1500; ++round) {
        std::u32string chars;
        const int pieces = static_cast<int>(random() % 16);
        for (int k = 0; k < pieces; ++k) {
            switch (random() % 4) {
            case 0:
                chars += U'\t';
                break;
            case 1: // a run of letters, maybe with a tab inside
                for (int n = static_cast<int>(random() % 20); n > 0; --n)
                    chars += random() % 9 == 0 ? U'\t' : char32_t(U'a' + random() % 26);
                break;
            default:
                chars += kSamples[random() % kSamples.size()].c;
                break;
            }
        }
        const std::string line = Encode(chars);
        ASSERT_EQ(Decode(line), chars);
        const int length = static_cast<int>(chars.size());
        const int tabSize = tabSizes[random() % std::size(tabSizes)];
        const int at = round % 3 == 0 ? 0 : static_cast<int>(random() % 10);
        const Laid laid = LayOut(chars, tabSize, at);
        const std::string where =
            "round " + std::to_string(round) + " tab size " + std::to_string(tabSize) + " at " + std::to_string(at);

        ASSERT_EQ(cells::Count(line, tabSize, at), laid.Total) << where;
        for (int column = 0; column <= length + 2; ++column) {
            const int expected = column < length ? laid.Start[column] : laid.Total + column - length;
            ASSERT_EQ(cells::CellOfColumn(line, column, tabSize, at), expected) << where << " column " << column;
        }

        for (int c = 0; c <= laid.Total + 2; ++c) {
            const int column = cells::ColumnOfCell(line, c, tabSize, at);
            ASSERT_EQ(column, NaiveColumnOfCell(laid, c)) << where << " cell " << c;
            // The column found starts at the cell or inside the character
            // that covers it, never inside a character itself.
            const int start = cells::CellOfColumn(line, column, tabSize, at);
            EXPECT_GE(start, c);
            EXPECT_EQ(cells::ColumnOfCell(line, start, tabSize, at), column);
        }

        // The characters that fit into n cells are the longest start of the
        // line no wider than n, zero-width characters after it included.
        for (int n = 0; n <= laid.Total + 1; ++n) {
            int fit = 0;
            while (fit < length && laid.Start[fit] + laid.Width[fit] <= n)
                ++fit;
            ASSERT_EQ(cells::ColumnsWithin(line, n, tabSize, at), fit) << where << " within " << n;
        }
    }
}
