// The libxml2 vendor's nodes: reading and changing one node of a tree, and
// linking nodes in and out without libxml2's merging of adjacent text nodes
// (the layer's node lists rely on one DOM child per list item).
#include <cstring>
#include <unordered_set>

#include "xml/libxml2_dom.h"
#include "xml/libxml2_vendor.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml::libxml2 {

namespace {

// Marks a namespace created for an unattached node (in xmlNs::_private).
char kFloatingMarker;

std::string Str(const xmlChar* s) { return s ? reinterpret_cast<const char*>(s) : ""; }
const xmlChar* X(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }

[[noreturn]] void NotSupported(const char* method) { RaiseNotSupported(method, kLibxml2VendorName); }

bool IsNsDeclName(const std::string& name) { return name == "xmlns" || name.rfind("xmlns:", 0) == 0; }

// Qualified name of an element or attribute.
std::string QName(xmlNodePtr n) {
  std::string name = Str(n->name);
  if (n->ns && n->ns->prefix) return Str(n->ns->prefix) + ":" + name;
  return name;
}


void SetAttrValue(xmlAttrPtr attr, const std::string& value) {
  if (attr->children) xmlFreeNodeList(attr->children);
  attr->children = attr->last = nullptr;
  xmlNodePtr text = xmlNewDocText(attr->doc, X(value));
  if (text) {
    text->parent = reinterpret_cast<xmlNodePtr>(attr);
    attr->children = attr->last = text;
  }
}

std::string AttrValue(xmlAttrPtr attr) {
  if (attr->children && attr->children == attr->last && attr->children->type == XML_TEXT_NODE)
    return Str(attr->children->content);
  xmlChar* v = xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(attr));
  std::string s = Str(v);
  xmlFree(v);
  return s;
}

bool IsAncestorOrSelf(xmlNodePtr candidate, xmlNodePtr node) {
  for (xmlNodePtr n = node; n; n = n->parent)
    if (n == candidate) return true;
  return false;
}

// Points a node's floating namespace at a declaration in scope, declaring it
// on the node when there is none.
void ResolveNs(xmlNodePtr element, xmlNsPtr& ns, bool attached) {
  if (ns == nullptr || !DocHolder::IsFloating(ns)) return;
  xmlNsPtr found = xmlSearchNs(element->doc, element, ns->prefix);
  if (found && xmlStrEqual(found->href, ns->href)) {
    ns = found;
    return;
  }
  if (!attached) return;  // decided when the element joins the tree
  xmlNsPtr declared = xmlNewNs(element, ns->href, ns->prefix);
  if (declared) ns = declared;
}

bool IsAttached(xmlNodePtr node) {
  for (xmlNodePtr n = node; n; n = n->parent)
    if (n->type == XML_DOCUMENT_NODE) return true;
  return false;
}

void ResolveSubtreeNs(xmlNodePtr node) {
  bool attached = IsAttached(node);
  xmlNodePtr cur = node;
  while (cur) {
    if (cur->type == XML_ELEMENT_NODE) {
      ResolveNs(cur, cur->ns, attached);
      for (xmlAttrPtr a = cur->properties; a; a = a->next) ResolveNs(cur, a->ns, attached);
      if (cur->children) {
        cur = cur->children;
        continue;
      }
    }
    while (cur && cur != node && cur->next == nullptr) cur = cur->parent;
    if (cur == nullptr || cur == node) break;
    cur = cur->next;
  }
}

void Link(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr ref) {
  child->parent = parent;
  if (ref) {
    child->next = ref;
    child->prev = ref->prev;
    if (ref->prev) ref->prev->next = child;
    else parent->children = child;
    ref->prev = child;
  } else {
    child->next = nullptr;
    child->prev = parent->last;
    if (parent->last) parent->last->next = child;
    else parent->children = child;
    parent->last = child;
  }
}

bool CanHaveChildren(xmlNodePtr n) {
  return n->type == XML_ELEMENT_NODE || n->type == XML_DOCUMENT_NODE || n->type == XML_DOCUMENT_FRAG_NODE;
}

