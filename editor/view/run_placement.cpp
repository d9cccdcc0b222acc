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
TRunPlacement PlaceNarrowRun(std::string_view text, int length, int x, int unit, int right)
{
    TRunPlacement placed;
    placed.Advance = length * unit;
    const int skip = x < 0 ? std::min(length, -x / unit) : 0;
    placed.Left = x + skip * unit;
    const long long room = static_cast<long long>(right) - placed.Left;
    const int shown = static_cast<int>(std::min<long long>(length - skip, (room + unit - 1) / unit));
    if (shown > 0)
        placed.Shown = skip == 0 && shown == length ? text : utf8::Mid(text, skip, shown);
    return placed;
}

} // namespace

TRunPlacement PlaceRun(std::string_view text, int length, int x, int unit, int right)
{
    unit = std::max(1, unit);
    if (text.size() == static_cast<size_t>(length))
        return PlaceNarrowRun(text, length, x, unit, right);

    TRunPlacement placed;
    size_t from = std::string_view::npos;
    size_t to = text.size();
    long long cell = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        const int width = cells::WidthOf(NextCodePoint(text, i));
        const long long left = x + cell * unit;
        if (width > 0) {
            if (from == std::string_view::npos && left + width * unit > 0 && left < right) {
                from = start;
                placed.Left = static_cast<int>(left);
            } else if (from != std::string_view::npos && to == text.size() && left >= right) {
                to = start;
            }
        }
        cell += width;
    }
    placed.Advance = static_cast<int>(cell * unit);
    if (from != std::string_view::npos)
        placed.Shown = text.substr(from, to - from);
    return placed;
}

} // namespace tarnwick
