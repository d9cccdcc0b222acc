// TFoldRegionFinder: finds a text's fold regions from the text's own
// structure (an XML document's elements, say) instead of the styler's words,
// and keeps them up to date as the text is edited: it listens to the line
// store for what changed and reads again only around it.
#pragma once

#include "editor/document/lines_listener.h"

namespace tarnwick {

class REdoDodiStrings;
class TFoldRegions;

class TFoldRegionFinder : public TLinesListener {
public:
    // Every region of `lines`, found afresh.
    virtual void FindAll(const REdoDodiStrings &lines, TFoldRegions &regions) = 0;
    // Brings `regions` up to date with the edits heard since the last call.
    // Unless `force` is set, edits over much text are left for a later call,
    // so that painting never waits for a long read.
    virtual void Update(const REdoDodiStrings &lines, TFoldRegions &regions, bool force) = 0;
    // Edits were heard that Update has not yet read.
    virtual bool Pending() const = 0;
};

} // namespace tarnwick
