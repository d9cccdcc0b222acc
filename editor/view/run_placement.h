// Where the characters of one run fall on a row of grid cells, and which of
// them reach into the drawn part of the row, so a long line scrolled far to
// the right hands the canvas no more than a short one.
#pragma once

#include <string_view>

namespace tarnwick {

struct TRunPlacement {
    // Pixels the whole run takes: its cells times the cell width.
    int Advance = 0;
    // The characters that reach into [0, right), and the x of the first.
    std::string_view Shown;
    int Left = 0;
};

// `text` holds `length` characters and starts at x; cells are `unit` pixels
// wide. A wide character cut by the left edge is shown whole (the target
// clips it); zero-width characters stay with the character before them.
TRunPlacement PlaceRun(std::string_view text, int length, int x, int unit, int right);

} // namespace tarnwick
