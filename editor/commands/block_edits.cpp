#include "editor/commands/block_edits.h"

#include "editor/base/utf8.h"
#include "editor/commands/edit_session.h"
#include "editor/commands/edit_target.h"
#include "editor/commands/line_edits.h"
#include "editor/document/line_store.h"
#include "editor/undo/undo_list.h"

#include <algorithm>
#include <vector>

namespace tarnwick {

namespace {

// Pieces of `text` between CR LF pairs; a trailing CR LF gives an empty last piece.
std::vector<std::string> SplitAtLineBreaks(const std::string &text)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        const size_t brk = text.find("\r\n", start);
        if (brk == std::string::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, brk - start));
        start = brk + 2;
    }
}

} // namespace

void TBlockEdits::DeleteSelection(bool repaint)
{
    TCaretState &state = ed_.CaretState();
    if (state.SelectionEmpty())
        return;
    TLineEdits lines(ed_);
    const auto outside = [&](TCaretPos p) { return p.Line < 0 || p.Line >= lines.Count(); };
    if (outside(state.SelStart) || outside(state.SelEnd)) {
        state.SelStart = state.SelEnd = TCaretPos{};
        return;
    }
    TEditScope scope(ed_);
    const TCaretPos caret{ed_.CaretCol(), ed_.CaretLine()};
    TCaretPos start;
    TCaretPos end;
    ed_.NormalizedSelection(start, end);
    // Columns past a line end select nothing there; clamped, the record holds
    // only positions that exist, which undo can select again.
    start.Col = std::clamp(start.Col, 0, lines.Length(start.Line));
    end.Col = std::clamp(end.Col, 0, lines.Length(end.Line));
    state.SelStart = start;
    state.SelEnd = end;
    if (start == end) {
        ed_.CollapseSelection();
        return;
    }
    std::string removed = ed_.SelText();

    std::string joined = std::string(utf8::Left(lines.Text(start.Line), start.Col)) +
                         std::string(utf8::From(lines.Text(end.Line), end.Col));
    if (ed_.TrimTrailingSpaces())
        joined.resize(text::TrimRightSpaces(joined).size());
    lines.Replace(start.Line, std::move(joined));
    lines.RemoveLines(start.Line + 1, end.Line - start.Line);
    lines.MoveCaret(start);
    ed_.CollapseSelection();

    ed_.DoSelectionChange();
    if (repaint)
        ed_.Invalidate();
    scope.Changed(TChangeNotice::Full);
    ed_.UndoList().Add(std::make_unique<TDeleteBufUndo>(caret.Col, caret.Line, ed_.CaretCol(), ed_.CaretLine(),
                                                        std::move(removed), start.Col, start.Line, end.Col, end.Line));
    ed_.CollapseSelection();
}

void TBlockEdits::ConvertLineEnds(TLineEnd style)
{
    TLineEdits lines(ed_);
    REdoDodiStrings &store = lines.Store();
    if (store.LineEndStyle() == style && store.AllLinesEndWith(style))
        return;
    TEditScope scope(ed_);
    store.ConvertLineEnds(style);
    scope.Changed(TChangeNotice::Light);
    const TCaretPos caret{ed_.CaretCol(), ed_.CaretLine()};
    ed_.UndoList().Add(std::make_unique<TUndo>(caret.Col, caret.Line, caret.Col, caret.Line, ""));
}

void TBlockEdits::InsertText(const std::string &text)
{
    TEditScope scope(ed_);
    TLineEdits lines(ed_);
    std::string inserted = text;
    const int selStartBefore = ed_.SelStart();
    TCaretPos at;
    TCaretPos selEnd;
    ed_.NormalizedSelection(at, selEnd);
    if (!ed_.CaretState().SelectionEmpty()) {
        DeleteSelection(false);
        at = ed_.CaretState().SelStart;
    }
    lines.EnsureLine();
    at.Line = std::clamp(at.Line, 0, lines.Count() - 1);
    at.Col = std::max(0, at.Col);
    const int length = lines.Length(at.Line);
    if (at.Col > length) {
        // Past the line end the text lands after blanks (which become part of
        // the recorded text) with AutoExpand, else right at the end.
        if (ed_.AutoExpand())
            inserted.insert(0, text::Spaces(at.Col - length));
        at.Col = length;
    }
    if (inserted.empty())
        return;
    lines.MoveCaret(at);

    const std::vector<std::string> pieces = SplitAtLineBreaks(inserted);
    const std::string line(lines.Text(at.Line));
    const std::string left(utf8::Left(line, at.Col));
    const std::string right(utf8::From(line, at.Col));
    TCaretPos end;
    if (pieces.size() == 1) {
        lines.Replace(at.Line, left + inserted + right);
        end = {at.Col + utf8::Length(inserted), at.Line};
    } else {
        lines.Replace(at.Line, left + pieces.front());
        std::vector<std::string> block(pieces.begin() + 1, pieces.end());
        block.back() += right;
        lines.InsertLines(at.Line + 1, std::move(block));
        end = {utf8::Length(pieces.back()), at.Line + static_cast<int>(pieces.size()) - 1};
    }
    lines.MoveCaret(end);
    scope.Changed(TChangeNotice::Full);
    const int insertedLength = utf8::Length(inserted);
    ed_.UndoList().Add(std::make_unique<TPasteUndo>(at.Col, at.Line, end.Col, end.Line, std::move(inserted)));
    if (pieces.size() == 1 && ed_.WordWrap() != wwNone) {
        // Re-wrapped text is shown selected from where the insertion began.
        ed_.SetSelStart(selStartBefore);
        ed_.SetSelLength(insertedLength);
        return;
    }
    ed_.CollapseSelection();
    ed_.Invalidate();
}

void TBlockEdits::Clear()
{
    TEditScope scope(ed_);
    TLineEdits lines(ed_);
    REdoDodiStrings &store = lines.Store();
    TCaretState &caret = ed_.CaretState();
    TViewState &view = ed_.ViewState();
    const bool hadText = store.Count() > 1 || lines.Length(0) > 0;
    std::string removed;
    const int lastLine = store.Count() - 1;
    const int lastLength = lines.Length(lastLine);
    if (hadText) {
        removed = store.Text();
        removed.resize(removed.size() - 2);
    }
    ed_.SetCaretCol(0);
    ed_.SetCaretLine(0);
    view.TopLine = 0;
    view.LeftColumn = 0;
    // Removed as lines, not cleared: the removal is recorded for undo.
    store.RemoveLines(0, store.Count());
    ed_.Invalidate();
    ed_.SetCaretDirect(0, 0);
    caret.SelStart = caret.SelEnd = caret.SelAnchor = TCaretPos{};
    view.MaxLineLength = 0;
    ed_.EditSession().MaxLengthStale = false;
    ed_.InvalidateStateCaches();
    scope.Changed(TChangeNotice::Full);
    // Clearing by mistake can be undone like deleting everything selected.
    if (hadText)
        ed_.UndoList().Add(
            std::make_unique<TDeleteBufUndo>(0, 0, 0, 0, std::move(removed), 0, 0, lastLength, lastLine));
}

} // namespace tarnwick
