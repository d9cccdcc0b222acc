// TLineEdits: the raw line changes every editing operation is built from.
// They rewrite the active line store and keep the longest line and fold
// regions in step (markers and bookmarks follow the store's change reports),
// and raise no notification of their own: callers run them inside an edit
// scope, which notifies once.
#pragma once

#include "editor/base/editor_types.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TEditTarget;
class REdoDodiStrings;

class TLineEdits {
public:
    explicit TLineEdits(TEditTarget &editor) : ed_(editor) {}

    REdoDodiStrings &Store();
    int Count();
    // Empty for a line outside the store.
    std::string_view Text(int line);
    int Length(int line);

    // An empty store gets one empty line: every editing operation needs a
    // line to work on.
    void EnsureLine();
    // Makes sure there is a line and the caret is on one; returns its line.
    int CaretLine();
    void Replace(int line, std::string text);
    // The byte at which character `column` of `line` starts (the line's
    // size past its end); a long line answers from its index.
    size_t ByteOf(int line, int column);
    // Characters [column, column + count) of `line`, clamped to it.
    std::string_view Chars(int line, int column, int count);
    // Characters [column, column + count) of `line`, clamped to it, become
    // `text` (no line break): costs the change, not the line.
    void ReplaceChars(int line, int column, int count, std::string_view text);
    // Puts `text` (no line break) into `line` before the character at
    // `column`, which lies within the line: costs the insertion, not the line.
    void InsertInLine(int line, int column, std::string_view text);
    // Drops the characters of `line` from `column` on.
    void CutLine(int line, int column);
    // Appends spaces to the line until it is `column` characters long.
    void PadTo(int line, int column);
    void InsertLines(int at, std::vector<std::string> texts);
    void InsertLine(int at, std::string text);
    void RemoveLines(int first, int count);
    // The line after `line` is about to be joined onto it: its markers move
    // to `line` so that RemoveLines does not drop them.
    void MoveMarkersUp(int from);

    // The caret to `pos` through the setters, line first.
    void MoveCaret(TCaretPos pos);

private:
    // Keeps MaxLineLength in step with a line that went from `before` to
    // `after` characters.
    void LengthChanged(int before, int after);

    TEditTarget &ed_;
};

// Small text helpers shared by the editing operations. Positions are code
// points; the blanks they look for are ASCII, so byte scans are safe.
namespace text {

// Without trailing characters <= space.
std::string_view TrimRightBlanks(std::string_view s);
// Without trailing spaces only.
std::string_view TrimRightSpaces(std::string_view s);
int LeadingSpaces(std::string_view s);
bool AllSpaces(std::string_view s);
// The code points of `s` in reverse order.
std::string ReverseCodePoints(std::string_view s);
std::string Spaces(int count);
std::u32string Decode(std::string_view s);
// The character that starts at byte `at` of `s`, as Decode reads it; `next`
// (when given) gets the byte after it.
char32_t CharAt(std::string_view s, size_t at, size_t *next = nullptr);
// Where the character before byte `at` starts (0 at the start).
size_t PreviousChar(std::string_view s, size_t at);
// The trailing characters <= space (each one byte, one column).
int TrailingBlanks(std::string_view s);

} // namespace text

} // namespace tarnwick
