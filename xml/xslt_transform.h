// XSLT 1.0 transforms with libxslt over a document's text: the stylesheet the
// user names, or the one the document's <?xml-stylesheet?> names. The
// stylesheet reads only what lies in its own folder (its includes and
// imports), the transform reads no other file and writes none, nothing is
// fetched from the network, and a template recursion that runs away is
// stopped with a message.
#pragma once

#include "xml/problem_list.h"

#include <atomic>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::xml {

// A message of the stylesheet (an error, a warning, xsl:message) at its file
// and line; the line is 0 when it names none.
struct StylesheetMessage {
    std::string file;
    int line = 0;
    std::string message;
    bool warning = false;
};

struct TransformResult {
    std::string bytes;      // the result, serialised as its xsl:output says (encoding included)
    std::string method;     // "xml", "html" or "text"
    std::string stylesheet; // the stylesheet that ran
    std::vector<StylesheetMessage> messages;
};

// What failed, with every message the stylesheet gave on the way.
class ETransformError : public std::runtime_error {
public:
    ETransformError(const std::string &what, std::vector<StylesheetMessage> messages)
        : std::runtime_error(what), messages_(std::move(messages))
    {
    }
    const std::vector<StylesheetMessage> &Messages() const { return messages_; }

private:
    std::vector<StylesheetMessage> messages_;
};

// The href of the first <?xml-stylesheet?> of an XSLT type (text/xsl,
// application/xslt+xml, ...) before the root element, empty when none.
std::string NamedStylesheet(std::string_view text);

// Templates nested deeper than this stop the transform.
inline constexpr int kMaxTemplateDepth = 1000;

// Runs the stylesheet at `stylesheet` (empty: the one the text names,
// relative to `baseDirectory`) over UTF-8 `text`. Raises EDOMParseError when
// the text is not well-formed, ETransformError when the stylesheet cannot be
// read or compiled, fails, or is stopped (by `cancel` turning true, or a
// recursion deeper than kMaxTemplateDepth).
TransformResult TransformText(std::string_view text, const std::string &stylesheet, const std::string &baseDirectory,
                              const std::atomic<bool> *cancel = nullptr);

// The same for a document file, decoded as Open decodes it.
TransformResult TransformFile(const std::string &path, const std::string &stylesheet);

} // namespace tarnwick::xml
