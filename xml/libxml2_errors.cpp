// Capture of libxml2's structured errors: the first error of an operation.
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cstring>

#include "xml/libxml2_internal.h"

namespace tarnwick::xml::libxml2 {

namespace {

void IgnoreGenericError(void *, const char *, ...) {}

std::string TrimMessage(const char *message)
{
    std::string s = message ? message : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
        s.pop_back();
    return s;
}

// The parser's limits stay on; its messages about them name an option the
// user cannot set, so they are said in the document's terms.
std::string ExplainLimit(std::string reason)
{
    struct Rewrite {
        const char *contains;
        const char *text;
    };
    static const Rewrite kRewrites[] = {
        {"Excessive depth in document", "Elements are nested more than 256 levels deep"},
        {"Huge input lookup", "A text or markup run is longer than the parser's limit (10 MB)"},
        {"huge text node", "A text node is longer than the parser's limit (10 MB)"},
        {"AttValue length too long", "An attribute value is longer than the parser's limit (10 MB)"},
        {"Name too long", "A name is longer than the parser's limit"},
    };
    for (const Rewrite &r : kRewrites)
        if (reason.find(r.contains) != std::string::npos)
            return r.text;
    return reason;
}

// The current line of the parser input, where the error was found; none
// when the parser is reading another file (the DTD, an entity), whose text a
// message must not quote.
std::string CurrentLine(xmlParserCtxtPtr ctxt, int column)
{
    if (ctxt == nullptr || ctxt->input == nullptr || ctxt->input->base == nullptr || ctxt->inputNr != 1 ||
        ctxt->inSubset == 2)
        return "";
    xmlParserInputPtr in = ctxt->input;
    const char *base = reinterpret_cast<const char *>(in->base);
    const char *end = reinterpret_cast<const char *>(in->end);
    const char *cur = reinterpret_cast<const char *>(in->cur);
    if (cur > end)
        cur = end;
    if (cur < base)
        cur = base;
    const char *start = cur;
    // The parser may have stopped just past the line's end.
    if (start > base && start[-1] == '\n' && (start == end || *start == '\n'))
        --start;
    if (start < end && *start == '\n' && start > base)
        --start;
    // memrchr and memchr: the line may be a whole document of many megabytes.
    if (const void *before = start > base ? ::memrchr(base, '\n', static_cast<size_t>(start - base)) : nullptr)
        start = static_cast<const char *>(before) + 1;
    else
        start = base;
    const void *after = ::memchr(start, '\n', static_cast<size_t>(end - start));
    const char *stop = after ? static_cast<const char *>(after) : end;
    return LineText(std::string_view(start, static_cast<size_t>(stop - start)), 1, column);
}

} // namespace

void RaiseThroughContext(xmlParserCtxtPtr ctxt, xmlErrorDomain domain, int code, xmlErrorLevel level,
                         const char *message, xmlParserInputPtr at)
{
    std::string text = message;
    xmlError error{};
    error.domain = domain;
    error.code = code;
    error.level = level;
    error.message = text.data();
    error.line = at ? at->line : 0;
    error.int2 = at ? at->col : 0;
    error.file = at ? const_cast<char *>(at->filename) : nullptr;
    if (ctxt->sax && ctxt->sax->initialized == XML_SAX2_MAGIC && ctxt->sax->serror)
        ctxt->sax->serror(ctxt->userData, &error);
}

void CapturedError::Set(int c, int l, int col, std::string r, std::string f, std::string src)
{
    code = c == 0 ? 1 : c;
    line = std::max(l, 1);
    column = std::max(col, 1);
    // The message is three lines: the reason must stay on one.
    for (char &ch : r)
        if (ch == '\n' || ch == '\r')
            ch = ' ';
    // Some reasons list a whole content model; an error box needs the start.
    const size_t kMaxReason = 300;
    if (r.size() > kMaxReason) {
        size_t cut = kMaxReason;
        while (cut > 0 && (static_cast<unsigned char>(r[cut]) & 0xC0) == 0x80)
            --cut;
        r = r.substr(0, cut) + "...";
    }
    reason = std::move(r);
    file = std::move(f);
    srcText = std::move(src);
}

void CaptureError(CapturedError &sink, xmlErrorPtr error, bool quoteSource)
{
    std::string src;
    if (quoteSource && (error->domain == XML_FROM_PARSER || error->domain == XML_FROM_NAMESPACE ||
                        error->domain == XML_FROM_DTD || error->domain == XML_FROM_IO))
        src = CurrentLine(static_cast<xmlParserCtxtPtr>(error->ctxt), error->int2);
    sink.Set(error->code, error->line, error->int2, ExplainLimit(TrimMessage(error->message)),
             error->file ? error->file : "", src);
}

void CaptureStructuredError(void *data, xmlErrorPtr error)
{
    auto *sink = static_cast<CapturedError *>(data);
    if (sink == nullptr || error == nullptr || error->level < XML_ERR_ERROR || sink->HasError())
        return;
    CaptureError(*sink, error, true);
}

StructuredErrorScope::StructuredErrorScope(CapturedError *sink) : StructuredErrorScope(sink, CaptureStructuredError) {}

StructuredErrorScope::StructuredErrorScope(void *context, xmlStructuredErrorFunc handler)
    : oldHandler_(xmlStructuredError), oldContext_(xmlStructuredErrorContext), oldGeneric_(xmlGenericError),
      oldGenericContext_(xmlGenericErrorContext)
{
    xmlSetStructuredErrorFunc(context, handler);
    xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
}

StructuredErrorScope::~StructuredErrorScope()
{
    xmlSetStructuredErrorFunc(oldContext_, oldHandler_);
    xmlSetGenericErrorFunc(oldGenericContext_, oldGeneric_);
}

std::string LineText(std::string_view text, int line, int column)
{
    size_t start = 0;
    for (int i = 1; i < line && start != std::string_view::npos; ++i) {
        start = text.find('\n', start);
        if (start != std::string_view::npos)
            ++start;
    }
    if (start == std::string_view::npos || start > text.size())
        return "";
    size_t stop = text.find('\n', start);
    if (stop == std::string_view::npos)
        stop = text.size();
    std::string_view s = text.substr(start, stop - start);
    if (!s.empty() && s.back() == '\r')
        s.remove_suffix(1);
    // A very long line (a document on one line) is cut to a window around the column.
    const size_t kMax = 400;
    if (s.size() > kMax) {
        size_t from = column > 100 ? std::min(static_cast<size_t>(column) - 100, s.size() - kMax) : 0;
        while (from > 0 && (static_cast<unsigned char>(s[from]) & 0xC0) == 0x80)
            --from;
        size_t len = kMax;
        while (from + len < s.size() && (static_cast<unsigned char>(s[from + len]) & 0xC0) == 0x80)
            --len;
        s = s.substr(from, len);
    }
    return std::string(s);
}

} // namespace tarnwick::xml::libxml2
