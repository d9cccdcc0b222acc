// The mapping between lines of the store and rows of the view. Painting,
// the gutter, scrolling and the caret all go through these two, so hiding
// lines (code folding) changes this file only.
#include "editor/control/custom_dodi.h"

namespace tarnwick {

int TCustomDodi::VisibleIndexOf(int line) const { return line; }

int TCustomDodi::LineOfVisibleIndex(int index) const { return index; }

} // namespace tarnwick
