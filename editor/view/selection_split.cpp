#include "editor/view/selection_split.h"

#include <algorithm>

namespace tarnwick {

TRunSplit SplitRunBySelection(int line, int column, int length, TCaretPos selStart, TCaretPos selEnd, bool hidden)
{
    const TRunSplit before{length, length};
    const TRunSplit selected{0, length};
    if (hidden || line < selStart.Line || line > selEnd.Line)
        return before;
    if (selStart.Line < line && line < selEnd.Line)
        return selected;

    int s = 0;
    int e = length;
    if (selStart.Line == selEnd.Line) {
        if (selStart.Col == selEnd.Col || selStart.Col >= column + length)
            return before;
        if (column >= selEnd.Col)
            return {0, 0};
        s = selStart.Col - column;
        e = selEnd.Col - column;
    } else if (line == selStart.Line) {
        s = selStart.Col - column;
    } else {
        e = selEnd.Col - column;
    }
    e = std::clamp(e, 0, length);
    s = std::clamp(s, 0, length);
    // A selection that ends before it starts within the run selects nothing.
    return {s, std::max(s, e)};
}

} // namespace tarnwick
