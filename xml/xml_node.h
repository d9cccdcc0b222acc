// TXMLNode: a wrapper over one vendor DOM node with a tree interface,
// lazily created child and attribute lists, and automatic indentation when
// elements are added.
#pragma once

#include <memory>
#include <string>

#include "xml/dom_interfaces.h"
#include "xml/xml_node_list.h"
#include "xml/xml_options.h"

namespace tarnwick::xml {

class TXMLDocument;

// Shared by a document and its node wrappers; the document clears it when it
// is destroyed so that wrappers held elsewhere never reach a dead document.
struct TXMLDocLink {
    TXMLDocument *document = nullptr;
};

class TXMLNode : public std::enable_shared_from_this<TXMLNode> {
public:
    TXMLNode(IDOMNodePtr domNode, TXMLNode *parent, std::shared_ptr<TXMLDocLink> link);
    ~TXMLNode();
    TXMLNode(const TXMLNode &) = delete;
    TXMLNode &operator=(const TXMLNode &) = delete;

    std::string QualifiedName() const; // the node name
    std::string NodeName() const { return QualifiedName(); }
    TNodeType Kind() const;
    TNodeType NodeType() const { return Kind(); }
    std::string Value() const; // the node value
    void SetValue(const std::string &value);
    // Text of an element holding at most one text or CDATA child (an empty one
    // is created when it has none); the node value for other kinds.
    std::string TextValue();
    void SetTextValue(const std::string &text);
    std::string Namespace() const; // the namespace URI
    std::string NsPrefix() const;
    std::string BareName() const; // the local name
    bool HasChildren() const;

    TXMLNodeList &Children();
    TXMLNodeList &Attributes(); // raises for nodes that are not elements
    IXMLNodePtr Parent() const;
    IXMLNodePtr PrecedingSibling() const;
    IXMLNodePtr FollowingSibling() const;

    // Adds a child element; the tag takes the parent's prefix and namespace
    // unless it has a prefix of its own. index -1 appends.
    IXMLNodePtr AddElement(const std::string &tagName, int index = -1);
    IXMLNodePtr AddElement(const std::string &tagName, const std::string &namespaceURI, bool generatePrefix,
                           int index = -1);

    std::string ReadAttribute(const std::string &name) const; // empty when absent
    void WriteAttribute(const std::string &name, const std::string &value);
    bool HasAttribute(const std::string &name) const;

    // The node serialised as text.
    std::string XML() const;
    const IDOMNodePtr &VendorNode() const { return domNode_; }
    // The owning document, or null once it is gone.
    TXMLDocument *OwnerDocument() const { return link_ ? link_->document : nullptr; }
    bool IsDocumentNode() const { return Kind() == ntDocument; }
    // Number of wrapper ancestors: document node 0, root element 1, ...
    int AncestorCount() const;

private:
    friend class TXMLNodeList;
    friend class TXMLDocument;
    TXMLDocument &Document() const; // raises "No active document" when gone
    // List change flow: mirrors into the vendor DOM and reports to the document.
    void ChildListNotify(TXMLNodeList &list, TNodeChange change, const IXMLNodePtr &node, int index, bool before);
    void ReportChange(TNodeChange change, bool before);
    std::string FindNamespaceURI(const std::string &prefix) const;
    std::string FindNamespacePrefix(const std::string &namespaceURI, bool &found) const;
    IXMLNodePtr Wrap(const IDOMNodePtr &domNode);
    void SetParentWrapper(TXMLNode *parent) { parent_ = parent; }

    IDOMNodePtr domNode_;
    TXMLNode *parent_;
    std::shared_ptr<TXMLDocLink> link_;
    std::unique_ptr<TXMLNodeList> children_;
    std::unique_ptr<TXMLNodeList> attributes_;
};

} // namespace tarnwick::xml
