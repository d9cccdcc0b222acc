// Validation of a parsed tree against the XML Schema named by its xsi
// attributes (else the RELAX NG grammar an xml-model instruction names), read
// from a local file through the entity loader. (The DTD is checked while the
// document is parsed.)
#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <sstream>
#include <vector>

#include "xml/libxml2_internal.h"
#include "xml/libxml2_problems.h"
#include "xml/model_grammar.h"

namespace tarnwick::xml::libxml2 {

namespace {

constexpr const char *kXsiNamespace = "http://www.w3.org/2001/XMLSchema-instance";
constexpr int kNotLoaded = XML_IO_LOAD_ERROR;

std::string Str(const xmlChar *s) { return s ? reinterpret_cast<const char *>(s) : ""; }

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

} // namespace

bool ValidateAgainstSchema(xmlDocPtr doc, const std::string &baseDirectory, CapturedError &error)
{
    InstallEntityLoader();
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (root == nullptr)
        return true;
    std::string location = SchemaLocation(root);
    // Without an XML Schema, a RELAX NG grammar named by <?xml-model?>.
    if (location.empty())
        return ValidateAgainstModelGrammar(doc, baseDirectory, error);
    // A network address is the catalog's to map, else the loader refuses it.
    const std::string path = IsNetworkReference(location) ? location : ResolveLocalReference(location, baseDirectory);

    CapturedError loadError;
    xmlSchemaPtr schema = nullptr;
    {
        LoaderPolicyScope policy(LoaderPolicy::SchemaDocuments, baseDirectory);
        StructuredErrorScope capture(&loadError);
        xmlSchemaParserCtxtPtr pctxt = xmlSchemaNewParserCtxt(path.c_str());
        xmlSchemaSetParserStructuredErrors(pctxt, CaptureStructuredError, &loadError);
        schema = xmlSchemaParse(pctxt);
        xmlSchemaFreeParserCtxt(pctxt);
        if (schema == nullptr) {
            const LoaderRefusal refused = LoaderPolicyScope::LastRefusal();
            if (refused.outside)
                return NotLoadedFromOutside(location, path, refused, root->line, error);
            std::string why = refused.reason;
            // The schema's own text is not quoted, only where its error is.
            if (why.empty() && loadError.HasError())
                why = "it has an error at line " + std::to_string(loadError.line) + ", column " +
                      std::to_string(loadError.column) +
                      (loadError.file.empty() ? std::string() : " of " + NameInMessages(loadError.file));
            if (why.empty())
                why = "it could not be read";
            error.Set(kNotLoaded, root->line, 1, "schema \"" + location + "\" was not loaded: " + why);
            error.verdict = Verdict::NotChecked;
            return false;
        }
    }
    xmlSchemaValidCtxtPtr vctxt = xmlSchemaNewValidCtxt(schema);
    ValidatorErrors errors(error);
    xmlSchemaSetValidStructuredErrors(vctxt, ValidatorErrors::Handle, &errors);
    int result = 0;
    {
        LoaderPolicyScope policy(LoaderPolicy::Nothing);
        StructuredErrorScope capture(&errors, ValidatorErrors::Handle);
        result = xmlSchemaValidateDoc(vctxt, doc);
    }
    xmlSchemaFreeValidCtxt(vctxt);
    xmlSchemaFree(schema);
    if (result != 0 && !error.HasError())
        error.Set(XML_SCHEMAV_INTERNAL, 1, 1, "the document is not valid");
    error.verdict = result < 0 ? Verdict::NotChecked : Verdict::NotValid;
    return result == 0;
}

} // namespace tarnwick::xml::libxml2
