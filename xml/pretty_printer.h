// PrettyPrintXML and the Format command's text: a document re-indented one
// element a line, two spaces a level, without changing what it says.
#pragma once

#include <string>

namespace tarnwick::xml {

// Re-indents UTF-8 `text` (its declared encoding is not read) and returns it
// with LF line breaks. Each element starts a line of its own, indented two
// spaces a level, and an element with children ends on a line of its own;
// whitespace-only text between them is replaced by that indentation. Content
// the layout would change is kept as written, its descendants included: an
// element holding character data (text, CDATA, entity references), an element
// whose whole content is whitespace, and everything inside
// xml:space="preserve" up to a descendant that sets it back to "default". The
// document type declaration is kept as written; comments and processing
// instructions are laid out like elements.
//
// The declaration keeps the version and standalone values of the text's own
// and its encoding only when that names a UTF-16 form; a text without a
// declaration gets none. Raises EDOMParseError for text that is not
// well-formed, and DOMException with a vendor that cannot format.
std::string PrettyPrintXML(const std::string &text);

// What Format gives the editor: `text` laid out as PrettyPrintXML lays it
// out, under a declaration naming `encoding` (with the text's version, "1.0"
// without one, and its standalone value), and with the characters `encoding`
// cannot hold written as character references, as saving it would write
// them. Relative references are taken against `baseDirectory`. Raises what
// PrettyPrintXML raises, and EXMLLayerError for an encoding nobody knows.
std::string FormatXML(const std::string &text, const std::string &encoding, const std::string &baseDirectory = "");

} // namespace tarnwick::xml
