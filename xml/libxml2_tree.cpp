// Changing libxml2 trees the way the layer's node lists need: nodes are
// linked in and out without libxml2's merging of adjacent text nodes (one DOM
// child per list item), namespaces of nodes created unattached are resolved
// when they join the tree, and "xmlns" attributes become declarations.
#include "xml/libxml2_tree.h"

#include <cstring>
#include <unordered_set>

#include "xml/xml_errors.h"

namespace tarnwick::xml::libxml2 {

namespace {

// Marks a namespace created for an unattached node (in xmlNs::_private).
char kFloatingMarker;

bool IsAncestorOrSelf(xmlNodePtr candidate, xmlNodePtr node)
{
    for (xmlNodePtr n = node; n; n = n->parent)
        if (n == candidate)
            return true;
    return false;
}

bool CanHaveChildren(xmlNodePtr n)
{
    return n->type == XML_ELEMENT_NODE || n->type == XML_DOCUMENT_NODE || n->type == XML_DOCUMENT_FRAG_NODE;
}

bool IsAttached(xmlNodePtr node)
{
    for (xmlNodePtr n = node; n; n = n->parent)
        if (n->type == XML_DOCUMENT_NODE)
            return true;
    return false;
}

// Points a node's floating namespace at a declaration in scope, declaring it
// on the node when there is none.
void ResolveNs(xmlNodePtr element, xmlNsPtr &ns, bool attached)
{
    if (ns == nullptr || !DocHolder::IsFloating(ns))
        return;
    xmlNsPtr found = xmlSearchNs(element->doc, element, ns->prefix);
    if (found && xmlStrEqual(found->href, ns->href)) {
        ns = found;
        return;
    }
    if (!attached)
        return; // decided when the element joins the tree
    xmlNsPtr declared = xmlNewNs(element, ns->href, ns->prefix);
    if (declared)
        ns = declared;
}

} // namespace

// Qualified name of an element or attribute.
std::string QName(xmlNodePtr n)
{
    std::string name = Str(n->name);
    if (n->ns && n->ns->prefix)
        return Str(n->ns->prefix) + ":" + name;
    return name;
}

void SetAttrValue(xmlAttrPtr attr, const std::string &value)
{
    if (attr->children)
        xmlFreeNodeList(attr->children);
    attr->children = attr->last = nullptr;
    xmlNodePtr text = xmlNewDocText(attr->doc, X(value));
    if (text) {
        text->parent = reinterpret_cast<xmlNodePtr>(attr);
        attr->children = attr->last = text;
    }
}

std::string AttrValue(xmlAttrPtr attr)
{
    if (attr->children && attr->children == attr->last && attr->children->type == XML_TEXT_NODE)
        return Str(attr->children->content);
    xmlChar *v = xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(attr));
    std::string s = Str(v);
    xmlFree(v);
    return s;
}

void ResolveSubtreeNs(xmlNodePtr node)
{
    bool attached = IsAttached(node);
    xmlNodePtr cur = node;
    while (cur) {
        if (cur->type == XML_ELEMENT_NODE) {
            ResolveNs(cur, cur->ns, attached);
            for (xmlAttrPtr a = cur->properties; a; a = a->next)
                ResolveNs(cur, a->ns, attached);
            if (cur->children) {
                cur = cur->children;
                continue;
            }
        }
        while (cur && cur != node && cur->next == nullptr)
            cur = cur->parent;
        if (cur == nullptr || cur == node)
            break;
        cur = cur->next;
    }
}

void Link(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr ref)
{
    child->parent = parent;
    if (ref) {
        child->next = ref;
        child->prev = ref->prev;
        if (ref->prev)
            ref->prev->next = child;
        else
            parent->children = child;
        ref->prev = child;
    } else {
        child->next = nullptr;
        child->prev = parent->last;
        if (parent->last)
            parent->last->next = child;
        else
            parent->children = child;
        parent->last = child;
    }
}

// Inserts child before ref (null appends) under parent, moving it from where it was.
void InsertChild(DocHolder &holder, xmlNodePtr parent, xmlNodePtr child, xmlNodePtr ref)
{
    if (!CanHaveChildren(parent))
        throw DOMException("This node cannot have children");
    if (child->type == XML_ATTRIBUTE_NODE || child->type == XML_DOCUMENT_NODE)
        throw DOMException("This node cannot be inserted here");
    if (child->doc != parent->doc &&
        !(parent->type == XML_DOCUMENT_NODE && child->doc == reinterpret_cast<xmlDocPtr>(parent)))
        throw DOMException("The node belongs to another document");
    if (ref && ref->parent != parent)
        throw DOMException("The reference node is not a child of this node");
    if (IsAncestorOrSelf(child, parent))
        throw DOMException("A node cannot be inserted into itself");
    if (child == ref)
        return;
    if (child->type == XML_DOCUMENT_FRAG_NODE) {
        while (child->children) {
            xmlNodePtr c = child->children;
            xmlUnlinkNode(c);
            Link(parent, c, ref);
            if (c->type == XML_ELEMENT_NODE)
                ResolveSubtreeNs(c);
        }
        return;
    }
    if (child->parent)
        xmlUnlinkNode(child);
    else if (child->type == XML_DTD_NODE && child->doc && child->doc->intSubset == reinterpret_cast<xmlDtdPtr>(child))
        xmlUnlinkNode(child);
    Link(parent, child, ref);
    if (child->type == XML_ELEMENT_NODE)
        ResolveSubtreeNs(child);
    (void)holder;
}

