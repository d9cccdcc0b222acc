// Columns, bytes and cells of long lines on the line store alone: after every
// edit of a random sequence (typing, deleting, pasting, whole-line puts,
// lines inserted and removed above, the tab size changed), the store's
// conversions in every direction equal a plain count from the line start, on
// lines mixing one- to four-byte characters, tabs, wide characters and marks
// that take no cell; cells against a naive expansion of each tab to its stop.
#include "editor/base/text_case.h"
#include "editor/base/utf8.h"
#include "editor/document/line_cells.h"
#include "editor/document/line_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace tarnwick;

namespace {

// One- to four-byte characters, ASCII the most common: a wide one (two
// cells), an emoji (two), a combining mark (none) and the tab.
const char *const kCharacters[] = {
    "a", "b", " ", "<", "\xC3\xA9", "\xC5\x81", "\xE2\x82\xAC", "\xE4\xB8\xAD", "\xCC\x81", "\xF0\x9F\x98\x80", "\t"};

// One character in `tabEvery` (about) is a tab; 0 gives none.
std::string RandomText(std::mt19937 &rng, size_t characters, int tabEvery = 0)
{
    std::string s;
    std::uniform_int_distribution<int> pick(0, 14);
    for (size_t i = 0; i < characters; ++i) {
        if (tabEvery > 0 && rng() % tabEvery == 0) {
            s += '\t';
            continue;
        }
        const int k = pick(rng);
        s += kCharacters[k < 10 ? k : 0];
    }
    return s;
}

// The cell each column of `text` starts at and the cells of the line,
// expanding each tab to its stop a cell at a time.
struct Expanded {
    std::vector<int> Start;
    std::vector<int> Width;
    int Total = 0;
};

int WidthOf(char32_t c)
{
    switch (c) {
    case 0x4E2D:
    case 0x1F600:
        return 2;
    case 0x0301:
        return 0;
    default:
        return 1;
    }
}

Expanded Expand(std::string_view text, int tabSize)
{
    Expanded e;
    int cell = 0;
    for (size_t i = 0; i < text.size();) {
        const int start = cell;
        const char32_t c = NextCodePoint(text, i);
        if (c == U'\t') {
            do
                ++cell;
            while (tabSize > 0 && cell % tabSize != 0);
        } else {
            cell += WidthOf(c);
        }
        e.Start.push_back(start);
        e.Width.push_back(cell - start);
    }
    e.Total = cell;
    return e;
}

int ExpandedCellOf(const Expanded &e, int column)
{
    const int n = static_cast<int>(e.Start.size());
    return column <= 0 ? 0 : column < n ? e.Start[column] : e.Total + column - n;
}

int ExpandedColumnOf(const Expanded &e, int cell)
{
    if (cell <= 0)
        return 0;
    const int n = static_cast<int>(e.Start.size());
    int k = static_cast<int>(std::lower_bound(e.Start.begin(), e.Start.end(), cell) - e.Start.begin());
    while (k < n && e.Width[k] == 0)
        ++k;
    return k < n ? k : n + std::max(0, cell - e.Total);
}

// Checks every kind of question at columns and bytes spread over the line,
// the ends and the characters around the last edit included.
void ExpectConversionsMatch(const REdoDodiStrings &lines, int line, int around, std::mt19937 &rng)
{
    const std::string &text = lines[line];
    const int length = utf8::Length(text);
    ASSERT_EQ(lines.LineLength(line), length);
    const Expanded expanded = Expand(text, lines.TabSize());
    std::uniform_int_distribution<int> anyColumn(0, length + 2);
    std::uniform_int_distribution<size_t> anyByte(0, text.size() + 2);
    for (int k = 0; k < 16; ++k) {
        const int column = k < 5 ? around - 2 + k : k < 8 ? length - 1 + (k - 5) : anyColumn(rng);
        ASSERT_EQ(lines.ByteOfColumn(line, column), utf8::ByteOffset(text, column)) << "column " << column;
        const size_t byte = anyByte(rng);
        ASSERT_EQ(lines.ColumnOfByte(line, byte), utf8::Length(std::string_view(text).substr(0, byte)))
            << "byte " << byte;
        if (column < 0)
            continue;
        ASSERT_EQ(CellOfColumn(lines, line, column), ExpandedCellOf(expanded, column)) << "column " << column;
        // The cells inside the character before the column and at its start.
        for (int cell = ExpandedCellOf(expanded, column - 1) + 1; cell <= ExpandedCellOf(expanded, column); ++cell)
            ASSERT_EQ(ColumnOfCell(lines, line, cell), ExpandedColumnOf(expanded, cell)) << "cell " << cell;
    }
    ASSERT_EQ(LineCells(lines, line), expanded.Total);
}

} // namespace

