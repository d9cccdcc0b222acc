#include "editor/document/line_cells.h"

#include "editor/base/text_cells.h"

namespace tarnwick {

namespace {

bool IsAscii(const REdoDodiStrings &store, int line)
{
    return line < 0 || line >= store.Count() || store.Get(line).size() == static_cast<size_t>(store.LineLength(line));
}

} // namespace

// A long line answers from its column index instead of counting from its start.
int LineCells(const REdoDodiStrings &store, int line)
{
    if (IsAscii(store, line))
        return store.LineLength(line);
    const TColumnIndex *index = store.ColumnIndexOf(line);
    return index ? index->Cells() : cells::Count(store.Get(line));
}

int CellOfColumn(const REdoDodiStrings &store, int line, int column)
{
    if (IsAscii(store, line))
        return column;
    const TColumnIndex *index = store.ColumnIndexOf(line);
    return index ? index->CellOf(store.Get(line), column) : cells::CellOfColumn(store.Get(line), column);
}

int ColumnOfCell(const REdoDodiStrings &store, int line, int cell)
{
    if (IsAscii(store, line))
        return cell;
    const TColumnIndex *index = store.ColumnIndexOf(line);
    return index ? index->ColumnOfCell(store.Get(line), cell) : cells::ColumnOfCell(store.Get(line), cell);
}

} // namespace tarnwick