// Inserts child before ref (null appends) under parent, moving it from where it was.
void InsertChild(DocHolder& holder, xmlNodePtr parent, xmlNodePtr child, xmlNodePtr ref) {
  if (!CanHaveChildren(parent)) throw DOMException("This node cannot have children");
  if (child->type == XML_ATTRIBUTE_NODE || child->type == XML_DOCUMENT_NODE)
    throw DOMException("This node cannot be inserted here");
  if (child->doc != parent->doc && !(parent->type == XML_DOCUMENT_NODE && child->doc == reinterpret_cast<xmlDocPtr>(parent)))
    throw DOMException("The node belongs to another document");
  if (ref && ref->parent != parent) throw DOMException("The reference node is not a child of this node");
  if (IsAncestorOrSelf(child, parent)) throw DOMException("A node cannot be inserted into itself");
  if (child == ref) return;
  if (child->type == XML_DOCUMENT_FRAG_NODE) {
    while (child->children) {
      xmlNodePtr c = child->children;
      xmlUnlinkNode(c);
      Link(parent, c, ref);
      if (c->type == XML_ELEMENT_NODE) ResolveSubtreeNs(c);
    }
    return;
  }
  if (child->parent) xmlUnlinkNode(child);
  else if (child->type == XML_DTD_NODE && child->doc && child->doc->intSubset == reinterpret_cast<xmlDtdPtr>(child))
    xmlUnlinkNode(child);
  Link(parent, child, ref);
  if (child->type == XML_ELEMENT_NODE) ResolveSubtreeNs(child);
  (void)holder;
}

void RemoveChildNode(DocHolder& holder, xmlNodePtr parent, xmlNodePtr child) {
  if (child->parent != parent) throw DOMException("The node is not a child of this node");
  xmlUnlinkNode(child);
  holder.TrackDetached(child);
}

// Sets an attribute node on an element; "xmlns" attributes become declarations.
xmlAttrPtr SetAttributeNode(DocHolder& holder, xmlNodePtr element, xmlAttrPtr attr) {
  if (element->type != XML_ELEMENT_NODE) throw DOMException(SNotAttributeNode);
  std::string name = attr->ns ? QName(reinterpret_cast<xmlNodePtr>(attr)) : Str(attr->name);
  if (attr->ns == nullptr && IsNsDeclName(name)) {
    std::string prefix = name.size() > 6 ? name.substr(6) : "";
    std::string href = AttrValue(attr);
    for (xmlNsPtr ns = element->nsDef; ns; ns = ns->next) {
      if (Str(ns->prefix) == prefix) {
        if (ns->href) xmlFree(const_cast<xmlChar*>(ns->href));
        ns->href = xmlStrdup(X(href));
        return nullptr;
      }
    }
    xmlNewNs(element, X(href), prefix.empty() ? nullptr : X(prefix));
    if (attr->parent) xmlUnlinkNode(reinterpret_cast<xmlNodePtr>(attr));
    holder.TrackDetached(reinterpret_cast<xmlNodePtr>(attr));
    return nullptr;
  }
  if (attr->parent == element) return nullptr;
  if (attr->parent) xmlUnlinkNode(reinterpret_cast<xmlNodePtr>(attr));
  xmlAttrPtr old = nullptr;
  for (xmlAttrPtr a = element->properties; a; a = a->next) {
    if (xmlStrEqual(a->name, attr->name) &&
        ((a->ns == nullptr && attr->ns == nullptr) ||
         (a->ns && attr->ns && xmlStrEqual(a->ns->href, attr->ns->href)))) {
      old = a;
      break;
    }
  }
  if (old) {
    xmlUnlinkNode(reinterpret_cast<xmlNodePtr>(old));
    holder.TrackDetached(reinterpret_cast<xmlNodePtr>(old));
  }
  attr->parent = element;
  attr->next = nullptr;
  attr->prev = nullptr;
  if (element->properties == nullptr) {
    element->properties = attr;
  } else {
    xmlAttrPtr last = element->properties;
    while (last->next) last = last->next;
    last->next = attr;
    attr->prev = last;
  }
  ResolveNs(element, attr->ns, IsAttached(element));
  return old;
}

