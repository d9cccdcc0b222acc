// Where the characters of a line fall on the editor's fixed-pitch grid.
// Columns count code points; a character takes two cells when it is wide in
// a fixed-width grid, none when it is drawn on the character before it, and
// one otherwise. Past the end of a line every column is one cell, as the
// caret may stand there. Widths come from the Unicode data in ICU.
#pragma once

#include <string_view>

namespace tarnwick::cells {

// 2 for East Asian Wide and Fullwidth characters and emoji shown as emoji
// by default; 0 for combining marks, format characters (zero-width space,
// joiners) and the vowel and final jamo that join a Hangul syllable; 1 for
// every other code point, control codes included.
int WidthOf(char32_t c);

// Cells taken by `text`.
int Count(std::string_view text);

// The cell at which column `column` starts: the cells of the characters
// before it, plus one per column past the end of the text.
int CellOfColumn(std::string_view text, int column);

// The column of the character that starts at `cell`. A cell inside a wide
// character gives the column after it (and after the zero-width characters
// drawn on it), so the right half of a wide character stands for the place
// after it and no column ever falls inside one. Cells past the end give one
// column each.
int ColumnOfCell(std::string_view text, int cell);

// How many characters from the start of `text` fit into `cells` cells: a
// wide character that would reach past them does not, the zero-width
// characters after one that fits do.
int ColumnsWithin(std::string_view text, int cells);

} // namespace tarnwick::cells
