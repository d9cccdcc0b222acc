// Opening a document file for the editor without holding its tree: the root
// element's children are written out and freed as the parse completes them,
// in batches, by libxml2's own serialiser with the settings of a whole
// document's; what surrounds them is written from the tree that is left.
#include "xml/streamed_open.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "xml/libxml2_internal.h"
#include "xml/libxml2_text_limit.h"
#include "xml/transcode.h"

namespace tarnwick::xml {

namespace {

using namespace libxml2;

// Children of the root element written and freed at a time.
constexpr int kBatch = 64;
// Bytes read before the parse starts, to learn the file's encoding.
constexpr size_t kHead = 1 << 16;

bool IsUtf8(std::string encoding)
{
    for (char &c : encoding)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return encoding == "UTF-8" || encoding == "UTF8";
}

// Hands the root's completed children to the assembly as the parser's tree
// builder finishes them.
class TChildWriter {
public:
    explicit TChildWriter(TTextAssembly &out) : out_(out) {}

    void Attach(xmlParserCtxtPtr ctxt)
    {
        KeepTextNodeLimit(ctxt);
        ctxt_ = ctxt;
        endElement_ = ctxt->sax->endElementNs;
        ctxt->sax->endElementNs = EndElement;
    }

    // Writes and frees every child the root holds now.
    void Flush(xmlNodePtr root)
    {
        pending_ = 0;
        if (root->children == nullptr)
            return;
        chunk_.clear();
        AppendSiblingsInUtf8(root->doc, root->children, chunk_);
        xmlNodePtr children = root->children;
        root->children = root->last = nullptr;
        xmlFreeNodeList(children);
        out_.Append(chunk_);
        wrote_ = true;
    }
    bool Wrote() const { return wrote_; }

    // The writer of the parse running on this thread.
    class Writing {
    public:
        explicit Writing(TChildWriter &writer) : previous_(current_) { current_ = &writer; }
        ~Writing() { current_ = previous_; }
        Writing(const Writing &) = delete;
        Writing &operator=(const Writing &) = delete;

    private:
        TChildWriter *previous_;
    };

private:
    static void EndElement(void *context, const xmlChar *localName, const xmlChar *prefix, const xmlChar *uri)
    {
        TChildWriter &self = *current_;
        self.endElement_(context, localName, prefix, uri);
        // Entity contents are parsed in contexts of their own, under roots
        // of their own; only the document's root is emptied.
        auto *ctxt = static_cast<xmlParserCtxtPtr>(context);
        if (ctxt != self.ctxt_ || ctxt->nodeNr != 1 || ctxt->node == nullptr ||
            ctxt->node->parent != reinterpret_cast<xmlNodePtr>(ctxt->myDoc))
            return;
        if (++self.pending_ >= kBatch)
            self.Flush(ctxt->node);
    }

    static thread_local TChildWriter *current_;

    TTextAssembly &out_;
    xmlParserCtxtPtr ctxt_ = nullptr;
    endElementNsSAX2Func endElement_ = nullptr;
    std::string chunk_;
    int pending_ = 0;
    bool wrote_ = false;
};

thread_local TChildWriter *TChildWriter::current_ = nullptr;

struct CloseFile {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

// A comment no document holds, to mark where the root's children go.
std::string Marker()
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return "tarnwick-children-" + std::to_string(random()) + "-" + std::to_string(random());
}

} // namespace

bool StreamDocumentText(const std::string &path, TParseOptions options, TTextAssembly &out,
                        const TReadProgress &progress)
{
    if (options != TParseOptions{poPreserveWhiteSpace})
        return false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    const size_t size = static_cast<size_t>(std::filesystem::file_size(path, ec));
    std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path.c_str(), "rb"));
    if (!file || ec)
        return false;
    std::string head(kHead, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), file.get()));
    if (head.empty() || !IsUtf8(DetectDocumentEncoding(head)))
        return false;

    // The head first, then the rest of the file as the parser asks for it.
    size_t served = 0;
    size_t read = head.size();
    bool failed = false;
    ParseRequest request;
    request.read = [&](char *buffer, int length) -> int {
        size_t n = 0;
        if (served < head.size()) {
            n = std::min(head.size() - served, static_cast<size_t>(length));
            std::copy_n(head.data() + served, n, buffer);
            served += n;
        } else {
            n = std::fread(buffer, 1, static_cast<size_t>(length), file.get());
            read += n;
            failed = failed || std::ferror(file.get());
        }
        if (progress)
            progress(std::min(read, size), size);
        return failed ? -1 : static_cast<int>(n);
    };
    const std::filesystem::path absolute = std::filesystem::absolute(path).lexically_normal();
    request.url = absolute.string();
    request.baseDirectory = absolute.parent_path().string();
    request.preserveWhiteSpace = true;
    TChildWriter writer(out);
    request.prepareContext = [&writer](xmlParserCtxtPtr ctxt) { writer.Attach(ctxt); };

    CapturedError error;
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(nullptr, xmlFreeDoc);
    {
        TChildWriter::Writing writing(writer);
        doc.reset(ParseDocument(request, error));
    }
    xmlNodePtr root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (failed || root == nullptr || !IsUtf8(OutputEncoding(doc.get())))
        return false;
    writer.Flush(root);

    // A root that never held anything is written as an empty element.
    if (!writer.Wrote()) {
        const std::string whole = SerialiseDocument(doc.get(), OutputEncoding(doc.get()));
        out.Surround(whole, {});
        return true;
    }
    const std::string marker = Marker();
    xmlAddChild(root, xmlNewDocComment(doc.get(), BAD_CAST marker.c_str()));
    const std::string skeleton = SerialiseDocument(doc.get(), OutputEncoding(doc.get()));
    doc.reset();
    const std::string tag = "<!--" + marker + "-->";
    const size_t at = skeleton.find(tag);
    if (at == std::string::npos)
        return false;
    out.Surround(std::string_view(skeleton).substr(0, at), std::string_view(skeleton).substr(at + tag.size()));
    return true;
}

} // namespace tarnwick::xml
