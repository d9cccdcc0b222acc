// The libxml2 vendor's indented copy: a source tree copied node by node
// under a target node with the node lists' auto-indent rule, without a
// wrapper object per node.
#include "xml/libxml2_dom.h"
#include "xml/libxml2_tree.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml::libxml2 {

namespace {

// A copy of one attribute (or namespace declaration) set on `element`, the
// way the wrapper path does it: create, set the value, set on the element.
void CopyAttribute(DocHolder& holder, xmlNodePtr element, const std::string& qname, const std::string& href,
                   const std::string& value) {
  xmlDocPtr doc = element->doc;
  std::string prefix, local = qname;
  if (size_t colon = qname.find(':'); colon != std::string::npos) {
    prefix = qname.substr(0, colon);
    local = qname.substr(colon + 1);
  }
  xmlAttrPtr attr;
  if (href.empty() || href == "http://www.w3.org/2000/xmlns/" || qname == "xmlns" || prefix == "xmlns") {
    attr = xmlNewDocProp(doc, X(qname), nullptr);
  } else {
    attr = xmlNewDocProp(doc, X(local), nullptr);
    attr->ns = holder.NewFloatingNs(href.c_str(), prefix.empty() ? nullptr : prefix.c_str());
  }
  SetAttrValue(attr, value);
  SetAttributeNode(holder, element, attr);
  if (attr->parent == nullptr) holder.TrackDetached(reinterpret_cast<xmlNodePtr>(attr));
}

xmlNodePtr CopyOne(DocHolder& holder, xmlNodePtr node) {
  xmlDocPtr doc = holder.doc();
  switch (node->type) {
    case XML_ELEMENT_NODE: {
      xmlNsPtr ns = nullptr;
      if (node->ns && node->ns->href && *node->ns->href)
        ns = holder.NewFloatingNs(reinterpret_cast<const char*>(node->ns->href),
                                  reinterpret_cast<const char*>(node->ns->prefix));
      xmlNodePtr copy = xmlNewDocNode(doc, ns, node->name, nullptr);
      for (xmlNsPtr d = node->nsDef; d; d = d->next)
        CopyAttribute(holder, copy, d->prefix ? "xmlns:" + Str(d->prefix) : "xmlns", "http://www.w3.org/2000/xmlns/",
                      Str(d->href));
      for (xmlAttrPtr a = node->properties; a; a = a->next)
        CopyAttribute(holder, copy, QName(reinterpret_cast<xmlNodePtr>(a)), a->ns ? Str(a->ns->href) : "",
                      AttrValue(a));
      return copy;
    }
    case XML_TEXT_NODE:
      return xmlNewDocText(doc, node->content);
    case XML_CDATA_SECTION_NODE:
      return xmlNewCDataBlock(doc, node->content, node->content ? xmlStrlen(node->content) : 0);
    case XML_COMMENT_NODE:
      return xmlNewDocComment(doc, node->content);
    case XML_ENTITY_REF_NODE:
      return xmlNewReference(doc, node->name);
    case XML_PI_NODE:
      return xmlNewDocPI(doc, node->name, node->content && *node->content ? node->content : nullptr);
    case XML_DOCUMENT_FRAG_NODE:
      return xmlNewDocFragment(doc);
    default:
      throw EXMLDocError(SInvalidNodeType);
  }
}

// Appends an indentation text under target. The few distinct indentation
// texts live in the document's dictionary rather than in every node, and an
// indentation text right after another one joins it: the copy is only ever
// serialised, and two adjacent text nodes serialise as their concatenation.
void AppendIndent(xmlNodePtr target, const std::string& unit, int count, bool lineBreak) {
  xmlDocPtr doc = target->doc;
  std::string text = lineBreak ? "\r\n" : "";
  for (int i = 0; i < count; ++i) text += unit;
  if (doc->dict == nullptr) {
    Link(target, xmlNewDocText(doc, X(text)), nullptr);
    return;
  }
  xmlNodePtr last = target->last;
  if (last && last->type == XML_TEXT_NODE && last->content && xmlDictOwns(doc->dict, last->content)) {
    text.insert(0, reinterpret_cast<const char*>(last->content));
    last->content = const_cast<xmlChar*>(xmlDictLookup(doc->dict, X(text), static_cast<int>(text.size())));
    return;
  }
  xmlNodePtr node = xmlNewDocText(doc, nullptr);
  node->content = const_cast<xmlChar*>(xmlDictLookup(doc->dict, X(text), static_cast<int>(text.size())));
  Link(target, node, nullptr);
}

bool HasCopyableChildren(xmlNodePtr n) {
  return n->children != nullptr &&
         (n->type == XML_ELEMENT_NODE || n->type == XML_DOCUMENT_NODE || n->type == XML_DOCUMENT_FRAG_NODE);
}

}  // namespace

void CopyChildrenIndented(DocHolder& holder, xmlNodePtr source, xmlNodePtr target, int targetDepth,
                          const std::string& indentUnit, bool autoIndent) {
  if (!HasCopyableChildren(source)) return;
  bool indentHere = autoIndent && target->type != XML_DOCUMENT_NODE;
  for (xmlNodePtr child = source->children; child; child = child->next) {
    xmlNodePtr copy = CopyOne(holder, child);
    if (copy == nullptr) throw DOMException("The node cannot be copied");
    // Appending to a list: with an empty list a line break and the parent's
    // indentation first, then one unit before the node, and after it a line
    // break with the parent's indentation (the parent's depth is targetDepth - 1).
    try {
      if (indentHere && copy->type != XML_TEXT_NODE) {
        if (target->children == nullptr) AppendIndent(target, indentUnit, targetDepth - 1, true);
        AppendIndent(target, indentUnit, 1, false);
        InsertChild(holder, target, copy, nullptr);
        AppendIndent(target, indentUnit, targetDepth - 1, true);
      } else {
        InsertChild(holder, target, copy, nullptr);
      }
    } catch (...) {
      if (copy->parent == nullptr) holder.TrackDetached(copy);
      throw;
    }
    if (HasCopyableChildren(child) && child->type != XML_DOCUMENT_FRAG_NODE)
      CopyChildrenIndented(holder, child, copy, targetDepth + 1, indentUnit, autoIndent);
  }
}

}  // namespace tarnwick::xml::libxml2
