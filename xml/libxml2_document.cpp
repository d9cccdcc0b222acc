// The libxml2 vendor's document: node creation, loading from files, streams
// and strings, saving and serialising.
#include <filesystem>
#include <istream>
#include <iterator>
#include <ostream>

#include "xml/byte_form.h"
#include "xml/file_read.h"
#include "xml/file_save.h"
#include "xml/libxml2_dom.h"
#include "xml/libxml2_text_limit.h"
#include "xml/libxml2_vendor.h"
#include "xml/transcode.h"
#include "xml/verdict.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml::libxml2 {

namespace {

const xmlChar *X(const std::string &s) { return reinterpret_cast<const xmlChar *>(s.c_str()); }

[[noreturn]] void NotSupported(const char *method) { RaiseNotSupported(method, kLibxml2VendorName); }

class ParseError : public IDOMParseError, public IDOMVerdict {
public:
    ParseError() = default;
    explicit ParseError(const CapturedError &e) : error_(e) {}
    int errorCode() override { return error_.code; }
    std::string url() override { return error_.file; }
    std::string reason() override { return error_.reason; }
    std::string srcText() override { return error_.srcText; }
    int line() override { return error_.line; }
    int linepos() override { return error_.column; }
    int filepos() override { return 0; }
    Verdict verdict() override { return error_.HasError() ? error_.verdict : Verdict::Valid; }
    bool inAnotherFile() override { return error_.elsewhere; }

private:
    CapturedError error_;
};

void SplitQName(const std::string &qname, std::string &prefix, std::string &local)
{
    size_t colon = qname.find(':');
    if (colon == std::string::npos) {
        prefix.clear();
        local = qname;
    } else {
        prefix = qname.substr(0, colon);
        local = qname.substr(colon + 1);
    }
}

// An empty document with a dictionary, as parsed documents have: names and
// indentation texts are then stored once.
xmlDocPtr NewEmptyDocument()
{
    xmlDocPtr doc = xmlNewDoc(BAD_CAST "1.0");
    if (doc)
        doc->dict = xmlDictCreate();
    return doc;
}

// The DOM refuses to create nodes whose names are not XML names.
void CheckName(const std::string &name, bool qualified)
{
    bool valid = !name.empty() && (qualified ? xmlValidateQName(X(name), 0) == 0 : xmlValidateName(X(name), 0) == 0);
    if (!valid)
        throw DOMException("\"" + name + "\" is not a valid XML name");
}

std::string WorkingFolderUrl(const std::string &directory)
{
    std::filesystem::path p = directory.empty() ? std::filesystem::current_path() : std::filesystem::path(directory);
    std::string s = std::filesystem::absolute(p).lexically_normal().string();
    if (s.empty() || s.back() != '/')
        s += '/';
    return s;
}

} // namespace

IDOMParseErrorPtr MakeParseError(const CapturedError &error) { return std::make_shared<ParseError>(error); }

Libxml2Document::Libxml2Document() : Libxml2Node(nullptr, nullptr), parseError_(std::make_shared<ParseError>())
{
    InstallEntityLoader();
    xmlDocPtr doc = NewEmptyDocument();
    Rebind(std::make_shared<DocHolder>(doc), reinterpret_cast<xmlNodePtr>(doc));
}

void Libxml2Document::Attach() { holder_->owner = weak_from_this(); }

IDOMNodePtr Libxml2Document::Created(xmlNodePtr node)
{
    if (node == nullptr)
        throw DOMException("The node cannot be created");
    holder_->TrackDetached(node);
    return std::make_shared<Libxml2Node>(holder_, node);
}

IDOMNodePtr Libxml2Document::doctype()
{
    xmlDtdPtr dtd = holder_->doc()->intSubset;
    return dtd ? MakeNode(holder_, reinterpret_cast<xmlNodePtr>(dtd)) : nullptr;
}

IDOMImplementationPtr Libxml2Document::domImplementation() { return std::make_shared<Libxml2Implementation>(); }

IDOMNodePtr Libxml2Document::documentElement() { return MakeNode(holder_, xmlDocGetRootElement(holder_->doc())); }

IDOMNodePtr Libxml2Document::createElement(const std::string &tagName)
{
    CheckName(tagName, false);
    return Created(xmlNewDocNode(holder_->doc(), nullptr, X(tagName), nullptr));
}

