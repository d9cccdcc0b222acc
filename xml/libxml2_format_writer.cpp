// Format's writer on the parser's SAX events. Events of the document itself
// are written; those of the internal subset and of the contexts the parser
// makes to check entity contents go to libxml2's own tree builder, which
// keeps the declarations the parser looks entities up in.
#include "xml/libxml2_format_writer.h"

#include <libxml/SAX2.h>
#include <libxml/parserInternals.h>

#include <array>
#include <cstring>

#include "xml/doctype_text.h"
#include "xml/libxml2_internal.h"
#include "xml/libxml2_text_limit.h"

namespace tarnwick::xml::libxml2 {

namespace {

thread_local FormatWriter *gWriting = nullptr;

const char *C(const xmlChar *s) { return reinterpret_cast<const char *>(s); }

// Replacement texts of the characters below '?' that need one, by context.
using EscapeTable = std::array<const char *, '?'>;

constexpr EscapeTable TextEscapes()
{
    EscapeTable table{};
    table['<'] = "&lt;";
    table['>'] = "&gt;";
    table['&'] = "&amp;";
    table['\r'] = "&#13;";
    return table;
}

constexpr EscapeTable AttributeEscapes()
{
    EscapeTable table = TextEscapes();
    table['"'] = "&quot;";
    table['\n'] = "&#10;";
    table['\t'] = "&#9;";
    return table;
}

constexpr EscapeTable kTextEscapes = TextEscapes();
constexpr EscapeTable kAttributeEscapes = AttributeEscapes();

void AppendEscaped(FormattedText &out, std::string_view text, const EscapeTable &escapes)
{
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= escapes.size() || escapes[c] == nullptr)
            continue;
        out.Append(text.data() + run, i - run);
        out.Append(std::string_view(escapes[c]));
        run = i + 1;
    }
    out.Append(text.data() + run, text.size() - run);
}

bool IsBlank(std::string_view text)
{
    for (char c : text)
        if (!IS_BLANK_CH(c))
            return false;
    return true;
}

} // namespace

FormatWriter::FormatWriter(std::string_view source, std::function<std::string(const std::string &)> declarationLine)
    : source_(source), declarationLine_(std::move(declarationLine)), text_(source.size())
{
}

void FormatWriter::Attach(xmlParserCtxtPtr ctxt)
{
    ctxt_ = ctxt;
    xmlSAXHandler &sax = *ctxt->sax;
    sax.startDocument = StartDocument;
    sax.internalSubset = InternalSubset;
    sax.startElementNs = StartElement;
    sax.endElementNs = EndElement;
    // The parser sends whitespace it judges ignorable to a callback of its own
    // unless both are the same; the writer judges for itself.
    sax.characters = Characters;
    sax.ignorableWhitespace = Characters;
    sax.cdataBlock = CData;
    sax.reference = Reference;
    sax.comment = Comment;
    sax.processingInstruction = Instruction;
}

FormatWriter::Writing::Writing(FormatWriter &writer) : previous_(gWriting) { gWriting = &writer; }

FormatWriter::Writing::~Writing() { gWriting = previous_; }

// The writer when the event is the document's own, else null.
FormatWriter *FormatWriter::For(void *context)
{
    FormatWriter *writer = gWriting;
    return writer != nullptr && static_cast<xmlParserCtxtPtr>(context) == writer->ctxt_ ? writer : nullptr;
}

// The same for comments and processing instructions, which the internal
// subset has too.
FormatWriter *FormatWriter::ForContent(void *context)
{
    return static_cast<xmlParserCtxtPtr>(context)->inSubset == 0 ? For(context) : nullptr;
}

// ---------------------------------------------------------------- events

void FormatWriter::StartDocument(void *context)
{
    xmlSAX2StartDocument(context);
    if (FormatWriter *writer = For(context))
        writer->Declaration(static_cast<xmlParserCtxtPtr>(context)->standalone != -1);
}

void FormatWriter::InternalSubset(void *context, const xmlChar *name, const xmlChar *publicId, const xmlChar *systemId)
{
    xmlSAX2InternalSubset(context, name, publicId, systemId);
    if (FormatWriter *writer = For(context))
        writer->DocumentType(name, publicId, systemId);
}

void FormatWriter::StartElement(void *context, const xmlChar *localName, const xmlChar *prefix, const xmlChar *uri,
                                int namespaceCount, const xmlChar **namespaces, int attributeCount, int defaultedCount,
                                const xmlChar **attributes)
{
    FormatWriter *writer = For(context);
    if (writer == nullptr)
        return xmlSAX2StartElementNs(context, localName, prefix, uri, namespaceCount, namespaces, attributeCount,
                                     defaultedCount, attributes);
    writer->textRun_ = 0;
    // Attributes the DTD gives defaults for come last; the document did not write them.
    writer->OpenElement(localName, prefix, namespaceCount, namespaces, attributeCount - defaultedCount, attributes);
}

