// TBookmarks: the ten bookmark slots of a text, each holding a line number or
// -1. They follow the lines they mark as lines are inserted and removed; a
// bookmark on a removed line lands on the line above.
#pragma once

#include "editor/base/int_list.h"
#include "editor/document/lines_listener.h"

namespace tarnwick {

class TBookmarks : public TLinesListener {
public:
    static constexpr int kSlots = 10;

    TIntList Slots{kSlots, -1};

    void LinesChanged(REdoDodiStrings &lines, const TLinesChange &change) override
    {
        if (change.Kind != TLinesChange::lcInsert && change.Kind != TLinesChange::lcRemove)
            return;
        for (int i = 0; i < Slots.Count(); ++i)
            if (Slots[i] >= 0)
                Slots.Set(i, LineAfterChange(Slots[i], change, lrToAbove));
    }
};

} // namespace tarnwick
