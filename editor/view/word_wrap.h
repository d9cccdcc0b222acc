// TWordWrapper: soft word wrap by splitting long lines of the store into
// pieces; every piece after the first is marked as a continuation, so the
// pieces can be joined back into exactly the original text.
#pragma once

#include "editor/base/editor_types.h"
#include "editor/document/line_store.h"

#include <string_view>
#include <vector>

namespace tarnwick {

class TViewTarget;

// Where the pieces of one line start (byte offsets, the first is 0) when it
// is wrapped at `width` grid cells: whole words stay together, a piece ends
// with the space after its last word, and a word that would make the piece
// reach `width` cells starts the next one. A word of `width` cells or more is
// cut after the characters that fit.
std::vector<size_t> WrapPieceStarts(std::string_view text, int width);

class TWordWrapper {
public:
    explicit TWordWrapper(TViewTarget &editor) : ed_(editor) {}

    // Nothing happens on an empty text, while loading, or without a wrap mode.
    void WrapAll();
    void UnwrapAll();
    // Joins and wraps again at the current width, then updates the scroll bars.
    void Rewrap();

private:
    using TLines = std::vector<REdoDodiStrings::TStoredLine>;
    class TPositionMap;

    int WrapWidth() const;
    bool CanRun() const;
    // Joins continuation pieces to the line they continue.
    TLines Join(TLines lines, TPositionMap &map) const;
    TLines Split(TLines lines, int width, TPositionMap &map) const;
    void Store(TLines lines, const TPositionMap &map);

    TViewTarget &ed_;
};

} // namespace tarnwick