class ChildList : public IDOMNodeList {
 public:
  ChildList(std::shared_ptr<DocHolder> holder, xmlNodePtr parent) : holder_(std::move(holder)), parent_(parent) {}
  int length() override {
    int n = 0;
    for (xmlNodePtr c = First(); c; c = c->next) ++n;
    return n;
  }
  IDOMNodePtr item(int index) override {
    if (index < 0) return nullptr;
    xmlNodePtr c = First();
    while (c && index-- > 0) c = c->next;
    return c ? MakeNode(holder_, c) : nullptr;
  }

 private:
  xmlNodePtr First() const {
    if (parent_ == nullptr || parent_->type == XML_ENTITY_REF_NODE || parent_->type == XML_DTD_NODE ||
        parent_->type == XML_ATTRIBUTE_NODE)
      return nullptr;
    return parent_->children;
  }
  std::shared_ptr<DocHolder> holder_;
  xmlNodePtr parent_;
};

class ElementList : public IDOMNodeList {
 public:
  ElementList(std::shared_ptr<DocHolder> holder, xmlNodePtr root, std::string name)
      : holder_(std::move(holder)) {
    xmlNodePtr cur = root ? root->children : nullptr;
    while (cur) {
      if (cur->type == XML_ELEMENT_NODE) {
        if (name == "*" || QName(cur) == name) nodes_.push_back(cur);
        if (cur->children) {
          cur = cur->children;
          continue;
        }
      }
      while (cur && cur != root && cur->next == nullptr) cur = cur->parent;
      if (cur == nullptr || cur == root) break;
      cur = cur->next;
    }
  }
  int length() override { return static_cast<int>(nodes_.size()); }
  IDOMNodePtr item(int index) override {
    if (index < 0 || index >= length()) return nullptr;
    return MakeNode(holder_, nodes_[static_cast<size_t>(index)]);
  }

 private:
  std::shared_ptr<DocHolder> holder_;
  std::vector<xmlNodePtr> nodes_;
};

