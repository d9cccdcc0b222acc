#include "editor/commands/deletion.h"

#include "editor/base/utf8.h"
#include "editor/commands/edit_session.h"
#include "editor/commands/edit_target.h"
#include "editor/commands/line_edits.h"
#include "editor/undo/undo_list.h"

#include <algorithm>

namespace tarnwick {

namespace {

bool IsSpaceOrTab(char32_t c) { return c == U' ' || c == U'\t'; }

TCaretPos CaretOf(const TEditTarget &ed) { return {ed.CaretCol(), ed.CaretLine()}; }

} // namespace

void TDeletion::Backspace(bool plain)
{
    TLineEdits lines(ed_);
    if (lines.Count() == 0)
        return;
    // Joining onto a collapsed region's first line opens the region.
    if (ed_.CaretCol() == 0 && lines.CaretLine() > 0)
        ed_.SetExpanded(ed_.LineOfVisibleIndex(ed_.VisibleIndexOf(lines.CaretLine()) - 1), true);
    TEditScope scope(ed_);
    TUndoGroup group(ed_.UndoList());
    if (!plain && ed_.SmartTabs() && SmartBackspace()) {
        scope.Changed(TChangeNotice::Full);
        return;
    }
    const TCaretPos from = CaretOf(ed_);
    if (!StepLeft())
        return;
    DeleteCharAt(from);
}

bool TDeletion::StepLeft()
{
    TEditScope scope(ed_);
    TLineEdits lines(ed_);
    const TCaretPos before = CaretOf(ed_);
    const int y = lines.CaretLine();
    const int target = ed_.CaretCol() - 1;
    const int length = lines.Length(y);
    if (target > length && ed_.AutoExpand()) {
        // The pad the caret setter would add is made here, recorded, so that
        // undo removes it with the rest of the backspace.
        lines.PadTo(y, target);
        ed_.UndoList().Add(std::make_unique<TInsertCharUndo>(length, y, target, y, text::Spaces(target - length)));
        scope.Changed(TChangeNotice::Full);
    }
    ed_.SetCaretCol(target);
    ed_.CollapseSelection();
    return !(CaretOf(ed_) == before);
}

void TDeletion::DeleteCharAt(std::optional<TCaretPos> from)
{
    TEditScope scope(ed_);
    TLineEdits lines(ed_);
    ed_.CollapseSelection();
    const int y = lines.CaretLine();
    const int x = ed_.CaretCol();
    const int length = lines.Length(y);

    if (x < length) {
        const TCaretPos origin = from.value_or(TCaretPos{x, y});
        std::string removed(lines.Chars(y, x, 1));
        lines.ReplaceChars(y, x, 1, {});
        ed_.UndoList().Add(
            std::make_unique<TDeleteCharUndo>(origin.Col, origin.Line, x, y, std::move(removed), from.has_value()));
    } else if (y + 1 < lines.Count()) {
        // The record holds the join point, the old line end, even when the
        // caret stands past it: undo splits there. A Backspace from past the
        // end of this same line is recorded as a Delete there too.
        const bool backspace = from.has_value() && from->Line != y;
        const TCaretPos origin = backspace ? *from : TCaretPos{length, y};
        lines.ReplaceChars(y, length, 0, std::string(lines.Text(y + 1)));
        lines.MoveMarkersUp(y + 1);
        lines.RemoveLines(y + 1, 1);
        ed_.UndoList().Add(std::make_unique<TDeleteCharUndo>(origin.Col, origin.Line, length, y, "\r", backspace));
        ed_.ScanRegions();
    } else {
        return;
    }
    scope.Changed(TChangeNotice::Full);
}

void TDeletion::DeleteWordLeft()
{
    TLineEdits lines(ed_);
    if (lines.Count() == 0)
        return;
    TEditScope scope(ed_);
    TUndoGroup group(ed_.UndoList());
    const int line = lines.CaretLine();
    const int length = lines.Length(line);
    const int column = ed_.CaretCol();
    if (column > 0 && column <= length) {
        // Within the line the word goes in one edit, the one record the
        // single steps below would merge into.
        const std::string_view text = lines.Text(line);
        const size_t end = lines.ByteOf(line, column);
        size_t at = text::PreviousChar(text, end);
        int start = column - 1;
        for (size_t before = text::PreviousChar(text, at); start > 0 && text[before] != ' ';
             before = text::PreviousChar(text, at)) {
            at = before;
            --start;
        }
        std::string removed(text.substr(at, end - at));
        ed_.SetCaretCol(start);
        ed_.CollapseSelection();
        lines.ReplaceChars(line, start, column - start, {});
        ed_.UndoList().Add(std::make_unique<TDeleteCharUndo>(column, line, start, line, std::move(removed), true));
        scope.Changed(TChangeNotice::Full);
        return;
    }
    for (;;) {
        const TCaretPos from = CaretOf(ed_);
        if (!StepLeft())
            break;
        DeleteCharAt(from);
        const int col = ed_.CaretCol();
        // Stops at the start of the word: the character before the caret, as
        // the line was before the command, is a space (or there is none).
        // Only what lies right of the caret has changed since.
        if (ed_.CaretLine() != line || col <= 0 || col > length || lines.Chars(line, col - 1, 1) == " ")
            break;
    }
}

bool TDeletion::SmartBackspace()
{
    TLineEdits lines(ed_);
    const int y = lines.CaretLine();
    const int c = ed_.CaretCol();
    const std::string line(lines.Text(y));
    const int length = lines.Length(y);
    if (length == 0 || c <= 0 || c > length || !text::AllSpaces(utf8::Left(line, c)))
        return false;
    const int d = std::clamp(SmartBackspaceColumn(c, y), 0, c - 1);
    std::string removed(utf8::Mid(line, d, c - d));
    lines.Replace(y, std::string(utf8::Left(line, d)) + std::string(utf8::From(line, c)));
    ed_.SetCaretCol(d);
    ed_.CollapseSelection();
    // Recorded as the backspaces it stands for, so undo gives the spaces back.
    ed_.UndoList().Add(std::make_unique<TDeleteCharUndo>(c, y, d, y, std::move(removed), true));
    return true;
}

// The start of the word, in the nearest line above long enough, that lies at
// or left of two columns before the caret.
int TDeletion::SmartBackspaceColumn(int column, int line)
{
    const int start = column - 2;
    if (line == 0 || start < 0)
        return column - 1;
    TLineEdits lines(ed_);
    for (int i = line - 1; i >= 0; --i) {
        if (lines.Length(i) <= start + 1)
            continue;
        const std::u32string prefix = text::Decode(utf8::Left(lines.Text(i), start + 1));
        int col = start;
        while (col >= 0 && IsSpaceOrTab(prefix[col]))
            --col;
        if (col < 0)
            continue;
        while (col > 0 && !IsSpaceOrTab(prefix[col - 1]))
            --col;
        return col;
    }
    return column - 1;
}

void TDeletion::DeleteLine()
{
    if (!ed_.CanModify())
        return;
    TLineEdits lines(ed_);
    if (lines.Count() == 0)
        return;
    TEditScope scope(ed_);
    const int y = lines.CaretLine();
    const int x = ed_.CaretCol();
    std::string text(lines.Text(y));
    ed_.SetCaretCol(0);
    ed_.MarkerList()->Markers().RemoveMarker(y);
    TDeleteLineUndo::TPlace place = TDeleteLineUndo::dlRemoved;
    if (lines.Count() == 1) {
        lines.Replace(0, "");
        place = TDeleteLineUndo::dlEmptied;
    } else if (y == lines.Count() - 1) {
        ed_.SetCaretLine(y - 1);
        lines.RemoveLines(y, 1);
        place = TDeleteLineUndo::dlRemovedLast;
    } else {
        lines.RemoveLines(y, 1);
    }
    ed_.CollapseSelection();
    ed_.Invalidate();
    ed_.UndoList().Add(
        std::make_unique<TDeleteLineUndo>(x, y, ed_.CaretCol(), ed_.CaretLine(), std::move(text), place));
    scope.Changed(TChangeNotice::Full);
}

} // namespace tarnwick
