// A validity check libxml2 lacks: element-only content holds whitespace only
// as written, never as a character reference (&#32;), nor through an entity
// whose text is one; the parser hands both over as plain whitespace.
#pragma once

#include <libxml/parser.h>

namespace tarnwick::xml::libxml2 {

// While it lives, the context's character data is checked before it goes on
// to the handler the context had; an offence is reported as a validity
// error through the context's structured error handler.
class WhitespaceReferenceCheck {
public:
    explicit WhitespaceReferenceCheck(xmlParserCtxtPtr ctxt);
    ~WhitespaceReferenceCheck();
    WhitespaceReferenceCheck(const WhitespaceReferenceCheck &) = delete;
    WhitespaceReferenceCheck &operator=(const WhitespaceReferenceCheck &) = delete;

private:
    xmlParserCtxtPtr ctxt_;
    charactersSAXFunc previous_;
    xmlParserCtxtPtr previousDocument_;
};

} // namespace tarnwick::xml::libxml2
