// TTyping: the edits that put text in at the caret one key at a time: a typed
// character (insert or overwrite), the Tab key with smart tabs, and a new line
// with auto-indent. Each records an undo record and runs in an edit scope.
#pragma once

#include "editor/base/editor_types.h"

#include <string>

namespace tarnwick {

class TEditTarget;

class TTyping {
public:
    explicit TTyping(TEditTarget &editor) : ed_(editor) {}

    // Types `ch` at the caret; a Tab becomes TabSize spaces (or, in overwrite
    // mode, moves over TabSize characters).
    void TypeChar(char32_t ch);
    // Enter: splits the line at the caret; the new line gets the caret line's
    // indent with AutoIndent.
    void NewLine();
    // The Tab key: smart tab, plain tab, or with Shift back by TabSize columns.
    void Tab(TShiftState shift);

private:
    void InsertAtCaret(const std::string &s, int column);
    // Spaces that bring the caret column under the next word start of the
    // nearest longer line above; empty when no line gives one.
    std::string SmartIndent(int column, int line);

    TEditTarget &ed_;
};

} // namespace tarnwick
