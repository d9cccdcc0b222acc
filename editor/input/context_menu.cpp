#include "editor/input/context_menu.h"

#include "editor/input/input_target.h"
#include "editor/input/mouse_input.h"
#include "editor/platform/popup_menu.h"

#include <array>

namespace tarnwick {

namespace {

struct TMenuRow {
    const char *Caption; // nullptr for a separator
    int Command;
    bool (*Grayed)(const TInputTarget &editor, bool clipboardHasText);
};

bool NoSelection(const TInputTarget &ed, bool) { return ed.SelLength() < 1; }

constexpr std::array<TMenuRow, 9> kMenu{{
    {"Undo", 5, [](const TInputTarget &ed, bool) { return !ed.CanUndo() || ed.ReadOnly(); }},
    {"Redo", 6, [](const TInputTarget &ed, bool) { return !ed.CanRedo() || ed.ReadOnly(); }},
    {nullptr, 0, nullptr},
    {"Copy\tCtrl-C", 1, NoSelection},
    {"Cut\tCtrl-X", 2, NoSelection},
    {"Paste\tCtrl-V", 3,
     [](const TInputTarget &ed, bool clipboardHasText) { return !clipboardHasText || ed.ReadOnly(); }},
    {"Delete", 7, NoSelection},
    {nullptr, 0, nullptr},
    {"Select All\tCtrl-A", 4, [](const TInputTarget &, bool) { return false; }},
}};

// The commands apply their own read-only guards.
struct TCommandRow {
    int Command;
    void (*Run)(TInputTarget &editor);
};

constexpr std::array<TCommandRow, 7> kCommands{{
    {1, [](TInputTarget &ed) { ed.CopyToClipboard(); }},
    {2, [](TInputTarget &ed) { ed.CutToClipboard(); }},
    {3, [](TInputTarget &ed) { ed.PasteFromClipboard(); }},
    {4, [](TInputTarget &ed) { ed.SelectAll(); }},
    {5, [](TInputTarget &ed) { ed.Undo(); }},
    {6, [](TInputTarget &ed) { ed.Redo(); }},
    {7, [](TInputTarget &ed) { ed.DeleteSelection(true); }},
}};

} // namespace

std::vector<TMenuItem> ContextMenuItems(const TInputTarget &editor, bool clipboardHasText)
{
    std::vector<TMenuItem> items;
    items.reserve(kMenu.size());
    for (const TMenuRow &row : kMenu) {
        if (!row.Caption)
            items.push_back({"-", 0, true});
        else
            items.push_back({row.Caption, row.Command, !row.Grayed(editor, clipboardHasText)});
    }
    return items;
}

void RunContextMenuCommand(TInputTarget &editor, int command)
{
    for (const TCommandRow &row : kCommands)
        if (row.Command == command)
            row.Run(editor);
}

void ShowContextMenu(TInputTarget &editor, TPoint screen)
{
    Host *host = editor.GetHost();
    if (!host)
        return;
    if (!host->Focused())
        host->SetFocus();
    if (TPopupMenu *menu = editor.PopupMenu()) {
        const int command = host->TrackPopupMenu(menu->Items, screen);
        if (command != 0 && menu->OnClick)
            menu->OnClick(command);
        return;
    }
    const TPoint origin = host->ClientToScreen({0, 0});
    if (screen.x - origin.x <= editor.Gutter()->GutterWidth())
        return;
    const std::vector<TMenuItem> items = ContextMenuItems(editor, host->ClipboardText().has_value());
    TMouseState &mouse = editor.Mouse().State();
    const TCursor restore = mouse.ShownCursor == crDefault ? editor.Cursor() : mouse.ShownCursor;
    host->SetCursor(crDefault);
    const int command = host->TrackPopupMenu(items, screen);
    host->SetCursor(restore);
    RunContextMenuCommand(editor, command);
}

} // namespace tarnwick
