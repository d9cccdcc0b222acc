#include "xml/element_content_check.h"

#include <libxml/parserInternals.h>
#include <libxml/valid.h>

#include "xml/libxml2_internal.h"

namespace tarnwick::xml::libxml2 {

namespace {

thread_local charactersSAXFunc tNext = nullptr;
// The document's own context: an entity's text is read through one of its
// own, whose top is a stand-in for the element that holds the reference.
thread_local xmlParserCtxtPtr tDocument = nullptr;

bool AllBlank(const xmlChar *text, int length)
{
    for (int i = 0; i < length; ++i)
        if (!IS_BLANK_CH(text[i]))
            return false;
    return length > 0;
}

// True while the parser builds an element whose declaration allows element
// children only.
bool InElementContent(xmlParserCtxtPtr ctxt)
{
    const bool atEntityTop = ctxt != tDocument && tDocument != nullptr && ctxt->nodeNr <= 1;
    const xmlNodePtr node = atEntityTop ? tDocument->node : ctxt->node;
    const xmlDocPtr doc = tDocument ? tDocument->myDoc : ctxt->myDoc;
    if (node == nullptr || node->type != XML_ELEMENT_NODE || doc == nullptr)
        return false;
    xmlChar buffer[100];
    xmlChar *name = xmlBuildQName(node->name, node->ns ? node->ns->prefix : nullptr, buffer, sizeof buffer);
    xmlElementPtr declared = nullptr;
    for (xmlDtdPtr dtd : {doc->intSubset, doc->extSubset})
        if (declared == nullptr && dtd != nullptr)
            declared = xmlGetDtdElementDesc(dtd, name ? name : node->name);
    if (name != buffer && name != node->name)
        xmlFree(name);
    return declared != nullptr && declared->etype == XML_ELEMENT_TYPE_ELEMENT;
}

void Report(xmlParserCtxtPtr ctxt)
{
    // Where the document's parser stands: at the reference, also when an
    // entity's own context read the text.
    const xmlParserInputPtr input = tDocument && tDocument->input ? tDocument->input : ctxt->input;
    RaiseThroughContext(ctxt, XML_FROM_VALID, XML_DTD_CONTENT_MODEL, XML_ERR_ERROR,
                        "Element content holds whitespace written as a character reference", input);
    ctxt->valid = 0;
}

void Characters(void *context, const xmlChar *text, int length)
{
    auto *ctxt = static_cast<xmlParserCtxtPtr>(context);
    // A reference has just been read when the input stands past its ';':
    // written whitespace leaves it past a blank.
    const xmlParserInputPtr input = ctxt->input;
    const bool afterReference = input && input->cur > input->base && input->cur[-1] == ';';
    if (afterReference && AllBlank(text, length) && InElementContent(ctxt))
        Report(ctxt);
    if (tNext)
        tNext(context, text, length);
}

} // namespace

WhitespaceReferenceCheck::WhitespaceReferenceCheck(xmlParserCtxtPtr ctxt)
    : ctxt_(ctxt), previous_(tNext), previousDocument_(tDocument)
{
    tDocument = ctxt;
    tNext = ctxt->sax->characters;
    ctxt->sax->characters = Characters;
}

WhitespaceReferenceCheck::~WhitespaceReferenceCheck()
{
    ctxt_->sax->characters = tNext;
    tNext = previous_;
    tDocument = previousDocument_;
}

} // namespace tarnwick::xml::libxml2
