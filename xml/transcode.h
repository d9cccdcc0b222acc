// Decoding a serialisation in a named encoding to UTF-8, and the other way;
// reading the encoding of a document's bytes before any parse.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::xml {

// Bytes in `encoding` as UTF-8; a leading byte-order mark is dropped. Bytes in
// an encoding nobody knows are returned unchanged.
std::string DecodeToUtf8(std::string_view bytes, const std::string &encoding);
// The same, taking over the bytes (no copy when they are UTF-8 already).
std::string DecodeToUtf8(std::string &&bytes, const std::string &encoding);

// The encoding a document's bytes are in, judged as the parser judges it: a
// byte-order mark, else "<?" in a UTF-16 or UTF-32 form, else the encoding the
// declaration names, else UTF-8. UTF-16 and UTF-32 come with their byte order
// ("UTF-16LE").
std::string DetectDocumentEncoding(std::string_view bytes);

// UTF-8 text in `encoding` as a document save writes it: "UTF-16" and
// "UTF-32" with a byte-order mark; a character the encoding cannot hold
// becomes a character reference. Raises EXMLLayerError when nobody knows the
// encoding, or when it cannot hold a character that stands where no
// reference can (in a name, a comment, ...; see unencodable_markup.h).
std::string EncodeFromUtf8(std::string_view text, const std::string &encoding);

// True for "UTF-8" in any spelling, and for no name at all.
bool IsUtf8Encoding(const std::string &encoding);

// True when `bytes` are well-formed UTF-8: no stray continuation byte, no
// overlong form, no surrogate, no sequence cut at the end.
bool IsValidUtf8(std::string_view bytes);

// The character a byte stands for in Windows-1252, as browsers read it: the
// five bytes the code page leaves free (0x81, 0x8D, 0x8F, 0x90, 0x9D) are
// the C1 controls of the same number, so every byte has a character of its
// own and no two share one.
char32_t Windows1252Character(unsigned char byte);

} // namespace tarnwick::xml
