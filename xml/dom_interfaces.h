// The vendor side of the XML document layer: the DOM interfaces a vendor
// implements (after the W3C DOM, with the persistence, parse-option and
// parse-error extensions) and the vendor object that creates implementations.
// Strings are UTF-8 throughout.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

namespace tarnwick::xml {

class IDOMNode;
class IDOMNodeList;
class IDOMNamedNodeMap;
class IDOMDocument;
class IDOMImplementation;
class IDOMDocumentType;
class IDOMParseError;

using IDOMNodePtr = std::shared_ptr<IDOMNode>;
using IDOMNodeListPtr = std::shared_ptr<IDOMNodeList>;
using IDOMNamedNodeMapPtr = std::shared_ptr<IDOMNamedNodeMap>;
using IDOMDocumentPtr = std::shared_ptr<IDOMDocument>;
using IDOMImplementationPtr = std::shared_ptr<IDOMImplementation>;
using IDOMParseErrorPtr = std::shared_ptr<IDOMParseError>;

class IDOMNodeList {
public:
    virtual ~IDOMNodeList() = default;
    virtual int length() = 0;
    virtual IDOMNodePtr item(int index) = 0; // null when out of range
};

class IDOMNamedNodeMap {
public:
    virtual ~IDOMNamedNodeMap() = default;
    virtual int length() = 0;
    virtual IDOMNodePtr item(int index) = 0;
    virtual IDOMNodePtr getNamedItem(const std::string &name) = 0;
    virtual IDOMNodePtr setNamedItem(const IDOMNodePtr &node) = 0; // returns the replaced node or null
    virtual IDOMNodePtr removeNamedItem(const std::string &name) = 0;
    virtual IDOMNodePtr getNamedItemNS(const std::string &namespaceURI, const std::string &localName) = 0;
    virtual IDOMNodePtr setNamedItemNS(const IDOMNodePtr &node) = 0;
    virtual IDOMNodePtr removeNamedItemNS(const std::string &namespaceURI, const std::string &localName) = 0;
};

class IDOMNode {
public:
    virtual ~IDOMNode() = default;
    virtual std::string nodeName() = 0;
    virtual std::string nodeValue() = 0;
    virtual void set_nodeValue(const std::string &value) = 0;
    virtual int nodeType() = 0;
    virtual IDOMNodePtr parentNode() = 0;
    virtual IDOMNodeListPtr childNodes() = 0;
    virtual IDOMNodePtr firstChild() = 0;
    virtual IDOMNodePtr lastChild() = 0;
    virtual IDOMNodePtr previousSibling() = 0;
    virtual IDOMNodePtr nextSibling() = 0;
    virtual IDOMNamedNodeMapPtr attributes() = 0; // null for nodes other than elements
    virtual IDOMDocumentPtr ownerDocument() = 0;
    // refChild null appends.
    virtual IDOMNodePtr insertBefore(const IDOMNodePtr &newChild, const IDOMNodePtr &refChild) = 0;
    virtual IDOMNodePtr replaceChild(const IDOMNodePtr &newChild, const IDOMNodePtr &oldChild) = 0;
    virtual IDOMNodePtr removeChild(const IDOMNodePtr &child) = 0;
    virtual IDOMNodePtr appendChild(const IDOMNodePtr &newChild) = 0;
    virtual bool hasChildNodes() = 0;
    virtual IDOMNodePtr cloneNode(bool deep) = 0;
    virtual void normalize() = 0;
    virtual bool supports(const std::string &feature, const std::string &version) = 0;
    virtual std::string namespaceURI() = 0;
    virtual std::string prefix() = 0;
    virtual std::string localName() = 0;
    // True when both objects stand for the same vendor node.
    virtual bool isSameNode(const IDOMNodePtr &other) = 0;
};

// The extended node interface: text content and serialisation of one node.
class IDOMNodeEx : public virtual IDOMNode {
public:
    virtual std::string text() = 0;
    virtual void set_text(const std::string &text) = 0;
    virtual std::string xml() = 0;
};

class IDOMAttr : public virtual IDOMNode {
public:
    virtual std::string name() = 0;
    virtual std::string value() = 0;
    virtual void set_value(const std::string &value) = 0;
    virtual bool specified() = 0;
    virtual IDOMNodePtr ownerElement() = 0;
};

class IDOMElement : public virtual IDOMNode {
public:
    virtual std::string tagName() = 0;
    virtual std::string getAttribute(const std::string &name) = 0;
    virtual void setAttribute(const std::string &name, const std::string &value) = 0;
    virtual void removeAttribute(const std::string &name) = 0;
    virtual bool hasAttribute(const std::string &name) = 0;
    virtual std::string getAttributeNS(const std::string &namespaceURI, const std::string &localName) = 0;
    virtual void setAttributeNS(const std::string &namespaceURI, const std::string &qualifiedName,
                                const std::string &value) = 0;
    virtual void removeAttributeNS(const std::string &namespaceURI, const std::string &localName) = 0;
    virtual IDOMNodeListPtr getElementsByTagName(const std::string &name) = 0;
    virtual IDOMNodeListPtr getElementsByTagNameNS(const std::string &namespaceURI, const std::string &localName) = 0;
};

class IDOMDocumentType : public virtual IDOMNode {
public:
    virtual std::string name() = 0;
    virtual std::string publicId() = 0;
    virtual std::string systemId() = 0;
    virtual std::string internalSubset() = 0;
};

class IDOMImplementation {
public:
    virtual ~IDOMImplementation() = default;
    virtual bool hasFeature(const std::string &feature, const std::string &version) = 0;
    virtual IDOMNodePtr createDocumentType(const std::string &qualifiedName, const std::string &publicId,
                                           const std::string &systemId) = 0;
    virtual IDOMDocumentPtr createDocument(const std::string &namespaceURI, const std::string &qualifiedName,
                                           const IDOMNodePtr &doctype) = 0;
};

class IDOMDocument : public virtual IDOMNode {
public:
    virtual IDOMNodePtr doctype() = 0;
    virtual IDOMImplementationPtr domImplementation() = 0;
    virtual IDOMNodePtr documentElement() = 0;
    virtual IDOMNodePtr createElement(const std::string &tagName) = 0;
    virtual IDOMNodePtr createElementNS(const std::string &namespaceURI, const std::string &qualifiedName) = 0;
    virtual IDOMNodePtr createAttribute(const std::string &name) = 0;
    virtual IDOMNodePtr createAttributeNS(const std::string &namespaceURI, const std::string &qualifiedName) = 0;
    virtual IDOMNodePtr createTextNode(const std::string &data) = 0;
    virtual IDOMNodePtr createCDATASection(const std::string &data) = 0;
    virtual IDOMNodePtr createComment(const std::string &data) = 0;
    virtual IDOMNodePtr createProcessingInstruction(const std::string &target, const std::string &data) = 0;
    virtual IDOMNodePtr createEntityReference(const std::string &name) = 0;
    virtual IDOMNodePtr createDocumentFragment() = 0;
    virtual IDOMNodeListPtr getElementsByTagName(const std::string &tagName) = 0;
    virtual IDOMNodeListPtr getElementsByTagNameNS(const std::string &namespaceURI, const std::string &localName) = 0;
    virtual IDOMNodePtr getElementById(const std::string &elementId) = 0;
    virtual IDOMNodePtr importNode(const IDOMNodePtr &node, bool deep) = 0;
};

// The first error of the last load; errorCode 0 after a successful one.
class IDOMParseError {
public:
    virtual ~IDOMParseError() = default;
    virtual int errorCode() = 0;
    virtual std::string url() = 0;
    virtual std::string reason() = 0;
    virtual std::string srcText() = 0; // the offending line's text
    virtual int line() = 0;            // 1-based
    virtual int linepos() = 0;         // 1-based
    virtual int filepos() = 0;
};

using TAsyncEventHandler = std::function<void(int asyncLoadState)>;

// Loading and saving of a DOM document. The loads return false on failure and
// leave the reason in parseError(). Saves raise on failure.
class IDOMPersist {
public:
    virtual ~IDOMPersist() = default;
    virtual std::string xml() = 0; // the whole document as UTF-8 text
    virtual int asyncLoadState() = 0;
    virtual bool load(const std::string &fileName) = 0;    // decoded by its declaration
    virtual bool loadFromStream(std::istream &stream) = 0; // decoded by its declaration
    virtual bool loadxml(const std::string &value) = 0;    // UTF-8 text; a declared encoding is not used
    virtual void save(const std::string &fileName) = 0;    // in the declared encoding
    virtual void saveToStream(std::ostream &stream) = 0;   // in the declared encoding
    virtual std::string saveToBytes() = 0;                 // in the declared encoding
    virtual void set_OnAsyncLoad(TAsyncEventHandler handler) = 0;
    virtual IDOMParseErrorPtr parseError() = 0;
    // Folder against which relative DTD and schema references of the next
    // string or stream load are resolved (file loads use the file's folder).
    virtual void set_baseDirectory(const std::string &directory) = 0;
};

class IDOMParseOptions {
public:
    virtual ~IDOMParseOptions() = default;
    virtual bool async() = 0;
    virtual void set_async(bool value) = 0;
    virtual bool preserveWhiteSpace() = 0;
    virtual void set_preserveWhiteSpace(bool value) = 0;
    virtual bool resolveExternals() = 0;
    virtual void set_resolveExternals(bool value) = 0;
    virtual bool validate() = 0;
    virtual void set_validate(bool value) = 0;
};

// Optional service of a vendor implementation: the Format command's parse and
// layout in one pass, without building a tree. Parses UTF-8
// `text` (whatever encoding its declaration names) and writes it with LF line
// breaks, one element a line, two spaces a level, keeping as written the
// content that layout would change (see PrettyPrintXML). `declarationLine` is
// given the text of the document's declaration ("" without one) and returns
// the line that takes its place ("" for none). Returns null and fills
// `result`, or returns the parse error of text that is not well-formed.
class IDOMTextFormatter {
public:
    virtual ~IDOMTextFormatter() = default;
    virtual IDOMParseErrorPtr formatText(const std::string &text, const std::string &baseDirectory,
                                         const std::function<std::string(const std::string &)> &declarationLine,
                                         std::string &result) = 0;
};

// Query a vendor object for one of its optional interfaces (null when absent).
template <typename I, typename T>
std::shared_ptr<I> QueryInterface(const std::shared_ptr<T> &object)
{
    return std::dynamic_pointer_cast<I>(object);
}

// A DOM vendor: names itself and creates implementations.
class TDOMVendor {
public:
    virtual ~TDOMVendor() = default;
    virtual std::string VendorDescription() const = 0;
    virtual IDOMImplementationPtr NewImplementation() = 0;
};

} // namespace tarnwick::xml
