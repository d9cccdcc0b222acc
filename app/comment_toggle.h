// Toggle Comment (Ctrl+/): the selected lines wrapped in "<!-- " and " -->",
// or the comment around the caret unwrapped, as one undo step. The plan is
// worked out on the lines alone; the command applies it to the editor.
#pragma once

#include "editor/base/editor_types.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {
class REdoDodi;
} // namespace tarnwick

// Replaces [From, To) (characters of one line) with Text.
struct TextPiece {
    tarnwick::TCaretPos From;
    tarnwick::TCaretPos To;
    std::string Text;
};

struct CommentPlan {
    enum TKind { cpNothing, cpWrap, cpUnwrap, cpRefused } Kind = cpNothing;
    // Applied in this order (last place first), each leaves the places of
    // the ones after it as they were.
    std::vector<TextPiece> Pieces;
    // The selection once the pieces are in: Anchor == Caret for none.
    tarnwick::TCaretPos Anchor;
    tarnwick::TCaretPos Caret;
};

using LineReader = std::function<std::string_view(int line)>;

// What Toggle Comment does to `count` lines with the selection from `anchor`
// to `caret`: unwraps the comment the caret is in or touches, or the one that
// is all the selected lines hold; else wraps the selected lines (the caret's
// line when nothing is selected; a selection ending at a line's start leaves
// that line out). A comment cannot hold "--": lines that do are refused.
CommentPlan PlanCommentToggle(const LineReader &line, int count, tarnwick::TCaretPos anchor, tarnwick::TCaretPos caret);

// Applies the plan to the editor as one undo step; says what it did.
CommentPlan::TKind ToggleComment(tarnwick::REdoDodi &editor);
