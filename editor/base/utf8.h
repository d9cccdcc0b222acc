// UTF-8 helpers for the editor core: lines are UTF-8 std::strings, while
// columns and lengths count code points. Also the decoding of plain-text
// input (files, drops), which accepts UTF-8 and falls back to Windows-1252.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::utf8 {

// Number of code points; a stray continuation byte counts as nothing, a
// stray lead byte as one, so the count never exceeds the byte length.
int Length(std::string_view text);

// Byte offset of code point `column`; text.size() when the column is at or
// past the end.
size_t ByteOffset(std::string_view text, int column);

// Code points [column, column + count) (clamped to the text).
std::string_view Mid(std::string_view text, int column, int count);
std::string_view Left(std::string_view text, int count);
std::string_view From(std::string_view text, int column);

// The code point at `column`, 0 when out of range.
char32_t At(std::string_view text, int column);

void Append(std::string &out, char32_t codePoint);
std::string Encode(char32_t codePoint);

bool IsValid(std::string_view bytes);

std::string FromWindows1252(std::string_view bytes);

// Plain text as read from a file: valid UTF-8 as it is without a leading
// byte-order mark; anything else is taken as Windows-1252 and converted.
std::string DecodePlainText(std::string_view bytes);

} // namespace tarnwick::utf8
