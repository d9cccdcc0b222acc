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

#include "xml/xml_errors.h"

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

// What writing such a character raises.
class EUnencodableCharacter : public EXMLLayerError {
public:
    using EXMLLayerError::EXMLLayerError;
};

// Raises EUnencodableCharacter naming the first such character, its line and
// column and where it stands.
void CheckEncodableMarkup(std::string_view text, const std::string &encoding);

// Runs `write`, which writes a text made from the text `source()` gives (its
// serialisation, its formatted form). When that refuses a character, the
// refusal is given again naming where it stands in the source text, the text
// the user knows; the source is read only then.
template <typename Source, typename Write>
auto NamingSourceLines(Source source, const std::string &encoding, Write write)
{
    try {
        return write();
    } catch (const EUnencodableCharacter &) {
        CheckEncodableMarkup(source(), encoding);
        throw;
    }
}

} // namespace tarnwick::xml
