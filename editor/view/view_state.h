// TViewState: what the view shows of the text and how: its origin, the cell
// geometry, the highlighted lines and the tokenizer state at its top line.
#pragma once

#include "editor/base/run_state.h"

namespace tarnwick {

// A matched block keyword for highlighting; Line -1 means none.
struct TBlockRange {
    int Line = -1;
    int Col = -1;
    int Length = -1;
    bool operator==(const TBlockRange &) const = default;
};

struct TViewState {
    // The view starts with row TopSubRow of TopLine: 0 unless word wrap shows
    // that line in several rows and the first of them are scrolled away.
    int TopLine = 0;
    int TopSubRow = 0;
    int LeftColumn = 0;
    // The horizontal scroll range: the longest line, or the caret's column
    // when it stands further right.
    int MaxLineLength = 0;
    // Cell geometry from the font; 0 until the font was measured.
    int CharWidth = 0;
    int LineHeight = 0;

    // The tokenizer's state at the start of TopStateLine; -1 = none stored.
    int TopStateLine = -1;
    RunState TopState;

    int ActiveLine = -1;
    TBlockRange BlockStart;
    TBlockRange BlockEnd;
    int FoldRegionCount = 0;
    bool ScrollBarUpdatesSuspended = false;
};

} // namespace tarnwick
