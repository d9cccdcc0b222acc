// Simple first versions of the operations whose full behaviour belongs to the
// caret and editing, undo, scrolling, folding, gutter and printing code. Each
// does the least that keeps the control consistent; the full versions replace
// them one by one.
#include "editor/custom_dodi.h"

#include "editor/host.h"

#include <algorithm>

namespace tarnwick {

void TCustomDodi::Print() {}

void TCustomDodi::RemoveFoldRegionStartingAt(int) {}
void TCustomDodi::RemoveFoldRegionEndingAt(int) {}
void TCustomDodi::ScanRegions() {}

} // namespace tarnwick
