// Decoding a serialisation in a named encoding to UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::xml {

// Bytes in `encoding` as UTF-8; a leading byte-order mark is dropped. Bytes in
// an encoding nobody knows are returned unchanged.
std::string DecodeToUtf8(std::string_view bytes, const std::string& encoding);
// The same, taking over the bytes (no copy when they are UTF-8 already).
std::string DecodeToUtf8(std::string&& bytes, const std::string& encoding);

}  // namespace tarnwick::xml
