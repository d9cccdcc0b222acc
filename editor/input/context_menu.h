// The editor's built-in context menu: its items, when they are greyed and what
// their commands run, kept as tables so they read like the menu itself.
#pragma once

#include "editor/platform/host.h"

#include <vector>

namespace tarnwick {

class TInputTarget;

// The items as the menu shows them, greyed for the editor's present state.
std::vector<TMenuItem> ContextMenuItems(const TInputTarget &editor, bool clipboardHasText);

// Runs the command of a menu item; ids the menu does not have do nothing.
void RunContextMenuCommand(TInputTarget &editor, int command);

// The context-menu request at a screen point: the application's PopupMenu when
// one is set, else the built-in menu, which is not offered over the gutter.
void ShowContextMenu(TInputTarget &editor, TPoint screen);

} // namespace tarnwick
