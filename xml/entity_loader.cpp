// The one door through which libxml2 reads anything but the document itself:
// a process-wide external-entity loader that refuses network schemes and reads
// local files only as far as the LoaderPolicyScope in force allows, from the
// scope's folders or through the system catalog.
#include <libxml/entities.h>
#include <libxml/hash.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "xml/libxml2_internal.h"
#include "xml/resource_reach.h"

namespace tarnwick::xml::libxml2 {

namespace {

using namespace std::string_view_literals;

thread_local LoaderPolicy tPolicy = LoaderPolicy::Nothing;
thread_local LoaderRefusal tLastRefusal;
// Files read whose identifier may be named in a message (see Quotable).
thread_local std::set<std::string> tQuotableFiles;
thread_local std::set<std::string> tOpenedFiles;
thread_local bool tReadParameterEntity = false;
thread_local ResourceReach tReach;
thread_local NulCharacter tNulCharacter;
// The document's own parser, while it parses: an external entity's text is
// read through a context of its own that knows nothing of the document.
thread_local xmlParserCtxtPtr tDocumentParser = nullptr;
thread_local const char *tHomeName = "the document's folder";

// The identifiers declared for `url`, as their declarations wrote them.
struct WrittenIdentifiers {
    const char *url;
    std::vector<std::string> found;
};

void CollectIdentifier(void *payload, void *data, const xmlChar *)
{
    const auto *entity = static_cast<xmlEntityPtr>(payload);
    auto *written = static_cast<WrittenIdentifiers *>(data);
    if (entity && entity->SystemID && entity->URI &&
        std::strcmp(reinterpret_cast<const char *>(entity->URI), written->url) == 0)
        written->found.emplace_back(reinterpret_cast<const char *>(entity->SystemID));
}

bool AppearsIn(xmlParserInputPtr input, const std::string &text)
{
    if (input == nullptr || input->base == nullptr || input->end <= input->base || text.empty())
        return false;
    return ::memmem(input->base, static_cast<size_t>(input->end - input->base), text.data(), text.size()) != nullptr;
}

// The context whose inputs tell where a request comes from: the document's
// parser when an entity's own context asks before it has read anything.
xmlParserCtxtPtr Asking(xmlParserCtxtPtr ctxt)
{
    if ((ctxt == nullptr || ctxt->inputNr == 0) && tDocumentParser != nullptr)
        return tDocumentParser;
    return ctxt;
}

// An identifier may be named in a message only as some file wrote it: a
// system identifier built by expanding a parameter entity (whose text may
// come from any file on the machine) appears in no file read as such, only
// in an entity's replacement text. So the identifier must stand verbatim in
// the document's doctype or in a file the parser is reading. Gives it as it
// was written there, nothing when it may not be quoted.
std::optional<std::string> WrittenForm(const std::string &url, xmlParserCtxtPtr ctxt, bool externalSubset)
{
    ctxt = Asking(ctxt);
    if (ctxt == nullptr || ctxt->inputNr == 0)
        return url; // a file the program itself was asked to read
    WrittenIdentifiers written{url.c_str(), {}};
    if (ctxt->extSubURI && externalSubset)
        written.found.emplace_back(reinterpret_cast<const char *>(ctxt->extSubURI));
    if (xmlDocPtr doc = ctxt->myDoc) {
        for (xmlDtdPtr dtd : {doc->intSubset, doc->extSubset}) {
            if (dtd == nullptr)
                continue;
            if (dtd->entities)
                xmlHashScan(static_cast<xmlHashTablePtr>(dtd->entities), CollectIdentifier, &written);
            if (dtd->pentities)
                xmlHashScan(static_cast<xmlHashTablePtr>(dtd->pentities), CollectIdentifier, &written);
        }
    }
    written.found.push_back(url);
    for (const std::string &identifier : written.found)
        for (int i = 0; i < ctxt->inputNr; ++i) {
            xmlParserInputPtr input = ctxt->inputTab[i];
            // Inputs without a buffer are entities' replacement texts.
            if (input && input->buf && AppearsIn(input, identifier))
                return identifier;
        }
    return std::nullopt;
}

// True while the parser asks for the external subset the doctype names,
// rather than for a parameter entity: it asks from the document's own input,
// which the loader did not open.
bool LoadingExternalSubset(xmlParserCtxtPtr ctxt)
{
    if (ctxt == nullptr || ctxt->inSubset != 2 || ctxt->inputNr != 1 || ctxt->input == nullptr)
        return false;
    return ctxt->input->filename == nullptr || tOpenedFiles.count(ctxt->input->filename) == 0;
}

xmlParserInputPtr Refuse(const std::string &reference, const std::string &reason, xmlParserCtxtPtr ctxt,
                         bool quotable = true, bool outside = false)
{
    tLastRefusal.reference = quotable ? reference : "";
    tLastRefusal.reason = reason;
    tLastRefusal.outside = outside;
    ctxt = Asking(ctxt);
    tLastRefusal.line = ctxt && ctxt->input ? ctxt->input->line : 0;
    tLastRefusal.column = ctxt && ctxt->input ? ctxt->input->col : 0;
    const char *file = nullptr;
    for (int i = ctxt ? ctxt->inputNr - 1 : -1; i >= 0 && file == nullptr; --i)
        file = ctxt->inputTab[i] ? ctxt->inputTab[i]->filename : nullptr;
    tLastRefusal.file = file ? file : "";
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

std::string NotAFile(const struct stat &st)
{
    if (S_ISDIR(st.st_mode))
        return "is a folder";
    if (S_ISFIFO(st.st_mode))
        return "is a named pipe, not a file";
    if (S_ISSOCK(st.st_mode))
        return "is a socket, not a file";
    return "is a device, not a file";
}

// The kernel's files look regular but are not documents: some never end or
// wait for ever (/proc/kmsg), and all tell about the machine.
bool IsSystemFile(const std::string &path)
{
    std::error_code ec;
    const std::string real = std::filesystem::canonical(path, ec).string();
    for (const char *root : {"/proc", "/sys", "/dev"}) {
        const size_t n = std::strlen(root);
        if (!ec && real.compare(0, n, root) == 0 && (real.size() == n || real[n] == '/'))
            return true;
    }
    return false;
}

// The first NUL character of a file read in a one-byte form or UTF-8: the
// parser takes it for the end of the file's text and reads no further, so
// the text after it, or all of it, would be lost without a word. Files in
// UTF-16 or UTF-32 (by their mark or first characters) hold NUL bytes.
NulCharacter FindNulCharacter(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::string chunk(1 << 16, '\0');
    NulCharacter found;
    found.file = path;
    size_t lineStart = 0, at = 0;
    bool first = true;
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::string_view read(chunk.data(), static_cast<size_t>(in.gcount()));
        if (first) {
            first = false;
            const std::string_view head = read.substr(0, 4);
            for (std::string_view wide : {"\xFE\xFF"sv, "\xFF\xFE"sv, "\0\0\0<"sv, "<\0\0\0"sv, "\0\0<\0"sv,
                                          "\0<\0\0"sv, "\0<\0?"sv, "<\0?\0"sv, "\0\0\xFE\xFF"sv})
                if (head.starts_with(wide))
                    return {};
        }
        for (size_t i = 0; i < read.size(); ++i, ++at) {
            if (read[i] == '\n') {
                ++found.line;
                lineStart = at + 1;
            } else if (read[i] == '\0') {
                found.column = static_cast<int>(at - lineStart) + 1;
                return found;
            }
        }
    }
    return {};
}

xmlParserInputPtr SafeEntityLoader(const char *url, const char *id, xmlParserCtxtPtr ctxt)
{
    std::string reference(url ? url : "");
    // Outside the document type declaration the parser asks only for the
    // content of external general entities.
    const bool forDocumentType = ctxt != nullptr && ctxt->inSubset != 0;
    const bool externalSubset = forDocumentType && LoadingExternalSubset(ctxt);
    const std::optional<std::string> written =
        url ? WrittenForm(reference, ctxt, externalSubset) : std::optional<std::string>(id ? id : "");
    const bool quotable = written.has_value();
    // A schema's own document type would let it build names and values
    // from any file, which its error messages then quote; only the schema
    // documents themselves (the first, includes, imports) are read.
    const bool forSchemaDocument = ctxt == nullptr || ctxt->inputNr == 0;
    const bool refused = tPolicy == LoaderPolicy::Nothing ||
                         (tPolicy == LoaderPolicy::DocumentType && !forDocumentType) ||
                         (tPolicy == LoaderPolicy::SchemaDocuments && !forSchemaDocument);
    // The system catalog maps well-known identifiers to files installed for
    // them, wherever those are.
    const std::string fromCatalog = refused ? "" : FromSystemCatalog(id, url);
    if (fromCatalog.empty()) {
        if (url == nullptr)
            return Refuse(id ? id : "", "it has no system identifier", ctxt);
        if (IsNetworkReference(reference))
            return Refuse(reference, "network access is disabled", ctxt, quotable);
    }
    if (refused)
        return Refuse(reference, "external resources are not resolved", ctxt, quotable);
    const std::string path = fromCatalog.empty() ? ResolveLocalReference(reference, "") : fromCatalog;
    // Nothing beyond the reach is opened or even looked at, so no message
    // tells whether it exists.
    if (fromCatalog.empty() && !tReach.Contains(path))
        return Refuse(quotable ? *written : "", std::string("is outside ") + tHomeName, ctxt, quotable, true);
    // The parser hands over references it has made absolute already.
    const std::string file = !quotable || path == reference ? "file" : "file " + path;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return Refuse(reference, file + (errno == ELOOP ? " is a loop of symbolic links" : " not found"), ctxt,
                      quotable);
    if (!S_ISREG(st.st_mode))
        return Refuse(reference, file + " " + NotAFile(st), ctxt, quotable);
    if (IsSystemFile(path))
        return Refuse(reference, file + " is a system file (under /proc, /sys or /dev), not a document's", ctxt,
                      quotable);
    if (forDocumentType && !externalSubset)
        tReadParameterEntity = true;
    xmlParserInputPtr input = xmlNewInputFromFile(ctxt, path.c_str());
    if (input == nullptr)
        return Refuse(reference, file + " cannot be read", ctxt, quotable);
    if (tNulCharacter.file.empty())
        tNulCharacter = FindNulCharacter(path);
    // What a file from the catalog names beside it belongs to it.
    if (!fromCatalog.empty())
        tReach.Add(std::filesystem::path(std::filesystem::canonical(path)).parent_path().string());
    if (input->filename) {
        tOpenedFiles.insert(input->filename);
        if (quotable)
            tQuotableFiles.insert(input->filename);
    }
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

LoaderPolicyScope::LoaderPolicyScope(LoaderPolicy policy, const std::string &home, const char *homeName)
    : previous_(tPolicy), previousReach_(std::move(tReach)), previousHomeName_(tHomeName),
      previousParser_(tDocumentParser)
{
    tDocumentParser = nullptr;
    tPolicy = policy;
    tReach = policy == LoaderPolicy::Nothing ? ResourceReach() : ResourceReach(home);
    tHomeName = homeName;
    tLastRefusal = LoaderRefusal();
    tQuotableFiles.clear();
    tOpenedFiles.clear();
    tReadParameterEntity = false;
    tNulCharacter = NulCharacter();
}

LoaderPolicyScope::~LoaderPolicyScope()
{
    tPolicy = previous_;
    tReach = std::move(previousReach_);
    tHomeName = previousHomeName_;
    tDocumentParser = previousParser_;
}

void LoaderPolicyScope::ParsingDocument(xmlParserCtxtPtr ctxt) { tDocumentParser = ctxt; }

LoaderRefusal LoaderPolicyScope::LastRefusal() { return tLastRefusal; }

bool LoaderPolicyScope::ReadParameterEntity() { return tReadParameterEntity; }

NulCharacter LoaderPolicyScope::FirstNulCharacter() { return tNulCharacter; }

std::string NameInMessages(const std::string &file)
{
    return tQuotableFiles.count(file) != 0 ? "\"" + file + "\"" : "a file the document reads";
}

bool NotLoadedFromOutside(const std::string &location, const std::string &path, const LoaderRefusal &refused, int line,
                          CapturedError &error)
{
    // The grammar itself as the document wrote it, or a file it includes.
    const std::string identifier =
        refused.reference.empty() || refused.reference == path ? location : refused.reference;
    error.Set(XML_IO_LOAD_ERROR, line, 1, identifier + " " + refused.reason);
    error.verdict = Verdict::NotChecked;
    return false;
}

void InstallEntityLoader()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(SafeEntityLoader);
    });
}

} // namespace tarnwick::xml::libxml2
