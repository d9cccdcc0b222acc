// The main window's editor settings: how the one editor of the window looks
// and behaves, given in one place.
#pragma once

namespace tarnwick {

class TCustomDodi;
class TCustomDodiStyler;

void ConfigureMainEditor(TCustomDodi &editor, TCustomDodiStyler &styler);

// Widens the gutter past its usual width as far as the last line's number
// needs (five digits and more), and back.
void FitGutterToLineNumbers(TCustomDodi &editor);

} // namespace tarnwick
