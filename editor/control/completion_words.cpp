#include "editor/control/completion_words.h"

#include "editor/base/text_case.h"

#include <algorithm>

namespace tarnwick {

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The character that ends at byte `end`, and where it starts.
char32_t CharBefore(std::string_view line, size_t end, size_t &start)
{
    start = end - 1;
    while (start > 0 && IsContinuation(line[start]))
        --start;
    size_t i = start;
    return NextCodePoint(line, i);
}

} // namespace

TWordSpan WordAround(const TLinePlace &place, const TDelimiterTest &isDelimiter)
{
    const std::string_view line = place.Text;
    const size_t byte = std::min(place.Byte, line.size());
    TWordSpan span{place.Column, place.Column, byte, byte};
    if (place.Column > place.Length)
        return span;
    while (span.StartByte > 0) {
        size_t start = 0;
        const char32_t c = CharBefore(line, span.StartByte, start);
        if (isDelimiter(c))
            break;
        span.StartByte = start;
        --span.Start;
    }
    while (span.EndByte < line.size()) {
        size_t next = span.EndByte;
        const char32_t c = NextCodePoint(line, next);
        if (isDelimiter(c))
            break;
        span.EndByte = next;
        ++span.End;
    }
    return span;
}

TWordSpan WordBefore(const TLinePlace &place, const TDelimiterTest &isDelimiter)
{
    TWordSpan span = WordAround(place, isDelimiter);
    span.End = std::max(span.Start, std::min(span.End, place.Column));
    span.EndByte = std::max(span.StartByte, std::min(span.EndByte, place.Byte));
    return span;
}

bool IsCompletionWordDelimiter(char32_t c) { return c == U' ' || c == U'"' || c == U'\'' || c == U'(' || c == U')'; }

} // namespace tarnwick