IDOMNodePtr Libxml2Document::createElementNS(const std::string &namespaceURI, const std::string &qualifiedName)
{
    if (namespaceURI.empty())
        return createElement(qualifiedName);
    CheckName(qualifiedName, true);
    std::string prefix, local;
    SplitQName(qualifiedName, prefix, local);
    xmlNsPtr ns = holder_->NewFloatingNs(namespaceURI.c_str(), prefix.empty() ? nullptr : prefix.c_str());
    return Created(xmlNewDocNode(holder_->doc(), ns, X(local), nullptr));
}

IDOMNodePtr Libxml2Document::createAttribute(const std::string &name)
{
    CheckName(name, false);
    return Created(reinterpret_cast<xmlNodePtr>(xmlNewDocProp(holder_->doc(), X(name), nullptr)));
}

IDOMNodePtr Libxml2Document::createAttributeNS(const std::string &namespaceURI, const std::string &qualifiedName)
{
    std::string prefix, local;
    SplitQName(qualifiedName, prefix, local);
    if (namespaceURI.empty() || namespaceURI == "http://www.w3.org/2000/xmlns/" || qualifiedName == "xmlns" ||
        prefix == "xmlns")
        return createAttribute(qualifiedName);
    CheckName(qualifiedName, true);
    xmlAttrPtr attr = xmlNewDocProp(holder_->doc(), X(local), nullptr);
    if (attr)
        attr->ns = holder_->NewFloatingNs(namespaceURI.c_str(), prefix.empty() ? nullptr : prefix.c_str());
    return Created(reinterpret_cast<xmlNodePtr>(attr));
}

IDOMNodePtr Libxml2Document::createTextNode(const std::string &data)
{
    return Created(xmlNewDocText(holder_->doc(), X(data)));
}

IDOMNodePtr Libxml2Document::createCDATASection(const std::string &data)
{
    return Created(xmlNewCDataBlock(holder_->doc(), X(data), static_cast<int>(data.size())));
}

IDOMNodePtr Libxml2Document::createComment(const std::string &data)
{
    return Created(xmlNewDocComment(holder_->doc(), X(data)));
}

IDOMNodePtr Libxml2Document::createProcessingInstruction(const std::string &target, const std::string &data)
{
    CheckName(target, false);
    return Created(xmlNewDocPI(holder_->doc(), X(target), data.empty() ? nullptr : X(data)));
}

IDOMNodePtr Libxml2Document::createEntityReference(const std::string &name)
{
    CheckName(name, false);
    return Created(xmlNewReference(holder_->doc(), X(name)));
}

IDOMNodePtr Libxml2Document::createDocumentFragment() { return Created(xmlNewDocFragment(holder_->doc())); }

IDOMNodeListPtr Libxml2Document::getElementsByTagName(const std::string &tagName)
{
    return Libxml2Node::getElementsByTagName(tagName);
}

IDOMNodeListPtr Libxml2Document::getElementsByTagNameNS(const std::string &, const std::string &)
{
    NotSupported("getElementsByTagNameNS");
}

IDOMNodePtr Libxml2Document::getElementById(const std::string &) { NotSupported("getElementById"); }

IDOMNodePtr Libxml2Document::importNode(const IDOMNodePtr &, bool) { NotSupported("importNode"); }

std::string Libxml2Document::xml()
{
    if (holder_->doc()->children == nullptr)
        return "";
    return SerialiseDocument(holder_->doc(), "UTF-8");
}

