#include "editor/base/text_cells.h"

#include "editor/base/text_case.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstring>

namespace tarnwick::cells {

namespace {

constexpr unsigned long long kHighBits = 0x8080808080808080ULL;
constexpr unsigned long long kLowBits = 0x0101010101010101ULL;
constexpr unsigned long long kTabs = 0x0909090909090909ULL;

// The end of the plain stretch of `text` from byte `from`, at most `limit`:
// ASCII bytes other than the tab, one cell and one column each. Looked at
// eight bytes at a time.
size_t PlainEnd(std::string_view text, size_t from, size_t limit)
{
    limit = std::min(limit, text.size());
    size_t i = from;
    for (; i + 8 <= limit; i += 8) {
        unsigned long long word;
        std::memcpy(&word, text.data() + i, 8);
        // A tab is a zero byte of `tabs`, which the borrow of the
        // subtraction marks in its high bit.
        const unsigned long long tabs = word ^ kTabs;
        if ((word | ((tabs - kLowBits) & ~tabs)) & kHighBits)
            break;
    }
    while (i < limit && static_cast<unsigned char>(text[i]) < 0x80 && text[i] != '\t')
        ++i;
    return i;
}

// The cells of the character at byte `i`, which starts at cell `cell` of
// its line; moves `i` past it.
int Step(std::string_view text, size_t &i, int cell, int tabSize)
{
    if (text[i] == '\t') {
        ++i;
        return TabCells(cell, tabSize);
    }
    return WidthOf(NextCodePoint(text, i));
}

size_t Room(int n) { return n > 0 ? static_cast<size_t>(n) : 0; }

} // namespace

int WidthOf(char32_t c)
{
    if (c < 0x7F)
        return 1;
    const auto cp = static_cast<UChar32>(c);
    switch (u_charType(cp)) {
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
    case U_FORMAT_CHAR:
        return 0;
    default:
        break;
    }
    switch (u_getIntPropertyValue(cp, UCHAR_HANGUL_SYLLABLE_TYPE)) {
    case U_HST_VOWEL_JAMO:
    case U_HST_TRAILING_JAMO:
        return 0;
    default:
        break;
    }
    switch (u_getIntPropertyValue(cp, UCHAR_EAST_ASIAN_WIDTH)) {
    case U_EA_WIDE:
    case U_EA_FULLWIDTH:
        return 2;
    default:
        break;
    }
    return u_hasBinaryProperty(cp, UCHAR_EMOJI_PRESENTATION) ? 2 : 1;
}

int Count(std::string_view text, int tabSize, int at)
{
    int cell = at;
    for (size_t i = 0; i < text.size();) {
        const size_t plain = PlainEnd(text, i, text.size());
        cell += static_cast<int>(plain - i);
        i = plain;
        if (i < text.size())
            cell += Step(text, i, cell, tabSize);
    }
    return cell - at;
}

int CellOfColumn(std::string_view text, int column, int tabSize, int at)
{
    if (column <= 0)
        return 0;
    int seen = 0;
    int cell = at;
    for (size_t i = 0; seen < column && i < text.size();) {
        // Each plain byte is a column: no more of them than the columns asked.
        const size_t plain = PlainEnd(text, i, i + Room(column - seen));
        seen += static_cast<int>(plain - i);
        cell += static_cast<int>(plain - i);
        i = plain;
        if (seen < column && i < text.size()) {
            cell += Step(text, i, cell, tabSize);
            ++seen;
        }
    }
    return cell - at + (column - seen);
}

int ColumnOfCell(std::string_view text, int cell, int tabSize, int at)
{
    if (cell <= 0)
        return 0;
    const int target = at + cell;
    int column = 0;
    int start = at; // the cell where `column` starts
    for (size_t i = 0; i < text.size();) {
        const size_t plain = PlainEnd(text, i, i + Room(target - start));
        column += static_cast<int>(plain - i);
        start += static_cast<int>(plain - i);
        i = plain;
        if (i >= text.size())
            break;
        size_t next = i;
        const int width = Step(text, next, start, tabSize);
        // Zero-width characters belong to the character before them.
        if (start >= target && width > 0)
            return column;
        start += width;
        ++column;
        i = next;
    }
    return column + (target - start > 0 ? target - start : 0);
}

int ColumnsWithin(std::string_view text, int cells, int tabSize, int at)
{
    if (cells < 0)
        return 0;
    int column = 0;
    int used = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t plain = PlainEnd(text, i, i + Room(cells - used));
        column += static_cast<int>(plain - i);
        used += static_cast<int>(plain - i);
        i = plain;
        if (i >= text.size())
            break;
        size_t next = i;
        const int width = Step(text, next, at + used, tabSize);
        if (used + width > cells)
            break;
        used += width;
        ++column;
        i = next;
    }
    return column;
}

} // namespace tarnwick::cells
