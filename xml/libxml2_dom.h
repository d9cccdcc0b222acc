// The libxml2 vendor's DOM classes (inner to the vendor): node, namespace
// declaration shown as an attribute, child and attribute lists, document and
// implementation.
#pragma once

#include <memory>
#include <string>

#include "xml/dom_interfaces.h"
#include "xml/libxml2_internal.h"

namespace tarnwick::xml::libxml2 {

// One libxml2 node (element, attribute, text, ..., or the document itself).
class Libxml2Node : public IDOMElement, public IDOMAttr, public IDOMDocumentType, public IDOMNodeEx {
public:
    Libxml2Node(std::shared_ptr<DocHolder> holder, xmlNodePtr node) : holder_(std::move(holder)), node_(node) {}

    // IDOMNode
    std::string nodeName() override;
    std::string nodeValue() override;
    void set_nodeValue(const std::string &value) override;
    int nodeType() override;
    IDOMNodePtr parentNode() override;
    IDOMNodeListPtr childNodes() override;
    IDOMNodePtr firstChild() override;
    IDOMNodePtr lastChild() override;
    IDOMNodePtr previousSibling() override;
    IDOMNodePtr nextSibling() override;
    IDOMNamedNodeMapPtr attributes() override;
    IDOMDocumentPtr ownerDocument() override;
    IDOMNodePtr insertBefore(const IDOMNodePtr &newChild, const IDOMNodePtr &refChild) override;
    IDOMNodePtr replaceChild(const IDOMNodePtr &newChild, const IDOMNodePtr &oldChild) override;
    IDOMNodePtr removeChild(const IDOMNodePtr &child) override;
    IDOMNodePtr appendChild(const IDOMNodePtr &newChild) override;
    bool hasChildNodes() override;
    IDOMNodePtr cloneNode(bool deep) override;
    void normalize() override;
    bool supports(const std::string &feature, const std::string &version) override;
    std::string namespaceURI() override;
    std::string prefix() override;
    std::string localName() override;
    bool isSameNode(const IDOMNodePtr &other) override;

    // IDOMNodeEx
    std::string text() override;
    void set_text(const std::string &text) override;
    std::string xml() override;

    // IDOMAttr
    std::string name() override { return nodeName(); }
    std::string value() override { return nodeValue(); }
    void set_value(const std::string &value) override { set_nodeValue(value); }
    bool specified() override { return true; }
    IDOMNodePtr ownerElement() override;

    // IDOMElement
    std::string tagName() override { return nodeName(); }
    std::string getAttribute(const std::string &name) override;
    void setAttribute(const std::string &name, const std::string &value) override;
    void removeAttribute(const std::string &name) override;
    bool hasAttribute(const std::string &name) override;
    std::string getAttributeNS(const std::string &namespaceURI, const std::string &localName) override;
    void setAttributeNS(const std::string &namespaceURI, const std::string &qualifiedName,
                        const std::string &value) override;
    void removeAttributeNS(const std::string &namespaceURI, const std::string &localName) override;
    IDOMNodeListPtr getElementsByTagName(const std::string &name) override;
    IDOMNodeListPtr getElementsByTagNameNS(const std::string &namespaceURI, const std::string &localName) override;

    // IDOMDocumentType
    std::string publicId() override;
    std::string systemId() override;
    std::string internalSubset() override;

    xmlNodePtr native() const { return node_; }
    const std::shared_ptr<DocHolder> &holder() const { return holder_; }

protected:
    void Rebind(std::shared_ptr<DocHolder> holder, xmlNodePtr node)
    {
        holder_ = std::move(holder);
        node_ = node;
    }
    std::shared_ptr<DocHolder> holder_;
    xmlNodePtr node_;
};

// A namespace declaration of an element, shown as an attribute "xmlns[:p]".
class Libxml2NsDecl : public IDOMAttr, public IDOMNodeEx {
public:
    Libxml2NsDecl(std::shared_ptr<DocHolder> holder, xmlNodePtr element, xmlNsPtr ns)
        : holder_(std::move(holder)), element_(element), ns_(ns)
    {
    }
    std::string nodeName() override;
    std::string nodeValue() override;
    void set_nodeValue(const std::string &value) override;
    int nodeType() override { return 2; }
    IDOMNodePtr parentNode() override { return nullptr; }
    IDOMNodeListPtr childNodes() override;
    IDOMNodePtr firstChild() override { return nullptr; }
    IDOMNodePtr lastChild() override { return nullptr; }
    IDOMNodePtr previousSibling() override { return nullptr; }
    IDOMNodePtr nextSibling() override { return nullptr; }
    IDOMNamedNodeMapPtr attributes() override { return nullptr; }
    IDOMDocumentPtr ownerDocument() override;
    IDOMNodePtr insertBefore(const IDOMNodePtr &, const IDOMNodePtr &) override;
    IDOMNodePtr replaceChild(const IDOMNodePtr &, const IDOMNodePtr &) override;
    IDOMNodePtr removeChild(const IDOMNodePtr &) override;
    IDOMNodePtr appendChild(const IDOMNodePtr &) override;
    bool hasChildNodes() override { return false; }
    IDOMNodePtr cloneNode(bool deep) override;
    void normalize() override;
    bool supports(const std::string &feature, const std::string &version) override;
    std::string namespaceURI() override { return "http://www.w3.org/2000/xmlns/"; }
    std::string prefix() override;
    std::string localName() override;
    bool isSameNode(const IDOMNodePtr &other) override;
    std::string text() override { return nodeValue(); }
    void set_text(const std::string &text) override { set_nodeValue(text); }
    std::string xml() override;
    std::string name() override { return nodeName(); }
    std::string value() override { return nodeValue(); }
    void set_value(const std::string &value) override { set_nodeValue(value); }
    bool specified() override { return true; }
    IDOMNodePtr ownerElement() override;

