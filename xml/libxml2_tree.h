// Tree operations of the libxml2 vendor (inner to the vendor): reading names
// and attribute values, linking and unlinking nodes without merging text
// nodes, setting attribute nodes, resolving namespaces of inserted nodes.
#pragma once

#include <string>

#include "xml/libxml2_internal.h"

namespace tarnwick::xml::libxml2 {

inline std::string Str(const xmlChar *s) { return s ? reinterpret_cast<const char *>(s) : ""; }
inline const xmlChar *X(const std::string &s) { return reinterpret_cast<const xmlChar *>(s.c_str()); }
inline bool IsNsDeclName(const std::string &name) { return name == "xmlns" || name.rfind("xmlns:", 0) == 0; }

// Qualified name of an element or attribute.
std::string QName(xmlNodePtr n);
// The attribute's value taken as plain text (no entity parsing on write).
void SetAttrValue(xmlAttrPtr attr, const std::string &value);
std::string AttrValue(xmlAttrPtr attr);
// Resolves the floating namespaces of a subtree that was just inserted.
void ResolveSubtreeNs(xmlNodePtr node);
// Links child under parent before ref (null appends); no checks, no merging.
void Link(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr ref);
// Inserts child before ref (null appends) under parent, moving it from where
// it was; a document fragment gives its children. Raises DOMException.
void InsertChild(DocHolder &holder, xmlNodePtr parent, xmlNodePtr child, xmlNodePtr ref);
// Unlinks a child; it stays alive with the holder.
void RemoveChildNode(DocHolder &holder, xmlNodePtr parent, xmlNodePtr child);
// Sets an attribute node on an element, replacing one of the same name;
// "xmlns" attributes become namespace declarations. Returns the replaced node.
xmlAttrPtr SetAttributeNode(DocHolder &holder, xmlNodePtr element, xmlAttrPtr attr);

} // namespace tarnwick::xml::libxml2
