// Shared inner parts of the libxml2 vendor (not part of the layer's interface):
// the owner of one libxml2 tree, error capture, the entity-loader policy, and
// the parse, validation and serialisation steps.
#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xml/resource_reach.h"
#include "xml/verdict.h"

namespace tarnwick::xml::libxml2 {

class Libxml2Document;

// Owns one xmlDoc and every node created in it or removed from it that is not
// part of the tree. Nodes keep their holder alive, so a wrapper held after the
// document was reloaded or released never points into freed memory.
class DocHolder {
public:
    explicit DocHolder(xmlDocPtr doc) : doc_(doc) {}
    ~DocHolder();
    DocHolder(const DocHolder &) = delete;
    DocHolder &operator=(const DocHolder &) = delete;

    xmlDocPtr doc() const { return doc_; }
    // A node that is (or may become) outside the tree; freed at the end when
    // it still has no parent then.
    void TrackDetached(xmlNodePtr node) { detached_.push_back(node); }
    // A namespace not yet declared anywhere: the namespace of a node created
    // unattached, resolved against the scope when the node is inserted.
    xmlNsPtr NewFloatingNs(const char *href, const char *prefix);
    static bool IsFloating(xmlNsPtr ns);
    // A declaration taken off an element; kept because nodes may still point to it.
    void Retire(xmlNsPtr ns) { retired_.push_back(ns); }

