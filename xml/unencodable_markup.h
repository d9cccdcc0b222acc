// Characters that an encoding cannot hold in places where no character
// reference can stand for them. Writing a document turns such a character in
// text or an attribute value into a reference (&#26085;); in a name, a
// comment, a processing instruction, a CDATA section or the document type
// declaration a reference would change the document or break it, so the
// document is not written at all.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::xml {

struct TUnencodableCharacter {
    char32_t character = 0;
    int line = 0;      // 1-based, counted as the editor counts (LF, CR LF or CR)
    int column = 0;    // 1-based, in characters
    std::string place; // "a comment", "an element name", ...
};

// True for the encodings that hold every character (UTF-8, UTF-16, UTF-32).
bool HoldsEveryCharacter(const std::string &encoding);

// The first character of UTF-8 document text (well-formed or not) that
// `encoding` cannot hold and that stands where a character reference cannot.
// None for an encoding that holds every character or that nobody knows.
std::optional<TUnencodableCharacter> FindUnencodableMarkup(std::string_view text, const std::string &encoding);

// Raises EXMLLayerError naming the first such character, its line and column
// and where it stands.
void CheckEncodableMarkup(std::string_view text, const std::string &encoding);

} // namespace tarnwick::xml
