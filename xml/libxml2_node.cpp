// The libxml2 vendor's nodes: reading and changing one node of a tree, its
// child and attribute lists, and namespace declarations shown as attributes.
#include "xml/libxml2_dom.h"
#include "xml/libxml2_tree.h"
#include "xml/libxml2_vendor.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml::libxml2 {

namespace {

[[noreturn]] void NotSupported(const char *method) { RaiseNotSupported(method, kLibxml2VendorName); }

class ChildList : public IDOMNodeList {
public:
    ChildList(std::shared_ptr<DocHolder> holder, xmlNodePtr parent) : holder_(std::move(holder)), parent_(parent) {}
    int length() override
    {
        int n = 0;
        for (xmlNodePtr c = First(); c; c = c->next)
            ++n;
        return n;
    }
    IDOMNodePtr item(int index) override
    {
        if (index < 0)
            return nullptr;
        xmlNodePtr c = First();
        while (c && index-- > 0)
            c = c->next;
        return c ? MakeNode(holder_, c) : nullptr;
    }

private:
    xmlNodePtr First() const
    {
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
    ElementList(std::shared_ptr<DocHolder> holder, xmlNodePtr root, std::string name) : holder_(std::move(holder))
    {
        xmlNodePtr cur = root ? root->children : nullptr;
        while (cur) {
            if (cur->type == XML_ELEMENT_NODE) {
                if (name == "*" || QName(cur) == name)
                    nodes_.push_back(cur);
                if (cur->children) {
                    cur = cur->children;
                    continue;
                }
            }
            while (cur && cur != root && cur->next == nullptr)
                cur = cur->parent;
            if (cur == nullptr || cur == root)
                break;
            cur = cur->next;
        }
    }
    int length() override { return static_cast<int>(nodes_.size()); }
    IDOMNodePtr item(int index) override
    {
        if (index < 0 || index >= length())
            return nullptr;
        return MakeNode(holder_, nodes_[static_cast<size_t>(index)]);
    }

private:
    std::shared_ptr<DocHolder> holder_;
    std::vector<xmlNodePtr> nodes_;
};

class AttributeMap : public IDOMNamedNodeMap {
public:
    AttributeMap(std::shared_ptr<DocHolder> holder, xmlNodePtr element) : holder_(std::move(holder)), element_(element)
    {
    }
    int length() override
    {
        int n = 0;
        for (xmlNsPtr ns = element_->nsDef; ns; ns = ns->next)
            ++n;
        for (xmlAttrPtr a = element_->properties; a; a = a->next)
            ++n;
        return n;
    }
    IDOMNodePtr item(int index) override
    {
        if (index < 0)
            return nullptr;
        for (xmlNsPtr ns = element_->nsDef; ns; ns = ns->next)
            if (index-- == 0)
                return std::make_shared<Libxml2NsDecl>(holder_, element_, ns);
        for (xmlAttrPtr a = element_->properties; a; a = a->next)
            if (index-- == 0)
                return MakeNode(holder_, reinterpret_cast<xmlNodePtr>(a));
        return nullptr;
    }
    IDOMNodePtr getNamedItem(const std::string &name) override
    {
        if (IsNsDeclName(name)) {
            xmlNsPtr ns = FindDecl(name);
            return ns ? std::make_shared<Libxml2NsDecl>(holder_, element_, ns) : nullptr;
        }
        for (xmlAttrPtr a = element_->properties; a; a = a->next)
            if (QName(reinterpret_cast<xmlNodePtr>(a)) == name)
                return MakeNode(holder_, reinterpret_cast<xmlNodePtr>(a));
        return nullptr;
    }
    IDOMNodePtr setNamedItem(const IDOMNodePtr &node) override
    {
        if (!node)
            throw DOMException(SNodeCannotBeNull);
        if (auto decl = std::dynamic_pointer_cast<Libxml2NsDecl>(node)) {
            xmlNewNs(element_, decl->native()->href, decl->native()->prefix);
            return nullptr;
        }
        xmlNodePtr n = NativeOf(node);
        if (n->type != XML_ATTRIBUTE_NODE)
            throw DOMException(SNotAttributeNode);
        xmlAttrPtr old = SetAttributeNode(*holder_, element_, reinterpret_cast<xmlAttrPtr>(n));
        return old ? MakeNode(holder_, reinterpret_cast<xmlNodePtr>(old)) : nullptr;
    }
    IDOMNodePtr removeNamedItem(const std::string &name) override
    {
        if (IsNsDeclName(name)) {
            xmlNsPtr prev = nullptr;
            for (xmlNsPtr ns = element_->nsDef; ns; prev = ns, ns = ns->next) {
                if (DeclName(ns) != name)
                    continue;
                (prev ? prev->next : element_->nsDef) = ns->next;
                ns->next = nullptr;
                holder_->Retire(ns);
                return std::make_shared<Libxml2NsDecl>(holder_, nullptr, ns);
            }
            return nullptr;
        }
        for (xmlAttrPtr a = element_->properties; a; a = a->next) {
            if (QName(reinterpret_cast<xmlNodePtr>(a)) != name)
                continue;
            xmlNodePtr n = reinterpret_cast<xmlNodePtr>(a);
            xmlUnlinkNode(n);
            holder_->TrackDetached(n);
            return MakeNode(holder_, n);
        }
        return nullptr;
    }
    IDOMNodePtr getNamedItemNS(const std::string &namespaceURI, const std::string &localName) override
    {
        for (xmlAttrPtr a = element_->properties; a; a = a->next)
            if (Str(a->name) == localName && Str(a->ns ? a->ns->href : nullptr) == namespaceURI)
                return MakeNode(holder_, reinterpret_cast<xmlNodePtr>(a));
        return nullptr;
    }
    IDOMNodePtr setNamedItemNS(const IDOMNodePtr &node) override { return setNamedItem(node); }
    IDOMNodePtr removeNamedItemNS(const std::string &namespaceURI, const std::string &localName) override
    {
        for (xmlAttrPtr a = element_->properties; a; a = a->next) {
            if (Str(a->name) != localName || Str(a->ns ? a->ns->href : nullptr) != namespaceURI)
                continue;
            xmlNodePtr n = reinterpret_cast<xmlNodePtr>(a);
            xmlUnlinkNode(n);
            holder_->TrackDetached(n);
            return MakeNode(holder_, n);
        }
        return nullptr;
    }

private:
    static std::string DeclName(xmlNsPtr ns) { return ns->prefix ? "xmlns:" + Str(ns->prefix) : "xmlns"; }
    xmlNsPtr FindDecl(const std::string &name)
    {
        for (xmlNsPtr ns = element_->nsDef; ns; ns = ns->next)
            if (DeclName(ns) == name)
                return ns;
        return nullptr;
    }
    std::shared_ptr<DocHolder> holder_;
    xmlNodePtr element_;
};

} // namespace

// ---------------------------------------------------------------- helpers

IDOMNodePtr MakeNode(const std::shared_ptr<DocHolder> &holder, xmlNodePtr node)
{
    if (node == nullptr)
        return nullptr;
    if (node->type == XML_DOCUMENT_NODE) {
        if (auto owner = holder->owner.lock())
            return std::static_pointer_cast<IDOMDocument>(owner);
    }
    return std::make_shared<Libxml2Node>(holder, node);
}

xmlNodePtr NativeOf(const IDOMNodePtr &node)
{
    if (!node)
        throw DOMException(SNodeCannotBeNull);
    auto *n = dynamic_cast<Libxml2Node *>(node.get());
    if (n == nullptr)
        throw DOMException("The node does not belong to the libxml2 DOM");
    return n->native();
}

// ---------------------------------------------------------------- Libxml2Node

std::string Libxml2Node::nodeName()
{
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

std::string Libxml2Node::nodeValue()
{
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

void Libxml2Node::set_nodeValue(const std::string &value)
{
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

int Libxml2Node::nodeType()
{
    switch (node_->type) {
    case XML_ELEMENT_NODE:
        return 1;
    case XML_ATTRIBUTE_NODE:
        return 2;
    case XML_TEXT_NODE:
        return 3;
    case XML_CDATA_SECTION_NODE:
        return 4;
    case XML_ENTITY_REF_NODE:
        return 5;
    case XML_ENTITY_NODE:
    case XML_ENTITY_DECL:
        return 6;
    case XML_PI_NODE:
        return 7;
    case XML_COMMENT_NODE:
        return 8;
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
        return 9;
    case XML_DOCUMENT_TYPE_NODE:
    case XML_DTD_NODE:
        return 10;
    case XML_DOCUMENT_FRAG_NODE:
        return 11;
    case XML_NOTATION_NODE:
        return 12;
    default:
        return 0;
    }
}

IDOMNodePtr Libxml2Node::parentNode()
{
    if (node_->type == XML_ATTRIBUTE_NODE)
        return nullptr;
    return MakeNode(holder_, node_->parent);
}

IDOMNodeListPtr Libxml2Node::childNodes() { return std::make_shared<ChildList>(holder_, node_); }

IDOMNodePtr Libxml2Node::firstChild()
{
    if (!hasChildNodes())
        return nullptr;
    return MakeNode(holder_, node_->children);
}

IDOMNodePtr Libxml2Node::lastChild()
{
    if (!hasChildNodes())
        return nullptr;
    return MakeNode(holder_, node_->last);
}

IDOMNodePtr Libxml2Node::previousSibling()
{
    return node_->type == XML_DOCUMENT_NODE ? nullptr : MakeNode(holder_, node_->prev);
}

IDOMNodePtr Libxml2Node::nextSibling()
{
    return node_->type == XML_DOCUMENT_NODE ? nullptr : MakeNode(holder_, node_->next);
}

IDOMNamedNodeMapPtr Libxml2Node::attributes()
{
    if (node_->type != XML_ELEMENT_NODE)
        return nullptr;
    return std::make_shared<AttributeMap>(holder_, node_);
}

IDOMDocumentPtr Libxml2Node::ownerDocument()
{
    if (auto owner = holder_->owner.lock())
        return std::static_pointer_cast<IDOMDocument>(owner);
    return nullptr;
}

IDOMNodePtr Libxml2Node::insertBefore(const IDOMNodePtr &newChild, const IDOMNodePtr &refChild)
{
    xmlNodePtr child = NativeOf(newChild);
    InsertChild(*holder_, node_, child, refChild ? NativeOf(refChild) : nullptr);
    return newChild;
}

IDOMNodePtr Libxml2Node::replaceChild(const IDOMNodePtr &newChild, const IDOMNodePtr &oldChild)
{
    xmlNodePtr old = NativeOf(oldChild);
    if (old->parent != node_)
        throw DOMException("The node is not a child of this node");
    xmlNodePtr child = NativeOf(newChild);
    if (child == old)
        return oldChild;
    InsertChild(*holder_, node_, child, old);
    RemoveChildNode(*holder_, node_, old);
    return oldChild;
}

IDOMNodePtr Libxml2Node::removeChild(const IDOMNodePtr &child)
{
    RemoveChildNode(*holder_, node_, NativeOf(child));
    return child;
}

IDOMNodePtr Libxml2Node::appendChild(const IDOMNodePtr &newChild) { return insertBefore(newChild, nullptr); }

bool Libxml2Node::hasChildNodes()
{
    if (node_->type == XML_ENTITY_REF_NODE || node_->type == XML_DTD_NODE || node_->type == XML_ATTRIBUTE_NODE)
        return false;
    return node_->children != nullptr;
}

IDOMNodePtr Libxml2Node::cloneNode(bool deep)
{
    xmlNodePtr copy = xmlDocCopyNode(node_, node_->doc, deep ? 1 : 2);
    if (copy == nullptr)
        throw DOMException("The node cannot be copied");
    holder_->TrackDetached(copy);
    return MakeNode(holder_, copy);
}

void Libxml2Node::normalize() { NotSupported("normalize"); }

bool Libxml2Node::supports(const std::string &, const std::string &) { NotSupported("supports"); }

std::string Libxml2Node::namespaceURI()
{
    if ((node_->type == XML_ELEMENT_NODE || node_->type == XML_ATTRIBUTE_NODE) && node_->ns)
        return Str(node_->ns->href);
    return "";
}

std::string Libxml2Node::prefix()
{
    if ((node_->type == XML_ELEMENT_NODE || node_->type == XML_ATTRIBUTE_NODE) && node_->ns)
        return Str(node_->ns->prefix);
    return "";
}

std::string Libxml2Node::localName()
{
    if (node_->type == XML_ELEMENT_NODE || node_->type == XML_ATTRIBUTE_NODE)
        return Str(node_->name);
    return nodeName();
}

bool Libxml2Node::isSameNode(const IDOMNodePtr &other)
{
    auto *n = dynamic_cast<Libxml2Node *>(other.get());
    return n && n->node_ == node_;
}

std::string Libxml2Node::text()
{
    xmlChar *content = xmlNodeGetContent(node_);
    std::string s = Str(content);
    xmlFree(content);
    return s;
}

void Libxml2Node::set_text(const std::string &text)
{
    if (node_->type != XML_ELEMENT_NODE && node_->type != XML_DOCUMENT_FRAG_NODE) {
        set_nodeValue(text);
        return;
    }
    while (node_->children)
        RemoveChildNode(*holder_, node_, node_->children);
    xmlNodePtr t = xmlNewDocText(node_->doc, X(text));
    Link(node_, t, nullptr);
}

std::string Libxml2Node::xml() { return SerialiseNode(node_->doc, node_); }

IDOMNodePtr Libxml2Node::ownerElement() { NotSupported("get_ownerElement"); }

std::string Libxml2Node::getAttribute(const std::string &name)
{
    if (node_->type != XML_ELEMENT_NODE)
        return "";
    IDOMNodePtr a = AttributeMap(holder_, node_).getNamedItem(name);
    return a ? a->nodeValue() : "";
}

void Libxml2Node::setAttribute(const std::string &name, const std::string &value)
{
    if (node_->type != XML_ELEMENT_NODE)
        throw DOMException(SNotAttributeNode);
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

void Libxml2Node::removeAttribute(const std::string &name)
{
    if (node_->type == XML_ELEMENT_NODE)
        AttributeMap(holder_, node_).removeNamedItem(name);
}

bool Libxml2Node::hasAttribute(const std::string &name)
{
    return node_->type == XML_ELEMENT_NODE && AttributeMap(holder_, node_).getNamedItem(name) != nullptr;
}

std::string Libxml2Node::getAttributeNS(const std::string &namespaceURI, const std::string &localName)
{
    if (node_->type != XML_ELEMENT_NODE)
        return "";
    IDOMNodePtr a = AttributeMap(holder_, node_).getNamedItemNS(namespaceURI, localName);
    return a ? a->nodeValue() : "";
}

void Libxml2Node::setAttributeNS(const std::string &namespaceURI, const std::string &qualifiedName,
                                 const std::string &value)
{
    if (node_->type != XML_ELEMENT_NODE)
        throw DOMException(SNotAttributeNode);
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
    if (!doc)
        throw DOMException("The document is gone");
    IDOMNodePtr attr = doc->createAttributeNS(namespaceURI, qualifiedName);
    attr->set_nodeValue(value);
    SetAttributeNode(*holder_, node_, reinterpret_cast<xmlAttrPtr>(NativeOf(attr)));
}

void Libxml2Node::removeAttributeNS(const std::string &namespaceURI, const std::string &localName)
{
    if (node_->type == XML_ELEMENT_NODE)
        AttributeMap(holder_, node_).removeNamedItemNS(namespaceURI, localName);
}

IDOMNodeListPtr Libxml2Node::getElementsByTagName(const std::string &name)
{
    return std::make_shared<ElementList>(holder_, node_, name);
}

IDOMNodeListPtr Libxml2Node::getElementsByTagNameNS(const std::string &, const std::string &)
{
    NotSupported("getElementsByTagNameNS");
}

std::string Libxml2Node::publicId() { NotSupported("get_publicId"); }
std::string Libxml2Node::systemId() { NotSupported("get_systemId"); }
std::string Libxml2Node::internalSubset() { NotSupported("get_internalSubset"); }

// ---------------------------------------------------------------- Libxml2NsDecl

std::string Libxml2NsDecl::nodeName() { return ns_->prefix ? "xmlns:" + Str(ns_->prefix) : "xmlns"; }
std::string Libxml2NsDecl::nodeValue() { return Str(ns_->href); }
void Libxml2NsDecl::set_nodeValue(const std::string &value)
{
    if (ns_->href)
        xmlFree(const_cast<xmlChar *>(ns_->href));
    ns_->href = xmlStrdup(X(value));
}
IDOMNodeListPtr Libxml2NsDecl::childNodes() { return std::make_shared<ChildList>(holder_, nullptr); }
IDOMDocumentPtr Libxml2NsDecl::ownerDocument()
{
    if (auto owner = holder_->owner.lock())
        return std::static_pointer_cast<IDOMDocument>(owner);
    return nullptr;
}
IDOMNodePtr Libxml2NsDecl::insertBefore(const IDOMNodePtr &, const IDOMNodePtr &) { throw DOMException(SNodeReadOnly); }
IDOMNodePtr Libxml2NsDecl::replaceChild(const IDOMNodePtr &, const IDOMNodePtr &) { throw DOMException(SNodeReadOnly); }
IDOMNodePtr Libxml2NsDecl::removeChild(const IDOMNodePtr &) { throw DOMException(SNodeReadOnly); }
IDOMNodePtr Libxml2NsDecl::appendChild(const IDOMNodePtr &) { throw DOMException(SNodeReadOnly); }
IDOMNodePtr Libxml2NsDecl::cloneNode(bool)
{
    IDOMDocumentPtr doc = ownerDocument();
    if (!doc)
        throw DOMException("The document is gone");
    IDOMNodePtr attr = doc->createAttribute(nodeName());
    attr->set_nodeValue(nodeValue());
    return attr;
}
void Libxml2NsDecl::normalize() { NotSupported("normalize"); }
bool Libxml2NsDecl::supports(const std::string &, const std::string &) { NotSupported("supports"); }
std::string Libxml2NsDecl::prefix() { return ns_->prefix ? "xmlns" : ""; }
std::string Libxml2NsDecl::localName() { return ns_->prefix ? Str(ns_->prefix) : "xmlns"; }
bool Libxml2NsDecl::isSameNode(const IDOMNodePtr &other)
{
    auto *d = dynamic_cast<Libxml2NsDecl *>(other.get());
    return d && d->ns_ == ns_;
}
std::string Libxml2NsDecl::xml() { return nodeName() + "=\"" + nodeValue() + "\""; }
IDOMNodePtr Libxml2NsDecl::ownerElement() { NotSupported("get_ownerElement"); }

} // namespace tarnwick::xml::libxml2
