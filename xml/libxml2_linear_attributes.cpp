// Keeping libxml2's attribute appends at one step each: the element's list
// head sits on its newest attribute while the tree builder adds them.
#include "xml/libxml2_linear_attributes.h"

#include <libxml/SAX2.h>
#include <libxml/globals.h>

namespace tarnwick::xml::libxml2 {

namespace {

// The element whose attributes the builder is adding, and its real first
// attribute.
thread_local bool tStartingElement = false;
thread_local xmlNodePtr tElement = nullptr;
thread_local xmlAttrPtr tFirst = nullptr;

// libxml2 calls this for every node it creates, after linking it in.
void NodeCreated(xmlNodePtr node)
{
    if (!tStartingElement || node->type != XML_ATTRIBUTE_NODE || node->parent == nullptr)
        return;
    xmlNodePtr element = node->parent;
    if (element != tElement) {
        tElement = element;
        tFirst = element->properties;
    }
    // The attribute is the list's last; its prev links lead back to tFirst.
    element->properties = reinterpret_cast<xmlAttrPtr>(node);
}

void StartElement(void *context, const xmlChar *localName, const xmlChar *prefix, const xmlChar *uri,
                  int namespaceCount, const xmlChar **namespaces, int attributeCount, int defaultedCount,
                  const xmlChar **attributes)
{
    tStartingElement = true;
    tElement = nullptr;
    xmlSAX2StartElementNs(context, localName, prefix, uri, namespaceCount, namespaces, attributeCount, defaultedCount,
                          attributes);
    tStartingElement = false;
    if (tElement != nullptr)
        tElement->properties = tFirst;
    tElement = nullptr;
}

} // namespace

LinearAttributeScope::LinearAttributeScope() : previous_(*__xmlRegisterNodeDefaultValue())
{
    // xmlRegisterNodeDefault switches the callbacks on for the process, but
    // sets the main thread's function only; a parse may run on another.
    static const bool switchedOn = (xmlRegisterNodeDefault(xmlRegisterNodeDefault(nullptr)), true);
    (void)switchedOn;
    *__xmlRegisterNodeDefaultValue() = NodeCreated;
}

LinearAttributeScope::~LinearAttributeScope() { *__xmlRegisterNodeDefaultValue() = previous_; }

void KeepAttributeAppendsLinear(xmlParserCtxtPtr ctxt)
{
    if (ctxt->sax->startElementNs == xmlSAX2StartElementNs)
        ctxt->sax->startElementNs = StartElement;
}

} // namespace tarnwick::xml::libxml2
