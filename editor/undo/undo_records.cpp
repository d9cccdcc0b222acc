#include "editor/undo/undo_records.h"

#include "editor/base/utf8.h"
#include "editor/undo/undo_client.h"

namespace tarnwick {

bool TUndo::Merge(TUndo &) { return false; }

void TUndo::DoUndo()
{
    RevertEdits(Editor->UndoLines(), Edits);
    Editor->ReplaySelection({StartX, StartY}, {StartX, StartY});
}

void TUndo::DoRedo()
{
    ApplyEdits(Editor->UndoLines(), Edits);
    Editor->ReplaySelection({EndX, EndY}, {EndX, EndY});
}

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

void TDeleteBufUndo::DoUndo()
{
    RevertEdits(Editor->UndoLines(), Edits);
    Editor->ReplaySelection({SelStartX, SelStartY}, {SelEndX, SelEndY});
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

TCompoundUndo::TCompoundUndo(std::vector<std::unique_ptr<TUndo>> parts)
    : TUndo(parts.front()->StartX, parts.front()->StartY, parts.back()->EndX, parts.back()->EndY, ""),
      parts_(std::move(parts))
{
    for (auto &part : parts_)
        for (TTextEdit &edit : part->Edits)
            AppendEdit(Edits, std::move(edit));
    for (auto &part : parts_)
        part->Edits.clear();
}

bool TCompoundUndo::Merge(TUndo &newer)
{
    if (!parts_.back()->Merge(newer))
        return false;
    EndX = parts_.back()->EndX;
    EndY = parts_.back()->EndY;
    return true;
}

} // namespace tarnwick
