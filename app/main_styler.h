// The main window's XML styler settings: the six element styles and the
// colours the editor shows XML in.
#pragma once

namespace tarnwick {

class TDodiXMLStyler;

// Replaces the styler's construction defaults by the main window's settings,
// as reading them from the window's stored form would, and ends with Loaded().
void ConfigureMainStyler(TDodiXMLStyler &styler);

} // namespace tarnwick
