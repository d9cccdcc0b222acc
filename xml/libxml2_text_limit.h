// Keeping libxml2's limit on the length of one text node (10 MB) when the
// document is parsed from memory, and where no tree is built.
#pragma once

#include <libxml/parser.h>

namespace tarnwick::xml::libxml2 {

// For a parser context that builds a tree with libxml2's own handlers: a long
// run of text is handed to the tree in pieces, so that libxml2's check, which
// it makes when it adds to a text node, sees every text node. Without it, a
// run of plain text read from memory arrives whole and is taken at any length.
void KeepTextNodeLimit(xmlParserCtxtPtr ctxt);

// For handlers that build no tree (Format's writer): a run of text of
// `length` bytes is over the limit the tree builder keeps, and stops the
// parse with its error.
bool OverTextNodeLimit(xmlParserCtxtPtr ctxt, size_t length);

} // namespace tarnwick::xml::libxml2
