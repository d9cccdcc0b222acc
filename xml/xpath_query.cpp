// XPath evaluation with libxml2's engine over a tree from the layer's own
// parse, with an operation budget so that an expression that runs away
// (nested searches of a large document) stops with a message.
#include "xml/xpath_query.h"

#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <filesystem>
#include <memory>

#include "xml/file_read.h"
#include "xml/libxml2_dom.h"
#include "xml/libxml2_internal.h"
#include "xml/node_description.h"
#include "xml/tool_parse.h"
#include "xml/transcode.h"

namespace tarnwick::xml {

namespace {

using namespace libxml2;

const char *C(const xmlChar *s) { return s ? reinterpret_cast<const char *>(s) : ""; }

// Steps an evaluation may take: a fixed allowance and a few per byte of the
// document, which lets every search that visits each node a bounded number
// of times finish, and stops one that searches the document again for each
// node within seconds.
unsigned long OperationBudget(size_t documentBytes) { return 50'000'000UL + 2UL * documentBytes; }

struct XPathFailure {
    int code = 0;
    std::string message;
    int position = 0;
};

void CaptureXPathError(void *data, xmlErrorPtr error)
{
    auto *failure = static_cast<XPathFailure *>(data);
    if (failure->code != 0 || error == nullptr || error->level < XML_ERR_ERROR)
        return;
    failure->code = error->code;
    failure->message = C(reinterpret_cast<const xmlChar *>(error->message));
    while (!failure->message.empty() && (failure->message.back() == '\n' || failure->message.back() == ' '))
        failure->message.pop_back();
    failure->position = error->int1 + 1;
}

std::string Explain(const XPathFailure &failure)
{
    switch (failure.code - XML_XPATH_EXPRESSION_OK + XPATH_EXPRESSION_OK) {
    case XPATH_OP_LIMIT_EXCEEDED:
        return "The XPath expression was stopped: it took too many steps over this document";
    case XPATH_RECURSION_LIMIT_EXCEEDED:
        return "The XPath expression was stopped: it nests too deeply";
    case XPATH_MEMORY_ERROR:
        return "The XPath expression was stopped: its result is too large";
    default:
        break;
    }
    std::string message = failure.message.empty() ? "The XPath expression failed" : failure.message;
    if (failure.position > 0)
        message += " (at character " + std::to_string(failure.position) + " of the expression)";
    return message;
}

using ContextPtr = std::unique_ptr<xmlXPathContext, void (*)(xmlXPathContextPtr)>;
using ObjectPtr = std::unique_ptr<xmlXPathObject, void (*)(xmlXPathObjectPtr)>;

DocPtr ParseForQuery(std::string_view text, const std::string &baseDirectory)
{
    return ParseForTools(text, baseDirectory);
}

std::string CutValue(const std::string &value, size_t length, bool &cut)
{
    size_t characters = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        if ((static_cast<unsigned char>(value[i]) & 0xC0) == 0x80)
            continue;
        if (characters++ == length) {
            cut = true;
            return value.substr(0, i);
        }
    }
    return value;
}

XPathResult Describe(xmlXPathObjectPtr object, const XPathLimits &limits)
{
    XPathResult result;
    switch (object->type) {
    case XPATH_BOOLEAN:
        result.kind = XPathValueKind::Boolean;
        result.value = object->boolval ? "true" : "false";
        return result;
    case XPATH_NUMBER: {
        result.kind = XPathValueKind::Number;
        xmlChar *text = xmlXPathCastNumberToString(object->floatval);
        result.value = C(text);
        xmlFree(text);
        return result;
    }
    case XPATH_STRING:
        result.kind = XPathValueKind::String;
        result.value = CutValue(C(object->stringval), limits.valueLength, result.valueCut);
        return result;
    default:
        break;
    }
    result.kind = XPathValueKind::NodeSet;
    const xmlNodeSetPtr nodes = object->nodesetval;
    result.nodeCount = nodes ? static_cast<size_t>(nodes->nodeNr) : 0;
    NodePaths paths;
    for (size_t i = 0; i < result.nodeCount && i < limits.listedNodes; ++i) {
        xmlNodePtr node = nodes->nodeTab[i];
        result.nodes.push_back({NodeLine(node), paths.Of(node), NodeText(node, limits.nodeTextLength)});
    }
    return result;
}

} // namespace

XPathDocument::XPathDocument(std::string_view text, const std::string &baseDirectory) : bytes_(text.size())
{
    InstallEntityLoader();
    doc_ = ParseForQuery(text, baseDirectory).release();
}

XPathDocument XPathDocument::FromFile(const std::string &path)
{
    const ToolFile file = ReadToolFile(path);
    return XPathDocument(file.text, file.folder);
}

XPathDocument::~XPathDocument()
{
    if (doc_)
        xmlFreeDoc(doc_);
}

XPathDocument::XPathDocument(XPathDocument &&other) noexcept : doc_(other.doc_), bytes_(other.bytes_)
{
    other.doc_ = nullptr;
}

XPathResult XPathDocument::Evaluate(const std::string &expression, const XPathLimits &limits) const
{
    XPathFailure failure;
    ContextPtr context(xmlXPathNewContext(doc_), xmlXPathFreeContext);
    if (!context)
        throw EXMLLayerError("There is not enough memory to evaluate the XPath expression");
    context->opLimit = OperationBudget(bytes_);
    // The prefixes the root declares are the ones the user sees at the top
    // of the document; XPath 1.0 has no default namespace to bind.
    if (xmlNodePtr root = xmlDocGetRootElement(doc_))
        for (xmlNsPtr ns = root->nsDef; ns != nullptr; ns = ns->next)
            if (ns->prefix != nullptr)
                xmlXPathRegisterNs(context.get(), ns->prefix, ns->href);

    ObjectPtr object(nullptr, xmlXPathFreeObject);
    {
        // Nothing is loaded while evaluating (document() is XSLT's, not XPath's).
        LoaderPolicyScope nothing(LoaderPolicy::Nothing);
        StructuredErrorScope capture(&failure, CaptureXPathError);
        object.reset(xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(expression.c_str()), context.get()));
    }
    if (failure.code != 0 || !object)
        throw EXPathError(Explain(failure), failure.position);
    return Describe(object.get(), limits);
}

XPathResult EvaluateXPath(std::string_view text, const std::string &expression, const std::string &baseDirectory,
                          const XPathLimits &limits)
{
    return XPathDocument(text, baseDirectory).Evaluate(expression, limits);
}

} // namespace tarnwick::xml
