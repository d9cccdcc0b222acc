// The one door through which libxml2 reads anything but the document itself:
// a process-wide external-entity loader that refuses network schemes and reads
// local files only as far as the LoaderPolicyScope in force allows.
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <mutex>

#include "xml/libxml2_internal.h"

namespace tarnwick::xml::libxml2 {

namespace {

thread_local LoaderPolicy tPolicy = LoaderPolicy::Nothing;
thread_local LoaderRefusal tLastRefusal;

xmlParserInputPtr Refuse(const std::string &reference, const std::string &reason, xmlParserCtxtPtr ctxt)
{
    tLastRefusal.reference = reference;
    tLastRefusal.reason = reason;
    tLastRefusal.line = ctxt && ctxt->input ? ctxt->input->line : 0;
    tLastRefusal.column = ctxt && ctxt->input ? ctxt->input->col : 0;
    return nullptr;
}

std::string Scheme(const std::string &reference)
{
    size_t colon = reference.find(':');
    if (colon == std::string::npos || colon < 2)
        return ""; // none, or too short to be a scheme
    for (size_t i = 0; i < colon; ++i) {
        unsigned char c = static_cast<unsigned char>(reference[i]);
        if (!(std::isalnum(c) || c == '+' || c == '-' || c == '.'))
            return "";
    }
    std::string scheme = reference.substr(0, colon);
    for (char &c : scheme)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return scheme;
}

std::string PercentDecode(const std::string &s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

xmlParserInputPtr SafeEntityLoader(const char *url, const char *id, xmlParserCtxtPtr ctxt)
{
    if (url == nullptr)
        return Refuse(id ? id : "", "it has no system identifier", ctxt);
    std::string reference(url);
    if (IsNetworkReference(reference))
        return Refuse(reference, "network access is disabled", ctxt);
    // Outside the document type declaration the parser asks only for the
    // content of external general entities.
    const bool forDocumentType = ctxt != nullptr && ctxt->inSubset != 0;
    if (tPolicy == LoaderPolicy::Nothing || (tPolicy == LoaderPolicy::DocumentType && !forDocumentType))
        return Refuse(reference, "external resources are not resolved", ctxt);
    std::string path = ResolveLocalReference(reference, "");
    // The parser hands over references it has made absolute already.
    const std::string file = path == reference ? "file" : "file " + path;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return Refuse(reference, file + " not found", ctxt);
    xmlParserInputPtr input = xmlNewInputFromFile(ctxt, path.c_str());
    if (input == nullptr)
        return Refuse(reference, file + " cannot be read", ctxt);
    return input;
}

} // namespace

bool IsNetworkReference(const std::string &reference)
{
    std::string scheme = Scheme(reference);
    return !scheme.empty() && scheme != "file";
}

std::string ResolveLocalReference(const std::string &reference, const std::string &baseDirectory)
{
    std::string path = reference;
    if (Scheme(path) == "file") {
        path = PercentDecode(path.substr(5));
        // file:///x and file://localhost/x name /x
        if (path.rfind("//", 0) == 0) {
            size_t slash = path.find('/', 2);
            path = slash == std::string::npos ? "/" : path.substr(slash);
        }
    }
    std::filesystem::path p(path);
    if (p.is_relative()) {
        std::filesystem::path base =
            baseDirectory.empty() ? std::filesystem::current_path() : std::filesystem::path(baseDirectory);
        p = base / p;
    }
    return p.lexically_normal().string();
}

LoaderPolicyScope::LoaderPolicyScope(LoaderPolicy policy) : previous_(tPolicy)
{
    tPolicy = policy;
    tLastRefusal = LoaderRefusal();
}

LoaderPolicyScope::~LoaderPolicyScope() { tPolicy = previous_; }

LoaderRefusal LoaderPolicyScope::LastRefusal() { return tLastRefusal; }

void InstallEntityLoader()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(SafeEntityLoader);
    });
}

} // namespace tarnwick::xml::libxml2
