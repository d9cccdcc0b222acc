#include "editor/view/run_placement.h"

#include "editor/base/text_case.h"
#include "editor/base/text_cells.h"
#include "editor/base/utf8.h"

#include <algorithm>
#include <cstddef>

namespace tarnwick {

namespace {

// One cell per character: whole characters skipped on the left, and as many
// as reach the right edge. Widened, as a printed line has no right edge.
TRunPlacement PlaceNarrowRun(std::string_view text, int length, int cell, int x, int unit, int right)
{
    TRunPlacement placed;
    placed.Cells = length;
    placed.Advance = length * unit;
    const int skip = x < 0 ? std::min(length, -x / unit) : 0;
    placed.Left = x + skip * unit;
    placed.ShownCell = cell + skip;
    const long long room = static_cast<long long>(right) - placed.Left;
    const int shown = static_cast<int>(std::min<long long>(length - skip, (room + unit - 1) / unit));
    if (shown > 0)
        placed.Shown = skip == 0 && shown == length ? text : utf8::Mid(text, skip, shown);
    return placed;
}

} // namespace

TRunPlacement PlaceRun(std::string_view text, int length, int cell, int tabSize, int x, int unit, int right)
{
    unit = std::max(1, unit);
    if (text.size() == static_cast<size_t>(length) && text.find('\t') == std::string_view::npos)
        return PlaceNarrowRun(text, length, cell, x, unit, right);

    TRunPlacement placed;
    size_t from = std::string_view::npos;
    size_t to = text.size();
    long long used = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        const int at = cell + static_cast<int>(used);
        int width = 1;
        if (text[i] == '\t') {
            width = cells::TabCells(at, tabSize);
            ++i;
        } else {
            width = cells::WidthOf(NextCodePoint(text, i));
        }
        const long long left = x + used * unit;
        if (width > 0) {
            if (from == std::string_view::npos && left + width * unit > 0 && left < right) {
                from = start;
                placed.Left = static_cast<int>(left);
                placed.ShownCell = at;
            } else if (from != std::string_view::npos && to == text.size() && left >= right) {
                to = start;
            }
        }
        used += width;
    }
    placed.Cells = static_cast<int>(used);
    placed.Advance = static_cast<int>(used * unit);
    if (from != std::string_view::npos)
        placed.Shown = text.substr(from, to - from);
    return placed;
}

std::string BlankTabs(std::string_view text, int cell, int tabSize)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '\t') {
            const int width = cells::TabCells(cell, tabSize);
            out.append(static_cast<size_t>(width), ' ');
            cell += width;
            ++i;
            continue;
        }
        const size_t start = i;
        cell += cells::WidthOf(NextCodePoint(text, i));
        out.append(text.substr(start, i - start));
    }
    return out;
}

} // namespace tarnwick
