// The grid cells of text: the width of a character from the Unicode data,
// and columns <-> cells of lines mixing ASCII, Latin with combining marks,
// CJK, Hangul and emoji, against a naive walk over the characters.
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

// The column of a cell by walking characters one by one: the first
// character with width that starts at or after the cell.
int NaiveColumnOfCell(const std::u32string &chars, int cell)
{
    int at = 0;
    for (size_t k = 0; k < chars.size(); ++k) {
        const int w = NaiveWidth(chars[k]);
        if (at >= cell && (w > 0 || cell == 0))
            return static_cast<int>(k);
        at += w;
    }
    return static_cast<int>(chars.size()) + std::max(0, cell - at);
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
    EXPECT_EQ(cells::Count(line), 1 + 2 + 1 + 0 + 0 + 2 + 1);
    const int cellOf[] = {0, 1, 3, 4, 4, 4, 6, 7, 8, 9};
    for (int column = 0; column < 10; ++column)
        EXPECT_EQ(cells::CellOfColumn(line, column), cellOf[column]) << column;
    // The right half of a wide character stands for the place after it; the
    // cell after e is the place after its marks.
    const int columnOf[] = {0, 1, 2, 2, 5, 6, 6, 7, 8};
    for (int cell = 0; cell < 9; ++cell)
        EXPECT_EQ(cells::ColumnOfCell(line, cell), columnOf[cell]) << cell;
}

TEST(TextCellsLine, AsciiAndLatinLinesCountOneCellPerColumn)
{
    for (const std::string line :
         {"", "<a href='x'>text</a>", "caf\xC3\xA9 na\xC3\xAFve \xC5\x81\xC3\xB3\x64\xC5\xBA"}) {
        const int length = utf8::Length(line);
        EXPECT_EQ(cells::Count(line), length);
        for (int k = 0; k <= length + 3; ++k) {
            EXPECT_EQ(cells::CellOfColumn(line, k), k);
            EXPECT_EQ(cells::ColumnOfCell(line, k), k);
        }
    }
}

// Random lines of every kind of sample, each conversion against the naive
// walk, and the invariants that tie them together.
TEST(TextCellsLine, ConversionsAgreeWithANaiveWalkOnRandomLines)
{
    std::mt19937 random(19);
    for (int round = 0; round < 400; ++round) {
        std::u32string chars;
        const int length = static_cast<int>(random() % 24);
        const bool asciiStart = round % 3 == 0;
        for (int k = 0; k < length; ++k)
            chars += asciiStart && k < 8 ? char32_t(U'a' + k) : kSamples[random() % kSamples.size()].c;
        const std::string line = Encode(chars);
        ASSERT_EQ(Decode(line), chars);

        int cell = 0;
        for (int column = 0; column <= length + 2; ++column) {
            ASSERT_EQ(cells::CellOfColumn(line, column), cell) << round << " column " << column;
            const int w = column < length ? NaiveWidth(chars[column]) : 1;
            cell += w;
        }
        EXPECT_EQ(cells::Count(line), cells::CellOfColumn(line, length));

        for (int c = 0; c <= cells::Count(line) + 2; ++c) {
            const int column = cells::ColumnOfCell(line, c);
            ASSERT_EQ(column, NaiveColumnOfCell(chars, c)) << round << " cell " << c;
            // The column found starts at the cell or at most one cell later
            // (the right half of a wide character), never inside a character.
            const int start = cells::CellOfColumn(line, column);
            EXPECT_GE(start, c);
            EXPECT_LE(start, c + 1);
            EXPECT_EQ(cells::ColumnOfCell(line, start), column);
        }

        // The characters that fit into n cells are the longest start of the
        // line no wider than n, zero-width characters after it included.
        for (int n = 0; n <= cells::Count(line) + 1; ++n) {
            int fit = 0;
            while (fit < length && cells::CellOfColumn(line, fit + 1) <= n)
                ++fit;
            ASSERT_EQ(cells::ColumnsWithin(line, n), fit) << round << " within " << n;
        }
    }
}
