// XPath 1.0 over a document's text: the text parsed as Validate parses it
// (nothing read but what its own references resolve to locally), the
// prefixes its root element declares bound, and the result described for a
// list: each selected node by its line, its path and its text, or the
// number, string or boolean the expression gives.
#pragma once

#include "xml/xml_errors.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct _xmlDoc;

namespace tarnwick::xml {

struct XPathNodeItem {
    int line = 0;     // 1-based; 0 for the document node, which stands on no line
    std::string path; // "/catalog/book[3]/title", "/catalog/book[3]/@id", ".../text()[2]"
    std::string text; // the node's string value on one line, cut short
};

enum class XPathValueKind { NodeSet, Boolean, Number, String };

struct XPathResult {
    XPathValueKind kind = XPathValueKind::NodeSet;
    std::vector<XPathNodeItem> nodes; // a node-set's first nodes, in document order
    size_t nodeCount = 0;             // every node of the node-set, listed or not
    std::string value;                // a boolean, number or string as XPath's string() writes it
    bool valueCut = false;            // the string was longer than the limit
};

// What keeps a result the size of a list: a node-set of a million nodes
// lists the first ones and says how many there are.
struct XPathLimits {
    size_t listedNodes = 1000;
    size_t nodeTextLength = 200; // characters of each node's text
    size_t valueLength = 100000; // characters of a string result
};

// An expression that cannot be compiled or evaluated, or that ran away.
// `position` is the 1-based character of the expression where it failed,
// 0 when unknown.
class EXPathError : public EXMLLayerError {
public:
    EXPathError(const std::string &message, int position) : EXMLLayerError(message), position_(position) {}
    int Position() const { return position_; }

private:
    int position_;
};

// A document parsed for XPath, to evaluate one expression or several.
class XPathDocument {
public:
    // Parses UTF-8 `text` (its declared encoding is not used for decoding);
    // relative references in its document type are taken against
    // `baseDirectory`. Raises EDOMParseError when it is not well-formed.
    XPathDocument(std::string_view text, const std::string &baseDirectory);
    // A document file's bytes, decoded as Open decodes them, relative
    // references taken against its folder; "-" is standard input. Raises
    // EXMLLayerError when the file cannot be read, and as above.
    static XPathDocument FromFile(const std::string &path);
    ~XPathDocument();
    XPathDocument(XPathDocument &&other) noexcept;
    XPathDocument(const XPathDocument &) = delete;
    XPathDocument &operator=(const XPathDocument &) = delete;
    XPathDocument &operator=(XPathDocument &&) = delete;

    // Raises EXPathError when the expression fails or runs away.
    XPathResult Evaluate(const std::string &expression, const XPathLimits &limits = {}) const;

private:
    ::_xmlDoc *doc_ = nullptr;
    size_t bytes_ = 0; // the text's size, for the expression's budget
};

// Evaluates `expression` over UTF-8 `text` (its declared encoding is not
// used for decoding). Relative references in its document type are taken
// against `baseDirectory`. Raises EDOMParseError when the text is not
// well-formed, EXPathError when the expression fails.
XPathResult EvaluateXPath(std::string_view text, const std::string &expression, const std::string &baseDirectory,
                          const XPathLimits &limits = {});

} // namespace tarnwick::xml