class AttributeMap : public IDOMNamedNodeMap {
 public:
  AttributeMap(std::shared_ptr<DocHolder> holder, xmlNodePtr element)
      : holder_(std::move(holder)), element_(element) {}
  int length() override {
    int n = 0;
    for (xmlNsPtr ns = element_->nsDef; ns; ns = ns->next) ++n;
    for (xmlAttrPtr a = element_->properties; a; a = a->next) ++n;
    return n;
  }
  IDOMNodePtr item(int index) override {
    if (index < 0) return nullptr;
    for (xmlNsPtr ns = element_->nsDef; ns; ns = ns->next)
      if (index-- == 0) return std::make_shared<Libxml2NsDecl>(holder_, element_, ns);
    for (xmlAttrPtr a = element_->properties; a; a = a->next)
      if (index-- == 0) return MakeNode(holder_, reinterpret_cast<xmlNodePtr>(a));
    return nullptr;
  }
  IDOMNodePtr getNamedItem(const std::string& name) override {
    if (IsNsDeclName(name)) {
      xmlNsPtr ns = FindDecl(name);
      return ns ? std::make_shared<Libxml2NsDecl>(holder_, element_, ns) : nullptr;
    }
    for (xmlAttrPtr a = element_->properties; a; a = a->next)
      if (QName(reinterpret_cast<xmlNodePtr>(a)) == name) return MakeNode(holder_, reinterpret_cast<xmlNodePtr>(a));
    return nullptr;
  }
  IDOMNodePtr setNamedItem(const IDOMNodePtr& node) override {
    if (!node) throw DOMException(SNodeCannotBeNull);
    if (auto decl = std::dynamic_pointer_cast<Libxml2NsDecl>(node)) {
      xmlNewNs(element_, decl->native()->href, decl->native()->prefix);
      return nullptr;
    }
    xmlNodePtr n = NativeOf(node);
    if (n->type != XML_ATTRIBUTE_NODE) throw DOMException(SNotAttributeNode);
    xmlAttrPtr old = SetAttributeNode(*holder_, element_, reinterpret_cast<xmlAttrPtr>(n));
    return old ? MakeNode(holder_, reinterpret_cast<xmlNodePtr>(old)) : nullptr;
  }
  IDOMNodePtr removeNamedItem(const std::string& name) override {
    if (IsNsDeclName(name)) {
      xmlNsPtr prev = nullptr;
      for (xmlNsPtr ns = element_->nsDef; ns; prev = ns, ns = ns->next) {
        if (DeclName(ns) != name) continue;
        (prev ? prev->next : element_->nsDef) = ns->next;
        ns->next = nullptr;
        holder_->Retire(ns);
        return std::make_shared<Libxml2NsDecl>(holder_, nullptr, ns);
      }
      return nullptr;
    }
    for (xmlAttrPtr a = element_->properties; a; a = a->next) {
      if (QName(reinterpret_cast<xmlNodePtr>(a)) != name) continue;
      xmlNodePtr n = reinterpret_cast<xmlNodePtr>(a);
      xmlUnlinkNode(n);
      holder_->TrackDetached(n);
      return MakeNode(holder_, n);
    }
    return nullptr;
  }
  IDOMNodePtr getNamedItemNS(const std::string& namespaceURI, const std::string& localName) override {
    for (xmlAttrPtr a = element_->properties; a; a = a->next)
      if (Str(a->name) == localName && Str(a->ns ? a->ns->href : nullptr) == namespaceURI)
        return MakeNode(holder_, reinterpret_cast<xmlNodePtr>(a));
    return nullptr;
  }
  IDOMNodePtr setNamedItemNS(const IDOMNodePtr& node) override { return setNamedItem(node); }
  IDOMNodePtr removeNamedItemNS(const std::string& namespaceURI, const std::string& localName) override {
    for (xmlAttrPtr a = element_->properties; a; a = a->next) {
      if (Str(a->name) != localName || Str(a->ns ? a->ns->href : nullptr) != namespaceURI) continue;
      xmlNodePtr n = reinterpret_cast<xmlNodePtr>(a);
      xmlUnlinkNode(n);
      holder_->TrackDetached(n);
      return MakeNode(holder_, n);
    }
    return nullptr;
  }

 private:
  static std::string DeclName(xmlNsPtr ns) { return ns->prefix ? "xmlns:" + Str(ns->prefix) : "xmlns"; }
  xmlNsPtr FindDecl(const std::string& name) {
    for (xmlNsPtr ns = element_->nsDef; ns; ns = ns->next)
      if (DeclName(ns) == name) return ns;
    return nullptr;
  }
  std::shared_ptr<DocHolder> holder_;
  xmlNodePtr element_;
};

}  // namespace

// ---------------------------------------------------------------- indented copy

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

xmlNodePtr IndentText(xmlDocPtr doc, const std::string& unit, int count, bool lineBreak) {
  std::string text = lineBreak ? "\r\n" : "";
  for (int i = 0; i < count; ++i) text += unit;
  return xmlNewDocText(doc, X(text));
}

bool HasCopyableChildren(xmlNodePtr n) {
  return n->children != nullptr &&
         (n->type == XML_ELEMENT_NODE || n->type == XML_DOCUMENT_NODE || n->type == XML_DOCUMENT_FRAG_NODE);
}

}  // namespace

void CopyChildrenIndented(DocHolder& holder, xmlNodePtr source, xmlNodePtr target, int targetDepth,
                          const std::string& indentUnit, bool autoIndent) {
  if (!HasCopyableChildren(source)) return;
  xmlDocPtr doc = holder.doc();
  bool indentHere = autoIndent && target->type != XML_DOCUMENT_NODE;
  for (xmlNodePtr child = source->children; child; child = child->next) {
    xmlNodePtr copy = CopyOne(holder, child);
    if (copy == nullptr) throw DOMException("The node cannot be copied");
    // Appending to a list: with an empty list a line break and the parent's
    // indentation first, then one unit before the node, and after it a line
    // break with the parent's indentation (the parent's depth is targetDepth - 1).
    if (indentHere && copy->type != XML_TEXT_NODE) {
      if (target->children == nullptr) Link(target, IndentText(doc, indentUnit, targetDepth - 1, true), nullptr);
      Link(target, IndentText(doc, indentUnit, 1, false), nullptr);
      InsertChild(holder, target, copy, nullptr);
      Link(target, IndentText(doc, indentUnit, targetDepth - 1, true), nullptr);
    } else {
      InsertChild(holder, target, copy, nullptr);
    }
    if (HasCopyableChildren(child) && child->type != XML_DOCUMENT_FRAG_NODE)
      CopyChildrenIndented(holder, child, copy, targetDepth + 1, indentUnit, autoIndent);
  }
}

