// TTextEdit: one change of the text as the undo list keeps it, in the line
// store's own terms, with everything needed to make it again or take it back.
// Records hold the edits their operation made; undo applies their inverses
// newest first, redo applies them again in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

class REdoDodiStrings;

struct TTextEdit {
    enum TKind : uint8_t {
        teReplace, // bytes from Start of Line: Removed became Inserted
        teInsert,  // Lines were inserted before Line
        teRemove,  // Lines were removed from Line on
        teEnds,    // the breaks from Line on were Removed and became Inserted
    };
    TKind Kind = teReplace;
    int Line = 0;
    size_t Start = 0;
    // Text for teReplace; the breaks (one TLineEnd a byte) for teEnds.
    std::string Removed;
    std::string Inserted;
    std::vector<std::string> Lines;
    // The breaks Lines end with, one TLineEnd a byte.
    std::string Ends;
    // teEnds: the style new lines took before and after.
    uint8_t StyleBefore = 0;
    uint8_t StyleAfter = 0;
};

using TTextEdits = std::vector<TTextEdit>;

// Appends `edit`, folding it into the last edit where the two are one run of
// typing or of deleting on a line, so long runs keep one entry.
void AppendEdit(TTextEdits &edits, TTextEdit edit);
void ApplyEdits(REdoDodiStrings &lines, const TTextEdits &edits);
void RevertEdits(REdoDodiStrings &lines, const TTextEdits &edits);

} // namespace tarnwick
