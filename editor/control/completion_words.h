// The words completion, hints and auto-correct read around a column of a
// line: runs of characters none of which a delimiter test accepts, found by
// extending left from the character before the column and right from the
// character at it. Columns count code points; the walk goes by bytes from
// the column's byte, so it costs the word's length, not the line's.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tarnwick {

using TDelimiterTest = std::function<bool(char32_t)>;

struct TWordSpan {
    int Start = 0; // columns
    int End = 0;   // one past the last character
    size_t StartByte = 0;
    size_t EndByte = 0;
    int Length() const { return End - Start; }
    bool Empty() const { return Start == End; }
};

// A column of a line: its text, its length in characters, the column and
// the column's byte (the line's end for a column past it).
struct TLinePlace {
    std::string_view Text;
    int Length = 0;
    int Column = 0;
    size_t Byte = 0;
};

// The run around the place; empty when both neighbours are delimiters or
// the place is past the line's end.
TWordSpan WordAround(const TLinePlace &place, const TDelimiterTest &isDelimiter);
// The run that ends at the place: the part of WordAround left of it.
TWordSpan WordBefore(const TLinePlace &place, const TDelimiterTest &isDelimiter);
inline std::string TextOf(const TLinePlace &place, const TWordSpan &span)
{
    return std::string(place.Text.substr(span.StartByte, span.EndByte - span.StartByte));
}

// The fixed delimiters of the completion word: blank, quotes, parentheses.
bool IsCompletionWordDelimiter(char32_t c);

} // namespace tarnwick
