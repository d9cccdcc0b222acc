// Colours of the editor core as Qt colours: plain 0x00BBGGRR values, and the
// system colours 0xFF0000nn taken from the application palette.
#pragma once

#include "editor/base/graphics_types.h"

#include <QColor>

namespace tarnwick::qt {

QColor ToQColor(TColor color);
// System colours resolved to a plain colour; plain colours pass through.
TColor ResolveColor(TColor color);

} // namespace tarnwick::qt
