// PrettyPrintXML: re-indents an XML text by copying its tree node by node
// into an auto-indenting document (two spaces a level).
#pragma once

#include <string>

namespace tarnwick::xml {

// Raises EDOMParseError for text that is not well-formed and EXMLDocError
// "Invalid node type" for a node it cannot copy (e.g. a document type).
std::string PrettyPrintXML(const std::string& text);

}  // namespace tarnwick::xml
