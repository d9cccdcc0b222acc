// Parsing a document with libxml2: our own parser context with a structured
// error handler, the entity loader's policy, whitespace handling, validation,
// and the declaration presented as a processing instruction "xml".
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <cstring>

#include "xml/declaration.h"
#include "xml/libxml2_internal.h"
#include "xml/transcode.h"

namespace tarnwick::xml::libxml2 {

namespace {

// 1-based line of the first occurrence of `needle` in UTF-8 or one-byte text.
int LineOf(std::string_view text, std::string_view needle)
{
    size_t at = text.find(needle);
    if (at == std::string_view::npos)
        return 1;
    int line = 1;
    for (size_t i = 0; i < at; ++i)
        if (text[i] == '\n')
            ++line;
    return line;
}

bool IsBlank(const xmlChar *s)
{
    if (s == nullptr)
        return true;
    for (; *s; ++s)
        if (*s != ' ' && *s != '\t' && *s != '\r' && *s != '\n')
            return false;
    return true;
}

// Builds the declaration node's text from what the parser recorded.
std::string DeclarationText(xmlDocPtr doc, const ParseRequest &request)
{
    std::string version = doc->version ? reinterpret_cast<const char *>(doc->version) : "1.0";
    std::string encoding;
    if (request.ignoreDeclaredEncoding)
        encoding = DeclarationValue("encoding", RawDeclarationText(request.bytes), "");
    else if (doc->encoding)
        encoding = reinterpret_cast<const char *>(doc->encoding);
    std::string standalone = doc->standalone == 1 ? "yes" : doc->standalone == 0 ? "no" : "";
    std::string text;
    AppendDeclarationItem(text, "version", version);
    AppendDeclarationItem(text, "encoding", encoding);
    AppendDeclarationItem(text, "standalone", standalone);
    return text;
}

void InsertDeclaration(xmlDocPtr doc, const std::string &text)
{
    xmlNodePtr pi = xmlNewDocPI(doc, BAD_CAST "xml", BAD_CAST text.c_str());
    pi->parent = reinterpret_cast<xmlNodePtr>(doc);
    pi->next = doc->children;
    if (doc->children)
        doc->children->prev = pi;
    else
        doc->last = pi;
    doc->children = pi;
}

std::string SourceLine(const ParseRequest &request, xmlDocPtr doc, int line, int column)
{
    if (request.ignoreDeclaredEncoding || doc == nullptr || doc->encoding == nullptr)
        return LineText(request.bytes, line, column);
    return LineText(DecodeToUtf8(request.bytes, reinterpret_cast<const char *>(doc->encoding)), line, column);
}

} // namespace

std::string RawDeclarationText(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (bytes.size() < 6 || bytes.substr(0, 5) != "<?xml")
        return "";
    char c = bytes[5];
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
        return "";
    size_t end = bytes.find("?>");
    if (end == std::string_view::npos)
        return "";
    return std::string(bytes.substr(6, end - 6));
}

void StripWhitespaceText(xmlNodePtr root)
{
    xmlNodePtr node = root ? root->children : nullptr;
    while (node != nullptr) {
        xmlNodePtr next = nullptr;
        if (node->type == XML_TEXT_NODE && IsBlank(node->content)) {
            // Find where to go on before the node disappears.
            xmlNodePtr up = node;
            while (up != nullptr && up != root && up->next == nullptr)
                up = up->parent;
            next = (up == nullptr || up == root) ? nullptr : up->next;
            xmlUnlinkNode(node);
            xmlFreeNode(node);
            node = next;
            continue;
        }
        if (node->type == XML_ELEMENT_NODE && node->children != nullptr) {
            node = node->children;
            continue;
        }
        while (node != nullptr && node != root && node->next == nullptr)
            node = node->parent;
        node = (node == nullptr || node == root) ? nullptr : node->next;
    }
}

xmlNodePtr DeclarationPI(xmlDocPtr doc)
{
    xmlNodePtr first = doc ? doc->children : nullptr;
    if (first && first->type == XML_PI_NODE && first->name &&
        std::strcmp(reinterpret_cast<const char *>(first->name), "xml") == 0)
        return first;
    return nullptr;
}

xmlDocPtr ParseDocument(const ParseRequest &request, CapturedError &error)
{
    InstallEntityLoader();
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (ctxt == nullptr) {
        error.Set(XML_ERR_NO_MEMORY, 1, 1, "out of memory");
        return nullptr;
    }
    // The SAX callbacks expect userData to be the context itself, so the sink
    // travels in _private (entity sub-contexts copy it).
    ctxt->sax->serror = CaptureParserError;
    ctxt->_private = &error;
    int options = XML_PARSE_NONET | XML_PARSE_BIG_LINES;
    if (request.ignoreDeclaredEncoding)
        options |= XML_PARSE_IGNORE_ENC;
    if (request.resolveExternals)
        options |= XML_PARSE_DTDLOAD | XML_PARSE_NOENT;
    // Naming UTF-8 would run the text through a UTF-8 to UTF-8 conversion.
    const char *encoding = request.ignoreDeclaredEncoding && !request.streamed ? "UTF-8" : nullptr;
    if (request.prepareContext)
        request.prepareContext(ctxt);

    xmlDocPtr doc = nullptr;
    {
        LoaderPolicyScope policy(request.resolveExternals);
        StructuredErrorScope quiet(&error);
        doc = xmlCtxtReadMemory(ctxt, request.bytes.data(), static_cast<int>(request.bytes.size()),
                                request.url.empty() ? nullptr : request.url.c_str(), encoding, options);
        LoaderRefusal refused = LoaderPolicyScope::LastRefusal();
        // A resource the document asked to have resolved and could not have
        // fails the load rather than leaving a silent gap.
        if (!error.HasError() && !refused.reason.empty())
            error.Set(XML_IO_LOAD_ERROR, refused.line, refused.column,
                      "External resource \"" + refused.reference + "\" was not loaded: " + refused.reason);
        if (doc == nullptr && !error.HasError())
            error.Set(XML_ERR_DOCUMENT_EMPTY, 1, 1, "the document could not be parsed");
    }
    xmlFreeParserCtxt(ctxt);
    if (error.HasError()) {
        if (doc)
            xmlFreeDoc(doc);
        if (error.srcText.empty())
            error.srcText = LineText(request.bytes, error.line, error.column);
        return nullptr;
    }
    if (request.validate && !ValidateDocument(doc, request.baseDirectory, error)) {
        if (error.srcText.empty()) {
            if (error.line <= 1 && error.reason.find("DTD") != std::string::npos)
                error.line = LineOf(request.bytes, "<!DOCTYPE");
            error.srcText = SourceLine(request, doc, error.line, error.column);
        }
        xmlFreeDoc(doc);
        return nullptr;
    }
    if (!request.preserveWhiteSpace)
        StripWhitespaceText(reinterpret_cast<xmlNodePtr>(doc));
    // standalone is -1 exactly when the text had no declaration.
    if (doc->standalone != -1)
        InsertDeclaration(doc, DeclarationText(doc, request));
    return doc;
}

} // namespace tarnwick::xml::libxml2
