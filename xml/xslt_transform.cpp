#include "xml/xslt_transform.h"

#include "xml/file_read.h"
#include "xml/libxml2_dom.h"
#include "xml/libxml2_internal.h"
#include "xml/model_grammar.h"
#include "xml/tool_parse.h"
#include "xml/transcode.h"
#include "xml/xml_errors.h"

#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

namespace tarnwick::xml {

namespace {

using namespace libxml2;

// libxslt reports through process-wide handlers: one transform at a time.
std::mutex transforming;

// What libxslt says, as it says it: a line naming the file and line of the
// element at fault ("runtime error: file F line N element E"), then the
// message; xsl:message alone.
struct Log {
    std::string text;
    static void Write(void *log, const char *format, ...)
    {
        char buffer[2048];
        va_list args;
        va_start(args, format);
        const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
        va_end(args);
        if (n > 0)
            static_cast<Log *>(log)->text.append(buffer, std::min<size_t>(n, sizeof buffer - 1));
    }
    std::vector<StylesheetMessage> Messages() const
    {
        std::vector<StylesheetMessage> messages;
        StylesheetMessage place;
        bool placed = false;
        size_t from = 0;
        while (from < text.size()) {
            const size_t end = std::min(text.find('\n', from), text.size());
            const std::string line = text.substr(from, end - from);
            from = end + 1;
            const size_t file = line.find(": file ");
            const size_t at = line.rfind(" line ");
            if (file != std::string::npos && at != std::string::npos && at > file &&
                (line.starts_with("runtime error") || line.starts_with("compilation error") ||
                 line.starts_with("compilation warning"))) {
                place.file = line.substr(file + 7, at - file - 7);
                place.line = std::atoi(line.c_str() + at + 6);
                place.warning = line.find("warning") != std::string::npos;
                placed = true;
                continue;
            }
            if (line.empty())
                continue;
            StylesheetMessage message = placed ? place : StylesheetMessage{};
            message.message = line;
            messages.push_back(std::move(message));
            placed = false;
        }
        return messages;
    }
};

// The handlers of libxslt (and of libxml2, for the documents it reads)
// write to the log while the scope lives.
class LogScope {
public:
    explicit LogScope(Log &log) : errors_(&log, StructuredToLog) { xsltSetGenericErrorFunc(&log, Log::Write); }
    ~LogScope() { xsltSetGenericErrorFunc(nullptr, nullptr); }

private:
    static void StructuredToLog(void *log, xmlErrorPtr error)
    {
        if (error == nullptr || error->level < XML_ERR_ERROR)
            return;
        CapturedError captured;
        CaptureError(captured, error, false);
        Log::Write(log, "%s\n", captured.reason.c_str());
    }
    StructuredErrorScope errors_;
};

[[noreturn]] void Fail(const std::string &what, const Log &log)
{
    std::vector<StylesheetMessage> messages = log.Messages();
    std::string text = what;
    if (!messages.empty()) {
        const StylesheetMessage &first = messages.front();
        text += ": " + first.message;
        if (first.line > 0)
            text += " (" + std::filesystem::path(first.file).filename().string() + ", line " +
                    std::to_string(first.line) + ")";
    }
    throw ETransformError(text, std::move(messages));
}

std::string Str(const xmlChar *s) { return s ? reinterpret_cast<const char *>(s) : ""; }

// Stops the transform from another thread when `cancel` turns true.
class Watchdog {
public:
    Watchdog(xsltTransformContextPtr ctxt, const std::atomic<bool> *cancel) : cancel_(cancel)
    {
        if (cancel_)
            thread_ = std::thread([this, ctxt] {
                while (!done_.load()) {
                    if (cancel_->load()) {
                        // What libxslt itself sets to stop; the transform
                        // looks at it between instructions.
                        std::atomic_ref<xsltTransformState>(ctxt->state).store(XSLT_STATE_STOPPED);
                        return;
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            });
    }
    ~Watchdog()
    {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
    }

private:
    const std::atomic<bool> *cancel_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

} // namespace

std::string NamedStylesheet(std::string_view text)
{
    // Only the prolog is read: the instructions, comments and document type
    // before the root element.
    size_t at = 0;
    while ((at = text.find('<', at)) != std::string_view::npos) {
        const std::string_view rest = text.substr(at);
        if (rest.starts_with("<?")) {
            const size_t end = text.find("?>", at);
            if (end == std::string_view::npos)
                break;
            const std::string body(text.substr(at + 2, end - at - 2));
            at = end + 2;
            if (!body.starts_with("xml-stylesheet"))
                continue;
            const std::string type = libxml2::PseudoAttribute(body, "type");
            if (type.find("xsl") != std::string::npos || type.ends_with("/xml"))
                return libxml2::PseudoAttribute(body, "href");
        } else if (rest.starts_with("<!--")) {
            const size_t end = text.find("-->", at);
            if (end == std::string_view::npos)
                break;
            at = end + 3;
        } else if (rest.starts_with("<!")) {
            at += 2;
        } else {
            break;
        }
    }
    return "";
}

TransformResult TransformText(std::string_view text, const std::string &stylesheet, const std::string &baseDirectory,
                              const std::atomic<bool> *cancel)
{
    const DocPtr doc = ParseForTools(text, baseDirectory);
    std::string named = stylesheet;
    if (named.empty()) {
        named = NamedStylesheet(text);
        if (named.empty())
            throw ETransformError("The document names no stylesheet (<?xml-stylesheet href=\"...\"?>)", {});
        if (!IsNetworkReference(named))
            named = ResolveLocalReference(named, baseDirectory);
    }
    if (IsNetworkReference(named))
        throw ETransformError("The stylesheet \"" + named + "\" is not read: network access is disabled", {});

    std::lock_guard<std::mutex> one(transforming);
    Log log;
    LogScope logging(log);
    TransformResult result;
    result.stylesheet = named;
    std::unique_ptr<xsltStylesheet, void (*)(xsltStylesheetPtr)> style(nullptr, xsltFreeStylesheet);
    {
        // The stylesheet, and its includes and imports from its own folder.
        std::error_code ec;
        const std::filesystem::path real = std::filesystem::canonical(named, ec);
        LoaderPolicyScope policy(LoaderPolicy::LocalFiles, (ec ? std::filesystem::path(named) : real).parent_path(),
                                 "the stylesheet's folder");
        style.reset(xsltParseStylesheetFile(reinterpret_cast<const xmlChar *>(named.c_str())));
        if (!style) {
            const std::string why = LoaderPolicyScope::LastRefusal().reason;
            Fail("The stylesheet \"" + named + "\" cannot be used" + (why.empty() ? "" : " (" + why + ")"), log);
        }
    }

    std::unique_ptr<xsltSecurityPrefs, void (*)(xsltSecurityPrefsPtr)> security(xsltNewSecurityPrefs(),
                                                                                xsltFreeSecurityPrefs);
    for (xsltSecurityOption option : {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
                                      XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK})
        xsltSetSecurityPrefs(security.get(), option, xsltSecurityForbid);
    std::unique_ptr<xsltTransformContext, void (*)(xsltTransformContextPtr)> context(
        xsltNewTransformContext(style.get(), doc.get()), xsltFreeTransformContext);
    if (!context)
        Fail("The transform could not start", log);
    xsltSetCtxtSecurityPrefs(security.get(), context.get());
    xsltSetTransformErrorFunc(context.get(), &log, Log::Write);
    context->maxTemplateDepth = kMaxTemplateDepth;
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> output(nullptr, xmlFreeDoc);
    {
        LoaderPolicyScope nothing(LoaderPolicy::Nothing);
        Watchdog watchdog(context.get(), cancel);
        output.reset(xsltApplyStylesheetUser(style.get(), doc.get(), nullptr, nullptr, nullptr, context.get()));
    }
    if (cancel && cancel->load())
        throw ETransformError("The transform was stopped", log.Messages());
    if (!output || context->state != XSLT_STATE_OK)
        Fail("The transform failed", log);
    xmlChar *bytes = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&bytes, &length, output.get(), style.get()) < 0)
        Fail("The result could not be written", log);
    result.bytes.assign(reinterpret_cast<const char *>(bytes), bytes ? static_cast<size_t>(length) : 0);
    xmlFree(bytes);
    result.method = style->method ? Str(style->method) : output->type == XML_HTML_DOCUMENT_NODE ? "html" : "xml";
    result.messages = log.Messages();
    return result;
}

TransformResult TransformFile(const std::string &path, const std::string &stylesheet)
{
    const ToolFile file = ReadToolFile(path);
    return TransformText(file.text, stylesheet, file.folder);
}

} // namespace tarnwick::xml