    std::weak_ptr<Libxml2Document> owner;

private:
    xmlDocPtr doc_;
    std::vector<xmlNodePtr> detached_;
    std::vector<xmlNsPtr> floating_;
    std::vector<xmlNsPtr> retired_;
};

// The first error of an operation, captured by a structured error handler.
struct CapturedError {
    int code = 0;
    int line = 0;
    int column = 0;
    std::string reason;
    std::string file;
    std::string srcText;
    Verdict verdict = Verdict::NotWellFormed; // what a load that failed with it says of the document
    bool elsewhere = false;                   // in a file the document reads, not in the document
    bool HasError() const { return code != 0; }
    void Set(int c, int l, int col, std::string r, std::string f = "", std::string src = "");
};

// Structured error handler for parser contexts and the validators; keeps the
// first error of level "error" or worse in the CapturedError given as data.
void CaptureStructuredError(void *data, xmlErrorPtr error);
// Fills `sink` from `error`, whatever its level; with `quoteSource`, the
// document's line it was found in too.
void CaptureError(CapturedError &sink, xmlErrorPtr error, bool quoteSource);

// Reports an error of our own checks through the context's structured error
// handler, as libxml2 reports its own, placed where `at` stands.
void RaiseThroughContext(xmlParserCtxtPtr ctxt, xmlErrorDomain domain, int code, xmlErrorLevel level,
                         const char *message, xmlParserInputPtr at);

// Routes libxml2's process-wide structured errors to `sink` (or to
// `handler` with `context`) for its lifetime, and silences the generic ones
// (validators without a context of their own, and XPath, report there).
class StructuredErrorScope {
public:
    explicit StructuredErrorScope(CapturedError *sink);
    StructuredErrorScope(void *context, xmlStructuredErrorFunc handler);
    ~StructuredErrorScope();
    StructuredErrorScope(const StructuredErrorScope &) = delete;
    StructuredErrorScope &operator=(const StructuredErrorScope &) = delete;

private:
    xmlStructuredErrorFunc oldHandler_;
    void *oldContext_;
    xmlGenericErrorFunc oldGeneric_;
    void *oldGenericContext_;
};

// The last resource the entity loader refused, and why.
struct LoaderRefusal {
    std::string reference; // as a file wrote it; empty when it may not be quoted
    std::string reason;    // empty when nothing was refused
    std::string file;      // the file that named it, empty when unknown
    int line = 0;          // where the parser was, 0 when unknown
    int column = 0;
    bool outside = false; // refused for lying beyond the scope's folders
};

// Where a file holds a NUL character (which ends its text for the parser).
struct NulCharacter {
    std::string file; // empty for none
    int line = 1;
    int column = 1;
};

// What the external-entity loader may read: nothing; the document type's
// parts only (the external DTD and parameter entities, for the entities and
// defaults they declare); or every local file (validation, schemas, and
// documents whose external entities are to be resolved); or the schema
// documents only (a schema, its includes and imports, but nothing their
// document types name). Network schemes are refused always.
enum class LoaderPolicy { Nothing, DocumentType, LocalFiles, SchemaDocuments };

// The loader's policy while the scope lives; outside any scope it reads nothing.
// Files are read from `home` (the working folder when empty) and the folders
// the user allows (external_access.h), each with what lies below, or through
// the system catalog; `homeName` says what home is in a refusal.
class LoaderPolicyScope {
public:
    explicit LoaderPolicyScope(LoaderPolicy policy, const std::string &home = "",
                               const char *homeName = "the document's folder");
    ~LoaderPolicyScope();
    // What the loader last refused within the innermost scope.
    static LoaderRefusal LastRefusal();
    // True once a parameter entity was read within the innermost scope: the
    // DTD's declarations may then hold text of any file it named.
    static bool ReadParameterEntity();
    // The first NUL character in a file the loader read within the scope.
    static NulCharacter FirstNulCharacter();
    // The document's parser, for the scope's life: what an external entity's
    // own context asks for is judged by what the document and its DTD wrote.
    void ParsingDocument(xmlParserCtxtPtr ctxt);

private:
    LoaderPolicy previous_;
    ResourceReach previousReach_;
    const char *previousHomeName_;
    xmlParserCtxtPtr previousParser_;
};

// How a message names a file the loader read within the innermost scope:
// quoted when the identifier it was read by may be quoted, else as "a file the
// document reads" (a name built from another file's text names nothing the
// user wrote).
std::string NameInMessages(const std::string &file);

// Fills `error` for a grammar the document names at `location` (read from
// `path`, at line `line`) that was not loaded because it, or a file it
// names, lies outside the reach: "<identifier> is outside the document's
// folder", not checked. Returns false.
bool NotLoadedFromOutside(const std::string &location, const std::string &path, const LoaderRefusal &refused, int line,
                          CapturedError &error);

// Installs the loader once for the process.
void InstallEntityLoader();

// True when the reference names a scheme other than file: (http:, ftp:, ...).
bool IsNetworkReference(const std::string &reference);
// The local path a reference names, relative ones taken against baseDirectory
// (the working folder when that is empty).
std::string ResolveLocalReference(const std::string &reference, const std::string &baseDirectory);

struct ParseRequest {
    std::string_view bytes;
    bool ignoreDeclaredEncoding = false; // the bytes are UTF-8 whatever the declaration says
    std::string url;                     // the document's location, if any
    std::string baseDirectory;           // for relative DTD and schema references
    bool preserveWhiteSpace = false;
    bool resolveExternals = false;
    bool validate = false;
    // The content goes to the callbacks prepareContext installs instead of
    // into a tree (Format), and UTF-8 text is read without a conversion pass.
    bool streamed = false;
    // Called with the parser context before the parse.
    std::function<void(xmlParserCtxtPtr)> prepareContext;
    // When set, the document is read through it instead of from `bytes`: up
    // to `length` next bytes into `buffer`; returns how many, 0 at the end,
    // -1 when reading failed.
    std::function<int(char *buffer, int length)> read;
};

// Parses (and validates when asked). Returns null and fills `error` on failure.
// On success the tree holds the declaration as a processing instruction "xml"
// when the text began with one.
xmlDocPtr ParseDocument(const ParseRequest &request, CapturedError &error);

// Validates against the schema the document names (its DTD is checked while
// it is parsed); a document naming none is valid. Fills `error` and returns
// false when not valid or when the schema cannot be read.
bool ValidateAgainstSchema(xmlDocPtr doc, const std::string &baseDirectory, CapturedError &error);

// The text of the declaration that opens UTF-8 bytes ("version=..."), empty
// when there is none.
std::string RawDeclarationText(std::string_view bytes);
// The declaration processing instruction (the document's first child named
// "xml"), or null.
xmlNodePtr DeclarationPI(xmlDocPtr doc);
// The encoding the document is written in: its declaration's, else UTF-8.
std::string OutputEncoding(xmlDocPtr doc);
// Serialises the whole document (declaration from its "xml" node) in the
// given encoding. Raises EXMLLayerError when the encoding is unknown.
std::string SerialiseDocument(xmlDocPtr doc, const std::string &encoding);
// UTF-8 text converted as SerialiseDocument converts a document (see
// EncodeFromUtf8 in transcode.h).
std::string EncodeText(std::string_view text, const std::string &encoding);
// Serialises one node as UTF-8.
std::string SerialiseNode(xmlDocPtr doc, xmlNodePtr node);
// Appends `first` and the siblings after it to `out` as SerialiseDocument
// writes them in UTF-8 inside their document.
void AppendSiblingsInUtf8(xmlDocPtr doc, xmlNodePtr first, std::string &out);

// Removes every whitespace-only text node of the tree.
void StripWhitespaceText(xmlNodePtr root);

// Line `line` (1-based) of UTF-8 text, cut to a readable window around `column`.
std::string LineText(std::string_view text, int line, int column);

} // namespace tarnwick::xml::libxml2
