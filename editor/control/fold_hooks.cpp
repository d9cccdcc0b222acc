// The folding operations that the mouse and the editing operations call. No
// code creates fold regions yet, so no line is ever collapsed and these have
// nothing to do; the region code replaces this file.
#include "editor/control/custom_dodi.h"

namespace tarnwick {

void TCustomDodi::ToggleRegion(int) {}
void TCustomDodi::SetExpanded(int, bool) {}
bool TCustomDodi::RegionSummary(int, int &, std::string &) const { return false; }
void TCustomDodi::RemoveFoldRegionStartingAt(int) {}
void TCustomDodi::RemoveFoldRegionEndingAt(int) {}
void TCustomDodi::ScanRegions() {}

} // namespace tarnwick
