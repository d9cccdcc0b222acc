// Where the characters of a line fall on the editor's fixed-pitch grid.
// Columns count code points; a character takes two cells when it is wide in
// a fixed-width grid, none when it is drawn on the character before it, and
// one otherwise. A tab reaches to the next tab stop, so its cells depend on
// where it starts: stops stand every `tabSize` cells from the start of the
// line. Past the end of a line every column is one cell, as the caret may
// stand there. Widths come from the Unicode data in ICU.
//
// The functions measuring a piece of a line take the cell of the line at
// which the piece starts (`at`, 0 for a whole line), so that its tabs reach
// the right stops; their answers count cells from the start of the piece.
#pragma once

#include <string_view>

namespace tarnwick::cells {

// 2 for East Asian Wide and Fullwidth characters and emoji shown as emoji
// by default; 0 for combining marks, format characters (zero-width space,
// joiners) and the vowel and final jamo that join a Hangul syllable; 1 for
// every other code point, control codes and the tab included (the tab's
// place on the line decides its cells: TabCells).
int WidthOf(char32_t c);

// The cells of a tab that starts at cell `cell` of its line: up to the next
// multiple of `tabSize`. A tab size of 0 or less gives every tab one cell.
inline int TabCells(int cell, int tabSize)
{
    if (tabSize <= 0)
        return 1;
    const int phase = cell % tabSize;
    return tabSize - (phase < 0 ? phase + tabSize : phase);
}

// Cells taken by `text`.
int Count(std::string_view text, int tabSize, int at = 0);

// The cell at which column `column` starts: the cells of the characters
// before it, plus one per column past the end of the text.
int CellOfColumn(std::string_view text, int column, int tabSize, int at = 0);

// The column of the character that starts at `cell`. A cell inside a wide
// character or a tab gives the column after it (and after the zero-width
// characters drawn on it), so only the first cell of a character stands for
// the place before it and no column ever falls inside one. Cells past the
// end give one column each.
int ColumnOfCell(std::string_view text, int cell, int tabSize, int at = 0);

// How many characters from the start of `text` fit into `cells` cells: a
// wide character or a tab that would reach past them does not, the
// zero-width characters after one that fits do.
int ColumnsWithin(std::string_view text, int cells, int tabSize, int at = 0);

} // namespace tarnwick::cells
