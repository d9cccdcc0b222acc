// The libxml2 vendor's in-place indentation: the indentation text nodes an
// indented node-by-node copy would receive, inserted into the tree itself.
#include "xml/libxml2_dom.h"
#include "xml/libxml2_tree.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml::libxml2 {

namespace {

xmlNodePtr NewIndent(xmlDocPtr doc, const std::string& unit, int count, bool lineBreak) {
  std::string text = lineBreak ? "\r\n" : "";
  for (int i = 0; i < count; ++i) text += unit;
  xmlNodePtr node = xmlNewDocText(doc, nullptr);
  if (doc->dict) node->content = const_cast<xmlChar*>(xmlDictLookup(doc->dict, X(text), static_cast<int>(text.size())));
  else node->content = xmlStrdup(X(text));
  return node;
}

// The children of `element` (depth = its number of ancestors) get what the
// copy's appends would have put around them: before each child other than
// text one unit (after a line break and the element's parent's indentation
// when it is the first thing in the list), after it a line break and the
// parent's indentation.
void IndentChildren(xmlNodePtr element, int depth, const std::string& unit) {
  bool listEmpty = true;
  xmlNodePtr next = nullptr;
  for (xmlNodePtr child = element->children; child; child = next) {
    next = child->next;
    if (child->type == XML_ELEMENT_NODE && child->children) IndentChildren(child, depth + 1, unit);
    if (child->type == XML_TEXT_NODE) {
      listEmpty = false;
      continue;
    }
    if (listEmpty) Link(element, NewIndent(element->doc, unit, depth - 1, true), child);
    Link(element, NewIndent(element->doc, unit, 1, false), child);
    Link(element, NewIndent(element->doc, unit, depth - 1, true), next);
    listEmpty = false;
  }
}

}  // namespace

void IndentInPlace(xmlDocPtr document, const std::string& indentUnit) {
  for (xmlNodePtr child = document->children; child; child = child->next) {
    switch (child->type) {
      case XML_ELEMENT_NODE:
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE:
      case XML_COMMENT_NODE:
      case XML_ENTITY_REF_NODE:
      case XML_PI_NODE:
        break;
      default:
        throw EXMLDocError(SInvalidNodeType);
    }
  }
  for (xmlNodePtr child = document->children; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE && child->children) IndentChildren(child, 1, indentUnit);
}

}  // namespace tarnwick::xml::libxml2
