// The document type declaration as it is written in a document's text, so
// that Format can keep it character for character.
#pragma once

#include <string_view>

namespace tarnwick::xml {

// The "<!DOCTYPE ...>" of well-formed text, internal subset included, from
// its "<" to its closing ">"; empty when the prolog has none. Text that is not
// well-formed gives what can be found of it, never more than the text.
std::string_view DocumentTypeText(std::string_view text);

} // namespace tarnwick::xml
