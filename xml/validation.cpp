// Validation of a parsed tree: against its DTD (internal subset and an external
// DTD loaded from a local file through the entity loader, checked with the
// tree left as parsed) and against the XML Schema named by xsi attributes.
#include <libxml/parser.h>
#include <libxml/valid.h>
#include <libxml/xmlschemas.h>

#include <sstream>
#include <vector>

#include "xml/libxml2_internal.h"

namespace tarnwick::xml::libxml2 {

namespace {

constexpr const char *kXsiNamespace = "http://www.w3.org/2001/XMLSchema-instance";
constexpr int kNotLoaded = XML_IO_LOAD_ERROR;

void IgnoreValidityMessage(void *, const char *, ...) {}

bool HasDeclarations(xmlDtdPtr dtd)
{
    for (xmlNodePtr n = dtd ? dtd->children : nullptr; n; n = n->next)
        if (n->type == XML_ELEMENT_DECL || n->type == XML_ATTRIBUTE_DECL || n->type == XML_ENTITY_DECL)
            return true;
    return false;
}

std::string Str(const xmlChar *s) { return s ? reinterpret_cast<const char *>(s) : ""; }

bool ValidateAgainstDtd(xmlDocPtr doc, const std::string &baseDirectory, CapturedError &error)
{
    xmlDtdPtr internal = doc->intSubset;
    if (internal == nullptr)
        return true;
    std::string systemId = Str(internal->SystemID);
    if (systemId.empty() && !HasDeclarations(internal))
        return true; // <!DOCTYPE x> names no DTD

    xmlDtdPtr external = nullptr;
    if (!systemId.empty()) {
        if (IsNetworkReference(systemId)) {
            error.Set(kNotLoaded, 1, 1, "DTD \"" + systemId + "\" was not loaded: network access is disabled");
            return false;
        }
        std::string path = ResolveLocalReference(systemId, baseDirectory);
        CapturedError loadError;
        {
            LoaderPolicyScope policy(true);
            StructuredErrorScope capture(&loadError);
            external = xmlParseDTD(nullptr, BAD_CAST path.c_str());
            if (external == nullptr) {
                std::string why = LoaderPolicyScope::LastRefusal().reason;
                if (why.empty())
                    why = loadError.HasError() ? loadError.reason : "it could not be read";
                error.Set(kNotLoaded, 1, 1, "DTD \"" + systemId + "\" was not loaded: " + why);
                return false;
            }
        }
        if (loadError.HasError()) {
            xmlFreeDtd(external);
            error.Set(loadError.code, loadError.line, loadError.column,
                      "DTD \"" + systemId + "\" is not well-formed: " + loadError.reason, path);
            return false;
        }
    }

    xmlValidCtxtPtr vctxt = xmlNewValidCtxt();
    vctxt->error = IgnoreValidityMessage;
    vctxt->warning = IgnoreValidityMessage;
    xmlDtdPtr savedExternal = doc->extSubset;
    if (external)
        doc->extSubset = external;
    int valid = 0;
    {
        LoaderPolicyScope policy(true); // parameter entities of the DTD
        StructuredErrorScope capture(&error);
        valid = xmlValidateDocument(vctxt, doc);
    }
    doc->extSubset = savedExternal;
    if (external)
        xmlFreeDtd(external);
    xmlFreeValidCtxt(vctxt);
    if (!valid && !error.HasError())
        error.Set(XML_DTD_UNKNOWN_ELEM, 1, 1, "the document is not valid");
    return valid != 0;
}

// The schema location the root element names, empty when none.
std::string SchemaLocation(xmlNodePtr root)
{
    xmlChar *plain = xmlGetNsProp(root, BAD_CAST "noNamespaceSchemaLocation", BAD_CAST kXsiNamespace);
    if (plain) {
        std::string location = Str(plain);
        xmlFree(plain);
        return location;
    }
    xmlChar *pairs = xmlGetNsProp(root, BAD_CAST "schemaLocation", BAD_CAST kXsiNamespace);
    if (!pairs)
        return "";
    std::istringstream in(Str(pairs));
    xmlFree(pairs);
    std::string rootNamespace = root->ns ? Str(root->ns->href) : "";
    std::string ns, location, first;
    while (in >> ns >> location) {
        if (first.empty())
            first = location;
        if (ns == rootNamespace)
            return location;
    }
    return first;
}

bool ValidateAgainstSchema(xmlDocPtr doc, const std::string &baseDirectory, CapturedError &error)
{
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (root == nullptr)
        return true;
    std::string location = SchemaLocation(root);
    if (location.empty())
        return true;
    if (IsNetworkReference(location)) {
        error.Set(kNotLoaded, root->line, 1, "schema \"" + location + "\" was not loaded: network access is disabled");
        return false;
    }
    std::string path = ResolveLocalReference(location, baseDirectory);

    CapturedError loadError;
    xmlSchemaPtr schema = nullptr;
    {
        LoaderPolicyScope policy(true);
        StructuredErrorScope capture(&loadError);
        xmlSchemaParserCtxtPtr pctxt = xmlSchemaNewParserCtxt(path.c_str());
        xmlSchemaSetParserStructuredErrors(pctxt, CaptureStructuredError, &loadError);
        schema = xmlSchemaParse(pctxt);
        xmlSchemaFreeParserCtxt(pctxt);
        if (schema == nullptr) {
            std::string why = LoaderPolicyScope::LastRefusal().reason;
            if (why.empty())
                why = loadError.HasError() ? loadError.reason : "it could not be read";
            error.Set(kNotLoaded, root->line, 1, "schema \"" + location + "\" was not loaded: " + why);
            return false;
        }
    }
    xmlSchemaValidCtxtPtr vctxt = xmlSchemaNewValidCtxt(schema);
    xmlSchemaSetValidStructuredErrors(vctxt, CaptureStructuredError, &error);
    int result = 0;
    {
        LoaderPolicyScope policy(false);
        StructuredErrorScope capture(&error);
        result = xmlSchemaValidateDoc(vctxt, doc);
    }
    xmlSchemaFreeValidCtxt(vctxt);
    xmlSchemaFree(schema);
    if (result != 0 && !error.HasError())
        error.Set(XML_SCHEMAV_INTERNAL, 1, 1, "the document is not valid");
    return result == 0;
}

} // namespace

bool ValidateDocument(xmlDocPtr doc, const std::string &baseDirectory, CapturedError &error)
{
    InstallEntityLoader();
    return ValidateAgainstDtd(doc, baseDirectory, error) && ValidateAgainstSchema(doc, baseDirectory, error);
}

} // namespace tarnwick::xml::libxml2