void FormatWriter::EndElement(void *context, const xmlChar *localName, const xmlChar *prefix, const xmlChar *uri)
{
    FormatWriter *writer = For(context);
    if (writer == nullptr)
        return xmlSAX2EndElementNs(context, localName, prefix, uri);
    writer->textRun_ = 0;
    writer->CloseElement(localName, prefix);
}

void FormatWriter::Characters(void *context, const xmlChar *text, int length)
{
    FormatWriter *writer = For(context);
    if (writer == nullptr)
        return xmlSAX2Characters(context, text, length);
    writer->textRun_ += static_cast<size_t>(length);
    if (!OverTextNodeLimit(writer->ctxt_, writer->textRun_))
        writer->Text({C(text), static_cast<size_t>(length)});
}

// A section cannot hold "]]>", so such text is parted between sections
// after its "]]".
void FormatWriter::CData(void *context, const xmlChar *text, int length)
{
    FormatWriter *writer = For(context);
    if (writer == nullptr)
        return xmlSAX2CDataBlock(context, text, length);
    writer->textRun_ = 0;
    writer->BeginCharacterData();
    std::string_view rest(C(text), static_cast<size_t>(length));
    do {
        const size_t end = rest.find("]]>");
        const std::string_view part = rest.substr(0, end == std::string_view::npos ? end : end + 2);
        writer->text_.Append("<![CDATA[");
        writer->text_.Append(part);
        writer->text_.Append("]]>");
        rest.remove_prefix(part.size());
    } while (!rest.empty());
}

void FormatWriter::Reference(void *context, const xmlChar *name)
{
    FormatWriter *writer = For(context);
    if (writer == nullptr)
        return xmlSAX2Reference(context, name);
    writer->textRun_ = 0;
    writer->BeginCharacterData();
    writer->text_.Append('&');
    writer->text_.Append(C(name));
    writer->text_.Append(';');
}

void FormatWriter::Comment(void *context, const xmlChar *text)
{
    FormatWriter *writer = ForContent(context);
    if (writer == nullptr)
        return xmlSAX2Comment(context, text);
    writer->textRun_ = 0;
    writer->BeginMarkup();
    writer->text_.Append("<!--");
    if (text)
        writer->text_.Append(C(text));
    writer->text_.Append("-->");
    writer->EndMarkup();
}

void FormatWriter::Instruction(void *context, const xmlChar *target, const xmlChar *data)
{
    FormatWriter *writer = ForContent(context);
    if (writer == nullptr)
        return xmlSAX2ProcessingInstruction(context, target, data);
    writer->textRun_ = 0;
    writer->BeginMarkup();
    writer->text_.Append("<?");
    writer->text_.Append(C(target));
    if (data) {
        writer->text_.Append(' ');
        writer->text_.Append(C(data));
    }
    writer->text_.Append("?>");
    writer->EndMarkup();
}

// ---------------------------------------------------------------- writing

void FormatWriter::Declaration(bool present)
{
    const std::string line = declarationLine_(present ? RawDeclarationText(source_) : "");
    if (line.empty())
        return;
    text_.Append(line);
    text_.Append('\n');
}

// As written in the source, its line breaks made LF as the parser makes them
// in content.
void FormatWriter::DocumentType(const xmlChar *name, const xmlChar *publicId, const xmlChar *systemId)
{
    std::string_view written = DocumentTypeText(source_);
    std::string composed;
    if (written.empty()) { // not to be found in well-formed text
        composed = "<!DOCTYPE " + std::string(C(name));
        if (publicId)
            composed += " PUBLIC \"" + std::string(C(publicId)) + "\"";
        if (systemId)
            composed += std::string(publicId ? " \"" : " SYSTEM \"") + C(systemId) + "\"";
        written = composed += ">";
    }
    for (size_t i = 0; i < written.size(); ++i) {
        if (written[i] != '\r')
            text_.Append(written[i]);
        else if (i + 1 >= written.size() || written[i + 1] != '\n')
            text_.Append('\n');
    }
    text_.Append('\n');
}

