// Columns, bytes and cells of long lines on the line store alone: after every
// edit of a random sequence (typing, deleting, pasting, whole-line puts,
// lines inserted and removed above), the store's conversions in every
// direction equal a plain count from the line start, on lines mixing one- to
// four-byte characters, wide ones and marks that take no cell.
#include "editor/base/text_cells.h"
#include "editor/base/utf8.h"
#include "editor/document/line_cells.h"
#include "editor/document/line_store.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace tarnwick;

namespace {

// One- to four-byte characters, ASCII the most common: a wide one (two
// cells), an emoji (two) and a combining mark (none).
const char *const kCharacters[] = {
    "a", "b", " ", "<", "\xC3\xA9", "\xC5\x81", "\xE2\x82\xAC", "\xE4\xB8\xAD", "\xCC\x81", "\xF0\x9F\x98\x80"};

std::string RandomText(std::mt19937 &rng, size_t characters)
{
    std::string s;
    std::uniform_int_distribution<int> pick(0, 14);
    for (size_t i = 0; i < characters; ++i) {
        const int k = pick(rng);
        s += kCharacters[k < 10 ? k : 0];
    }
    return s;
}

// Checks every kind of question at columns and bytes spread over the line,
// the ends and the characters around the last edit included.
void ExpectConversionsMatch(const REdoDodiStrings &lines, int line, int around, std::mt19937 &rng)
{
    const std::string &text = lines[line];
    const int length = utf8::Length(text);
    ASSERT_EQ(lines.LineLength(line), length);
    std::uniform_int_distribution<int> anyColumn(0, length + 2);
    std::uniform_int_distribution<size_t> anyByte(0, text.size() + 2);
    for (int k = 0; k < 16; ++k) {
        const int column = k < 5 ? around - 2 + k : k < 8 ? length - 1 + (k - 5) : anyColumn(rng);
        ASSERT_EQ(lines.ByteOfColumn(line, column), utf8::ByteOffset(text, column)) << "column " << column;
        const size_t byte = anyByte(rng);
        ASSERT_EQ(lines.ColumnOfByte(line, byte), utf8::Length(std::string_view(text).substr(0, byte)))
            << "byte " << byte;
        ASSERT_EQ(CellOfColumn(lines, line, column), cells::CellOfColumn(text, column)) << "column " << column;
        const int cell = cells::CellOfColumn(text, column) + k % 3 - 1;
        ASSERT_EQ(ColumnOfCell(lines, line, cell), cells::ColumnOfCell(text, cell)) << "cell " << cell;
    }
    ASSERT_EQ(LineCells(lines, line), cells::Count(text));
}

} // namespace

TEST(LongLineColumns, ConversionsEqualACountFromTheLineStartThroughRandomEdits)
{
    std::mt19937 rng(12);
    REdoDodiStrings lines;
    lines.AddStrings(std::vector<std::string>{"short", RandomText(rng, 30000), "tail", RandomText(rng, 9000)});
    int line = 1;
    int around = 0;
    for (int step = 0; step < 250; ++step) {
        const std::string &text = lines[line];
        const int length = utf8::Length(text);
        std::uniform_int_distribution<int> anyColumn(0, length);
        const int column = anyColumn(rng);
        const size_t at = utf8::ByteOffset(text, column);
        switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
        case 0: // a paste
            lines.ReplaceText(line, at, 0, RandomText(rng, 3000));
            break;
        case 1: // a block deleted
            lines.ReplaceText(line, at, utf8::ByteOffset(std::string_view(text).substr(at), 2500), "");
            break;
        case 2: { // the whole line put back with one character changed
            std::string changed = text;
            changed.replace(at, utf8::ByteOffset(std::string_view(text).substr(at), 1), RandomText(rng, 1));
            lines.Put(line, changed);
            break;
        }
        case 3: // lines come and go above
            if (lines.Count() > 4 && line > 0) {
                lines.RemoveLines(0, 1);
                --line;
            } else {
                lines.InsertLines(0, {RandomText(rng, 5)}, false);
                ++line;
            }
            break;
        case 4: // the other long line is edited
            lines.ReplaceText(lines.Count() - 1, 7, 0, RandomText(rng, 2));
            break;
        default: // typing and deleting one character
            if (step % 2 == 0)
                lines.ReplaceText(line, at, 0, RandomText(rng, 1));
            else
                lines.ReplaceText(line, at, utf8::ByteOffset(std::string_view(text).substr(at), 1), "");
            break;
        }
        around = column;
        ExpectConversionsMatch(lines, line, around, rng);
        ExpectConversionsMatch(lines, lines.Count() - 1, 7, rng);
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