// ---------------------------------------------------------------- DocHolder

DocHolder::~DocHolder() {
  // Free what is still outside the tree: first collect the roots (nodes
  // without a parent), then free them, so no freed node is looked at again.
  std::vector<xmlNodePtr> roots;
  std::unordered_set<xmlNodePtr> seen;
  for (xmlNodePtr n : detached_)
    if (n->parent == nullptr && !(n->type == XML_DTD_NODE && doc_ && doc_->intSubset == reinterpret_cast<xmlDtdPtr>(n)) &&
        seen.insert(n).second)
      roots.push_back(n);
  for (xmlNodePtr n : roots) {
    if (n->type == XML_ATTRIBUTE_NODE) xmlFreeProp(reinterpret_cast<xmlAttrPtr>(n));
    else if (n->type == XML_DTD_NODE) xmlFreeDtd(reinterpret_cast<xmlDtdPtr>(n));
    else xmlFreeNode(n);
  }
  if (doc_) xmlFreeDoc(doc_);
  for (xmlNsPtr ns : floating_) xmlFreeNs(ns);
  for (xmlNsPtr ns : retired_) xmlFreeNs(ns);
}

xmlNsPtr DocHolder::NewFloatingNs(const char* href, const char* prefix) {
  // xmlNewNs(NULL, ...) creates a declaration that belongs to no element.
  xmlNsPtr ns = xmlNewNs(nullptr, BAD_CAST href, prefix ? BAD_CAST prefix : nullptr);
  if (ns) {
    ns->_private = &kFloatingMarker;
    floating_.push_back(ns);
  }
  return ns;
}

bool DocHolder::IsFloating(xmlNsPtr ns) { return ns && ns->_private == &kFloatingMarker; }

// ---------------------------------------------------------------- helpers

IDOMNodePtr MakeNode(const std::shared_ptr<DocHolder>& holder, xmlNodePtr node) {
  if (node == nullptr) return nullptr;
  if (node->type == XML_DOCUMENT_NODE) {
    if (auto owner = holder->owner.lock()) return std::static_pointer_cast<IDOMDocument>(owner);
  }
  return std::make_shared<Libxml2Node>(holder, node);
}

xmlNodePtr NativeOf(const IDOMNodePtr& node) {
  if (!node) throw DOMException(SNodeCannotBeNull);
  auto* n = dynamic_cast<Libxml2Node*>(node.get());
  if (n == nullptr) throw DOMException("The node does not belong to the libxml2 DOM");
  return n->native();
}

// ---------------------------------------------------------------- Libxml2Node

std::string Libxml2Node::nodeName() {
  switch (node_->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
      return QName(node_);
    case XML_TEXT_NODE:
      return "#text";
    case XML_CDATA_SECTION_NODE:
      return "#cdata-section";
    case XML_COMMENT_NODE:
      return "#comment";
    case XML_DOCUMENT_NODE:
      return "#document";
    case XML_DOCUMENT_FRAG_NODE:
      return "#document-fragment";
    default:
      return Str(node_->name);
  }
}

std::string Libxml2Node::nodeValue() {
  switch (node_->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
      return Str(node_->content);
    case XML_ATTRIBUTE_NODE:
      return AttrValue(reinterpret_cast<xmlAttrPtr>(node_));
    default:
      return "";
  }
}

