// TCustomDodi's mouse, drag-and-drop, file drop and context menu handlers,
// handed to the collaborators that do the work.
#include "editor/control/custom_dodi.h"

#include "editor/input/context_menu.h"
#include "editor/input/mouse_input.h"

namespace tarnwick {

void TCustomDodi::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    mouse_->MouseDown(button, shift, x, y);
}

void TCustomDodi::MouseMove(TShiftState shift, int x, int y) { mouse_->MouseMove(shift, x, y); }

void TCustomDodi::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    mouse_->MouseUp(button, shift, x, y);
}

void TCustomDodi::DblClick(int x, int y) { mouse_->DblClick(x, y); }

void TCustomDodi::ContextMenu(int screenX, int screenY) { ShowContextMenu(*this, {screenX, screenY}); }

// The command word carries the item id in its low 16 bits.
void TCustomDodi::MenuCommand(int command) { RunContextMenuCommand(*this, command & 0xFFFF); }

bool TCustomDodi::DragOver(void *source, int x, int y, TDragState state)
{
    return mouse_->DragOver(source, x, y, state);
}

void TCustomDodi::DragDrop(void *source, int x, int y, TShiftState shift) { mouse_->DragDrop(source, x, y, shift); }

void TCustomDodi::EndDrag(void *target, int x, int y)
{
    mouse_->DragEnded();
    if (OnEndDrag)
        OnEndDrag(*this, target, x, y);
}

void TCustomDodi::DropFiles(const std::vector<std::string> &fileNames) { mouse_->DropFiles(fileNames); }

} // namespace tarnwick
