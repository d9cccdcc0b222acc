#include "editor/undo/undo_records.h"

#include "editor/commands/block_edits.h"
#include "editor/control/custom_dodi.h"
#include "editor/commands/deletion.h"
#include "editor/platform/host.h"
#include "editor/commands/line_edits.h"
#include "editor/commands/typing.h"
#include "editor/base/utf8.h"

namespace tarnwick {

bool TUndo::Merge(TUndo &) { return false; }

bool TInsertCharUndo::Merge(TUndo &newer)
{
    auto *next = dynamic_cast<TInsertCharUndo *>(&newer);
    if (!next || !next->StartsAtEndOf(*this))
        return false;
    Text += next->Text;
    EndX = next->EndX;
    EndY = next->EndY;
    return true;
}

// Removes the inserted characters from the caret backwards, each only when it
// is the one left of the caret (a line break when the caret is at column 0).
void TInsertCharUndo::DoUndo()
{
    TCustomDodi &ed = *Editor;
    const std::u32string chars = text::Decode(Text);
    for (auto it = chars.rbegin(); it != chars.rend(); ++it) {
        const int col = ed.CaretCol();
        const bool matches = *it == U'\r'
                                 ? col == 0
                                 : col > 0 && utf8::At(TLineEdits(ed).Text(ed.CaretLine()), col - 1) == *it;
        if (matches)
            TDeletion(ed).Backspace(true);
    }
}

void TInsertCharUndo::DoRedo()
{
    TTyping typing(*Editor);
    for (char32_t c : text::Decode(Text)) {
        if (c == U'\r')
            typing.SplitLine();
        else
            typing.InsertRaw(c);
    }
}

bool TDeleteCharUndo::Merge(TUndo &newer)
{
    auto *next = dynamic_cast<TDeleteCharUndo *>(&newer);
    if (!next || next->IsBackspace != IsBackspace || !next->StartsAtEndOf(*this))
        return false;
    Text = next->Text + Text;
    EndX = next->EndX;
    EndY = next->EndY;
    return true;
}

void TDeleteCharUndo::DoUndo()
{
    TCustomDodi &ed = *Editor;
    TTyping typing(ed);
    for (char32_t c : text::Decode(Text)) {
        if (!IsBackspace) {
            ed.SetCaretLine(StartY);
            ed.SetCaretCol(StartX);
        }
        if (c == U'\r')
            typing.SplitLine();
        else
            typing.InsertRaw(c);
        ed.Invalidate();
    }
}

void TDeleteCharUndo::DoRedo()
{
    TDeletion deletion(*Editor);
    for (size_t n = text::Decode(Text).size(); n > 0; --n) {
        if (IsBackspace)
            deletion.Backspace(true);
        else
            deletion.DeleteChar();
    }
}

void TDeleteLineUndo::DoUndo()
{
    TCustomDodi &ed = *Editor;
    ed.CollapseSelection();
    TBlockEdits edits(ed);
    switch (Place) {
    case dlRemoved:
        edits.InsertText(Text + "\r\n");
        break;
    case dlRemovedLast:
        // The caret went up to the line above: the line goes back below it,
        // where it was.
        ed.SetCaretCol(ed.ActiveLines()->LineLength(ed.CaretLine()));
        ed.CollapseSelection();
        edits.InsertText("\r\n" + Text);
        break;
    case dlEmptied:
        edits.InsertText(Text);
        break;
    }
}

void TDeleteLineUndo::DoRedo() { TDeletion(*Editor).DeleteLine(); }

void TSelUndo::SelectStored()
{
    TEditorState &state = Editor->State();
    state.SelStart = {SelStartX, SelStartY};
    state.SelEnd = {SelEndX, SelEndY};
    state.SelAnchor = state.SelEnd;
    Editor->Invalidate();
    Editor->DoSelectionChange();
}

void TDeleteBufUndo::DoUndo()
{
    TCustomDodi &ed = *Editor;
    ed.CollapseSelection();
    TBlockEdits(ed).InsertText(Text);
    if (Host *host = ed.GetHost())
        host->SetFocus();
    SelectStored();
}

void TDeleteBufUndo::DoRedo()
{
    SelectStored();
    TBlockEdits(*Editor).DeleteSelection(true);
}

void TPasteUndo::DoUndo()
{
    TEditorState &state = Editor->State();
    state.SelStart = {StartX, StartY};
    state.SelEnd = {EndX, EndY};
    TBlockEdits(*Editor).DeleteSelection(true);
}

void TPasteUndo::DoRedo()
{
    Editor->CollapseSelection();
    TBlockEdits(*Editor).InsertText(Text);
}

void TCorrectUndo::Swap()
{
    TLineEdits lines(*Editor);
    if (EndY < 0 || EndY >= lines.Count())
        return;
    std::string current(lines.Text(EndY));
    lines.Replace(EndY, std::move(Text));
    Text = std::move(current);
}

bool TOverwriteUndo::Merge(TUndo &newer)
{
    if (!newer.StartsAtEndOf(*this))
        return false;
    if (auto *next = dynamic_cast<TOverwriteUndo *>(&newer); next && utf8::Length(OldText) == utf8::Length(Text)) {
        OldText += next->OldText;
    } else if (auto *typed = dynamic_cast<TInsertCharUndo *>(&newer);
               !typed || typed->Text.find('\r') != std::string::npos) {
        return false;
    }
    Text += newer.Text;
    EndX = newer.EndX;
    EndY = newer.EndY;
    return true;
}

void TOverwriteUndo::Put(const std::string &wanted, const std::string &current)
{
    TLineEdits lines(*Editor);
    if (StartY < 0 || StartY >= lines.Count())
        return;
    const std::string line(lines.Text(StartY));
    lines.Replace(StartY, std::string(utf8::Left(line, StartX)) + wanted +
                              std::string(utf8::From(line, StartX + utf8::Length(current))));
}

TCompoundUndo::TCompoundUndo(std::vector<std::unique_ptr<TUndo>> parts)
    : TUndo(parts.front()->StartX, parts.front()->StartY, parts.back()->EndX, parts.back()->EndY, ""),
      parts_(std::move(parts))
{
}

bool TCompoundUndo::Merge(TUndo &newer)
{
    if (!parts_.back()->Merge(newer))
        return false;
    EndX = parts_.back()->EndX;
    EndY = parts_.back()->EndY;
    return true;
}

// Each part is replayed as the list replays a record: caret to its end (or
// start), the replay, caret to its start (or end).
void TCompoundUndo::DoUndo()
{
    TCustomDodi &ed = *Editor;
    for (auto it = parts_.rbegin(); it != parts_.rend(); ++it) {
        TUndo &part = **it;
        ed.SetCaretLine(part.EndY);
        ed.SetCaretCol(part.EndX);
        part.DoUndo();
        ed.SetCaretLine(part.StartY);
        ed.SetCaretCol(part.StartX);
    }
}

void TCompoundUndo::DoRedo()
{
    TCustomDodi &ed = *Editor;
    for (const auto &part : parts_) {
        ed.SetCaretLine(part->StartY);
        ed.SetCaretCol(part->StartX);
        part->DoRedo();
        ed.SetCaretLine(part->EndY);
        ed.SetCaretCol(part->EndX);
    }
}

} // namespace tarnwick
