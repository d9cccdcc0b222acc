// libxml2's parser with SAX callbacks that build nothing: the document node
// and the internal subset are kept (entity references must find their
// declarations), text and comments go nowhere, and the start of each element
// only looks now and then whether the check was cancelled. The parser reads
// the text a piece at a time, as it reads a file: handed the text whole, it
// would first copy all of it into a buffer of its own.
#include "xml/wellformedness.h"

#include "xml/libxml2_internal.h"
#include "xml/libxml2_problems.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace tarnwick::xml {

namespace {

using namespace libxml2;

// Elements between two looks at the cancel flag.
constexpr unsigned kCancelPoll = 4096;

// Travels in the parser context's _private, which entity sub-contexts copy.
struct CheckState {
    CapturedError error;
    ProblemList *list = nullptr; // every error and warning, when asked for
    const std::atomic<bool> *cancel = nullptr;
    unsigned elements = 0;
    bool cancelled = false;
};

CheckState &StateOf(void *parserContext)
{
    return *static_cast<CheckState *>(static_cast<xmlParserCtxtPtr>(parserContext)->_private);
}

// An entity the document does not declare is no fault of its form when a
// DTD the check does not read may declare it; libxml2 reports that case at
// error level with a warning's code.
void CaptureFormError(void *parserContext, xmlErrorPtr error)
{
    if (!error || error->code == XML_WAR_UNDECLARED_ENTITY)
        return;
    CheckState &state = StateOf(parserContext);
    CaptureStructuredError(&state.error, error);
    ListProblem(state.list, error);
}

void LookForCancel(void *parserContext, const xmlChar *, const xmlChar *, const xmlChar *, int, const xmlChar **, int,
                   int, const xmlChar **)
{
    CheckState &state = StateOf(parserContext);
    if (++state.elements % kCancelPoll == 0 && state.cancel && state.cancel->load(std::memory_order_relaxed)) {
        state.cancelled = true;
        xmlStopParser(static_cast<xmlParserCtxtPtr>(parserContext));
    }
}

// The parser's input callback: the next of the text from the reader.
int ReadText(void *context, char *buffer, int length)
{
    const TextReader &read = *static_cast<const TextReader *>(context);
    return static_cast<int>(read(buffer, static_cast<size_t>(std::max(length, 0))));
}

void FillHandler(xmlSAXHandler &sax)
{
    xmlSAXVersion(&sax, 2);
    sax.externalSubset = nullptr;
    sax.startElementNs = LookForCancel;
    sax.endElementNs = nullptr;
    sax.characters = nullptr;
    sax.ignorableWhitespace = nullptr;
    sax.cdataBlock = nullptr;
    sax.comment = nullptr;
    sax.processingInstruction = nullptr;
    sax.reference = nullptr;
    sax.serror = CaptureFormError;
}

} // namespace

std::optional<WellFormednessError> FirstWellFormednessError(std::string_view text, const std::atomic<bool> *cancel)
{
    if (text.size() > INT_MAX)
        return std::nullopt;
    const TextReader read = [&text](char *buffer, size_t length) {
        const size_t n = std::min(text.size(), length);
        if (n > 0)
            std::memcpy(buffer, text.data(), n);
        text.remove_prefix(n);
        return n;
    };
    return FirstWellFormednessError(read, cancel);
}

namespace {

// Runs the check; false when it was cancelled.
bool Check(const TextReader &read, const std::atomic<bool> *cancel, CheckState &state)
{
    InstallEntityLoader();
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt) {
        state.error.Set(XML_ERR_NO_MEMORY, 1, 1, "out of memory");
        if (state.list)
            state.list->Add({1, 1, "out of memory"});
        return true;
    }
    FillHandler(*ctxt->sax);
    state.cancel = cancel;
    ctxt->_private = &state;
    if (cancel && cancel->load(std::memory_order_relaxed))
        state.cancelled = true;
    else {
        LoaderPolicyScope policy(LoaderPolicy::Nothing);
        StructuredErrorScope quiet(&state.error);
        xmlDocPtr doc = xmlCtxtReadIO(ctxt, ReadText, nullptr, const_cast<TextReader *>(&read), nullptr, nullptr,
                                      XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_IGNORE_ENC);
        xmlFreeDoc(doc);
    }
    xmlFreeParserCtxt(ctxt);
    return !state.cancelled;
}

} // namespace

std::optional<WellFormednessError> FirstWellFormednessError(const TextReader &read, const std::atomic<bool> *cancel)
{
    CheckState state;
    if (!Check(read, cancel, state) || !state.error.HasError())
        return std::nullopt;
    return WellFormednessError{state.error.line, state.error.column, state.error.reason};
}

std::optional<ProblemList> WellFormednessProblems(const TextReader &read, const std::atomic<bool> *cancel,
                                                  size_t listed)
{
    ProblemList list(listed);
    CheckState state;
    state.list = &list;
    if (!Check(read, cancel, state))
        return std::nullopt;
    // The parse may fail without a word of its own (an empty text).
    if (state.error.HasError() && list.ErrorCount() == 0)
        list.Add({state.error.line, state.error.column, state.error.reason});
    return list;
}

} // namespace tarnwick::xml
