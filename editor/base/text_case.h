// Case mapping for keyword look-ups and number recognition. Keywords and the
// words they are matched against go through the same mapping, so matching is
// consistent whatever the user's locale.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// Simple one-to-one mappings covering Latin (ASCII, Latin-1, Latin Extended-A),
// Greek and Cyrillic; other code points map to themselves.
char32_t LowerCodePoint(char32_t c);
char32_t UpperCodePoint(char32_t c);

std::string LowerCaseUtf8(std::string_view text);
std::string UpperCaseUtf8(std::string_view text);

// Decodes the code point starting at byte `i` and advances `i` past it.
// A malformed byte decodes as itself (a Windows-1252 reading would differ,
// but lines in the store are valid UTF-8 already).
char32_t NextMultiByteCodePoint(std::string_view text, size_t &i);
inline char32_t NextCodePoint(std::string_view text, size_t &i)
{
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    return NextMultiByteCodePoint(text, i);
}

} // namespace tarnwick
