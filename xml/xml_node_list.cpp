// TXMLNodeList: child and attribute lists with the auto-indent rule.
#include "xml/xml_node_list.h"

#include <algorithm>
#include <cctype>

#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml/xml_node.h"

namespace tarnwick::xml {

namespace {

bool EqualsIgnoreCase(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool Matches(const TXMLNode &node, const std::string &name, const std::string &namespaceURI)
{
    if (node.QualifiedName() != name && node.BareName() != name)
        return false;
    return namespaceURI.empty() || EqualsIgnoreCase(node.Namespace(), namespaceURI);
}

} // namespace

TXMLNodeList::TXMLNodeList(TXMLNode &owner, TNodeListKind kind) : owner_(owner), kind_(kind) {}

void TXMLNodeList::Populate()
{
    const IDOMNodePtr &dom = owner_.VendorNode();
    if (kind_ == TNodeListKind::Children) {
        for (IDOMNodePtr c = dom->firstChild(); c; c = c->nextSibling())
            items_.push_back(owner_.Wrap(c));
    } else if (IDOMNamedNodeMapPtr map = dom->attributes()) {
        for (int i = 0, n = map->length(); i < n; ++i)
            items_.push_back(owner_.Wrap(map->item(i)));
    }
}

void TXMLNodeList::Detach()
{
    for (const IXMLNodePtr &item : items_)
        if (item->parent_ == &owner_)
            item->parent_ = nullptr;
}

IXMLNodePtr TXMLNodeList::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw EStringListError(index);
    return items_[static_cast<size_t>(index)];
}

IXMLNodePtr TXMLNodeList::Item(const std::string &name, const std::string &namespaceURI)
{
    if (IXMLNodePtr found = FindByName(name, namespaceURI))
        return found;
    TXMLDocument *doc = owner_.OwnerDocument();
    if (doc && doc->Options().Contains(doNodeAutoCreate)) {
        if (kind_ == TNodeListKind::Attributes) {
            owner_.WriteAttribute(name, "");
            return FindByName(name);
        }
        return namespaceURI.empty() ? owner_.AddElement(name) : owner_.AddElement(name, namespaceURI, false);
    }
    throw EXMLDocError(FormatMessage(SMissingItem, name));
}

IXMLNodePtr TXMLNodeList::FindByName(const std::string &name, const std::string &namespaceURI) const
{
    for (const IXMLNodePtr &item : items_)
        if (Matches(*item, name, namespaceURI))
            return item;
    return nullptr;
}

int TXMLNodeList::IndexOf(const IXMLNodePtr &node) const
{
    auto it = std::find(items_.begin(), items_.end(), node);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TXMLNodeList::IndexOf(const std::string &name, const std::string &namespaceURI) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (Matches(*items_[i], name, namespaceURI))
            return static_cast<int>(i);
    return -1;
}

IXMLNodePtr TXMLNodeList::FirstItem() const { return items_.empty() ? nullptr : items_.front(); }

IXMLNodePtr TXMLNodeList::LastItem() const { return items_.empty() ? nullptr : items_.back(); }

int TXMLNodeList::Append(const IXMLNodePtr &node)
{
    InsertAt(-1, node);
    return Count() - 1;
}

void TXMLNodeList::InsertAt(int index, const IXMLNodePtr &node)
{
    if (!node)
        throw EXMLDocError(SNodeCannotBeNull);
    TXMLDocument *doc = owner_.OwnerDocument();
    TNodeType kind = node->Kind();
    bool indent = kind_ == TNodeListKind::Children && owner_.parent_ != nullptr && doc != nullptr &&
                  doc->Options().Contains(doNodeAutoIndent) && kind != ntAttribute && kind != ntText;
    if (!indent) {
        InsertPlain(index, node);
        return;
    }
    if (items_.empty())
        InsertIndentNode(owner_.parent_->AncestorCount(), -1, true);
    if (index == -1)
        InsertIndentNode(1, -1, false);
    int k = InsertPlain(index, node);
    const TXMLNode *m = index == -1 ? owner_.parent_ : &owner_;
    InsertIndentNode(m->AncestorCount(), k + 1, true);
}

int TXMLNodeList::InsertPlain(int index, const IXMLNodePtr &node)
{
    if (index < -1 || index > Count())
        throw EStringListError(index);
    // A node moves: it leaves the list it was in first.
    if (node->parent_ != nullptr) {
        TXMLNodeList *from =
            kind_ == TNodeListKind::Children ? node->parent_->children_.get() : node->parent_->attributes_.get();
        if (from) {
            int at = from->IndexOf(node);
            if (at >= 0) {
                from->DeleteAt(at);
                if (from == this && index > at)
                    --index;
            }
        }
    }
    TNodeChange change = kind_ == TNodeListKind::Children ? ncInsertChild : ncAddAttribute;
    owner_.ChildListNotify(*this, change, node, index, true);
    size_t position = index < 0 || index >= Count() ? items_.size() : static_cast<size_t>(index);
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position), node);
    node->parent_ = &owner_;
    owner_.ChildListNotify(*this, change, node, static_cast<int>(position), false);
    return static_cast<int>(position);
}

void TXMLNodeList::InsertIndentNode(int count, int position, bool lineBreak)
{
    TXMLDocument &doc = owner_.Document();
    std::string text = lineBreak ? "\r\n" : "";
    const std::string &unit = doc.NodeIndentStr();
    text.reserve(text.size() + unit.size() * static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        text += unit;
    InsertPlain(position, doc.NewNode(text, ntText));
}

IXMLNodePtr TXMLNodeList::DeleteAt(int index)
{
    if (index < 0 || index >= Count())
        throw EStringListError(index);
    IXMLNodePtr node = items_[static_cast<size_t>(index)];
    TNodeChange change = kind_ == TNodeListKind::Children ? ncRemoveChild : ncRemoveAttribute;
    owner_.ChildListNotify(*this, change, node, index, true);
    items_.erase(items_.begin() + index);
    node->parent_ = nullptr;
    owner_.ChildListNotify(*this, change, node, index, false);
    return node;
}

int TXMLNodeList::RemoveNode(const IXMLNodePtr &node)
{
    int index = IndexOf(node);
    if (index >= 0)
        DeleteAt(index);
    return index;
}

IXMLNodePtr TXMLNodeList::ReplaceWith(const IXMLNodePtr &oldNode, const IXMLNodePtr &newNode)
{
    int index = IndexOf(oldNode);
    if (index < 0)
        throw EXMLDocError(FormatMessage(SMissingItem, oldNode ? oldNode->QualifiedName() : ""));
    DeleteAt(index);
    InsertAt(index, newNode);
    return oldNode;
}

void TXMLNodeList::RemoveAll()
{
    while (!items_.empty())
        DeleteAt(Count() - 1);
}

} // namespace tarnwick::xml
