#include "editor/document/line_cells.h"

#include "editor/base/text_cells.h"

#include <algorithm>
#include <cstring>

namespace tarnwick {

namespace {

// Whether the first `count` columns of `line` (its text) take one cell each:
// its bytes are as many as its characters and none of those bytes is a tab.
// A tab further on moves none of them.
bool OneCellEach(const REdoDodiStrings &store, int line, std::string_view text, int count)
{
    if (text.size() != static_cast<size_t>(store.LineLength(line)))
        return false;
    const size_t n = std::min(text.size(), static_cast<size_t>(std::max(count, 0)));
    return n == 0 || std::memchr(text.data(), '\t', n) == nullptr;
}

} // namespace

int LineCells(const REdoDodiStrings &store, int line)
{
    if (line < 0 || line >= store.Count())
        return 0;
    const std::string &text = store.Get(line);
    if (const TColumnIndex *index = store.ColumnIndexOf(line))
        return index->Cells();
    if (OneCellEach(store, line, text, static_cast<int>(text.size())))
        return static_cast<int>(text.size());
    return cells::Count(text, store.TabSize());
}

int CellOfColumn(const REdoDodiStrings &store, int line, int column)
{
    if (line < 0 || line >= store.Count())
        return column;
    const std::string &text = store.Get(line);
    if (const TColumnIndex *index = store.ColumnIndexOf(line))
        return index->CellOf(text, column);
    if (OneCellEach(store, line, text, column))
        return column;
    return cells::CellOfColumn(text, column, store.TabSize());
}

int ColumnOfCell(const REdoDodiStrings &store, int line, int cell)
{
    if (line < 0 || line >= store.Count())
        return cell;
    const std::string &text = store.Get(line);
    if (const TColumnIndex *index = store.ColumnIndexOf(line))
        return index->ColumnOfCell(text, cell);
    // The cells before `cell` are as many characters when none is a tab.
    if (OneCellEach(store, line, text, cell))
        return cell;
    return cells::ColumnOfCell(text, cell, store.TabSize());
}

} // namespace tarnwick
