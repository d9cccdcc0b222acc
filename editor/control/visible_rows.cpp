// The mapping between lines of the store and rows of the view. Painting,
// the gutter, scrolling and the caret all go through these two; while
// folding or word wrap is on, the fold regions' row map answers, in O(log)
// of its runs.
#include "editor/control/custom_dodi.h"

namespace tarnwick {

namespace {

// The regions follow the active text; right after another text was attached
// they may not have heard of it yet.
bool UsesRows(const TCodeFolding &folding, const TRowLayout &layout, const TFoldRegions &regions,
              const REdoDodiStrings &lines)
{
    return (folding.Enabled() || layout.Wrapping()) && regions.LineCount() == lines.Count();
}

} // namespace

int TCustomDodi::VisibleIndexOf(int line) const
{
    return UsesRows(*codeFolding_, *rowLayout_, foldRegions_, *ActiveLines()) ? foldRegions_.VisibleIndexOf(line)
                                                                              : line;
}

int TCustomDodi::LineOfVisibleIndex(int index) const
{
    return UsesRows(*codeFolding_, *rowLayout_, foldRegions_, *ActiveLines()) ? foldRegions_.LineOfVisibleIndex(index)
                                                                              : index;
}

} // namespace tarnwick
