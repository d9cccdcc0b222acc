// PrettyPrintXML: re-indents an XML text by copying its tree node by node
// into an auto-indenting document (two spaces a level).
#pragma once

#include <string>

namespace tarnwick::xml {

// Raises EDOMParseError for text that is not well-formed and EXMLDocError
// "Invalid node type" for a node it cannot copy (e.g. a document type).
std::string PrettyPrintXML(const std::string& text);

// The same, always copying node by node through TXMLNode wrappers and
// TXMLNodeList appends into a second, auto-indenting document. PrettyPrintXML
// takes this path with vendors that do not offer IDOMIndentInPlace; with one
// that does, the vendor inserts the same indentation into the parsed tree
// itself, which gives the same text without a wrapper or a copy per node.
std::string PrettyPrintXMLNodeByNode(const std::string& text);

}  // namespace tarnwick::xml
