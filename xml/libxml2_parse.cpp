// Parsing a document with libxml2: our own parser context with a structured
// error handler, the entity loader's policy, whitespace handling, validation
// and its verdict, and the declaration presented as a processing instruction
// "xml".
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "xml/attribute_checks.h"
#include "xml/declaration.h"
#include "xml/element_content_check.h"
#include "xml/libxml2_internal.h"
#include "xml/libxml2_linear_attributes.h"
#include "xml/libxml2_problems.h"
#include "xml/transcode.h"

namespace tarnwick::xml::libxml2 {

namespace {

// The first error of each kind that one parse reports, in the order found.
struct ParseErrors {
    CapturedError wellFormedness; // fatal errors and namespace errors
    CapturedError validity;       // the DTD's rules, checked when validating
    CapturedError other;          // others the parser goes on after (an undeclared entity)
    CapturedError global;         // reported without a parser context
    // Unknown entities named by ENTITY attributes, which libxml2 reports for
    // defaults no element takes too; they count only where one does.
    struct UnknownEntity {
        CapturedError error;
        std::string attribute;
        std::string entity;
        int order;
    };
    std::vector<UnknownEntity> unknownEntities;
    int validityOrder = 0;
    int otherOrder = 0;
    int count = 0;
    bool noDtd = false; // the validating parser found no DTD to check against
    // Where every error and warning is listed too, when a scope asks for it.
    ProblemList *list = ProblemListScope::Current();
    std::string url;
};

void KeepToTheDocument(CapturedError &error, const std::string &url, bool fatal);
void DropContentModel(CapturedError &error);

// An error or warning on its way to the list, told as the first error would
// be told. The parse is under way, inside its loader's scope, which knows how
// the files read so far may be named.
void ListParseProblem(ParseErrors &errors, xmlErrorPtr error)
{
    CapturedError problem;
    CaptureError(problem, error, false);
    KeepToTheDocument(problem, errors.url, error->level == XML_ERR_FATAL);
    if (error->domain == XML_FROM_VALID && LoaderPolicyScope::ReadParameterEntity())
        DropContentModel(problem);
    DocumentProblem listed = ProblemOf(error);
    listed.message = std::move(problem.reason);
    // An error in another file stands on no line of the document.
    if (problem.elsewhere)
        listed.line = listed.column = 0;
    errors.list->Add(std::move(listed));
}

void CaptureParseError(void *parserContext, xmlErrorPtr error)
{
    auto *ctxt = static_cast<xmlParserCtxtPtr>(parserContext);
    auto *errors = ctxt ? static_cast<ParseErrors *>(ctxt->_private) : nullptr;
    if (errors == nullptr || error == nullptr)
        return;
    // A document without a DTD is checked against its schema, if any.
    if (error->code == XML_DTD_NO_DTD) {
        errors->noDtd = true;
        return;
    }
    if (errors->list && error->level != XML_ERR_NONE)
        ListParseProblem(*errors, error);
    if (error->level < XML_ERR_ERROR)
        return;
    if (error->domain == XML_FROM_VALID && error->code == XML_DTD_UNKNOWN_ENTITY && error->str1 && error->str2) {
        CapturedError unknown;
        CaptureStructuredError(&unknown, error);
        errors->unknownEntities.push_back({unknown, error->str1, error->str2, ++errors->count});
        return;
    }
    ++errors->count;
    if (error->level == XML_ERR_FATAL || error->domain == XML_FROM_NAMESPACE) {
        CaptureStructuredError(&errors->wellFormedness, error);
    } else if (error->domain == XML_FROM_VALID || error->domain == XML_FROM_DTD) {
        if (!errors->validity.HasError())
            errors->validityOrder = errors->count;
        CaptureStructuredError(&errors->validity, error);
    } else {
        if (!errors->other.HasError())
            errors->otherOrder = errors->count;
        CaptureStructuredError(&errors->other, error);
    }
}

// Errors reported without the parser's context (the validator's, mostly):
// the first kept apart, each listed when a list is asked for.
void CaptureGlobalParseError(void *data, xmlErrorPtr error)
{
    auto *errors = static_cast<ParseErrors *>(data);
    if (error == nullptr)
        return;
    CaptureStructuredError(&errors->global, error);
    if (errors->list && error->level != XML_ERR_NONE && error->code != XML_DTD_NO_DTD)
        ListParseProblem(*errors, error);
}

// Keeps the unknown entities an attribute of the document names; when none
// does, the document is as valid as its other errors leave it.
void KeepUnknownEntitiesInUse(xmlDocPtr doc, ParseErrors &errors, bool &valid)
{
    bool kept = false;
    for (const ParseErrors::UnknownEntity &unknown : errors.unknownEntities) {
        if (doc && !NamesEntity(doc, unknown.attribute, unknown.entity))
            continue;
        kept = true;
        if (!errors.validity.HasError() || unknown.order < errors.validityOrder) {
            errors.validityOrder = unknown.order;
            errors.validity = unknown.error;
        }
    }
    if (!kept && !errors.unknownEntities.empty() && errors.count == static_cast<int>(errors.unknownEntities.size()))
        valid = true;
}

// What the parser left behind besides its errors.
struct ParseOutcome {
    bool wellFormed = false;
    bool valid = false;
    LoaderRefusal refused;
    std::string notLoaded; // what the loader refused and why, empty when nothing
};

// Where an error outside the document's own text is (in its DTD or an
// entity): the message names that file, line and column only, because the
// parser's text would quote the file (a DTD that names /etc/passwd quotes its
// first line) or a value built from it. Must run while the parse's loader
// scope lives, which knows the names that may be quoted.
void KeepToTheDocument(CapturedError &error, const std::string &url, bool fatal)
{
    if (!error.HasError() || error.file.empty() || error.file == url)
        return;
    const std::string where = "line " + std::to_string(error.line) + ", column " + std::to_string(error.column);
    error.reason = fatal ? "Could not read " + NameInMessages(error.file) + ": it is not well-formed at " + where
                         : "Error at " + where + " of " + NameInMessages(error.file);
    error.srcText.clear();
    error.elsewhere = true;
}

// The loader's refusal in words, the resource named only as a file wrote it.
std::string DescribeRefusal(const LoaderRefusal &refused, const std::string &url)
{
    if (refused.reason.empty())
        return "";
    const std::string where =
        refused.file.empty() || refused.file == url ? "the document" : NameInMessages(refused.file);
    // A sentence of its own: "x.dtd is outside the document's folder".
    if (refused.outside)
        return (refused.reference.empty() ? "what line " + std::to_string(refused.line) + " of " + where + " names"
                                          : refused.reference) +
               " " + refused.reason;
    if (!refused.reference.empty())
        return "\"" + refused.reference + "\" was not loaded: " + refused.reason;
    return "named at line " + std::to_string(refused.line) + " of " + where + " was not loaded: " + refused.reason;
}

// A validity error's description of a content model, which the DTD may have
// built from a parameter entity's file, and so quote any file.
void DropContentModel(CapturedError &error)
{
    const size_t expecting = error.reason.find(", expecting ");
    const size_t got = error.reason.rfind(", got");
    if (expecting != std::string::npos && got != std::string::npos && got > expecting)
        error.reason.erase(expecting, got - expecting);
}

CapturedError WithVerdict(CapturedError error, Verdict verdict)
{
    error.verdict = verdict;
    return error;
}

// The error a parse fails with, none when it succeeds. Not well-formed wins
// over everything; then a resource that could not be read, because what it
// would have declared may explain any validity error; then the first error
// the parser recovered from. A parse that does not validate ignores what the
// DTD's rules say, and reads only the document type's parts, so a refusal
// there fails it only through what is then missing.
CapturedError Judge(const ParseRequest &request, const ParseErrors &errors, const ParseOutcome &outcome)
{
    if (errors.wellFormedness.HasError() || !outcome.wellFormed) {
        CapturedError error = errors.wellFormedness;
        if (!error.HasError())
            error = errors.other.HasError() ? errors.other : errors.global;
        if (!error.HasError())
            error.Set(XML_ERR_DOCUMENT_EMPTY, 1, 1, "the document could not be parsed");
        return WithVerdict(error, Verdict::NotWellFormed);
    }
    const std::string &notLoaded = outcome.notLoaded;
    if (!notLoaded.empty() && (request.validate || request.resolveExternals)) {
        CapturedError error;
        error.Set(XML_IO_LOAD_ERROR, outcome.refused.line, outcome.refused.column,
                  outcome.refused.outside ? notLoaded : "External resource " + notLoaded);
        return WithVerdict(error, Verdict::NotChecked);
    }
    const bool validityFirst = request.validate && errors.validity.HasError() &&
                               (!errors.other.HasError() || errors.validityOrder < errors.otherOrder);
    CapturedError error = validityFirst ? errors.validity : errors.other;
    if (!error.HasError())
        error = errors.global;
    if (!error.HasError() && request.validate && !outcome.valid && !errors.noDtd)
        error.Set(XML_DTD_UNKNOWN_ELEM, 1, 1, "the document is not valid");
    if (error.HasError() && !notLoaded.empty())
        error.reason += " (" + notLoaded + ")";
    return WithVerdict(error, Verdict::NotValid);
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

// libxml2 takes a document type declaration that declares no element,
// attribute or general entity for no DTD at all; one that declares anything
// (a parameter entity) is a DTD that does not declare the root element.
void UndeclaredRoot(xmlDocPtr doc, CapturedError &error)
{
    const xmlDtdPtr dtd = doc->intSubset;
    bool declares = false;
    for (xmlNodePtr n = dtd ? dtd->children : nullptr; n && !declares; n = n->next)
        declares = n->type == XML_ELEMENT_DECL || n->type == XML_ATTRIBUTE_DECL || n->type == XML_ENTITY_DECL ||
                   n->type == XML_NOTATION_NODE;
    const xmlNodePtr root = xmlDocGetRootElement(doc);
    if (!declares || root == nullptr)
        return;
    error.Set(XML_DTD_UNKNOWN_ELEM, static_cast<int>(xmlGetLineNo(root)), 1,
              "No declaration for element " + std::string(reinterpret_cast<const char *>(root->name)));
    error.verdict = Verdict::NotValid;
}

int ReadThroughRequest(void *context, char *buffer, int length)
{
    return static_cast<const ParseRequest *>(context)->read(buffer, length);
}

std::string SourceLine(const ParseRequest &request, xmlDocPtr doc, int line, int column)
{
    if (request.ignoreDeclaredEncoding || doc == nullptr || doc->encoding == nullptr)
        return LineText(request.bytes, line, column);
    return LineText(DecodeToUtf8(request.bytes, reinterpret_cast<const char *>(doc->encoding)), line, column);
}

// The parser takes a NUL character for the end of the text it is reading,
// and after the root element, or in a file the document reads, it stops
// there without an error: a NUL character in the document's text (in a
// one-byte form or UTF-8) or in such a file is one. Must run while the
// parse's loader scope lives.
bool FoundNulCharacter(const ParseRequest &request, const std::string &url, CapturedError &error)
{
    const std::string_view text = request.bytes;
    const bool wide = !request.ignoreDeclaredEncoding && (DetectDocumentEncoding(text).starts_with("UTF-16") ||
                                                          DetectDocumentEncoding(text).starts_with("UTF-32"));
    const size_t at = request.read || wide ? std::string_view::npos : text.find('\0');
    if (at != std::string_view::npos) {
        const size_t lineStart = text.rfind('\n', at);
        const size_t column = at - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
        error.Set(XML_ERR_INVALID_CHAR, 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n')),
                  static_cast<int>(column), "Char 0x0 out of allowed range");
        return true;
    }
    const NulCharacter nul = LoaderPolicyScope::FirstNulCharacter();
    if (nul.file.empty())
        return false;
    error.Set(XML_ERR_INVALID_CHAR, nul.line, nul.column, "Char 0x0 out of allowed range", nul.file);
    KeepToTheDocument(error, url, true);
    return true;
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
    // The SAX callbacks expect userData to be the context itself, so the
    // errors travel in _private (entity sub-contexts copy it).
    ParseErrors errors;
    ctxt->sax->serror = CaptureParseError;
    ctxt->_private = &errors;
    KeepAttributeAppendsLinear(ctxt);
    // The external DTD and parameter entities are read for the entities and
    // attribute defaults they declare; the tree keeps entity references and
    // gets no defaulted attributes.
    int options = XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_DTDLOAD;
    if (request.ignoreDeclaredEncoding)
        options |= XML_PARSE_IGNORE_ENC;
    if (request.validate)
        options |= XML_PARSE_DTDVALID;
    if (request.resolveExternals)
        options |= XML_PARSE_NOENT;
    const LoaderPolicy policy =
        request.validate || request.resolveExternals ? LoaderPolicy::LocalFiles : LoaderPolicy::DocumentType;
    // Relative references are taken against the document's folder.
    std::string url = request.url;
    if (url.empty() && !request.baseDirectory.empty())
        url = request.baseDirectory + "/";
    errors.url = url;
    // Naming UTF-8 would run the text through a UTF-8 to UTF-8 conversion.
    const char *encoding = request.ignoreDeclaredEncoding && !request.streamed ? "UTF-8" : nullptr;
    if (request.prepareContext)
        request.prepareContext(ctxt);

    xmlDocPtr doc = nullptr;
    ParseOutcome outcome;
    {
        std::optional<WhitespaceReferenceCheck> whitespace;
        if (request.validate)
            whitespace.emplace(ctxt);
        LoaderPolicyScope loader(policy, request.baseDirectory);
        loader.ParsingDocument(ctxt);
        StructuredErrorScope global(&errors, CaptureGlobalParseError);
        LinearAttributeScope linear;
        if (request.read)
            doc = xmlCtxtReadIO(ctxt, ReadThroughRequest, nullptr, const_cast<ParseRequest *>(&request),
                                url.empty() ? nullptr : url.c_str(), encoding, options);
        else
            doc = xmlCtxtReadMemory(ctxt, request.bytes.data(), static_cast<int>(request.bytes.size()),
                                    url.empty() ? nullptr : url.c_str(), encoding, options);
        // The validator clears the document's standalone flag to look an
        // ENTITY attribute's entity up in the external subset, and leaves it
        // so; the declaration said what the parser read.
        if (doc)
            doc->standalone = ctxt->standalone;
        outcome.refused = LoaderPolicyScope::LastRefusal();
        outcome.notLoaded = DescribeRefusal(outcome.refused, url);
        outcome.wellFormed = doc != nullptr && ctxt->wellFormed && ctxt->nsWellFormed;
        if (outcome.wellFormed && !errors.wellFormedness.HasError())
            outcome.wellFormed = !FoundNulCharacter(request, url, errors.wellFormedness);
        outcome.valid = ctxt->valid != 0;
        KeepUnknownEntitiesInUse(doc, errors, outcome.valid);
        KeepToTheDocument(errors.wellFormedness, url, true);
        for (CapturedError *captured : {&errors.validity, &errors.other, &errors.global})
            KeepToTheDocument(*captured, url, false);
        if (LoaderPolicyScope::ReadParameterEntity())
            DropContentModel(errors.validity);
    }
    xmlFreeParserCtxt(ctxt);
    error = Judge(request, errors, outcome);
    if (!error.HasError() && request.validate && errors.noDtd)
        UndeclaredRoot(doc, error);
    if (!error.HasError() && request.validate)
        CheckStandaloneAttributes(doc, request, error);
    if (!error.HasError() && request.validate)
        CheckColonlessNames(doc, error);
    if (!error.HasError() && request.validate)
        ValidateAgainstSchema(doc, request.baseDirectory, error);
    if (error.HasError()) {
        // An error in another file (the DTD, an entity) says which, since its
        // line is that file's.
        const bool inDocument = error.file.empty() || error.file == url;
        if (!inDocument)
            error.srcText.clear();
        else if (error.srcText.empty())
            error.srcText = SourceLine(request, doc, error.line, error.column);
        if (request.url.empty() && error.file == url)
            error.file.clear();
        if (doc)
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
