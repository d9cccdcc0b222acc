// Line-oriented text search: the options the find dialog passes and the
// matching of a search text inside one line. The editor's SearchText walks the
// lines and moves the caret and selection (control/search_control.cpp).
#pragma once

#include "editor/base/graphics_types.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tarnwick {

enum class TFindOption : uint8_t { frDown, frMatchCase, frWholeWord };
using TFindOptions = TSet<TFindOption>;
inline constexpr TFindOption frDown = TFindOption::frDown;
inline constexpr TFindOption frMatchCase = TFindOption::frMatchCase;
inline constexpr TFindOption frWholeWord = TFindOption::frWholeWord;

// Where on a line the search may look: the code points [From, To) of the
// line. Down looks for the first occurrence in the window, Up for the last.
struct TSearchWindow {
    int From = 0;
    int To = 0;
};

// Whether a character separates words, for frWholeWord. Without one only the
// space does.
using TWordDelimiter = std::function<bool(char32_t c)>;

// The 0-based column of the hit of `text` in `line` (both code point strings)
// within `window`, or -1. Occurrences may overlap. Without frMatchCase only
// A..Z and a..z are folded. With frWholeWord an occurrence counts only when
// the characters beside it in the whole line are spaces, delimiters or the
// line's ends; occurrences inside longer words are passed over.
int FindInLine(std::u32string_view line, std::u32string_view text, TSearchWindow window, TFindOptions options,
               const TWordDelimiter &isDelimiter = {});

// The line as code points without trailing characters up to the space.
std::u32string TrimmedCodePoints(std::string_view line);
std::u32string CodePoints(std::string_view text);

} // namespace tarnwick
