// Fonts of the editor core as Qt fonts. Names go to fontconfig as they are
// ("COURIER NEW" finds Liberation Mono); "FixedSys" is the system fixed font.
#pragma once

#include "editor/graphics_types.h"

#include <QFont>

namespace tarnwick::qt {

// A font with what drawing on the character grid needs of it.
struct TQtFont {
    QFont Font;
    int Ascent = 0;
    int Height = 0;
    // Advance of "W": the width of one grid cell.
    int CellWidth = 0;
    // Every printable ASCII character is one cell wide.
    bool FixedPitch = false;
};

// Made once per distinct font and kept.
const TQtFont &QtFontOf(const TFont &font);

} // namespace tarnwick::qt