// The first long line has tabs all along, so most of its edits have one
// after them; the other gains its tabs from the edits, so its edits come
// with and without tabs before, inside and after them. The lines inserted
// above are short ones with tabs.
TEST(LongLineColumns, ConversionsEqualACountFromTheLineStartThroughRandomEdits)
{
    std::mt19937 rng(12);
    REdoDodiStrings lines;
    lines.SetTabSize(4);
    lines.AddStrings(std::vector<std::string>{"short", RandomText(rng, 30000, 40), "tail", RandomText(rng, 9000)});
    const int tabSizes[] = {0, 1, 3, 4, 8};
    int line = 1;
    int around = 0;
    for (int step = 0; step < 250; ++step) {
        const std::string &text = lines[line];
        const int length = utf8::Length(text);
        std::uniform_int_distribution<int> anyColumn(0, length);
        const int column = anyColumn(rng);
        const size_t at = utf8::ByteOffset(text, column);
        switch (std::uniform_int_distribution<int>(0, 10)(rng)) {
        case 0: // a paste
            lines.ReplaceText(line, at, 0, RandomText(rng, 3000, 50));
            break;
        case 1: // a block deleted
            lines.ReplaceText(line, at, utf8::ByteOffset(std::string_view(text).substr(at), 2500), "");
            break;
        case 2: { // the whole line put back with one character changed
            std::string changed = text;
            changed.replace(at, utf8::ByteOffset(std::string_view(text).substr(at), 1), RandomText(rng, 1, 3));
            lines.Put(line, changed);
            break;
        }
        case 3: // lines come and go above
            if (lines.Count() > 4 && line > 0) {
                lines.RemoveLines(0, 1);
                --line;
            } else {
                lines.InsertLines(0, {RandomText(rng, 12, 3)});
                ++line;
            }
            break;
        case 4:
        case 6: { // the other long line is edited, often after its last tab
            const int other = lines.Count() - 1;
            const std::string &otherText = lines[other];
            const int otherLength = lines.LineLength(other);
            const int otherColumn =
                step % 2 ? otherLength - static_cast<int>(rng() % 40) : anyColumn(rng) % (otherLength + 1);
            const size_t where = utf8::ByteOffset(otherText, std::max(0, otherColumn));
            if (step % 3 == 0)
                lines.ReplaceText(other, where, utf8::ByteOffset(std::string_view(otherText).substr(where), 3), "");
            else
                lines.ReplaceText(other, where, 0, RandomText(rng, 2, 6));
            break;
        }
        case 5: // another tab size
            lines.SetTabSize(tabSizes[rng() % std::size(tabSizes)]);
            break;
        default: // typing and deleting one character
            if (step % 2 == 0)
                lines.ReplaceText(line, at, 0, RandomText(rng, 1, 4));
            else
                lines.ReplaceText(line, at, utf8::ByteOffset(std::string_view(text).substr(at), 1), "");
            break;
        }
        around = column;
        ExpectConversionsMatch(lines, line, around, rng);
        ExpectConversionsMatch(lines, lines.Count() - 1, 7, rng);
        ExpectConversionsMatch(lines, 0, 3, rng); // short but for the first steps
    }
}

TEST(LongLineColumns, ALineThatShrinksAndGrowsAgainStaysRight)
{
    std::mt19937 rng(3);
    REdoDodiStrings lines;
    lines.AddStrings(std::vector<std::string>{RandomText(rng, 20000)});
    ExpectConversionsMatch(lines, 0, 0, rng);
    lines.ReplaceText(0, 100, std::string::npos, "");
    ExpectConversionsMatch(lines, 0, 50, rng);
    lines.ReplaceText(0, 50, 0, RandomText(rng, 30000));
    ExpectConversionsMatch(lines, 0, 50, rng);
    lines.Put(0, RandomText(rng, 25000));
    ExpectConversionsMatch(lines, 0, 0, rng);
}
