// TCustomDodi's caret, editing, clipboard, undo and keyboard operations, each
// forwarded to the collaborator that does the work.
#include "editor/commands/block_edits.h"
#include "editor/commands/caret.h"
#include "editor/commands/clipboard_commands.h"
#include "editor/commands/deletion.h"
#include "editor/commands/edit_session.h"
#include "editor/commands/typing.h"
#include "editor/control/custom_dodi.h"
#include "editor/control/redodi_source.h"
#include "editor/input/key_commands.h"
#include "editor/input/keyboard.h"
#include "editor/undo/undo_list.h"

namespace tarnwick {

void TCustomDodi::SetCaretCol(int col) { TDodiCaret(*this).SetCol(col); }
void TCustomDodi::SetCaretLine(int line) { TDodiCaret(*this).SetLine(line); }

void TCustomDodi::TypeCharacter(char32_t ch)
{
    if (readOnly_ || !CanModify())
        return;
    TTyping(*this).TypeChar(ch);
}

void TCustomDodi::NewLine() { TTyping(*this).NewLine(); }

void TCustomDodi::TabKey(TShiftState shift) { TTyping(*this).Tab(shift); }

void TCustomDodi::Backspace()
{
    if (CanModify())
        TDeletion(*this).Backspace();
}

void TCustomDodi::DeleteWordLeft()
{
    if (CanModify())
        TDeletion(*this).DeleteWordLeft();
}

void TCustomDodi::DeleteCharacter()
{
    if (CanModify())
        TDeletion(*this).DeleteChar();
}

void TCustomDodi::DeleteLine() { TDeletion(*this).DeleteLine(); }

void TCustomDodi::DeleteSelection(bool repaint)
{
    if (readOnly_ || !CanModify())
        return;
    TBlockEdits(*this).DeleteSelection(repaint);
}

void TCustomDodi::InsertText(const std::string &text) { TBlockEdits(*this).InsertText(text); }
void TCustomDodi::Clear() { TBlockEdits(*this).Clear(); }
void TCustomDodi::ConvertLineEnds(TLineEnd style) { TBlockEdits(*this).ConvertLineEnds(style); }

void TCustomDodi::CopyToClipboard() { TClipboardCommands(*this).Copy(); }
void TCustomDodi::CutToClipboard() { TClipboardCommands(*this).Cut(); }
void TCustomDodi::PasteFromClipboard() { TClipboardCommands(*this).Paste(); }

void TCustomDodi::EditCommand(int code, TShiftState shift) { RunKeyCommand(*this, code, shift); }

void TCustomDodi::SetModified(bool modified)
{
    if (modified)
        return;
    ClearUndo();
    DoStatusChange();
    ActiveLines()->ForEachLineProp([](int, TLineProp &p) { p.Modified = false; });
    Invalidate();
}

TDodiUndoList &TCustomDodi::UndoList() { return memoSource_ ? memoSource_->UndoList() : *undoList_; }

// A replay may run many small edits; the scope makes it one change.
void TCustomDodi::Undo()
{
    if (!UndoList().CanUndo())
        return;
    TEditScope scope(*this);
    UndoList().Undo();
    scope.Changed(TChangeNotice::Full);
}

void TCustomDodi::Redo()
{
    if (!UndoList().CanRedo())
        return;
    {
        TEditScope scope(*this);
        UndoList().Redo();
        scope.Changed(TChangeNotice::Full);
    }
    Invalidate();
}

bool TCustomDodi::CanUndo() const { return (memoSource_ ? memoSource_->UndoList() : *undoList_).CanUndo(); }
bool TCustomDodi::CanRedo() const { return (memoSource_ ? memoSource_->UndoList() : *undoList_).CanRedo(); }
void TCustomDodi::ClearUndo() { UndoList().Clear(); }

void TCustomDodi::KeyDown(uint16_t &key, TShiftState shift) { keyboard_->KeyDown(key, shift); }
void TCustomDodi::KeyPress(char32_t &key) { keyboard_->KeyPress(key); }
void TCustomDodi::KeyUp(uint16_t &key, TShiftState shift) { keyboard_->KeyUp(key, shift); }
void TCustomDodi::InputText(std::u32string_view text) { keyboard_->InputText(text); }

} // namespace tarnwick
