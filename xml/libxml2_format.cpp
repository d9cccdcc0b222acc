// The libxml2 vendor's Format service: one parse whose events go straight to
// the writer, with no tree built.
#include <memory>

#include "xml/libxml2_dom.h"
#include "xml/libxml2_format_writer.h"

namespace tarnwick::xml::libxml2 {

IDOMParseErrorPtr
Libxml2Implementation::formatText(const std::string &text, const std::string &baseDirectory,
                                  const std::function<std::string(const std::string &)> &declarationLine,
                                  std::string &result)
{
    // Empty text is an empty document, which has only the declaration it is given.
    if (text.empty()) {
        std::string line = declarationLine("");
        result = line.empty() ? line : line + "\n";
        return nullptr;
    }
    FormatWriter writer(text, declarationLine);
    ParseRequest request;
    request.bytes = text;
    request.ignoreDeclaredEncoding = true;
    request.baseDirectory = baseDirectory;
    request.preserveWhiteSpace = true;
    request.streamed = true;
    request.prepareContext = [&writer](xmlParserCtxtPtr ctxt) { writer.Attach(ctxt); };
    CapturedError error;
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(nullptr, xmlFreeDoc);
    {
        FormatWriter::Writing writing(writer);
        // What is built holds the document type declaration only.
        doc.reset(ParseDocument(request, error));
    }
    if (!doc)
        return MakeParseError(error);
    result = writer.Take();
    return nullptr;
}

} // namespace tarnwick::xml::libxml2
