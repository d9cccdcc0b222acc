#include "editor/undo/text_edit.h"

#include "editor/document/line_store.h"

namespace tarnwick {

void AppendEdit(TTextEdits &edits, TTextEdit edit)
{
    if (!edits.empty() && edit.Kind == TTextEdit::teReplace) {
        TTextEdit &last = edits.back();
        if (last.Kind == TTextEdit::teReplace && last.Line == edit.Line) {
            // Typing on at the end of what was typed.
            if (edit.Removed.empty() && edit.Start == last.Start + last.Inserted.size()) {
                last.Inserted += edit.Inserted;
                return;
            }
            // Backspace on before what was removed.
            if (edit.Inserted.empty() && last.Inserted.empty() && edit.Start + edit.Removed.size() == last.Start) {
                last.Start = edit.Start;
                last.Removed.insert(0, edit.Removed);
                return;
            }
            // Delete on at the same place.
            if (edit.Inserted.empty() && last.Inserted.empty() && edit.Start == last.Start) {
                last.Removed += edit.Removed;
                return;
            }
        }
    }
    edits.push_back(std::move(edit));
}

namespace {

void Apply(REdoDodiStrings &lines, const TTextEdit &e, bool forward)
{
    const bool inserting = (e.Kind == TTextEdit::teInsert) == forward;
    switch (e.Kind) {
    case TTextEdit::teReplace:
        if (forward)
            lines.ReplaceText(e.Line, e.Start, e.Removed.size(), e.Inserted);
        else
            lines.ReplaceText(e.Line, e.Start, e.Inserted.size(), e.Removed);
        break;
    case TTextEdit::teInsert:
    case TTextEdit::teRemove:
        if (inserting)
            lines.InsertLines(e.Line, e.Lines, e.Ends);
        else
            lines.RemoveLines(e.Line, static_cast<int>(e.Lines.size()));
        break;
    case TTextEdit::teEnds:
        if (forward)
            lines.SetLineEnds(e.Line, e.Inserted, static_cast<TLineEnd>(e.StyleAfter));
        else
            lines.SetLineEnds(e.Line, e.Removed, static_cast<TLineEnd>(e.StyleBefore));
        break;
    }
}

} // namespace

void ApplyEdits(REdoDodiStrings &lines, const TTextEdits &edits)
{
    for (const TTextEdit &e : edits)
        Apply(lines, e, true);
}

void RevertEdits(REdoDodiStrings &lines, const TTextEdits &edits)
{
    for (auto it = edits.rbegin(); it != edits.rend(); ++it)
        Apply(lines, *it, false);
}

} // namespace tarnwick