void Libxml2Node::set_nodeValue(const std::string& value) {
  switch (node_->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
      xmlNodeSetContent(node_, X(value));
      break;
    case XML_ATTRIBUTE_NODE:
      SetAttrValue(reinterpret_cast<xmlAttrPtr>(node_), value);
      break;
    default:
      break;
  }
}

int Libxml2Node::nodeType() {
  switch (node_->type) {
    case XML_ELEMENT_NODE: return 1;
    case XML_ATTRIBUTE_NODE: return 2;
    case XML_TEXT_NODE: return 3;
    case XML_CDATA_SECTION_NODE: return 4;
    case XML_ENTITY_REF_NODE: return 5;
    case XML_ENTITY_NODE:
    case XML_ENTITY_DECL: return 6;
    case XML_PI_NODE: return 7;
    case XML_COMMENT_NODE: return 8;
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE: return 9;
    case XML_DOCUMENT_TYPE_NODE:
    case XML_DTD_NODE: return 10;
    case XML_DOCUMENT_FRAG_NODE: return 11;
    case XML_NOTATION_NODE: return 12;
    default: return 0;
  }
}

IDOMNodePtr Libxml2Node::parentNode() {
  if (node_->type == XML_ATTRIBUTE_NODE) return nullptr;
  return MakeNode(holder_, node_->parent);
}

IDOMNodeListPtr Libxml2Node::childNodes() { return std::make_shared<ChildList>(holder_, node_); }

IDOMNodePtr Libxml2Node::firstChild() {
  if (!hasChildNodes()) return nullptr;
  return MakeNode(holder_, node_->children);
}

IDOMNodePtr Libxml2Node::lastChild() {
  if (!hasChildNodes()) return nullptr;
  return MakeNode(holder_, node_->last);
}

IDOMNodePtr Libxml2Node::previousSibling() {
  return node_->type == XML_DOCUMENT_NODE ? nullptr : MakeNode(holder_, node_->prev);
}

IDOMNodePtr Libxml2Node::nextSibling() {
  return node_->type == XML_DOCUMENT_NODE ? nullptr : MakeNode(holder_, node_->next);
}

IDOMNamedNodeMapPtr Libxml2Node::attributes() {
  if (node_->type != XML_ELEMENT_NODE) return nullptr;
  return std::make_shared<AttributeMap>(holder_, node_);
}

IDOMDocumentPtr Libxml2Node::ownerDocument() {
  if (auto owner = holder_->owner.lock()) return std::static_pointer_cast<IDOMDocument>(owner);
  return nullptr;
}

IDOMNodePtr Libxml2Node::insertBefore(const IDOMNodePtr& newChild, const IDOMNodePtr& refChild) {
  xmlNodePtr child = NativeOf(newChild);
  InsertChild(*holder_, node_, child, refChild ? NativeOf(refChild) : nullptr);
  return newChild;
}

IDOMNodePtr Libxml2Node::replaceChild(const IDOMNodePtr& newChild, const IDOMNodePtr& oldChild) {
  xmlNodePtr old = NativeOf(oldChild);
  if (old->parent != node_) throw DOMException("The node is not a child of this node");
  xmlNodePtr child = NativeOf(newChild);
  if (child == old) return oldChild;
  InsertChild(*holder_, node_, child, old);
  RemoveChildNode(*holder_, node_, old);
  return oldChild;
}

IDOMNodePtr Libxml2Node::removeChild(const IDOMNodePtr& child) {
  RemoveChildNode(*holder_, node_, NativeOf(child));
  return child;
}

IDOMNodePtr Libxml2Node::appendChild(const IDOMNodePtr& newChild) { return insertBefore(newChild, nullptr); }

bool Libxml2Node::hasChildNodes() {
  if (node_->type == XML_ENTITY_REF_NODE || node_->type == XML_DTD_NODE || node_->type == XML_ATTRIBUTE_NODE)
    return false;
  return node_->children != nullptr;
}

IDOMNodePtr Libxml2Node::cloneNode(bool deep) {
  xmlNodePtr copy = xmlDocCopyNode(node_, node_->doc, deep ? 1 : 2);
  if (copy == nullptr) throw DOMException("The node cannot be copied");
  holder_->TrackDetached(copy);
  return MakeNode(holder_, copy);
}

