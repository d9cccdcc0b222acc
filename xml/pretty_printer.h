// PrettyPrintXML: re-indents an XML text by copying its tree node by node
// into an auto-indenting document (two spaces a level).
#pragma once

#include <string>

namespace tarnwick::xml {

// Raises EDOMParseError for text that is not well-formed and EXMLDocError
// "Invalid node type" for a node it cannot copy (e.g. a document type).
std::string PrettyPrintXML(const std::string& text);

// The same, always copying through TXMLNode wrappers and TXMLNodeList
// appends. PrettyPrintXML takes this path with vendors that do not offer
// IDOMIndentedCopy; the results of both paths are the same.
std::string PrettyPrintXMLNodeByNode(const std::string& text);

}  // namespace tarnwick::xml
