// TXMLNode: the tree interface over one vendor node.
#include "xml/xml_node.h"

#include "xml/xml_document.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

std::string BareTag(const std::string &tag)
{
    size_t colon = tag.find(':');
    return colon == std::string::npos ? tag : tag.substr(colon + 1);
}

bool IsNsDeclName(const std::string &name) { return name == "xmlns" || name.rfind("xmlns:", 0) == 0; }

} // namespace

TXMLNode::TXMLNode(IDOMNodePtr domNode, TXMLNode *parent, std::shared_ptr<TXMLDocLink> link)
    : domNode_(std::move(domNode)), parent_(parent), link_(std::move(link))
{
    if (!domNode_)
        throw EXMLDocError(SNodeCannotBeNull);
}

TXMLNode::~TXMLNode()
{
    if (children_)
        children_->Detach();
    if (attributes_)
        attributes_->Detach();
}

TXMLDocument &TXMLNode::Document() const
{
    TXMLDocument *doc = OwnerDocument();
    if (doc == nullptr || !doc->Active())
        throw EXMLDocError(SNoActiveDocument);
    return *doc;
}

std::string TXMLNode::QualifiedName() const { return domNode_->nodeName(); }

TNodeType TXMLNode::Kind() const { return static_cast<TNodeType>(domNode_->nodeType()); }

std::string TXMLNode::Value() const { return domNode_->nodeValue(); }

void TXMLNode::SetValue(const std::string &value)
{
    ReportChange(ncUpdate, true);
    domNode_->set_nodeValue(value);
    ReportChange(ncUpdate, false);
}

std::string TXMLNode::TextValue()
{
    if (Kind() != ntElement)
        return Value();
    TXMLNodeList &children = Children();
    if (children.Count() == 0)
        children.Append(Document().NewNode("", ntText));
    if (children.Count() != 1)
        throw EXMLDocError(SNotSingleTextNode);
    IXMLNodePtr child = children.Item(0);
    if (child->Kind() != ntText && child->Kind() != ntCData)
        throw EXMLDocError(SNotSingleTextNode);
    return child->Value();
}

void TXMLNode::SetTextValue(const std::string &text)
{
    if (Kind() != ntElement) {
        SetValue(text);
        return;
    }
    TXMLNodeList &children = Children();
    if (children.Count() == 0) {
        children.Append(Document().NewNode(text, ntText));
        return;
    }
    IXMLNodePtr child = children.Item(0);
    if (children.Count() != 1 || (child->Kind() != ntText && child->Kind() != ntCData))
        throw EXMLDocError(SNotSingleTextNode);
    child->SetValue(text);
}

std::string TXMLNode::Namespace() const { return domNode_->namespaceURI(); }

std::string TXMLNode::NsPrefix() const { return domNode_->prefix(); }

std::string TXMLNode::BareName() const { return domNode_->localName(); }

bool TXMLNode::HasChildren() const { return children_ ? children_->Count() > 0 : domNode_->hasChildNodes(); }

TXMLNodeList &TXMLNode::Children()
{
    if (!children_) {
        children_ = std::make_unique<TXMLNodeList>(*this, TNodeListKind::Children);
        children_->Populate();
    }
    return *children_;
}

TXMLNodeList &TXMLNode::Attributes()
{
    if (!attributes_) {
        attributes_ = std::make_unique<TXMLNodeList>(*this, TNodeListKind::Attributes);
        attributes_->Populate();
    }
    return *attributes_;
}

IXMLNodePtr TXMLNode::Parent() const { return parent_ ? parent_->shared_from_this() : nullptr; }

IXMLNodePtr TXMLNode::PrecedingSibling() const
{
    if (!parent_)
        return nullptr;
    TXMLNodeList &siblings = parent_->Children();
    int i = siblings.IndexOf(std::const_pointer_cast<TXMLNode>(shared_from_this()));
    return i > 0 ? siblings.Item(i - 1) : nullptr;
}

IXMLNodePtr TXMLNode::FollowingSibling() const
{
    if (!parent_)
        return nullptr;
    TXMLNodeList &siblings = parent_->Children();
    int i = siblings.IndexOf(std::const_pointer_cast<TXMLNode>(shared_from_this()));
    return i >= 0 && i + 1 < siblings.Count() ? siblings.Item(i + 1) : nullptr;
}

std::string TXMLNode::FindNamespaceURI(const std::string &prefix) const
{
    for (IDOMNodePtr n = domNode_; n; n = n->parentNode()) {
        if (n->nodeType() != ntElement)
            continue;
        if (n->prefix() == prefix)
            return n->namespaceURI();
        if (IDOMNamedNodeMapPtr attrs = n->attributes())
            if (IDOMNodePtr decl = attrs->getNamedItem(prefix.empty() ? "xmlns" : "xmlns:" + prefix))
                return decl->nodeValue();
    }
    return "";
}

std::string TXMLNode::FindNamespacePrefix(const std::string &namespaceURI, bool &found) const
{
    found = false;
    if (namespaceURI.empty())
        return "";
    for (IDOMNodePtr n = domNode_; n; n = n->parentNode()) {
        if (n->nodeType() != ntElement)
            continue;
        if (IDOMNamedNodeMapPtr attrs = n->attributes()) {
            for (int i = 0, count = attrs->length(); i < count; ++i) {
                IDOMNodePtr a = attrs->item(i);
                std::string name = a->nodeName();
                if (IsNsDeclName(name) && a->nodeValue() == namespaceURI) {
                    found = true;
                    return name.size() > 6 ? name.substr(6) : "";
                }
            }
        }
        if (n->namespaceURI() == namespaceURI) {
            found = true;
            return n->prefix();
        }
    }
    return "";
}

