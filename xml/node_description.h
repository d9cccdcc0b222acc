// How a list shows a node of a libxml2 tree: its line, its location path
// from the root ("/catalog/book[3]/title") and its string value cut short.
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <string>
#include <unordered_map>

namespace tarnwick::xml::libxml2 {

// Paths of many nodes of one tree. Nodes listed in document order share
// their ancestors' paths and their siblings' counts, so a list of nodes
// costs about one walk over the siblings involved, however long the list.
class NodePaths {
public:
    // The node's path: one step per ancestor, each with its position among
    // the siblings of its own name and kind when there is more than one.
    // Prefixed names keep their prefix.
    std::string Of(xmlNodePtr node);

private:
    std::string Step(xmlNodePtr node);
    size_t Position(xmlNodePtr node);
    bool HasLaterNamesake(xmlNodePtr node) const;

    std::unordered_map<xmlNodePtr, std::string> paths_;
    std::unordered_map<xmlNodePtr, size_t> positions_;
};

// The line the node stands on (an attribute's or a namespace's is its
// element's); 0 for the document.
int NodeLine(xmlNodePtr node);

// The node's string value with each run of white space as one space, at
// most `length` characters (then ending in "..."); reads no further.
std::string NodeText(xmlNodePtr node, size_t length);

} // namespace tarnwick::xml::libxml2
