// The main window's editor settings: how the one editor of the window looks
// and behaves, given in one place.
#pragma once

namespace tarnwick {

class TCustomDodi;
class TCustomDodiStyler;

void ConfigureMainEditor(TCustomDodi &editor, TCustomDodiStyler &styler);

} // namespace tarnwick
