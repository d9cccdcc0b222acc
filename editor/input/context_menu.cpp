#include "editor/input/context_menu.h"

#include "editor/control/custom_dodi.h"
#include "editor/input/mouse_input.h"
#include "editor/platform/popup_menu.h"

#include <array>

namespace tarnwick {

namespace {

struct TMenuRow {
    const char *Caption; // nullptr for a separator
    int Command;
    bool (*Grayed)(const TCustomDodi &editor, bool clipboardHasText);
};

bool NoSelection(const TCustomDodi &ed, bool) { return ed.SelLength() < 1; }

constexpr std::array<TMenuRow, 9> kMenu{{
    {"Undo", 5, [](const TCustomDodi &ed, bool) { return !ed.CanUndo() || ed.ReadOnly(); }},
    {"Redo", 6, [](const TCustomDodi &ed, bool) { return !ed.CanRedo() || ed.ReadOnly(); }},
    {nullptr, 0, nullptr},
    {"Copy\tCtrl-C", 1, NoSelection},
    {"Cut\tCtrl-X", 2, NoSelection},
    {"Paste\tCtrl-V", 3,
     [](const TCustomDodi &ed, bool clipboardHasText) { return !clipboardHasText || ed.ReadOnly(); }},
    {"Delete", 7, NoSelection},
    {nullptr, 0, nullptr},
    {"Select All\tCtrl-A", 4, [](const TCustomDodi &, bool) { return false; }},
}};

// The commands apply their own read-only guards.
struct TCommandRow {
    int Command;
    void (*Run)(TCustomDodi &editor);
};

constexpr std::array<TCommandRow, 7> kCommands{{
    {1, [](TCustomDodi &ed) { ed.CopyToClipboard(); }},
    {2, [](TCustomDodi &ed) { ed.CutToClipboard(); }},
    {3, [](TCustomDodi &ed) { ed.PasteFromClipboard(); }},
    {4, [](TCustomDodi &ed) { ed.SelectAll(); }},
    {5, [](TCustomDodi &ed) { ed.Undo(); }},
    {6, [](TCustomDodi &ed) { ed.Redo(); }},
    {7, [](TCustomDodi &ed) { ed.DeleteSelection(true); }},
}};

} // namespace

std::vector<TMenuItem> ContextMenuItems(const TCustomDodi &editor, bool clipboardHasText)
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

void RunContextMenuCommand(TCustomDodi &editor, int command)
{
    for (const TCommandRow &row : kCommands)
        if (row.Command == command)
            row.Run(editor);
}

void ShowContextMenu(TCustomDodi &editor, TPoint screen)
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
