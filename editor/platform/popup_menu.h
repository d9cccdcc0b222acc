// TPopupMenu: a menu the application supplies in place of the editor's own
// context menu. The host shows its items; the chosen command goes to OnClick.
#pragma once

#include "editor/platform/host.h"

#include <functional>
#include <vector>

namespace tarnwick {

class TPopupMenu {
public:
    std::vector<TMenuItem> Items;
    std::function<void(int command)> OnClick;
};

} // namespace tarnwick
