// Classification of a serialisation by its leading bytes: which Unicode form
// or byte-order mark it starts with.
#pragma once

#include <iosfwd>
#include <string_view>

namespace tarnwick::xml {

// 0 nothing found, 1..4 UCS-4 byte orders, 5/6 UTF-16 marks, 7 UTF-8 mark,
// 8 UCS-4 without mark, 9/10 UTF-16 "<?" big/little endian, 11 "<?xm" in a
// one-byte encoding, 12 EBCDIC "<?xm".
int ClassifyLeadingBytes(std::string_view bytes);
// The same on a stream, from its current position, which is restored.
int ClassifyLeadingBytes(std::istream &stream);

// True for results whose bytes are used as they are (0, 7, 11).
inline bool IsByteCompatibleResult(int result) { return result == 0 || result == 7 || result == 11; }

} // namespace tarnwick::xml