    xmlNsPtr native() const { return ns_; }
    xmlNodePtr element() const { return element_; }

private:
    std::shared_ptr<DocHolder> holder_;
    xmlNodePtr element_;
    xmlNsPtr ns_;
};

// The parse error object of a captured error.
IDOMParseErrorPtr MakeParseError(const CapturedError &error);

// A wrapper for any node of the holder's tree.
IDOMNodePtr MakeNode(const std::shared_ptr<DocHolder> &holder, xmlNodePtr node);
// The libxml2 node behind a DOM node of this vendor; raises for foreign nodes.
xmlNodePtr NativeOf(const IDOMNodePtr &node);

class Libxml2Document : public Libxml2Node,
                        public IDOMDocument,
                        public IDOMPersist,
                        public IDOMParseOptions,
                        public std::enable_shared_from_this<Libxml2Document> {
public:
    Libxml2Document();
    // Gives the holder its back-reference; call right after construction.
    void Attach();

    // IDOMDocument
    IDOMNodePtr doctype() override;
    IDOMImplementationPtr domImplementation() override;
    IDOMNodePtr documentElement() override;
    IDOMNodePtr createElement(const std::string &tagName) override;
    IDOMNodePtr createElementNS(const std::string &namespaceURI, const std::string &qualifiedName) override;
    IDOMNodePtr createAttribute(const std::string &name) override;
    IDOMNodePtr createAttributeNS(const std::string &namespaceURI, const std::string &qualifiedName) override;
    IDOMNodePtr createTextNode(const std::string &data) override;
    IDOMNodePtr createCDATASection(const std::string &data) override;
    IDOMNodePtr createComment(const std::string &data) override;
    IDOMNodePtr createProcessingInstruction(const std::string &target, const std::string &data) override;
    IDOMNodePtr createEntityReference(const std::string &name) override;
    IDOMNodePtr createDocumentFragment() override;
    IDOMNodeListPtr getElementsByTagName(const std::string &tagName) override;
    IDOMNodeListPtr getElementsByTagNameNS(const std::string &namespaceURI, const std::string &localName) override;
    IDOMNodePtr getElementById(const std::string &elementId) override;
    IDOMNodePtr importNode(const IDOMNodePtr &node, bool deep) override;
    IDOMDocumentPtr ownerDocument() override { return nullptr; }

    // IDOMPersist
    std::string xml() override;
    int asyncLoadState() override { return 4; }
    bool load(const std::string &fileName) override;
    bool loadFromStream(std::istream &stream) override;
    bool loadxml(const std::string &value) override;
    void save(const std::string &fileName) override;
    void saveToStream(std::ostream &stream) override;
    std::string saveToBytes() override;
    void set_OnAsyncLoad(TAsyncEventHandler handler) override { onAsyncLoad_ = std::move(handler); }
    IDOMParseErrorPtr parseError() override { return parseError_; }
    void set_baseDirectory(const std::string &directory) override { baseDirectory_ = directory; }

    // IDOMParseOptions
    bool async() override { return async_; }
    void set_async(bool value) override { async_ = value; }
    bool preserveWhiteSpace() override { return preserveWhiteSpace_; }
    void set_preserveWhiteSpace(bool value) override { preserveWhiteSpace_ = value; }
    bool resolveExternals() override { return resolveExternals_; }
    void set_resolveExternals(bool value) override { resolveExternals_ = value; }
    bool validate() override { return validate_; }
    void set_validate(bool value) override { validate_ = value; }

private:
    bool Load(std::string_view bytes, bool ignoreDeclaredEncoding, const std::string &url,
              const std::string &baseDirectory, bool fromFile);
    IDOMNodePtr Created(xmlNodePtr node);

    IDOMParseErrorPtr parseError_;
    TAsyncEventHandler onAsyncLoad_;
    std::string baseDirectory_;
    bool async_ = false;
    bool preserveWhiteSpace_ = false;
    bool resolveExternals_ = false;
    bool validate_ = false;
};

class Libxml2Implementation : public IDOMImplementation, public IDOMTextFormatter {
public:
    // IDOMTextFormatter (libxml2_format.cpp)
    IDOMParseErrorPtr formatText(const std::string &text, const std::string &baseDirectory,
                                 const std::function<std::string(const std::string &)> &declarationLine,
                                 std::string &result) override;

    bool hasFeature(const std::string &feature, const std::string &version) override;
    IDOMNodePtr createDocumentType(const std::string &qualifiedName, const std::string &publicId,
                                   const std::string &systemId) override;
    IDOMDocumentPtr createDocument(const std::string &namespaceURI, const std::string &qualifiedName,
                                   const IDOMNodePtr &doctype) override;
};

} // namespace tarnwick::xml::libxml2
