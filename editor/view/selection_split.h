// How the selection cuts one run of a line into the part before it, the
// selected part and the part after it.
#pragma once

#include "editor/base/editor_types.h"

namespace tarnwick {

// Characters [0, Start) come before the selection, [Start, End) are selected
// and [End, length) come after it. 0 <= Start <= End <= length.
struct TRunSplit {
    int Start = 0;
    int End = 0;
    bool operator==(const TRunSplit &) const = default;
};

// The run starts at column `column` of `line` and is `length` characters long;
// selStart and selEnd are in document order. A hidden selection leaves the
// whole run before it.
TRunSplit SplitRunBySelection(int line, int column, int length, TCaretPos selStart, TCaretPos selEnd, bool hidden);

} // namespace tarnwick