bool Libxml2Document::Load(std::string_view bytes, bool ignoreDeclaredEncoding, const std::string &url,
                           const std::string &baseDirectory, bool fromFile)
{
    const auto finish = [&](xmlDocPtr doc, CapturedError error) {
        if (doc == nullptr) {
            if (error.file.empty() && fromFile)
                error.file = url;
            if (!fromFile && error.file == url)
                error.file.clear();
            parseError_ = std::make_shared<ParseError>(error);
            doc = NewEmptyDocument();
        } else {
            parseError_ = std::make_shared<ParseError>();
        }
        Rebind(std::make_shared<DocHolder>(doc), reinterpret_cast<xmlNodePtr>(doc));
        Attach();
        if (onAsyncLoad_)
            onAsyncLoad_(4);
        return parseError_->errorCode() == 0;
    };
    if (!ignoreDeclaredEncoding) {
        if (const TByteFormFault fault = FindByteFormFault(bytes); !fault.reason.empty()) {
            CapturedError error;
            error.Set(XML_ERR_INVALID_ENCODING, fault.line, fault.column, fault.reason);
            return finish(nullptr, error);
        }
        // The parser takes a UTF-32 byte-order mark for UTF-16's, and reads a
        // declared "UTF-32" in the machine's byte order whatever the bytes say,
        // so UTF-32 text is decoded here by its own byte order and parsed as
        // UTF-8; the declaration keeps its name.
        const std::string form = DetectDocumentEncoding(bytes);
        if (form == "UTF-32LE" || form == "UTF-32BE")
            return Load(DecodeToUtf8(bytes, form), true, url, baseDirectory, fromFile);
    }
    ParseRequest request;
    request.bytes = bytes;
    request.ignoreDeclaredEncoding = ignoreDeclaredEncoding;
    request.url = url;
    request.baseDirectory = baseDirectory;
    request.preserveWhiteSpace = preserveWhiteSpace_;
    request.resolveExternals = resolveExternals_;
    request.validate = validate_;
    request.prepareContext = KeepTextNodeLimit;
    CapturedError error;
    xmlDocPtr doc = ParseDocument(request, error);
    return finish(doc, error);
}

bool Libxml2Document::load(const std::string &fileName)
{
    std::string bytes;
    std::string why = ReadDocumentBytes(fileName, bytes);
    if (!why.empty()) {
        CapturedError error;
        error.Set(XML_IO_LOAD_ERROR, 1, 1, "The file \"" + fileName + "\" cannot be opened: " + why, fileName);
        error.verdict = Verdict::NotChecked;
        parseError_ = std::make_shared<ParseError>(error);
        return false;
    }
    std::filesystem::path path = std::filesystem::absolute(fileName).lexically_normal();
    return Load(bytes, false, path.string(), path.parent_path().string(), true);
}

bool Libxml2Document::loadFromStream(std::istream &stream)
{
    // In blocks: a character at a time is slow for a document of many megabytes.
    std::string bytes;
    std::string block(1 << 16, '\0');
    while (stream.read(block.data(), static_cast<std::streamsize>(block.size())) || stream.gcount() > 0)
        bytes.append(block.data(), static_cast<size_t>(stream.gcount()));
    return Load(bytes, false, WorkingFolderUrl(baseDirectory_), baseDirectory_, false);
}

bool Libxml2Document::loadxml(const std::string &value)
{
    return Load(value, true, WorkingFolderUrl(baseDirectory_), baseDirectory_, false);
}

void Libxml2Document::save(const std::string &fileName)
{
    if (fileName.empty())
        throw EXMLLayerError("The document cannot be saved: no file name was given");
    std::string bytes = SerialiseDocument(holder_->doc(), OutputEncoding(holder_->doc()));
    WriteDocumentFile(fileName, bytes);
}

std::string Libxml2Document::saveToBytes() { return SerialiseDocument(holder_->doc(), OutputEncoding(holder_->doc())); }

void Libxml2Document::saveToStream(std::ostream &stream)
{
    std::string bytes = saveToBytes();
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!stream)
        throw EXMLLayerError("The document cannot be written to the stream");
}

// ---------------------------------------------------------------- implementation

bool Libxml2Implementation::hasFeature(const std::string &feature, const std::string &version)
{
    std::string f;
    for (char c : feature)
        f += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return (f == "xml" || f == "core") && (version.empty() || version == "1.0" || version == "2.0");
}

IDOMNodePtr Libxml2Implementation::createDocumentType(const std::string &, const std::string &, const std::string &)
{
    NotSupported("createDocumentType");
}

IDOMDocumentPtr Libxml2Implementation::createDocument(const std::string &namespaceURI, const std::string &qualifiedName,
                                                      const IDOMNodePtr &doctype)
{
    auto doc = std::make_shared<Libxml2Document>();
    doc->Attach();
    if (doctype)
        throw DOMException("A document type cannot be given to a new libxml2 document");
    if (!qualifiedName.empty())
        doc->appendChild(doc->createElementNS(namespaceURI, qualifiedName));
    return doc;
}

} // namespace tarnwick::xml::libxml2
