#include "editor/input/keyboard.h"

#include "editor/base/win_constants.h"
#include "editor/commands/caret_movement.h"
#include "editor/commands/edit_session.h"
#include "editor/commands/line_edits.h"
#include "editor/commands/typing.h"
#include "editor/input/input_target.h"
#include "editor/input/key_commands.h"
#include "editor/platform/host.h"

namespace tarnwick {

namespace {

using TKeyDownAction = void (*)(TInputTarget &editor, uint16_t key, TShiftState shift);

// A key-down binding: runs when the key matches, the shift state holds every
// modifier of `Required` and none of `Forbidden`. The first match wins.
struct TKeyDownBinding {
    uint16_t Key;
    TShiftState Required;
    TShiftState Forbidden;
    TKeyDownAction Run;
};

void KeyCommand(TInputTarget &ed, uint16_t key, TShiftState s) { RunKeyCommand(ed, key, s); }
void UndoKey(TInputTarget &ed, uint16_t, TShiftState) { ed.Undo(); }

void RedoKey(TInputTarget &ed, uint16_t, TShiftState)
{
    ed.Redo();
    ed.Invalidate();
}

// Ctrl+Space: the completion list; the space character the same keystroke
// sends is not typed.
void CompletionKey(TInputTarget &ed, uint16_t, TShiftState)
{
    if (!ed.AutoCompletionActive())
        return;
    ed.Keyboard().KeyDownSeen = false;
    ed.OpenCompletionByKey();
}

// Ctrl+Shift+Space: the parameter hint.
void ParameterHintKey(TInputTarget &ed, uint16_t, TShiftState) { ed.ShowParameterHintByKey(); }

void ArrowKey(TInputTarget &ed, uint16_t key, TShiftState s)
{
    const int dx = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : 0;
    const int dy = key == VK_UP ? -1 : key == VK_DOWN ? 1 : 0;
    TCaretMovement(ed).Arrow(dx, dy, s);
}

void FindKey(TInputTarget &ed, uint16_t, TShiftState)
{
    if (ed.OnFind)
        ed.OnFind(ed.Sender());
}

void ReplaceKey(TInputTarget &ed, uint16_t, TShiftState)
{
    if (ed.OnReplace)
        ed.OnReplace(ed.Sender());
}

// clang-format off
constexpr TKeyDownBinding kKeyDownBindings[] = {
    // key        required          forbidden         action
    {VK_BACK,   {},               {ssAlt},          KeyCommand},
    {VK_BACK,   {ssAlt, ssShift}, {},               RedoKey},
    {VK_BACK,   {ssAlt},          {ssShift},        UndoKey},
    {VK_TAB,    {},               {},               KeyCommand},
    {VK_ESCAPE, {},               {},               KeyCommand},
    {VK_END,    {},               {},               KeyCommand},
    {VK_HOME,   {},               {},               KeyCommand},
    {VK_DELETE, {},               {},               KeyCommand},
    {VK_PRIOR,  {},               {},               KeyCommand},
    {VK_NEXT,   {},               {},               KeyCommand},
    {VK_INSERT, {},               {},               KeyCommand},
    {VK_SPACE,  {ssCtrl},         {ssShift, ssAlt}, CompletionKey},
    {VK_SPACE,  {ssCtrl, ssShift}, {ssAlt},         ParameterHintKey},
    {VK_LEFT,   {},               {},               ArrowKey},
    {VK_RIGHT,  {},               {},               ArrowKey},
    {VK_UP,     {},               {},               ArrowKey},
    {VK_DOWN,   {},               {},               ArrowKey},
    {'F',       {ssCtrl},         {},               FindKey},
    {'H',       {ssCtrl},         {},               ReplaceKey},
};
// clang-format on

bool Matches(const TKeyDownBinding &b, uint16_t key, TShiftState shift)
{
    return b.Key == key && (shift & b.Required) == b.Required && (shift & b.Forbidden).Empty();
}

// The line shows a collapsed region's summary in place of its text: keys
// that would edit it do nothing.
bool ShowsSummary(const TInputTarget &ed, int line)
{
    int definition = -1;
    std::string summary;
    return ed.CodeFolding()->Enabled() && !ed.FoldRegions().IsExpanded(line) &&
           ed.RegionSummary(line, definition, summary);
}

// Characters that end a word for the word hooks (auto-correct, checker).
bool EndsWord(char32_t c)
{
    return c == U'\t' || c == U'\r' || c == U' ' || c == U'(' || c == U',' || c == U'.' || c == U'=' || c == U'[';
}

} // namespace

TDodiKeyboard::TDodiKeyboard(TInputTarget &editor) : ed_(editor)
{
    // The host's blink time is read before it is first changed.
    ed_.Flags().BlinkTimeSaved = true;
}

bool TDodiKeyboard::IsPrintable(char32_t c)
{
    return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
}

void TDodiKeyboard::KeepCaretLit(uint16_t key)
{
    Host *host = ed_.GetHost();
    if (key == VK_CONTROL || !host)
        return;
    TControlFlags &state = ed_.Flags();
    if (state.BlinkTimeSaved)
        state.SavedBlinkTime = host->CaretBlinkTime();
    state.BlinkTimeSaved = false;
    host->SetCaretBlinkTime(kSteadyCaretBlinkTime);
}

void TDodiKeyboard::KeyDown(uint16_t &key, TShiftState shift)
{
    if (ed_.OnKeyDown)
        ed_.OnKeyDown(ed_.Sender(), key, shift);
    ed_.CompletionTimer().Stop();
    KeepCaretLit(key);
    KeyDownSeen = true;
    LastKeyWithoutCtrl = !shift.Contains(ssCtrl);
    if ((key == VK_BACK || key == VK_TAB || key == VK_SPACE || key == VK_INSERT || key == VK_DELETE) &&
        ShowsSummary(ed_, ed_.CaretLine()))
        return;
    for (const TKeyDownBinding &binding : kKeyDownBindings) {
        if (Matches(binding, key, shift)) {
            binding.Run(ed_, key, shift);
            return;
        }
    }
}

void TDodiKeyboard::KeyPress(char32_t &key)
{
    if (ed_.OnKeyPress)
        ed_.OnKeyPress(ed_.Sender(), key);
    const char32_t ch = key;
    if (ch == 3)
        RunKeyCommand(ed_, 3, {});
    if (ed_.ReadOnly() || !ed_.CanModify() || (ed_.AutoCompletionActive() && !KeyDownSeen))
        return;
    if (ch != U'\r' && ShowsSummary(ed_, ed_.CaretLine()))
        return;
    {
        TEditScope scope(ed_);
        ed_.Flags().RegionRescanPending = true;
        if (EndsWord(ch))
            WordEnded(ch);
        if (IsPrintable(ch)) {
            if (ed_.DelErase() && !ed_.CaretState().SelectionEmpty())
                ed_.DeleteSelection(true);
            TTyping(ed_).TypeChar(ch);
            ed_.SetLineModified(ed_.CaretLine(), true);
        } else if (ch != 8 && ch != 9 && ch != 3) {
            // Backspace and Tab were handled at key-down; copy above.
            RunKeyCommand(ed_, static_cast<int>(ch), {});
        }
    }
    if (ed_.StartsCompletion(ch) && ed_.AutoCompletionActive())
        ed_.CompletionTimer().Start();
}

// The checker's and auto-correct's word hooks run here, before the character
// that ends the word is typed.
void TDodiKeyboard::WordEnded(char32_t ch)
{
    ed_.WordEnding(ch);
    if (ch != U'\r')
        return;
    TLineEdits lines(ed_);
    lines.EnsureLine();
    // Enter at the start of a blank line opens no region: no rescan for it.
    if (ed_.CaretCol() == 0 && text::TrimRightBlanks(lines.Text(ed_.CaretLine())).empty())
        ed_.Flags().RegionRescanPending = false;
}

void TDodiKeyboard::KeyUp(uint16_t &key, TShiftState shift)
{
    TControlFlags &state = ed_.Flags();
    if (Host *host = ed_.GetHost(); host && !state.BlinkTimeSaved)
        host->SetCaretBlinkTime(state.SavedBlinkTime);
    state.BlinkTimeSaved = true;
    if (!ed_.HiddenCaret())
        ed_.PlaceCaret();
    if (ed_.OnKeyUp)
        ed_.OnKeyUp(ed_.Sender(), key, shift);
}

void TDodiKeyboard::InputText(std::u32string_view text)
{
    // Composed text comes without key-downs of its own.
    KeyDownSeen = true;
    for (char32_t c : text) {
        char32_t key = c;
        KeyPress(key);
    }
}

} // namespace tarnwick
