// Serialising libxml2 trees and encoding UTF-8 text in a document's
// encoding.
#include <libxml/encoding.h>
#include <libxml/xmlsave.h>

#include <algorithm>
#include <cstring>

#include "xml/declaration.h"
#include "xml/libxml2_internal.h"
#include "xml/unencodable_markup.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml::libxml2 {

namespace {

int AppendToString(void *context, const char *buffer, int len)
{
    static_cast<std::string *>(context)->append(buffer, static_cast<size_t>(len));
    return len;
}

int CloseNothing(void *) { return 0; }

// Escapes text content like libxml2 does, except that a CR LF pair is written
// as a plain line break: the layer's indentation nodes hold CR LF, which
// would otherwise come out as "&#13;" followed by a line break. A lone CR
// keeps its character reference. `in` always runs to the end of the text, so
// a pair is never split between two calls.
int EscapeText(unsigned char *out, int *outlen, const unsigned char *in, int *inlen)
{
    unsigned char *o = out;
    unsigned char *oend = out + *outlen;
    const unsigned char *i = in;
    const unsigned char *iend = in + *inlen;
    while (i < iend && oend - o >= 6) {
        unsigned char c = *i;
        if (c == '<') {
            std::memcpy(o, "&lt;", 4);
            o += 4;
        } else if (c == '>') {
            std::memcpy(o, "&gt;", 4);
            o += 4;
        } else if (c == '&') {
            std::memcpy(o, "&amp;", 5);
            o += 5;
        } else if (c == '\r') {
            if (i + 1 < iend && i[1] == '\n') {
                *o++ = '\n';
                ++i;
            } else {
                std::memcpy(o, "&#13;", 5);
                o += 5;
            }
        } else {
            *o++ = c;
        }
        ++i;
    }
    *outlen = static_cast<int>(o - out);
    *inlen = static_cast<int>(i - in);
    return *outlen;
}

bool IsUtf8Name(const std::string &encoding)
{
    std::string e;
    for (char c : encoding)
        e += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return e.empty() || e == "UTF-8" || e == "UTF8";
}

bool KnownEncoding(const std::string &encoding)
{
    if (IsUtf8Name(encoding))
        return true;
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding.c_str());
    if (handler == nullptr)
        return false;
    xmlCharEncCloseFunc(handler);
    return true;
}

[[noreturn]] void RaiseUnknownEncoding(const std::string &encoding)
{
    throw EXMLLayerError("The document cannot be written: unknown encoding \"" + encoding + "\"");
}

std::string SerialiseIn(xmlDocPtr doc, const std::string &encoding)
{
    std::string out;
    CapturedError error;
    StructuredErrorScope capture(&error);
    xmlSaveCtxtPtr save = xmlSaveToIO(AppendToString, CloseNothing, &out, encoding.c_str(), XML_SAVE_NO_DECL);
    if (save == nullptr)
        throw EXMLLayerError("The document cannot be written in encoding \"" + encoding + "\"");
    xmlSaveSetEscape(save, EscapeText);
    long result = xmlSaveDoc(save, doc);
    xmlSaveClose(save);
    if (result < 0)
        throw EXMLLayerError("The document cannot be written in encoding \"" + encoding + "\"" +
                             (error.HasError() ? ": " + error.reason : std::string()));
    return out;
}

} // namespace

std::string EncodeText(std::string_view text, const std::string &encoding)
{
    if (IsUtf8Name(encoding))
        return std::string(text);
    std::string out;
    CapturedError error;
    StructuredErrorScope capture(&error);
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding.c_str());
    if (handler == nullptr)
        RaiseUnknownEncoding(encoding);
    CheckEncodableMarkup(text, encoding);
    // The output buffer writes the byte-order mark and turns characters the
    // encoding lacks into character references, as a document save does.
    xmlOutputBufferPtr buffer = xmlOutputBufferCreateIO(AppendToString, CloseNothing, &out, handler);
    if (buffer == nullptr) {
        xmlCharEncCloseFunc(handler);
        RaiseUnknownEncoding(encoding);
    }
    bool ok = true;
    constexpr size_t kChunk = 1 << 20;
    for (size_t at = 0; ok && at < text.size(); at += kChunk) {
        const size_t length = std::min(kChunk, text.size() - at);
        ok = xmlOutputBufferWrite(buffer, static_cast<int>(length), text.data() + at) >= 0;
    }
    if (xmlOutputBufferClose(buffer) < 0)
        ok = false;
    if (!ok)
        throw EXMLLayerError("The text cannot be written in encoding \"" + encoding + "\"" +
                             (error.HasError() ? ": " + error.reason : std::string()));
    return out;
}

std::string OutputEncoding(xmlDocPtr doc)
{
    xmlNodePtr pi = DeclarationPI(doc);
    std::string encoding =
        pi ? DeclarationValue("encoding", pi->content ? reinterpret_cast<const char *>(pi->content) : "", "") : "";
    return encoding.empty() ? "UTF-8" : encoding;
}

std::string SerialiseDocument(xmlDocPtr doc, const std::string &encoding)
{
    if (!KnownEncoding(encoding))
        RaiseUnknownEncoding(encoding);
    // Written from its UTF-8 form in an encoding that lacks characters, so
    // that one standing where no reference can is refused (EncodeText).
    if (!HoldsEveryCharacter(encoding))
        return EncodeText(SerialiseIn(doc, "UTF-8"), encoding);
    return SerialiseIn(doc, encoding);
}

std::string SerialiseNode(xmlDocPtr doc, xmlNodePtr node)
{
    std::string out;
    CapturedError error;
    StructuredErrorScope capture(&error);
    xmlSaveCtxtPtr save = xmlSaveToIO(AppendToString, CloseNothing, &out, "UTF-8", XML_SAVE_NO_DECL);
    if (save == nullptr)
        return out;
    xmlSaveSetEscape(save, EscapeText);
    if (node->type == XML_DOCUMENT_NODE)
        xmlSaveDoc(save, doc);
    else
        xmlSaveTree(save, node);
    xmlSaveClose(save);
    return out;
}

void AppendSiblingsInUtf8(xmlDocPtr doc, xmlNodePtr first, std::string &out)
{
    xmlSaveCtxtPtr save = xmlSaveToIO(AppendToString, CloseNothing, &out, "UTF-8", XML_SAVE_NO_DECL);
    if (save == nullptr)
        throw EXMLLayerError("The document cannot be written in encoding \"UTF-8\"");
    xmlSaveSetEscape(save, EscapeText);
    // A whole document is written with its encoding set to the one written
    // in, which decides how attribute values show characters beyond ASCII.
    const xmlChar *encoding = doc->encoding;
    doc->encoding = BAD_CAST "UTF-8";
    for (xmlNodePtr node = first; node != nullptr; node = node->next)
        xmlSaveTree(save, node);
    xmlSaveClose(save);
    doc->encoding = encoding;
}

} // namespace tarnwick::xml::libxml2
