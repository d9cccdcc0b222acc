// A character handler that gives the tree builder long runs of text in pieces.
#include "xml/libxml2_text_limit.h"

#include <libxml/SAX2.h>
#include <libxml/parserInternals.h>

#include "xml/libxml2_internal.h"

namespace tarnwick::xml::libxml2 {

namespace {

// Well under the limit, so a text node over it is seen after at most a
// piece more.
constexpr int kPiece = 1 << 20;

void CharactersInPieces(void *context, const xmlChar *text, int length)
{
    auto *ctxt = static_cast<xmlParserCtxtPtr>(context);
    // After the limit's error the parser takes no more.
    for (; length > kPiece && !ctxt->disableSAX; text += kPiece, length -= kPiece)
        xmlSAX2Characters(context, text, kPiece);
    if (!ctxt->disableSAX)
        xmlSAX2Characters(context, text, length);
}

} // namespace

bool OverTextNodeLimit(xmlParserCtxtPtr ctxt, size_t length)
{
    if (length <= XML_MAX_TEXT_LENGTH)
        return false;
    if (ctxt->disableSAX)
        return true;
    // The error the tree builder raises, through the same handler.
    RaiseThroughContext(ctxt, XML_FROM_PARSER, XML_ERR_NO_MEMORY, XML_ERR_FATAL, "xmlSAX2Characters: huge text node",
                        ctxt->input);
    ctxt->wellFormed = 0;
    xmlStopParser(ctxt);
    return true;
}

void KeepTextNodeLimit(xmlParserCtxtPtr ctxt)
{
    if (ctxt == nullptr || ctxt->sax == nullptr)
        return;
    if (ctxt->sax->characters == xmlSAX2Characters)
        ctxt->sax->characters = CharactersInPieces;
    if (ctxt->sax->ignorableWhitespace == xmlSAX2Characters)
        ctxt->sax->ignorableWhitespace = CharactersInPieces;
}

} // namespace tarnwick::xml::libxml2