void Libxml2Node::normalize() { NotSupported("normalize"); }

bool Libxml2Node::supports(const std::string&, const std::string&) { NotSupported("supports"); }

std::string Libxml2Node::namespaceURI() {
  if ((node_->type == XML_ELEMENT_NODE || node_->type == XML_ATTRIBUTE_NODE) && node_->ns)
    return Str(node_->ns->href);
  return "";
}

std::string Libxml2Node::prefix() {
  if ((node_->type == XML_ELEMENT_NODE || node_->type == XML_ATTRIBUTE_NODE) && node_->ns)
    return Str(node_->ns->prefix);
  return "";
}

std::string Libxml2Node::localName() {
  if (node_->type == XML_ELEMENT_NODE || node_->type == XML_ATTRIBUTE_NODE) return Str(node_->name);
  return nodeName();
}

bool Libxml2Node::isSameNode(const IDOMNodePtr& other) {
  auto* n = dynamic_cast<Libxml2Node*>(other.get());
  return n && n->node_ == node_;
}

std::string Libxml2Node::text() {
  xmlChar* content = xmlNodeGetContent(node_);
  std::string s = Str(content);
  xmlFree(content);
  return s;
}

void Libxml2Node::set_text(const std::string& text) {
  if (node_->type != XML_ELEMENT_NODE && node_->type != XML_DOCUMENT_FRAG_NODE) {
    set_nodeValue(text);
    return;
  }
  while (node_->children) RemoveChildNode(*holder_, node_, node_->children);
  xmlNodePtr t = xmlNewDocText(node_->doc, X(text));
  Link(node_, t, nullptr);
}

std::string Libxml2Node::xml() { return SerialiseNode(node_->doc, node_); }

IDOMNodePtr Libxml2Node::ownerElement() { NotSupported("get_ownerElement"); }

std::string Libxml2Node::getAttribute(const std::string& name) {
  if (node_->type != XML_ELEMENT_NODE) return "";
  IDOMNodePtr a = AttributeMap(holder_, node_).getNamedItem(name);
  return a ? a->nodeValue() : "";
}

void Libxml2Node::setAttribute(const std::string& name, const std::string& value) {
  if (node_->type != XML_ELEMENT_NODE) throw DOMException(SNotAttributeNode);
  for (xmlAttrPtr a = node_->properties; a; a = a->next) {
    if (QName(reinterpret_cast<xmlNodePtr>(a)) == name) {
      SetAttrValue(a, value);
      return;
    }
  }
  xmlAttrPtr attr = xmlNewDocProp(node_->doc, X(name), nullptr);
  SetAttrValue(attr, value);
  SetAttributeNode(*holder_, node_, attr);
}

void Libxml2Node::removeAttribute(const std::string& name) {
  if (node_->type == XML_ELEMENT_NODE) AttributeMap(holder_, node_).removeNamedItem(name);
}

bool Libxml2Node::hasAttribute(const std::string& name) {
  return node_->type == XML_ELEMENT_NODE && AttributeMap(holder_, node_).getNamedItem(name) != nullptr;
}

std::string Libxml2Node::getAttributeNS(const std::string& namespaceURI, const std::string& localName) {
  if (node_->type != XML_ELEMENT_NODE) return "";
  IDOMNodePtr a = AttributeMap(holder_, node_).getNamedItemNS(namespaceURI, localName);
  return a ? a->nodeValue() : "";
}

void Libxml2Node::setAttributeNS(const std::string& namespaceURI, const std::string& qualifiedName,
                                 const std::string& value) {
  if (node_->type != XML_ELEMENT_NODE) throw DOMException(SNotAttributeNode);
  if (namespaceURI.empty()) {
    setAttribute(qualifiedName, value);
    return;
  }
  size_t colon = qualifiedName.find(':');
  std::string local = colon == std::string::npos ? qualifiedName : qualifiedName.substr(colon + 1);
  for (xmlAttrPtr a = node_->properties; a; a = a->next) {
    if (Str(a->name) == local && a->ns && Str(a->ns->href) == namespaceURI) {
      SetAttrValue(a, value);
      return;
    }
  }
  IDOMDocumentPtr doc = ownerDocument();
  if (!doc) throw DOMException("The document is gone");
  IDOMNodePtr attr = doc->createAttributeNS(namespaceURI, qualifiedName);
  attr->set_nodeValue(value);
  SetAttributeNode(*holder_, node_, reinterpret_cast<xmlAttrPtr>(NativeOf(attr)));
}

