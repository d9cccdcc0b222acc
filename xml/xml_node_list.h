// TXMLNodeList: the child or attribute list of a node wrapper. Every change
// is mirrored into the vendor DOM and reported to the document; appends cost
// O(1) amortised.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "xml/xml_options.h"

namespace tarnwick::xml {

class TXMLNode;
using IXMLNodePtr = std::shared_ptr<TXMLNode>;

enum class TNodeListKind { Children, Attributes };

class TXMLNodeList {
public:
    TXMLNodeList(TXMLNode &owner, TNodeListKind kind);
    TXMLNodeList(const TXMLNodeList &) = delete;
    TXMLNodeList &operator=(const TXMLNodeList &) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EStringListError when out of range.
    IXMLNodePtr Item(int index) const;
    IXMLNodePtr Item(int index) { return std::as_const(*this).Item(index); }
    IXMLNodePtr operator[](int index) const { return Item(index); }
    // First node whose qualified or local name is `name` (and whose namespace
    // URI equals `namespaceURI` ignoring case, when given). Without a match:
    // auto-creates the child with doNodeAutoCreate, else raises "Node \"%s\" not found".
    IXMLNodePtr Item(const std::string &name, const std::string &namespaceURI = "");
    IXMLNodePtr operator[](const std::string &name) { return Item(name); }
    // Null when nothing matches.
    IXMLNodePtr FindByName(const std::string &name, const std::string &namespaceURI = "") const;
    int IndexOf(const IXMLNodePtr &node) const;
    int IndexOf(const std::string &name, const std::string &namespaceURI = "") const;
    IXMLNodePtr FirstItem() const;
    IXMLNodePtr LastItem() const;

    // Appends (with auto-indent where it applies); returns the new count - 1.
    int Append(const IXMLNodePtr &node);
    // index -1 appends.
    void InsertAt(int index, const IXMLNodePtr &node);
    // Returns the removed node.
    IXMLNodePtr DeleteAt(int index);
    // Returns the node's former index, -1 when it is not in the list.
    int RemoveNode(const IXMLNodePtr &node);
    // Removes oldNode and inserts newNode at its index; returns oldNode.
    IXMLNodePtr ReplaceWith(const IXMLNodePtr &oldNode, const IXMLNodePtr &newNode);
    void RemoveAll();
    void Clear() { RemoveAll(); }

    // While locked, changes are not mirrored into the vendor DOM.
    void LockUpdates() { ++updateCount_; }
    void UnlockUpdates()
    {
        if (updateCount_ > 0)
            --updateCount_;
    }

    TXMLNode &Owner() const { return owner_; }
    TNodeListKind Kind() const { return kind_; }

private:
    friend class TXMLNode;
    // Inserts without auto-indent; index -1 appends. Returns the position.
    int InsertPlain(int index, const IXMLNodePtr &node);
    void InsertIndentNode(int count, int position, bool lineBreak);
    // Wraps the vendor children or attributes once, when the list is created.
    void Populate();
    // Clears back-references of the wrappers it holds (owner is going away).
    void Detach();

    TXMLNode &owner_;
    TNodeListKind kind_;
    std::vector<IXMLNodePtr> items_;
    int updateCount_ = 0;
};

} // namespace tarnwick::xml