void FormatWriter::OpenElement(const xmlChar *localName, const xmlChar *prefix, int namespaceCount,
                               const xmlChar **namespaces, int attributeCount, const xmlChar **attributes)
{
    BeginMarkup();
    const Frame *parent = frames_.empty() ? nullptr : &frames_.back();
    Frame frame(static_cast<int>(frames_.size()), parent && parent->preserve,
                parent && (parent->inMixed || parent->mixed));
    text_.Append('<');
    QName(prefix, localName);
    for (int i = 0; i < namespaceCount; ++i) {
        const xmlChar *name = namespaces[2 * i];
        const xmlChar *uri = namespaces[2 * i + 1];
        text_.Append(" xmlns");
        if (name) {
            text_.Append(':');
            text_.Append(C(name));
        }
        text_.Append("=\"");
        AttributeValue(uri, uri + std::strlen(C(uri)));
        text_.Append('"');
    }
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar **attribute = attributes + 5 * i; // local name, prefix, URI, value, value end
        text_.Append(' ');
        QName(attribute[1], attribute[0]);
        text_.Append("=\"");
        AttributeValue(attribute[3], attribute[4]);
        text_.Append('"');
        if (xmlStrEqual(attribute[1], BAD_CAST "xml") && xmlStrEqual(attribute[0], BAD_CAST "space")) {
            const std::string_view value(C(attribute[3]), static_cast<size_t>(attribute[4] - attribute[3]));
            if (value == "preserve")
                frame.preserve = true;
            else if (value == "default")
                frame.preserve = false;
        }
    }
    frames_.push_back(std::move(frame));
}

void FormatWriter::CloseElement(const xmlChar *localName, const xmlChar *prefix)
{
    Frame &frame = frames_.back();
    if (frame.tagOpen && frame.blank.empty()) {
        text_.Append("/>");
    } else {
        if (frame.tagOpen) { // whitespace is the whole content
            text_.Append('>');
            text_.Append(frame.blank);
        } else if (frame.KeptAsWritten()) {
            text_.Append(frame.blank);
        } else {
            text_.Gap(frame.blank, frame.level);
        }
        text_.Append("</");
        QName(prefix, localName);
        text_.Append('>');
    }
    frames_.pop_back();
    EndMarkup();
}

void FormatWriter::Text(std::string_view text)
{
    // libxml2 2.9 still hands over character data after a fatal error has
    // stopped the other events, so outside any element too; that parse fails.
    if (frames_.empty())
        return;
    Frame &frame = frames_.back();
    if (!IsBlank(text)) {
        BeginCharacterData();
    } else if (frame.KeptAsWritten()) {
        OpenContent(frame);
    } else {
        frame.blank.append(text);
        return;
    }
    AppendEscaped(text_, text, kTextEscapes);
}

void FormatWriter::BeginCharacterData()
{
    if (frames_.empty())
        return;
    Frame &frame = frames_.back();
    OpenContent(frame);
    // Laid out so far are the children of an element that seemed to hold
    // markup only, and elements setting xml:space back to "default" inside
    // preserved space; content with character data keeps all of it as written.
    if (!frame.mixed && !frame.inMixed && frame.hasChild)
        text_.KeepAsWritten(frame.content);
    frame.mixed = true;
    text_.Append(frame.blank);
    frame.blank.clear();
}

void FormatWriter::BeginMarkup()
{
    if (frames_.empty())
        return;
    Frame &frame = frames_.back();
    OpenContent(frame);
    frame.hasChild = true;
    if (frame.KeptAsWritten())
        text_.Append(frame.blank);
    else
        text_.Gap(frame.blank, frame.level + 1);
    frame.blank.clear();
}

void FormatWriter::EndMarkup()
{
    if (frames_.empty())
        text_.Append('\n');
}

void FormatWriter::OpenContent(Frame &frame)
{
    if (!frame.tagOpen)
        return;
    text_.Append('>');
    frame.tagOpen = false;
    frame.content = text_.Here();
}

void FormatWriter::QName(const xmlChar *prefix, const xmlChar *localName)
{
    if (prefix) {
        text_.Append(C(prefix));
        text_.Append(':');
    }
    text_.Append(C(localName));
}

// The parser hands over an attribute value with its entity references as
// written ("&name;") and an ampersand that stands for itself as "&#38;";
// everything else is characters.
void FormatWriter::AttributeValue(const xmlChar *value, const xmlChar *end)
{
    std::string_view rest(C(value), static_cast<size_t>(end - value));
    for (size_t amp = rest.find('&'); amp != std::string_view::npos; amp = rest.find('&')) {
        AppendEscaped(text_, rest.substr(0, amp), kAttributeEscapes);
        rest.remove_prefix(amp);
        const size_t semicolon = rest.find(';');
        const std::string_view reference =
            rest.substr(0, semicolon == std::string_view::npos ? rest.size() : semicolon + 1);
        text_.Append(reference == "&#38;" ? std::string_view("&amp;") : reference);
        rest.remove_prefix(reference.size());
    }
    AppendEscaped(text_, rest, kAttributeEscapes);
}

} // namespace tarnwick::xml::libxml2
