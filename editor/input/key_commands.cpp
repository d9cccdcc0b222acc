#include "editor/input/key_commands.h"

#include "editor/commands/caret_movement.h"
#include "editor/commands/deletion.h"
#include "editor/commands/line_edits.h"
#include "editor/commands/typing.h"
#include "editor/input/input_target.h"

namespace tarnwick {

namespace {

bool HasLines(TInputTarget &ed) { return ed.ActiveLines()->Count() > 0; }

void Copy(TInputTarget &ed, TShiftState) { ed.CopyToClipboard(); }
void Nothing(TInputTarget &, TShiftState) {}
void PageUp(TInputTarget &ed, TShiftState s) { TCaretMovement(ed).Page(-1, s); }
void PageDown(TInputTarget &ed, TShiftState s) { TCaretMovement(ed).Page(1, s); }

// Home and End with Ctrl and Shift select from where the selection started
// to the start or end of the text.
template <void (TCaretMovement::*Move)(TShiftState)>
void HomeOrEnd(TInputTarget &ed, TShiftState s)
{
    if (!HasLines(ed)) {
        ed.SetCaretCol(0);
        return;
    }
    const TCaretPos start = ed.CaretState().SelStart;
    TCaretMovement movement(ed);
    (movement.*Move)(s);
    if (s.Contains(ssCtrl) && s.Contains(ssShift)) {
        ed.CaretState().SelStart = start;
        ed.Invalidate();
        ed.DoSelectionChange();
    }
}

void SelectAll(TInputTarget &ed, TShiftState) { ed.SelectAll(); }

void BackspaceKey(TInputTarget &ed, TShiftState s)
{
    if (!HasLines(ed))
        return;
    if (s.Contains(ssCtrl))
        TDeletion(ed).DeleteWordLeft();
    else if (ed.DelErase() && !ed.CaretState().SelectionEmpty())
        ed.DeleteSelection(true);
    else
        TDeletion(ed).Backspace();
}

void TabKey(TInputTarget &ed, TShiftState s) { TTyping(ed).Tab(s); }
void Enter(TInputTarget &ed, TShiftState) { TTyping(ed).NewLine(); }
void Paste(TInputTarget &ed, TShiftState) { ed.PasteFromClipboard(); }
void Cut(TInputTarget &ed, TShiftState) { ed.CutToClipboard(); }
void DeleteCaretLine(TInputTarget &ed, TShiftState) { ed.DeleteLine(); }

void InsertKey(TInputTarget &ed, TShiftState s)
{
    if (s.Contains(ssShift)) {
        ed.PasteFromClipboard();
        return;
    }
    if (s.Contains(ssCtrl))
        return;
    bool allow = true;
    if (ed.OnOverwriteToggle)
        ed.OnOverwriteToggle(ed.Sender(), allow);
    if (allow)
        ed.CaretState().Overwrite = !ed.CaretState().Overwrite;
}

void DeleteKey(TInputTarget &ed, TShiftState s)
{
    if (!HasLines(ed))
        return;
    if (s.Contains(ssShift))
        ed.CutToClipboard();
    else if (ed.DelErase() && !ed.CaretState().SelectionEmpty())
        ed.DeleteSelection(true);
    else
        TDeletion(ed).DeleteChar();
}

// clang-format off
constexpr TReadOnlyKeyCommand kReadOnlyCommands[] = {
    {3,  {},       Copy},                                   // Ctrl+C character
    {27, {},       Nothing},                                // Escape
    {33, {},       PageUp},
    {34, {},       PageDown},
    {35, {},       HomeOrEnd<&TCaretMovement::End>},
    {36, {},       HomeOrEnd<&TCaretMovement::Home>},
    {45, {ssCtrl}, Copy},                                   // Ctrl+Insert
};

constexpr TEditKeyCommand kEditCommands[] = {
    // code  action           modifies  marks modified
    {1,  SelectAll,       false, false},                    // Ctrl+A character
    {8,  BackspaceKey,    true,  true},
    {9,  TabKey,          true,  true},
    {13, Enter,           true,  true},
    {22, Paste,           true,  false},                    // Ctrl+V character
    {24, Cut,             true,  true},                     // Ctrl+X character
    {25, DeleteCaretLine, true,  true},                     // Ctrl+Y character
    {45, InsertKey,       false, false},                    // Shift+Insert pastes, Insert toggles overwrite
    {46, DeleteKey,       true,  true},
};
// clang-format on

bool Holds(TShiftState shift, TShiftState required) { return (shift & required) == required; }

} // namespace

void RunKeyCommand(TInputTarget &editor, int code, TShiftState shift)
{
    for (const TReadOnlyKeyCommand &row : kReadOnlyCommands)
        if (row.Code == code && Holds(shift, row.Required))
            row.Run(editor, shift);
    if (editor.ReadOnly())
        return;
    for (const TEditKeyCommand &row : kEditCommands) {
        if (row.Code != code)
            continue;
        if (row.Modifies && !editor.CanModify())
            return;
        row.Run(editor, shift);
        if (row.MarksModified)
            editor.SetLineModified(editor.CaretLine(), true);
        return;
    }
}

} // namespace tarnwick
