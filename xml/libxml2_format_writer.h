// Format's writer: takes the parser's events as they come, without building a
// tree, and writes the document one element a line, two spaces a level,
// keeping as written the content that layout would change.
#pragma once

#include <libxml/parser.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "xml/formatted_text.h"

namespace tarnwick::xml::libxml2 {

// An element is laid out (each child on a line of its own, indented one
// level deeper, and the end tag on a line of its own; whitespace-only text
// between its children dropped) unless its content is kept as written, which
// it is when it holds character data (text other than whitespace, a CDATA
// section or an entity reference), when whitespace is its whole content, or
// inside xml:space="preserve" (up to a descendant that sets it back to
// "default"). An element holding character data keeps all of its
// descendants as written too. Whether it does may show only after some of
// its children were laid out; their layout is then taken back.
class FormatWriter {
public:
    // `source` is the UTF-8 text being parsed; the document type declaration
    // is copied from it as written. `declarationLine` is given the text of the
    // document's declaration ("" without one) and returns the line that takes
    // its place ("" for none).
    FormatWriter(std::string_view source, std::function<std::string(const std::string &)> declarationLine);

    // Takes the events of the parser context (not those of the contexts it
    // makes for entity contents). Call before parsing, within a Writing scope.
    void Attach(xmlParserCtxtPtr ctxt);

    // While it lives, the events of the attached context reach this writer
    // (one parse at a time per thread).
    class Writing {
    public:
        explicit Writing(FormatWriter &writer);
        ~Writing();
        Writing(const Writing &) = delete;
        Writing &operator=(const Writing &) = delete;

    private:
        FormatWriter *previous_;
    };

    // The text, with LF line breaks, once the parse succeeded.
    std::string Take() { return text_.Take(); }

private:
    struct Frame {
        Frame(int level, bool preserve, bool inMixed) : level(level), preserve(preserve), inMixed(inMixed) {}
        int level;           // ancestors: 0 for the root element
        bool preserve;       // xml:space="preserve" holds
        bool inMixed;        // inside an element holding character data
        bool mixed = false;  // holds character data itself
        bool tagOpen = true; // the start tag still lacks its ">"
        bool hasChild = false;
        FormattedText::Mark content;
        std::string blank; // whitespace read since the last child
        bool KeptAsWritten() const { return preserve || inMixed || mixed; }
    };

    static FormatWriter *For(void *context);
    static FormatWriter *ForContent(void *context);
    static void StartDocument(void *context);
    static void InternalSubset(void *context, const xmlChar *name, const xmlChar *publicId, const xmlChar *systemId);
    static void StartElement(void *context, const xmlChar *localName, const xmlChar *prefix, const xmlChar *uri,
                             int namespaceCount, const xmlChar **namespaces, int attributeCount, int defaultedCount,
                             const xmlChar **attributes);
    static void EndElement(void *context, const xmlChar *localName, const xmlChar *prefix, const xmlChar *uri);
    static void Characters(void *context, const xmlChar *text, int length);
    static void CData(void *context, const xmlChar *text, int length);
    static void Reference(void *context, const xmlChar *name);
    static void Comment(void *context, const xmlChar *text);
    static void Instruction(void *context, const xmlChar *target, const xmlChar *data);

    void Declaration(bool present);
    void DocumentType(const xmlChar *name, const xmlChar *publicId, const xmlChar *systemId);
    void OpenElement(const xmlChar *localName, const xmlChar *prefix, int namespaceCount, const xmlChar **namespaces,
                     int attributeCount, const xmlChar **attributes);
    void CloseElement(const xmlChar *localName, const xmlChar *prefix);
    void Text(std::string_view text);
    // Before character data other than whitespace.
    void BeginCharacterData();
    // Before an element, comment or processing instruction.
    void BeginMarkup();
    // After a node that stands at the top level.
    void EndMarkup();
    void OpenContent(Frame &frame);
    void QName(const xmlChar *prefix, const xmlChar *localName);
    void AttributeValue(const xmlChar *value, const xmlChar *end);

    std::string_view source_;
    std::function<std::string(const std::string &)> declarationLine_;
    xmlParserCtxtPtr ctxt_ = nullptr;
    size_t textRun_ = 0; // bytes of the text node the tree would be building
    FormattedText text_;
    std::vector<Frame> frames_;
};

} // namespace tarnwick::xml::libxml2
