// TBlockMatcher: finds the styler's block opener and closer words around the
// caret (for example begin and end) and marks them for highlighting.
#pragma once

#include "editor/view/view_state.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TViewTarget;

// One opener or closer word found in a line.
struct TBlockWord {
    int Col = 0;
    int Length = 0;
    bool Opener = false;
};

class TBlockMatcher {
public:
    explicit TBlockMatcher(TViewTarget &editor) : ed_(editor) {}

    // Sets the editor's BlockStart and BlockEnd (both cleared unless both
    // are found) and repaints the rows that gain or lose a highlight.
    void Match();

    // The words of `line` in column order; a word counts only between
    // delimiters. `openers` and `closers` are upper-cased.
    std::vector<TBlockWord> WordsOf(std::string_view line, const std::vector<std::u32string> &openers,
                                    const std::vector<std::u32string> &closers) const;

private:
    void InvalidateRow(int line);

    TViewTarget &ed_;
};

} // namespace tarnwick
