#include "editor/base/text_cells.h"

#include "editor/base/text_case.h"

#include <unicode/uchar.h>

#include <cstring>

namespace tarnwick::cells {

namespace {

// Bytes of `text` before its first non-ASCII byte, looked at eight at a time.
size_t AsciiPrefix(std::string_view text)
{
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        unsigned long long word;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80)
        ++i;
    return i;
}

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

int Count(std::string_view text)
{
    const size_t ascii = AsciiPrefix(text);
    int cells = static_cast<int>(ascii);
    for (size_t i = ascii; i < text.size();)
        cells += WidthOf(NextCodePoint(text, i));
    return cells;
}

int CellOfColumn(std::string_view text, int column)
{
    if (column <= 0)
        return 0;
    const size_t ascii = AsciiPrefix(text.substr(0, static_cast<size_t>(column)));
    int seen = static_cast<int>(ascii);
    int cells = seen;
    for (size_t i = ascii; seen < column && i < text.size(); ++seen)
        cells += WidthOf(NextCodePoint(text, i));
    return cells + (column - seen);
}

int ColumnOfCell(std::string_view text, int cell)
{
    if (cell <= 0)
        return 0;
    const size_t ascii = AsciiPrefix(text.substr(0, static_cast<size_t>(cell)));
    int column = static_cast<int>(ascii);
    int at = column; // the cell where `column` starts
    size_t i = ascii;
    while (i < text.size()) {
        size_t next = i;
        const int width = WidthOf(NextCodePoint(text, next));
        // Zero-width characters belong to the character before them.
        if (at >= cell && width > 0)
            return column;
        at += width;
        ++column;
        i = next;
    }
    return column + (cell - at > 0 ? cell - at : 0);
}

int ColumnsWithin(std::string_view text, int cells)
{
    if (cells < 0)
        return 0;
    const size_t ascii = AsciiPrefix(text.substr(0, static_cast<size_t>(cells)));
    int column = static_cast<int>(ascii);
    int used = column;
    for (size_t i = ascii; i < text.size(); ++column) {
        const int width = WidthOf(NextCodePoint(text, i));
        if (used + width > cells)
            break;
        used += width;
    }
    return column;
}

} // namespace tarnwick::cells
