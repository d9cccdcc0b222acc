// Cells of the line store's lines on the editor's grid. A line whose bytes
// are as many as its characters is all ASCII, one cell per column, and is
// answered without looking at its text: such lines measure as they always
// did, at no cost.
#pragma once

#include "editor/document/line_store.h"

namespace tarnwick {

// The cells the text of `line` takes.
int LineCells(const REdoDodiStrings &store, int line);
// The cell at which `column` of `line` starts; past the end one per column.
int CellOfColumn(const REdoDodiStrings &store, int line, int column);
// The column standing for `cell` of `line` (cells::ColumnOfCell).
int ColumnOfCell(const REdoDodiStrings &store, int line, int cell);

} // namespace tarnwick
