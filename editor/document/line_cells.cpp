#include "editor/document/line_cells.h"

#include "editor/base/text_cells.h"

namespace tarnwick {

namespace {

bool IsAscii(const REdoDodiStrings &store, int line)
{
    return line < 0 || line >= store.Count() || store.Get(line).size() == static_cast<size_t>(store.LineLength(line));
}

} // namespace

int LineCells(const REdoDodiStrings &store, int line)
{
    return IsAscii(store, line) ? store.LineLength(line) : cells::Count(store.Get(line));
}

int CellOfColumn(const REdoDodiStrings &store, int line, int column)
{
    return IsAscii(store, line) ? column : cells::CellOfColumn(store.Get(line), column);
}

int ColumnOfCell(const REdoDodiStrings &store, int line, int cell)
{
    return IsAscii(store, line) ? cell : cells::ColumnOfCell(store.Get(line), cell);
}

} // namespace tarnwick
