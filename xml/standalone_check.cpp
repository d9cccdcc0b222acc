#include "xml/standalone_check.h"

#include <libxml/parser.h>
#include <libxml/valid.h>

#include <memory>
#include <string>

namespace tarnwick::xml::libxml2 {

namespace {

std::string Value(xmlDocPtr doc, xmlAttrPtr attribute)
{
    xmlChar *value = xmlNodeListGetString(doc, attribute->children, 1);
    std::string result = value ? reinterpret_cast<const char *>(value) : "";
    xmlFree(value);
    return result;
}

// A tokenized value as normalization leaves it: no leading or trailing
// space, one space between tokens.
std::string Normalized(const std::string &value)
{
    std::string out;
    for (char c : value) {
        if (c == ' ' && (out.empty() || out.back() == ' '))
            continue;
        out += c;
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// The declaration that governs the attribute, when it is the external
// subset's and of a tokenized type.
bool ExternallyTokenized(xmlDocPtr doc, xmlNodePtr element, xmlAttrPtr attribute)
{
    const xmlChar *prefix = attribute->ns ? attribute->ns->prefix : nullptr;
    const xmlChar *elementPrefix = element->ns ? element->ns->prefix : nullptr;
    xmlChar buffer[100];
    xmlChar *full = xmlBuildQName(element->name, elementPrefix, buffer, sizeof buffer);
    const xmlChar *elementName = full ? full : element->name;
    const bool internal = doc->intSubset && xmlGetDtdQAttrDesc(doc->intSubset, elementName, attribute->name, prefix);
    xmlAttributePtr declared =
        internal ? nullptr : xmlGetDtdQAttrDesc(doc->extSubset, elementName, attribute->name, prefix);
    if (full != buffer && full != element->name)
        xmlFree(full);
    return declared != nullptr && declared->atype != XML_ATTRIBUTE_CDATA;
}

xmlNodePtr NextElement(xmlNodePtr node, xmlNodePtr root)
{
    if (node->children && node->children->type != XML_ENTITY_DECL) {
        for (xmlNodePtr child = node->children; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE)
                return child;
    }
    for (xmlNodePtr at = node; at && at != root; at = at->parent)
        for (xmlNodePtr next = at->next; next; next = next->next)
            if (next->type == XML_ELEMENT_NODE)
                return next;
    return nullptr;
}

} // namespace

void CheckStandaloneAttributes(xmlDocPtr doc, const ParseRequest &request, CapturedError &error)
{
    if (doc == nullptr || doc->standalone != 1 || doc->extSubset == nullptr || request.read)
        return;
    // The values as written: the document again, without the external
    // subset, whose declarations have the parser normalize them.
    int options = XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    if (request.ignoreDeclaredEncoding)
        options |= XML_PARSE_IGNORE_ENC;
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> written(nullptr, xmlFreeDoc);
    {
        CapturedError ignored;
        LoaderPolicyScope nothing(LoaderPolicy::Nothing);
        StructuredErrorScope quiet(&ignored);
        written.reset(xmlReadMemory(request.bytes.data(), static_cast<int>(request.bytes.size()), nullptr,
                                    request.ignoreDeclaredEncoding ? "UTF-8" : nullptr, options));
    }
    if (!written)
        return;
    xmlNodePtr root = xmlDocGetRootElement(doc);
    xmlNodePtr rawRoot = xmlDocGetRootElement(written.get());
    for (xmlNodePtr element = root, raw = rawRoot; element && raw;
         element = NextElement(element, root), raw = NextElement(raw, rawRoot)) {
        if (!xmlStrEqual(element->name, raw->name))
            return; // not the same tree: nothing to compare
        for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
            if (!ExternallyTokenized(doc, element, attribute))
                continue;
            xmlAttrPtr rawAttribute = xmlHasNsProp(raw, attribute->name, attribute->ns ? attribute->ns->href : nullptr);
            if (rawAttribute == nullptr)
                continue; // a default, which the parser checks
            const std::string value = Value(written.get(), rawAttribute);
            if (Normalized(value) == value)
                continue;
            error.Set(XML_DTD_NOT_STANDALONE, static_cast<int>(xmlGetLineNo(element)), 1,
                      "standalone: " + std::string(reinterpret_cast<const char *>(attribute->name)) + " on " +
                          reinterpret_cast<const char *>(element->name) +
                          " value had to be normalized based on external subset declaration");
            error.verdict = Verdict::NotValid;
            return;
        }
    }
}

} // namespace tarnwick::xml::libxml2
