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
    };
    TKind Kind = teReplace;
    int Line = 0;
    size_t Start = 0;
    std::string Removed;
    std::string Inserted;
    std::vector<std::string> Lines;
};

using TTextEdits = std::vector<TTextEdit>;

// Appends `edit`, folding it into the last edit where the two are one run of
// typing or of deleting on a line, so long runs keep one entry.
void AppendEdit(TTextEdits &edits, TTextEdit edit);
void ApplyEdits(REdoDodiStrings &lines, const TTextEdits &edits);
void RevertEdits(REdoDodiStrings &lines, const TTextEdits &edits);

} // namespace tarnwick