void RemoveChildNode(DocHolder &holder, xmlNodePtr parent, xmlNodePtr child)
{
    if (child->parent != parent)
        throw DOMException("The node is not a child of this node");
    xmlUnlinkNode(child);
    holder.TrackDetached(child);
}

// Sets an attribute node on an element; "xmlns" attributes become declarations.
xmlAttrPtr SetAttributeNode(DocHolder &holder, xmlNodePtr element, xmlAttrPtr attr)
{
    if (element->type != XML_ELEMENT_NODE)
        throw DOMException(SNotAttributeNode);
    std::string name = attr->ns ? QName(reinterpret_cast<xmlNodePtr>(attr)) : Str(attr->name);
    if (attr->ns == nullptr && IsNsDeclName(name)) {
        std::string prefix = name.size() > 6 ? name.substr(6) : "";
        std::string href = AttrValue(attr);
        for (xmlNsPtr ns = element->nsDef; ns; ns = ns->next) {
            if (Str(ns->prefix) == prefix) {
                if (ns->href)
                    xmlFree(const_cast<xmlChar *>(ns->href));
                ns->href = xmlStrdup(X(href));
                return nullptr;
            }
        }
        xmlNewNs(element, X(href), prefix.empty() ? nullptr : X(prefix));
        if (attr->parent)
            xmlUnlinkNode(reinterpret_cast<xmlNodePtr>(attr));
        holder.TrackDetached(reinterpret_cast<xmlNodePtr>(attr));
        return nullptr;
    }
    if (attr->parent == element)
        return nullptr;
    if (attr->parent)
        xmlUnlinkNode(reinterpret_cast<xmlNodePtr>(attr));
    xmlAttrPtr old = nullptr;
    for (xmlAttrPtr a = element->properties; a; a = a->next) {
        if (xmlStrEqual(a->name, attr->name) && ((a->ns == nullptr && attr->ns == nullptr) ||
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
        while (last->next)
            last = last->next;
        last->next = attr;
        attr->prev = last;
    }
    ResolveNs(element, attr->ns, IsAttached(element));
    return old;
}

// ---------------------------------------------------------------- DocHolder

DocHolder::~DocHolder()
{
    // Free what is still outside the tree: first collect the roots (nodes
    // without a parent), then free them, so no freed node is looked at again.
    std::vector<xmlNodePtr> roots;
    std::unordered_set<xmlNodePtr> seen;
    for (xmlNodePtr n : detached_)
        if (n->parent == nullptr &&
            !(n->type == XML_DTD_NODE && doc_ && doc_->intSubset == reinterpret_cast<xmlDtdPtr>(n)) &&
            seen.insert(n).second)
            roots.push_back(n);
    for (xmlNodePtr n : roots) {
        if (n->type == XML_ATTRIBUTE_NODE)
            xmlFreeProp(reinterpret_cast<xmlAttrPtr>(n));
        else if (n->type == XML_DTD_NODE)
            xmlFreeDtd(reinterpret_cast<xmlDtdPtr>(n));
        else
            xmlFreeNode(n);
    }
    if (doc_)
        xmlFreeDoc(doc_);
    for (xmlNsPtr ns : floating_)
        xmlFreeNs(ns);
    for (xmlNsPtr ns : retired_)
        xmlFreeNs(ns);
}

xmlNsPtr DocHolder::NewFloatingNs(const char *href, const char *prefix)
{
    // The "xml" prefix is bound in every document and never declared.
    if (prefix && std::strcmp(prefix, "xml") == 0 && doc_)
        return xmlSearchNs(doc_, reinterpret_cast<xmlNodePtr>(doc_), BAD_CAST "xml");
    // xmlNewNs(NULL, ...) creates a declaration that belongs to no element.
    xmlNsPtr ns = xmlNewNs(nullptr, BAD_CAST href, prefix ? BAD_CAST prefix : nullptr);
    if (ns) {
        ns->_private = &kFloatingMarker;
        floating_.push_back(ns);
    }
    return ns;
}

bool DocHolder::IsFloating(xmlNsPtr ns) { return ns && ns->_private == &kFloatingMarker; }

} // namespace tarnwick::xml::libxml2
