// TLinesChange and TLinesListener: how the line store tells everything that
// hangs off its lines (the editor, per-line tables, caches, the undo list)
// what changed. Every change is announced before it happens, so a listener can
// read the text about to go, and again after it, so it can read the new text.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnwick {

class REdoDodiStrings;

struct TLinesChange {
    enum TKind : uint8_t {
        lcEdit,   // bytes [Start, Start + OldLength) of Line became NewLength bytes
        lcInsert, // Count lines were inserted before Line
        lcRemove, // the Count lines from Line on were removed
        lcEnds,   // the breaks of the Count lines from Line on changed, not their text
        lcClear,  // every line was removed
        lcReset,  // the whole text was replaced (assignment, SetText)
        lcLoad,   // the whole text was replaced by a load
    };
    TKind Kind = lcEdit;
    int Line = 0;
    int Count = 0;
    size_t Start = 0;
    size_t OldLength = 0;
    size_t NewLength = 0;

    // Changes after which no line number from before means anything.
    bool Wholesale() const { return Kind >= lcClear; }
};

class TLinesListener {
public:
    virtual ~TLinesListener() = default;
    virtual void LinesChanging(REdoDodiStrings &lines, const TLinesChange &change) {}
    virtual void LinesChanged(REdoDodiStrings &lines, const TLinesChange &change) {}
};

// The editor a store belongs to. It hears every change first, and the store's
// Delete runs through it, so that deleting a line through the store is the
// editor's own, undoable, line deletion.
class TLinesOwner : public TLinesListener {
public:
    virtual void DeleteStoreLine(int index) = 0;
};

// How a line number that pointed into the text before an insertion or removal
// reads after it. A number on a removed line becomes -1 with lrDrop and the
// line above the removed block with lrToAbove. Other changes keep it.
enum TLineRemoval : uint8_t { lrDrop, lrToAbove };
int LineAfterChange(int line, const TLinesChange &change, TLineRemoval removal);

} // namespace tarnwick