IXMLNodePtr TXMLNode::AddElement(const std::string &tagName, int index)
{
    std::string qualified = tagName;
    std::string namespaceURI;
    size_t colon = tagName.find(':');
    if (colon != std::string::npos) {
        namespaceURI = FindNamespaceURI(tagName.substr(0, colon));
    } else if (Kind() == ntElement) {
        std::string prefix = NsPrefix();
        if (!prefix.empty())
            qualified = prefix + ":" + tagName;
        namespaceURI = Namespace();
    }
    IXMLNodePtr node = Document().NewNode(qualified, ntElement, namespaceURI);
    Children().InsertAt(index, node);
    return node;
}

IXMLNodePtr TXMLNode::AddElement(const std::string &tagName, const std::string &namespaceURI, bool generatePrefix,
                                 int index)
{
    TXMLDocument &doc = Document();
    bool inScope = false;
    std::string prefix = FindNamespacePrefix(namespaceURI, inScope);
    std::string qualified;
    if (inScope)
        qualified = prefix.empty() ? BareTag(tagName) : prefix + ":" + BareTag(tagName);
    else if (tagName.find(':') != std::string::npos)
        qualified = tagName;
    else if (generatePrefix && !namespaceURI.empty())
        qualified = doc.GeneratePrefix() + ":" + tagName;
    else
        qualified = tagName;
    IXMLNodePtr node = doc.NewNode(qualified, ntElement, namespaceURI);
    Children().InsertAt(index, node);
    // The vendor declares a namespace it finds nowhere in scope on the node
    // itself; with doNamespaceDecl the declaration is also made explicit.
    if (!inScope && !namespaceURI.empty() && doc.Options().Contains(doNamespaceDecl)) {
        std::string p = node->NsPrefix();
        std::string declName = p.empty() ? "xmlns" : "xmlns:" + p;
        if (!node->HasAttribute(declName))
            node->WriteAttribute(declName, namespaceURI);
    }
    return node;
}

std::string TXMLNode::ReadAttribute(const std::string &name) const
{
    auto element = QueryInterface<IDOMElement>(domNode_);
    if (!element || Kind() != ntElement)
        return "";
    return element->getAttribute(name);
}

bool TXMLNode::HasAttribute(const std::string &name) const
{
    auto element = QueryInterface<IDOMElement>(domNode_);
    return element && Kind() == ntElement && element->hasAttribute(name);
}

void TXMLNode::WriteAttribute(const std::string &name, const std::string &value)
{
    if (Kind() != ntElement)
        throw EXMLDocError(SNotAttributeNode);
    TXMLNodeList &attributes = Attributes();
    if (IXMLNodePtr existing = attributes.FindByName(name)) {
        existing->SetValue(value);
        return;
    }
    IXMLNodePtr attr = Document().NewNode(name, ntAttribute);
    attr->SetValue(value);
    attributes.Append(attr);
}

std::string TXMLNode::XML() const
{
    auto ex = QueryInterface<IDOMNodeEx>(domNode_);
    if (!ex)
        throw DOMException(SDOMNotSupported);
    return ex->xml();
}

int TXMLNode::AncestorCount() const
{
    int count = 0;
    for (TXMLNode *p = parent_; p; p = p->parent_)
        ++count;
    return count;
}

IXMLNodePtr TXMLNode::Wrap(const IDOMNodePtr &domNode) { return std::make_shared<TXMLNode>(domNode, this, link_); }

void TXMLNode::ReportChange(TNodeChange change, bool before)
{
    if (TXMLDocument *doc = OwnerDocument())
        doc->NodeChanged(*this, change, before);
}

void TXMLNode::ChildListNotify(TXMLNodeList &list, TNodeChange change, const IXMLNodePtr &node, int index, bool before)
{
    if (!before) {
        ReportChange(change, false);
        return;
    }
    ReportChange(change, true);
    if (list.updateCount_ > 0)
        return;
    bool attributes = list.Kind() == TNodeListKind::Attributes;
    switch (change) {
    case ncInsertChild:
    case ncAddAttribute:
        if (attributes) {
            IDOMNamedNodeMapPtr map = domNode_->attributes();
            if (!map)
                throw EXMLDocError(SNotAttributeNode);
            map->setNamedItem(node->VendorNode());
        } else if (index >= 0 && index < list.Count()) {
            domNode_->insertBefore(node->VendorNode(), list.items_[static_cast<size_t>(index)]->VendorNode());
        } else {
            domNode_->appendChild(node->VendorNode());
        }
        node->parent_ = this;
        break;
    case ncRemoveChild:
    case ncRemoveAttribute:
        if (attributes) {
            if (IDOMNamedNodeMapPtr map = domNode_->attributes())
                map->removeNamedItem(node->QualifiedName());
        } else {
            domNode_->removeChild(node->VendorNode());
        }
        node->parent_ = nullptr;
        break;
    case ncUpdate:
        break;
    }
}

} // namespace tarnwick::xml
