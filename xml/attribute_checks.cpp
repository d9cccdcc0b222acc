#include "xml/attribute_checks.h"

#include <libxml/parser.h>
#include <libxml/valid.h>

#include <memory>
#include <sstream>
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

// The declaration that governs the attribute (the internal subset's before
// the external one's), and whether it is the external subset's.
xmlAttributePtr DeclarationOf(xmlDocPtr doc, xmlNodePtr element, xmlAttrPtr attribute, bool &external)
{
    const xmlChar *prefix = attribute->ns ? attribute->ns->prefix : nullptr;
    const xmlChar *elementPrefix = element->ns ? element->ns->prefix : nullptr;
    xmlChar buffer[100];
    xmlChar *full = xmlBuildQName(element->name, elementPrefix, buffer, sizeof buffer);
    const xmlChar *elementName = full ? full : element->name;
    xmlAttributePtr declared = nullptr;
    external = false;
    if (doc->intSubset)
        declared = xmlGetDtdQAttrDesc(doc->intSubset, elementName, attribute->name, prefix);
    if (declared == nullptr && doc->extSubset) {
        declared = xmlGetDtdQAttrDesc(doc->extSubset, elementName, attribute->name, prefix);
        external = declared != nullptr;
    }
    if (full != buffer && full != element->name)
        xmlFree(full);
    return declared;
}

bool ExternallyTokenized(xmlDocPtr doc, xmlNodePtr element, xmlAttrPtr attribute)
{
    bool external = false;
    const xmlAttributePtr declared = DeclarationOf(doc, element, attribute, external);
    return external && declared->atype != XML_ATTRIBUTE_CDATA;
}

bool NameTyped(xmlAttributeType type)
{
    switch (type) {
    case XML_ATTRIBUTE_ID:
    case XML_ATTRIBUTE_IDREF:
    case XML_ATTRIBUTE_IDREFS:
    case XML_ATTRIBUTE_ENTITY:
    case XML_ATTRIBUTE_ENTITIES:
    case XML_ATTRIBUTE_NOTATION:
        return true;
    default:
        return false;
    }
}

// The attribute as the element has it (xmlHasNsProp would answer with the
// declaration of a default the tree does not hold).
xmlAttrPtr WrittenAttribute(xmlNodePtr element, const xmlChar *name, const xmlChar *href)
{
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next)
        if (xmlStrEqual(attribute->name, name) && xmlStrEqual(attribute->ns ? attribute->ns->href : nullptr, href))
            return attribute;
    return nullptr;
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
            xmlAttrPtr rawAttribute =
                WrittenAttribute(raw, attribute->name, attribute->ns ? attribute->ns->href : nullptr);
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

bool HasToken(const xmlChar *list, const std::string &token)
{
    std::istringstream words(list ? reinterpret_cast<const char *>(list) : "");
    for (std::string word; words >> word;)
        if (word == token)
            return true;
    return false;
}

bool NamesEntity(xmlDocPtr doc, const std::string &attribute, const std::string &entity)
{
    const xmlNodePtr root = xmlDocGetRootElement(doc);
    const xmlChar *name = reinterpret_cast<const xmlChar *>(attribute.c_str());
    for (xmlNodePtr element = root; element; element = NextElement(element, root)) {
        if (xmlAttrPtr written = WrittenAttribute(element, name, nullptr)) {
            if (HasToken(reinterpret_cast<const xmlChar *>(Value(doc, written).c_str()), entity))
                return true;
            continue;
        }
        for (xmlDtdPtr dtd : {doc->intSubset, doc->extSubset}) {
            const xmlAttributePtr declared = dtd ? xmlGetDtdAttrDesc(dtd, element->name, name) : nullptr;
            if (declared && HasToken(declared->defaultValue, entity))
                return true;
            if (declared)
                break;
        }
    }
    return false;
}

void CheckColonlessNames(xmlDocPtr doc, CapturedError &error)
{
    if (doc == nullptr || (doc->intSubset == nullptr && doc->extSubset == nullptr))
        return;
    const xmlNodePtr root = xmlDocGetRootElement(doc);
    for (xmlNodePtr element = root; element; element = NextElement(element, root)) {
        for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
            bool external = false;
            const xmlAttributePtr declared = DeclarationOf(doc, element, attribute, external);
            if (declared == nullptr || !NameTyped(declared->atype))
                continue;
            const std::string value = Value(doc, attribute);
            if (value.find(':') == std::string::npos)
                continue;
            error.Set(XML_NS_ERR_COLON, static_cast<int>(xmlGetLineNo(element)), 1,
                      "Value \"" + value + "\" of attribute " + reinterpret_cast<const char *>(attribute->name) +
                          " on " + reinterpret_cast<const char *>(element->name) +
                          " holds a colon, which a name of its type may not hold under namespaces");
            error.verdict = Verdict::NotValid;
            return;
        }
    }
}

} // namespace tarnwick::xml::libxml2
