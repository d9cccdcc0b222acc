// Cells of the line store's lines on the editor's grid, at the store's tab
// size. A short line of ASCII without a tab before the column asked about
// has one cell per column and is answered with a scan for a tab, without
// decoding it; a long line answers from its column index.
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
