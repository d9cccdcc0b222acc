// The control's SearchText: walks the lines from the caret and selects the
// next hit.
#include "editor/control/custom_dodi.h"

#include "editor/document/line_cells.h"
#include "editor/document/search.h"

#include <algorithm>

namespace tarnwick {

int TCustomDodi::SearchText(const std::string &text, TFindOptions options)
{
    if (text.empty())
        return -1;
    const std::u32string needle = CodePoints(text);
    const bool down = options.Contains(frDown);
    const REdoDodiStrings &store = *ActiveLines();
    TCaretPos selStart, selEnd;
    NormalizedSelection(selStart, selEnd);

    for (int i = caretState_.CaretLine;; i += down ? 1 : -1) {
        if (i < 0 || i >= store.Count()) {
            caretState_.SelStart = caretState_.SelEnd = {0, 0};
            Invalidate();
            return -1;
        }
        // Blanks ending a line are padding.
        const std::u32string line = TrimmedCodePoints(store.Get(i));
        TSearchWindow window{0, static_cast<int>(line.size())};
        if (selStart.Line == i && selEnd.Line == i) {
            if (down) {
                if (selEnd.Col >= window.To)
                    continue;
                window.From = selEnd.Col;
            } else {
                window.To = std::min(window.To, selStart.Col);
            }
        }
        const int col = FindInLine(line, needle, window, options, [this](char32_t c) { return IsDelimiter(c); });
        if (col < 0)
            continue;
        SetCaretLine(i);
        SetCaretCol(col);
        const int end = caretState_.CaretCol + static_cast<int>(needle.size());
        // The caret's move shows the hit's first column; the rest of the hit
        // comes into view too, as far as the view is wide.
        const int startCell = CellOfColumn(store, i, CaretCol());
        const int endCell = CellOfColumn(store, i, end);
        if (const int columns = VisibleColumns(); columns > 0 && endCell > LeftColumn() + columns)
            SetLeftColumn(std::min(startCell, endCell - columns));
        caretState_.SelStart = {caretState_.CaretCol, i};
        caretState_.SelEnd = {end, i};
        Invalidate();
        return SelStart();
    }
}

} // namespace tarnwick