void Libxml2Node::removeAttributeNS(const std::string& namespaceURI, const std::string& localName) {
  if (node_->type == XML_ELEMENT_NODE) AttributeMap(holder_, node_).removeNamedItemNS(namespaceURI, localName);
}

IDOMNodeListPtr Libxml2Node::getElementsByTagName(const std::string& name) {
  return std::make_shared<ElementList>(holder_, node_, name);
}

IDOMNodeListPtr Libxml2Node::getElementsByTagNameNS(const std::string&, const std::string&) {
  NotSupported("getElementsByTagNameNS");
}

std::string Libxml2Node::publicId() { NotSupported("get_publicId"); }
std::string Libxml2Node::systemId() { NotSupported("get_systemId"); }
std::string Libxml2Node::internalSubset() { NotSupported("get_internalSubset"); }

// ---------------------------------------------------------------- Libxml2NsDecl

std::string Libxml2NsDecl::nodeName() { return ns_->prefix ? "xmlns:" + Str(ns_->prefix) : "xmlns"; }
std::string Libxml2NsDecl::nodeValue() { return Str(ns_->href); }
void Libxml2NsDecl::set_nodeValue(const std::string& value) {
  if (ns_->href) xmlFree(const_cast<xmlChar*>(ns_->href));
  ns_->href = xmlStrdup(X(value));
}
IDOMNodeListPtr Libxml2NsDecl::childNodes() { return std::make_shared<ChildList>(holder_, nullptr); }
IDOMDocumentPtr Libxml2NsDecl::ownerDocument() {
  if (auto owner = holder_->owner.lock()) return std::static_pointer_cast<IDOMDocument>(owner);
  return nullptr;
}
IDOMNodePtr Libxml2NsDecl::insertBefore(const IDOMNodePtr&, const IDOMNodePtr&) {
  throw DOMException(SNodeReadOnly);
}
IDOMNodePtr Libxml2NsDecl::replaceChild(const IDOMNodePtr&, const IDOMNodePtr&) { throw DOMException(SNodeReadOnly); }
IDOMNodePtr Libxml2NsDecl::removeChild(const IDOMNodePtr&) { throw DOMException(SNodeReadOnly); }
IDOMNodePtr Libxml2NsDecl::appendChild(const IDOMNodePtr&) { throw DOMException(SNodeReadOnly); }
IDOMNodePtr Libxml2NsDecl::cloneNode(bool) {
  IDOMDocumentPtr doc = ownerDocument();
  if (!doc) throw DOMException("The document is gone");
  IDOMNodePtr attr = doc->createAttribute(nodeName());
  attr->set_nodeValue(nodeValue());
  return attr;
}
void Libxml2NsDecl::normalize() { NotSupported("normalize"); }
bool Libxml2NsDecl::supports(const std::string&, const std::string&) { NotSupported("supports"); }
std::string Libxml2NsDecl::prefix() { return ns_->prefix ? "xmlns" : ""; }
std::string Libxml2NsDecl::localName() { return ns_->prefix ? Str(ns_->prefix) : "xmlns"; }
bool Libxml2NsDecl::isSameNode(const IDOMNodePtr& other) {
  auto* d = dynamic_cast<Libxml2NsDecl*>(other.get());
  return d && d->ns_ == ns_;
}
std::string Libxml2NsDecl::xml() { return nodeName() + "=\"" + nodeValue() + "\""; }
IDOMNodePtr Libxml2NsDecl::ownerElement() { NotSupported("get_ownerElement"); }


}  // namespace tarnwick::xml::libxml2
