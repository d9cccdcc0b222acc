// Where the characters of one run fall on a row of grid cells, and which of
// them reach into the drawn part of the row, so a long line scrolled far to
// the right hands the canvas no more than a short one.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

struct TRunPlacement {
    // The cells the whole run takes, and those in pixels.
    int Cells = 0;
    int Advance = 0;
    // The characters that reach into [0, right), the x of the first, and the
    // cell of the line it starts at.
    std::string_view Shown;
    int Left = 0;
    int ShownCell = 0;
};

// `text` holds `length` characters, starts at cell `cell` of its line (where
// its tabs' stops count from) and at x; cells are `unit` pixels wide. A wide
// character or a tab cut by the left edge is shown whole (the target clips
// it); zero-width characters stay with the character before them.
TRunPlacement PlaceRun(std::string_view text, int length, int cell, int tabSize, int x, int unit, int right);

// `text`, starting at cell `cell` of its line, with each tab turned into the
// blanks of the cells it reaches across: a canvas draws no tab.
std::string BlankTabs(std::string_view text, int cell, int tabSize);

} // namespace tarnwick
