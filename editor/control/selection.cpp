// Reading and setting the selection: normalisation, character indexes,
// selected text, select all, collapse and extend.
#include "editor/control/custom_dodi.h"

#include "editor/base/utf8.h"

#include <algorithm>

namespace tarnwick {

void TCustomDodi::NormalizedSelection(TCaretPos &start, TCaretPos &end) const
{
    start = caretState_.SelStart;
    end = caretState_.SelEnd;
    if (end < start)
        std::swap(start, end);
}

TCaretPos TCustomDodi::PositionOfIndex(int index) const
{
    // Before the text, as past its end, there is no position: (0, 0).
    if (index < 0)
        return {0, 0};
    const REdoDodiStrings &store = *ActiveLines();
    long long sum = 0;
    for (int line = 0; line < store.Count(); ++line) {
        const int len = store.LineLength(line);
        const int step = len + 2;
        if (sum + step > index)
            return {static_cast<int>(index - sum), line};
        sum += step;
    }
    return {0, 0};
}

int TCustomDodi::IndexOfPosition(TCaretPos pos) const
{
    const REdoDodiStrings &store = *ActiveLines();
    long long sum = 0;
    const int last = std::min(pos.Line, store.Count());
    for (int line = 0; line < last; ++line)
        sum += store.LineLength(line) + 2;
    if (pos.Line >= 0 && pos.Line < store.Count())
        sum += std::clamp(pos.Col, 0, store.LineLength(pos.Line));
    return static_cast<int>(sum);
}

int TCustomDodi::SelStart() const
{
    const REdoDodiStrings &store = *ActiveLines();
    if (store.Empty())
        return 0;
    TCaretPos start, end;
    NormalizedSelection(start, end);
    return IndexOfPosition(start);
}

void TCustomDodi::SetSelStart(int index)
{
    const int length = SelLength();
    caretState_.SelStart = PositionOfIndex(index);
    caretState_.SelEnd = PositionOfIndex(index + length);
    Invalidate();
}

int TCustomDodi::SelLength() const { return utf8::Length(SelText()); }

void TCustomDodi::SetSelLength(int count)
{
    caretState_.SelEnd = PositionOfIndex(SelStart() + count);
    Invalidate();
}

std::string TCustomDodi::SelText() const
{
    const REdoDodiStrings &store = *ActiveLines();
    if (store.Empty() || caretState_.SelectionEmpty())
        return {};
    TCaretPos start, end;
    NormalizedSelection(start, end);
    auto lineText = [&](int line) -> std::string_view {
        return line >= 0 && line < store.Count() ? std::string_view(store.Get(line)) : std::string_view();
    };
    if (start.Line == end.Line)
        return std::string(utf8::Mid(lineText(start.Line), start.Col, end.Col - start.Col));
    std::string out(utf8::From(lineText(start.Line), start.Col));
    for (int line = start.Line + 1; line <= end.Line; ++line) {
        out += "\r\n";
        if (line == end.Line)
            out += utf8::Left(lineText(line), end.Col);
        else
            out += lineText(line);
    }
    return out;
}

void TCustomDodi::SelectAll()
{
    const REdoDodiStrings &store = *ActiveLines();
    caretState_.SelStart = {0, 0};
    if (!store.Empty()) {
        const int last = store.Count() - 1;
        caretState_.SelEnd = {store.LineLength(last), last};
    } else {
        caretState_.SelEnd = {0, 0};
    }
    Invalidate();
    DoSelectionChange();
}

void TCustomDodi::CollapseSelection()
{
    const bool hadSelection = !caretState_.SelectionEmpty();
    const TCaretPos caret{caretState_.CaretCol, caretState_.CaretLine};
    caretState_.SelStart = caret;
    caretState_.SelEnd = caret;
    caretState_.SelAnchor = caret;
    if (hadSelection) {
        DoSelectionChange();
        Invalidate();
    }
}

void TCustomDodi::ExtendSelection()
{
    const TCaretPos caret{caretState_.CaretCol, caretState_.CaretLine};
    caretState_.SelEnd = caret;
    caretState_.SelAnchor = caret;
    Invalidate();
    DoSelectionChange();
}

} // namespace tarnwick
