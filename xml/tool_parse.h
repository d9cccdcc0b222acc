// The editor's text as the XML tools read it (XPath, validation against a
// chosen grammar, XSLT): parsed into a tree as UTF-8 whatever it declares,
// whitespace text kept, its DTD read for the entities it declares, and the
// declaration no node of the tree.
#pragma once

#include "xml/libxml2_internal.h"

#include <memory>
#include <string>
#include <string_view>

namespace tarnwick::xml::libxml2 {

using DocPtr = std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)>;

// Raises EDOMParseError when the text is not well-formed; relative
// references are taken against `baseDirectory`.
DocPtr ParseForTools(std::string_view text, const std::string &baseDirectory);

// A document file's text as the tools read it, decoded as Open decodes it,
// and the folder its references are taken against (none for standard
// input, "-"). Raises EXMLLayerError when the file cannot be read or its
// bytes are not of the form they claim.
struct ToolFile {
    std::string text;
    std::string folder;
};
ToolFile ReadToolFile(const std::string &path);

} // namespace tarnwick::xml::libxml2
