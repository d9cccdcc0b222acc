#include "editor/commands/typing.h"

#include "editor/base/utf8.h"
#include "editor/commands/edit_session.h"
#include "editor/commands/edit_target.h"
#include "editor/commands/line_edits.h"
#include "editor/undo/undo_list.h"

#include <algorithm>

namespace tarnwick {

namespace {

bool IsBlankByte(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Spaces a new line starts with: the caret line's leading spaces, looking at
// no more than its first length - 1 characters; a line of spaces only gives
// up to the caret, so Enter at the end of a blank line keeps its whole width.
int IndentLength(std::string_view line, int length, int caretCol)
{
    const int limit = length - 1;
    int n = 0;
    while (n < limit && line[n] == ' ')
        ++n;
    if (n == limit)
        while (n < caretCol && n < length && line[n] == ' ')
            ++n;
    return n;
}

} // namespace

void TTyping::TypeChar(char32_t ch)
{
    TEditScope scope(ed_);
    TLineEdits lines(ed_);
    const int y = lines.CaretLine();
    const int x0 = ed_.CaretCol();
    const int length = lines.Length(y);
    const bool overwrite = ed_.Overwrite();

    if (ch == U'\t') {
        const int tab = ed_.TabSize();
        if (overwrite && x0 + tab < length) {
            // Overwrite mode steps over existing text instead of inserting. No
            // record: an empty one would merge into the typing before it and
            // move its end away from the text it has to take out.
            ed_.SetCaretCol(x0 + tab);
            ed_.CollapseSelection();
            return;
        }
        if (overwrite)
            InsertAtCaret(text::Spaces(x0 + tab - length), length);
        else
            InsertAtCaret(text::Spaces(tab), x0);
        return;
    }

    if (overwrite && length >= x0 + 1) {
        const std::string typed = utf8::Encode(ch);
        std::string replaced(lines.Chars(y, x0, 1));
        lines.ReplaceChars(y, x0, 1, typed);
        const TCaretPos end{x0 + 1, y};
        lines.MoveCaret(end);
        ed_.CollapseSelection();
        ed_.UndoList().Add(std::make_unique<TOverwriteUndo>(x0, y, end.Col, end.Line, typed, std::move(replaced)));
        scope.Changed(TChangeNotice::Light);
        return;
    }
    InsertAtCaret(utf8::Encode(ch), x0);
}

// Inserts `s` into the caret line at `column`. A column past the end of the
// line is reached with spaces that become part of the recorded text, so that
// undo takes them away again.
void TTyping::InsertAtCaret(const std::string &s, int column)
{
    TEditScope scope(ed_);
    TLineEdits lines(ed_);
    const int y = lines.CaretLine();
    const int length = lines.Length(y);
    std::string inserted = s;
    if (column > length) {
        inserted.insert(0, text::Spaces(column - length));
        column = length;
    }
    lines.InsertInLine(y, column, inserted);
    const TCaretPos end{column + utf8::Length(inserted), y};
    lines.MoveCaret(end);
    ed_.CollapseSelection();
    ed_.UndoList().Add(std::make_unique<TInsertCharUndo>(column, y, end.Col, end.Line, std::move(inserted)));
    scope.Changed(TChangeNotice::Light);
}

void TTyping::NewLine()
{
    if (!ed_.CanModify())
        return;
    TEditScope scope(ed_);
    TUndoGroup group(ed_.UndoList());
    TLineEdits lines(ed_);
    const int y = lines.CaretLine();
    // A line begun under a collapsed region's first line opens the region.
    ed_.SetExpanded(y, true);
    const int x0 = ed_.CaretCol();
    // Read before the line is cut; the tail is copied out of it first.
    const std::string_view line = lines.Text(y);
    const int indent = ed_.AutoIndent() ? IndentLength(line, lines.Length(y), x0) : 0;

    const std::string_view rest = line.substr(lines.ByteOf(y, x0));
    // The blanks the split leaves at either side of the new line go (the
    // undo list records them with the rest of the edit).
    std::string_view core = text::TrimRightBlanks(rest);
    if (ed_.AutoIndent())
        core.remove_prefix(static_cast<size_t>(text::LeadingSpaces(core)));
    const std::string tail = text::Spaces(indent) + std::string(core);
    lines.CutLine(y, x0);
    lines.InsertLine(y + 1, tail);
    const TCaretPos end{indent, y + 1};
    lines.MoveCaret(end);
    ed_.CollapseSelection();
    ed_.UndoList().Add(std::make_unique<TInsertCharUndo>(x0, y, end.Col, end.Line, "\r" + text::Spaces(indent)));
    scope.Changed(TChangeNotice::Full);
}

void TTyping::Tab(TShiftState shift)
{
    TLineEdits lines(ed_);
    if (ed_.SmartTabs() && lines.Count() > 0) {
        if (!ed_.CanModify())
            return;
        TEditScope scope(ed_);
        TUndoGroup group(ed_.UndoList());
        const int y = lines.CaretLine();
        const int p = ed_.CaretCol();
        const std::string indent = SmartIndent(p, y);
        if (indent.empty()) {
            TypeChar(U'\t');
            scope.Changed(TChangeNotice::Full);
            return;
        }
        const int length = lines.Length(y);
        if (p > length) {
            lines.PadTo(y, p);
            ed_.UndoList().Add(std::make_unique<TInsertCharUndo>(length, y, p, y, text::Spaces(p - length)));
        }
        const std::string line(lines.Text(y));
        const std::string_view rest = utf8::From(line, p);
        const std::string_view core = text::TrimRightBlanks(rest);
        lines.Replace(y, std::string(utf8::Left(line, p)) + indent + std::string(core));
        const TCaretPos end{p + static_cast<int>(indent.size()), y};
        lines.MoveCaret(end);
        ed_.CollapseSelection();
        ed_.UndoList().Add(std::make_unique<TInsertCharUndo>(p, y, end.Col, end.Line, indent));
        scope.Changed(TChangeNotice::Full);
        return;
    }
    if (shift.Contains(ssCtrl))
        return;
    if (shift.Contains(ssShift)) {
        ed_.SetCaretCol(std::max(0, ed_.CaretCol() - ed_.TabSize()));
        return;
    }
    if (!ed_.CanModify())
        return;
    TypeChar(U'\t');
}

std::string TTyping::SmartIndent(int column, int line)
{
    TLineEdits lines(ed_);
    for (int i = line - 1; i >= 0; --i) {
        if (lines.Length(i) <= column)
            continue;
        const std::string_view t = lines.Text(i);
        size_t b = utf8::ByteOffset(t, column);
        int col = column;
        while (b < t.size() && !IsBlankByte(t[b])) {
            ++b;
            while (b < t.size() && (static_cast<unsigned char>(t[b]) & 0xC0) == 0x80)
                ++b;
            ++col;
        }
        while (b < t.size() && (t[b] == ' ' || t[b] == '\t')) {
            ++b;
            ++col;
        }
        if (b < t.size())
            return text::Spaces(col - column);
    }
    return {};
}

} // namespace tarnwick
