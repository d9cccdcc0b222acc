// Qt's key codes and modifiers in the terms of the editor's key tables:
// virtual-key codes and the shift state.
#pragma once

#include "editor/base/editor_types.h"

#include <Qt>
#include <cstdint>

namespace tarnwick::qt {

// 0 for keys the editor has no code for.
uint16_t VirtualKeyOf(int qtKey);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

} // namespace tarnwick::qt
